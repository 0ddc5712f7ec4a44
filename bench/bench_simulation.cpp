// Throughput of a fast replay (no pacing, picture hidden) of a whole row program into a
// 1600 x 1600 picture, in lines per second of wall time: the replay reads and paints on
// every core. And the time printing a replay takes.
#include "generation/MainState.h"
#include "generation/ProgramRun.h"
#include "platform/Application.h"
#include "platform/LineStore.h"
#include "simulation/ImageCanvas.h"
#include "simulation/Replay.h"
#include "simulation/SimulationWindow.h"
#include "TestHost.h"
#include "../tests/support/ScriptedServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

// The varied grey 6001 x 6001 work bitmap of the run benchmark: 600 x 600 mm at 0.1 mm.
void PrepareWorkpiece(int size) {
    ResetMainState();
    Main.WorkBitmap = TBitmap(size, size, TPixelFormat::pf24bit);
    for (int y = 0; y < size; ++y) {
        std::uint8_t* row = Main.WorkBitmap.ScanLine(y);
        for (int x = 0; x < size; ++x) {
            const std::uint8_t v = std::uint8_t((x * 7 + y * 13 + (x * y) % 101) & 0xFF);
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
        }
    }
    Main.wst_l = Main.wst_b = (size - 1) / 10.0;
    Main.PixelsPerMmX = Main.PixelsPerMmY = 10.0;
    Main.stepX = Main.stepy = 0.1;
    Main.z_zustellung = -10;
    Main.ResolutionLevel = 3;
    Main.DepthFullScale = 16777215.0;
}

class BenchHost final : public ReplayHost {
public:
    BenchHost(const TStrings& lines, QImage& image) : lines_(lines), image_(image) {}
    const TStrings& ProgramLines() override { return lines_; }
    ReplayCanvas& Canvas() override { return *canvas_; }
    void AreaSize(int& w, int& h) override { w = h = 1600; }
    void PrepareImage(int w, int h, TColor background) override {
        canvas_.reset();
        image_ = QImage(w, h, QImage::Format_RGB32);
        canvas_ = std::make_unique<ImageCanvas>(image_);
        canvas_->Fill(background);
    }
    void Pump() override { Application->ProcessMessages(); }
    void WaitForTick() override {}
    int ShowFileMessage(int, char) override { return 1; }

private:
    const TStrings& lines_;
    QImage& image_;
    std::unique_ptr<ImageCanvas> canvas_;
};

void BM_FastReplayOfARowProgram(benchmark::State& state) {
    const int size = int(state.range(0));
    PrepareWorkpiece(size);
    TestHost run;
    run.FieldsFromSettings(Main);
    run.boxes["Prg_optimieren"] = false;
    CreateProgram(run);
    // An image of its own, so the canvas's painter is gone before the image.
    QImage image(1600, 1600, QImage::Format_RGB32);
    std::uint64_t lines = 0;
    for (auto _ : state) {
        BenchHost host(run.lines, image);
        simulieren(host, ReplayOptions{false, true, state.range(1) != 0, 4});
        lines += run.lines.Count();
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["lines_per_s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
    state.counters["program_lines"] = double(run.lines.Count());
    state.counters["peak_RSS_MB"] = double(usage.ru_maxrss) / 1024.0;
}
// Arguments: the work bitmap's size and the shadow box. 1501 is a 150 mm workpiece at
// 0.1 mm, a program of 2.26 M lines; 6001 one of 600 mm, 36 M lines.
BENCHMARK(BM_FastReplayOfARowProgram)->Args({1001, 0})->Args({1501, 0})->Args({1501, 1})->Args({6001, 0})->Args({6001, 1})->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Printing the simulation on an A4 page at 1200 dpi to a PDF file: a shaded replay of a
// 600 x 600 mm workpiece at 1 mm steps (361,201 program lines), fitted to the page, in
// black and white, through the window's "drucken".
void BM_PrintingAShadedReplay(benchmark::State& state) {
    ResetMainState();
    constexpr int size = 601;
    Main.WorkBitmap = TBitmap(size, size, TPixelFormat::pf24bit);
    for (int y = 0; y < size; ++y) {
        std::uint8_t* row = Main.WorkBitmap.ScanLine(y);
        for (int x = 0; x < size; ++x) {
            const std::uint8_t v = std::uint8_t(255 - (x + y) * 255 / (2 * size));
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
        }
    }
    Main.wst_l = Main.wst_b = size - 1;
    Main.PixelsPerMmX = Main.PixelsPerMmY = 1.0;
    Main.stepX = Main.stepy = 1.0;
    Main.z_zustellung = -10;
    Main.ResolutionLevel = 3;
    Main.DepthFullScale = 16777215.0;
    TestHost run;
    run.FieldsFromSettings(Main);
    run.boxes["Prg_optimieren"] = false;
    CreateProgram(run);
    QTemporaryDir dir;
    ScriptedServices services;
    services.pdfPath = (dir.path() + QStringLiteral("/simulation.pdf")).toStdString();
    TForm3 window;
    window.SetProgram(&run.lines);
    window.SetToolValues(Main.SimRadius, Main.SimCuttingHeight, Main.SimTipAngle);
    window.findChild<QCheckBox*>(QStringLiteral("helligkeit"))->setChecked(true);
    for (auto _ : state) window.druckenClick();
    state.counters["program_lines"] = double(run.lines.Count());
    state.counters["pdf_MB"] = double(QFileInfo(QString::fromStdString(services.pdfPath)).size()) / 1e6;
}
BENCHMARK(BM_PrintingAShadedReplay)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
