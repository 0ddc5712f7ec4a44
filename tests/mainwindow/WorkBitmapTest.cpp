// The work bitmap: border, proportion, mirror, turn and scale on small fixtures, rebuilds with
// the turn on, and the preview's fit.
#include "generation/MainState.h"
#include "mainwindow/WorkBitmap.h"
#include "TableHost.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int W = 255;  // white

TBitmap Grey(const std::vector<std::vector<int>>& rows) {
    TBitmap b(int(rows[0].size()), int(rows.size()), TPixelFormat::pf24bit);
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) b.SetPixelAt(x, y, RGB(rows[y][x], rows[y][x], rows[y][x]));
    return b;
}

std::vector<std::vector<int>> Levels(const TBitmap& b) {
    std::vector<std::vector<int>> rows(std::size_t(b.Height()));
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x) rows[std::size_t(y)].push_back(GetRValue(b.PixelAt(x, y)));
    return rows;
}

// 3 x 2 and 4 x 3 pictures of distinct greys.
const TBitmap k3x2 = Grey({{10, 20, 30}, {40, 50, 60}});
const TBitmap k4x3 = Grey({{10, 20, 30, 40}, {50, 60, 70, 80}, {90, 100, 110, 120}});

struct WorkBitmap : ::testing::Test {
    TableHost host;
    void SetUp() override {
        ResetMainState();
        Main.stepX = 1;
        Main.stepy = 1;
    }
    void TearDown() override { ResetMainState(); }
    void Size(double l, double b, double border = 0) {
        host.fields["wst_l"] = l;
        host.fields["wst_b"] = b;
        host.fields["rundrum_mm"] = border;
    }
};

TEST_F(WorkBitmap, PictureIsStretchedInsideTheLastColumnAndRow) {
    Size(2, 1);
    ASSERT_EQ(PrepareWorkBitmap(host, k3x2, true, false), WorkBitmapResult::Built);
    // Two target columns take source columns 0 and 2, the one target row source row 1.
    EXPECT_EQ(Levels(Main.WorkBitmap), (std::vector<std::vector<int>>{{40, 60, W}, {W, W, W}}));
    Size(3, 2);
    PrepareWorkBitmap(host, k4x3, true, false);
    EXPECT_EQ(Levels(Main.WorkBitmap),
              (std::vector<std::vector<int>>{{10, 30, 40, W}, {90, 110, 120, W}, {W, W, W, W}}));
    EXPECT_DOUBLE_EQ(Main.PixelsPerMmX, 1.0);
    EXPECT_DOUBLE_EQ(Main.PixelsPerMmY, 1.0);
}

TEST_F(WorkBitmap, BorderInPixelsRoundsHalvesToEven) {
    Size(3, 20, 1);  // 1 px per mm across, 0.1 down: a border of one column, no row
    PrepareWorkBitmap(host, k4x3, true, false);
    EXPECT_EQ(Main.BorderPxX, 1);
    EXPECT_EQ(Main.BorderPxY, 0);
    EXPECT_EQ(Levels(Main.WorkBitmap),
              (std::vector<std::vector<int>>{{W, 30, W, W}, {W, 110, W, W}, {W, W, W, W}}));

    TBitmap wide(101, 51);
    Size(100, 50, 2.5);
    PrepareWorkBitmap(host, wide, true, false);
    EXPECT_DOUBLE_EQ(Main.PixelsPerMmX, 1.0);
    EXPECT_DOUBLE_EQ(Main.PixelsPerMmY, 1.0);
    EXPECT_EQ(Main.BorderPxX, 2);
    EXPECT_EQ(Main.BorderPxY, 2);
}

TEST_F(WorkBitmap, BorderOfHalfTheWorkpieceLeavesItAllWhite) {
    for (double border : {1.0, 1.5, 40.0, 1e300}) {
        Size(3, 2, border);
        EXPECT_EQ(PrepareWorkBitmap(host, k4x3, true, false), WorkBitmapResult::BorderTooWide) << border;
        EXPECT_EQ(Levels(Main.WorkBitmap), (std::vector<std::vector<int>>(3, std::vector<int>(4, W)))) << border;
    }
}

TEST_F(WorkBitmap, MirrorShrinksByOneColumnAndOneRow) {
    host.boxes["spiegeln"] = true;
    Size(3, 2);
    PrepareWorkBitmap(host, k4x3, true, false);
    // The mirrored copy is stretched into the first three columns and two rows; the picture's
    // last row does not reach them.
    EXPECT_EQ(Levels(Main.WorkBitmap),
              (std::vector<std::vector<int>>{{W, 40, 10, W}, {W, W, W, W}, {W, W, W, W}}));
    Size(2, 1);
    PrepareWorkBitmap(host, k3x2, true, false);
    EXPECT_EQ(Levels(Main.WorkBitmap), (std::vector<std::vector<int>>{{W, W, W}, {W, W, W}}));
}

TEST_F(WorkBitmap, TurnLeavesTheFirstRowAndLastColumnWhiteAndExchangesTheSize) {
    host.boxes["achse_90_grad"] = true;
    Size(3, 2);
    PrepareWorkBitmap(host, k4x3, true, false);
    EXPECT_EQ(Levels(Main.WorkBitmap),
              (std::vector<std::vector<int>>{{W, W, W}, {40, 120, W}, {30, 110, W}, {10, 90, W}}));
    EXPECT_TRUE(Main.Axis90Applied);
    EXPECT_EQ(host.fields["wst_l"], 2);
    EXPECT_EQ(host.fields["wst_b"], 3);
    EXPECT_DOUBLE_EQ(Main.PixelsPerMmX, 1.0);  // (3 - 1) / 2
    EXPECT_DOUBLE_EQ(Main.PixelsPerMmY, 1.0);  // (4 - 1) / 3
}

