// The picture canvas: stroke widths, round caps, arcs, and painting only what the stroke
// before did not cover gives the same picture as painting every pixel.
#include "simulation/ImageCanvas.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

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
    c.Flush();
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
    c.Flush();
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
    c.Flush();
    EXPECT_EQ(At(image, 45, 25), kBlack);
    EXPECT_EQ(At(image, 25, 5), kBlack);
    EXPECT_EQ(At(image, 5, 25), kBlack);
    EXPECT_EQ(At(image, 25, 45), kBlack);
    EXPECT_EQ(At(image, 25, 25), kWhite);
    // A quarter from three o'clock to twelve o'clock: the upper right only.
    c.Fill(clWhite);
    c.Arc(5, 5, 45, 45, 45, 25, 25, 5);
    c.Flush();
    EXPECT_EQ(At(image, 39, 11), kBlack);
    EXPECT_EQ(At(image, 11, 39), kWhite);
}

// Pen work as a replay does it: the ways a program moves the pen.
struct PenStep {
    TColor colour;
    int width;
    int x, y;
    bool arc;  // a counter-clockwise arc about the picture's middle from the pen to (x, y)
};

std::vector<PenStep> PenWork(int pattern, int steps, int w, int h) {
    std::mt19937 rng(11 + unsigned(pattern));
    std::uniform_int_distribution<int> posX(-5, w + 4), posY(-5, h + 4), width(0, 14), small(-2, 2);
    std::vector<PenStep> work;
    int x = w / 2, y = h / 2, wide = 5;
    for (int i = 0; i < steps; ++i) {
        PenStep s{(i / 200) % 2 ? clGray : clNavy, width(rng), x, y, false};
        switch (pattern) {
            case 0:  // short moves anywhere, now and then a jump
                if (i % 50 == 0) {
                    x = posX(rng);
                    y = posY(rng);
                } else {
                    x += small(rng);
                    y += small(rng);
                }
                break;
            case 1:  // along rows, widening and narrowing a step at a time, as the stepped moves do
                if (i % 97 == 0) y = posY(rng);
                if (i % 3 == 0) x += small(rng);
                wide = std::clamp(wide + small(rng) / 2, 0, 20);
                s.width = wide;
                break;
            case 2:  // along rows in a colour for every depth, as shadows draw
                if (i % 61 == 0) y = posY(rng);
                x += small(rng);
                wide = std::clamp(wide + small(rng) / 2, 0, 20);
                s.width = wide;
                s.colour = RGB(wide * 10, 255 - wide * 10, 128);
                break;
            default:  // arcs and lines through the middle, as circles and spirals draw
                s.arc = i % 3 != 0;
                x = posX(rng);
                y = posY(rng);
                break;
        }
        s.x = x;
        s.y = y;
        work.push_back(s);
    }
    return work;
}

// Draws the pen work; every stroke alone and in full when alone is set. Otherwise, with
// steps set, the work goes in runs of 1 to 40 pen moves, each run told to the canvas as
// the steps of one move.
void Draw(ImageCanvas& c, const std::vector<PenStep>& work, int w, int h, bool alone,
          bool steps = false) {
    c.Fill(clSilver);
    c.MoveTo(w / 2, h / 2);
    int x = w / 2, y = h / 2;
    std::size_t runEnd = 0;
    for (std::size_t i = 0; i < work.size(); ++i) {
        const PenStep& s = work[i];
        if (steps && i == runEnd) {
            if (i > 0) c.EndSteps();
            c.BeginSteps();
            runEnd = i + 1 + (i * 7919) % 40;
        }
        if (alone) c.SetPenColour(s.colour ^ 1);  // forgets the stroke before
        c.SetPenColour(s.colour);
        c.SetPenWidth(s.width);
        if (s.arc) {
            const int r = int(std::hypot(x - w / 2, y - h / 2)) + 1;
            c.Arc(w / 2 - r, h / 2 - r, w / 2 + r, h / 2 + r, x, y, s.x, s.y);
            c.MoveTo(s.x, s.y);
        } else {
            c.LineTo(s.x, s.y);
        }
        x = s.x;
        y = s.y;
        if (alone) c.Flush();  // and paints this one by itself
    }
    if (steps) c.EndSteps();
    c.Flush();
}

// Leaving out what the stroke before covers, letting a stroke take the place of the ones
// it covers, painting only the pixels the stroke before left, and painting the steps of a
// move in one pass: the picture is the one of every stroke painted by itself.
TEST(ImageCanvas, ItsShortcutsChangeNoPixel) {
    constexpr int w = 80, h = 60;
    for (int pattern = 0; pattern < 4; ++pattern) {
        const std::vector<PenStep> work = PenWork(pattern, 3000, w, h);
        QImage full(w, h, QImage::Format_RGB32);
        ImageCanvas b(full, 1);
        Draw(b, work, w, h, true);
        for (bool steps : {false, true}) {
            QImage quick(w, h, QImage::Format_RGB32);
            ImageCanvas a(quick);
            Draw(a, work, w, h, false, steps);
            EXPECT_TRUE(quick == full) << "pattern " << pattern << (steps ? ", in steps" : "");
        }
    }
}

