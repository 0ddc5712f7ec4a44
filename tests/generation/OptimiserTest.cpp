// The path optimiser on small programs: the family rules line for line, the parameter line
// read back and corrected, the header and trailer rebuilt, failures and the abort.
#include "generation/MainState.h"
#include "generation/Optimiser.h"
#include "generation/ProgramRun.h"
#include "platform/Application.h"
#include "platform/LineStore.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

class OptimiserTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainState();
        Application->ResetCounters();
        Main.CommentBrackets = "()";
        Main.zg0 = 1.0;
        host.boxes["Prg_optimieren"] = true;
        host.fields["komma"] = 2;
    }
    void TearDown() override { Application->ResetCounters(); }

    // A program of the given strategy: "%", the parameter line, one header line holding the
    // previous words, the body, and the trailer "M30". Returns the optimised body: the lines
    // between the header and the final retract.
    Lines OptimiseBody(int strategy, const std::string& previous, const Lines& body) {
        Main.HeaderLines = {"%", previous};
        Main.HeaderLineCount = 2;
        Main.TrailerLines = {"M30"};
        Main.TrailerLineCount = 1;
        const std::string number = (strategy < 10 ? "0" : "") + std::to_string(strategy);
        const std::size_t last = 2 + body.size();
        Load({"%", "(SEL=" + number + ",O,0,0,50,40,10,2,2," + std::to_string(last) + ",0)", previous});
        for (const auto& line : body) host.lines.Add(line);
        host.lines.Add("M30");
        RunOptimiser(host);
        Lines out = host.Program();
        EXPECT_GE(out.size(), 5u);
        if (out.size() < 5) return out;
        EXPECT_EQ(out[0], "%");
        EXPECT_EQ(out[2], previous);
        EXPECT_EQ(out[out.size() - 2], "G0Z1");
        EXPECT_EQ(out.back(), "M30");
        EXPECT_EQ(out[1], "(SEL=" + number + ",O,0,0,50,40,10,2,2," + std::to_string(out.size() - 2) + ",0)");
        return Lines(out.begin() + 3, out.end() - 2);
    }

    void Load(const Lines& lines) {
        host.lines.Clear();
        for (const auto& line : lines) host.lines.Add(line);
    }

    TestHost host;
};

struct FamilyCase {
    const char* name;
    int strategy;
    bool arcs;
    const char* previous;
    Lines body;
    Lines expected;
};

