#include "generation/LabyrinthStrategy.h"

#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/ProgramRun.h"
#include "generation/RadialPath.h"
#include "generation/RunHost.h"
#include "generation/RunState.h"
#include "platform/LineStore.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The move to the centre at the safe height and the plunge there, written relative to the
// centre while the depth is taken at the centre itself.
void PlungeAtCentre(RunState& r) {
    MainState& s = r.S;
    const std::string zsafe = FormatNumber(s.komma, s.zg0);
    r.lines.Add("G0 Z" + zsafe + " ");
    r.lines.Add("G0 X0 Y0 Z" + zsafe + " ");
    if (SampleDepth(r, s.CircleCentreX, s.CircleCentreY))
        r.lines.Add("G1 X0 Y0 Z" + FormatNumber(s.komma, r.Z) + " ");
    r.Xold = r.X;
    r.Yold = r.Y;
    r.Zold = r.Z;
}

// One side of the labyrinth: the new corner index of its moving axis and its points, laid out
// over its extent clipped to the workpiece.
struct Side {
    bool alongX, positive;
    int newIndex;
    int points;
    double length;
};

Side LayOutSide(RunState& r, int side, int a, int b, double s0) {
    const MainState& s = r.S;
    Side out{side == 1 || side == 3, side == 1 || side == 4, 0, 0, 0};
    const int oldIndex = out.alongX ? a : b;
    switch (side) {
        case 1: out.newIndex = 1 - a; break;
        case 2: out.newIndex = -1 - b; break;
        case 3: out.newIndex = -a; break;
        default: out.newIndex = -b; break;
    }
    double i0 = oldIndex, i1 = out.newIndex;
    const double c = out.alongX ? s.CircleCentreX : s.CircleCentreY;
    const double limit = out.alongX ? s.wst_l : s.wst_b;
    if (out.positive) {
        if (c + i0 * s.stepX < 0) i0 = -c / s.stepX;
        if (c + i1 * s.stepX > limit) i1 = (limit - c) / s.stepX;
    } else {
        if (c + i1 * s.stepX < 0) i1 = -c / s.stepX;
        if (c + i0 * s.stepX > limit) i0 = (limit - c) / s.stepX;
    }
    out.length = std::fabs(i1 - i0) * s.stepX;
    auto rounded = RoundToInt32(out.length / s0);
    if (!rounded) NoRadialPaths(r);
    out.points = std::max(*rounded, 1);
    return out;
}

// Once the near edges are reached, every ring runs along them again, so a long narrow
// workpiece gets far more lines than its area suggests: they are counted before the first
// pass writes any, and a labyrinth too long for the memory is refused. False when an abort
// was requested while counting.
bool CheckLabyrinthFits(RunState& r, int nRings, double s0) {
    const MainState& s = r.S;
    if (s.PassIndex > 1) return true;
    double points = 0;
    int a = 0, b = 0;
    for (int ring = 0; ring < nRings; ++ring) {
        if (ring % 65536 == 65535 && r.PumpAndPollAbort()) return false;
        for (int side = 1; side <= 4; ++side) {
            const Side layout = LayOutSide(r, side, a, b, s0);
            (layout.alongX ? a : b) = layout.newIndex;
            points += layout.points;
        }
    }
    const double linesPerPoint = s.StrategyIndex == 14 ? 3 : 1;
    const double lines = points * linesPerPoint * std::max(1, s.PassCount);
    const double limit = double(MaxProgramLines());
    if (lines <= limit) return true;
    r.host.ShowMessageText("Das Labyrinth würde etwa " + std::to_string((long long)(lines / 1e6)) +
                           " Millionen Zeilen lang und passt nicht in den Arbeitsspeicher (möglich sind etwa " +
                           std::to_string((long long)(limit / 1e6)) +
                           " Millionen). Bitte Bahnabstand, Punktabstand oder Zustellung vergrößern; "
                           "es wurde kein Programm erstellt.");
    throw RunFailure{};
}

}  // namespace

// Sides 1 to 4 of every ring run east, south, west and north. The corner indices a (along X)
// and b (along Y) count stepX from the centre; a side's extent is clipped to the workpiece,
// its point spacing refitted to it, and points beyond an edge are held on the edge.
void LabyrinthStrategy(RunState& r) {
    MainState& s = r.S;
    const CentreReach reach = FartherEdges(s);
    const int nRings = RadialCount(r, std::max(reach.x / s.stepX, reach.y / s.stepX));
    const double s0 = s.stepy;
    if (!CheckLabyrinthFits(r, nRings, s0)) return;
    r.pathStart = false;
    int a = 0, b = 0;
    r.X = r.Xold = s.CircleCentreX;
    r.Y = r.Yold = s.CircleCentreY;
    r.Z = s.zg0;
    PlungeAtCentre(r);
    double px = s.CircleCentreX, py = s.CircleCentreY;

    for (int ring = 0; ring < nRings; ++ring) {
        long long sinceLastPoll = 0;
        for (int side = 1; side <= 4; ++side) {
            const std::string comment = r.optimise ? "(" + std::to_string(side) + ")" : std::string();
            const double qx = px, qy = py;
            const Side layout = LayOutSide(r, side, a, b, s0);
            (layout.alongX ? a : b) = layout.newIndex;
            const int n = layout.points;
            s.stepy = layout.length / n;
            const double direction = layout.positive ? 1.0 : -1.0;
            for (int j = 1; j <= n; ++j) {
                double x = qx, y = qy;
                if (layout.alongX)
                    x = qx + direction * j * s.stepy;
                else
                    y = qy + direction * j * s.stepy;
                x = std::clamp(x, 0.0, s.wst_l);
                y = std::clamp(y, 0.0, s.wst_b);
                px = x;
                py = y;
                RadialPointStep(r, x, y, comment);
                // Rings far out are long: they are polled on their way too.
                if (++sinceLastPoll == 1024) {
                    sinceLastPoll = 0;
                    if (r.PumpAndPollAbort()) return;
                }
            }
        }
        if (r.PumpAndPollAbort()) return;
        ReportRadialProgress(r, ring, nRings);
    }
}
