// The selection tables: pattern and status text for a row at an angle, the box and menu
// pairs, the depth clamps, the angle dialog's spin steps and its previews.
#include "mainwindow/PreviewFigures.h"
#include "mainwindow/StrategySelection.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

std::string HintOf(std::string_view item) { return "<" + std::string(item) + ">"; }

TEST(PatternSelection, RowAndAngleGiveNumberAndText) {
    struct Case {
        int row;
        double alpha;
        int number;
        const char* text;
    } cases[] = {
        {0, 33, 0, "<hor_fraesen> (Alpha=0°)"},
        {9, 0, 9, "<vert_fraesen> (Alpha=90°)"},
        {10, 12, 10, "<Kreuz_fraesen> (Alpha=0°,90°)"},
        {1, 45, 1, "<Kreis_fraesen>"},
        {17, 0, 17, "<Kariert_bohren>"},
        {11, 0, 0, "<hor_fraesen> (Alpha=0°)"},
        {11, 90, 9, "<vert_fraesen> (Alpha=90°)"},
        {11, 180, 0, "<hor_fraesen> (Alpha=0°)"},
        {11, 270, 9, "<vert_fraesen> (Alpha=90°)"},
        {11, 22.5, 11, "<Schraeg_fraesen> (Alpha=22.5°)"},
        {11, 360, 11, "<Schraeg_fraesen> (Alpha=360°)"},
        {11, -90, 11, "<Schraeg_fraesen> (Alpha=-90°)"},
        {12, 0, 10, "<Kreuz_fraesen> (Alpha=0°,90°)"},
        {12, 270, 10, "<Kreuz_fraesen> (Alpha=0°,90°)"},
        {12, 22.5, 12, "<Schrgkreuzfrmig_fraesen> (Alpha=22.5°)"},
        {15, 180, 4, "<horizontal_bohren> (Alpha=0°)"},
        {15, 90, 13, "<Vertikal_bohren> (Alpha=90°)"},
        {15, 360, 15, "<Schrg_bohren> (Alpha=360°)"},
        {16, 270, 17, "<Kariert_bohren>"},
        {16, 90, 17, "<Kariert_bohren>"},
        {16, 360, 16, "<Schrg_kreuz_bohren> (Alpha=360°)"},
        {16, -90, 16, "<Schrg_kreuz_bohren> (Alpha=-90°)"},
        {18, 0, 18, "<nEck_fraesen> (Alpha=0°)"},
        {19, 45.125, 19, "<neck_bohren> (Alpha=45.125°)"},
    };
    for (const Case& c : cases) {
        const PatternChoice choice = ChoosePattern(c.row, c.alpha, HintOf);
        EXPECT_EQ(choice.number, c.number) << c.row << " at " << c.alpha;
        EXPECT_EQ(choice.text, c.text) << c.row << " at " << c.alpha;
    }
}

TEST(PatternSelection, ButtonsAndAngleDialog) {
    // Rows without a button of their own press their family's.
    EXPECT_STREQ(PatternOf(0)->toolButton, "Speed_diagonal_fraesen");
    EXPECT_STREQ(PatternOf(10)->toolButton, "Speed_kreuz_diagonal_fraesen");
    EXPECT_STREQ(PatternOf(17)->toolButton, "speed_kreuz_diagonal_bohren");
    EXPECT_STREQ(PatternOf(13)->toolButton, "Speed_diagonal_bohren");
    int asking = 0;
    for (int n = 0; n < 20; ++n) {
        ASSERT_NE(PatternOf(n), nullptr);
        EXPECT_EQ(PatternOf(n)->number, n);
        asking += PatternOf(n)->asksAngle;
    }
    EXPECT_EQ(asking, 8);  // 2, 6, 11, 12, 15, 16, 18, 19
    EXPECT_EQ(PatternOf(20), nullptr);
    EXPECT_EQ(PatternOf(-1), nullptr);
    EXPECT_STREQ(ResolutionOf(0)->menuItem, "einfacheauflsung1");
    EXPECT_STREQ(ResolutionOf(4)->menuItem, "sehrhheauflsung1");
    EXPECT_EQ(ResolutionOf(5), nullptr);
}

