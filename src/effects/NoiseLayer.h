#pragma once
// Noise layers: per channel a non-negative amount that the colour pass adds, drawn from the
// run-time library's generator (platform/Random.h) as ClampByte(Random(N) - N shr 1), so
// half of the draws add nothing and N = 1 adds nothing at all.
#include "platform/Bitmap.h"

// Colour noise: for each pixel, row by row, three draws for red, green and blue in that order.
// Mono noise: one draw per pixel for all three channels.
void FillNoiseLayer(TBitmap& layer, int width, int height, int amount, bool mono);
