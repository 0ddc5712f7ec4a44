// Whole programs of the patterns about the circle centre (circles, spiral, ellipses, n-gons,
// labyrinth), compared line by line with expected program files, and the edge cases of
// their layout.
#include "generation/AngleDialogState.h"
#include "generation/MainState.h"
#include "generation/ProgramRun.h"
#include "generation/RunState.h"
#include "GoldenSupport.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace golden;

struct RadialCase {
    const char* name;
    const char* file;
    RunSetup setup;
};

// The circle centre lies off the middle in every case: (20, 15) on the 50 x 40 workpiece, or
// (10, 10) for the drilled labyrinth. Covered besides each pattern: arcs on and off for the
// milled circle (with the stair form's marked depth changes), marks with and without
// optimisation, two passes with the contour block and its reset of the old point, parallel
// and similar ellipses turned and not, triangles and hexagons at 0 and 30 degrees, the
// labyrinth's side marks and the strip it leaves uncovered when the reach is not a multiple
// of stepX (labyrinth_mill_optimised: two rings of 12 reach 24 of the 30 mm to the right).
const RadialCase kRadialCases[] = {
    {"circle_mill", "circle_mill",
     {1, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 7.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {}, {"%"}, {"M30"}, 20, 25, 50, 40, 3, 5.0}},
    {"circle_mill_arcs", "circle_mill_arcs",
     {1, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 7.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {"bogen_IJ"}, {}, {}, 20, 25, 50, 40, 3, 5.0}},
    {"circle_mill_arcs_stair_optimised", "circle_mill_arcs_stair_optimised",
     {1, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 7.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {"bogen_IJ", "treppe", "Prg_optimieren"}, {}, {}, 20, 25, 50, 40, 3, 5.0}},
    {"circle_drill", "circle_drill",
     {5, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 12.0, 9.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {}, {}, {}, 20, 25, 50, 40, 3, 5.0}},
    {"circle_mill_two_passes_contour", "circle_mill_two_passes_contour",
     {1, &PicA, 50.0, 40.0, 10.0, -10.0, -5.0, 13.0, 9.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {"kante_fraesen", "stoppen", "Prg_optimieren"}, {}, {}, 20, 25, 50, 40, 3, 5.0}},
    {"spiral_mill_optimised", "spiral_mill_optimised",
     {3, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 6.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {"Prg_optimieren"}, {}, {}, 20, 25, 50, 40, 3, 5.0}},
    {"spiral_drill_two_passes", "spiral_drill_two_passes",
     {7, &PicB, 50.0, 40.0, 10.0, -10.0, -5.0, 12.0, 8.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {"kante_fraesen"}, {}, {}, 20, 25, 50, 40, 3, 5.0}},
    {"ellipse_mill_parallel", "ellipse_mill_parallel",
     {2, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 9.0, 8.0, 1.0, 1.0, 0.05, 2, 30.0, 30.0,
      "()", {"parallel_checkbox", "Prg_optimieren"}, {}, {}, 20, 25, 50, 40, 3, 2.0}},
    {"ellipse_drill_similar", "ellipse_drill_similar",
     {6, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 12.0, 10.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {}, {}, {}, 20, 25, 50, 40, 3, 1.5}},
    {"polygon_triangle_mill_0_optimised", "polygon_triangle_mill_0_optimised",
     {18, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 8.0, 6.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {"Prg_optimieren"}, {}, {}, 20, 25, 50, 40, 3, 5.0}},
    {"polygon_triangle_drill_30", "polygon_triangle_drill_30",
     {19, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 9.0, 1.0, 1.0, 0.05, 2, 30.0, 30.0,
      "()", {}, {}, {}, 20, 25, 50, 40, 3, 5.0}},
    {"polygon_hexagon_drill_0", "polygon_hexagon_drill_0",
     {19, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 9.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {}, {}, {}, 20, 25, 50, 40, 6, 5.0}},
    {"polygon_hexagon_mill_30", "polygon_hexagon_mill_30",
     {18, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 9.0, 5.0, 1.0, 1.0, 0.05, 2, 30.0, 30.0,
      "()", {"kante_fraesen"}, {}, {}, 20, 25, 50, 40, 6, 5.0}},
    {"labyrinth_mill_optimised", "labyrinth_mill_optimised",
     {8, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 12.0, 5.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {"Prg_optimieren"}, {}, {}, 20, 25, 50, 40, 3, 5.0}},
    {"labyrinth_drill", "labyrinth_drill",
     {14, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 8.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {}, {}, {}, 10, 30, 50, 40, 3, 5.0}},
};

class RadialGoldenTest : public ::testing::TestWithParam<RadialCase> {
protected:
    void TearDown() override {
        Application->ResetCounters();
        ResetAngleDialogState();
    }
};

TEST_P(RadialGoldenTest, WholeProgramMatchesTheExpectedFile) {
    const RadialCase& c = GetParam();
    TestHost host;
    Prepare(host, c.setup);
    const Lines program = RunProgram(host);
    EXPECT_TRUE(SameProgram(ReadProgramFile(c.file), program));
    EXPECT_TRUE(host.fileMessages.empty());
    EXPECT_TRUE(host.messageTexts.empty());
    // The run puts back the spacings it refitted.
    EXPECT_EQ(Main.stepX, c.setup.stepX);
    EXPECT_EQ(Main.stepy, c.setup.stepy);
    EXPECT_EQ(host.fields["stepX"], c.setup.stepX);
    EXPECT_EQ(host.fields["stepy"], c.setup.stepy);
    EXPECT_EQ(host.meter.back(), 0);
}

INSTANTIATE_TEST_SUITE_P(Patterns, RadialGoldenTest, ::testing::ValuesIn(kRadialCases),
                         [](const ::testing::TestParamInfo<RadialCase>& p) { return std::string(p.param.name); });

}  // namespace
