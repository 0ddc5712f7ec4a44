// The layout of the patterns about the circle centre: reach, ring and point counts, the
// spiral's start, the refused shapes, the abort, and the rule that no rapid move leads the
// tool sideways below the safe height.
#include "generation/AngleDialogState.h"
#include "generation/MainState.h"
#include "generation/ProgramRun.h"
#include "generation/RadialStrategies.h"
#include "generation/RunState.h"
#include "platform/Application.h"
#include "GoldenSupport.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace golden;

constexpr double kPi = std::numbers::pi;
const int kRadialStrategies[] = {1, 5, 3, 7, 2, 6, 18, 19, 8, 14};

std::optional<double> WordValue(const std::string& line, char letter) {
    const std::size_t comment = line.find('(');
    const std::string code = line.substr(0, comment);
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (code[i] != letter || (i > 0 && code[i - 1] != ' ')) continue;
        double v = 0;
        const char* first = code.data() + i + 1;
        const auto [end, ec] = std::from_chars(first, code.data() + code.size(), v);
        if (ec != std::errc() || end == first) return std::nullopt;
        return v;
    }
    return std::nullopt;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

// Every coordinate word is a finite number, and no rapid move changes X or Y while it
// starts or ends below the safe height.
::testing::AssertionResult SoundMoves(const Lines& program, double zg0) {
    std::optional<double> x, y, z;
    for (std::size_t i = 2; i < program.size(); ++i) {
        const std::string& line = program[i];
        for (char letter : {'X', 'Y', 'Z', 'I', 'J'}) {
            const std::size_t at = line.substr(0, line.find('(')).find(std::string(" ") + letter);
            if (at != std::string::npos && !WordValue(line, letter))
                return ::testing::AssertionFailure() << "line " << i << " has a word that is no number: " << line;
        }
        if (!StartsWith(line, "G0") && !StartsWith(line, "G1") && !StartsWith(line, "G3")) continue;
        const auto nx = WordValue(line, 'X'), ny = WordValue(line, 'Y'), nz = WordValue(line, 'Z');
        const std::optional<double> tx = nx ? nx : x, ty = ny ? ny : y, tz = nz ? nz : z;
        const bool sideways = x && y && (tx != x || ty != y);
        const bool low = (z && *z < zg0) || (tz && *tz < zg0);
        if (StartsWith(line, "G0") && sideways && low)
            return ::testing::AssertionFailure() << "line " << i << " moves sideways at rapid speed below the safe height: "
                                                 << program[i - 1] << " -> " << line;
        x = tx;
        y = ty;
        z = tz;
    }
    return ::testing::AssertionSuccess();
}

RunSetup RadialSetup(int strategy, const Picture* picture) {
    RunSetup s{strategy, picture, 50.0, 40.0, 10.0, -10.0, -10.0, 10.0, 7.0, 1.0, 1.0, 0.05, 2, 0.0, 0.0,
               "()", {}, {}, {}};
    s.centrePxX = 20;
    s.centrePxY = 25;
    s.previewWidth = 50;
    s.previewHeight = 40;
    return s;
}

Picture Uniform(int w, int h, int grey) {
    return Picture(std::size_t(h), std::vector<int>(std::size_t(w), grey));
}

class RadialTest : public ::testing::Test {
protected:
    void TearDown() override {
        Application->ResetCounters();
        ResetAngleDialogState();
    }
};

