#pragma once
// The figures drawn over the preview with the inverting pen, so that drawing one twice gives
// back the picture: the mouse crosshair, the rubber band, and the angle dialog's previews of
// the oblique lines, the oblique cross, the ellipses and the n-gons.
#include "platform/Bitmap.h"

// A horizontal line across the preview at y and a vertical one at x, pen width as given;
// toLastPixel ends them at width - 1 and height - 1 (the press of the mouse button).
void DrawCrosshair(TBitmap& preview, int x, int y, int penWidth, bool toLastPixel = false);
// The rubber band: every pixel from (x0, y0) up to (x1, y1) excluded, corners in any order.
void DrawRubberBand(TBitmap& preview, int x0, int y0, int x1, int y1);

// The angle dialog's pattern previews.
enum class AnglePreview { None, Ellipse, Oblique, Cross, Polygon };
AnglePreview AnglePreviewOf(int strategy);

constexpr int kPreviewCount = 100;  // rings, segments and lines of a preview

struct AnglePreviewValues {
    int centreX = 0;  // the circle centre in preview pixels, Y counted upwards from the bottom
    int centreY = 0;
    int cornerCount = 3;
    double radiusRatio = 5.0;
    bool parallel = false;
};

// Draws (or, drawn again, removes) the figure for the angle in degrees. Nothing for an empty
// preview or AnglePreview::None.
void DrawAnglePreview(TBitmap& preview, AnglePreview kind, const AnglePreviewValues& v, double angleDegrees);

// The spin buttons: step 10, 1, 0.1, 0.01 or 0.001 for item 0 to 4; down below 0 wraps by 360
// and is capped at 360, up above 360 wraps by 360 and is held at 0 from below.
double StepAngle(double entered, int stepItem, bool up);
