#pragma once
// The seven spatial effects. Each works in place on a 24-bit bitmap (the effect cache, just
// filled with the loaded picture), row by row from the top and pixel by pixel from the left,
// so that a routine reading pixels it has already visited sees their new values. No routine
// reads or writes outside the bitmap, whatever its size.
#include "platform/Bitmap.h"

// Each channel := (c + 255 - the pixel three to the right in the row below) shr 1; the last
// three columns take the pixel straight below; the last row takes the (embossed) row above.
void EmbossBitmap(TBitmap& bitmap);

// Every pixel takes the colour of the top-left pixel of its n x n block.
void MosaicBitmap(TBitmap& bitmap, int n);

// Each channel := the mean (shr 2) of the four pixels amount rows and columns away, with the
// near edges taking the row or column itself and the far edges the mirrored H - y / W - x.
void SplitBlurBitmap(TBitmap& bitmap, int amount);

// level + 1 passes of the split blur with amount 3.
void GaussianBlurBitmap(TBitmap& bitmap, int level);

// Each channel inside the rectangle (limited to one pixel inside the picture) := the mean of
// its four neighbours.
void AntiAliasRect(TBitmap& bitmap, int x0, int y0, int x1, int y1);

// Marks the edges between the halftone colours of the picture black.
void TraceBitmap(TBitmap& bitmap, int passes);

// Bilinear resampling in 15-bit fixed point into destination, whose size the caller sets.
void SmoothResize(const TBitmap& source, TBitmap& destination);

// The tile count stored for a wish of t tiles on a width x height picture: t, except that when
// both tile sides come out at their 10-pixel minimum it becomes max(height, width) div 10.
// The stored count is a fixed point (storing it again keeps it); from a longer side of 100
// pixels on it gives the same 10-pixel tiles as the wish, below that larger tiles.
int StoredTileCount(int width, int height, int t);
// Covers effect (a copy of original) with tiles of the picture resampled to the tile size,
// max(10, height div t) x max(10, width div t).
void TileBitmap(const TBitmap& original, int t, TBitmap& effect);