TEST_F(RadialTest, CirclesReachTheFarthestCornerWithTheRefittedSpacing) {
    // A 600 x 400 workpiece with the centre in the middle and stepX 5: R = sqrt(300^2 + 200^2),
    // 72 rings, the last one of radius R through the four corners.
    ResetMainState();
    TestHost host;
    Main.wst_l = 600;
    Main.wst_b = 400;
    Main.stepX = 5;
    Main.stepy = 50;
    Main.CircleCentreX = 300;
    Main.CircleCentreY = 200;
    Main.StrategyIndex = 5;
    Main.WorkBitmap = GreyBitmap(Uniform(7, 5, 128));
    Main.PixelsPerMmX = 6.0 / 600;
    Main.PixelsPerMmY = 4.0 / 400;
    Main.PassDepth = -10;
    Main.DepthFullScale = 16777215.0;
    RunState r(Main, host);
    r.CaptureOptions();
    r.ResetToStart();
    CircleStrategy(r, true);
    const double R = std::sqrt(300.0 * 300.0 + 200.0 * 200.0);
    EXPECT_DOUBLE_EQ(Main.stepX, R / 72);
    EXPECT_DOUBLE_EQ(72 * Main.stepX, R);
    // The largest hole circle is the last ring's.
    double farthest = 0;
    for (const auto& line : host.Program())
        if (StartsWith(line, "G1")) farthest = std::max(farthest, std::hypot(*WordValue(line, 'X'), *WordValue(line, 'Y')));
    EXPECT_GT(farthest, R - Main.stepX);
    EXPECT_LE(farthest, R + 0.01);
    EXPECT_EQ(host.meter.back(), 100);
}

// Points written on the ring of radius `radius` (the ellipse's: of semi-axes A, B), counted
// by their G1 lines; drilling writes one G1 line per hole.
int PointsOnRing(const Lines& program, double A, double B) {
    int n = 0;
    for (const auto& line : program) {
        if (!StartsWith(line, "G1")) continue;
        const double x = *WordValue(line, 'X'), y = *WordValue(line, 'Y');
        if (std::fabs(x * x / (A * A) + y * y / (B * B) - 1) < 1e-3) ++n;
    }
    return n;
}

TEST_F(RadialTest, RingZeroIsOnePlungeAndEveryRingHasItsPointCount) {
    // A white 100 x 100 workpiece with the centre in the middle: the inner rings lie inside.
    const Picture white = Uniform(11, 11, 255);
    const double R = std::sqrt(50.0 * 50.0 + 50.0 * 50.0);
    const double step = R / 7;  // stepX 10 refitted
    struct Case {
        int strategy;
        int extraPoints;  // beyond m = Trunc(perimeter / stepy)
    } cases[] = {{1, 1}, {5, 0}, {2, 2}, {6, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strategy);
        RunSetup s = RadialSetup(c.strategy, &white);
        s.wst_l = s.wst_b = 100;
        s.stepy = 3;
        s.centrePxX = 50;
        s.centrePxY = 50;
        s.previewWidth = s.previewHeight = 100;
        s.ratio = 1.5;
        TestHost host;
        Prepare(host, s);
        const Lines program = RunProgram(host);
        const bool ellipse = c.strategy == 2 || c.strategy == 6;
        if (!ellipse) {
            // The rise, then ring 0: the move over the centre and the plunge there, nothing else.
            EXPECT_EQ(program[2], "G0 Z1");
            EXPECT_EQ(program[3], "G0 X0 Y0 Z1");
            EXPECT_EQ(program[4], "G1 X0 Y0 Z0");
            EXPECT_FALSE(StartsWith(program[5], "G1 X0 Y0"));
        }
        double stepy = 3;
        for (int i = 1; i <= 3; ++i) {
            SCOPED_TRACE(i);
            const double B = i * step, A = ellipse ? B * 1.5 : B;
            double perimeter = 2 * kPi * B;
            if (ellipse) {
                const double h = (A - B) / (A + B);
                perimeter = kPi * (A + B) * (1 + 3 * h * h / (10 + std::sqrt(4 - 3 * h * h)));
            }
            const int m = int(perimeter / stepy);
            if (ellipse) stepy = perimeter / m;  // refitted ring by ring
            EXPECT_EQ(PointsOnRing(program, A, B), m + c.extraPoints);
        }
    }
}

TEST_F(RadialTest, EllipseAxesFollowTheRatioParallelOrSimilar) {
    // Radius ratio 5 and a refitted stepX of 5: the centre (30, 40) of a 60 x 80 workpiece
    // reaches R = 50 in ten rings. Parallel rings 1 and 2 have A = 25, 30 and B = 5, 10;
    // similar ones A = 25, 50.
    const Picture white = Uniform(7, 9, 255);
    for (bool parallel : {true, false}) {
        SCOPED_TRACE(parallel);
        RunSetup s = RadialSetup(6, &white);
        s.wst_l = 60;
        s.wst_b = 80;
        s.centrePxX = 30;
        s.centrePxY = 40;
        s.previewWidth = 60;
        s.previewHeight = 80;
        s.stepX = 5;
        s.stepy = 2;
        s.ratio = 5;
        if (parallel) s.boxes = {"parallel_checkbox"};
        TestHost host;
        Prepare(host, s);
        const Lines program = RunProgram(host);
        EXPECT_GT(PointsOnRing(program, 25, 5), 20);
        EXPECT_GT(PointsOnRing(program, parallel ? 30 : 50, 10), 10);
        EXPECT_LT(PointsOnRing(program, parallel ? 50 : 30, 10), 4);  // only where the rings cross
    }
}

