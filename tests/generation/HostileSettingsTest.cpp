// Program runs under hostile settings, as a new user or a damaged settings file would give
// them: the run refuses what it cannot write soundly, does bounded work that answers the
// cancel button, writes only finite numbers and never leads the tool sideways at rapid speed
// below the safe height.
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/ProgramRun.h"
#include "generation/RunState.h"
#include "generation/Strategies.h"
#include "platform/Application.h"
#include "ProgramChecks.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Picture = std::vector<std::vector<int>>;
using program_checks::Box;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The settings of one run, as the fields show them.
struct Settings {
    int strategy = 0;
    double wst_l = 50, wst_b = 40, wst_d = 10, max_tiefe = -10, z_zustellung = -10;
    double stepX = 10, stepy = 7, faktor = 1, zg0 = 1, min_deltaZ = 0.05;
    int komma = 2;
    double angle = 30;  // the angle dialog's field and Alpha
    Picture picture = Picture(5, std::vector<int>(6, 128));
    bool lastPixelOnTheEdge = true;  // else the far edge maps just beyond the bitmap
    std::vector<std::string> boxes;
    // Fields that do not read; their variables get the value given instead (a damaged file).
    std::vector<std::pair<std::string, double>> unreadable;
};

void Prepare(TestHost& host, const Settings& s) {
    ResetMainState();
    Application->ResetCounters();
    Main.StrategyIndex = s.strategy;
    Main.ResolutionLevel = 3;
    Main.wst_l = s.wst_l;
    Main.wst_b = s.wst_b;
    Main.wst_d = s.wst_d;
    Main.max_tiefe = s.max_tiefe;
    Main.z_zustellung = s.z_zustellung;
    Main.stepX = s.stepX;
    Main.stepy = s.stepy;
    Main.faktor = s.faktor;
    Main.zg0 = s.zg0;
    Main.min_deltaZ = s.min_deltaZ;
    Main.komma = std::uint8_t(s.komma);
    Main.Alpha = s.angle;
    Main.CommentBrackets = "()";
    Main.HeaderLines[0] = "%";
    Main.TrailerLines[0] = "M30";
    Main.WorkBitmap = GreyBitmap(s.picture);
    const double w = double(s.picture.front().size()), h = double(s.picture.size());
    Main.PixelsPerMmX = (s.lastPixelOnTheEdge ? w - 1 : w) / s.wst_l;
    Main.PixelsPerMmY = (s.lastPixelOnTheEdge ? h - 1 : h) / s.wst_b;
    host.FieldsFromSettings(Main);
    for (const auto& b : s.boxes) host.boxes[b] = true;
    for (const auto& [field, value] : s.unreadable) {
        host.fields.erase(field);
        MainState& m = Main;
        if (field == "wst_l") m.wst_l = value;
        if (field == "wst_b") m.wst_b = value;
        if (field == "wst_d") m.wst_d = value;
        if (field == "faktor") m.faktor = value;
        if (field == "zg0") m.zg0 = value;
        if (field == "stepX") m.stepX = value;
        if (field == "stepy") m.stepy = value;
        if (field == "min_deltaZ") m.min_deltaZ = value;
        if (field == "max_tiefe") m.max_tiefe = value;
        if (field == "z_zustellung") m.z_zustellung = value;
        if (field == "eingabe") m.Alpha = value;
    }
}

// What a watched run did: its program, the points it sampled, the most points sampled between
// two polls of the cancel button, and whether the watch cancelled it for its size.
struct Watched {
    Lines program;
    std::uint64_t samples = 0, mostBetweenPolls = 0, samplesAfterCancel = 0;
    bool cancelled = false;
    std::string error;
};