// The worked examples of the rules, and the forms that each family writes.
const FamilyCase kFamilyCases[] = {
    {"RowsHoldARunAndFlushOnDepthAndRowChanges", 0, false, "G1 X0 Y0 Z-2",
     {"G1 X5 Y0 Z-2", "G1 X10 Y0 Z-2", "G1 X15 Y0 Z-3", "G1 X20 Y0 Z-3", "G1 X20 Y5 Z-3"},
     {"X10", "G1 X15 Z-3", "X20 Y0", "G1 Y5"}},
    {"LabyrinthWritesSidesWithoutTheirCrossWord", 8, false, "G1 X0 Y0 Z-1",
     {"G1 X5 Y0 Z-1 (1)", "G1 X10 Y0 Z-1 (1)", "G1 X10 Y5 Z-1 (2)", "G1 X10 Y10 Z-1 (2)", "G1 X10 Y10 Z-2 (2)"},
     {"X5", "X10", "G1 Y5", "Y10", "G1 Z-2"}},
    {"CircleRingBecomesOneArc", 1, true, "G0 X0 Y0 Z1",
     {"G0 X0 Y0 Z1 (0)", "G0 X5 Y0 Z1 (0)", "G1 X5 Y0 Z-1 (0)", "G3 X0 Y5 Z-1 I0 J0", "G3 X-5 Y0 Z-1 I0 J0",
      "G3 X0 Y-5 Z-1 I0 J0", "G3 X5 Y0 Z-1 I0 J0", "G0 X5 Y0 Z1 (0)"},
     {"X5", "G1 Z-1", "G3 X0 Y5 I0 J0", "G3 X5 Y0 I0 J0", "G0 Z1"}},
    // The arc-centre mode before the first arc is written as it stands and changes no word.
    {"CircleKeepsTheArcCentreModeBeforeItsFirstArc", 1, true, "G0 X0 Y0 Z1",
     {"G0 X0 Y0 Z1 (0)", "G0 X5 Y0 Z1 (0)", "G1 X5 Y0 Z-1 (0)", "G90.1", "G3 X0 Y5 Z-1 I0 J0",
      "G3 X-5 Y0 Z-1 I0 J0", "G3 X0 Y-5 Z-1 I0 J0", "G3 X5 Y0 Z-1 I0 J0", "G0 X5 Y0 Z1 (0)"},
     {"X5", "G1 Z-1", "G90.1", "G3 X0 Y5 I0 J0", "G3 X5 Y0 I0 J0", "G0 Z1"}},
    // Arcs are merged only while the merged arc still runs about the origin as written: here
    // the third point lies 0.03 mm off the circle through the run's start (each single step
    // lies within 0.02 mm), so the run ends before it.
    {"CircleEndsARunBeforeItsArcWouldLeaveTheCircle", 1, true, "G0 X0 Y0 Z1",
     {"G0 X5 Y0 Z1 (0)", "G1 X5 Y0 Z-1 (0)", "G3 X0 Y5 Z-1 I0 J0", "G3 X-3.54 Y3.55 Z-1 I0 J0",
      "G3 X-5.03 Y0 Z-1 I0 J0"},
     {"X5", "G1 Z-1", "G3 X0 Y5 I0 J0", "G3 X-3.54 Y3.55 I0 J0", "G3 X-5.03 Y0 I0 J0"}},
    // A straight step in a ring (an arc that would not run as written) stands as it is, and
    // the arcs after it are merged from where it ends; a step that does not move is left out.
    {"CircleMergesNoStraightStepIntoARing", 1, true, "G0 X0 Y0 Z1",
     {"G0 X5 Y0 Z1 (0)", "G1 X5 Y0 Z-1 (0)", "G3 X0 Y5 Z-1 I0 J0", "G3 X-3.54 Y3.54 Z-1 I0 J0",
      "G1 X-5.1 Y0 Z-1", "G1 X-5.1 Y-0 Z-1", "G3 X0 Y-5.1 Z-1 I0 J0", "G3 X5.1 Y0 Z-1 I0 J0"},
     {"X5", "G1 Z-1", "G3 X0 Y5 I0 J0", "G3 X-3.54 Y3.54 I0 J0", "G1 X-5.1 Y0", "G3 X5.1 Y0 I0 J0"}},
    {"CircleWithoutArcsWritesChangedWordsOnly", 1, false, "G0 X0 Y0 Z1",
     {"G0 X0 Y0 Z1 (0)", "G0 X5 Y0 Z1 (0)", "G1 X5 Y0 Z-1 (0)", "G1 X0 Y5 Z-1", "G1 X-5 Y0 Z-1"},
     {"X5", "G1 Z-1", "X0 Y5", "X-5 Y0"}},
    {"ColumnsAreRowsWithTheAxesExchanged", 9, false, "G1 X0 Y0 Z-2",
     {"G1 X0 Y5 Z-2", "G1 X0 Y10 Z-2", "G1 X0 Y15 Z-3", "G1 X0 Y20 Z-3", "G1 X5 Y20 Z-3"},
     {"Y10", "G1 Y15 Z-3", "X0 Y20", "G1 X5"}},
    // The "(RW)" line begins the columns; the row's held tail is written as a row first.
    {"CrossWritesTheLastRowsTailBeforeTheColumns", 10, false, "G1 X0 Y0 Z-2",
     {"G1 X5 Y0 Z-2", "G1 X10 Y0 Z-2", "G0 Z1 (RW)", "G0 X10 Y0 Z1 (RW)", "G1 X10 Y0 Z-2 (RW)",
      "G1 X10 Y5 Z-2", "G1 X10 Y10 Z-2"},
     {"X10", "G0 Z1", "Y0", "G1 Z-2", "X10 Y10"}},
    {"ObliqueMergesALineAtOneDepth", 11, false, "G0 X0 Y0 Z1",
     {"G0 X50 Y0 Z1(0)", "G1 X50 Y0 Z-1(0)", "G1 X45 Y3 Z-1", "G1 X40 Y6 Z-1", "G1 X35 Y9 Z-2",
      "G0 X35 Y9 Z1(0)", "G0 X20 Y0 Z1 (0)"},
     {"X50", "G1 Z-1", "X45 Y3", "X40 Y6", "G1 X35 Y9 Z-2", "G0 Z1", "X20 Y0"}},
    {"PolygonWritesEveryCornerAndHoldsAlongSides", 18, false, "G0 X0 Y0 Z1",
     {"G0 X0 Y0 Z1(0)", "G1 X0 Y0 Z-1(0)", "G1 X5 Y0 Z-1 (0)", "G1 X5 Y2 Z-1 ", "G1 X5 Y4 Z-1 ",
      "G1 X5 Y6 Z-1 (0)", "G1 X3 Y6 Z-1 "},
     {"G1 Z-1", "X5", "G1 X5 Y4", "G1 Y6", "G1 X3 Y6"}},
    {"WordsOnlyFamiliesDropRepeatedWords", 3, false, "G0 X0 Y0 Z1",
     {"G0 X0 Y0 Z1 ", "G1 X1 Y0 Z-1 ", "G1 X2 Y0 Z-1 ", "G1 X2 Y1 Z-1 "},
     {"G1 X1 Z-1", "X2", "Y1"}},
    // Words are found anywhere in a line of any length, as GetWord finds them.
    {"WordsAreReadWhereverTheyStand", 3, false, "G0 X0 Y0 Z1",
     {"(a long comment here) G1 X12.345 Y-6.5 Z-1.25 ", "G1                X1 Y2", "   Z-3 G1 Y2.5X7              ",
      "G1 Z-3 M30 (IX9)              ", "                  M0"},
     {"G1 X12.345 Y-6.5 Z-1.25", "X1 Y2", "X7 Y2.5 Z-3", "X9", "M0"}},
    {"StopLinesKeepOnlyM0AndCommentsGo", 0, false, "G1 X0 Y0 Z-2",
     {"M0 (0)", "G0 X0 Y0 (0)", "G1 X0 Y0 Z-5 (0)"},
     {"M0", "G0 X0", "G1 Z-5"}},
};