TEST_F(WorkBitmap, RebuildsWithTheTurnOnKeepTheFields) {
    TBitmap picture(601, 401);
    Size(600, 400);
    host.boxes["achse_90_grad"] = true;
    for (int i = 0; i < 3; ++i) {
        PrepareWorkBitmap(host, picture, true, true);
        EXPECT_EQ(host.fields["wst_l"], 400) << i;
        EXPECT_EQ(host.fields["wst_b"], 600) << i;
        EXPECT_EQ(Main.WorkBitmap.Width(), 401);
    }
    host.boxes["achse_90_grad"] = false;
    PrepareWorkBitmap(host, picture, true, true);
    EXPECT_EQ(host.fields["wst_l"], 600);
    EXPECT_EQ(host.fields["wst_b"], 400);
    EXPECT_FALSE(Main.Axis90Applied);
}

TEST_F(WorkBitmap, KeepsThePixelFormatTheRunSet) {
    Main.WorkBitmap.SetPixelFormat(TPixelFormat::pf1bit);
    Size(3, 2);
    PrepareWorkBitmap(host, k4x3, true, false);
    EXPECT_EQ(Main.WorkBitmap.PixelFormat(), TPixelFormat::pf1bit);
}

TEST_F(WorkBitmap, ProportionFollowsThePictureFromTheLeadingSide) {
    host.boxes["proportion"] = true;
    Size(8, 1);
    PrepareWorkBitmap(host, k4x3, true, true);
    EXPECT_DOUBLE_EQ(host.fields["wst_b"], 6.0);
    Size(8, 3);
    PrepareWorkBitmap(host, k4x3, false, true);
    EXPECT_DOUBLE_EQ(host.fields["wst_l"], 4.0);
    // Without the box both stay, and the fields are written all the same.
    host.boxes["proportion"] = false;
    Size(8, 1);
    PrepareWorkBitmap(host, k4x3, true, true);
    EXPECT_DOUBLE_EQ(host.fields["wst_b"], 1.0);
}

TEST_F(WorkBitmap, ZeroSizeAndStepsComeFromThePicture) {
    TBitmap picture(300, 200);
    host.boxes["proportion"] = true;
    Size(600, 0);
    PrepareWorkBitmap(host, picture, true, true);
    EXPECT_EQ(host.fields["wst_l"], 300);
    EXPECT_EQ(host.fields["wst_b"], 200);

    Main.stepX = 5;
    Main.stepy = 0;
    Size(600, 400);
    PrepareWorkBitmap(host, picture, true, false);
    EXPECT_DOUBLE_EQ(host.fields["stepX"], 2.0);
    EXPECT_DOUBLE_EQ(host.fields["stepy"], 2.0);
    Main.stepy = 0;
    Main.MinStep = 3;
    PrepareWorkBitmap(host, picture, true, false);
    EXPECT_DOUBLE_EQ(host.fields["stepX"], 3.0);
}

TEST_F(WorkBitmap, EmptyPictureChangesNothing) {
    Size(3, 2);
    PrepareWorkBitmap(host, k4x3, true, false);
    const TBitmap before = Main.WorkBitmap;
    EXPECT_EQ(PrepareWorkBitmap(host, TBitmap(), true, false), WorkBitmapResult::NoPicture);
    EXPECT_EQ(Levels(Main.WorkBitmap), Levels(before));
    EXPECT_FALSE(PictureLargeEnough(1, 200));
    EXPECT_FALSE(PictureLargeEnough(200, 1));
    EXPECT_TRUE(PictureLargeEnough(2, 2));
}

TEST(PreviewFit, FitsBothWaysAndNeverEnlarges) {
    struct Case {
        int panelW, panelH, bitmapW, bitmapH, w, h;
    } cases[] = {
        {400, 300, 1000, 250, 400, 100},
        {400, 300, 200, 100, 200, 100},
        {400, 100, 300, 200, 150, 100},  // wide picture, short panel
        {400, 300, 100, 400, 75, 300},   // tall picture in a wide panel
        {400, 300, 400, 300, 400, 300},
    };
    for (const Case& c : cases) {
        int w = c.panelW, h = c.panelH;
        FitPreview(TBitmap(c.bitmapW, c.bitmapH), h, w);
        EXPECT_EQ(w, c.w) << c.bitmapW << "x" << c.bitmapH;
        EXPECT_EQ(h, c.h) << c.bitmapW << "x" << c.bitmapH;
    }
}

TEST(Preview, WorkBitmapFillsAllButTheLastColumnAndRowAndTheCrossIsRed) {
    TBitmap preview = PreviewOf(k4x3, 5, 4);
    ASSERT_EQ(preview.Width(), 5);
    EXPECT_EQ(GetRValue(preview.PixelAt(0, 0)), 10);
    EXPECT_EQ(GetRValue(preview.PixelAt(3, 2)), 120);
    EXPECT_EQ(preview.PixelAt(4, 0), clWhite);
    EXPECT_EQ(preview.PixelAt(0, 3), clWhite);
    DrawCentreCross(preview, 2, 1);
    EXPECT_EQ(preview.PixelAt(0, 1), clRed);
    EXPECT_EQ(preview.PixelAt(4, 2), clRed);  // two pixels wide
    EXPECT_EQ(preview.PixelAt(2, 3), clRed);
    EXPECT_NE(preview.PixelAt(0, 0), clRed);
}

}  // namespace
