// Whole runs of the patterns about the circle centre on the 600 x 600 mm workpiece of the row
// benchmark (6001 x 6001 pixels, spacing 0.1, one pass, optimiser off, centre in the middle),
// and the spiral's angle search on a large plate at a tiny spacing.
#include "generation/AngleDialogState.h"
#include "generation/MainState.h"
#include "generation/ProgramRun.h"
#include "generation/SpiralAngle.h"
#include "platform/Application.h"
#include "platform/LineStore.h"
#include "BenchWorkpiece.h"
#include "TestHost.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// The points the pattern lays out in one pass (sampled, or passed over where they lie too
// far outside the workpiece to give a depth), by the pattern's own counts.
double PatternPoints(int strategy) {
    const MainState& s = Main;
    const double rx = s.wst_l - s.CircleCentreX, ry = s.wst_b - s.CircleCentreY;
    const double cx = s.CircleCentreX, cy = s.CircleCentreY;
    const double Rx = s.wst_l / 2 > cx ? rx : cx, Ry = s.wst_b / 2 > cy ? ry : cy;
    double points = 0;
    switch (strategy) {
        case 1: {
            const double R = std::hypot(Rx, Ry);
            const int nR = int(R / s.stepX);
            for (int i = 0; i <= nR; ++i) points += std::trunc(2 * kPi * i * (R / nR) / s.stepy) + 1;
            break;
        }
        case 2: {
            const double ratio = AngleDialog.RadiusRatio;
            const double ry2 = s.wst_b / 2 > cy ? s.wst_b - cy / ratio : cy;
            const double R = std::hypot(Rx, ry2);
            const int nR = int(R / s.stepX);
            const double u = R / nR;
            double stepy = s.stepy;
            for (int i = 1; i <= nR; ++i) {
                const double B = i * u, A = i * u * ratio, h = (A - B) / (A + B);
                const double U = kPi * (A + B) * (1 + 3 * h * h / (10 + std::sqrt(4 - 3 * h * h)));
                const double m = std::trunc(U / stepy);
                stepy = U / m;
                points += m + 2;
            }
            break;
        }
        case 3: {
            const double R = std::hypot(Rx, Ry);
            const int nR = int(R / s.stepX);
            const double thetaMax = 2 * kPi * nR;
            points = std::trunc(SpiralLength(R / thetaMax, thetaMax) / s.stepy) + 1;
            break;
        }
        case 18: {
            const int n = AngleDialog.CornerCount;
            const double R = std::hypot(Rx, Ry);
            const int nR = int(R / s.stepX);
            const double corner = s.stepX / std::sin((kPi - 2 * kPi / n) / 2);
            for (int i = 0; i <= nR; ++i) points += n * std::max(1.0, std::trunc(2 * i * corner * std::sin(kPi / n) / s.stepy));
            break;
        }
        case 8: {
            // Square rings stepX apart with points stepy apart: about the grid's points.
            points = (s.wst_l / s.stepX + 1) * (s.wst_b / s.stepy + 1);
            break;
        }
        default:
            break;
    }
    return points;
}

void BM_RadialRun(benchmark::State& state) {
    const int strategy = int(state.range(0));
    PrepareWorkpiece(6001, 6001);
    ResetAngleDialogState();
    AngleDialog.RadiusRatio = 2;
    AngleDialog.CornerCount = 6;
    Main.StrategyIndex = strategy;
    Main.CentrePxX = Main.CentrePxY = 300;
    TestHost host;
    host.previewWidth = host.previewHeight = 600;
    host.FieldsFromSettings(Main);
    Main.CircleCentreX = Main.CircleCentreY = 300;
    const double points = PatternPoints(strategy);
    std::uint64_t lines = 0;
    double total = 0;
    for (auto _ : state) {
        state.PauseTiming();
        host.lines.Clear();
        Application->ResetCounters();
        state.ResumeTiming();
        CreateProgram(host);
        total += points;
        lines = host.lines.Count();
    }
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["points_per_s"] = benchmark::Counter(total, benchmark::Counter::kIsRate);
    state.counters["points"] = points;
    // Sampled points pump once each (circles, ellipses, spiral; n-gons pump once per side).
    state.counters["pumps"] = double(Application->ProcessMessagesCalls());
    state.counters["lines"] = double(lines);
    state.counters["peak_RSS_MB"] = double(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_RadialRun)->Arg(1)->Arg(2)->Arg(18)->Arg(8)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(1);

// A spiral of 10^8 turns on a plate 10^5 mm across at a spacing of 0.001 mm: its angles are
// too coarse to meet a length within 1e-6 from about 10^8 radians on; every search ends.
void BM_SpiralAngleOnALargePlate(benchmark::State& state) {
    const double R = 1e5, nR = 1e8, k = R / (2 * kPi * nR);
    const double stepy = 0.001;
    const double start = SpiralLength(k, 2 * kPi * nR * 0.98);
    SpiralAngleFinder finder(k);
    double s = start;
    for (auto _ : state) {
        benchmark::DoNotOptimize(finder.AngleForLength(s));
        s += stepy;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpiralAngleOnALargePlate);

}  // namespace

#include "ApplicationMain.h"
