#include "generation/LabyrinthStrategy.h"

#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/RadialPath.h"
#include "generation/RunHost.h"
#include "generation/RunState.h"
#include "platform/LineStore.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// Nothing when the side's point count is beyond the integer range.
std::optional<Side> LayOutSide(const LabyrinthGeometry& g, int side, int a, int b) {
    Side out{side == 1 || side == 3, side == 1 || side == 4, 0, 0, 0};
    const int oldIndex = out.alongX ? a : b;
    switch (side) {
        case 1: out.newIndex = 1 - a; break;
        case 2: out.newIndex = -1 - b; break;
        case 3: out.newIndex = -a; break;
        default: out.newIndex = -b; break;
    }
    double i0 = oldIndex, i1 = out.newIndex;
    const double c = out.alongX ? g.centreX : g.centreY;
    const double limit = out.alongX ? g.length : g.width;
    if (out.positive) {
        if (c + i0 * g.stepX < 0) i0 = -c / g.stepX;
        if (c + i1 * g.stepX > limit) i1 = (limit - c) / g.stepX;
    } else {
        if (c + i1 * g.stepX < 0) i1 = -c / g.stepX;
        if (c + i0 * g.stepX > limit) i0 = (limit - c) / g.stepX;
    }
    out.length = std::fabs(i1 - i0) * g.stepX;
    auto rounded = RoundToInt32(out.length / g.stepy);
    if (!rounded) return std::nullopt;
    out.points = std::max(*rounded, 1);
    return out;
}

// The number of rings: Trunc of the farther edge's distance in path spacings.
std::optional<std::int32_t> RingCount(const LabyrinthGeometry& g) {
    const CentreReach reach = FartherEdges(g.centreX, g.centreY, g.length, g.width);
    return TruncToInt32(std::max(reach.x / g.stepX, reach.y / g.stepX));
}

}  // namespace

std::optional<double> LabyrinthPoints(const LabyrinthGeometry& g, double enough) {
    const auto rings = RingCount(g);
    if (!rings) return std::nullopt;
    double points = 0;
    int a = 0, b = 0;
    for (int ring = 0; ring < *rings && points <= enough; ++ring) {
        for (int side = 1; side <= 4; ++side) {
            const auto layout = LayOutSide(g, side, a, b);
            if (!layout) return std::nullopt;
            (layout->alongX ? a : b) = layout->newIndex;
            points += layout->points;
        }
    }
    return points;
}

// Sides 1 to 4 of every ring run east, south, west and north. The corner indices a (along X)
// and b (along Y) count stepX from the centre; a side's extent is clipped to the workpiece,
// its point spacing refitted to it, and points beyond an edge are held on the edge.
void LabyrinthStrategy(RunState& r) {
    MainState& s = r.S;
    // The point spacing at entry; every side refits stepy to its own extent.
    const LabyrinthGeometry geometry{s.CircleCentreX, s.CircleCentreY, s.wst_l, s.wst_b, s.stepX, s.stepy};
    const auto rings = RingCount(geometry);
    if (!rings) NoRadialPaths(r);
    const int nRings = *rings;
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
            const auto laidOut = LayOutSide(geometry, side, a, b);
            if (!laidOut) NoRadialPaths(r);
            const Side& layout = *laidOut;
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
