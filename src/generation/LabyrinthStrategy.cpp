#include "generation/LabyrinthStrategy.h"

#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/RadialPath.h"
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

}  // namespace

// Sides 1 to 4 of every ring run east, south, west and north. The corner indices a (along X)
// and b (along Y) count stepX from the centre; a side's extent is clipped to the workpiece,
// its point spacing refitted to it, and points beyond an edge are held on the edge.
void LabyrinthStrategy(RunState& r) {
    MainState& s = r.S;
    const CentreReach reach = FartherEdges(s);
    const int nRings = RadialCount(r, std::max(reach.x / s.stepX, reach.y / s.stepX));
    r.pathStart = false;
    int a = 0, b = 0;
    r.X = r.Xold = s.CircleCentreX;
    r.Y = r.Yold = s.CircleCentreY;
    r.Z = s.zg0;
    const double s0 = s.stepy;
    PlungeAtCentre(r);
    double px = s.CircleCentreX, py = s.CircleCentreY;

    for (int ring = 0; ring < nRings; ++ring) {
        long long sinceLastPoll = 0;
        for (int side = 1; side <= 4; ++side) {
            const std::string comment = r.optimise ? "(" + std::to_string(side) + ")" : std::string();
            const double qx = px, qy = py;
            const bool alongX = side == 1 || side == 3;
            const bool positive = side == 1 || side == 4;
            const int oldIndex = alongX ? a : b;
            switch (side) {
                case 1: a = 1 - a; break;
                case 2: b = -1 - b; break;
                case 3: a = -a; break;
                default: b = -b; break;
            }
            double i0 = oldIndex, i1 = alongX ? a : b;
            const double c = alongX ? s.CircleCentreX : s.CircleCentreY;
            const double limit = alongX ? s.wst_l : s.wst_b;
            if (positive) {
                if (c + i0 * s.stepX < 0) i0 = -c / s.stepX;
                if (c + i1 * s.stepX > limit) i1 = (limit - c) / s.stepX;
            } else {
                if (c + i1 * s.stepX < 0) i1 = -c / s.stepX;
                if (c + i0 * s.stepX > limit) i0 = (limit - c) / s.stepX;
            }
            const double len = std::fabs(i1 - i0) * s.stepX;
            auto rounded = RoundToInt32(len / s0);
            if (!rounded) NoRadialPaths(r);
            const int n = std::max(*rounded, 1);
            s.stepy = len / n;
            const double direction = positive ? 1.0 : -1.0;
            for (int j = 1; j <= n; ++j) {
                double x = qx, y = qy;
                if (alongX)
                    x = qx + direction * j * s.stepy;
                else
                    y = qy + direction * j * s.stepy;
                x = std::clamp(x, 0.0, s.wst_l);
                y = std::clamp(y, 0.0, s.wst_b);
                px = x;
                py = y;
                RadialPointStep(r, x, y, comment);
                // Rings far out are long: they are polled on their way too.
                if (++sinceLastPoll == 65536) {
                    sinceLastPoll = 0;
                    if (r.PumpAndPollAbort()) return;
                }
            }
        }
        if (r.PumpAndPollAbort()) return;
        ReportRadialProgress(r, ring, nRings);
    }
}
