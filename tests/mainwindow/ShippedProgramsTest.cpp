// Programs written with the shipped configuration run on the controllers: every pattern with
// one and three passes, the arc box on and off, optimised or not, numbered or not, replayed by
// the test interpreter with LinuxCNC's rules and, without arcs, with grbl 1.1's. Nothing is
// refused, the program end is reached, the machine stops once before every pass, no rapid
// moves sideways below the surface or down into the material, and the tool ends over the
// origin at the safe height.
//
// With FRAXILON_CONTROLLER_PROGRAMS naming a folder, the programs are also written there, on
// the shipped workpiece instead of the small one, for a check with a real interpreter, and
// those without line numbers also saved in 3 and in 7 parts.
#include "generation/AngleDialogState.h"
#include "generation/MainState.h"
#include "generation/ProgramRewrites.h"
#include "generation/ProgramRun.h"
#include "generation/Strategies.h"
#include "generation/TestHost.h"
#include "generation/ToolpathReplay.h"
#include "mainwindow/ConfigFile.h"
#include "mainwindow/ProgramFiles.h"
#include "mainwindow/TextFileLines.h"
#include "platform/Application.h"
#include "WindowFixture.h"

#include "SmallDepthPicture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kNames[] = {"rows_mill",        "circle_mill",        "ellipse_mill",   "spiral_mill",
                              "rows_drill",       "circle_drill",       "ellipse_drill",  "spiral_drill",
                              "labyrinth_mill",   "columns_mill",       "cross_mill",     "oblique_mill",
                              "oblique_cross_mill", "columns_drill",    "labyrinth_drill", "oblique_drill",
                              "oblique_cross_drill", "checkered_drill", "polygon_mill",   "polygon_drill"};

struct Variant {
    int passes;
    bool arcs, optimise, numbering;
};

std::string NameOf(int strategy, const Variant& v) {
    return std::string(kNames[strategy]) + "_" + std::to_string(v.passes) + "pass" + (v.arcs ? "_arcs" : "") +
           (v.optimise ? "_optimised" : "") + (v.numbering ? "_numbered" : "");
}

const char* DumpFolder() { return std::getenv("FRAXILON_CONTROLLER_PROGRAMS"); }

// The settings as the program starts with the shipped configuration file, the fields showing
// them, and the main window's boxes as they start, with a stop before every pass.
void RunWithShippedConfiguration(TestHost& host, int strategy, const Variant& v) {
    ResetMainState();
    ResetAngleDialogState();
    Application->ResetCounters();
    auto in = TextLineReader::Open(ShippedDataDir() + "Fraxilon.ini");
    ASSERT_TRUE(in.has_value());
    ASSERT_EQ(ReadConfiguration(*in, Main), ConfigStatus::Ok);
    Main.wst_l = DumpFolder() ? Main.DefaultLength : 60;
    Main.wst_b = DumpFolder() ? Main.DefaultWidth : 40;
    Main.z_zustellung = Main.max_tiefe / v.passes;
    Main.StrategyIndex = strategy;
    Main.ResolutionLevel = 3;
    Main.Alpha = 30;
    const auto picture = SmallDepthPicture();
    Main.WorkBitmap = GreyBitmap(picture);
    Main.PixelsPerMmX = double(picture.front().size() - 1) / Main.wst_l;
    Main.PixelsPerMmY = double(picture.size() - 1) / Main.wst_b;
    // The circle centre in the middle of the preview.
    host.previewWidth = int(Main.wst_l);
    host.previewHeight = int(Main.wst_b);
    Main.CentrePxX = host.previewWidth / 2;
    Main.CentrePxY = host.previewHeight / 2;
    AngleDialog.CornerCount = 5;
    host.FieldsFromSettings(Main);
    host.boxes = {{"Prg_optimieren", v.optimise}, {"zustellung_optimieren", true}, {"stoppen", true},
                  {"bogen_IJ", v.arcs},           {"zeilen_nr", v.numbering}};
    host.runOptimiser = true;
    CreateProgram(host, BuiltInStrategies());
    ASSERT_TRUE(host.messageTexts.empty()) << host.messageTexts.front();
    ASSERT_TRUE(host.fileMessages.empty());
    if (v.numbering) option_runClick(host);
}

