// Lines and rectangles with the copying and the inverting pen.
#include "platform/PenDrawing.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Lines far outside the bitmap, nearly flat or steep, cost nothing and draw only what lies inside.
TEST(PenLines, FarAndFlatLinesAreClippedAndStillInvertOnce) {
    TBitmap image(50, 40, TPixelFormat::pf24bit);
    TBitmap before = image;
    const TPen pen{TPenMode::pmNot, clBlack, 1};
    const int far = 2000000000;
    DrawLine(image, pen, -far, 10, far, 11);
    DrawLine(image, pen, 25, -far, 26, far);
    DrawLine(image, pen, -far, -far, far, far - 7);
    int inverted = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x) inverted += image.PixelAt(x, y) != before.PixelAt(x, y);
    EXPECT_GT(inverted, 80);
    DrawLine(image, pen, -far, 10, far, 11);
    DrawLine(image, pen, 25, -far, 26, far);
    DrawLine(image, pen, -far, -far, far, far - 7);
    for (int y = 0; y < 40; ++y) ASSERT_EQ(0, std::memcmp(image.ScanLine(y), before.ScanLine(y), 150));
}


TEST(PenLines, LastPointExcludedAndWidePenCoversItsSquareOnce) {
    TBitmap image(10, 10, TPixelFormat::pf24bit);
    DrawLine(image, TPen{TPenMode::pmCopy, clRed, 1}, 1, 1, 5, 1);
    EXPECT_EQ(image.PixelAt(1, 1), clRed);
    EXPECT_EQ(image.PixelAt(4, 1), clRed);
    EXPECT_NE(image.PixelAt(5, 1), clRed);
    TBitmap before = image;
    DrawLine(image, TPen{TPenMode::pmNot, clBlack, 2}, 0, 0, 7, 5);
    DrawLine(image, TPen{TPenMode::pmNot, clBlack, 2}, 0, 0, 7, 5);
    for (int y = 0; y < 10; ++y) ASSERT_EQ(0, std::memcmp(image.ScanLine(y), before.ScanLine(y), 30));
    FillRectangle(image, TPen{TPenMode::pmNot, clBlack, 1}, 6, 6, 2, 3);
    EXPECT_EQ(image.PixelAt(2, 3), before.PixelAt(2, 3) ^ 0xFFFFFF);
    EXPECT_EQ(image.PixelAt(5, 5), before.PixelAt(5, 5) ^ 0xFFFFFF);
    EXPECT_EQ(image.PixelAt(6, 6), before.PixelAt(6, 6));
}

}  // namespace