TEST_F(RadialTest, PolygonCornersLieOnTheAngleAndCarryTheMark) {
    // A triangle at 0 degrees: the first corner of every ring on the positive X axis; the
    // corner lines end in "(0)" when optimising.
    const Picture white = Uniform(11, 11, 255);
    RunSetup s = RadialSetup(18, &white);
    s.wst_l = s.wst_b = 100;
    s.centrePxX = s.centrePxY = 50;
    s.previewWidth = s.previewHeight = 100;
    s.stepX = 10;
    s.stepy = 4;
    s.corners = 3;
    s.boxes = {"Prg_optimieren"};
    TestHost host;
    Prepare(host, s);
    const Lines program = RunProgram(host);
    const double corner = 10 / std::sin((kPi - 2 * kPi / 3) / 2);  // the corner radius step
    int marked = 0, ringStarts = 0;
    for (const auto& line : program) {
        if (!StartsWith(line, "G1") || line.find("(0)") == std::string::npos) continue;
        const double x = *WordValue(line, 'X'), y = *WordValue(line, 'Y');
        const double rho = std::hypot(x, y);
        if (rho > 41) continue;  // rings 0 to 2 lie inside; outer paths restart on the edges
        const double ring = rho / corner;
        EXPECT_NEAR(ring, std::round(ring), 1e-3) << line;
        ++marked;
        if (std::fabs(y) < 0.01 && x > 0) ++ringStarts;
    }
    EXPECT_GE(marked, 9);
    EXPECT_GE(ringStarts, 3);
}

TEST_F(RadialTest, SpiralStartsEveryPassAtItsCentreAtTheSafeHeight) {
    for (int strategy : {3, 7}) {
        SCOPED_TRACE(strategy);
        RunSetup s = RadialSetup(strategy, &PicA);
        s.z_zustellung = -4;
        TestHost host;
        Prepare(host, s);
        const Lines program = RunProgram(host);
        int passes = 0;
        // The first pass after the program's rise, the later ones after the pass's retract.
        ASSERT_EQ(program[2], "G0 Z1");
        for (std::size_t i = 3; i + 1 < program.size(); ++i) {
            const bool afterRetract = i > 4 && program[i - 1] == "G0 X0 Y0 Z1" && program[i - 2] == "G0 Z1";
            const bool passStart = i == 3 || afterRetract;
            if (!passStart) continue;
            ++passes;
            if (strategy == 3) {
                EXPECT_EQ(program[i], "G1 X0 Y0 Z1 ");
            } else {
                EXPECT_EQ(program[i + 1], "G0 X0 Y0 Z1");
                EXPECT_EQ(program[i + 2], "G1 X0 Y0 Z1");
            }
        }
        EXPECT_EQ(passes, 3);
    }
}

