#pragma once
// Lines and filled rectangles on a bitmap with the two pen modes the preview uses:
// pmCopy paints the pen colour, pmNot inverts the pixels under the figure, so that drawing the
// same figure twice gives back the picture. A line runs from its first point to its last one,
// the last point excluded (as the platform's line drawing does); a pen wider than one pixel
// covers a square of width pixels at every point of the line. Every pixel a figure covers is
// painted or inverted exactly once, however the pen's squares overlap. Points outside the
// bitmap are skipped. The bitmap must be pf24bit.
#include "platform/Bitmap.h"

enum class TPenMode { pmCopy, pmNot };

struct TPen {
    TPenMode Mode = TPenMode::pmCopy;
    TColor Color = clBlack;
    int Width = 1;
};

void DrawLine(TBitmap& bitmap, const TPen& pen, int x0, int y0, int x1, int y1);
// The rectangle from (left, top) to (right, bottom), right and bottom excluded, corners in any
// order: filled with the pen colour (pmCopy) or inverted (pmNot).
void FillRectangle(TBitmap& bitmap, const TPen& pen, int left, int top, int right, int bottom);
