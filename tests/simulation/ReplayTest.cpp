// The replay against a recording canvas: the fit of the parameter line, tool widths, depth
// colours, stepped moves, arcs about the origin and every way the replay stops.
#include "generation/MainState.h"
#include "platform/LineStore.h"
#include "simulation/Replay.h"
#include "simulation/ReplayCanvas.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <numbers>
#include <random>
#include <functional>
#include <string>
#include <vector>

namespace {

struct RecordingCanvas : ReplayCanvas {
    std::vector<std::string> calls;
    int penWidth = 0;
    TColor pen = 0;
    void Fill(TColor c) override { calls.push_back("Fill " + std::to_string(c)); }
    void SetPenColour(TColor c) override { pen = c; }
    void SetPenWidth(int w) override { penWidth = w; }
    void MoveTo(int x, int y) override {
        calls.push_back("Move " + std::to_string(x) + " " + std::to_string(y));
    }
    void LineTo(int x, int y) override {
        calls.push_back("Line " + std::to_string(x) + " " + std::to_string(y) + " w" +
                        std::to_string(penWidth) + " c" + std::to_string(pen));
    }
    void Arc(int l, int t, int r, int b, int x1, int y1, int x2, int y2) override {
        calls.push_back("Arc " + std::to_string(l) + " " + std::to_string(t) + " " +
                        std::to_string(r) + " " + std::to_string(b) + " " + std::to_string(x1) +
                        " " + std::to_string(y1) + " " + std::to_string(x2) + " " +
                        std::to_string(y2) + " w" + std::to_string(penWidth));
    }
    std::vector<std::string> Drawn() const {
        std::vector<std::string> d;
        for (const auto& c : calls) {
            if (c.rfind("Line", 0) == 0 || c.rfind("Arc", 0) == 0) d.push_back(c);
        }
        return d;
    }
};

struct Host : ReplayHost {
    TStrings lines;
    RecordingCanvas canvas;
    int areaW = 717, areaH = 720;
    int imageW = 0, imageH = 0;
    TColor background = -1;
    std::vector<int> messages;
    std::vector<int> meter;
    int ticks = 0, pumps = 0;
    std::function<void()> onPump;

    const TStrings& ProgramLines() override { return lines; }
    ReplayCanvas& Canvas() override { return canvas; }
    void AreaSize(int& w, int& h) override { w = areaW; h = areaH; }
    void PrepareImage(int w, int h, TColor bg) override {
        imageW = w;
        imageH = h;
        background = bg;
        canvas.Fill(bg);
    }
    void Pump() override {
        ++pumps;
        if (onPump) onPump();
    }
    void WaitForTick() override {
        ++ticks;
        Sim.TimerTick = true;
    }
    int ShowFileMessage(int line, char) override {
        messages.push_back(line);
        return 1;
    }
    void SetMeterPercent(int p) override { meter.push_back(p); }

