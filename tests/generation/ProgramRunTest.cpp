#include "generation/ProgramRun.h"

#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "generation/RunState.h"
#include "platform/Application.h"
#include "TestHost.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class ProgramRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainState();
        Application->ResetCounters();
        Main.wst_l = 600;
        Main.wst_b = 400;
        Main.z_zustellung = -10;
        Main.CommentBrackets = "()";
        Main.HeaderLines[0] = "%";
        Main.HeaderLines[1] = "(a)";
        Main.TrailerLines[0] = "M30";
        Main.WorkBitmap = GreyBitmap(std::vector<std::vector<int>>(4, std::vector<int>(6, 255)));
        Main.PixelsPerMmX = 5.0 / 600;
        Main.PixelsPerMmY = 3.0 / 400;
        host.FieldsFromSettings(Main);
        // A body that writes one line naming its pass floor.
        routines.RowStrategy = [this](RunState& r) {
            r.lines.Add("body " + FormatNumber(2, r.S.PassDepth));
            passDepths.push_back(r.S.PassDepth);
        };
    }
    void TearDown() override { Application->ResetCounters(); }

    Lines Run() {
        CreateProgram(host, routines);
        return host.Program();
    }

    TestHost host;
    StrategyRoutines routines;
    std::vector<double> passDepths;
};

TEST_F(ProgramRunTest, WritesHeaderPassesContourAndTrailer) {
    host.boxes["kante_fraesen"] = true;
    host.boxes["stoppen"] = true;
    host.fields["z_zustellung"] = -5;
    const Lines contour5 = {"G0 X0 Y0", "G1 X0 Y0 Z-5", "G1 X600 Y0", "G1 X600 Y400", "G1 X0 Y400", "G1 X0 Y0"};
    // The program first rises from wherever the tool stands, then pauses before the pass.
    Lines expected = {"%", "(SEL=00,R,0,0,600,400,10,2,2,23,0)", "(a)", "G0 Z1", "M0"};
    expected.insert(expected.end(), contour5.begin(), contour5.end());
    expected.insert(expected.end(), {"body -5", "G0 Z1", "G0 X0 Y0 Z1", "M0", "G0 X0 Y0",
                                     "G1 X0 Y0 Z-10", "G1 X600 Y0", "G1 X600 Y400", "G1 X0 Y400",
                                     "G1 X0 Y0", "body -10", "G0 Z1", "G0 X0 Y0 Z1", "M30"});
    EXPECT_EQ(Run(), expected);
    EXPECT_EQ(host.clipboardCopies, 1);
    EXPECT_FALSE(Main.ProgramSaved);
    EXPECT_EQ(Main.PassCount, 2);
}

TEST_F(ProgramRunTest, MarksStopAndContourLinesWhenOptimising) {
    host.boxes["kante_fraesen"] = true;
    host.boxes["stoppen"] = true;
    host.boxes["Prg_optimieren"] = true;
    host.fields["z_zustellung"] = -5;
    const Lines program = Run();
    EXPECT_EQ(program[3], "G0 Z1");
    EXPECT_EQ(program[4], "M0 (0)");
    EXPECT_EQ(program[5], "G0 X0 Y0 (0)");
    EXPECT_EQ(program[6], "G1 X0 Y0 Z-5 (0)");
    EXPECT_TRUE(host.boxes["Prg_optimieren"]);
}

