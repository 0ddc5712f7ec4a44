#include "platform/StretchDraw.h"

#include <gtest/gtest.h>

namespace {

// A w x h source whose pixel (x, y) has red x and green y.
TBitmap Ramp(int w, int h) {
    TBitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixelAt(x, y, RGB(x, y, 0));
    return b;
}

TEST(StretchDraw, EachTargetPixelTakesTheSourcePixelUnderItsCentre) {
    const TBitmap source = Ramp(4, 3);
    TBitmap target(7, 6);
    StretchDraw(target, TRect{0, 0, 6, 5}, source);
    const int xs[6] = {0, 1, 1, 2, 3, 3};  // (2c + 1) * 4 div 12
    const int ys[5] = {0, 0, 1, 2, 2};     // (2r + 1) * 3 div 10
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(target.PixelAt(x, y), RGB(xs[x], ys[y], 0)) << x << "," << y;
    // Right and bottom are excluded: the last column and row stay white.
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(target.PixelAt(6, y), clWhite);
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(target.PixelAt(x, 5), clWhite);
}

TEST(StretchDraw, ReversedRectangleMirrorsAndOutsidePixelsAreSkipped) {
    const TBitmap source = Ramp(3, 1);
    TBitmap target(3, 1);
    StretchDraw(target, TRect{3, 0, 0, 1}, source);
    EXPECT_EQ(target.PixelAt(0, 0), RGB(2, 0, 0));
    EXPECT_EQ(target.PixelAt(2, 0), RGB(0, 0, 0));

    TBitmap small(2, 2);
    StretchDraw(small, TRect{-2, -2, 4, 4}, Ramp(3, 3));  // 2x enlarged, shifted by -2
    EXPECT_EQ(small.PixelAt(0, 0), RGB(1, 1, 0));
    EXPECT_EQ(small.PixelAt(1, 1), RGB(1, 1, 0));
}

TEST(StretchDraw, PaletteSourcesAreReadByColour) {
    TBitmap source(2, 1, TPixelFormat::pf1bit);
    source.SetPixelAt(0, 0, clBlack);
    source.SetPixelAt(1, 0, clWhite);
    TBitmap target(4, 1);
    StretchDraw(target, TRect{0, 0, 4, 1}, source);
    EXPECT_EQ(target.PixelAt(1, 0), clBlack);
    EXPECT_EQ(target.PixelAt(2, 0), clWhite);
}

}  // namespace
