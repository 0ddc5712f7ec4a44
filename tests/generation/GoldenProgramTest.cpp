// Whole programs of the row, column and oblique strategies, compared line by line with
// expected program files, and the edge cases of their path layout.
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/ProgramRun.h"
#include "generation/RunState.h"
#include "generation/Strategies.h"
#include "platform/Application.h"
#include "GoldenSupport.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace golden;

struct GoldenCase {
    const char* name;
    const char* file;
    RunSetup setup;
};

// Covered here besides each strategy once: one and two passes with stop and contour lines,
// the stair form, marks with and without optimisation, the cross switch "(RW)", the first
// row's origin not written twice, serpentine order, two samples snapped onto the same
// coordinates written once (rows_snap_komma1), oblique lines shorter than the point spacing
// giving their start point only (oblique_30, the last line), and 200 degrees laying out
// the lines of 20 (both cases share one file).
const GoldenCase kGoldenCases[] = {
    {"rows_mill", "rows_mill",
     {0, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 7.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {}, {"%", "(hdr)"}, {"M30"}}},
    {"rows_mill_two_passes", "rows_mill_two_passes",
     {0, &PicA, 50.0, 40.0, 10.0, -10.0, -5.0, 10.0, 7.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      " ()", {"kante_fraesen", "stoppen"}, {"%"}, {"M30"}}},
    {"rows_drill_two_passes_optimised", "rows_drill_two_passes_optimised",
     {4, &PicB, 50.0, 40.0, 10.0, -10.0, -5.0, 8.0, 12.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {"kante_fraesen", "stoppen", "Prg_optimieren", "zustellung_optimieren"}, {}, {}}},
    {"rows_snap_komma1", "rows_snap_komma1",
     {0, &PicB, 1.0, 1.0, 10.0, -10.0, -10.0, 0.5, 0.05, 1.0, 1.0, 0.05, 1, 0.0, 0.0,
      "()", {}, {}, {}}},
    {"columns_mill_stair_optimised", "columns_mill_stair_optimised",
     {9, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 7.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      " ()", {"treppe", "Prg_optimieren"}, {"%", "", "(x)"}, {}}},
    {"columns_drill_contour", "columns_drill_contour",
     {13, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 9.0, 9.0, 1.0, 1.0, 0.05, 3, 0.0, 0.0,
      "()", {"kante_fraesen"}, {}, {"M30", "%"}}},
    {"cross_mill_optimised", "cross_mill_optimised",
     {10, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 12.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      "()", {"Prg_optimieren"}, {}, {}}},
    {"cross_drill", "cross_drill",
     {17, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 20.0, 15.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
      " ()", {"kante_fraesen"}, {}, {}}},
    {"oblique_30", "oblique_30",
     {11, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 8.0, 6.0, 1.0, 1.0, 0.05, 2, 30.0, 30.0,
      "()", {}, {}, {}}},
    {"oblique_150_two_passes", "oblique_150_two_passes",
     {11, &PicA, 50.0, 40.0, 10.0, -10.0, -5.0, 8.0, 6.0, 1.0, 1.0, 0.05, 2, 150.0, 150.0,
      "()", {"kante_fraesen", "stoppen", "Prg_optimieren", "treppe"}, {}, {}}},
    {"oblique_20", "oblique_20",
     {11, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 6.0, 5.0, 1.0, 1.0, 0.05, 2, 20.0, 20.0,
      " ()", {}, {}, {}}},
    {"oblique_200", "oblique_20",
     {11, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 6.0, 5.0, 1.0, 1.0, 0.05, 2, 200.0, 200.0,
      " ()", {}, {}, {}}},
    {"oblique_drill_optimised", "oblique_drill_optimised",
     {15, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 9.0, 7.0, 1.0, 1.0, 0.05, 2, 0.0, 30.0,
      "()", {"Prg_optimieren"}, {}, {}}},
    {"oblique_cross_mill_optimised", "oblique_cross_mill_optimised",
     {12, &PicA, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 8.0, 1.0, 1.0, 0.05, 2, 0.0, 30.0,
      "()", {"Prg_optimieren"}, {}, {}}},
    {"oblique_cross_drill_200", "oblique_cross_drill_200",
     {16, &PicB, 50.0, 40.0, 10.0, -10.0, -10.0, 12.0, 10.0, 1.0, 1.0, 0.05, 2, 0.0, 200.0,
      "()", {}, {}, {}}},
};

