// A program file: the input is loaded as the program editor loads a file, replayed as the
// simulation window replays it (into a small picture, which keeps the painting cheap), then
// numbered and freed of its blanks with "ausführen". The input's size picks the replay's
// options, so that one corpus reaches them all.
#include "FuzzSupport.h"

#include "generation/MainState.h"
#include "generation/ProgramRewrites.h"
#include "generation/RewriteHost.h"
#include "mainwindow/ProgramFiles.h"
#include "platform/LineStore.h"
#include "simulation/ImageCanvas.h"
#include "simulation/Replay.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <string_view>

namespace {

// The simulation window as the replay sees it, drawing into a picture of a fixed area.
class PictureHost final : public ReplayHost {
public:
    explicit PictureHost(const TStrings& lines) : lines_(lines) {}
    const TStrings& ProgramLines() override { return lines_; }
    ReplayCanvas& Canvas() override { return *canvas_; }
    void AreaSize(int& w, int& h) override {
        w = 160;
        h = 120;
    }
    void PrepareImage(int w, int h, TColor background) override {
        canvas_.reset();
        picture_ = QImage(w, h, QImage::Format_RGB32);
        canvas_ = std::make_unique<ImageCanvas>(picture_, 1);
        canvas_->Fill(background);
    }
    void Pump() override {}
    void WaitForTick() override { Sim.TimerTick = true; }
    int ShowFileMessage(int, char) override { return 1; }

private:
    const TStrings& lines_;
    QImage picture_;
    std::unique_ptr<ReplayCanvas> canvas_;
};

// The main window with both rewrites ticked.
class EditorHost final : public RewriteHost {
public:
    explicit EditorHost(TStrings& lines) : lines_(lines) {}
    TStrings& ProgramLines() override { return lines_; }
    int GetFieldValue(std::string_view, double&) override { return 1; }
    void SetFieldValue(std::string_view, double) override {}
    bool IsChecked(std::string_view box) override { return box == "zeilen_nr" || box == "leerzeichen"; }
    int ShowFileMessage(int, char) override { return 1; }

private:
    TStrings& lines_;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    InitFuzzTarget(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ResetMainState();
    Sim = SimulationState{};
    TStrings lines;
    if (!LoadProgramFile(WriteFuzzInput(data, size, "programm.nc"), lines)) return 0;

    ReplayOptions options;
    // The paced replay paints after every step, which costs the most: one input in four.
    options.fast = (size & 3) != 0;
    options.shadow = (size & 4) != 0;
    options.colourKind = 1 + int((size >> 3) & 3);
    options.threads = 1;
    PictureHost replay(lines);
    simulieren(replay, options);

    Main.AbortRequested = false;
    EditorHost editor(lines);
    option_runClick(editor);
    return 0;
}
