#pragma once
// Conversions the design code shares: Trunc and Round (halves to even) into the int range,
// NaN giving 0, so no value read from a file or scaled for a composition is undefined to
// convert; and the trimming of blanks and control characters (as the platform's Trim).
#include <cmath>
#include <limits>
#include <string_view>

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

inline std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.remove_suffix(1);
    return s;
}

inline std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ')
        s.remove_prefix(1);
    return TrimRight(s);
}