class GoldenProgramTest : public ::testing::TestWithParam<GoldenCase> {
protected:
    void TearDown() override { Application->ResetCounters(); }
};

TEST_P(GoldenProgramTest, WholeProgramMatchesTheExpectedFile) {
    const GoldenCase& c = GetParam();
    TestHost host;
    Prepare(host, c.setup);
    const Lines program = RunProgram(host);
    EXPECT_TRUE(SameProgram(ReadProgramFile(c.file), program));
    EXPECT_TRUE(host.fileMessages.empty());
    // The run puts back what it changed on the way.
    EXPECT_EQ(Main.StrategyIndex, c.setup.strategy);
    EXPECT_EQ(Main.stepX, c.setup.stepX);
    EXPECT_EQ(Main.stepy, c.setup.stepy);
    EXPECT_EQ(host.fields["stepX"], c.setup.stepX);
    EXPECT_EQ(host.fields["stepy"], c.setup.stepy);
    EXPECT_EQ(host.fields["wst_l"], c.setup.wst_l);
    EXPECT_EQ(host.fields["wst_b"], c.setup.wst_b);
    EXPECT_FALSE(Main.CrossPatternRunning);
}

INSTANTIATE_TEST_SUITE_P(Strategies, GoldenProgramTest, ::testing::ValuesIn(kGoldenCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& p) { return std::string(p.param.name); });

// The words of a program line: "G1 X5 Y0 Z-2" gives {"G1", "X5", "Y0", "Z-2"}.
std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

