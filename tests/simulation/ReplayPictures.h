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

namespace replaypictures {

// A program of `strategy` over a workpiece of `size` x `size` mm whose grey level at the
// picture pixel (x, y) (from the top) is grey(x, y); one pass down to the full thickness.
inline void MakeProgram(TStrings& program, int strategy, int pixels, double size,
                        double pathSpacing, double pointSpacing, bool optimise,
                        const std::function<int(int x, int y)>& grey) {
    ResetMainState();
    Main.WorkBitmap = TBitmap(pixels, pixels, TPixelFormat::pf24bit);
    for (int y = 0; y < pixels; ++y) {
        for (int x = 0; x < pixels; ++x) {
            const int v = grey(x, y);
            Main.WorkBitmap.SetPixelAt(x, y, RGB(v, v, v));
        }
    }
    Main.wst_l = Main.wst_b = size;
    Main.PixelsPerMmX = Main.PixelsPerMmY = (pixels - 1) / size;
    Main.stepX = pathSpacing;
    Main.stepy = pointSpacing;
    Main.z_zustellung = -10;
    Main.ResolutionLevel = 3;
    Main.StrategyIndex = strategy;
    TestHost run;
    run.FieldsFromSettings(Main);
    run.boxes["Prg_optimieren"] = optimise;
    run.runOptimiser = optimise;
    CreateProgram(run);
    program.Clear();
    program.Swap(run.lines);
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
