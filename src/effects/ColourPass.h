#pragma once
// The colour pass: the per-pixel part of the effects, from a 24-bit source (and an optional
// noise layer of the same size) into a 24-bit destination of the same size, in the order
// posterize or solorize, contrast + lightness + darkness + brightness + noise, splitlight,
// greyscale or saturation, invert. Integer division truncates toward zero; the floating-point
// steps are evaluated in long double (the 64-bit mantissa of the x87 extended format) and
// rounded half to even.
#include "effects/EffectValues.h"
#include "platform/Bitmap.h"

void ApplyColourPass(const TBitmap& source, const TBitmap* noise, const TFxEffectValues& values,
                     TBitmap& destination);

// The single-channel steps, exposed for the tests of their arithmetic.
int PosterizeChannel(int c, int levels);
int SplitlightChannel(int c);
int GrayScaleOf(int r, int g, int b);