std::string WordOf(const std::string& line, char letter) {
    for (const auto& w : Words(line))
        if (!w.empty() && w[0] == letter) return w;
    return {};
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// A picture that is white but for its right-most column, which is black.
Picture BlackRightColumn(int width, int height) {
    Picture p(std::size_t(height), std::vector<int>(std::size_t(width), 255));
    for (auto& row : p) row.back() = 0;
    return p;
}

RunSetup PlainSetup(int strategy, const Picture* picture) {
    return {strategy, picture, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 7.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
            "()", {}, {}, {}};
}

TEST(GoldenProgramEdges, RefittedPointSpacingEndsEveryRowExactlyOnTheFarEdge) {
    // 600 / 7 gives 85 intervals of 600/85: the last point samples the black edge column.
    const Picture pic = BlackRightColumn(7, 4);
    RunSetup s = PlainSetup(0, &pic);
    s.wst_l = 600;
    s.wst_b = 600;
    s.stepX = 100;
    s.stepy = 7;
    TestHost host;
    Prepare(host, s);
    const Lines program = RunProgram(host);
    std::set<std::string> rowsAtTheEdge;
    for (const auto& line : program) {
        if (!StartsWith(line, "G1 ")) continue;
        const std::string x = WordOf(line, 'X');
        ASSERT_TRUE(x == "X600" || std::stod(x.substr(1)) < 600) << line;
        if (x == "X600") {
            EXPECT_EQ(WordOf(line, 'Z'), "Z-10") << line;
            rowsAtTheEdge.insert(WordOf(line, 'Y'));
        }
    }
    EXPECT_EQ(rowsAtTheEdge, (std::set<std::string>{"Y0", "Y100", "Y200", "Y300", "Y400", "Y500", "Y600"}));
}

TEST(GoldenProgramEdges, SamplesSnappedOntoTheSameCoordinatesAreWrittenOnce) {
    // One decimal: points 0.05 mm apart snap onto the point written before them.
    TestHost host;
    Prepare(host, kGoldenCases[3].setup);
    ASSERT_STREQ(kGoldenCases[3].name, "rows_snap_komma1");
    const Lines program = RunProgram(host);
    int points = 0;
    for (std::size_t i = 1; i < program.size(); ++i) {
        if (!StartsWith(program[i], "G1 ") || !StartsWith(program[i - 1], "G1 ")) continue;
        ++points;
        EXPECT_FALSE(WordOf(program[i], 'X') == WordOf(program[i - 1], 'X') &&
                     WordOf(program[i], 'Y') == WordOf(program[i - 1], 'Y'))
            << "line " << i << ": " << program[i];
    }
    EXPECT_GT(points, 10);
}

// Records the program's length when a message is shown and every write of a field.
class RecordingHost : public TestHost {
public:
    std::vector<std::size_t> linesAtMessage;
    struct FieldWrite {
        std::string field;
        double value;
        std::size_t linesBefore;
    };
    std::vector<FieldWrite> fieldWrites;

    int ShowFileMessage(int line, char kind) override {
        linesAtMessage.push_back(lines.Count());
        return TestHost::ShowFileMessage(line, kind);
    }
    void ShowMessageText(const std::string& text) override {
        linesAtMessage.push_back(lines.Count());
        TestHost::ShowMessageText(text);
    }
    void SetFieldValue(std::string_view field, double value) override {
        fieldWrites.push_back({std::string(field), value, lines.Count()});
        TestHost::SetFieldValue(field, value);
    }
    std::vector<double> WritesOf(const std::string& field) const {
        std::vector<double> values;
        for (const auto& w : fieldWrites)
            if (w.field == field) values.push_back(w.value);
        return values;
    }
};

// "max. Tiefe" is a limit no written depth may pass, also where the decimals would round a
// depth between the limit and its own rounding below it (-3.6 at 0 decimals was written Z-4):
// such a depth, and the contour at the limit, is written as the limit rounded toward the
// surface; every other depth stays as it is. White pictures whose depth the Z factor sets.
TEST(GoldenProgramEdges, NoWrittenDepthLiesBelowTheDeepestDepth) {
    struct Case {
        int komma;
        double deepest, faktor;  // the point's depth is faktor * 10 - 10
        const char* point;       // the Z word of every point
        const char* contour;     // the Z word of the contour at the deepest depth
    } cases[] = {
        {0, -3.6, 0.5, "Z-3", "Z-3"},                 // -5, limited to -3.6, which rounds to -4
        {0, -3.6, 0.645, "Z-3", "Z-3"},               // -3.55 rounds to -4
        {0, -3.6, 0.66, "Z-3", "Z-3"},                // -3.4 rounds to -3 as before
        {1, -3.66, 0.6342, "Z-3.6", "Z-3.6"},         // -3.658 rounds to -3.7
        {2, -2.346, 0.76542, "Z-2.34", "Z-2.34"},     // -2.3458 rounds to -2.35
        {2, -2.346, 0.7656, "Z-2.34", "Z-2.34"},      // -2.344 rounds to -2.34 as before
        {3, -1.2346, 0.876544, "Z-1.234", "Z-1.234"}, // -1.23456 rounds to -1.235
        {2, -3.6, 0.5, "Z-3.6", "Z-3.6"},             // a limit the decimals write exactly
        {2, -3.6, 0.6456, "Z-3.54", "Z-3.6"},         // a depth above the limit stays
    };
    for (const Case& c : cases) {
        for (int strategy : {0, 4}) {
            SCOPED_TRACE(testing::Message() << "komma " << c.komma << " max. Tiefe " << c.deepest << " faktor "
                                            << c.faktor << " strategy " << strategy);
            const Picture white(3, std::vector<int>(3, 255));
            RunSetup setup = PlainSetup(strategy, &white);
            setup.komma = c.komma;
            setup.max_tiefe = setup.z_zustellung = c.deepest;
            setup.faktor = c.faktor;
            setup.boxes = {"kante_fraesen"};
            TestHost host;
            Prepare(host, setup);
            std::set<std::string> depths;
            for (const std::string& line : RunProgram(host)) {
                const std::string z = WordOf(line, 'Z');
                if (!z.empty() && z != "Z1") depths.insert(z);
            }
            EXPECT_EQ(depths, (std::set<std::string>{c.point, c.contour}));
        }
    }
}

TEST(GoldenProgramEdges, TooFewPathsShowMessageNineAndLeaveAnEmptyProgram) {
    struct Case {
        int strategy;
        double wst_l, wst_b, stepX, stepy;
    } cases[] = {
        {0, 50, 40, 10, 51},   // point spacing longer than a row
        {0, 50, 40, 41, 7},    // path spacing wider than the workpiece
        {9, 50, 40, 10, 41},   // point spacing longer than a column
        {9, 50, 40, 51, 7},
        {4, 50, 40, 10, 51},
        {13, 50, 40, 10, 41},
        {10, 50, 40, 10, 51},  // the rows of a cross
        {17, 50, 40, 10, 51},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "strategy " << c.strategy << " stepX " << c.stepX << " stepy " << c.stepy);
        RunSetup s = PlainSetup(c.strategy, &PicA);
        s.wst_l = c.wst_l;
        s.wst_b = c.wst_b;
        s.stepX = c.stepX;
        s.stepy = c.stepy;
        s.boxes = {"kante_fraesen"};
        RecordingHost host;
        Prepare(host, s);
        EXPECT_TRUE(RunProgram(host).empty());
        EXPECT_EQ(host.fileMessages, (std::vector<std::pair<int, char>>{{MsgTooFewPaths, 'N'}}));
        EXPECT_EQ(host.clipboardCopies, 0);
        EXPECT_EQ(Main.stepX, c.stepX);
        EXPECT_EQ(Main.stepy, c.stepy);
        EXPECT_EQ(host.fields["stepy"], c.stepy);
        EXPECT_EQ(Main.StrategyIndex, c.strategy);
        EXPECT_FALSE(Main.CrossPatternRunning);
    }
}