void PrintTo(const FamilyCase& c, std::ostream* os) { *os << c.name; }

class OptimiserFamilyTest : public OptimiserTest, public ::testing::WithParamInterface<FamilyCase> {};

TEST_P(OptimiserFamilyTest, RewritesTheBodyLineForLine) {
    const FamilyCase& c = GetParam();
    host.boxes["bogen_IJ"] = c.arcs;
    EXPECT_EQ(OptimiseBody(c.strategy, c.previous, c.body), c.expected);
    EXPECT_TRUE(host.fileMessages.empty());
}

INSTANTIATE_TEST_SUITE_P(Families, OptimiserFamilyTest, ::testing::ValuesIn(kFamilyCases),
                         [](const ::testing::TestParamInfo<FamilyCase>& p) { return std::string(p.param.name); });

TEST_F(OptimiserTest, HeldPointIsWrittenBeforeAStopAndBeforeTheFinalRetract) {
    // The arcs after the first of each ring are held: the stop and the final retract come
    // after the held point's arc, not before it.
    host.boxes["bogen_IJ"] = true;
    const Lines out = OptimiseBody(1, "G0 X0 Y0 Z1",
                                   {"G0 X5 Y0 Z1 (0)", "G1 X5 Y0 Z-1 (0)", "G3 X0 Y5 Z-1 I0 J0",
                                    "G3 X-5 Y0 Z-1 I0 J0", "M0 (0)", "G3 X0 Y-5 Z-1 I0 J0",
                                    "G3 X5 Y0 Z-1 I0 J0"});
    EXPECT_EQ(out, (Lines{"X5", "G1 Z-1", "G3 X0 Y5 I0 J0", "G3 X-5 Y0 I0 J0", "M0", "G3 X5 Y0 I0 J0"}));
}

TEST_F(OptimiserTest, LabyrinthLineWithoutMarkerEndsTheSide) {
    // Without the end of the side, the centre move of the next pass would be held and written
    // as a Y word alone, and the plunge would come at the last ring's X.
    const Lines out = OptimiseBody(8, "G1 X-5 Y0 Z-1",
                                   {"G1 X-5 Y5 Z-1 (4)", "G1 X-5 Y10 Z-1 (4)", "G0 Z1", "G0 X0 Y0 Z1", "G0 Z1 ",
                                    "G0 X0 Y0 Z1 ", "G1 X0 Y0 Z-2 ", "G1 X5 Y0 Z-2 (1)"});
    EXPECT_EQ(out, (Lines{"Y5", "Y10", "G0 Z1", "X0 Y0", "G1 Z-2", "X5"}));
}