// Lines between whole pixels make the strokes the general form makes of them, also at the
// limits of the whole form.
TEST(ImageCanvas, LinesBetweenWholePixelsMakeTheStrokesOfTheGeneralForm) {
    constexpr int k26 = 1 << 26, k22 = 1 << 22;
    struct Line {
        int ax, ay, bx, by, width;
    } const lines[] = {
        {3, 4, 9, 4, 0},          {3, 4, 9, 4, 1},           {3, 4, 9, 4, 2},
        {-7, 4, -7, 4, 7},        {3, 4, 9, 5, 6},           {3, 4, 3, 9, 6},
        {k26 - 1, 4, 0, 4, 6},    {k26, 4, 0, 4, 6},         {-k26 + 1, 4, 0, 4, 6},
        {-k26, 4, -k26, 4, 6},    {0, k26, 5, k26, 6},       {0, -k26 + 1, 5, -k26 + 1, 6},
        {0, 4, 5, 4, k22 - 1},    {0, 4, 5, 4, k22},         {-100000000, 3, 100000000, 3, 9},
    };
    for (const Line& l : lines) {
        const Stroke a = MakePixelStroke(l.ax, l.ay, l.bx, l.by, l.width, 0xFF123456u);
        const Stroke b = MakeStroke(l.ax, l.ay, l.bx, l.by, l.width <= 1 ? 0.5 : l.width / 2.0,
                                    0xFF123456u);
        SCOPED_TRACE(testing::Message() << l.ax << " " << l.ay << " " << l.bx << " " << l.by
                                        << " width " << l.width);
        EXPECT_EQ(a.ax, b.ax);
        EXPECT_EQ(a.ay, b.ay);
        EXPECT_EQ(a.bx, b.bx);
        EXPECT_EQ(a.by, b.by);
        EXPECT_EQ(a.r, b.r);
        EXPECT_EQ(a.alongRow, b.alongRow);
        EXPECT_EQ(a.whole, b.whole);
    }
}

// Strokes along a row between whole pixels, and dots, are worked out in whole numbers: a
// pixel is painted when its distance from the segment is at most half the pen (half a
// pixel for pens of 0 and 1), on pens of every width, narrow to wider than the picture,
// also where the stroke reaches past the picture's edges.
TEST(ImageCanvas, RowStrokesPaintThePixelsWithinHalfThePenOfTheirSegment) {
    constexpr int w = 61, h = 47;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> posX(-20, w + 20), posY(-20, h + 20), length(0, 30),
        width(0, 60);
    int checked = 0;
    struct Line {
        int ax, bx, y, pen;
    };
    // Pens wider than most, their edges across the picture.
    std::vector<Line> lines = {{-4480, -4480, 20, 9000}, {w + 3990, w + 3970, -30, 8001}};
    for (int i = 0; i < 400; ++i) {
        const int ax = posX(rng), y = posY(rng), bx = i % 3 == 0 ? ax : ax + length(rng) - 15;
        lines.push_back({ax, bx, y, i % 5 == 0 ? width(rng) % 3 : width(rng)});
    }
    for (const auto [ax, bx, y, pen] : lines) {
        QImage image(w, h, QImage::Format_RGB32);
        ImageCanvas c(image, 1);
        c.Fill(clWhite);
        c.SetPenColour(clBlack);
        c.SetPenWidth(pen);
        c.MoveTo(ax, y);
        c.LineTo(bx, y);
        c.Flush();
        const long long w2 = std::max(pen, 1) * 1LL * std::max(pen, 1);
        for (int py = 0; py < h; ++py) {
            for (int px = 0; px < w; ++px) {
                const long long dx = std::max({0, std::min(ax, bx) - px, px - std::max(ax, bx)});
                const long long dy = py - y;
                const bool inside = 4 * (dx * dx + dy * dy) <= w2;
                ASSERT_EQ(At(image, px, py), inside ? kBlack : kWhite)
                    << "pen " << pen << " from (" << ax << ", " << y << ") to " << bx
                    << ", pixel (" << px << ", " << py << ")";
                checked += inside;
            }
        }
    }
    EXPECT_GT(checked, 50000);  // much lies on the picture
}

// Painted by several threads, each its own bands of rows, over many batches: the picture
// is the one a single thread paints.
TEST(ImageCanvas, PaintersTogetherPaintWhatOnePaints) {
    constexpr int w = 150, h = 97;
    for (int pattern = 0; pattern < 4; ++pattern) {
        const std::vector<PenStep> work = PenWork(pattern, 40000, w, h);
        QImage one(w, h, QImage::Format_RGB32);
        ImageCanvas serial(one, 1);
        Draw(serial, work, w, h, false);
        for (int painters : {2, 3, 8}) {
            QImage many(w, h, QImage::Format_RGB32);
            ImageCanvas parallel(many, painters);
            Draw(parallel, work, w, h, false, painters == 3);
            EXPECT_TRUE(many == one) << "pattern " << pattern << ", " << painters << " painters";
        }
    }
}

}  // namespace