TEST_F(ProgramRunTest, HeaderLinesAndTheirCount) {
    struct Case {
        const char* name;
        std::vector<std::string> header;
        Lines expectedHead;
    } cases[] = {
        {"empty first entry", {"", "(b)", "", "(d)"}, {"%???", "(SEL=00,O,0,0,600,400,10,2,0,6,0)", "(b)", "(d)"}},
        {"all ten", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"},
         {"1", "(SEL=00,O,0,0,600,400,10,2,10,13,0)", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
        {"gap stops the count", {"1", "2", "", "4"}, {"1", "(SEL=00,O,0,0,600,400,10,2,2,6,0)", "2", "4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Main.HeaderLines = {};
        for (std::size_t i = 0; i < c.header.size(); ++i) Main.HeaderLines[i] = c.header[i];
        Lines program = Run();
        ASSERT_GE(program.size(), c.expectedHead.size());
        EXPECT_EQ(Lines(program.begin(), program.begin() + long(c.expectedHead.size())), c.expectedHead);
        // The last body line is the final retract before the trailer.
        EXPECT_EQ(program[program.size() - 2], "G0 X0 Y0 Z1");
    }
}

TEST_F(ProgramRunTest, DefaultBracketsGiveLeadingBlankAndClosingPair) {
    Main.CommentBrackets = " ()";
    EXPECT_EQ(Run()[1], " SEL=00,O,0,0,600,400,10,2,2,5,0()");
}

TEST_F(ProgramRunTest, PassesDivideTheDepth) {
    struct Case {
        double maxDepth, infeed;
        std::vector<double> floors;
    } cases[] = {
        {-10, -1.9999, {-2, -4, -6, -8, -10}},
        {-10, -3, {-3, -6, -9, -10}},
        {-10, -20, {-10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.infeed);
        passDepths.clear();
        host.fields["max_tiefe"] = c.maxDepth;
        host.fields["z_zustellung"] = c.infeed;
        Run();
        ASSERT_EQ(passDepths.size(), c.floors.size());
        for (std::size_t i = 0; i < c.floors.size(); ++i) EXPECT_NEAR(passDepths[i], c.floors[i], 1e-12);
    }
    // An infeed above the surface (a slipped sign) gave one pass, or none and a program of
    // header and trailer only: it is refused, naming the field, before the editor changes.
    for (const double infeed : {20.0, 2.0}) {
        SCOPED_TRACE(infeed);
        passDepths.clear();
        host.messageTexts.clear();
        host.lines.Clear();
        host.lines.Add("old program");
        host.fields["max_tiefe"] = -10;
        host.fields["z_zustellung"] = infeed;
        EXPECT_EQ(Run(), Lines{"old program"});
        EXPECT_TRUE(passDepths.empty());
        ASSERT_EQ(host.messageTexts.size(), 1u);
        EXPECT_NE(host.messageTexts[0].find("„Zustellung“"), std::string::npos) << host.messageTexts[0];
    }
}

TEST_F(ProgramRunTest, NoStopLineForASinglePass) {
    host.boxes["stoppen"] = true;
    const Lines program = Run();
    EXPECT_EQ(program[3], "body -10");
}

TEST_F(ProgramRunTest, InfeedOptimisationStartsFromTheSurface) {
    host.boxes["zustellung_optimieren"] = true;
    host.fields["z_zustellung"] = -5;
    std::vector<double> previous;
    routines.RowStrategy = [&](RunState& r) { previous.push_back(r.S.PrevPassDepth); };
    Run();
    EXPECT_EQ(previous, (std::vector<double>{0, -5}));
}

TEST_F(ProgramRunTest, RadialContourIsRelativeToTheCentre) {
    Main.StrategyIndex = 5;
    host.boxes["kante_fraesen"] = true;
    host.previewWidth = 60;
    host.previewHeight = 40;
    Main.CentrePxX = 30;
    Main.CentrePxY = 10;  // 3/4 of the height up
    std::vector<double> old;
    routines.CircleStrategy = [&](RunState& r, bool drilling) {
        EXPECT_TRUE(drilling);
        old = {r.Xold, r.Yold, r.Zold};
    };
    const Lines program = Run();
    EXPECT_EQ(program[1], "(SEL=05,R,300,300,600,400,10,2,2,12,0)");
    EXPECT_EQ(Lines(program.begin() + 3, program.begin() + 11),
              (Lines{"G0 Z1", "G0 X-300 Y-300", "G1 X-300 Y-300 Z-10", "G1 X300 Y-300", "G1 X300 Y100",
                     "G1 X-300 Y100", "G1 X-300 Y-300", "G0 X-300 Y-300 Z1"}));
    EXPECT_EQ(old, (std::vector<double>{0, 0, 1}));
}

TEST_F(ProgramRunTest, CrossRunsRowsThenColumnsWithTheSwitchMove) {
    Main.StrategyIndex = 10;
    host.boxes["Prg_optimieren"] = true;
    std::vector<std::pair<int, bool>> seen;
    routines.RowStrategy = [&](RunState& r) {
        seen.emplace_back(r.S.StrategyIndex, r.S.CrossPatternRunning);
        r.X = r.Xold = 600;
        r.Y = r.Yold = 400;
        r.lines.Add("rows");
    };
    routines.ColumnStrategy = [&](RunState& r) {
        seen.emplace_back(r.S.StrategyIndex, r.S.CrossPatternRunning);
        r.lines.Add("columns");
    };
    const Lines program = Run();
    EXPECT_EQ(seen, (std::vector<std::pair<int, bool>>{{0, true}, {9, true}}));
    EXPECT_EQ(Lines(program.begin() + 3, program.begin() + 8),
              (Lines{"rows", "G0 Z1 (RW)", "G0 X600 Y400 Z1 (RW)", "G1 X600 Y400 Z0 (RW)", "columns"}));
    EXPECT_EQ(Main.StrategyIndex, 10);
    EXPECT_FALSE(Main.CrossPatternRunning);
}

TEST_F(ProgramRunTest, CrossAbortedDuringTheRowsWritesNoSwitchAndEndsEmpty) {
    Main.StrategyIndex = 17;
    bool columnsRan = false;
    routines.RowStrategy = [&](RunState& r) {
        r.lines.Add("rows");
        Main.AbortRequested = true;
        EXPECT_TRUE(r.PumpAndPollAbort());
    };
    routines.ColumnStrategy = [&](RunState&) { columnsRan = true; };
    EXPECT_TRUE(Run().empty());
    EXPECT_FALSE(columnsRan);
    EXPECT_EQ(Main.StrategyIndex, 17);
    EXPECT_FALSE(Main.CrossPatternRunning);
    EXPECT_EQ(host.clipboardCopies, 0);
}

TEST_F(ProgramRunTest, ObliqueCrossRunsBothHalvesAndPutsTheAngleBack) {
    Main.StrategyIndex = 12;
    host.fields["eingabe"] = 200;
    std::vector<std::pair<double, bool>> halves;
    routines.ObliqueStrategy = [&](RunState& r, bool second) {
        halves.emplace_back(r.S.Alpha, second);
        if (second) {
            EXPECT_EQ(r.Xold, 600);
        }
    };
    const Lines program = Run();
    EXPECT_EQ(halves, (std::vector<std::pair<double, bool>>{{20, false}, {110, true}}));
    EXPECT_EQ(Main.Alpha, 200);
    EXPECT_EQ(host.fields["eingabe"], 200);
    EXPECT_EQ(program[3], "G0 Z1 ");
    EXPECT_EQ(program[4], "G0 X600 Y0 Z1 ");
}

TEST_F(ProgramRunTest, ObliqueDrillingTakesTheAngleField) {
    Main.StrategyIndex = 15;
    host.fields["eingabe"] = 250;
    double seen = 0;
    routines.ObliqueStrategy = [&](RunState& r, bool) { seen = r.S.Alpha; };
    Run();
    EXPECT_EQ(seen, 70);
    EXPECT_EQ(Main.Alpha, 70);
}

TEST_F(ProgramRunTest, StrategyRefitsArePutBackAfterEveryPass) {
    host.fields["z_zustellung"] = -5;
    std::vector<double> seenStep;
    routines.RowStrategy = [&](RunState& r) {
        seenStep.push_back(r.S.stepy);
        r.S.stepy = 7.0588;
        r.host.SetFieldValue("stepy", 7.0588);
        r.host.SetFieldValue("wst_l", 1);
    };
    Run();
    EXPECT_EQ(seenStep, (std::vector<double>{5, 5}));
    EXPECT_EQ(Main.stepy, 5);
    EXPECT_EQ(host.fields["stepy"], 5);
    EXPECT_EQ(host.fields["wst_l"], 600);
}

TEST_F(ProgramRunTest, ArcOutputIsUntickedForOtherStrategies) {
    host.boxes["bogen_IJ"] = true;
    Run();
    EXPECT_FALSE(host.boxes["bogen_IJ"]);
}

TEST_F(ProgramRunTest, NinetyDegreeRemapIsPutBackSoRunsRepeat) {
    host.boxes["achse_90_grad"] = true;
    Main.StrategyIndex = 0;
    Main.Alpha = 30;
    host.fields["eingabe"] = 30;
    routines.ColumnStrategy = [](RunState& r) { r.lines.Add("columns " + FormatNumber(0, r.S.Alpha)); };
    const Lines first = Run();
    EXPECT_EQ(first[1].substr(0, 7), "(SEL=09");
    EXPECT_EQ(first[3], "columns 120");
    EXPECT_EQ(Main.StrategyIndex, 0);
    EXPECT_EQ(Main.Alpha, 30);
    EXPECT_EQ(host.fields["eingabe"], 30);
    EXPECT_EQ(Run(), first);
}

TEST_F(ProgramRunTest, NoPictureShowsMessageTenAndTouchesNothing) {
    Main.WorkBitmap = TBitmap();
    host.lines.Add("old program");
    EXPECT_EQ(Run(), Lines{"old program"});
    EXPECT_EQ(host.fileMessages, (std::vector<std::pair<int, char>>{{MsgNoPicture, 'N'}}));
}

TEST_F(ProgramRunTest, ImpossiblePassesAreRefusedBeforeAnythingChanges) {
    struct Case {
        double maxDepth, infeed;
    } cases[] = {{-10, 0}, {-0.0005, -1}, {0, -1}, {-10, -1e-300}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.infeed);
        host.lines.Clear();
        host.lines.Add("old program");
        host.messageTexts.clear();
        host.fields["max_tiefe"] = c.maxDepth;
        host.fields["z_zustellung"] = c.infeed;
        host.boxes["bogen_IJ"] = true;
        EXPECT_EQ(Run(), Lines{"old program"});
        EXPECT_EQ(host.messageTexts.size(), 1u);
        EXPECT_TRUE(host.boxes["bogen_IJ"]);
        EXPECT_EQ(host.clipboardCopies, 0);
    }
}

// The smallest spacing whose estimate is at most `lines` (the estimate falls as the spacing
// grows).
template <typename Estimate>
double SpacingFor(const Estimate& estimate, std::uint64_t lines) {
    double dense = 1e-6, sparse = 100;
    for (int i = 0; i < 200; ++i) {
        const double mid = (dense + sparse) / 2;
        (estimate(mid) > lines ? dense : sparse) = mid;
    }
    return sparse;
}

// Row runs whose estimate lies just under and just over the most lines the free memory holds:
// the first starts, the second is refused before anything changes. The limit follows the
// machine's free memory, which other programs change meanwhile: a pair that the limit moved
// under is tried again with the limit as it then stands.
TEST_F(ProgramRunTest, AProgramTooLargeForMemoryIsNotStarted) {
    double depth = host.fields["max_tiefe"], infeed = host.fields["z_zustellung"];
    const auto passes = ComputePassCount(depth, infeed);
    ASSERT_TRUE(passes.has_value());
    const auto estimate = [&](double spacing) {
        return EstimateProgramLines(0, 600, 400, spacing, spacing, *passes, false, 0, 0);
    };
    const auto spacingFor = [&](std::uint64_t lines) { return SpacingFor(estimate, lines); };
    bool judged = false;
    for (int attempt = 0; attempt < 5 && !judged; ++attempt) {
        const std::uint64_t limit = MaxProgramLines();
        const std::uint64_t margin = limit / 200;
        const double under = spacingFor(limit - margin);
        const double over = spacingFor(limit + 2 * margin);
        ASSERT_LE(estimate(under), limit - margin);
        ASSERT_GT(estimate(under), limit - 2 * margin);
        ASSERT_GT(estimate(over), limit + margin);

        host.lines.Clear();
        host.lines.Add("old program");
        host.messageTexts.clear();
        host.clipboardCopies = 0;
        host.fields["stepX"] = host.fields["stepy"] = under;
        const Lines started = Run();
        host.lines.Clear();
        host.lines.Add("old program");
        host.fields["stepX"] = host.fields["stepy"] = over;
        const Lines refused = Run();
        if (started == Lines{"old program"} || refused != Lines{"old program"}) continue;

        judged = true;
        ASSERT_GT(started.size(), 3u);
        EXPECT_EQ(started[3], "body -10");
        ASSERT_EQ(host.messageTexts.size(), 1u);
        EXPECT_NE(host.messageTexts[0].find("Millionen Zeilen"), std::string::npos);
        EXPECT_EQ(host.clipboardCopies, 1);  // the run that started
    }
    EXPECT_TRUE(judged) << "the run under the limit never started, or the one over it was never refused";
}

// With "maschinenachse 90°" ticked from the menu the fields still show the unturned workpiece,
// and the run lays its paths out on the turned one. A drilled labyrinth about the middle of an
// edge of a 100 x 200 mm plate writes 2.5 times as many lines turned as unturned: the memory
// check judges the turned workpiece the run works on, so a program over the limit only when
// turned is refused, one under it when turned starts.
TEST_F(ProgramRunTest, TheMemoryCheckJudgesTheTurnedWorkpiece) {
    double depth = -10, infeed = -10;
    const std::int64_t passes = *ComputePassCount(depth, infeed);
    // Turned, the plate is 200 x 100 and the centre (preview point 50, 0 of 100 x 100) lies at
    // (0, 50); unturned at (0, 100) on the 100 x 200 plate.
    const auto turned = [&](double spacing) {
        return EstimateProgramLines(14, 200, 100, spacing, spacing, passes, true, 0, 50);
    };
    const auto unturned = [&](double spacing) {
        return EstimateProgramLines(14, 100, 200, spacing, spacing, passes, true, 0, 100);
    };
    const auto spacingFor = [&](std::uint64_t lines) { return SpacingFor(turned, lines); };
    StrategyRoutines labyrinth;
    labyrinth.LabyrinthStrategy = [](RunState& r) { r.lines.Add("labyrinth"); };
    bool judged = false;
    for (int attempt = 0; attempt < 5 && !judged; ++attempt) {
        const std::uint64_t limit = MaxProgramLines();
        const std::uint64_t margin = limit / 100;
        const double under = spacingFor(limit - margin), over = spacingFor(limit + 2 * margin);
        ASSERT_GT(turned(over), limit + margin);
        ASSERT_LT(unturned(over), limit / 2);  // the unturned workpiece would pass the check

        const auto run = [&](double spacing) {
            TurningHost turning;
            turning.fields = host.fields;
            turning.boxes["achse_90_grad"] = true;
            turning.fields["wst_l"] = 100;
            turning.fields["wst_b"] = 200;
            turning.fields["stepX"] = turning.fields["stepy"] = spacing;
            turning.previewWidth = turning.previewHeight = 100;
            Main.StrategyIndex = 14;
            Main.CentrePxX = 50;
            Main.CentrePxY = 0;
            turning.lines.Add("old program");
            CreateProgram(turning, labyrinth);
            return std::pair{turning.Program(), turning.messageTexts};
        };
        const auto [started, startedMessages] = run(under);
        const auto [refused, refusedMessages] = run(over);
        if (started == Lines{"old program"} || refused != Lines{"old program"}) continue;

        judged = true;
        EXPECT_TRUE(startedMessages.empty());
        ASSERT_EQ(refusedMessages.size(), 1u);
        EXPECT_NE(refusedMessages[0].find("Millionen Zeilen"), std::string::npos) << refusedMessages[0];
        // The refused run puts the turned workpiece back.
        EXPECT_EQ(Main.wst_l, 100);
        EXPECT_EQ(Main.wst_b, 200);
    }
    EXPECT_TRUE(judged) << "the run under the limit never started, or the one over it was never refused";
}

TEST_F(ProgramRunTest, AFailedRunLeavesNoFragment) {
    routines.RowStrategy = [](RunState& r) {
        r.lines.Add("partial");
        r.host.ShowFileMessage(MsgTooFewPaths, 'N');
        throw RunFailure{};
    };
    host.fields["stepy"] = 3;
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(host.clipboardCopies, 0);
    EXPECT_EQ(host.fileMessages, (std::vector<std::pair<int, char>>{{MsgTooFewPaths, 'N'}}));
    EXPECT_EQ(Main.stepy, 3);
}

TEST_F(ProgramRunTest, AbortAtAPumpEndsEmptyAndRestoresTheSettings) {
    host.fields["z_zustellung"] = -2;  // five passes
    int bodies = 0;
    routines.RowStrategy = [&](RunState& r) {
        ++bodies;
        r.S.stepX = 99;
        for (int i = 0; i < 10; ++i) {
            r.lines.Add("point");
            if (r.PumpAndPollAbort()) return;
        }
    };
    Application->SetProcessMessagesHook(15, [] { Main.AbortRequested = true; });
    EXPECT_TRUE(Run().empty());
    EXPECT_EQ(bodies, 5);  // the remaining passes still start and return at once
    EXPECT_EQ(Main.stepX, 5);
    EXPECT_EQ(host.fields["stepX"], 5);
    EXPECT_EQ(host.clipboardCopies, 0);
    EXPECT_EQ(host.meter.back(), 0);
}

TEST(ComputePassCount, CorrectsTheInfeedOnlyWhenPassesDivideTheDepth) {
    double z = -1.9999;
    EXPECT_EQ(ComputePassCount(-10, z), 5);
    EXPECT_EQ(z, -2);
    z = -3;
    EXPECT_EQ(ComputePassCount(-10, z), 4);
    EXPECT_EQ(z, -3);
    z = 2;
    EXPECT_EQ(ComputePassCount(-10, z), -5);
    z = 0;
    EXPECT_FALSE(ComputePassCount(-10, z).has_value());
    z = -1;
    EXPECT_FALSE(ComputePassCount(0, z).has_value());
    EXPECT_EQ(z, -1);
}

}  // namespace

namespace {

// A pattern whose routine the program does not have yet is refused before the editor is
// touched.
TEST_F(ProgramRunTest, AStrategyWithoutItsRoutineLosesNothing) {
    host.lines.Add("old program");
    for (int strategy : {1, 10}) {
        SCOPED_TRACE(strategy);
        host.messageTexts.clear();
        Main.StrategyIndex = strategy;  // circles have no routine here; the cross lacks its columns
        EXPECT_EQ(Run(), Lines{"old program"});
        EXPECT_EQ(host.messageTexts.size(), 1u);
        EXPECT_EQ(host.clipboardCopies, 0);
    }
}

}  // namespace
