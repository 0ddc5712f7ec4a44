// A window centred on its screen keeps its whole frame, title bar first, on the screen.
#include "platform/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, TheFrameIsCentredAndItsTopLeftStaysOnTheScreen) {
    struct Case {
        QRect available;
        QSize frame;
        QPoint at;
    } const cases[] = {
        {{0, 0, 1280, 1024}, {895, 749}, {192, 137}},
        {{100, 30, 1280, 1024}, {895, 749}, {292, 167}},  // a panel left and above
        {{0, 0, 800, 600}, {895, 749}, {0, 0}},          // larger than the screen
        {{0, 0, 800, 800}, {893, 724}, {0, 38}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CentredFramePosition(c.available, c.frame), c.at) << c.frame.width();
    }
}

}  // namespace