// Runs the program with the built-in patterns, counting the points between polls through the
// run state the patterns get. The run is cancelled once it has sampled `sampleBudget` points
// or written `lineBudget` lines, so that every run stays small.
Watched RunWatched(TestHost& host, std::uint64_t sampleBudget = 20000, std::size_t lineBudget = 20000) {
    Watched w;
    const RunState* current = nullptr;
    std::uint64_t atLastPoll = 0, atCancel = 0;
    auto watch = [&](RunState& r) {
        current = &r;
        w.samples = r.pointsSampled;
    };
    StrategyRoutines routines = BuiltInStrategies();
    // Every pattern routine, whatever its arguments, records the run state it works on.
    auto wrap = [&](auto& routine) {
        if (!routine) return;
        routine = [&watch, &w, inner = routine](RunState& r, auto... args) {
            watch(r);
            inner(r, args...);
            w.samples = r.pointsSampled;
        };
    };
    wrap(routines.RowStrategy);
    wrap(routines.ColumnStrategy);
    wrap(routines.CircleStrategy);
    wrap(routines.EllipseStrategy);
    wrap(routines.SpiralStrategy);
    wrap(routines.PolygonStrategy);
    wrap(routines.LabyrinthStrategy);
    wrap(routines.ObliqueStrategy);

    std::function<void()> poll = [&] {
        if (current) {
            const std::uint64_t now = current->pointsSampled;
            w.mostBetweenPolls = std::max(w.mostBetweenPolls, now - atLastPoll);
            atLastPoll = now;
            if (!w.cancelled && (now > sampleBudget || host.lines.Count() > lineBudget)) {
                w.cancelled = true;
                atCancel = now;
                Main.AbortRequested = true;
            }
        }
        Application->SetProcessMessagesHook(1, poll);
    };
    Application->SetProcessMessagesHook(1, poll);
    try {
        CreateProgram(host, routines);
    } catch (const std::exception& e) {
        w.error = e.what();
    } catch (...) {
        w.error = "unknown error";
    }
    Application->SetProcessMessagesHook(0, nullptr);
    // The points after the last poll count as well.
    w.mostBetweenPolls = std::max(w.mostBetweenPolls, w.samples - std::min(w.samples, atLastPoll));
    if (w.cancelled) w.samplesAfterCancel = w.samples - atCancel;
    w.program = host.Program();
    return w;
}

// The rectangle of the workpiece in program coordinates (about the centre for the radial
// patterns), with half a unit of the last decimal and the edge snap as margin.
Box WorkpieceBox(const MainState& s, double length, double width) {
    const double margin = 0.5 * std::pow(10.0, -double(s.komma)) + 0.001 + 1e-9 * std::max(length, width);
    return {-s.CircleCentreX, length - s.CircleCentreX, -s.CircleCentreY, width - s.CircleCentreY, margin};
}

// The safe height as the program writes it.
double WrittenSafeHeight(const MainState& s, double zg0) { return std::stod(FormatNumber(s.komma, zg0)); }

bool Refused(const TestHost& host, const Lines& program) {
    return program == Lines{"old program"} && host.messageTexts.size() + host.fileMessages.size() == 1;
}

// -- The repros: each row with the fault it showed and the sound result. ----------------------

enum class Expect { Program, Refused };

struct Repro {
    const char* name;
    const char* before;  // what the run did with the fault
    Settings settings;
    Expect expect;
    std::uint64_t mostSamples;  // for a program: the points it may sample at most
    const char* message = "";   // for a refusal: what its message names
};

void PrintTo(const Repro& r, std::ostream* os) { *os << r.name; }

Settings With(void (*change)(Settings&)) {
    Settings s;
    change(s);
    return s;
}

