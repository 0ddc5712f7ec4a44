#include "generation/Emitters.h"

#include "generation/MainState.h"
#include "generation/RunState.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

using Lines = std::vector<std::string>;

class EmitterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainState();
        // A 600 x 600 workpiece on a 6 x 6 bitmap: 0 mm maps to the first pixel, 600 mm to
        // the last, 120 mm a pixel.
        Main.WorkBitmap = GreyBitmap(std::vector<std::vector<int>>(6, std::vector<int>(6, 255)));
        Main.PixelsPerMmX = Main.PixelsPerMmY = 5.0 / 600.0;
        Main.DepthFullScale = 16777215.0;
        Main.PassDepth = -10;
    }
    RunState& Run() {
        if (!run_) {
            run_ = std::make_unique<RunState>(Main, host);
            run_->CaptureOptions();
            run_->ResetToStart();
        }
        return *run_;
    }
    void SetGrey(int px, int pyFromTop, int v) { Main.WorkBitmap.SetPixelAt(px, pyFromTop, RGB(v, v, v)); }

    TestHost host;
    std::unique_ptr<RunState> run_;
};

struct MillCase {
    const char* name;
    bool pathStart, stair, optimise;
    double zold, z;
    const char* comment;
    Lines expected;
};

TEST_F(EmitterTest, MillPointLineForms) {
    const MillCase cases[] = {
        {"path start", true, false, false, -1, -1, "",
         {"G0 X0 Y0 Z1 ", "G0 X5 Y6 Z1 ", "G1 X5 Y6 Z-3 "}},
        {"path start marked", true, true, true, -1, -1, "c",
         {"G0 X0 Y0 Z1 (0)", "G0 X5 Y6 Z1 (0)", "G1 X5 Y6 Z-3 (0)"}},
        {"stair level", false, true, false, -3, -3, "", {"G1 X5 Y6 Z-3 "}},
        {"stair rising", false, true, false, -3, -1, "", {"G0 X0 Y0 Z-3 ", "G1 X5 Y6 Z-3 "}},
        {"stair falling", false, true, false, -1, -3, "c", {"G1 X5 Y6 Z1 c", "G1 X5 Y6 Z-3 c"}},
        {"no stair", false, false, true, -1, -3, "", {"G1 X5 Y6 Z-3 "}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.lines.Clear();
        RunState& r = Run();
        r.optimise = c.optimise;
        r.pathStart = c.pathStart;
        r.Zold = c.zold;
        r.Z = c.z;
        // The word texts are passed ready-made; Zo stands for the old depth's word.
        EmitMillPoint(r, "X0", "X5", "Y0", "Y6", "Z1", "Z-3", c.stair, c.comment);
        EXPECT_EQ(host.Program(), c.expected);
        EXPECT_FALSE(r.pathStart);
        EXPECT_EQ(r.Zold, c.z);
    }
}

TEST_F(EmitterTest, ArcPointLineForms) {
    // From X3 Y4 to X0 Y5: both on the circle of radius 5 about the origin.
    const MillCase cases[] = {
        {"path start", true, false, false, -1, -1, "",
         {"G0 X3 Y4 Z-1 ", "G0 X0 Y5 Z1 ", "G1 X0 Y5 Z-3 "}},
        {"stair level", false, true, true, -3, -3, "", {"G3 X0 Y5 Z-3 I0 J0"}},
        {"stair rising marked", false, true, true, -3, -1, "",
         {"G0 X3 Y4 Z-3(0)", "G3 X0 Y5 Z-3 I0 J0(0)"}},
        {"stair falling", false, true, false, -1, -3, "", {"G3 X0 Y5 Z-1 I0 J0", "G1 X0 Y5 Z-3"}},
        {"no stair", false, false, true, -1, -3, "", {"G3 X0 Y5 Z-3 I0 J0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.lines.Clear();
        RunState& r = Run();
        r.optimise = c.optimise;
        r.pathStart = c.pathStart;
        r.Zold = c.zold;
        r.Z = c.z;
        EmitArcPoint(r, "X3", "X0", "Y4", "Y5", "Z-1", "Z-3", c.stair);
        EXPECT_EQ(host.Program(), c.expected);
    }
}

// A step whose written words would not run as an arc about the origin is written as a
// straight feed to its end, in every line form; the arc-centre line is no business of the
// point emitter.
TEST_F(EmitterTest, AStepThatWouldNotRunAsAnArcIsAStraightFeed) {
    struct Case {
        const char* name;
        const char *Xo, *X, *Yo, *Y;
        bool stair;
        double zold, z;
        Lines expected;
    } cases[] = {
        // Rounded to no decimals, a short step ends where it starts: a full circle.
        {"end is start", "X0", "X0", "Y5", "Y5", false, -3, -3, {"G1 X0 Y5 Z-3"}},
        {"minus zero is zero", "X5", "X5", "Y0", "Y-0", false, -3, -3, {"G1 X5 Y-0 Z-3"}},
        // 5 to 5.1 is 0.1 mm and 2 % off the circle.
        {"off the circle", "X5", "X0", "Y0", "Y5.1", false, -3, -3, {"G1 X0 Y5.1 Z-3"}},
        {"from the centre", "X0", "X0.5", "Y0", "Y0", false, -3, -3, {"G1 X0.5 Y0 Z-3"}},
        {"stair rising", "X0", "X0", "Y5", "Y5", true, -3, -1, {"G0 X0 Y5 Z-3", "G1 X0 Y5 Z-3"}},
        {"stair falling", "X0", "X0", "Y5", "Y5", true, -1, -3, {"G1 X0 Y5 Z-1", "G1 X0 Y5 Z-3"}},
        // Within both limits the arc stays: 0.015 mm off a circle of radius 5, and 0.05 mm
        // (0.05 %) off one of radius 100.
        {"0.015 mm off", "X5", "X0", "Y0", "Y5.015", false, -3, -3, {"G3 X0 Y5.015 Z-3 I0 J0"}},
        {"0.05 % off", "X100", "X0", "Y0", "Y100.05", false, -3, -3, {"G3 X0 Y100.05 Z-3 I0 J0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.lines.Clear();
        RunState& r = Run();
        r.Zold = c.zold;
        r.Z = c.z;
        EmitArcPoint(r, c.Xo, c.X, c.Yo, c.Y, "Z-1", "Z-3", c.stair);
        EXPECT_EQ(host.Program(), c.expected);
    }
}

TEST_F(EmitterTest, ALineLongerThanUsualIsWrittenWhole) {
    RunState& r = Run();
    const std::string comment(3000, 'c');
    const std::string x = "X" + std::string(600, '1');
    EmitMillPoint(r, "X0", x, "Y0", "Y6", "Z1", "Z-3", false, comment);
    EXPECT_EQ(host.Program(), Lines{"G1 " + x + " Y6 Z-3 " + comment});
}

TEST_F(EmitterTest, DrillPointRetractsTraversesAndPlunges) {
    RunState& r = Run();
    r.Z = -2;
    EmitDrillPoint(r, "X5", "Y6", "Z-2", "X0", "Y1", "Z1");
    EXPECT_EQ(host.Program(), (Lines{"G0 X0 Y1 Z1", "G0 X5 Y6 Z1", "G1 X5 Y6 Z-2"}));
    EXPECT_EQ(r.Zold, -2);
}

TEST_F(EmitterTest, EmitPointChoosesTheFamilyByStrategy) {
    struct Case {
        int strategy;
        bool arcIJ;
        Lines expected;
    } cases[] = {
        {0, false, {"G1 X10 Y7.5 Z-2.25 "}},
        {1, true, {"G3 X10 Y7.5 Z-2.25 I0 J0"}},
        {1, false, {"G1 X10 Y7.5 Z-2.25 "}},
        {4, false, {"G0 X7.5 Y10 Z1", "G0 X10 Y7.5 Z1", "G1 X10 Y7.5 Z-2.25"}},
        {10, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strategy);
        host.lines.Clear();
        Main.StrategyIndex = c.strategy;
        RunState& r = Run();
        r.arcIJ = c.arcIJ;
        // Both points lie on the circle of radius 12.5 about the origin.
        r.X = 10, r.Y = 7.5, r.Z = -2.25, r.Xold = 7.5, r.Yold = 10, r.Zold = -2.25;
        EmitPoint(r, "");
        EXPECT_EQ(host.Program(), c.expected);
    }
}

TEST_F(EmitterTest, StartPathWritesTwoLinesWhenThePointDoesNotMove) {
    RunState& r = Run();
    r.X = 100, r.Y = 200, r.Z = -3, r.Xold = 100, r.Yold = 200, r.Zold = -5;
    StartPath(r, "(0)");
    EXPECT_EQ(host.Program(), (Lines{"G0 X100 Y200 Z1(0)", "G1 X100 Y200 Z-3(0)"}));
    EXPECT_EQ(r.Zold, Main.zg0);
    host.lines.Clear();
    r.Xold = 50;
    StartPath(r, "");
    EXPECT_EQ(host.Program(), (Lines{"G0 X50 Y200 Z1", "G0 X100 Y200 Z1 ", "G1 X100 Y200 Z-3"}));
}

TEST_F(EmitterTest, StartPathLeavesTheOldPointWhereTheToolStands) {
    // Two path starts in a row: the second retracts at the first path's point, where the
    // tool is, not at the point before it (a rapid move sideways through the material).
    RunState& r = Run();
    r.X = 0, r.Y = 0, r.Z = -10, r.Xold = 6, r.Yold = 0;
    StartPath(r, "");
    EXPECT_EQ(r.Xold, 0);
    EXPECT_EQ(r.Yold, 0);
    EXPECT_EQ(r.Zold, Main.zg0);
    host.lines.Clear();
    r.X = 3, r.Z = -10;
    StartPath(r, "");
    EXPECT_EQ(host.Program(), (Lines{"G0 X0 Y0 Z1", "G0 X3 Y0 Z1 ", "G1 X3 Y0 Z-10"}));
    // A drilling point after the path start rises where the path started.
    host.lines.Clear();
    Main.StrategyIndex = 15;
    r.X = 4;
    EmitPoint(r, "");
    EXPECT_EQ(host.Program()[0], "G0 X3 Y0 Z1");
}

TEST_F(EmitterTest, MoveToOutsideWritesOnlyTheRapidMoves) {
    RunState& r = Run();
    r.X = 7, r.Y = 8;
    MoveTo(r, "(RW)", 700, 0, 1);
    EXPECT_EQ(host.Program(), (Lines{"G0 Z1 (RW)", "G0 X700 Y0 Z1 (RW)"}));
    EXPECT_EQ(r.Xold, 7);
    EXPECT_EQ(r.Yold, 8);
    EXPECT_EQ(r.Zold, Main.zg0);
    host.lines.Clear();
    SetGrey(0, 5, 0);
    MoveTo(r, "", 0, 0, 1);
    EXPECT_EQ(host.Program(), (Lines{"G0 Z1 ", "G0 X0 Y0 Z1 ", "G1 X0 Y0 Z-10 "}));
    EXPECT_EQ(r.Zold, -10);
}

TEST_F(EmitterTest, SampleDepthMapsGreyToDepth) {
    // Pixel column 1 of the bottom row holds the samples at x = 120..239 mm, y < 120 mm.
    struct Case {
        const char* name;
        int grey;
        double faktor, passDepth, maxDepth;
        const char* zWord;
    } cases[] = {
        {"white", 255, 1, -10, -10, "Z0"},
        {"black", 0, 1, -10, -10, "Z-10"},
        {"grey 128", 128, 1, -10, -10, "Z-4.98"},
        {"factor 2 lifts white", 255, 2, -10, -10, "Z10"},
        {"pass floor", 0, 1, -2, -10, "Z-2"},
        {"deepest depth", 0, 1, -10, -6, "Z-6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetGrey(1, 5, c.grey);
        Main.faktor = c.faktor;
        Main.PassDepth = c.passDepth;
        Main.max_tiefe = c.maxDepth;
        RunState& r = Run();
        r.Zold = 50;
        ASSERT_TRUE(SampleDepth(r, 150, 50));
        EXPECT_EQ(std::string("Z") + FormatNumber(2, r.Z), c.zWord);
    }
}

TEST_F(EmitterTest, SampleDepthSnapsToTheEdgesAndRefusesOutside) {
    RunState& r = Run();
    r.Zold = 50;
    ASSERT_TRUE(SampleDepth(r, 600.0005, 300));
    EXPECT_EQ(r.X, 600);
    EXPECT_FALSE(SampleDepth(r, 600.002, 300));
    EXPECT_EQ(r.X, 600);  // kept from the last sample
    EXPECT_EQ(r.Z, Main.zg0);
    EXPECT_FALSE(SampleDepth(r, 10, -0.002));
    // A pixel the bitmap does not have gives no depth and leaves X and Y alone; its depth is
    // the safe height, as for every failed point, since it becomes the old depth at which the
    // next path start traverses.
    Main.PixelsPerMmX = 1;
    r.Z = -4;
    EXPECT_FALSE(SampleDepth(r, 100, 100));
    EXPECT_EQ(r.X, 600);
    EXPECT_EQ(r.Z, Main.zg0);
}

TEST_F(EmitterTest, SampleDepthSnapsToThePreviousPoint) {
    // White with a Z factor of 0.897 lies at -1.03.
    Main.faktor = 0.897;
    RunState& r = Run();
    r.Zold = -1.0;
    ASSERT_TRUE(SampleDepth(r, 0.004, 0.3));
    EXPECT_EQ(r.Z, -1.0);  // a change below min_deltaZ keeps the previous depth
    EXPECT_EQ(r.X, 0);     // within 0.01 of 0 with 2 decimals
    r.Zold = -0.9;
    ASSERT_TRUE(SampleDepth(r, 10, 10));
    EXPECT_NEAR(r.Z, -1.03, 1e-12);
    r.Xold = 55.0;
    ASSERT_TRUE(SampleDepth(r, 55.006, 10));
    EXPECT_EQ(r.X, 55.0);
}

TEST_F(EmitterTest, SnappingToleranceFollowsTheDecimals) {
    // One unit of the last written decimal; without decimals nothing is snapped.
    struct Case {
        int komma;
        double x, expectedX;
    } cases[] = {
        {0, 55.0004, 55.0004}, {0, 0.004, 0.004}, {1, 55.09, 55}, {1, 55.2, 55.2},
        {2, 55.009, 55},       {2, 55.02, 55.02}, {3, 55.0009, 55}, {3, 55.002, 55.002},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.komma << " decimals, x " << c.x);
        Main.komma = std::uint8_t(c.komma);
        RunState& r = Run();
        r.CaptureOptions();
        r.Xold = 55;
        r.Yold = 300;
        ASSERT_TRUE(SampleDepth(r, c.x, 10));
        EXPECT_EQ(r.X, c.expectedX);
    }
}

TEST_F(EmitterTest, SampleDepthSkipsWhatEarlierPassesReached) {
    RunState& r = Run();
    r.infeedOptimise = true;
    Main.PrevPassDepth = 0;
    EXPECT_FALSE(SampleDepth(r, 50, 50));  // white lies at the surface
    EXPECT_EQ(r.Z, Main.zg0);
    SetGrey(0, 5, 0);
    Main.PrevPassDepth = -3;
    Main.PassDepth = -6;
    ASSERT_TRUE(SampleDepth(r, 50, 50));
    EXPECT_EQ(r.Z, -6);
}

TEST(Rechne_Alpha, GivesThePolarAngle) {
    constexpr double pi = std::numbers::pi;
    struct Case {
        double dx, dy, alpha;
    } cases[] = {{1, 0, 0},           {0, 1, pi / 2},  {0, 0, pi / 2},          {-1, 0, pi},
                 {0, -1, 3 * pi / 2}, {1, -1, 7 * pi / 4}, {-1, -1, 5 * pi / 4}, {1, 1, pi / 4}};
    for (const auto& c : cases) {
        double a = -1;
        Rechne_Alpha(c.dx, c.dy, a);
        EXPECT_NEAR(a, c.alpha, 1e-12) << c.dx << "," << c.dy;
    }
}

TEST(ret_aufloesung, SetsThePixelFormatOfTheLevel) {
    ResetMainState();
    Main.WorkBitmap = TBitmap(3, 2);
    const TPixelFormat formats[] = {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                                    TPixelFormat::pf24bit, TPixelFormat::pf32bit};
    for (int level = 0; level < 5; ++level) {
        Main.ResolutionLevel = level;
        ret_aufloesung(Main);
        EXPECT_EQ(Main.WorkBitmap.PixelFormat(), formats[level]);
        EXPECT_EQ(Main.DepthFullScale, 16777215.0);
    }
}

}  // namespace
