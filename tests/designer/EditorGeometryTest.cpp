// The editor's arithmetic: the client area of the workpiece's shape, grid snapping, the
// overlay's edges and drag, and the spinners' wrap.
#include "designer/EditorGeometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(EditorGeometry, ClientAreaTakesTheWorkpieceShapeOnTheScreen) {
    struct Case {
        double length, width;
        int screenW, screenH, w, h;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {600, 300, 1280, 1024, 1152, 576},    // wide: the screen's width leads
        {300, 600, 1280, 1024, 460, 921},     // tall: H = 2560, factor 0.4
        {600, 600, 1280, 1024, 921, 921},     // square on a landscape screen
        {0, 300, 1280, 1024, 921, 921},       // no usable shape: a square
        {inf, 300, 1280, 1024, 921, 921},
        {600, std::nan(""), 1280, 1024, 921, 921},
        {1e-300, 1e300, 1280, 1024, 921, 921},  // a ratio that underflows: a square
        {1, 1e10, 1280, 1024, 0, 921},        // extremely tall: the width truncates to 0
    };
    for (const Case& c : cases) {
        const EditorClientSize s = ClientSizeFor(c.length, c.width, c.screenW, c.screenH);
        EXPECT_EQ(s.width, c.w) << c.length << " x " << c.width;
        EXPECT_EQ(s.height, c.h) << c.length << " x " << c.width;
    }
    EXPECT_DOUBLE_EQ(ClientSizeFor(600, 300, 1280, 1024).PaintScale, 2.0);
}