const Repro kRepros[] = {
    {"oblique_drilling_near_90_degrees", "22 lines in 2 s, 2^31 points sampled beyond the far corner",
     With([](Settings& s) { s.strategy = 15, s.angle = 89.9999999, s.wst_l = 2, s.wst_b = 1, s.stepX = s.stepy = 1; }),
     Expect::Program, 40},
    {"oblique_cross_three_passes_near_90_degrees", "7 s sampling outside the workpiece",
     With([](Settings& s) {
         s.strategy = 12, s.angle = 89.9999999, s.wst_l = 2, s.wst_b = 1, s.stepX = s.stepy = 1;
         s.z_zustellung = -4;
     }),
     Expect::Program, 120},
    {"very_wide_line_spacing", "billions of points along the one line beyond the corner",
     With([](Settings& s) { s.strategy = 11, s.stepX = 4e9, s.stepy = 4; }), Expect::Program, 10},
    {"negative_width", "7 lines in 3 s, the time growing with the area",
     With([](Settings& s) { s.strategy = 15, s.angle = 90, s.wst_l = 30000, s.wst_b = -30000; }), Expect::Refused, 0, "Länge, Breite und Dicke"},
    {"length_zero", "60 million lines against an estimate of 76: the memory refusal bypassed",
     With([](Settings& s) { s.strategy = 15, s.angle = 90, s.wst_l = 0, s.wst_b = 200000, s.stepX = 0.01; }),
     Expect::Refused, 0, "Länge, Breite und Dicke"},
    {"thickness_zero", "a flat program from a workpiece without thickness",
     With([](Settings& s) { s.wst_d = 0; }), Expect::Refused, 0, "Dicke"},
    {"huge_z_factor", "G1 X1 Y0 ZINF", With([](Settings& s) { s.faktor = 1e308; }), Expect::Refused, 0, "Z-Faktor"},
    {"huge_thickness", "ZINF", With([](Settings& s) { s.wst_d = 1e305; }), Expect::Refused, 0, "Dicke"},
    {"huge_thickness_factor_zero", "ZNAN", With([](Settings& s) { s.wst_d = 1e305, s.faktor = 0; }), Expect::Refused, 0, "Dicke"},
    {"safe_height_nan_behind_unreadable_field", "G0 ZNAN",
     With([](Settings& s) { s.unreadable = {{"zg0", kNaN}}; }), Expect::Refused, 0, "„G0-Hub“"},
    {"length_infinite_behind_unreadable_field", "INF in the parameter line",
     With([](Settings& s) { s.unreadable = {{"wst_l", kInf}}; }), Expect::Refused, 0, "„Länge“"},
    {"angle_nan_behind_unreadable_field", "no line of the pattern, NaN geometry",
     With([](Settings& s) { s.strategy = 16, s.unreadable = {{"eingabe", kNaN}}; }), Expect::Refused, 0, "Winkel"},
    {"safe_height_zero", "every rapid at the surface, sideways at Z0 over the cut",
     With([](Settings& s) { s.zg0 = 0; }), Expect::Refused, 0, "„G0-Hub“"},
    {"safe_height_below_the_surface", "rapids sideways at Z-1, through the material",
     With([](Settings& s) { s.strategy = 4, s.zg0 = -1; }), Expect::Refused, 0, "„G0-Hub“"},
    {"safe_height_written_as_zero", "G0 Z0 with two decimals for a safe height of 0.001",
     With([](Settings& s) { s.zg0 = 0.001; }), Expect::Refused, 0, "„G0-Hub“"},
    {"circle_negative_point_spacing", "400,404 lines against an estimate of 76, growing as 1/stepX",
     With([](Settings& s) { s.strategy = 1, s.stepX = 0.00001, s.stepy = -1; }), Expect::Refused, 0,
     "„Punktabstand“"},
    {"polygon_drilling_negative_point_spacing", "every corner of ever more rings, no point between",
     With([](Settings& s) { s.strategy = 19, s.stepX = 0.001, s.stepy = -5; }), Expect::Refused, 0,
     "„Punktabstand“"},
    {"z_factor_zero", "every point at Z = -thickness: the whole picture area cut through",
     With([](Settings& s) { s.faktor = 0; }), Expect::Refused, 0, "„Z-Faktor“ ist 0"},
    {"deepest_depth_above_the_surface", "G0 Z1, then G1 Z5: cuts above the rapids",
     With([](Settings& s) { s.max_tiefe = 5, s.z_zustellung = 5; }), Expect::Refused, 0, "„max. Tiefe“ liegt über"},
    {"infeed_above_the_surface", "one pass to Z = -10 in steps that climb, no warning",
     With([](Settings& s) { s.z_zustellung = 3; }), Expect::Refused, 0, "„Zustellung“ liegt über"},
    {"drilling_infeed_above_the_surface", "drills that start above the rapids",
     With([](Settings& s) { s.strategy = 5, s.max_tiefe = -4, s.z_zustellung = 0.5; }), Expect::Refused, 0,
     "„Zustellung“ liegt über"},
    {"deepest_depth_below_the_plate", "G1 Z-9 on a 2 mm plate with the contour: 7 mm into the machine table",
     With([](Settings& s) { s.wst_d = 2, s.max_tiefe = -9, s.z_zustellung = -3, s.boxes = {"kante_fraesen"}; }),
     Expect::Refused, 0, "„max. Tiefe“ (-9) liegt unter der Unterseite des Werkstücks („Dicke“ 2)"},
    {"deepest_depth_right_through_the_plate", "a cut right through stays allowed",
     With([](Settings& s) { s.wst_d = 2, s.max_tiefe = -2, s.z_zustellung = -2, s.boxes = {"kante_fraesen"}; }),
     Expect::Program, 64},
    {"path_spacing_zero", "\"Das Werkstück ist für eine Bahn zu klein\" for a spacing of 0",
     With([](Settings& s) { s.stepX = 0; }), Expect::Refused, 0, "„Bahnabstand“ muss größer als 0"},
    {"point_spacing_zero_oblique", "\"Das Werkstück ist für eine Bahn zu klein\" for a spacing of 0",
     With([](Settings& s) { s.strategy = 11, s.stepy = 0; }), Expect::Refused, 0, "„Punktabstand“ muss größer als 0"},
    {"strategy_20", "a header and no body", With([](Settings& s) { s.strategy = 20; }), Expect::Refused, 0, "Nummer 20"},
    {"strategy_minus_1", "a header and no body", With([](Settings& s) { s.strategy = -1; }), Expect::Refused, 0, "Nummer -1"},
};