// Shapes without area (message 9), and spacings of 0 or below, refused with the setting's name:
// 0 gives counts no integer holds, and below 0 the rings and corners are still written without
// a point between them (strategy 1 at stepX 0.00001 and stepy -1 wrote 400,404 lines against an
// estimate of 76).
TEST_F(RadialTest, ShapesWithoutAreaAndSpacingsOfZeroOrBelowAreRefusedBeforeTheEditorChanges) {
    struct Case {
        int strategy;
        double ratio;
        int corners;
        double stepX, stepy;
        const char* named;  // the setting the message names; none for message 9
    };
    std::vector<Case> cases = {
        {2, 0, 3, 10, 7, nullptr},  {6, 0, 3, 10, 7, nullptr},  {2, -1, 3, 10, 7, nullptr},
        {18, 5, 0, 10, 7, nullptr}, {19, 5, 1, 10, 7, nullptr}, {18, 5, 2, 10, 7, nullptr},
    };
    for (int strategy : kRadialStrategies) {
        cases.push_back({strategy, 5, 3, 0, 7, "Bahnabstand"});
        cases.push_back({strategy, 5, 3, -10, 7, "Bahnabstand"});
        cases.push_back({strategy, 5, 3, 10, 0, "Punktabstand"});
        cases.push_back({strategy, 5, 3, 10, -1, "Punktabstand"});
        cases.push_back({strategy, 5, 3, 0.00001, -1, "Punktabstand"});
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "strategy " << c.strategy << " ratio " << c.ratio << " corners "
                                        << c.corners << " stepX " << c.stepX << " stepy " << c.stepy);
        RunSetup s = RadialSetup(c.strategy, &PicA);
        s.ratio = c.ratio;
        s.corners = c.corners;
        s.stepX = c.stepX;
        s.stepy = c.stepy;
        TestHost host;
        Prepare(host, s);
        host.lines.Add("old program");
        EXPECT_EQ(RunProgram(host), Lines{"old program"});
        EXPECT_EQ(host.clipboardCopies, 0);
        if (!c.named) {
            EXPECT_EQ(host.fileMessages, (std::vector<std::pair<int, char>>{{MsgTooFewPaths, 'N'}}));
            continue;
        }
        EXPECT_TRUE(host.fileMessages.empty());
        ASSERT_EQ(host.messageTexts.size(), 1u);
        EXPECT_NE(host.messageTexts[0].find(std::string("„") + c.named + "“ muss größer als 0"), std::string::npos)
            << host.messageTexts[0];
    }
    // A negative corner count writes no rings (the program's rise and the passes' retract
    // lines stay).
    RunSetup s = RadialSetup(18, &PicA);
    s.corners = -4;
    TestHost host;
    Prepare(host, s);
    EXPECT_EQ(RunProgram(host),
              (Lines{"%???", "(SEL=18,O,20,15,50,40,10,2,0,4,0)", "G0 Z1", "G0 Z1", "G0 X0 Y0 Z1"}));
    EXPECT_TRUE(host.fileMessages.empty());
}

// The points of the G1 lines, in order, as (X, Y) texts.
std::vector<std::string> MillPoints(const Lines& program) {
    std::vector<std::string> points;
    for (const auto& line : program) {
        if (!StartsWith(line, "G1")) continue;
        const std::string code = line.substr(0, line.find('('));
        const std::size_t x = code.find(" X"), z = code.find(" Z");
        points.push_back(code.substr(x + 1, z - x - 1));
    }
    return points;
}

TEST_F(RadialTest, LabyrinthTurnsClockwiseOutwardsToTheCorner) {
    // The centre of a 100 x 100 workpiece, stepX 10: five rings; ring 0 visits (+10, 0),
    // (+10, -10), (-10, -10), (-10, +10), ring 1 goes on to (+20, +10), (+20, -20), (-20, -20),
    // (-20, +20), and ring 4 ends in the upper left corner. With stepy 4 a side of 10 mm has
    // Round(2.5) = 2 points.
    const Picture grey = Uniform(11, 11, 128);
    RunSetup s = RadialSetup(8, &grey);
    s.wst_l = s.wst_b = 100;
    s.centrePxX = s.centrePxY = 50;
    s.previewWidth = s.previewHeight = 100;
    s.stepX = 10;
    s.stepy = 10;
    TestHost host;
    Prepare(host, s);
    std::vector<std::string> points = MillPoints(RunProgram(host));
    const std::vector<std::string> firstRings = {"X0 Y0",    "X10 Y0",   "X10 Y-10", "X0 Y-10",  "X-10 Y-10",
                                                 "X-10 Y0",  "X-10 Y10", "X0 Y10",   "X10 Y10",  "X20 Y10",
                                                 "X20 Y0",   "X20 Y-10", "X20 Y-20", "X10 Y-20", "X0 Y-20",
                                                 "X-10 Y-20", "X-20 Y-20", "X-20 Y-10", "X-20 Y0", "X-20 Y10",
                                                 "X-20 Y20"};
    ASSERT_GT(points.size(), firstRings.size());
    EXPECT_EQ(std::vector<std::string>(points.begin(), points.begin() + std::ptrdiff_t(firstRings.size())), firstRings);
    EXPECT_EQ(points.back(), "X-50 Y50");

    s.stepy = 4;
    TestHost host4;
    Prepare(host4, s);
    points = MillPoints(RunProgram(host4));
    EXPECT_EQ(std::vector<std::string>(points.begin(), points.begin() + 5),
              (std::vector<std::string>{"X0 Y0", "X5 Y0", "X10 Y0", "X10 Y-5", "X10 Y-10"}));
}

