#pragma once
// What the golden-program tests share: the pictures, the settings of one run, running it and
// comparing its program with an expected file line by line.
#include "generation/AngleDialogState.h"
#include "generation/MainState.h"
#include "generation/ProgramRun.h"
#include "generation/Strategies.h"
#include "platform/Application.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace golden {

using Lines = std::vector<std::string>;
using Picture = std::vector<std::vector<int>>;

// Grey levels row by row from the top; white, black, near-white and mid greys.
inline const Picture PicA = {
    {255, 255, 200, 128, 64, 0},
    {255, 254, 180, 100, 50, 0},
    {250, 220, 128, 128, 30, 10},
    {255, 200, 150, 90, 0, 0},
    {255, 255, 255, 128, 0, 254},
};
inline const Picture PicB = {
    {255, 128, 0, 128, 255},
    {200, 64, 0, 64, 200},
    {255, 255, 128, 255, 255},
    {0, 100, 200, 253, 255},
};

struct RunSetup {
    int strategy;
    const Picture* picture;
    double wst_l, wst_b, wst_d, max_tiefe, z_zustellung, stepX, stepy, faktor, zg0, min_deltaZ;
    int komma;
    double alpha;    // Alpha as the angle dialog left it
    double eingabe;  // the angle field
    const char* brackets;
    std::vector<std::string> boxes, header, trailer;
    // The radial patterns: the centre on the preview (pixels, Y downwards) and the preview's
    // size, and the angle dialog's corner count and radius ratio.
    int centrePxX = 0, centrePxY = 0, previewWidth = 0, previewHeight = 0;
    int corners = 3;
    double ratio = 5.0;
};

// Settings, fields, boxes and work bitmap of one run, from the values the program starts with.
inline void Prepare(TestHost& host, const RunSetup& s) {
    ResetMainState();
    Application->ResetCounters();
    Main.StrategyIndex = s.strategy;
    Main.ResolutionLevel = 3;  // 24 bits: the grey levels are sampled as they are
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
    Main.Alpha = s.alpha;
    Main.CommentBrackets = s.brackets;
    for (std::size_t i = 0; i < s.header.size(); ++i) Main.HeaderLines[i] = s.header[i];
    for (std::size_t i = 0; i < s.trailer.size(); ++i) Main.TrailerLines[i] = s.trailer[i];
    Main.WorkBitmap = GreyBitmap(*s.picture);
    Main.PixelsPerMmX = double(s.picture->front().size() - 1) / s.wst_l;
    Main.PixelsPerMmY = double(s.picture->size() - 1) / s.wst_b;
    ResetAngleDialogState();
    AngleDialog.CornerCount = s.corners;
    AngleDialog.RadiusRatio = s.ratio;
    Main.CentrePxX = s.centrePxX;
    Main.CentrePxY = s.centrePxY;
    host.previewWidth = s.previewWidth;
    host.previewHeight = s.previewHeight;
    host.FieldsFromSettings(Main);
    host.fields["eingabe"] = s.eingabe;
    for (const auto& b : s.boxes) host.boxes[b] = true;
}

inline Lines RunProgram(TestHost& host) {
    CreateProgram(host, BuiltInStrategies());
    return host.Program();
}

inline Lines ReadProgramFile(const std::string& name) {
    std::ifstream in(std::string(FRAXILON_TEST_DATA_DIR) + "/" + name + ".nc", std::ios::binary);
    EXPECT_TRUE(in) << "missing " << name << ".nc";
    Lines lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// The first differing line with both texts (blanks made visible by the brackets).
inline ::testing::AssertionResult SameProgram(const Lines& expected, const Lines& actual) {
    const std::size_t n = std::min(expected.size(), actual.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (expected[i] != actual[i]) {
            return ::testing::AssertionFailure() << "line " << i << " differs:\n  expected [" << expected[i]
                                                 << "]\n  actual   [" << actual[i] << "]";
        }
    }
    if (expected.size() != actual.size()) {
        auto f = ::testing::AssertionFailure();
        f << "expected " << expected.size() << " lines, got " << actual.size();
        if (n < expected.size()) f << "; first missing line " << n << " [" << expected[n] << "]";
        if (n < actual.size()) f << "; first extra line " << n << " [" << actual[n] << "]";
        return f;
    }
    return ::testing::AssertionSuccess();
}

}  // namespace golden
