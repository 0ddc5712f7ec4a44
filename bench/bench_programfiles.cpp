// Saving a 36-million-line program to a file beside the build and loading it back.
#include "mainwindow/ProgramFiles.h"
#include "platform/LineStore.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <string>

namespace {

const TStrings& BigProgram() {
    static TStrings lines;
    if (lines.Count() == 0) {
        char buf[64];
        for (int row = 0; row < 6001; ++row) {
            for (int col = 0; col < 6000; ++col) {
                const int n = std::snprintf(buf, sizeof buf, "G1 X%d.%d Y%d.%d Z-%d.%02d", col / 10,
                                            col % 10, row / 10, row % 10, (col * 7 + row) % 10,
                                            (col * 13) % 100);
                lines.Add(std::string_view(buf, std::size_t(n)));
            }
        }
    }
    return lines;
}

std::string Target() { return QDir::currentPath().toStdString() + "/bench_program.cnc"; }

void BM_SaveProgram(benchmark::State& state) {
    const TStrings& lines = BigProgram();
    for (auto _ : state) {
        SaveRequest r;
        r.count = 1;
        r.directory = QDir::currentPath().toStdString() + "/";
        r.names = {"bench_program.cnc"};
        if (SaveProgram(r, lines) != 0) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(lines.TextLength()));
    state.counters["lines"] = double(lines.Count());
}
BENCHMARK(BM_SaveProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same program split into three parts framed by header and trailer lines.
void BM_SaveSplitProgram(benchmark::State& state) {
    const TStrings& lines = BigProgram();
    SaveRequest r;
    r.count = 3;
    r.directory = QDir::currentPath().toStdString() + "/";
    r.names = ProgramListNames("bench_part", 3);
    r.headerLines = {"(Fraxilon CNC-Programm)", "G21", "G90", "F600", "S10000 M3"};
    r.trailerLines = {"M5", "M30"};
    for (auto _ : state) {
        if (SaveProgram(r, lines) != 0) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(lines.TextLength()));
    for (const std::string& name : r.names) QDir().remove(QString::fromStdString(r.directory + name));
}
BENCHMARK(BM_SaveSplitProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

// A program loaded after another one as large: the store's memory is held from the first
// load, as it is when a user opens one program after another, so the figure is the reading
// and splitting of the file (compare `wc -l` on the same file).
void BM_LoadProgram(benchmark::State& state) {
    {
        TStrings before;
        if (!LoadProgramFile(Target(), before)) state.SkipWithError("load failed");
    }
    std::uint64_t lines = 0;
    for (auto _ : state) {
        TStrings loaded;
        if (!LoadProgramFile(Target(), loaded)) state.SkipWithError("load failed");
        lines += loaded.Count();
    }
    state.counters["lines_per_s"] = benchmark::Counter(double(lines), benchmark::Counter::kIsRate);
    QDir().remove(QString::fromStdString(Target()));
}
BENCHMARK(BM_LoadProgram)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
