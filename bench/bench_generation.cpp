// Throughput of the number format, of one sampled and emitted point, and of whole runs,
// measured with the program's application object in place.
#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/ProgramRun.h"
#include "generation/RunHost.h"
#include "generation/RunState.h"
#include "platform/Application.h"
#include "platform/LineStore.h"
#include "BenchWorkpiece.h"
#include "TestHost.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <random>
#include <string>

namespace {

void BM_FormatNumber(benchmark::State& state) {
    const auto decimals = std::uint8_t(state.range(0));
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> dist(-600, 600);
    std::vector<double> values(4096);
    for (double& v : values) v = dist(rng);
    char buf[kFormatNumberMax];
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatNumberTo(buf, decimals, values[i++ & 4095]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatNumber)->Arg(2)->Arg(3);

void BM_SamplePointAndEmit(benchmark::State& state) {
    PrepareWorkpiece(1001, 1001);
    TestHost host;
    RunState r(Main, host);
    r.CaptureOptions();
    r.ResetToStart();
    Main.PassDepth = -10;
    Main.StrategyIndex = int(state.range(0));
    double x = 0;
    for (auto _ : state) {
        if (SampleDepth(r, x, 50.0)) {
            EmitPoint(r, "");
            r.Xold = r.X;
            r.Yold = r.Y;
        }
        x += 0.1;
        if (x > 100) {
            x = 0;
            if (host.lines.Count() > 20'000'000) {
                state.PauseTiming();
                host.lines.Clear();
                state.ResumeTiming();
            }
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SamplePointAndEmit)->Arg(0)->Arg(4);

// One whole run, one pass, optimiser off, 600 x 600 mm at 0.1 mm: 36 million points.
void BM_WholeRun(benchmark::State& state) {
    const int size = int(state.range(1));
    PrepareWorkpiece(size, size);
    Main.StrategyIndex = int(state.range(0));
    TestHost host;
    host.FieldsFromSettings(Main);
    std::uint64_t points = 0, textBytes = 0, lines = 0, storeBytes = 0;
    double userSeconds = 0, systemSeconds = 0, runThreadSystemSeconds = 0;
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    for (auto _ : state) {
        state.PauseTiming();
        host.lines.Clear();
        struct rusage before {}, threadBefore {};
        getrusage(RUSAGE_SELF, &before);
        getrusage(RUSAGE_THREAD, &threadBefore);
        state.ResumeTiming();
        CreateProgram(host);
        state.PauseTiming();
        struct rusage after {}, threadAfter {};
        getrusage(RUSAGE_SELF, &after);
        getrusage(RUSAGE_THREAD, &threadAfter);
        userSeconds += seconds(after.ru_utime) - seconds(before.ru_utime);
        systemSeconds += seconds(after.ru_stime) - seconds(before.ru_stime);
        runThreadSystemSeconds += seconds(threadAfter.ru_stime) - seconds(threadBefore.ru_stime);
        state.ResumeTiming();
        points += std::uint64_t(size) * std::uint64_t(size);
        lines = host.lines.Count();
        textBytes = host.lines.TextLength() - 2 * lines;
        storeBytes = host.lines.MemoryBytes();
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["points_per_s"] = benchmark::Counter(double(points), benchmark::Counter::kIsRate);
    // The kernel's share is mostly the clearing of fresh pages for the program text; it is the
    // whole process's, so it includes the thread that faults pages in ahead of the run.
    state.counters["points_per_user_s"] = double(points) / userSeconds;
    state.counters["kernel_s"] = systemSeconds;
    state.counters["run_thread_kernel_s"] = runThreadSystemSeconds;  // what the run waits for
    state.counters["lines"] = double(lines);
    state.counters["text_MB"] = double(textBytes) / 1e6;
    state.counters["store_overhead_B_per_line"] = lines ? double(storeBytes - textBytes) / double(lines) : 0;
    state.counters["peak_RSS_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_WholeRun)->Args({0, 1001})->Args({0, 6001})->Args({4, 6001})->Unit(benchmark::kMillisecond)->Iterations(1);

// The 36 M-point row run three times in one process, as a user creates a program again: each
// run clears the program before it (inside the timing, as in the main window) and writes the
// new one. run1 to run3 give each run's points per second; a later run must not be slower.
void BM_WholeRunAgain(benchmark::State& state) {
    constexpr int kSize = 6001;
    PrepareWorkpiece(kSize, kSize);
    Main.StrategyIndex = 0;
    TestHost host;
    host.FieldsFromSettings(Main);
    const double points = double(kSize) * double(kSize);
    int run = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CreateProgram(host);
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        state.counters["run" + std::to_string(++run) + "_points_per_s"] = points / seconds.count();
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["points_per_s"] = benchmark::Counter(points * double(run), benchmark::Counter::kIsRate);
    state.counters["peak_RSS_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_WholeRunAgain)->Unit(benchmark::kMillisecond)->Iterations(3);

// Leaves the upper halves of the vector registers dirty, as AVX code that returns without
// VZEROUPPER does (on processors without AVX there is nothing to leave).
void DirtyUpperVectorState() {
#if defined(__x86_64__)
    if (__builtin_cpu_supports("avx")) __asm__ volatile("vpcmpeqd %%ymm15, %%ymm15, %%ymm15" ::: "xmm15");
#endif
}

// The row run of 1000 x 1000 pixels right after such code: the run must not be slowed by it.
void BM_RowRunAfterDirtyVectorState(benchmark::State& state) {
    PrepareWorkpiece(1001, 1001);
    TestHost host;
    host.FieldsFromSettings(Main);
    for (auto _ : state) {
        state.PauseTiming();
        host.lines.Clear();
        state.ResumeTiming();
        DirtyUpperVectorState();
        CreateProgram(host);
    }
    state.counters["points_per_s"] =
        benchmark::Counter(double(state.iterations()) * 1001.0 * 1001.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RowRunAfterDirtyVectorState)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

#include "ApplicationMain.h"
