#pragma once
// One program creation: from the settings and the work bitmap to the complete program text
// in the editor (header, parameter line, Z passes with their bodies, trailer).
#include "generation/Strategies.h"

#include <cstdint>
#include <optional>
#include <string>

class RunHost;
struct MainState;
struct RunState;

// Runs one program creation on the shared settings `Main`.
void CreateProgram(RunHost& host, const StrategyRoutines& routines = BuiltInStrategies());

// The number of Z passes for max_tiefe and z_zustellung; corrects z_zustellung when the
// passes divide the depth exactly. Nothing (and z_zustellung unchanged) where the count
// cannot be formed: an infeed of 0, a depth that gives no pass to divide by, or values that
// are not finite numbers or give more passes than an integer holds.
std::optional<std::int32_t> ComputePassCount(double max_tiefe, double& z_zustellung);

// The most lines a program may have, whatever the memory.
inline constexpr std::uint64_t kMostProgramLines = 400'000'000;

// The largest program a run may write, in lines: what the free memory holds at about
// 64 bytes a line (text, line table and the optimiser's copy), and at most kMostProgramLines.
std::uint64_t MaxProgramLines();

// A generous estimate of the lines a run would write; the circle centre matters for the
// labyrinth, whose points are counted as it lays them out.
std::uint64_t EstimateProgramLines(int strategyIndex, double length, double width, double stepX,
                                   double stepy, std::int64_t passes, bool drilling, double centreX,
                                   double centreY);

// The contour block of the current pass.
void EmitContourBlock(RunState& r);

// The pass stop line and the two retract lines that close every pass.
std::string PassStopLine(bool optimise);
