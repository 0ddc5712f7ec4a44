#pragma once
// The entry point of a benchmark program that measures with the program's application object
// in place, as the program runs: a QApplication on the offscreen platform is made before the
// benchmarks run, and what its start-up leaves behind is cleared as the program clears it.
#include "platform/VectorState.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (getenv("XDG_RUNTIME_DIR") == nullptr) {
        std::string dir = "/tmp/fraxilon-bench-runtime-" + std::to_string(getuid());
        mkdir(dir.c_str(), 0700);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
    // FRAXILON_BENCH_NO_APPLICATION=1 measures without it, for comparison.
    const bool withApplication = getenv("FRAXILON_BENCH_NO_APPLICATION") == nullptr;
    int appArgc = 1;
    QApplication* app = withApplication ? new QApplication(appArgc, argv) : nullptr;
    ClearUpperVectorState();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    delete app;
    return 0;
}