TEST(OptionPairs, BoxAndMenuItemFindEachOther) {
    EXPECT_EQ(std::size(kOptionPairs), 12u);
    for (const OptionPair& p : kOptionPairs) {
        EXPECT_STREQ(MenuItemOfBox(p.box), p.menuItem);
        EXPECT_STREQ(BoxOfMenuItem(p.menuItem), p.box);
    }
    EXPECT_EQ(MenuItemOfBox("nichts"), nullptr);
}

TEST(DepthClamps, DepthNeverBelowThicknessAndInfeedNeverBelowDepth) {
    struct Case {
        double wst_d, max_tiefe, z_zustellung, depth, infeed;
    } cases[] = {
        {10, -15, -12, -10, -10},
        {10, -5, -12, -5, -5},
        {10, -5, -2, -5, -2},
        {10, -10, 0, -10, 0},
    };
    for (const Case& c : cases) {
        double depth = c.max_tiefe, infeed = c.z_zustellung;
        ClampDepthAfterThickness(c.wst_d, depth, infeed);
        EXPECT_EQ(depth, c.depth);
        EXPECT_EQ(infeed, c.infeed);
    }
    double infeed = -12;
    ClampInfeed(-10, infeed);
    EXPECT_EQ(infeed, -10);
}

TEST(AngleSpin, StepsWrapAtTheFullCircle) {
    struct Case {
        double from;
        int item;
        bool up;
        double to;
    } cases[] = {
        {355, 0, true, 5},      {345, 0, true, 355},   {5, 0, false, 355},    {0, 4, false, 359.999},
        {359.5, 1, true, 0.5},  {360, 2, true, 0.1},   {0, 1, false, 359},    {12, 3, true, 12.01},
        {400, 1, false, 360},   {-20, 1, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(StepAngle(c.from, c.item, c.up), c.to, 1e-9) << c.from << (c.up ? " up" : " down");
}

TEST(AnglePreviews, DrawingTwiceGivesThePictureBack) {
    std::mt19937 gen(7);
    TBitmap picture(120, 90, TPixelFormat::pf24bit);
    for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 360; ++x) picture.ScanLine(y)[x] = std::uint8_t(gen());
    const AnglePreview kinds[] = {AnglePreview::Ellipse, AnglePreview::Oblique, AnglePreview::Cross,
                                  AnglePreview::Polygon};
    for (const AnglePreview kind : kinds)
        for (double angle : {0.0, 30.0, 90.0, 179.999, 270.0}) {
            TBitmap image = picture;
            const AnglePreviewValues v{60, 45, 5, 2.5, true};
            DrawAnglePreview(image, kind, v, angle);
            bool changed = false;
            for (int y = 0; y < 90 && !changed; ++y)
                for (int x = 0; x < 120 && !changed; ++x) changed = image.PixelAt(x, y) != picture.PixelAt(x, y);
            EXPECT_TRUE(changed) << int(kind) << " at " << angle;
            DrawAnglePreview(image, kind, v, angle);
            for (int y = 0; y < 90; ++y)
                ASSERT_EQ(0, std::memcmp(image.ScanLine(y), picture.ScanLine(y), 360)) << int(kind) << " at " << angle;
        }
}

TEST(AnglePreviews, ObliqueLinesPassSymmetricallyAboutTheCentre) {
    TBitmap image(101, 101, TPixelFormat::pf24bit);
    for (int y = 0; y < 101; ++y) std::memset(image.ScanLine(y), 0xFF, 303);
    DrawAnglePreview(image, AnglePreview::Oblique, AnglePreviewValues{50, 50, 3, 5, false}, 45);
    // Each inverted pixel has its partner mirrored through the centre.
    int inverted = 0;
    for (int y = 1; y < 100; ++y)
        for (int x = 1; x < 100; ++x)
            if (image.PixelAt(x, y) == clBlack) {
                ++inverted;
                EXPECT_EQ(image.PixelAt(100 - x, 100 - y), clBlack) << x << "," << y;
            }
    EXPECT_GT(inverted, 100);
    EXPECT_EQ(AnglePreviewOf(2), AnglePreview::Ellipse);
    EXPECT_EQ(AnglePreviewOf(16), AnglePreview::Cross);
    EXPECT_EQ(AnglePreviewOf(19), AnglePreview::Polygon);
    EXPECT_EQ(AnglePreviewOf(1), AnglePreview::None);
}

}  // namespace
