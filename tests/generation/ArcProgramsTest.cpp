// Whole circle programs with "bogen mit I/J", at every number of decimals and at fine to coarse
// point spacings, raw and optimised: every arc they write runs on a controller as written. An
// arc whose end is its start is read as a full circle; the replay refuses, as LinuxCNC does,
// one whose end lies off the circle through its start.
#include "generation/MainState.h"
#include "generation/Optimiser.h"
#include "generation/ProgramRun.h"
#include "generation/Strategies.h"
#include "platform/Application.h"
#include "GoldenSupport.h"
#include "TestHost.h"
#include "ToolpathReplay.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace golden;

// The first arc that ends where it starts, as a text; empty when there is none. The tool
// position follows the X and Y words.
std::string FirstArcBackToItsStart(const TStrings& program, std::size_t& arcs) {
    arcs = 0;
    double x = 0, y = 0;
    int motion = 0;
    for (std::size_t i = 0; i < program.Count(); ++i) {
        const std::string_view line = program.Line(i);
        if (line.find("G90.1") != std::string_view::npos || line.find('(') == 0 || line.find('%') == 0) continue;
        double nx = x, ny = y;
        bool axes = false;
        for (std::size_t p = 0; p < line.size(); ++p) {
            const char letter = line[p];
            if (letter != 'G' && letter != 'X' && letter != 'Y') continue;
            std::size_t end = p + 1;
            while (end < line.size() && (line[end] == '-' || line[end] == '.' || (line[end] >= '0' && line[end] <= '9'))) ++end;
            double value = 0;
            std::from_chars(line.data() + p + 1, line.data() + end, value);
            if (letter == 'G' && value <= 3) motion = int(value);
            if (letter == 'X') nx = value, axes = true;
            if (letter == 'Y') ny = value, axes = true;
            p = end - 1;
        }
        if (motion == 3 && axes) {
            ++arcs;
            if (nx == x && ny == y) return "line " + std::to_string(i) + " [" + std::string(line) + "]";
        }
        x = nx;
        y = ny;
    }
    return {};
}

void RunCircleWithArcs(TestHost& host, int decimals, double pointSpacing, bool optimise) {
    Picture picture(11, std::vector<int>(11));
    for (int row = 0; row < 11; ++row)
        for (int col = 0; col < 11; ++col) picture[std::size_t(row)][std::size_t(col)] = (row * 37 + col * 11) % 256;
    RunSetup setup{1, &picture, 10, 10, 3, -3, -3, 1, pointSpacing, 1, 1, 0.05, decimals, 0, 0, "()",
                   {"bogen_IJ"}, {"%", "G21 G90 G17", "F600 S10000 M3"}, {"M5", "M30"}};
    setup.centrePxX = setup.centrePxY = 5;
    setup.previewWidth = setup.previewHeight = 11;
    if (optimise) setup.boxes.push_back("Prg_optimieren");
    Prepare(host, setup);
    Main.HeaderLineCount = 3;  // the optimiser copies the header by its count
    Main.TrailerLineCount = 2;
    CreateProgram(host, BuiltInStrategies());
    RunOptimiser(host);
}

TEST(ArcPrograms, EveryArcRunsAsWrittenAtAnyDecimalsAndPointSpacing) {
    for (int decimals = 0; decimals <= 3; ++decimals) {
        for (double spacing : {0.01, 0.05, 0.2, 1.0}) {
            for (bool optimise : {false, true}) {
                SCOPED_TRACE(testing::Message() << decimals << " decimals, Punktabstand " << spacing << ", optimised "
                                                << optimise);
                TestHost host;
                RunCircleWithArcs(host, decimals, spacing, optimise);
                ASSERT_TRUE(host.messageTexts.empty()) << host.messageTexts.front();
                ASSERT_GT(host.lines.Count(), 20u);
                std::size_t arcs = 0;
                EXPECT_EQ(FirstArcBackToItsStart(host.lines, arcs), "");
                // The arc-centre mode stands before the first move.
                EXPECT_EQ(host.lines.Line(4), "G90.1");
                // With two or more decimals the steps stay arcs.
                if (decimals >= 2) {
                    EXPECT_GT(arcs, 10u);
                }
                // The controller runs the whole program.
                ToolpathReplay replay(0.01, {0, 0, 100}, {Controller::LinuxCnc});
                replay.Replay(host.lines);
                EXPECT_EQ(replay.FirstRefusal(), "");
                EXPECT_TRUE(replay.EndReached());
            }
        }
    }
}

}  // namespace
