#pragma once
// The work bitmap that the strategies sample, built from the processed picture: the picture
// stretched (nearest neighbour) inside a white border of rundrum_mm, optionally mirrored and
// turned by 90 degrees, with the scale PixelsPerMmX/Y; and its preview, fitted to the preview
// panel, with the red cross at the circle centre. The settings live in Main; the fields and
// boxes are reached through the host by their names, so tests build it without a window.
#include "generation/RunHost.h"
#include "platform/Bitmap.h"

// What a rebuild came to.
enum class WorkBitmapResult {
    Built,
    NoPicture,       // the processed picture is empty: nothing was changed
    BorderTooWide,   // the border leaves no room for the picture: the work bitmap is all white
};

// How the last rebuild laid the picture out in the work bitmap.
struct WorkBitmapLayout {
    int pictureWidth = 0;
    int pictureHeight = 0;
    int borderX = 0;
    int borderY = 0;
    bool borderTooWide = false;
    bool mirrored = false;
    bool turned = false;
};

// Rebuilds Main.WorkBitmap from picture. lengthLeads: the length decides the width when the
// proportion is kept; adjust: keep the proportion now. The work bitmap keeps its pixel format.
WorkBitmapResult PrepareWorkBitmap(RunHost& host, const TBitmap& picture, bool lengthLeads, bool adjust,
                                   WorkBitmapLayout* layout = nullptr);
// Length or width follows the picture's aspect ratio (box "proportion"); writes both fields.
void KeepProportion(RunHost& host, const TBitmap& picture, bool lengthLeads);
// Workpiece size and steps from the picture where they are 0.
void DeriveSizeAndStep(RunHost& host, const TBitmap& picture);

// Mirrors left to right by stretching a copy back into the reversed rectangle
// (width - 1, 0)-(0, height - 1): the last column and the last row keep their pixels.
void MirrorBitmap(TBitmap& bitmap);
// Turns by 90 degrees anticlockwise into a bitmap of height x width: source pixel (x, y) for
// x < width - 1 and y < height - 1 lands at (y, width - 1 - x); the first row and the last
// column, which no source pixel reaches, are white. The pixel format is kept.
void TurnBitmap90(TBitmap& bitmap);

// The preview size for a panel of width x height: never larger than the bitmap, with the
// bitmap's aspect ratio, inside the panel both ways. Nothing while the bitmap is empty.
void FitPreview(const TBitmap& bitmap, int& height, int& width);
// The preview image of the work bitmap at its fitted size: white, the work bitmap stretched
// into (0, 0)-(w - 1, h - 1).
TBitmap PreviewOf(const TBitmap& workBitmap, int width, int height);
// The red centre cross (pen width 2) at (cx, cy) across the whole preview.
void DrawCentreCross(TBitmap& preview, int cx, int cy);

// A picture must be at least two pixels wide and high: one pixel gives a scale of 0.
bool PictureLargeEnough(int width, int height);
