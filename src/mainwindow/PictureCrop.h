#pragma once
// The preview's mouse results as picture coordinates: the region a rubber band selects on the
// preview, in pixels of the processed picture, and the circle centre a click sets.
//
// The preview shows the work bitmap, which holds the picture inside its border, mirrored and
// turned as it was built. A preview pixel is followed back through each of these steps with
// the same nearest-neighbour index formulas that drew it, so the crop takes exactly the
// picture pixels under the selected preview pixels, whatever the border, mirror and turn.
#include "mainwindow/WorkBitmap.h"

#include <optional>

// What the preview shows.
struct PreviewGeometry {
    int previewWidth = 0;
    int previewHeight = 0;
    int workWidth = 0;    // the work bitmap as drawn into the preview (turned: exchanged)
    int workHeight = 0;
    WorkBitmapLayout layout;
};

struct PicturePoint {
    int x = 0;
    int y = 0;
};

// The picture pixel under preview pixel (px, py); points on the border or beyond the picture
// give the nearest picture pixel.
PicturePoint PreviewToPicture(const PreviewGeometry& g, int px, int py);

// Picture pixels from (left, top) to (right, bottom), right and bottom excluded.
struct CropRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CropRect&) const = default;
};

// The picture region under the rubber band from (x0, y0) to (x1, y1) (preview pixels, corners
// in any order, the band covering the pixels from the smaller up to the larger coordinate
// excluded). None when the band has no width or height.
std::optional<CropRect> CropRegion(const PreviewGeometry& g, int x0, int y0, int x1, int y1);

// Copies region of picture into a new bitmap of the region's size.
TBitmap CropBitmap(const TBitmap& picture, const CropRect& region);

// The circle centre after a click at (x, y): the preview's middle while centred is set,
// else the click point kept inside the preview.
PicturePoint ClickCentre(int x, int y, int previewWidth, int previewHeight, bool centred);