class HostileRepro : public ::testing::TestWithParam<Repro> {
protected:
    void TearDown() override { Application->ResetCounters(); }
};

TEST_P(HostileRepro, EndsSoundly) {
    const Repro& c = GetParam();
    SCOPED_TRACE(c.before);
    TestHost host;
    Prepare(host, c.settings);
    host.lines.Add("old program");
    const Watched w = RunWatched(host);
    EXPECT_EQ(w.error, "");
    if (c.expect == Expect::Refused) {
        // Refused with one message before the editor changed: the old program stays.
        EXPECT_TRUE(Refused(host, w.program)) << w.program.size() << " lines";
        ASSERT_EQ(host.messageTexts.size(), 1u);
        EXPECT_NE(host.messageTexts[0].find(c.message), std::string::npos) << host.messageTexts[0];
        EXPECT_EQ(w.samples, 0u);
        EXPECT_EQ(host.clipboardCopies, 0);
        return;
    }
    ASSERT_GT(w.program.size(), 3u);
    EXPECT_NE(w.program[1].find("SEL="), std::string::npos);
    EXPECT_TRUE(host.messageTexts.empty());
    EXPECT_LE(w.samples, c.mostSamples);
    EXPECT_TRUE(program_checks::WellFormed(w.program, WorkpieceBox(Main, c.settings.wst_l, c.settings.wst_b)));
    EXPECT_TRUE(program_checks::NoRapidSidewaysBelowSafeHeight(w.program, c.settings.zg0));
}

INSTANTIATE_TEST_SUITE_P(Repros, HostileRepro, ::testing::ValuesIn(kRepros),
                         [](const ::testing::TestParamInfo<Repro>& p) { return std::string(p.param.name); });

TEST(HostileSettings, ObliqueCrossRetractsWhereTheToolStands) {
    // A black 7 x 5 picture on a 6 x 4 workpiece at 30 degrees: the second half's lines used
    // to start with G0 X6 Y0 Z1 right after G1 X0 Y0 Z-10 (and after G1 X3 Y0 Z-10), a rapid
    // move from 10 mm deep sideways through the material.
    TestHost host;
    Settings s;
    s.strategy = 12, s.angle = 30, s.wst_l = 6, s.wst_b = 4, s.stepX = 2, s.stepy = 1;
    s.picture = Picture(5, std::vector<int>(7, 0));
    Prepare(host, s);
    const Lines program = RunWatched(host).program;
    ASSERT_GT(program.size(), 10u);
    EXPECT_TRUE(program_checks::NoRapidSidewaysBelowSafeHeight(program, 1));
    // Every rapid move after a cut rises where the cut ended.
    int retractsAtTheCorners = 0;
    for (std::size_t i = 1; i < program.size(); ++i) {
        if (program[i].rfind("G0 X", 0) != 0 || program[i - 1].rfind("G1 X", 0) != 0) continue;
        const auto cut = program_checks::MoveWords(program[i - 1]), rapid = program_checks::MoveWords(program[i]);
        EXPECT_EQ(Lines(rapid.begin() + 1, rapid.begin() + 3), Lines(cut.begin() + 1, cut.begin() + 3)) << "line " << i;
        if (program[i - 1] == "G1 X0 Y0 Z-10" || program[i - 1] == "G1 X3 Y0 Z-10") ++retractsAtTheCorners;
    }
    EXPECT_EQ(retractsAtTheCorners, 2);
}

