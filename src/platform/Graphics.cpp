#include "platform/Graphics.h"

#include <cmath>

namespace {
int BlendChannel(int a, int b, double t) {
    const double v = std::nearbyint(a * (1 - t) + b * t);  // the default mode rounds to even
    return v < 0 ? 0 : (v > 255 ? 255 : int(v));
}
}  // namespace

TColor BlendColour(TColor c0, TColor c1, double t) {
    if (!(t > 0)) return c0;  // NaN counts as the start colour
    if (t >= 1) return c1;
    return RGB(BlendChannel(GetRValue(c0), GetRValue(c1), t),
               BlendChannel(GetGValue(c0), GetGValue(c1), t),
               BlendChannel(GetBValue(c0), GetBValue(c1), t));
}