TEST(GoldenProgramEdges, SpacingsOfZeroOrLessAreRefusedBeforeAnyLine) {
    const int strategies[] = {0, 4, 9, 13, 10, 17, 11, 15, 12, 16};
    struct Spacing {
        double stepX, stepy;
    } spacings[] = {{0, 7}, {-10, 7}, {10, 0}, {10, -7}, {0, 0}};
    for (int strategy : strategies) {
        for (const auto& sp : spacings) {
            SCOPED_TRACE(testing::Message() << "strategy " << strategy << " stepX " << sp.stepX << " stepy " << sp.stepy);
            RunSetup s = PlainSetup(strategy, &PicA);
            s.stepX = sp.stepX;
            s.stepy = sp.stepy;
            s.eingabe = s.alpha = 30;
            s.z_zustellung = -5;
            s.boxes = {"kante_fraesen", "stoppen"};
            RecordingHost host;
            Prepare(host, s);
            host.lines.Add("old program");
            // The run refuses before it touches the editor, saying which spacing must be
            // above 0 (not that the workpiece is too small).
            EXPECT_EQ(RunProgram(host), std::vector<std::string>{"old program"});
            EXPECT_TRUE(host.fileMessages.empty());
            const std::string named = sp.stepX > 0 ? "„Punktabstand“" : "„Bahnabstand“";
            ASSERT_EQ(host.messageTexts.size(), 1u);
            EXPECT_NE(host.messageTexts[0].find(named + " muss größer als 0 sein"), std::string::npos)
                << host.messageTexts[0];
            EXPECT_EQ(host.linesAtMessage, (std::vector<std::size_t>{1}));
            EXPECT_EQ(host.clipboardCopies, 0);
            EXPECT_EQ(host.fields["stepX"], sp.stepX);
            EXPECT_EQ(host.fields["stepy"], sp.stepy);
        }
    }
}

