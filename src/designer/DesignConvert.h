#pragma once
// Conversions the design code shares: Trunc and Round (halves to even) into the int range,
// NaN giving 0, so no value read from a file or scaled for a composition is undefined to
// convert; and the platform's trimming of blanks and control characters.
#include <cmath>
#include <limits>
#include "platform/TextTrim.h"

inline int TruncClamped(double v) {
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return std::numeric_limits<int>::max();
    if (v <= -2147483648.0)
        return std::numeric_limits<int>::min();
    return int(v);
}

inline int RoundClamped(double v) { return TruncClamped(std::nearbyint(v)); }
