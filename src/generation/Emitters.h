#pragma once
// Depth sampling and the G-code line emitters of a program run.
#include <string_view>

struct MainState;
struct RunState;

// Arcs are written with the centre as I0 J0, the program origin about which the circles run.
// Controllers read I and J as offsets from the arc's start unless told otherwise: this line,
// written after the header of a program that writes arcs and before its first move, declares
// arc centres absolute; a controller that does not know the word refuses the program before
// the tool moves. A program without arcs does not hold it.
inline constexpr std::string_view kArcCentreModeLine = "G90.1";
// Whether a program line declares the arc-centre mode (also numbered or without blanks).
inline bool DeclaresArcCentreMode(std::string_view line) { return line.find(kArcCentreModeLine) != std::string_view::npos; }

// Maps a workpiece point (mm) to a depth read from the work bitmap; writes X, Y, Z.
// False when the point gives nothing to write (the caller breaks the path).
bool SampleDepth(RunState& r, double x, double y);

// Writes the lines of the current point, as milling, arc or drilling lines by StrategyIndex.
void EmitPoint(RunState& r, std::string_view comment);
void EmitMillPoint(RunState& r, std::string_view Xo, std::string_view X, std::string_view Yo,
                   std::string_view Y, std::string_view Zo, std::string_view Z, bool stair,
                   std::string_view comment);
void EmitArcPoint(RunState& r, std::string_view Xo, std::string_view X, std::string_view Yo,
                  std::string_view Y, std::string_view Zo, std::string_view Z, bool stair);
void EmitDrillPoint(RunState& r, std::string_view X, std::string_view Y, std::string_view Z,
                    std::string_view Xo, std::string_view Yo, std::string_view Zsafe);

// Retract at the old point, traverse at the safe height, plunge at the current point; the
// current point then is the old point (where the tool stands), Zold the safe height.
void StartPath(RunState& r, std::string_view comment);
// Rise to zsafe, move over (x, y) and plunge there when the point samples.
void MoveTo(RunState& r, std::string_view comment, double x, double y, double zsafe);

// The work bitmap's pixel format from ResolutionLevel; DepthFullScale := white.
void ret_aufloesung(MainState& s);

// The polar angle of (dx, dy) in radians, in [0, 2*pi).
void Rechne_Alpha(double dx, double dy, double& alpha);

// The milling family of StrategyIndex (used by EmitPoint and the run's estimate).
enum class PointFamily { Milling, Arc, Drilling, None };
PointFamily FamilyOf(int strategyIndex, bool arcIJ);