TEST(GoldenProgramEdges, CrossMeterRunsToFiftyOverTheRowsAndOnToHundredOverTheColumns) {
    for (int strategy : {10, 17}) {
        SCOPED_TRACE(strategy);
        RunSetup s = PlainSetup(strategy, &PicA);
        s.wst_b = 50;  // ten rows and ten columns
        s.stepX = 5;
        s.stepy = 5;
        TestHost host;
        Prepare(host, s);
        RunProgram(host);
        EXPECT_EQ(host.meter, (std::vector<int>{0, 10, 20, 30, 40, 50, 50, 60, 70, 80, 90, 100, 0}));
    }
}

TEST(GoldenProgramEdges, ObliqueStepFieldShowsTheSpacingAlongEachLineThenTheEnteredValue) {
    // Per line of oblique_30: the point spacing along it, or its length when it is shorter
    // than the entered spacing (line 0 is a single point; line 7 is shorter than 6 mm; line 8
    // lies beyond the far corner, outside the workpiece, and has no length in it).
    const std::vector<double> alongLines = {0.0, 6.415002990995842, 6.415002990995842, 6.415002990995841,
                                            6.415002990995841, 6.9183303423374936, 7.4216576936791485,
                                            3.0199641080499076, 0.0};
    RecordingHost host;
    Prepare(host, kGoldenCases[8].setup);
    ASSERT_STREQ(kGoldenCases[8].name, "oblique_30");
    RunProgram(host);
    const std::vector<double> writes = host.WritesOf("stepy");
    ASSERT_GT(writes.size(), alongLines.size());
    for (std::size_t i = 0; i < alongLines.size(); ++i) EXPECT_NEAR(writes[i], alongLines[i], 1e-9) << "line " << i;
    EXPECT_EQ(writes[alongLines.size()], 6.0);  // the pass's end shows the entered value
    EXPECT_EQ(host.fields["stepy"], 6.0);
}

bool Finite(double v) { return std::isfinite(v); }

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

TEST(GoldenProgramEdges, ObliqueAtAxisAnglesLaysOutAxisParallelLinesStepXApart) {
    struct Case {
        int strategy;
        double angle;
        char constant;  // the coordinate that stays on each line
    } cases[] = {
        {15, 0, 'Y'}, {15, 180, 'Y'}, {15, 90, 'X'}, {15, 270, 'X'}, {11, 0, 'Y'}, {11, 90, 'X'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "strategy " << c.strategy << " angle " << c.angle);
        RunSetup s = PlainSetup(c.strategy, &PicA);
        s.alpha = s.eingabe = c.angle;
        TestHost host;
        Prepare(host, s);
        const Lines program = RunProgram(host);
        ASSERT_FALSE(program.empty());
        EXPECT_TRUE(host.fileMessages.empty());
        std::set<std::string> seen;
        for (const auto& line : program) {
            const std::string l = Lower(line);
            EXPECT_EQ(l.find("nan"), std::string::npos) << line;
            EXPECT_EQ(l.find("inf"), std::string::npos) << line;
            if (StartsWith(line, "G1 ") && Words(line).size() >= 4) seen.insert(WordOf(line, c.constant));
        }
        // Lines 10 mm apart: rows at Y 0..40, columns at X 0..50.
        const std::set<std::string> expected =
            c.constant == 'Y' ? std::set<std::string>{"Y0", "Y10", "Y20", "Y30", "Y40"}
                              : std::set<std::string>{"X0", "X10", "X20", "X30", "X40", "X50"};
        EXPECT_EQ(seen, expected);
        EXPECT_NE(program[1].find("SEL="), std::string::npos);
        EXPECT_TRUE(Finite(Main.stepX) && Finite(Main.stepy) && Finite(Main.Alpha));
        EXPECT_TRUE(Finite(Main.ProgressPercent));
        EXPECT_EQ(host.fields["stepX"], 10.0);
        EXPECT_EQ(host.fields["stepy"], 7.0);
        for (const auto& [name, value] : host.fields) EXPECT_TRUE(Finite(value)) << name;
    }
}

