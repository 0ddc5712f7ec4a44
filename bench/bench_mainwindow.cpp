// Start-up of the main window: the windows created in their order, the configuration and
// language files read, the window shown with its first activation.
#include "generation/MainState.h"
#include "mainwindow/AboutBox.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/OtherWindows.h"
#include "mainwindow/ProgramDirectory.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFileInfo>

#include <cstdlib>

namespace {

void BM_StartUpToTheShownWindow(benchmark::State& state) {
    for (auto _ : state) {
        ResetMainState();
        Tform1 form1;
        if (!form1.FormCreate()) {
            state.SkipWithError("the shipped files were not found");
            return;
        }
        TForm2 form2;
        TAboutBox about;
        TForm3 form3;
        Tform_paint paint;
        form1.SetWindows(&form2, &about, &form3, &paint);
        form1.adjustSize();
        form1.show();
        form1.FormActivate();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form1.isVisible());
        form1.SetProcessEnd(nullptr);
    }
}
BENCHMARK(BM_StartUpToTheShownWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    // The shipped files lie beside the program, one folder up from the benchmarks.
    const QString dir = QFileInfo(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).canonicalFilePath();
    SetProgramDirectory(dir.toStdString());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
