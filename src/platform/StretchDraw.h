#pragma once
// Nearest-neighbour stretch of a bitmap into a rectangle of another, with an exact index
// formula, so that pixels that stand for depths are never blended.
//
// The target rectangle runs from (left, top) to (right, bottom), right and bottom excluded,
// as the platform's stretch-draw takes it. A rectangle given right-to-left (right < left) or
// bottom-to-top mirrors the picture. Target column c of the |right - left| columns (counted
// from the rectangle's left or, mirrored, from its right) takes source column
// (2c + 1) * sourceWidth div (2 * |right - left|), the source column under the target
// pixel's centre; rows likewise. Target pixels outside the target bitmap are skipped.
#include "platform/Bitmap.h"

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// Draws source into target's rectangle; target becomes pf24bit if it is not already.
void StretchDraw(TBitmap& target, const TRect& rect, const TBitmap& source);
