#pragma once
// The state of one program creation: the current and the last written point, the path
// flag and the texts being built, with what the run reads of its surroundings.
#include "generation/WordCache.h"

#include <cstdint>
#include <limits>
#include <string>

struct MainState;
class RunHost;
class TStrings;

// Lines of the message file the run shows.
constexpr int MsgTooFewPaths = 9;
constexpr int MsgNoPicture = 10;

// Thrown by a strategy that cannot lay out its paths, after its message: the run ends.
struct RunFailure {};

struct RunState {
    RunState(MainState& settings, RunHost& host);

    MainState& S;
    RunHost& host;
    TStrings& lines;

    double X = 0, Y = 0, Z = 0;
    double Xold = 0, Yold = 0, Zold = 0;
    bool pathStart = false;
    std::string LineBuf;  // the parameter line while the header is built; emitters build on the stack
    std::string PathComment;

    // Option boxes as they stand at the start of the run (the option group is disabled
    // while a run goes on, so they cannot change during it).
    bool optimise = false;        // Prg_optimieren
    bool contour = false;         // kante_fraesen
    bool stopBeforePass = false;  // stoppen
    bool infeedOptimise = false;  // zustellung_optimieren
    bool stair = false;           // treppe
    bool arcIJ = false;           // bogen_IJ

    // Snapping tolerance derived from komma.
    double snapTolerance = 0.01;
    // The deepest depth the program writes: max_tiefe, or max_tiefe rounded toward the
    // surface where the decimals would write it deeper (see DeepestWrittenDepth).
    double deepestWrittenDepth = -std::numeric_limits<double>::infinity();

    WordCache words;

    // Points sampled so far in this run (every SampleDepth call): the work done, which tests
    // hold against the polls of the cancel button.
    std::uint64_t pointsSampled = 0;

    // Sets the run values to their start values (X, Y 0; Z, Zold zg0; texts empty; no arc
    // centre mode declared).
    void ResetToStart();
    // Reads the option boxes and derives the per-run constants from the settings.
    void CaptureOptions();
    // Derives deepestWrittenDepth from max_tiefe and komma.
    void CaptureDepthLimit();
    // z, or deepestWrittenDepth where z's word would read below max_tiefe.
    double WithinDepthLimit(double z) const;
    // Calls Application->ProcessMessages() and tells whether an abort was requested.
    bool PumpAndPollAbort();
    // ProgressPercent := percent; the meter follows at multiples of 10.
    void ReportProgress(int percent);
};