// The X of each milled column, in the order the program cuts them: a column is a run of
// feed lines one after another at one X.
std::vector<std::string> ColumnOrder(const Lines& program) {
    std::vector<std::string> order;
    std::string x0, y0;
    for (const auto& line : program) {
        if (!StartsWith(line, "G1 ") || Words(line).size() < 4) {
            x0.clear();
            continue;
        }
        const std::string x = WordOf(line, 'X'), y = WordOf(line, 'Y');
        if (x == x0 && y != y0 && (order.empty() || order.back() != x)) order.push_back(x);
        x0 = x;
        y0 = y;
    }
    return order;
}

// The lines at 90 degrees are mirrored like those of every angle up to 90: their columns run
// from the far edge at X50 back to X0. An oblique cross at 0 or 180 degrees turns its second
// half to exactly 90.
TEST(GoldenProgramEdges, ObliqueLinesAtNinetyDegreesAreMirrored) {
    struct Case {
        int strategy;
        double angle;
    } cases[] = {{11, 90}, {12, 0}, {12, 180}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "strategy " << c.strategy << " angle " << c.angle);
        RunSetup s = PlainSetup(c.strategy, &PicA);
        s.alpha = s.eingabe = c.angle;
        TestHost host;
        Prepare(host, s);
        const Lines program = RunProgram(host);
        EXPECT_TRUE(host.fileMessages.empty());
        EXPECT_EQ(ColumnOrder(program), (std::vector<std::string>{"X40", "X30", "X20", "X10", "X0"}));
    }
}

TEST(GoldenProgramEdges, AbortAtAPumpReturnsAtOnceEndsEmptyAndRestoresTheSettings) {
    struct Case {
        int strategy;
        int pump;
    } cases[] = {
        {0, 4}, {0, 9}, {4, 6}, {9, 5}, {13, 8}, {10, 6}, {10, 30}, {17, 30},
        {11, 4}, {15, 5}, {12, 4}, {12, 12}, {16, 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "strategy " << c.strategy << " pump " << c.pump);
        RunSetup s = PlainSetup(c.strategy, &PicA);
        s.alpha = s.eingabe = 30;
        s.stepy = 6;
        RecordingHost host;
        Prepare(host, s);
        std::size_t linesAtAbort = 0, writesAtAbort = 0;
        bool fired = false;
        Application->SetProcessMessagesHook(std::uint64_t(c.pump), [&] {
            Main.AbortRequested = true;
            fired = true;
            linesAtAbort = host.lines.Count();
            writesAtAbort = host.fieldWrites.size();
        });
        EXPECT_TRUE(RunProgram(host).empty());
        ASSERT_TRUE(fired);
        // The routine returns at once: the pass then writes only its two retract lines
        // before it puts the spacings back.
        // (The oblique cross puts its angle field back first.)
        std::size_t w = writesAtAbort;
        while (w < host.fieldWrites.size() && host.fieldWrites[w].field == "eingabe") ++w;
        ASSERT_LT(w, host.fieldWrites.size());
        EXPECT_EQ(host.fieldWrites[w].field, "stepX");
        EXPECT_EQ(host.fieldWrites[w].linesBefore, linesAtAbort + 2);
        EXPECT_EQ(host.lines.Count(), 0u);
        EXPECT_EQ(host.clipboardCopies, 0);
        EXPECT_EQ(Main.stepX, 10.0);
        EXPECT_EQ(Main.stepy, 6.0);
        EXPECT_EQ(Main.wst_l, 50.0);
        EXPECT_EQ(Main.wst_b, 40.0);
        EXPECT_EQ(host.fields["stepX"], 10.0);
        EXPECT_EQ(host.fields["stepy"], 6.0);
        EXPECT_EQ(host.fields["wst_l"], 50.0);
        EXPECT_EQ(host.fields["wst_b"], 40.0);
        EXPECT_EQ(Main.StrategyIndex, c.strategy);
        EXPECT_FALSE(Main.CrossPatternRunning);
    }
}

}  // namespace