TEST_F(OptimiserTest, HeldRunUnderAnotherMotionKeepsItsMotionWord) {
    // The stair form rises with a rapid at the old point; the feed that follows is held, and
    // its flush must not become a rapid through the material.
    const Lines out = OptimiseBody(0, "G1 X0 Y0 Z-3",
                                   {"G0 X0 Y0 Z-1 ", "G1 X5 Y0 Z-1 ", "G1 X10 Y0 Z-1 ", "G1 X15 Y0 Z-1 ",
                                    "G1 X15 Y0 Z-2 "});
    EXPECT_EQ(out, (Lines{"G0 Z-1", "G1 X15", "G1 Z-2"}));
}

TEST_F(OptimiserTest, ProgramDecimalsBecomeTheSettingAndTheField) {
    Main.zg0 = 1.23456;
    Main.TrailerLineCount = 0;
    Load({"%", "(SEL=00,O,0,0,50,40,10,3,1,3,0)", "G1 X1 Y0 Z-1", "G1 X2 Y0 Z-1"});
    RunOptimiser(host);
    EXPECT_EQ(Main.komma, 3);
    EXPECT_EQ(host.fields["komma"], 3);
    EXPECT_EQ(host.Program().back(), "G0Z1.235");
    // An unreadable decimals field takes the setting back from the field.
    host.fields["komma"] = 1;
    Load({"%", "(SEL=00,O,0,0,50,40,10,x,1,3,0)", "G1 X1 Y0 Z-1", "G1 X2 Y0 Z-1"});
    RunOptimiser(host);
    EXPECT_EQ(Main.komma, 1);
    EXPECT_EQ(host.Program().back(), "G0Z1.2");
}

TEST_F(OptimiserTest, HeaderAndTrailerComeFromTheConfiguration) {
    Main.HeaderLines = {"", "(two)", "", "(four)"};
    Main.HeaderLineCount = 4;
    Main.TrailerLines = {"M30", "", "%"};
    Main.TrailerLineCount = 3;
    Main.StrategyIndex = 7;
    Load({"%???", "(SEL=03,O,1.5,2,50,40,10,2,0,5,0)", "(two)", "(four)", "G0 X0 Y0 Z1", "G1 X1 Y1 Z-1 ",
          "M30", "%"});
    RunOptimiser(host);
    EXPECT_EQ(host.Program(), (Lines{"", "(SEL=03,O,1.5,2,50,40,10,2,0,6,0)", "(two)", "", "(four)",
                                     "G1 X1 Y1 Z-1", "G0Z1", "M30", "", "%"}));
    EXPECT_EQ(Main.StrategyIndex, 7);
    EXPECT_EQ(host.fields["Ges_zeilen"], 10);
    EXPECT_EQ(host.clipboardClears, 1);
    EXPECT_TRUE(host.programControlsEnabled);
    EXPECT_FALSE(host.waitLabelVisible);
    EXPECT_EQ(host.captions, (std::vector<std::string>{"Prg_optimieren", ""}));
}

