// The picture canvas: stroke widths, round caps, arcs, and painting only what the stroke
// before did not cover gives the same picture as painting every pixel.
#include "simulation/ImageCanvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include <random>

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;

std::uint32_t At(const QImage& image, int x, int y) { return image.pixel(x, y); }

TEST(ImageCanvas, StrokesAreAsWideAsThePenWithRoundCaps) {
    QImage image(40, 40, QImage::Format_RGB32);
    ImageCanvas c(image);
    c.Fill(clWhite);
    c.SetPenColour(clBlack);
    c.SetPenWidth(6);
    c.MoveTo(10, 20);
    c.LineTo(30, 20);
    EXPECT_EQ(At(image, 20, 17), kBlack);
    EXPECT_EQ(At(image, 20, 23), kBlack);
    EXPECT_EQ(At(image, 20, 16), kWhite);
    EXPECT_EQ(At(image, 20, 24), kWhite);
    EXPECT_EQ(At(image, 7, 20), kBlack);   // the round cap reaches 3 pixels past the end
    EXPECT_EQ(At(image, 6, 20), kWhite);
    EXPECT_EQ(At(image, 7, 17), kWhite);   // but not into the corner
}

TEST(ImageCanvas, WidthZeroDrawsOnePixel) {
    QImage image(20, 20, QImage::Format_RGB32);
    ImageCanvas c(image);
    c.Fill(clWhite);
    c.SetPenColour(clRed);
    c.SetPenWidth(0);
    c.MoveTo(2, 5);
    c.LineTo(15, 5);
    for (int x = 2; x <= 15; ++x) EXPECT_EQ(At(image, x, 5), 0xFFFF0000u) << x;
    EXPECT_EQ(At(image, 8, 4), kWhite);
    EXPECT_EQ(At(image, 8, 6), kWhite);
}

TEST(ImageCanvas, EqualRaysDrawTheWholeCircleCounterClockwise) {
    QImage image(50, 50, QImage::Format_RGB32);
    ImageCanvas c(image);
    c.Fill(clWhite);
    c.SetPenColour(clBlack);
    c.SetPenWidth(1);
    c.Arc(5, 5, 45, 45, 45, 25, 45, 25);
    EXPECT_EQ(At(image, 45, 25), kBlack);
    EXPECT_EQ(At(image, 25, 5), kBlack);
    EXPECT_EQ(At(image, 5, 25), kBlack);
    EXPECT_EQ(At(image, 25, 45), kBlack);
    EXPECT_EQ(At(image, 25, 25), kWhite);
    // A quarter from three o'clock to twelve o'clock: the upper right only.
    c.Fill(clWhite);
    c.Arc(5, 5, 45, 45, 45, 25, 25, 5);
    EXPECT_EQ(At(image, 39, 11), kBlack);
    EXPECT_EQ(At(image, 11, 39), kWhite);
}

// The same strokes painted in full (a colour change before every stroke) and with the
// covered pixels skipped give the same picture.
TEST(ImageCanvas, SkippingCoveredPixelsChangesNoPixel) {
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> pos(-5, 84), width(0, 14), small(-2, 2);
    QImage skipped(80, 60, QImage::Format_RGB32), full(80, 60, QImage::Format_RGB32);
    ImageCanvas a(skipped), b(full);
    a.Fill(clSilver);
    b.Fill(clSilver);
    int x = 40, y = 30;
    a.MoveTo(x, y);
    b.MoveTo(x, y);
    for (int i = 0; i < 3000; ++i) {
        const TColor colour = (i / 200) % 2 ? clGray : clNavy;
        const int w = width(rng);
        // Mostly short moves, as a replay makes, and now and then a jump.
        if (i % 50 == 0) {
            x = pos(rng);
            y = pos(rng) % 60;
        } else {
            x += small(rng);
            y += small(rng);
        }
        a.SetPenColour(colour);
        a.SetPenWidth(w);
        a.LineTo(x, y);
        b.SetPenColour(clWhite);  // forgets the stroke before
        b.SetPenColour(colour);
        b.SetPenWidth(w);
        b.LineTo(x, y);
    }
    EXPECT_TRUE(skipped == full);
}

}  // namespace