namespace {

// The oblique routine's last line lies beyond the far corner: the meter ends at 100 (and at
// 50 after the first half of an oblique cross), never above.
TEST(GoldenProgramEdges, ObliqueProgressEndsAtTheFullPercentage) {
    for (int strategy : {11, 12}) {
        SCOPED_TRACE(strategy);
        ResetMainState();
        Application->ResetCounters();
        TestHost host;
        Main.StrategyIndex = strategy;
        Main.Alpha = 30;
        Main.wst_l = 50;
        Main.wst_b = 40;
        Main.stepX = Main.stepy = 5;
        Main.z_zustellung = -10;
        Main.WorkBitmap = GreyBitmap(std::vector<std::vector<int>>(5, std::vector<int>(6, 128)));
        Main.PixelsPerMmX = 5.0 / 50;
        Main.PixelsPerMmY = 4.0 / 40;
        host.FieldsFromSettings(Main);
        CreateProgram(host, BuiltInStrategies());
        ASSERT_FALSE(host.meter.empty());
        for (int p : host.meter) EXPECT_LE(p, 100);
        EXPECT_EQ(host.meter[host.meter.size() - 2], 100);
        EXPECT_EQ(host.meter.back(), 0);
        if (strategy == 12) {
            EXPECT_NE(std::find(host.meter.begin(), host.meter.end(), 50), host.meter.end());
        }
    }
}

}  // namespace

namespace {

// The stored programs written with optimisation on still match as the strategies write them
// (the test host leaves the optimiser step out); here they go through it, and their
// "<name>.opt.nc" files hold the rewritten forms. The first line is the configuration's
// first header line, empty in these cases, where the run had written "%???".
class GoldenOptimisedTest : public ::testing::TestWithParam<GoldenCase> {
protected:
    void TearDown() override { Application->ResetCounters(); }
};

TEST_P(GoldenOptimisedTest, OptimisedProgramMatchesTheExpectedFile) {
    const GoldenCase& c = GetParam();
    TestHost host;
    Prepare(host, c.setup);
    Main.HeaderLineCount = int(c.setup.header.size());
    Main.TrailerLineCount = int(c.setup.trailer.size());
    host.runOptimiser = true;
    const Lines program = RunProgram(host);
    EXPECT_TRUE(SameProgram(ReadProgramFile(std::string(c.file) + ".opt"), program));
    EXPECT_EQ(host.clipboardCopies, 1);
    EXPECT_EQ(Main.StrategyIndex, c.setup.strategy);
}

// The row, column and cross programs; the oblique ones are checked by their cut (the
// optimised toolpath test), which does not tie them to the exact layout of their lines.
std::vector<GoldenCase> OptimisedCases() {
    std::vector<GoldenCase> cases;
    for (const GoldenCase& c : kGoldenCases) {
        const bool optimised =
            std::find(c.setup.boxes.begin(), c.setup.boxes.end(), "Prg_optimieren") != c.setup.boxes.end();
        const int k = c.setup.strategy;
        if (optimised && (k == 0 || k == 4 || k == 9 || k == 13 || k == 10 || k == 17)) cases.push_back(c);
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Strategies, GoldenOptimisedTest, ::testing::ValuesIn(OptimisedCases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& p) { return std::string(p.param.name); });

}  // namespace