TEST_F(OptimiserTest, UnreadableParameterLines) {
    struct Case {
        const char* line;
        bool abortAfter;  // the failure came after the strategy number
    } cases[] = {
        {"(SEL=0", false},
        {"(SEL=x1,O,0,0,50,40,10,2,2,4,0)", false},
        {"(SEL=00,O", true},
        {"(SEL=00,O,a,0,50,40,10,2,2,4,0)", true},
        {"(SEL=00,O,0,inf,50,40,10,2,2,4,0)", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        Main.AbortRequested = false;
        Main.StrategyIndex = 5;
        host.fileMessages.clear();
        Load({"%", c.line, "G1 X1 Y1 Z-1", "M30"});
        RunOptimiser(host);
        EXPECT_EQ(host.fileMessages, (std::vector<std::pair<int, char>>{{MsgBadHeader, 'N'}}));
        EXPECT_TRUE(host.lines.Count() == 0);
        EXPECT_EQ(Main.AbortRequested, c.abortAfter);
        EXPECT_EQ(Main.StrategyIndex, 5);
        EXPECT_TRUE(host.programControlsEnabled);
    }
    // Without "SEL=" in the second line the program stays as it is.
    host.fileMessages.clear();
    Load({"%", "(no parameters)", "G1 X1 Y1 Z-1"});
    RunOptimiser(host);
    EXPECT_EQ(host.fileMessages, (std::vector<std::pair<int, char>>{{MsgBadHeader, 'N'}}));
    EXPECT_EQ(host.Program(), (Lines{"%", "(no parameters)", "G1 X1 Y1 Z-1"}));
    EXPECT_FALSE(host.waitLabelVisible);
    // Unticked, nothing happens at all.
    host.boxes["Prg_optimieren"] = false;
    Load({"%", "(SEL=00,O,0,0,50,40,10,2,1,2,0)", "G1 X1 Y1 Z-1"});
    RunOptimiser(host);
    EXPECT_EQ(host.Program(), (Lines{"%", "(SEL=00,O,0,0,50,40,10,2,1,2,0)", "G1 X1 Y1 Z-1"}));
}

TEST_F(OptimiserTest, NumbersNoIntegerHoldsReadAsAbsentFields) {
    // A header count and a last line beyond the integer range fall back to the configuration
    // and to the program's end.
    Main.HeaderLines = {"%"};
    Main.HeaderLineCount = 1;
    Main.TrailerLines = {"M30"};
    Main.TrailerLineCount = 1;
    Load({"%", "(SEL=00,O,0,0,50,40,10,2,99999999999,99999999999,0)", "G1 X1 Y1 Z-1", "G1 X2 Y1 Z-1", "M30"});
    RunOptimiser(host);
    EXPECT_EQ(host.Program(), (Lines{"%", "(SEL=00,O,0,0,50,40,10,2,99999999999,4,0)", "G1 X1 Y1 Z-1", "X2 Y1",
                                     "G0Z1", "M30"}));
    // A last line beyond the program ends the body at the program's last line; a header
    // count below zero still leaves the parameter line out of the body.
    Load({"%", "(SEL=00,O,0,0,50,40,10,2,-7,900,0)", "G1 X1 Y1 Z-1", "M30"});
    RunOptimiser(host);
    EXPECT_EQ(host.Program(), (Lines{"%", "(SEL=00,O,0,0,50,40,10,2,-7,4,0)", "G1 X1 Y1 Z-1", "X1 Y1", "G0Z1",
                                     "M30"}));
}

// A last-line field of 0 ends the body before the configuration's trailer lines: the
// trailer "G0 Z50" of the loaded program is no body line, and it comes back once, as the
// configuration writes it, after the final retract.
TEST_F(OptimiserTest, ABodyEndOfZeroLeavesTheTrailerOutOfTheBody) {
    Main.HeaderLines = {"%"};
    Main.HeaderLineCount = 1;
    Main.TrailerLines = {"G0 Z50"};
    Main.TrailerLineCount = 1;
    const struct {
        int strategy;
        Lines expected;
    } cases[] = {
        {0, {"%", "(SEL=00,O,0,0,50,40,10,2,1,4,0)", "G1 X1 Y1 Z-1", "X3 Y1", "G0Z1", "G0 Z50"}},
        {3, {"%", "(SEL=03,O,0,0,50,40,10,2,1,5,0)", "G1 X1 Y1 Z-1", "X2", "X3", "G0Z1", "G0 Z50"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strategy);
        const std::string number = "0" + std::to_string(c.strategy);
        Load({"%", "(SEL=" + number + ",O,0,0,50,40,10,2,1,0,0)", "G1 X1 Y1 Z-1", "G1 X2 Y1 Z-1", "G1 X3 Y1 Z-1",
              "G0 Z50"});
        RunOptimiser(host);
        const Lines out = host.Program();
        EXPECT_EQ(out, c.expected);
        EXPECT_EQ(std::count(out.begin(), out.end(), "G0 Z50"), 1);
    }
}

TEST_F(OptimiserTest, ShortProgramsAndLongLines) {
    Main.HeaderLines = {"%"};
    Main.HeaderLineCount = 1;
    Main.TrailerLines = {"M30", "M2", "%", "%"};
    Main.TrailerLineCount = 4;
    // The progress divisor (last body line - trailer lines) is below zero here.
    std::string longLine = "G1 Y1 Z-1" + std::string(250, ' ') + "X9";
    Load({"%", "(SEL=00,O,0,0,50,40,10,2,1,2,0)", longLine});
    RunOptimiser(host);
    // Only the first 255 characters of a line are read: the X9 beyond them is not.
    EXPECT_EQ(host.Program(), (Lines{"%", "(SEL=00,O,0,0,50,40,10,2,1,3,0)", "G1 Y1 Z-1", "G0Z1", "M30", "M2",
                                     "%", "%"}));
    ASSERT_FALSE(host.meter.empty());
    for (int p : host.meter) EXPECT_TRUE(p >= 0 && p <= 100) << p;
}

// A host whose cancel button is pressed at the k-th pump of the optimiser step.
class AbortingHost : public TestHost {
public:
    std::uint64_t abortAtPump = 0;
    void RunOptimiser() override {
        Application->SetProcessMessagesHook(abortAtPump, [] { Main.AbortRequested = true; });
        TestHost::RunOptimiser();
    }
};

TEST(OptimiserInARun, AbortDuringTheOptimiserEndsTheRunEmptyWithoutClipboard) {
    ResetMainState();
    Application->ResetCounters();
    AbortingHost host;
    Main.wst_l = 50;
    Main.wst_b = 40;
    Main.stepX = 10;
    Main.stepy = 10;
    Main.z_zustellung = -10;
    Main.WorkBitmap = GreyBitmap(std::vector<std::vector<int>>(5, std::vector<int>(6, 100)));
    Main.PixelsPerMmX = 5.0 / 50;
    Main.PixelsPerMmY = 4.0 / 40;
    host.FieldsFromSettings(Main);
    host.boxes["Prg_optimieren"] = true;
    host.runOptimiser = true;
    host.abortAtPump = 6;
    CreateProgram(host);
    EXPECT_EQ(host.lines.Count(), 0u);
    EXPECT_EQ(host.clipboardCopies, 0);
    EXPECT_EQ(host.clipboardClears, 1);
    EXPECT_TRUE(host.programControlsEnabled);
    EXPECT_FALSE(host.waitLabelVisible);
    EXPECT_TRUE(Main.AbortRequested);
    // Without the abort the run copies the optimised program.
    ResetMainState();
    Main.wst_l = 50;
    Main.wst_b = 40;
    Main.stepX = 10;
    Main.stepy = 10;
    Main.z_zustellung = -10;
    Main.WorkBitmap = GreyBitmap(std::vector<std::vector<int>>(5, std::vector<int>(6, 100)));
    Main.PixelsPerMmX = 5.0 / 50;
    Main.PixelsPerMmY = 4.0 / 40;
    host.abortAtPump = 0;
    host.clipboardClears = 0;
    CreateProgram(host);
    ASSERT_GT(host.lines.Count(), 5u);
    EXPECT_EQ(host.lines.Line(host.lines.Count() - 1), "G0Z1");
    EXPECT_EQ(host.clipboardCopies, 1);
    EXPECT_EQ(host.fields["Ges_zeilen"], double(host.lines.Count()));
    Application->ResetCounters();
}

TEST_F(OptimiserTest, AbortDuringTheRewriteLeavesTheEditorEmpty) {
    Main.HeaderLines = {"%"};
    Main.HeaderLineCount = 1;
    Load({"%", "(SEL=00,O,0,0,50,40,10,2,1,5,0)", "G1 X1 Y1 Z-1", "G1 X2 Y1 Z-1", "G1 X3 Y1 Z-1",
          "G1 X4 Y2 Z-1"});
    Main.StrategyIndex = 9;
    Application->SetProcessMessagesHook(4, [] { Main.AbortRequested = true; });
    RunOptimiser(host);
    EXPECT_TRUE(Main.AbortRequested);
    EXPECT_EQ(host.lines.Count(), 0u);
    EXPECT_EQ(Main.StrategyIndex, 9);
    EXPECT_TRUE(host.programControlsEnabled);
    EXPECT_FALSE(host.waitLabelVisible);
    EXPECT_EQ(host.clipboardCopies, 0);
}

}  // namespace