// A labyrinth on a strip of length x width mm at the spacing, about the preview point (px, py)
// of a preview one pixel a millimetre.
RunSetup LabyrinthStrip(int strategy, double length, double width, double spacing, int px, int py) {
    RunSetup s = RadialSetup(strategy, &PicA);
    s.wst_l = length;
    s.wst_b = width;
    s.stepX = s.stepy = spacing;
    s.previewWidth = int(length);
    s.previewHeight = int(width);
    s.centrePxX = px;
    s.centrePxY = py;
    return s;
}

// From the corner of a long strip the labyrinth runs along both long edges once a ring: a
// 17 x 8145 mm plate wrote 11.2 million lines against an estimate of 79,984. The estimate
// counts its points as it lays them out, so the size refusal agrees with what is written.
TEST_F(RadialTest, TheLabyrinthsEstimateCountsItsPointsAsItLaysThemOut) {
    for (int strategy : {8, 14}) {
        SCOPED_TRACE(strategy);
        TestHost host;
        Prepare(host, LabyrinthStrip(strategy, 17, 1000, 5, 0, 1000));  // from the lower-left corner
        const std::size_t written = RunProgram(host).size();
        ASSERT_EQ(Main.CircleCentreX, 0);
        ASSERT_EQ(Main.CircleCentreY, 0);
        const std::uint64_t estimate = EstimateProgramLines(strategy, 17, 1000, 5, 5, 1, strategy == 14, 0, 0);
        EXPECT_GE(estimate, written);
        EXPECT_LE(estimate, 3 * written);
    }
}

// Milled and drilled, from random centres on random plates with random spacings, decimals,
// passes and boxes (the optimiser's rewrite included; with "maschinenachse 90°" the host turns
// the picture as the main window does): the estimate of the workpiece the run lays out is never
// below what the run writes.
TEST_F(RadialTest, TheLabyrinthNeverWritesMoreThanItsEstimate) {
    std::mt19937 random(20261211);
    auto between = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    const char* const boxes[] = {"kante_fraesen", "stoppen", "zustellung_optimieren", "treppe", "achse_90_grad",
                                 "Prg_optimieren"};
    constexpr int kRuns = 3000;
    for (int run = 0; run < kRuns; ++run) {
        const int strategy = run % 2 ? 14 : 8;
        RunSetup s = RadialSetup(strategy, &PicB);
        s.wst_l = between(1, 60);
        s.wst_b = between(1, 60);
        s.stepX = between(0.3, 12);
        s.stepy = between(0.3, 12);
        const int passes = 1 + int(random() % 4);
        s.z_zustellung = s.max_tiefe / passes;
        s.previewWidth = 1 + int(random() % 80);
        s.previewHeight = 1 + int(random() % 80);
        s.centrePxX = int(random() % unsigned(s.previewWidth + 1));
        s.centrePxY = int(random() % unsigned(s.previewHeight + 1));
        s.komma = int(random() % 4);
        for (const char* box : boxes)
            if (random() % 3 == 0) s.boxes.push_back(box);
        TurningHost host;
        Prepare(host, s);
        host.runOptimiser = true;
        const std::size_t written = RunProgram(host).size();
        if (!host.messageTexts.empty() || !host.fileMessages.empty()) continue;
        double infeed = s.z_zustellung;
        const bool turned = host.IsChecked("achse_90_grad");
        const double length = turned ? s.wst_b : s.wst_l, width = turned ? s.wst_l : s.wst_b;
        const std::uint64_t estimate = EstimateProgramLines(strategy, length, width, s.stepX, s.stepy,
                                                            *ComputePassCount(s.max_tiefe, infeed), strategy == 14,
                                                            Main.CircleCentreX, Main.CircleCentreY);
        std::ostringstream boxText;
        for (const auto& b : s.boxes) boxText << " " << b;
        EXPECT_LE(written, estimate) << "run " << run << ": strategy " << strategy << " l " << s.wst_l << " b "
                                     << s.wst_b << " stepX " << s.stepX << " stepy " << s.stepy << " passes " << passes
                                     << " centre " << Main.CircleCentreX << ", " << Main.CircleCentreY << " komma "
                                     << s.komma << boxText.str();
    }
}

