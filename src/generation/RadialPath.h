#pragma once
// What the patterns about the circle centre share: the reach of their rings, writing
// relative to the centre, the start of a ring and the step to the next point of a path.
#include <string_view>

struct MainState;
struct RunState;
class RunHost;

// Distances from the circle centre to the farther edges along X and Y.
struct CentreReach {
    double x, y;
};
CentreReach FartherEdges(const MainState& s);
CentreReach FartherEdges(double centreX, double centreY, double length, double width);

// The run ends after message 9: the settings give no path to lay out.
[[noreturn]] void NoRadialPaths(RunState& r);

// Trunc(v) as a count, or message 9 and the end of the run when no integer holds it.
int RadialCount(RunState& r, double v);

// Round(i / n * 100) as the run's progress; n > 0.
void ReportRadialProgress(RunState& r, long long i, long long n);

// Checks the angle dialog's values that a radial pattern needs before the run changes
// anything: false when the pattern has no shape to cut, after message 9. The spacings have
// been checked before (CheckRunSettings).
bool RadialSettingsUsable(RunHost& host, int strategyIndex);

// The corner count of the angle dialog's field "ecken" as an integer, when it holds one.
bool ReadCornerCount(RunHost& host, int& count);

enum class RadialStep { Written, Repeated, Failed };

// Writes the current point through `write` with X, Xold, Y, Yold relative to the circle
// centre; they hold workpiece coordinates again afterwards.
template <typename Write>
void WriteCentreRelative(RunState& r, Write&& write);

// One point of a path: sampled, written relative to the centre unless it repeats the last
// point, or, when it gives nothing to write, the path breaks. A point that is not a finite
// number is not sampled and breaks the path.
RadialStep RadialPointStep(RunState& r, double x, double y, std::string_view comment);

// The first point of a ring: sampled and, when it gives a depth, the path to it begun.
// With `fromSafeHeight` the path-start lines end at the safe height instead of the depth.
void RadialRingStart(RunState& r, double x, double y, bool fromSafeHeight);

// The distance from (x, y) to the band that sampling may snap onto the workpiece; 0 inside.
// A point farther than this from the band cannot give a depth.
double DistanceOutsideWorkpiece(const MainState& s, double x, double y);

#include "generation/MainState.h"
#include "generation/RunState.h"

template <typename Write>
void WriteCentreRelative(RunState& r, Write&& write) {
    const double x = r.X, y = r.Y, xo = r.Xold, yo = r.Yold;
    const double cx = r.S.CircleCentreX, cy = r.S.CircleCentreY;
    r.X = x - cx;
    r.Xold = xo - cx;
    r.Y = y - cy;
    r.Yold = yo - cy;
    write();
    r.X = x;
    r.Xold = xo;
    r.Y = y;
    r.Yold = yo;
}
