#include "designer/EditorGeometry.h"

#include "designer/DesignConvert.h"
#include "platform/WindowPlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

int AbsClamped(long long v) {
    return int(std::min<long long>(std::llabs(v), std::numeric_limits<int>::max()));
}

}  // namespace

EditorClientSize ClientSizeFor(double length, double width, int screenWidth, int screenHeight) {
    EditorClientSize s;
    const bool usable = std::isfinite(length) && std::isfinite(width) && length > 0 && width > 0;
    s.PaintScale = usable ? length / width : 1.0;
    if (!std::isfinite(s.PaintScale) || s.PaintScale <= 0)
        s.PaintScale = 1.0;  // a ratio beyond what a double holds
    const double W = screenWidth;
    const double H = W / s.PaintScale;
    s.ScreenFactor = (W > 0 && H > 0) ? std::min(screenWidth / W, screenHeight / H) : 1.0;
    if (!std::isfinite(s.ScreenFactor))
        s.ScreenFactor = 1.0;
    s.height = std::max(0, TruncClamped(H * s.ScreenFactor * 0.9));
    s.width = std::max(0, TruncClamped(W * s.ScreenFactor * 0.9));
    return s;
}

QPoint EditorFramePosition(const QRect& screen, const QRect& available, QSize frame) {
    const QPoint wanted(int(screen.x() + ((long long)screen.width() - frame.width()) / 2), screen.y() + 10);
    return FramePositionOnScreen(available, wanted, frame);
}

int Snap(int v, int step) { return step < 1 ? v : (v / step) * step; }

OverlayEdges EdgesAt(int x, int y, int width, int height) {
    OverlayEdges e;
    e.left = x < 6;
    e.right = x >= width - 5;
    e.top = y < 6;
    e.bottom = y >= height - 5;
    return e;
}

OverlayCursor OverlayCursorAt(int x, int y, int width, int height) {
    if (x < 5 || x >= width - 5)
        return OverlayCursor::LeftRight;
    if (y < 5 || y >= height - 5)
        return OverlayCursor::UpDown;
    return OverlayCursor::Move;
}

void OverlayDrag::Down(int snappedX, int snappedY, OverlayEdges edges) {
    PreviousX = snappedX;
    PreviousY = snappedY;
    Edges = edges;
}

bool OverlayDrag::Move(int snappedX, int snappedY, bool buttonDown) {
    const long long dx = (long long)snappedX - PreviousX;
    const long long dy = (long long)snappedY - PreviousY;
    bool changed = false;
    if (Edges.left || Edges.right) {
        if (dx == 0)
            return false;
        if (buttonDown) {
            if (Edges.left) {
                Width = AbsClamped((long long)Width - dx);
                Left = AbsClamped((long long)Left + dx);
            } else {
                Width = AbsClamped((long long)Width + dx);
            }
            changed = true;
        }
    }
    if (Edges.top || Edges.bottom) {
        if (dy == 0) {
            // The vertical change waits; a horizontal one taken counts from here on, so the
            // next move does not add it again.
            if (changed)
                PreviousX = snappedX;
            return changed;
        }
        if (buttonDown) {
            if (Edges.top) {
                Height = AbsClamped((long long)Height - dy);
                Top = AbsClamped((long long)Top + dy);
            } else {
                Height = AbsClamped((long long)Height + dy);
            }
            changed = true;
        }
    }
    if (!Edges.Any() && buttonDown && (dx != 0 || dy != 0)) {
        Top = AbsClamped((long long)Top + dy);
        Left = AbsClamped((long long)Left + dx);
        changed = true;
    }
    PreviousX = snappedX;
    PreviousY = snappedY;
    return changed;
}

double SpinStepSize(int index) {
    switch (index) {
    case 0: return 10;
    case 1: return 1;
    case 2: return 0.1;
    case 3: return 90;
    default: return 1;
    }
}

double SpinStep(int index, bool up, double value, double lo, double hi) {
    const double step = SpinStepSize(index);
    if (up) {
        value += step;
        if (value > hi)
            value = lo;
    } else {
        value -= step;
        if (value < lo)
            value = hi;
    }
    return value;
}