// A drilled labyrinth on a turned 2 x 11 picture whose run wrote 5,204 lines against an
// estimate of 5,095 made on the unturned workpiece: from centres all over the preview, the
// estimate of the turned workpiece bounds what the run writes.
TEST_F(RadialTest, TheLabyrinthOfATurnedPictureStaysWithinItsEstimate) {
    const Picture narrow = {{255, 0},  {200, 40}, {128, 90}, {0, 255}, {60, 30},  {255, 255},
                            {10, 220}, {90, 90},  {0, 0},    {180, 5}, {255, 128}};
    for (int cx = 0; cx <= 20; cx += 2) {
        for (int cy = 0; cy <= 110; cy += 10) {
            SCOPED_TRACE(testing::Message() << "centre " << cx << ", " << cy);
            RunSetup s = RadialSetup(14, &narrow);
            s.wst_l = 3.7401409837198627, s.wst_b = 18, s.wst_d = 10;
            s.stepX = 1.2376553696866499, s.stepy = 0.60517412670563697;
            s.max_tiefe = -9.8508664190833652, s.z_zustellung = -4.399597342478283;
            s.min_deltaZ = 0.17865782387318185, s.zg0 = 5.1509622219591549, s.komma = 0;
            s.previewWidth = 20, s.previewHeight = 110, s.centrePxX = cx, s.centrePxY = cy;
            s.boxes = {"achse_90_grad"};
            TurningHost host;
            Prepare(host, s);
            Main.ResolutionLevel = 1;
            const std::size_t written = RunProgram(host).size();
            ASSERT_TRUE(host.messageTexts.empty() && host.fileMessages.empty());
            double infeed = s.z_zustellung;
            EXPECT_LE(written, EstimateProgramLines(14, s.wst_b, s.wst_l, s.stepX, s.stepy,
                                                    *ComputePassCount(s.max_tiefe, infeed), true, Main.CircleCentreX,
                                                    Main.CircleCentreY));
        }
    }
}

TEST_F(RadialTest, ALabyrinthTooLongForTheMemoryIsRefusedBeforeItsFirstLine) {
    // A 1000 x 1 mm strip at 0.01 mm: past the first ring every ring runs the whole length
    // along both long edges again, some 10^10 lines, though the strip's area is small.
    for (int strategy : {8, 14}) {
        SCOPED_TRACE(strategy);
        TestHost host;
        Prepare(host, LabyrinthStrip(strategy, 1000, 1, 0.01, 500, 0));
        host.lines.Add("old program");
        // Its lines are counted as it lays them out, before the editor changes.
        EXPECT_EQ(RunProgram(host), Lines{"old program"});
        ASSERT_EQ(host.messageTexts.size(), 1u);
        EXPECT_NE(host.messageTexts[0].find("Millionen Zeilen"), std::string::npos) << host.messageTexts[0];
        EXPECT_EQ(host.clipboardCopies, 0);
        EXPECT_EQ(host.fields["stepy"], 0.01);
    }
}

TEST_F(RadialTest, EllipsesOfATinyRatioWithTooManyPointsAreRefused) {
    // Ratio 0.001 with the centre below the middle: the ellipses reach 15000 mm out and lie
    // a ten-thousandth of a millimetre apart along X, some 10^10 points on a 50 x 40 workpiece.
    for (int strategy : {2, 6}) {
        SCOPED_TRACE(strategy);
        RunSetup s = RadialSetup(strategy, &PicA);
        s.ratio = 0.001;
        s.stepX = s.stepy = 0.1;
        TestHost host;
        Prepare(host, s);
        EXPECT_TRUE(RunProgram(host).empty());
        ASSERT_EQ(host.messageTexts.size(), 1u);
        EXPECT_NE(host.messageTexts[0].find("Ellipsen"), std::string::npos);
        EXPECT_EQ(host.clipboardCopies, 0);
    }
}

