// Throughput and memory of the path optimiser on the run benchmark's row program (600 x 600
// mm at 0.1 mm, 36 million points), and of the whole run with the optimiser on.
#include "generation/MainState.h"
#include "generation/Optimiser.h"
#include "generation/ProgramRun.h"
#include "platform/Application.h"
#include "platform/LineStore.h"
#include "BenchWorkpiece.h"
#include "TestHost.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <fstream>
#include <string>

namespace {

// The process's resident-set peak (kB) since the last reset.
long PeakRssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmHWM:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 20, '\n');
    }
    return 0;
}
long CurrentRssKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:") {
            status >> value;
            return value;
        }
        status.ignore(1 << 20, '\n');
    }
    return 0;
}
double Seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; }

void ResetPeakRss() { std::ofstream("/proc/self/clear_refs") << "5"; }

void SetUpRun(TestHost& host, int strategy, int size) {
    PrepareWorkpiece(size, size);
    Main.StrategyIndex = strategy;
    Main.HeaderLines = {"%"};
    Main.HeaderLineCount = 1;
    Main.TrailerLines = {"M30"};
    Main.TrailerLineCount = 1;
    host.FieldsFromSettings(Main);
    host.boxes["Prg_optimieren"] = true;
}

// The optimiser alone on the program a run wrote with optimisation on (path marks included).
void BM_Optimiser(benchmark::State& state) {
    const int size = int(state.range(1));
    TestHost host;
    SetUpRun(host, int(state.range(0)), size);
    std::uint64_t linesIn = 0, linesOut = 0, linesTotal = 0;
    double inputMB = 0, peakMB = 0, baseMB = 0, userSeconds = 0, kernelSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        host.lines.Clear();
        host.runOptimiser = false;
        CreateProgram(host);
        linesIn = host.lines.Count();
        linesTotal += linesIn;
        inputMB = double(host.lines.MemoryBytes()) / 1e6;
        baseMB = double(CurrentRssKb()) / 1024.0;
        ResetPeakRss();
        Application->ResetCounters();
        struct rusage before {};
        getrusage(RUSAGE_SELF, &before);
        state.ResumeTiming();
        RunOptimiser(host);
        state.PauseTiming();
        struct rusage after {};
        getrusage(RUSAGE_SELF, &after);
        userSeconds += Seconds(after.ru_utime) - Seconds(before.ru_utime);
        kernelSeconds += Seconds(after.ru_stime) - Seconds(before.ru_stime);
        peakMB = double(PeakRssKb()) / 1024.0;
        linesOut = host.lines.Count();
        state.ResumeTiming();
    }
    state.counters["lines_per_s"] = benchmark::Counter(double(linesTotal), benchmark::Counter::kIsRate);
    state.counters["lines_per_user_s"] = double(linesTotal) / userSeconds;
    // The kernel's share is mostly the clearing of fresh pages for the rewritten text.
    state.counters["kernel_s_per_run"] = kernelSeconds / double(state.iterations());
    state.counters["lines_in"] = double(linesIn);
    state.counters["lines_out"] = double(linesOut);
    state.counters["input_store_MB"] = inputMB;
    state.counters["output_store_MB"] = double(host.lines.MemoryBytes()) / 1e6;
    state.counters["RSS_before_MB"] = baseMB;
    state.counters["peak_RSS_MB"] = peakMB;
}
BENCHMARK(BM_Optimiser)->Args({0, 2001})->Args({0, 6001})->Unit(benchmark::kMillisecond);

// One whole run with the optimiser on: generation, optimiser, restoration.
void BM_WholeRunOptimised(benchmark::State& state) {
    const int size = int(state.range(1));
    TestHost host;
    SetUpRun(host, int(state.range(0)), size);
    host.runOptimiser = true;
    std::uint64_t lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        host.lines.Clear();
        ResetPeakRss();
        state.ResumeTiming();
        CreateProgram(host);
        lines = host.lines.Count();
    }
    state.counters["points_per_s"] =
        benchmark::Counter(double(size) * double(size), benchmark::Counter::kIsRate);
    state.counters["lines"] = double(lines);
    state.counters["peak_RSS_MB"] = double(PeakRssKb()) / 1024.0;
}
BENCHMARK(BM_WholeRunOptimised)->Args({0, 6001})->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
