// The program editor on programs of any size: from the end of a run (the lines in the
// editor's store, the editor hidden) to the program on screen, scrolling to the last line,
// and an edit in the middle. Screen output is an offscreen grab of the editor.
#include "platform/Memo.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPixmap>
#include <QVBoxLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

constexpr std::string_view kLine = "G01 X123.456 Y78.901 Z-15";

// One window with the editor, kept between benchmarks; refilled only when the size changes.
struct Editor {
    QWidget window;
    TMemo* memo = nullptr;
    std::size_t lines = std::size_t(-1);

    Editor() {
        window.resize(900, 700);
        auto* layout = new QVBoxLayout(&window);
        memo = new TMemo(&window);
        layout->addWidget(memo);
        window.show();
    }
    TMemo& With(std::size_t n) {
        if (lines != n) {
            memo->hide();
            memo->Clear();
            for (std::size_t i = 0; i < n; ++i)
                memo->Lines().Add(kLine);
            lines = n;
            memo->show();
        }
        return *memo;
    }
};

// Made at first use and ended by main while the application still stands: a window that
// outlived the application would be torn down with nothing left to tear it down from.
std::unique_ptr<Editor> theEditor;

Editor& TheEditor() {
    if (!theEditor)
        theEditor = std::make_unique<Editor>();
    return *theEditor;
}

void Press(TMemo& memo, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&memo, &press);
}

// The run's end: the editor was hidden while the lines went in; it is shown and painted.
void BM_ShowProgram(benchmark::State& state) {
    TMemo& memo = TheEditor().With(std::size_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        memo.hide();
        memo.Lines().Add(kLine);  // the count changes while hidden, as in a run
        state.ResumeTiming();
        memo.show();
        benchmark::DoNotOptimize(memo.grab());
    }
    TheEditor().lines = std::size_t(-1);
    state.counters["lines"] = double(memo.Lines().Count());
}
BENCHMARK(BM_ShowProgram)->Arg(1000)->Arg(1000000)->Arg(36000000)->Unit(benchmark::kMillisecond);

// Ctrl+End from the first line, and the view painted at the end.
void BM_ScrollToLastLine(benchmark::State& state) {
    TMemo& memo = TheEditor().With(std::size_t(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        Press(memo, Qt::Key_Home, Qt::ControlModifier);
        benchmark::DoNotOptimize(memo.grab());
        state.ResumeTiming();
        Press(memo, Qt::Key_End, Qt::ControlModifier);
        benchmark::DoNotOptimize(memo.grab());
    }
    if (memo.TopLine() + memo.VisibleLines() != memo.Lines().Count() + 1)
        state.SkipWithError("not at the end");
}
BENCHMARK(BM_ScrollToLastLine)->Arg(1000)->Arg(36000000)->Unit(benchmark::kMillisecond);

// Enter and Backspace in the middle of the program, each repainted.
void BM_EditInTheMiddle(benchmark::State& state) {
    TMemo& memo = TheEditor().With(std::size_t(state.range(0)));
    memo.SetCaretPos({memo.Lines().Count() / 2, 3});
    for (auto _ : state) {
        Press(memo, Qt::Key_Return);
        benchmark::DoNotOptimize(memo.grab());
        Press(memo, Qt::Key_Backspace);
        benchmark::DoNotOptimize(memo.grab());
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_EditInTheMiddle)->Arg(1000)->Arg(36000000)->Unit(benchmark::kMicrosecond);

// Select all and copy, as the run does at its end: the whole text once, CR LF after every line.
void BM_CopyWholeProgram(benchmark::State& state) {
    TMemo& memo = TheEditor().With(std::size_t(state.range(0)));
    for (auto _ : state) {
        memo.SelectAll();
        memo.CopyToClipboard();
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(memo.GetTextLen()));
    memo.SetCaretPos({});
    QGuiApplication::clipboard()->clear();
}
BENCHMARK(BM_CopyWholeProgram)->Arg(1000000)->Arg(36000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole program pasted into an empty editor, as it is moved between editors.
void BM_PasteWholeProgram(benchmark::State& state) {
    TMemo& memo = TheEditor().With(std::size_t(state.range(0)));
    memo.SelectAll();
    memo.CopyToClipboard();
    memo.SetCaretPos({});
    TMemo target;
    for (auto _ : state) {
        state.PauseTiming();
        target.Clear();
        state.ResumeTiming();
        target.PasteFromClipboard();
    }
    if (target.Lines().Count() != memo.Lines().Count())
        state.SkipWithError("lines lost");
    state.SetBytesProcessed(state.iterations() * std::int64_t(memo.GetTextLen()));
    QGuiApplication::clipboard()->clear();
}
BENCHMARK(BM_PasteWholeProgram)->Arg(1000000)->Arg(36000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theEditor.reset();
    return 0;
}