TEST_F(RadialTest, AbortAtAPumpEndsEmptyAndRestoresTheSpacings) {
    for (int strategy : kRadialStrategies) {
        for (int pump : {3, 5, 20}) {
            if (pump == 20 && (strategy == 8 || strategy == 14)) continue;  // six rings, six pumps
            SCOPED_TRACE(testing::Message() << "strategy " << strategy << " pump " << pump);
            RunSetup s = RadialSetup(strategy, &PicA);
            s.stepX = 5;
            s.stepy = 3;
            TestHost host;
            Prepare(host, s);
            bool fired = false;
            Application->SetProcessMessagesHook(std::uint64_t(pump), [&] {
                Main.AbortRequested = true;
                fired = true;
            });
            EXPECT_TRUE(RunProgram(host).empty());
            EXPECT_TRUE(fired);
            EXPECT_EQ(host.clipboardCopies, 0);
            EXPECT_EQ(Main.stepX, 5.0);
            EXPECT_EQ(Main.stepy, 3.0);
            EXPECT_EQ(host.fields["stepX"], 5.0);
            EXPECT_EQ(host.fields["stepy"], 3.0);
        }
    }
}

// Random settings through every radial pattern: every run ends, and its program is well
// formed: numbers only, no rapid move sideways below the safe height.
TEST_F(RadialTest, RandomSettingsGiveSoundPrograms) {
    std::mt19937_64 rng(20261210);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto chance = [&](double p) { return std::bernoulli_distribution(p)(rng); };
    const Picture pictures[] = {PicA, PicB, Uniform(3, 3, 0), Uniform(4, 2, 255)};
    for (int run = 0; run < 400; ++run) {
        const int strategy = kRadialStrategies[std::size_t(run) % 10];
        const Picture& picture = pictures[std::size_t(run / 10) % 4];
        RunSetup s = RadialSetup(strategy, &picture);
        s.wst_l = uniform(1, 80);
        s.wst_b = uniform(1, 80);
        s.stepX = uniform(0.5, 20);
        s.stepy = uniform(0.5, 20);
        // Now and then a spacing below zero (refused) or wider than the workpiece.
        if (chance(0.1)) s.stepX = chance(0.5) ? -s.stepX : s.stepX * 50;
        if (chance(0.1)) s.stepy = chance(0.5) ? -s.stepy : s.stepy * 50;
        s.z_zustellung = chance(0.5) ? -10 : -uniform(2, 6);
        s.zg0 = double(1 + rng() % 3);  // whole numbers: every word shows them exactly
        s.komma = int(rng() % 4);
        s.previewWidth = 40;
        s.previewHeight = 30;
        s.centrePxX = int(rng() % 41);
        s.centrePxY = int(rng() % 31);
        s.corners = 3 + int(rng() % 8);
        s.ratio = uniform(0.2, 6);
        s.eingabe = s.alpha = uniform(0, 360);
        for (const char* box : {"Prg_optimieren", "kante_fraesen", "stoppen", "zustellung_optimieren", "treppe",
                                "bogen_IJ", "parallel_checkbox"})
            if (chance(0.4)) s.boxes.push_back(box);
        SCOPED_TRACE(testing::Message() << "run " << run << " strategy " << strategy);
        TestHost host;
        Prepare(host, s);
        const Lines program = RunProgram(host);
        if (s.stepX < 0 || s.stepy < 0) {
            // Refused by name before any line.
            EXPECT_TRUE(program.empty());
            ASSERT_EQ(host.messageTexts.size(), 1u);
            EXPECT_NE(host.messageTexts[0].find(s.stepX < 0 ? "Bahnabstand" : "Punktabstand"), std::string::npos);
            continue;
        }
        ASSERT_FALSE(program.empty());
        EXPECT_TRUE(SoundMoves(program, s.zg0));
    }
}

}  // namespace
