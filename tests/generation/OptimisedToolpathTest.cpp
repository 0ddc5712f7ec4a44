// The optimiser must not change the cut: every strategy's program and its optimised form are
// replayed by a small G-code interpreter and their cuts compared (cutting segments merged
// where they continue one another at one depth, and the tool position at every stop and at
// the end).
#include "generation/MainState.h"
#include "generation/Optimiser.h"
#include "generation/ProgramRun.h"
#include "generation/Strategies.h"
#include "platform/Application.h"
#include "RadialTestRoutines.h"
#include "TestHost.h"
#include "ToolpathReplay.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Picture = std::vector<std::vector<int>>;

// 11 x 11 grey levels: black corners (depths held at each pass floor), a white patch in the
// middle (skipped by the infeed optimisation, so paths break there), lines of one mid grey
// through the middle, and varied greys elsewhere.
Picture Grey11() {
    Picture p(11, std::vector<int>(11));
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 11; ++x) {
            int v = (x * 23 + y * 17) % 200 + 20;
            if (x == 5 || y == 5) v = 128;
            if ((x - 5) * (x - 5) + (y - 5) * (y - 5) <= 2) v = 255;
            if ((x >= 8 && y <= 2) || (x <= 1 && y >= 9)) v = 0;
            p[std::size_t(y)][std::size_t(x)] = v;
        }
    }
    return p;
}

struct StrategyCase {
    const char* name;
    int strategy;
    bool arcs;  // the circle's "bogen mit I/J"
};

// Every strategy; the radial ones run on stand-ins until the program has its own routines.
const StrategyCase kStrategies[] = {
    {"rows_mill", 0, false},          {"rows_drill", 4, false},
    {"columns_mill", 9, false},       {"columns_drill", 13, false},
    {"cross_mill", 10, false},        {"cross_drill", 17, false},
    {"oblique_mill", 11, false},      {"oblique_drill", 15, false},
    {"oblique_cross_mill", 12, false}, {"oblique_cross_drill", 16, false},
    {"circle_mill", 1, false},        {"circle_mill_arcs", 1, true},
    {"circle_drill", 5, false},       {"ellipse_mill", 2, false},
    {"ellipse_drill", 6, false},      {"spiral_mill", 3, false},
    {"spiral_drill", 7, false},       {"labyrinth_mill", 8, false},
    {"labyrinth_drill", 14, false},   {"polygon_mill", 18, false},
    {"polygon_drill", 19, false},
};

struct Variant {
    int passes;
    bool contour;
    bool stair;  // "treppenform": a rise is a rapid at the old point, then a feed
};
const Variant kVariants[] = {{1, false, false}, {1, true, false}, {3, false, false}, {3, true, false}, {3, false, true}};

// A run with the program's default boxes (optimisation, infeed optimisation) and stops
// between passes; the raw program stays in the editor.
void RunRaw(TestHost& host, const StrategyCase& c, const Variant& v, const Picture& picture) {
    ResetMainState();
    Application->ResetCounters();
    Main.StrategyIndex = c.strategy;
    Main.ResolutionLevel = 3;
    Main.wst_l = 50;
    Main.wst_b = 50;
    Main.wst_d = 10;
    Main.max_tiefe = -10;
    Main.z_zustellung = v.passes == 1 ? -10 : -3.4;
    Main.stepX = 5;
    Main.stepy = 5;
    Main.Alpha = 30;
    Main.CommentBrackets = "()";
    Main.HeaderLines = {"(hdr)", "G21 G90", "F600 S10000 M3"};
    Main.HeaderLineCount = 3;
    Main.TrailerLines = {"M5", "M30"};
    Main.TrailerLineCount = 2;
    Main.WorkBitmap = GreyBitmap(picture);
    Main.PixelsPerMmX = 10.0 / 50;
    Main.PixelsPerMmY = 10.0 / 50;
    Main.CentrePxX = 5;
    Main.CentrePxY = 5;
    host.previewWidth = 10;
    host.previewHeight = 10;
    host.FieldsFromSettings(Main);
    host.fields["eingabe"] = 30;
    host.fields["ecken"] = 5;
    for (const char* box : {"Prg_optimieren", "zustellung_optimieren", "stoppen"}) host.boxes[box] = true;
    host.boxes["kante_fraesen"] = v.contour;
    host.boxes["treppe"] = v.stair;
    host.boxes["bogen_IJ"] = c.arcs;
    CreateProgram(host, radial_test::WithStandIns(BuiltInStrategies()));
}

// The optimiser merges a run along an oblique line, an n-gon side or a ring into one move to
// its last point, while the raw program has every point rounded to two decimals: its
// points lie up to half a unit of the last decimal off that move, so joints within 0.01 mm
// of the straight line (or the circle) count as continuing it.
// Both run on the controller without a line refused.
std::vector<CutStep> CutOf(const TStrings& program) {
    ToolpathReplay replay(0.01);
    replay.Replay(program);
    EXPECT_EQ(replay.FirstRefusal(), "");
    EXPECT_TRUE(replay.EndReached());
    return replay.Cut();
}

void PrintTo(const StrategyCase& c, std::ostream* os) { *os << c.name; }

class OptimisedToolpathTest : public ::testing::TestWithParam<StrategyCase> {
protected:
    void TearDown() override { Application->ResetCounters(); }
};

TEST_P(OptimisedToolpathTest, OptimisedProgramCutsAsTheRawOne) {
    const StrategyCase& c = GetParam();
    const Picture picture = Grey11();
    for (const Variant& v : kVariants) {
        SCOPED_TRACE(testing::Message() << c.name << ", " << v.passes << " passes, contour " << v.contour << ", stair " << v.stair);
        TestHost host;
        RunRaw(host, c, v, picture);
        ASSERT_GT(host.lines.Count(), 10u);
        ASSERT_TRUE(host.messageTexts.empty()) << host.messageTexts.front();
        const std::vector<CutStep> raw = CutOf(host.lines);
        const std::size_t rawLines = host.lines.Count();
        RunOptimiser(host);
        ASSERT_TRUE(host.fileMessages.empty());
        ASSERT_GT(host.lines.Count(), 4u);
        const std::vector<CutStep> optimised = CutOf(host.lines);
        EXPECT_GT(raw.size(), 2u);  // something was cut
        EXPECT_LE(host.lines.Count(), rawLines + 1);  // at most the final retract more
        EXPECT_EQ(FirstCutDifference(raw, optimised), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Strategies, OptimisedToolpathTest, ::testing::ValuesIn(kStrategies),
                         [](const ::testing::TestParamInfo<StrategyCase>& p) { return std::string(p.param.name); });

}  // namespace