TEST(EditorGeometry, FrameIsCentredNearTheTopAndKeptOnTheFreeArea) {
    struct Case {
        const char* what;
        QRect screen, available;
        int w, h;
        QPoint at;
    };
    const Case cases[] = {
        {"fits", {0, 0, 1280, 1024}, {0, 0, 1280, 1024}, 925, 962, {177, 10}},
        {"bottom edge on the screen's last row", {0, 0, 1280, 1024}, {0, 0, 1280, 1024}, 925, 1014, {177, 10}},
        {"moved up just enough", {0, 0, 1280, 1024}, {0, 0, 1280, 1024}, 925, 1020, {177, 4}},
        {"task bar at the bottom", {0, 0, 1280, 1024}, {0, 0, 1280, 964}, 925, 962, {177, 2}},
        {"task bar at the top", {0, 0, 1280, 1024}, {0, 40, 1280, 984}, 925, 962, {177, 40}},
        {"taller than the free area: the title bar stays on it", {0, 0, 1280, 1024}, {0, 40, 1280, 984}, 925,
         1100, {177, 40}},
        {"task bar at the right", {0, 0, 1280, 1024}, {0, 0, 1200, 1024}, 1150, 962, {50, 10}},
        {"wider than the screen", {0, 0, 1280, 1024}, {0, 0, 1280, 1024}, 1400, 962, {0, 10}},
        {"second screen", {1280, 0, 1600, 1200}, {1280, 0, 1600, 1200}, 1084, 1121, {1538, 10}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EditorFramePosition(c.screen, c.available, {c.w, c.h}), c.at) << c.what;
}

TEST(EditorGeometry, SnapTruncatesTowardZero) {
    const int cases[][3] = {{0, 5, 0}, {4, 5, 0}, {5, 5, 5}, {13, 5, 10}, {-3, 5, 0}, {-7, 5, -5}, {13, 1, 13},
                            {13, 0, 13}};
    for (const auto& c : cases)
        EXPECT_EQ(Snap(c[0], c[1]), c[2]) << c[0] << " step " << c[1];
}

TEST(EditorGeometry, EdgesAndCursorOfTheOverlay) {
    const OverlayEdges tl = EdgesAt(5, 5, 100, 50);
    EXPECT_TRUE(tl.left && tl.top && !tl.right && !tl.bottom);
    const OverlayEdges br = EdgesAt(95, 45, 100, 50);
    EXPECT_TRUE(br.right && br.bottom && !br.left && !br.top);
    EXPECT_FALSE(EdgesAt(6, 6, 100, 50).Any());
    EXPECT_FALSE(EdgesAt(94, 44, 100, 50).Any());
    EXPECT_EQ(OverlayCursorAt(50, 25, 100, 50), OverlayCursor::Move);
    EXPECT_EQ(OverlayCursorAt(2, 25, 100, 50), OverlayCursor::LeftRight);
    EXPECT_EQ(OverlayCursorAt(50, 47, 100, 50), OverlayCursor::UpDown);
}

namespace {

OverlayDrag DragFrom(int left, int top, int width, int height, int x, int y, OverlayEdges edges) {
    OverlayDrag d;
    d.Left = left;
    d.Top = top;
    d.Width = width;
    d.Height = height;
    d.Down(x, y, edges);
    return d;
}

}  // namespace

TEST(EditorGeometry, OverlayMovesAndResizesByTheSnappedDifference) {
    // Moving: both coordinates follow.
    OverlayDrag move = DragFrom(20, 30, 100, 50, 60, 50, {});
    EXPECT_TRUE(move.Move(75, 40, true));
    EXPECT_EQ(move.Left, 35);
    EXPECT_EQ(move.Top, 20);
    // Without the button nothing moves, but the position is taken.
    EXPECT_FALSE(move.Move(100, 100, false));
    EXPECT_EQ(move.Left, 35);
    EXPECT_EQ(move.PreviousX, 100);
    // Moving past the client's origin mirrors into positive coordinates.
    OverlayDrag origin = DragFrom(5, 5, 10, 10, 10, 10, {});
    origin.Move(0, 0, true);
    EXPECT_EQ(origin.Left, 5);
    EXPECT_EQ(origin.Top, 5);

    // The right edge.
    OverlayDrag right = DragFrom(20, 30, 100, 50, 120, 50, {false, true, false, false});
    right.Move(140, 50, true);
    EXPECT_EQ(right.Width, 120);
    EXPECT_EQ(right.Left, 20);
    // The left edge dragged beyond the right one: the width is positive again.
    OverlayDrag left = DragFrom(20, 30, 100, 50, 20, 50, {true, false, false, false});
    left.Move(150, 50, true);
    EXPECT_EQ(left.Width, 30);
    EXPECT_EQ(left.Left, 150);
    // dx = 0 with a horizontal edge grabbed: nothing changes, the previous position stays.
    OverlayDrag still = DragFrom(20, 30, 100, 50, 120, 50, {false, true, false, false});
    EXPECT_FALSE(still.Move(120, 90, true));
    EXPECT_EQ(still.Width, 100);
    EXPECT_EQ(still.PreviousY, 50);
    // The top edge.
    OverlayDrag top = DragFrom(20, 30, 100, 50, 60, 30, {false, false, true, false});
    top.Move(60, 40, true);
    EXPECT_EQ(top.Top, 40);
    EXPECT_EQ(top.Height, 40);
}

TEST(EditorGeometry, AtACornerTheVerticalChangeWaitsAndNothingIsCountedTwice) {
    OverlayDrag d = DragFrom(0, 0, 100, 50, 100, 50, {false, true, false, true});
    // Only downwards: dx is 0, so nothing happens.
    EXPECT_FALSE(d.Move(100, 60, true));
    EXPECT_EQ(d.Height, 50);
    // Now right as well: both changes are taken, the vertical one from where it began.
    EXPECT_TRUE(d.Move(110, 60, true));
    EXPECT_EQ(d.Width, 110);
    EXPECT_EQ(d.Height, 60);
    // Right only: the width grows, the height waits.
    EXPECT_TRUE(d.Move(120, 60, true));
    EXPECT_EQ(d.Width, 120);
    EXPECT_EQ(d.Height, 60);
    // The next horizontal step counts from 120, not again from 110.
    EXPECT_TRUE(d.Move(125, 70, true));
    EXPECT_EQ(d.Width, 125);
    EXPECT_EQ(d.Height, 70);
}

TEST(EditorGeometry, SpinnerStepsWrapPastEitherEnd) {
    struct Case {
        int index;
        bool up;
        double value, lo, hi, expected;
    };
    const Case cases[] = {
        {0, true, 355, 0, 360, 0},     // 365 is above 360
        {0, true, 350, 0, 360, 360},   // reaching the end exactly does not wrap
        {1, true, 360, 0, 360, 0},
        {1, false, 0, 0, 360, 360},
        {2, true, 1.5, 0, 10, 1.6},
        {3, true, 270, 0, 360, 360},   // a triangle: 0, 90, 180, 270, 360, then 0
        {3, true, 360, 0, 360, 0},
        {1, true, 10, 3, 10, 3},       // corner count
        {1, false, 3, 3, 10, 10},
        {1, true, 10, 0, 10, 0},       // a depth at the editor's thickness wraps to 0
    };
    for (const Case& c : cases)
        EXPECT_NEAR(SpinStep(c.index, c.up, c.value, c.lo, c.hi), c.expected, 1e-9)
            << "index " << c.index << (c.up ? " up " : " down ") << c.value;
}