    void Program(std::vector<std::string> body, const std::string& sel) {
        lines.Clear();
        lines.Add("%");
        lines.Add(sel);
        for (const auto& l : body) lines.Add(l);
    }
};

class Replay : public ::testing::Test {
protected:
    void SetUp() override {
        ResetMainState();
        Sim = SimulationState();
    }
    ReplayOptions fast{false, true, false, 1};
};

TEST_F(Replay, TheParameterLineFitsTheWorkpieceIntoThePicture) {
    Host h;
    h.Program({"G0 X0 Y0 Z1"}, "(SEL=00,O,0,0,600,400,10,2,1,2,0)");
    simulieren(h, fast);
    EXPECT_EQ(h.imageW, 717);
    EXPECT_EQ(h.imageH, 478);
    EXPECT_DOUBLE_EQ(Sim.MmPerPixelX, 600.0 / 716);
    EXPECT_DOUBLE_EQ(Sim.MmPerPixelY, 400.0 / 477);
    EXPECT_TRUE(h.messages.empty());
    EXPECT_TRUE(h.canvas.Drawn().empty());  // every Z above the surface: the pen only moves
}

TEST_F(Replay, ToolWidthFollowsTheTipAngle) {
    struct Case {
        double tipAngle, z;
        int width;
    } const cases[] = {
        {90, -2, 4 * 716 / 600},   // radius 2 mm: a 4 mm wide cut
        {0, -1, int(20 * 716.0 / 600)},  // no angle: the largest radius
        {0, 0, 23},                      // ... already at the surface: 20 mm of 600 mm over 716 px
        {90, -11, int(20 * 716.0 / 600)},  // the radius is held at SimRadius
        {45, 0, 0},
        {45, 0.5, 0},
    };
    for (const Case& c : cases) {
        ResetMainState();
        Main.SimTipAngle = c.tipAngle;
        Sim.MmPerPixelX = 600.0 / 716;
        Host h;
        EXPECT_EQ(ToolWidthPx(h, c.z), c.width) << c.tipAngle << " " << c.z;
    }
}

TEST_F(Replay, DepthColoursRunFromDeepToTheSurface) {
    EXPECT_EQ(DepthColour(3, 512), TColor(0x9DDBFE));
    EXPECT_EQ(DepthColour(3, 0), TColor(0x000000));
    EXPECT_EQ(DepthColour(1, 256), TColor(0x808080));  // 127.5 rounds to even 128
    EXPECT_EQ(DepthColour(2, 0), TColor(0x0000FF));
    EXPECT_EQ(BlendColour(clBlack, clWhite, -1), clBlack);
    EXPECT_EQ(BlendColour(clBlack, clWhite, 2), clWhite);
}

TEST_F(Replay, AWidthChangeOnAStraightMoveIsDrawnInSteps) {
    Host h;
    h.areaW = 101;
    h.areaH = 101;
    Main.SimTipAngle = 90;
    // 100 x 100 mm on 101 x 101 pixels: one millimetre a pixel; Z-2.5 is a 4 pixel cut.
    h.Program({"G1 X0 Y0 Z0", "G1 X8 Y0 Z-2.5"}, "(SEL=00,O,0,0,100,100,10,2,1,3,0)");
    simulieren(h, fast);
    const std::vector<std::string> expected = {
        "Line 0 101 w0 c0",  // the move at Z 0 is a one-pixel line
        "Line 2 101 w1 c0", "Line 4 101 w2 c0", "Line 6 101 w3 c0", "Line 8 101 w4 c0",
    };
    EXPECT_EQ(h.canvas.Drawn(), expected);
}

// A plunge at one point gives the cut its width there; the move that follows at the same
// depth keeps that width all along instead of widening from the width before the plunge.
TEST_F(Replay, AMoveAfterAPlungeHasTheFullWidth) {
    Host h;
    h.areaW = 101;
    h.areaH = 101;
    Main.SimTipAngle = 90;
    h.Program({"G0 X0 Y0 Z1", "G1 Z-2.5", "X8", "X10 Z-0.5"}, "(SEL=00,O,0,0,100,100,10,2,1,5,0)");
    simulieren(h, fast);
    const std::vector<std::string> expected = {
        "Line 0 101 w4 c0",  // the plunge
        "Line 8 101 w4 c0",
        // A move that changes the depth still narrows in steps.
        "Line 8 101 w3 c0", "Line 9 101 w2 c0", "Line 9 101 w1 c0", "Line 10 101 w0 c0",
    };
    EXPECT_EQ(h.canvas.Drawn(), expected);
}

TEST_F(Replay, ArcsAreDrawnAboutTheProgramOrigin) {
    Host h;
    h.areaW = 101;
    h.areaH = 101;
    h.Program({"G1 X10 Y0 Z0", "G3 X10 Y0 Z0 I0 J0", "G2 X0 Y10", "G1 X0 Y10"},
              "(SEL=01,O,50,50,100,100,10,2,1,5,0)");
    simulieren(h, fast);
    const std::vector<std::string> d = h.canvas.Drawn();
    ASSERT_EQ(d.size(), 3u);
    EXPECT_EQ(d[0], "Line 60 51 w0 c0");
    EXPECT_EQ(d[1], "Arc 40 41 60 61 60 51 60 51 w0");  // end = start: the whole circle
    // The G2 line draws nothing and leaves the pen; the G1 line then starts from there.
    EXPECT_EQ(d[2], "Line 50 41 w0 c0");
}

// A stepped arc (its width changes) whose start and end lie on one ray from the origin is a
// whole turn: its steps go once around, counter-clockwise, and end on the end point.
TEST_F(Replay, ASteppedArcBetweenTwoPointsOfOneRayGoesOnceAround) {
    const struct {
        const char* start;
        const char* end;
        int endX, endY;  // pixel of the end point
    } cases[] = {
        {"X20 Y0", "X10 Y0", 60, 51},
        {"X0 Y-20", "X0 Y-10", 50, 61},  // the ray at 270 degrees, close to the wrap at 360
        {"X-30 Y0", "X-20 Y0", 30, 51},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        Host h;
        h.areaW = 101;
        h.areaH = 101;
        Main.SimTipAngle = 90;
        // 1 mm a pixel, the origin at pixel (50, 51); Z-2 widens the cut from 0 to 4 pixels.
        h.Program({std::string("G1 ") + c.start + " Z0", std::string("G3 ") + c.end + " Z-2"},
                  "(SEL=01,O,50,50,100,100,10,2,1,3,0)");
        simulieren(h, fast);
        const std::vector<std::string> d = h.canvas.Drawn();
        ASSERT_GT(d.size(), 20u);
        double turned = 0, previous = 0;
        int x = 0, y = 0;
        for (std::size_t i = 1; i < d.size(); ++i) {
            ASSERT_EQ(std::sscanf(d[i].c_str(), "Line %d %d", &x, &y), 2) << d[i];
            const double a = std::atan2(51.0 - y, x - 50.0);  // program Y is up
            if (i > 1) turned += std::remainder(a - previous, 2 * std::numbers::pi);
            previous = a;
        }
        EXPECT_EQ(x, c.endX);
        EXPECT_EQ(y, c.endY);
        // The first step is one step's angle on from the start; the rest make up the turn.
        const double step = turned / double(d.size() - 2);
        EXPECT_NEAR(turned + step, 2 * std::numbers::pi, 0.05);
        EXPECT_GT(step, 0);
    }
}

// Arc programs declare the arc-centre mode on a line of its own before their first arc.
TEST_F(Replay, TheArcCentreModeLineDrawsNothingAndChangesNoArc) {
    std::vector<std::vector<std::string>> drawn;
    for (bool declared : {false, true}) {
        Host h;
        h.areaW = 101;
        h.areaH = 101;
        std::vector<std::string> body = {"G1 X10 Y0 Z-1", "G3 X0 Y10 I0 J0", "X-10 Y0 I0 J0", "G1 X0 Y0"};
        if (declared) body.insert(body.begin() + 1, "G90.1");
        const std::string last = std::to_string(1 + body.size());
        h.Program(body, "(SEL=01,O,50,50,100,100,10,2,1," + last + ",0)");
        simulieren(h, fast);
        EXPECT_TRUE(h.messages.empty());
        drawn.push_back(h.canvas.Drawn());
    }
    EXPECT_EQ(drawn[0].size(), 4u);
    EXPECT_EQ(drawn[1], drawn[0]);
}

// The surface in the kind's background, the full thickness black, the depths between on
// the ramp; a cut below the thickness (the cutting height allows it) stays black.
TEST_F(Replay, ShadowsDarkenWithDepth) {
    Host h;
    h.areaW = 101;
    h.areaH = 101;
    ReplayOptions o = fast;
    o.shadow = true;
    o.colourKind = 3;
    h.Program({"G1 X1 Y0 Z0", "G1 X2 Y0 Z-10", "G1 X3 Y0 Z-2.5", "G1 X4 Y0 Z-11.9"},
              "(SEL=00,O,0,0,100,100,10,2,1,5,0)");
    Main.SimTipAngle = 0;
    Main.SimRadius = 0;  // width 0 everywhere: straight lines, no steps
    simulieren(h, o);
    const std::vector<std::string> expected = {
        "Line 1 101 w0 c" + std::to_string(0x9DDBFE),
        "Line 2 101 w0 c0",
        "Line 3 101 w0 c" + std::to_string(DepthColour(3, 384)),
        "Line 4 101 w0 c0",
    };
    EXPECT_EQ(h.canvas.Drawn(), expected);
    EXPECT_TRUE(h.messages.empty());
}

TEST_F(Replay, TheReplayStopsWhereTheProgramCannotBeRead) {
    struct Case {
        const char* name;
        std::vector<std::string> body;
        const char* sel;
        std::vector<int> messages;
        std::size_t drawn;
    } const cases[] = {
        {"no parameter line", {"G1 X1 Y1 Z0"}, "(hello)", {14}, 0},
        {"centre does not read", {"G1 X1 Y1 Z0"}, "(SEL=00,O,a,0,100,100,10,2,1,3,0)", {14}, 0},
        {"thickness 0", {"G1 X1 Y1 Z0"}, "(SEL=00,O,0,0,100,100,0,2,1,3,0)", {14}, 0},
        {"negative length", {"G1 X1 Y1 Z0"}, "(SEL=00,O,0,0,-100,100,10,2,1,3,0)", {14}, 0},
        {"a word that does not read",
         {"G1 X1 Y0 Z0", "G1 X1.2.3 Y0", "G1 X5 Y0"}, "(SEL=00,O,0,0,100,100,10,2,1,4,0)", {14}, 2},
        {"too deep", {"G1 X1 Y0 Z0", "G1 X2 Y0 Z-13", "G1 X5 Y0"},
         "(SEL=00,O,0,0,100,100,10,2,1,4,0)", {13, 14}, 2},
        {"exactly at the cutting height", {"G1 X0 Y0 Z-12", "G1 X2 Y0", "G1 X5 Y0"},
         "(SEL=00,O,0,0,100,100,10,2,1,4,0)", {}, 3},
        {"a bare G is G0", {"G Z0 X3 Y0"}, "(SEL=00,O,0,0,100,100,10,2,1,2,0)", {}, 1},
        {"lines beyond the program", {"G1 X1 Y0 Z0"}, "(SEL=00,O,0,0,100,100,10,2,1,900,0)", {}, 1},
        // Line fields no program can reach are damaged, as an unreadable centre is.
        {"a first line of 19 digits", {"G1 X1 Y0 Z0"},
         "(SEL=00,O,0,0,100,100,10,2,9223372036854775807,2,0)", {14}, 0},
        {"a last line of 19 digits below 0", {"G1 X1 Y0 Z0"},
         "(SEL=00,O,0,0,100,100,10,2,9223372036854775806,-9223372036854775807,0)", {14}, 0},
        {"a last line beyond a 64-bit number", {"G1 X1 Y0 Z0"},
         "(SEL=00,O,0,0,100,100,10,2,1,99999999999999999999,0)", {14}, 0},
        {"a first line beyond any memory", {"G1 X1 Y0 Z0"},
         "(SEL=00,O,0,0,100,100,10,2,281474976710657,2,0)", {14}, 0},
        {"a first line below 0 starts at the top", {"G1 X1 Y0 Z0"},
         "(SEL=00,O,0,0,100,100,10,2,-5,2,0)", {}, 1},
    };
    for (const Case& c : cases) {
        ResetMainState();
        Host h;
        h.areaW = 101;
        h.areaH = 101;
        h.Program(c.body, c.sel);
        simulieren(h, fast);
        EXPECT_EQ(h.messages, c.messages) << c.name;
        EXPECT_EQ(h.canvas.Drawn().size(), c.drawn) << c.name;
    }
}

TEST_F(Replay, StartsAfterTheHeaderAndEndsBeforeTheTrailer) {
    Main.HeaderLineCount = 1;
    Main.TrailerLineCount = 1;
    Host h;
    h.areaW = 101;
    h.areaH = 101;
    // SelHeaderLines 1: the body starts at line index 2; SelLastLine 0: it ends before the
    // trailer line.
    h.Program({"G1 X1 Y0 Z0", "G1 X2 Y0 Z0", "G1 X50 Y50 Z0"}, "(SEL=00,O,0,0,100,100,10,2,1,0,0)");
    simulieren(h, fast);
    EXPECT_EQ(h.canvas.Drawn().size(), 2u);
    EXPECT_EQ(h.meter.back(), 100);
}

TEST_F(Replay, AnAbortStopsInsideASteppedArcAndIsClearedAtTheEnd) {
    Host h;
    h.areaW = 101;
    h.areaH = 101;
    Main.SimTipAngle = 90;
    h.Program({"G1 X20 Y0 Z0", "G3 X0 Y20 Z-5", "G1 X0 Y0"}, "(SEL=01,O,50,50,100,100,10,2,1,4,0)");
    int lines = 0;
    h.onPump = [&] {
        if (h.canvas.Drawn().size() > 3 && lines++ == 0) Main.AbortRequested = true;
    };
    simulieren(h, fast);
    // The arc would take Trunc(10 * 20 / 1) = 200 steps; it stops within a few.
    EXPECT_LT(h.canvas.Drawn().size(), 10u);
    EXPECT_FALSE(Main.AbortRequested);
}

// A long fast replay reads its lines ahead on several threads; the cancel button still
// stops it at the line where it is pressed, and the meter shows how far it came.
TEST_F(Replay, ALongFastReplayStopsAtTheLineOfTheAbort) {
    Host h;
    h.areaW = 1001;
    h.areaH = 101;
    std::vector<std::string> body;
    for (int i = 0; i < 100000; ++i) body.push_back("G1 X" + std::to_string(i % 1000) + " Y0 Z0");
    h.Program(body, "(SEL=00,O,0,0,1000,100,10,2,1,0,0)");
    h.onPump = [&] {
        if (h.pumps == 60001) Main.AbortRequested = true;
    };
    simulieren(h, fast);
    // The prepared picture is pumped once, then every line: the abort comes before the
    // 60000th line is drawn.
    EXPECT_EQ(h.canvas.Drawn().size(), 59999u);
    ASSERT_FALSE(h.meter.empty());
    EXPECT_EQ(h.meter.back(), 60);
    EXPECT_FALSE(Main.AbortRequested);
}

TEST_F(Replay, ASteppedArcNearTheOriginGetsOneStep) {
    Host h;
    h.areaW = 1001;
    h.areaH = 1001;
    Main.SimTipAngle = 90;
    // 10 mm on 1000 pixels; the width changes by 10 px but R / MmPerPixelX is 0.
    h.Program({"G1 X0 Y0 Z0", "G3 X0 Y0 Z-0.05"}, "(SEL=01,O,5,5,10,10,10,2,1,3,0)");
    simulieren(h, fast);
    EXPECT_EQ(h.canvas.Drawn().size(), 2u);
    EXPECT_TRUE(h.messages.empty());
}

TEST_F(Replay, PacedReplayWaitsForTheTimerEveryLine) {
    Host h;
    h.areaW = 101;
    h.areaH = 101;
    ReplayOptions paced{false, false, false, 4};
    h.Program({"G1 X1 Y0 Z0", "G1 X2 Y0 Z0", "G1 X3 Y0 Z0"}, "(SEL=00,O,0,0,100,100,10,2,1,4,0)");
    simulieren(h, paced);
    EXPECT_EQ(h.ticks, 3);
    ReplayOptions printing{true, false, false, 4};
    h.ticks = 0;
    simulieren(h, printing);
    EXPECT_EQ(h.ticks, 0);
}

TEST_F(Replay, WordValuesRead) {
    double v = 7;
    EXPECT_FALSE(ParseWordValue("X12.5", v));
    EXPECT_EQ(v, 12.5);
    EXPECT_FALSE(ParseWordValue("Z-0.3", v));
    EXPECT_EQ(v, -0.3);
    EXPECT_FALSE(ParseWordValue("X+5", v));
    EXPECT_EQ(v, 5);
    v = 7;
    EXPECT_TRUE(ParseWordValue("X1.2.3", v));
    EXPECT_TRUE(ParseWordValue("X-", v));
    EXPECT_TRUE(ParseWordValue("X", v));
    EXPECT_EQ(v, 7);
}

// Numbers as programs write them are read to the same double as the standard library's
// reading gives, up to the longest digit runs and at the edges of the plain form.
TEST_F(Replay, WordValuesReadToTheNearestDouble) {
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<int> digitCount(1, 18), digit(0, 9), coin(0, 3);
    for (int i = 0; i < 200000; ++i) {
        std::string text = coin(rng) == 0 ? "-" : "";
        const int n = digitCount(rng);
        const int point = coin(rng) == 0 ? -1 : int(rng() % std::uint64_t(n + 1));
        for (int k = 0; k < n; ++k) {
            if (k == point) text += '.';
            text += char('0' + digit(rng));
        }
        if (point == n) text += '.';
        double expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        double v = 7;
        ASSERT_FALSE(ParseWordValue("X" + text, v)) << text;
        ASSERT_EQ(std::memcmp(&v, &expected, sizeof v), 0) << text;  // -0 stays -0
    }
}

}  // namespace
