// A window frame is kept on the screen's free area, title bar first: a window placed where it
// wants to be, and one centred on its screen.
#include "platform/WindowPlacement.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, AFrameMovesUpOrLeftOntoTheScreenButNeverPastItsTopOrLeft) {
    struct Case {
        const char* what;
        QRect available;
        QPoint wanted;
        QSize frame;
        QPoint at;
    } const cases[] = {
        {"inside", {0, 0, 1280, 1024}, {100, 10}, {895, 749}, {100, 10}},
        {"past the bottom", {0, 0, 1280, 1024}, {100, 400}, {895, 749}, {100, 275}},
        {"past the right", {0, 0, 1280, 1024}, {600, 10}, {895, 749}, {385, 10}},
        {"above and left of a panel", {100, 30, 1280, 1024}, {0, 10}, {895, 749}, {100, 30}},
        {"larger than the screen", {0, 0, 800, 600}, {50, 10}, {895, 749}, {0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FramePositionOnScreen(c.available, c.wanted, c.frame), c.at) << c.what;
    }
}

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
