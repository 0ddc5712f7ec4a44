#pragma once
// The design editor's arithmetic without a window: the client area that gives the workpiece's
// shape on the screen, snapping to the grid, the overlay's edge flags and its drag (move and
// resize in whole grid steps, never negative), the spinners' wrapping step and the place of the
// window's frame.
#include <QPoint>
#include <QRect>
#include <QSize>

struct EditorClientSize {
    int width = 0;
    int height = 0;
    double PaintScale = 1;    // length / width
    double ScreenFactor = 1;  // the shrink that fits the shape on the screen
};

// W := screen width, H := W / (length / width); both scaled by min(screen width / W,
// screen height / H) and by 0.9, truncated. A length or width that is not a positive finite
// number is taken as a square workpiece.
EditorClientSize ClientSizeFor(double length, double width, int screenWidth, int screenHeight);

// The top-left corner of the editor's window frame (title bar and borders included) of the
// given size: centred across the screen, its top at 10; then moved up or left just as far as
// keeps its bottom and right edges inside the available area (the screen less task bars), yet
// never above or left of that area, so the title bar always stays reachable.
QPoint EditorFramePosition(const QRect& screen, const QRect& available, QSize frame);

// (v div step) * step, the division truncating toward zero; a step below 1 leaves v.
int Snap(int v, int step);

// Which edges of a width x height overlay a point (in the overlay) grabs: left x < 6,
// right x >= width - 5, top y < 6, bottom y >= height - 5.
struct OverlayEdges {
    bool left = false;
    bool right = false;
    bool top = false;
    bool bottom = false;
    bool Any() const { return left || right || top || bottom; }
};
OverlayEdges EdgesAt(int x, int y, int width, int height);

enum class OverlayCursor { Move, LeftRight, UpDown };
// The cursor over the overlay: the left-right arrow within 5 pixels of the left or right edge,
// the up-down arrow within 5 pixels of the top or bottom edge, else the four-way arrow.
OverlayCursor OverlayCursorAt(int x, int y, int width, int height);

// The overlay's bounds during a drag. Down remembers the snapped mouse position and the
// edges grabbed; every move takes the snapped position: a grabbed left or right edge moves
// by dx (width := |width - dx|, left := |left + dx| or width := |width + dx|), a grabbed top
// or bottom edge by dy likewise, no edge moves the whole overlay (left := |left + dx|,
// top := |top + dy|). A move whose dx (dy for a top or bottom edge) is 0 does nothing, and
// keeps the previous position, so at a corner the vertical change waits for a horizontal one;
// a horizontal change taken while the vertical one waits is counted once.
struct OverlayDrag {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    OverlayEdges Edges;
    int PreviousX = 0;  // the last snapped mouse position taken
    int PreviousY = 0;

    void Down(int snappedX, int snappedY, OverlayEdges edges);
    // True when the bounds changed.
    bool Move(int snappedX, int snappedY, bool buttonDown);
};

// The spinners' step: 10, 1, 0.1 or 90 for index 0..3 (other indices step by 1). Up adds the
// step and wraps to lo when the value is then above hi; down subtracts it and wraps to hi when
// the value is then below lo. Reaching an end exactly does not wrap.
double SpinStepSize(int index);
double SpinStep(int index, bool up, double value, double lo, double hi);
