// A program saved in parts: every part, run alone from a controller's start state, cuts what
// its lines cut in the whole program. The whole program is replayed once with a stop put in at
// every part boundary, so that its cut falls into the parts' pieces; each part file is
// replayed on its own. A part after the first may add only the feed down to where the part
// before ended; a part but the last only the rise out of the material at its end. Parts
// without arcs run so on grbl's rules too.
#include "generation/GoldenSupport.h"
#include "generation/MainState.h"
#include "generation/ProgramRun.h"
#include "generation/Strategies.h"
#include "generation/TestHost.h"
#include "generation/ToolpathReplay.h"
#include "mainwindow/ProgramFiles.h"

#include "SmallDepthPicture.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <string>
#include <vector>

namespace {

const std::vector<std::string> kHeader = {"(Teil)", "G21 G90", "F600", "S10000 M3"};
const std::vector<std::string> kTrailer = {"M5", "M30"};

struct ProgramCase {
    const char* name;
    int strategy;
    bool arcs;
    bool optimise;
    int passes;
};

const ProgramCase kPrograms[] = {
    {"rows", 0, false, false, 1},          {"rows_optimised", 0, false, true, 1},
    {"rows_3_passes", 0, false, false, 3}, {"rows_optimised_3_passes", 0, false, true, 3},
    {"circle_arcs", 1, true, false, 1},    {"circle_arcs_optimised", 1, true, true, 3},
    {"rows_drill", 4, false, false, 1},    {"rows_drill_optimised", 4, false, true, 3},
};

void RunProgram(TestHost& host, const ProgramCase& c) {
    static const golden::Picture picture = SmallDepthPicture();
    golden::RunSetup setup{c.strategy, &picture, 50, 40, 10, -10, -10.0 / c.passes, 4, 4, 1, 1, 0.05, 2, 0, 0,
                           "()", {"zustellung_optimieren", "stoppen"}, kHeader, kTrailer};
    if (c.optimise) setup.boxes.push_back("Prg_optimieren");
    if (c.arcs) setup.boxes.push_back("bogen_IJ");
    setup.previewWidth = 50;
    setup.previewHeight = 40;
    setup.centrePxX = 25;
    setup.centrePxY = 20;
    golden::Prepare(host, setup);
    Main.HeaderLineCount = std::int32_t(kHeader.size());
    Main.TrailerLineCount = std::int32_t(kTrailer.size());
    host.runOptimiser = true;
    CreateProgram(host, BuiltInStrategies());
}

std::vector<CutStep> WithoutEnd(std::vector<CutStep> cut) {
    if (!cut.empty() && cut.back().kind == CutStep::End) cut.pop_back();
    return cut;
}

constexpr double kSafe = 1;
const ControllerRules kLinuxCnc{Controller::LinuxCnc};
const ToolPoint kStart{0, 0, 100};

TEST(SplitParts, EveryPartAloneCutsWhatItCutsInTheWholeProgram) {
    for (const ProgramCase& c : kPrograms) {
        TestHost host;
        RunProgram(host, c);
        ASSERT_TRUE(host.messageTexts.empty()) << c.name << ": " << host.messageTexts.front();
        const TStrings& program = host.lines;
        ASSERT_GT(program.Count(), 30u) << c.name;
        for (const int count : {3, 7, 13}) {
            SCOPED_TRACE(testing::Message() << c.name << " in " << count << " parts");
            const std::vector<LineRange> ranges = SplitProgram(program.Count(), count);

            // The whole program's cut, cut into the parts' pieces, with the tool's place at each
            // boundary (the stop put in there).
            ToolpathReplay whole(0.01, kStart, kLinuxCnc);
            std::vector<std::size_t> boundaries;  // index of the stop that opens part k (k >= 1)
            for (std::size_t i = 0; i < program.Count(); ++i) {
                for (std::size_t k = 1; k < ranges.size(); ++k) {
                    if (ranges[k].first == i && boundaries.size() < k) {
                        whole.Line("M0");
                        boundaries.push_back(whole.Cut().size() - 1);
                    }
                }
                whole.Line(program.Line(i));
            }
            whole.Finish();
            ASSERT_EQ(whole.FirstRefusal(), "");
            ASSERT_EQ(boundaries.size(), ranges.size() - 1);
            const std::vector<CutStep> wholeCut = WithoutEnd(whole.Cut());

            QTemporaryDir dir;
            SaveRequest r;
            r.count = count;
            r.directory = dir.path().toStdString() + "/";
            r.names = ProgramListNames("teil", count);
            r.headerLines = kHeader;
            r.trailerLines = kTrailer;
            r.safeHeight = kSafe;
            r.decimals = 2;
            ASSERT_EQ(SaveProgram(r, program), 0);

            std::size_t bodyLines = 0;
            for (std::size_t k = 0; k < ranges.size(); ++k) {
                SCOPED_TRACE(testing::Message() << "part " << k);
                TStrings part;
                ASSERT_TRUE(LoadProgramFile(r.directory + r.names[k], part));
                const bool last = k + 1 == ranges.size();
                bodyLines += ranges[k].end - ranges[k].first;

                const std::size_t from = k == 0 ? 0 : boundaries[k - 1] + 1;
                const std::size_t to = last ? wholeCut.size() : boundaries[k];
                std::vector<CutStep> expected;
                if (k > 0) {
                    const ToolPoint at = wholeCut[from - 1].to;
                    if (at.z < kSafe) expected.push_back({CutStep::Feed, {at.x, at.y, kSafe}, at, 0, 0, 0});
                }
                expected.insert(expected.end(), wholeCut.begin() + std::ptrdiff_t(from), wholeCut.begin() + std::ptrdiff_t(to));
                if (!last) {
                    const ToolPoint at = wholeCut[to].to;
                    if (at.z < 0) expected.push_back({CutStep::RapidInMaterial, at, {at.x, at.y, kSafe}, 0, 0, 0});
                }

                ToolpathReplay alone(0.01, kStart, kLinuxCnc);
                alone.Replay(part);
                EXPECT_EQ(alone.FirstRefusal(), "");
                EXPECT_TRUE(alone.EndReached());
                EXPECT_EQ(FirstCutDifference(expected, WithoutEnd(alone.Cut())), "");
                if (!c.arcs) {
                    // grbl, which starts in G0 after a reset, runs the part as LinuxCNC does.
                    ToolpathReplay grbl(0.01, kStart, {Controller::Grbl});
                    grbl.Replay(part);
                    EXPECT_EQ(grbl.FirstRefusal(), "");
                    EXPECT_EQ(FirstCutDifference(expected, WithoutEnd(grbl.Cut())), "");
                }
                // The trailer lines (the spindle's stop) run with the tool out of the material.
                if (!last) {
                    EXPECT_GE(alone.Cut().back().to.z, kSafe);
                }
                // The part's own lines are the whole program's, its other lines header and trailer
                // lines, the arc-centre line and at most three lines in and one out.
                EXPECT_LE(part.Count(), kHeader.size() + 1 + 3 + (ranges[k].end - ranges[k].first) + 1 +
                                            (last ? 0 : kTrailer.size()));
            }
            EXPECT_EQ(bodyLines, program.Count());
        }
    }
}

}  // namespace