TEST(HostileSettings, StretchesOfPointsThatWriteNothingStillPollTheCancelButton) {
    // Points finished by an earlier pass (a white picture with the infeed optimisation) write
    // nothing and so pump nothing by themselves; one long oblique line pumps only at its end.
    struct Case {
        const char* name;
        int strategy;
        double angle, wst_l, wst_b, stepX, stepy;
        bool white;
    } cases[] = {
        {"rows of finished points", 0, 0, 100, 1, 1, 0.002, true},
        {"columns of finished points", 13, 0, 1, 100, 1, 0.002, true},
        {"one long oblique line", 15, 45, 30, 30, 20, 0.001, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TestHost host;
        Settings s;
        s.strategy = c.strategy, s.angle = c.angle, s.wst_l = c.wst_l, s.wst_b = c.wst_b;
        s.stepX = c.stepX, s.stepy = c.stepy;
        if (c.white) {
            s.picture = Picture(3, std::vector<int>(3, 255));
            s.boxes = {"zustellung_optimieren"};
        }
        Prepare(host, s);
        const Watched w = RunWatched(host, 30000, 30000);
        EXPECT_GT(w.samples, 20000u);
        EXPECT_LE(w.mostBetweenPolls, 300u);
        // Cancelled for its size, the run stops at the next poll.
        EXPECT_TRUE(w.cancelled);
        EXPECT_LE(w.samplesAfterCancel, 300u);
        EXPECT_TRUE(w.program.empty());
    }
}

// The patterns the runs below take; the radial patterns join this table when they exist.
const int kPatterns[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};

TEST(HostileSettings, EveryPatternPassCountAndBoxRetractsAboveTheMaterial) {
    // A picture of white, black and grey patches, so that paths break inside the workpiece,
    // and later passes find points finished when the infeed optimisation is on.
    const Picture patches = {
        {255, 0, 128, 255, 30, 255, 200},
        {0, 255, 255, 60, 255, 0, 255},
        {128, 255, 0, 255, 90, 255, 10},
        {255, 40, 255, 0, 255, 160, 255},
        {0, 255, 220, 255, 0, 255, 0},
    };
    const std::vector<std::vector<std::string>> boxSets = {
        {}, {"kante_fraesen"}, {"stoppen"}, {"Prg_optimieren"}, {"zustellung_optimieren"}, {"treppe"},
        {"achse_90_grad"},
        {"kante_fraesen", "stoppen", "Prg_optimieren", "zustellung_optimieren", "treppe", "achse_90_grad"},
    };
    for (int pattern : kPatterns) {
        for (double passes : {1.0, 3.0}) {
            for (double angle : {30.0, 150.0, 250.0}) {
                for (const auto& boxes : boxSets) {
                    std::ostringstream name;
                    name << "pattern " << pattern << " passes " << passes << " angle " << angle << " boxes";
                    for (const auto& b : boxes) name << " " << b;
                    SCOPED_TRACE(name.str());
                    Settings s;
                    s.strategy = pattern, s.angle = angle, s.wst_l = 30, s.wst_b = 20, s.stepX = 3, s.stepy = 2;
                    s.z_zustellung = s.max_tiefe / passes;
                    s.picture = patches;
                    s.boxes = boxes;
                    TestHost host;
                    Prepare(host, s);
                    const Watched w = RunWatched(host);
                    ASSERT_FALSE(w.cancelled);
                    ASSERT_GT(w.program.size(), 10u);
                    EXPECT_TRUE(program_checks::WellFormed(w.program, WorkpieceBox(Main, s.wst_l, s.wst_b)));
                    EXPECT_TRUE(program_checks::NoRapidSidewaysBelowSafeHeight(w.program, s.zg0));
                }
            }
        }
    }
}

// Every pattern, with and without the workpiece contour, raw and optimised, in one pass and in
// passes with stops: the first move rises straight up from wherever the tool stands. The
// contour's first move and the radial patterns' first move to their centre used to go
// sideways at the tool's height.
TEST(HostileSettings, EveryProgramRisesBeforeItsFirstSidewaysMove) {
    for (int pattern : kPatterns) {
        for (bool contour : {false, true}) {
            for (bool optimised : {false, true}) {
                for (bool stops : {false, true}) {
                    SCOPED_TRACE(testing::Message() << "pattern " << pattern << " contour " << contour << " optimised "
                                                    << optimised << " stops " << stops);
                    Settings s;
                    s.strategy = pattern, s.wst_l = 30, s.wst_b = 20, s.stepX = 3, s.stepy = 2, s.zg0 = 2.5;
                    if (stops) s.z_zustellung = s.max_tiefe / 2, s.boxes = {"stoppen"};
                    if (contour) s.boxes.push_back("kante_fraesen");
                    if (optimised) s.boxes.push_back("Prg_optimieren");
                    TestHost host;
                    Prepare(host, s);
                    host.runOptimiser = optimised;
                    const Watched w = RunWatched(host);
                    ASSERT_GT(w.program.size(), 10u);
                    EXPECT_TRUE(program_checks::RisesBeforeItsFirstSidewaysMove(w.program, s.zg0));
                }
            }
        }
    }
}

// -- Random runs ---------------------------------------------------------------------------

// Random settings from a fixed seed, mostly sensible, often extreme. The distributions are
// made from the engine's raw numbers (whose sequence the standard fixes), so every platform
// draws the same runs.
class Draw {
public:
    explicit Draw(std::uint32_t seed) : engine_(seed) {}

    // How often a value is one of the extremes (the rest of the time it is sensible).
    double extremeChance = 0.15;

    double Unit() { return double(engine_()) / 4294967296.0; }
    int Below(int n) { return int(Unit() * n); }
    bool Chance(double p) { return Unit() < p; }
    double Between(double lo, double hi) { return lo + (hi - lo) * Unit(); }
    template <typename T, std::size_t N>
    T OneOf(const T (&values)[N]) { return values[std::size_t(Below(int(N)))]; }

    // A length-like value around `typical`, or now and then one of the extreme values.
    double Measure(double typical, const double (&extremes)[8]) {
        if (!Chance(extremeChance)) return typical * std::exp(Between(-2.5, 1.0));
        return OneOf(extremes);
    }

private:
    std::mt19937 engine_;
};

Settings RandomSettings(Draw& d, std::string& description) {
    Settings s;
    static const double measures[8] = {0, -30, 1e-4, 0.01, 1e12, 1e305, kNaN, kInf};
    static const double spacings[8] = {0, -5, 1e-5, 4e9, 1e300, 0.001, kNaN, -kInf};
    static const double factors[8] = {0, -2, 5, 1e308, -1e300, 1e-300, kNaN, kInf};
    static const double angles[] = {0, 90, 180, 270, 360, 89.9999999, 0.0000001, 179.99999999, 45, -30, 1e12, kNaN};
    static const int hostilePatterns[] = {-1, 20, 99, std::numeric_limits<int>::min()};

    // Half of the runs have sensible settings but for their extreme geometry (angles, spacings
    // much wider or narrower than the workpiece, one to many passes, every box).
    d.extremeChance = d.Chance(0.5) ? 0.12 : 0.0;
    const double sensible = 1 - d.extremeChance;
    s.strategy = d.Chance(1 - d.extremeChance / 3) ? d.OneOf(kPatterns) : d.OneOf(hostilePatterns);
    s.wst_l = d.Measure(30, measures);
    s.wst_b = d.Measure(30, measures);
    s.wst_d = d.Measure(10, measures);
    s.stepX = d.Measure(6, spacings);
    s.stepy = d.Measure(5, spacings);
    s.faktor = d.Chance(sensible) ? d.Between(0, 2) : d.OneOf(factors);
    s.zg0 = d.Chance(sensible) ? d.Between(0.5, 5) : d.OneOf(factors);
    s.min_deltaZ = d.Chance(sensible) ? d.Between(0, 0.2) : d.OneOf(factors);
    // A sensible deepest depth lies within the plate; one below it is refused.
    const bool plate = std::isfinite(s.wst_d) && s.wst_d > 0;
    s.max_tiefe = d.Chance(sensible) ? -d.Between(0.05, 1) * (plate ? s.wst_d : 10) : d.OneOf(factors);
    const double passes = d.Chance(0.7) ? 1 : d.Between(1, 6);
    s.z_zustellung = d.Chance(sensible) ? s.max_tiefe / passes : d.OneOf(factors);
    s.komma = d.Chance(sensible) ? d.Below(4) : d.Below(8);
    s.angle = d.Chance(0.7) ? d.Between(0, 360) : d.OneOf(angles);
    const int w = 1 + d.Below(8), h = 1 + d.Below(8);
    const int style = d.Below(4);  // random greys, black, white, stripes
    s.picture = Picture(std::size_t(h), std::vector<int>(std::size_t(w)));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.picture[std::size_t(y)][std::size_t(x)] =
                style == 0 ? d.Below(256) : style == 1 ? 0 : style == 2 ? 255 : ((x + y) % 2) * 255;
    s.lastPixelOnTheEdge = d.Chance(0.8);
    static const char* const boxes[] = {"kante_fraesen", "stoppen", "Prg_optimieren", "zustellung_optimieren",
                                        "treppe", "achse_90_grad"};
    for (const char* box : boxes)
        if (d.Chance(0.3)) s.boxes.push_back(box);
    if (d.Chance(d.extremeChance / 2)) {
        static const char* const fields[] = {"wst_l", "wst_b", "wst_d", "faktor", "zg0", "stepX", "stepy",
                                             "min_deltaZ", "max_tiefe", "z_zustellung", "eingabe"};
        s.unreadable.push_back({d.OneOf(fields), d.Chance(0.5) ? kNaN : 7.0});
    }

    std::ostringstream out;
    out.precision(17);
    out << "strategy " << s.strategy << " l " << s.wst_l << " b " << s.wst_b << " d " << s.wst_d << " stepX "
        << s.stepX << " stepy " << s.stepy << " faktor " << s.faktor << " zg0 " << s.zg0 << " min_deltaZ "
        << s.min_deltaZ << " max_tiefe " << s.max_tiefe << " z_zustellung " << s.z_zustellung << " komma "
        << s.komma << " angle " << s.angle << " picture " << w << "x" << h << " style " << style << " edge "
        << s.lastPixelOnTheEdge << " boxes";
    for (const auto& b : s.boxes) out << " " << b;
    for (const auto& [field, value] : s.unreadable) out << " unreadable " << field << "=" << value;
    description = out.str();
    return s;
}

TEST(HostileSettings, RandomRunsEndQuicklyEmptyWithAMessageOrWellFormed) {
    constexpr int kRuns = 1000;
    Draw d(20261210);
    int programs = 0, refusals = 0;
    for (int run = 0; run < kRuns; ++run) {
        std::string description;
        const Settings s = RandomSettings(d, description);
        SCOPED_TRACE(testing::Message() << "run " << run << ": " << description);
        TestHost host;
        Prepare(host, s);
        host.lines.Add("old program");
        const Watched w = RunWatched(host);
        ASSERT_EQ(w.error, "");
        EXPECT_LE(w.mostBetweenPolls, 1024u);
        if (w.cancelled) {
            EXPECT_LE(w.samplesAfterCancel, 1024u);
            EXPECT_TRUE(w.program.empty());
            continue;
        }
        const bool message = !host.messageTexts.empty() || !host.fileMessages.empty();
        if (message) {
            // Refused before the editor changed, or ended by the pattern (too few paths).
            EXPECT_TRUE(w.program == Lines{"old program"} || w.program.empty()) << w.program.size() << " lines";
            EXPECT_EQ(host.clipboardCopies, 0);
            ++refusals;
            continue;
        }
        ++programs;
        const double length = host.fields.count("wst_l") ? host.fields["wst_l"] : Main.wst_l;
        const double width = host.fields.count("wst_b") ? host.fields["wst_b"] : Main.wst_b;
        ASSERT_GE(w.program.size(), 3u);
        EXPECT_NE(w.program[1].find("SEL="), std::string::npos);
        EXPECT_TRUE(program_checks::WellFormed(w.program, WorkpieceBox(Main, length, width)));
        EXPECT_TRUE(program_checks::NoRapidSidewaysBelowSafeHeight(w.program, WrittenSafeHeight(Main, Main.zg0)));
        EXPECT_TRUE(program_checks::RisesBeforeItsFirstSidewaysMove(w.program, WrittenSafeHeight(Main, Main.zg0)));
        // The memory estimate bounds what was written (three lines a point at most), the
        // labyrinth's too, whose rings run along the edges they have reached again.
        double infeed = Main.z_zustellung;
        const auto passes = ComputePassCount(Main.max_tiefe, infeed);
        ASSERT_TRUE(passes.has_value());
        EXPECT_LE(w.program.size(), EstimateProgramLines(s.strategy, length, width, Main.stepX, Main.stepy, *passes,
                                                         true, Main.CircleCentreX, Main.CircleCentreY));
    }
    // The draws reach both ends.
    EXPECT_GT(programs, kRuns / 4);
    EXPECT_GT(refusals, kRuns / 10);
}

}  // namespace
