#pragma once
// Whole replays into pictures for the simulation tests: programs made by the generator from
// small grey pictures, and a host that draws them on the picture canvas.
#include "generation/MainState.h"
#include "generation/ProgramRun.h"
#include "generation/TestHost.h"
#include "platform/LineStore.h"
#include "simulation/ImageCanvas.h"
#include "simulation/Replay.h"

#include <QImage>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace replaypictures {

// What a program is made from: a square grey picture of `pixels` pixels a side for a
// workpiece of `size` mm a side, one pass down to the full thickness.
struct ProgramSetup {
    int strategy = 0;
    int pixels = 61;
    double size = 60.0;
    double pathSpacing = 2.0;
    double pointSpacing = 5.0;
    bool optimise = true;
    std::vector<std::string> boxes;  // further options ticked, e.g. "bogen_IJ"
    double angle = 0;                // the path angle of the oblique patterns
    std::function<int(int x, int y)> grey = [](int x, int y) {  // from the top
        return (x * 7 + y * 13 + (x * y) % 101) & 0xFF;
    };
};

inline void MakeProgram(TStrings& program, const ProgramSetup& p) {
    ResetMainState();
    Main.WorkBitmap = TBitmap(p.pixels, p.pixels, TPixelFormat::pf24bit);
    for (int y = 0; y < p.pixels; ++y) {
        for (int x = 0; x < p.pixels; ++x) {
            const int v = p.grey(x, y);
            Main.WorkBitmap.SetPixelAt(x, y, RGB(v, v, v));
        }
    }
    Main.wst_l = Main.wst_b = p.size;
    Main.PixelsPerMmX = Main.PixelsPerMmY = (p.pixels - 1) / p.size;
    Main.stepX = p.pathSpacing;
    Main.stepy = p.pointSpacing;
    Main.z_zustellung = -10;
    Main.ResolutionLevel = 3;
    Main.StrategyIndex = p.strategy;
    Main.Alpha = p.angle;
    Main.CentrePxX = Main.CentrePxY = p.pixels / 2;
    TestHost run;
    run.FieldsFromSettings(Main);
    run.boxes["Prg_optimieren"] = p.optimise;
    run.runOptimiser = p.optimise;
    for (const std::string& box : p.boxes) run.boxes[box] = true;
    CreateProgram(run);
    program.Clear();
    program.Swap(run.lines);
}

// Rows 2 mm apart, optimised, over a picture that darkens from the top to the bottom.
inline void MakeGradientRowProgram(TStrings& program) {
    ProgramSetup p;
    p.grey = [](int, int y) { return 255 - y * 255 / 60; };
    MakeProgram(program, p);
}

// Draws on its own picture through the picture canvas, or through the canvas a test makes.
class PictureHost : public ReplayHost {
public:
    PictureHost(const TStrings& lines, int areaW, int areaH) : lines_(lines), w_(areaW), h_(areaH) {}
    std::function<std::unique_ptr<ReplayCanvas>(QImage&)> makeCanvas = [](QImage& image) {
        return std::make_unique<ImageCanvas>(image);
    };
    QImage picture;

    const TStrings& ProgramLines() override { return lines_; }
    ReplayCanvas& Canvas() override { return *canvas_; }
    void AreaSize(int& w, int& h) override {
        w = w_;
        h = h_;
    }
    void PrepareImage(int w, int h, TColor background) override {
        canvas_.reset();
        picture = QImage(w, h, QImage::Format_RGB32);
        canvas_ = makeCanvas(picture);
        canvas_->Fill(background);
    }
    void Pump() override {}
    void WaitForTick() override { Sim.TimerTick = true; }
    int ShowFileMessage(int, char) override { return 1; }

private:
    const TStrings& lines_;
    int w_, h_;
    std::unique_ptr<ReplayCanvas> canvas_;
};

// The replay's picture.
inline QImage ReplayPicture(const TStrings& lines, int areaW, int areaH,
                            const ReplayOptions& options, PictureHost* use = nullptr) {
    PictureHost own(lines, areaW, areaH);
    PictureHost& host = use ? *use : own;
    simulieren(host, options);
    return host.picture;
}

}  // namespace replaypictures