// Rapids that move sideways below the surface or go down into the material, as the first one.
std::string RapidThroughTheMaterial(const std::vector<CutStep>& cut) {
    for (const CutStep& s : cut) {
        if (s.kind != CutStep::RapidInMaterial) continue;
        const bool sideways = std::fabs(s.to.x - s.from.x) > 1e-9 || std::fabs(s.to.y - s.from.y) > 1e-9;
        const bool down = s.to.z < 0 && s.to.z < s.from.z;
        if (sideways || down) {
            std::ostringstream os;
            os << s;
            return os.str();
        }
    }
    return {};
}

class ShippedPrograms : public ::testing::TestWithParam<int> {
protected:
    void TearDown() override { Application->ResetCounters(); }
};

TEST_P(ShippedPrograms, RunOnTheControllers) {
    const int strategy = GetParam();
    std::vector<Variant> variants;
    for (int passes : {1, 3}) {
        for (bool arcs : {false, true}) {
            // The arc box acts on the milled circle only; the run unticks it elsewhere.
            if (arcs && strategy != 1) continue;
            for (bool optimise : {false, true})
                for (bool numbering : {false, true}) variants.push_back({passes, arcs, optimise, numbering});
        }
    }
    for (const Variant& v : variants) {
        const std::string name = NameOf(strategy, v);
        SCOPED_TRACE(name);
        TestHost host;
        RunWithShippedConfiguration(host, strategy, v);
        if (HasFatalFailure()) return;
        ASSERT_GT(host.lines.Count(), 8u);
        if (const char* folder = DumpFolder()) {
            ASSERT_TRUE(WriteProgramPart(std::string(folder) + "/" + name + ".nc", {}, host.lines,
                                         {0, host.lines.Count()}, {}));
            // Saved in parts as "prg. speichern" saves them, each part for a check on its own.
            for (const int parts : {3, 7}) {
                if (v.numbering) break;
                SaveRequest r;
                r.count = parts;
                r.directory = std::string(folder) + "/";
                r.names = ProgramListNames(name + "_" + std::to_string(parts) + "parts_", parts);
                r.headerLines.assign(Main.HeaderLines.begin(), Main.HeaderLines.end());
                r.trailerLines.assign(Main.TrailerLines.begin(), Main.TrailerLines.end());
                r.safeHeight = Main.zg0;
                r.decimals = Main.komma;
                ASSERT_EQ(SaveProgram(r, host.lines), 0);
            }
        }

        ToolpathReplay linuxCnc(0.01, {0, 0, 0}, {Controller::LinuxCnc});
        linuxCnc.Replay(host.lines);
        EXPECT_EQ(linuxCnc.FirstRefusal(), "");
        EXPECT_TRUE(linuxCnc.EndReached());
        EXPECT_EQ(linuxCnc.Stops(), v.passes > 1 ? std::size_t(v.passes) : 0u);
        EXPECT_EQ(RapidThroughTheMaterial(linuxCnc.Cut()), "");
        ASSERT_FALSE(linuxCnc.Cut().empty());
        const CutStep& end = linuxCnc.Cut().back();
        EXPECT_EQ(end.kind, CutStep::End);
        EXPECT_EQ(end.to.x, 0);
        EXPECT_EQ(end.to.y, 0);
        EXPECT_EQ(end.to.z, Main.zg0);

        ToolpathReplay grbl(0.01, {0, 0, 0}, {Controller::Grbl});
        grbl.Replay(host.lines);
        if (v.arcs) {
            // grbl knows no absolute arc centres: its users leave the arc box off.
            EXPECT_FALSE(grbl.Refused().empty());
        } else {
            EXPECT_EQ(grbl.FirstRefusal(), "");
            EXPECT_TRUE(grbl.EndReached());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Patterns, ShippedPrograms, ::testing::Range(0, 20),
                         [](const ::testing::TestParamInfo<int>& p) { return std::string(kNames[p.param]); });

}  // namespace
