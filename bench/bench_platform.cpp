// Throughput of the platform pieces on the hot paths: adding program lines to the line
// store, reading pixels for depth sampling, and the memory check made before every picture
// and every rendered design object.
#include "platform/Bitmap.h"
#include "platform/LineStore.h"
#include "platform/SystemMemory.h"

#include <benchmark/benchmark.h>

#include <string_view>

namespace {

void BM_LineStoreAdd25Bytes(benchmark::State& state) {
    constexpr std::string_view text = "G01 X123.456 Y78.901 Z-15";
    static_assert(text.size() == 25);
    TStrings lines;
    for (auto _ : state) {
        benchmark::DoNotOptimize(lines.Add(text));
        if (lines.Count() == (std::size_t(1) << 23)) {  // keep memory bounded
            state.PauseTiming();
            lines.Clear();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * std::int64_t(text.size()));
}
BENCHMARK(BM_LineStoreAdd25Bytes);

// A small text made and let go of, as a scratch store or a short program is: a small
// program's memory goes back to the system at once, so every round pays for fresh memory.
void BM_LineStoreSmallText(benchmark::State& state) {
    for (auto _ : state) {
        TStrings lines;
        for (int i = 0; i < 100; ++i) lines.Add("G01 X123.456 Y78.901 Z-15");
        benchmark::DoNotOptimize(lines.Count());
    }
}
BENCHMARK(BM_LineStoreSmallText)->Unit(benchmark::kMicrosecond);

// One line inserted and one deleted in the middle of a store of 36 million lines: the entries
// of one block move, never the whole table or the text.
void BM_LineStoreInsertDeleteMiddle(benchmark::State& state) {
    TStrings lines;
    const std::size_t n = 36000000;
    for (std::size_t i = 0; i < n; ++i)
        lines.Add("X1");
    std::size_t at = n / 2;
    for (auto _ : state) {
        lines.Insert(at, "G01 X123.456 Y78.901 Z-15");
        lines.Delete(at + 1);
        at += 7919;  // wander over many blocks
        if (at >= n)
            at -= n;
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_LineStoreInsertDeleteMiddle)->Unit(benchmark::kMicrosecond);

void BM_PixelAt(benchmark::State& state, TPixelFormat format) {
    const int w = 1024, h = 1024;
    TBitmap bmp(w, h, TPixelFormat::pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.SetPixelAt(x, y, RGB(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF));
    bmp.SetPixelFormat(format);
    int x = 0, y = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bmp.PixelAt(x, y));
        if (++x == w) {
            x = 0;
            if (++y == h)
                y = 0;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_PixelAt, pf24bit, TPixelFormat::pf24bit);
BENCHMARK_CAPTURE(BM_PixelAt, pf8bit, TPixelFormat::pf8bit);

}  // namespace

// The memory the process can still take: the machine's figure, the process limits and the
// control group's limits, read afresh each time.
void BM_AvailableMemoryBytes(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(AvailableMemoryBytes());
}
BENCHMARK(BM_AvailableMemoryBytes)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
