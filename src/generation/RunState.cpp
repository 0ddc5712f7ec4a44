#include "generation/RunState.h"

#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/RunHost.h"
#include "platform/Application.h"
#include "platform/LineStore.h"
#include "platform/VectorState.h"

#include <cmath>

RunState::RunState(MainState& settings, RunHost& runHost)
    : S(settings), host(runHost), lines(runHost.ProgramLines()) {
    LineBuf.reserve(256);
    // A run starts from clean vector registers, whatever the toolkit did before it.
    ClearUpperVectorState();
}

void RunState::ResetToStart() {
    X = Y = 0;
    Z = S.zg0;
    Xold = Yold = 0;
    Zold = S.zg0;
    pathStart = false;
    LineBuf.clear();
    PathComment.clear();
}

void RunState::CaptureOptions() {
    optimise = host.IsChecked("Prg_optimieren");
    contour = host.IsChecked("kante_fraesen");
    stopBeforePass = host.IsChecked("stoppen");
    infeedOptimise = host.IsChecked("zustellung_optimieren");
    stair = host.IsChecked("treppe");
    arcIJ = host.IsChecked("bogen_IJ");
    // One unit of the last written decimal; no snapping without decimals.
    switch (S.komma) {
        case 0: snapTolerance = 0; break;
        case 1: snapTolerance = 0.1; break;
        case 2: snapTolerance = 0.01; break;
        case 3: snapTolerance = 0.001; break;
        default: snapTolerance = std::pow(10.0, -double(S.komma)); break;
    }
    words.SetDecimals(S.komma);
    CaptureDepthLimit();
}

void RunState::CaptureDepthLimit() { deepestWrittenDepth = DeepestWrittenDepth(S.max_tiefe, S.komma); }

double RunState::WithinDepthLimit(double z) const {
    // Only a depth above the limit's own word can be written below the limit; the word is
    // formed for those alone.
    if (z < deepestWrittenDepth && WrittenValue(S.komma, z) < S.max_tiefe) return deepestWrittenDepth;
    return z;
}

bool RunState::PumpAndPollAbort() {
    Application->ProcessMessages();
    return S.AbortRequested;
}

void RunState::ReportProgress(int percent) {
    S.ProgressPercent = percent;
    if (percent % 10 == 0) host.SetMeterPercent(percent);
}
