#include "generation/RadialPath.h"

#include "generation/AngleDialogState.h"
#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/RunHost.h"
#include "generation/RunState.h"
#include "generation/Strategies.h"

#include <cmath>
#include <string>
#include <utility>

CentreReach FartherEdges(const MainState& s) {
    return FartherEdges(s.CircleCentreX, s.CircleCentreY, s.wst_l, s.wst_b);
}

CentreReach FartherEdges(double centreX, double centreY, double length, double width) {
    CentreReach reach{centreX, centreY};
    if (length / 2 > centreX) reach.x = length - centreX;
    if (width / 2 > centreY) reach.y = width - centreY;
    return reach;
}

void NoRadialPaths(RunState& r) {
    r.host.ShowFileMessage(MsgTooFewPaths, 'N');
    throw RunFailure{};
}

int RadialCount(RunState& r, double v) {
    auto n = TruncToInt32(v);
    if (!n) NoRadialPaths(r);
    return *n;
}

void ReportRadialProgress(RunState& r, long long i, long long n) {
    r.ReportProgress(int(std::nearbyint(double(i) / double(n) * 100)));
}

bool ReadCornerCount(RunHost& host, int& count) {
    double value = 0;
    if (host.GetFieldValue("ecken", value) != 0) return false;
    auto whole = TruncToInt32(value);
    if (!whole) return false;
    count = *whole;
    return true;
}

bool RadialSettingsUsable(RunHost& host, int strategyIndex) {
    if (!IsRadialStrategy(strategyIndex)) return true;
    // The spacings are above 0 here (the run's settings check refuses the others): at 0 the
    // counts would pass every integer, below 0 the rings and sides would have no points
    // between them while their starts and corners were still written.
    bool usable = true;
    if (strategyIndex == 2 || strategyIndex == 6) {
        double ratio = AngleDialog.RadiusRatio;
        ReadField(host, "rad_verhaeltnis", ratio);
        // The axes are divided by the ratio: 0 or less gives no ellipse.
        if (!(ratio > 0)) usable = false;
    }
    if (strategyIndex == 18 || strategyIndex == 19) {
        int corners = AngleDialog.CornerCount;
        ReadCornerCount(host, corners);
        // Fewer than three corners enclose nothing (a negative count writes nothing at all).
        if (corners >= 0 && corners < 3) usable = false;
    }
    if (!usable) host.ShowFileMessage(MsgTooFewPaths, 'N');
    return usable;
}

namespace {

// A point that gives nothing to write breaks the path; the tool rises at the last point it
// reached, so the next path starts from the safe height there.
void BreakPath(RunState& r) {
    r.Xold = r.X;
    r.Yold = r.Y;
    r.Zold = r.S.zg0;
    r.pathStart = true;
}

}  // namespace

RadialStep RadialPointStep(RunState& r, double x, double y, std::string_view comment) {
    if (!std::isfinite(x) || !std::isfinite(y)) {
        r.Z = r.S.zg0;
        BreakPath(r);
        return RadialStep::Failed;
    }
    if (!SampleDepth(r, x, y)) {
        BreakPath(r);
        return RadialStep::Failed;
    }
    if (r.X == r.Xold && r.Y == r.Yold) return RadialStep::Repeated;
    WriteCentreRelative(r, [&] { EmitPoint(r, comment); });
    r.pathStart = false;
    r.Xold = r.X;
    r.Yold = r.Y;
    return RadialStep::Written;
}

void RadialRingStart(RunState& r, double x, double y, bool fromSafeHeight) {
    if (std::isfinite(x) && std::isfinite(y) && SampleDepth(r, x, y)) {
        if (fromSafeHeight) r.Z = r.S.zg0;
        WriteCentreRelative(r, [&] { StartPath(r, r.PathComment); });
        r.Xold = r.X;
        r.Yold = r.Y;
        r.Zold = r.Z;
        // The plunge has begun the path: the next point cuts on from the ring start. (A path
        // start there would move sideways at rapid speed at the plunge depth.)
        if (!fromSafeHeight) r.pathStart = false;
    } else {
        r.Zold = r.S.zg0;
        r.pathStart = true;
    }
}

double DistanceOutsideWorkpiece(const MainState& s, double x, double y) {
    // Sampling snaps points within 0.001 of an edge onto it; the band is a little wider.
    constexpr double kBand = 0.002;
    const double dx = std::fmax(std::fmax(-kBand - x, x - (s.wst_l + kBand)), 0.0);
    const double dy = std::fmax(std::fmax(-kBand - y, y - (s.wst_b + kBand)), 0.0);
    return std::hypot(dx, dy);
}
