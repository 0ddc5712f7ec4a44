#include "generation/RadialStrategies.h"

#include "generation/AngleDialogState.h"
#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "generation/RadialPath.h"
#include "generation/RunHost.h"
#include "generation/RunState.h"
#include "generation/SpiralAngle.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// Every pattern starts at the centre at the safe height.
void StartAtCentre(RunState& r, bool markPaths) {
    MainState& s = r.S;
    r.X = r.Xold = s.CircleCentreX;
    r.Y = r.Yold = s.CircleCentreY;
    r.Z = r.Zold = s.zg0;
    if (markPaths) r.PathComment = r.optimise ? "(0)" : "";
}

// Points of a closed curve k = first .. last at `at`(k), each followed by a pump; points after
// a failed one that lie too far outside the workpiece to give a depth within `stride` per
// point are passed over, as they would break the path again and change nothing. False when
// an abort was requested.
template <typename At>
bool CurvePoints(RunState& r, long long first, long long last, double stride, At&& at) {
    for (long long k = first; k <= last; ++k) {
        const auto [x, y] = at(k);
        const RadialStep step = RadialPointStep(r, x, y, "");
        if (r.PumpAndPollAbort()) return false;
        if (step != RadialStep::Failed || !(stride > 0)) continue;
        const double away = DistanceOutsideWorkpiece(r.S, x, y);
        if (!(away > 0) || !std::isfinite(away)) continue;
        const double passable = std::floor(away / stride * (1 - 1e-9));
        if (passable >= 1) k += (long long)std::min(passable, 4.0e18);
    }
    return true;
}

// The progress over points i + 1 .. to that were passed over: the meter still shows every
// tenth it passes.
void ReportPassedProgress(RunState& r, long long i, long long to, long long n) {
    const int from = int(std::nearbyint(double(i) / double(n) * 100));
    const int reached = int(std::nearbyint(double(to) / double(n) * 100));
    const int tenth = reached / 10 * 10;
    if (tenth > from && tenth != reached) r.ReportProgress(tenth);
    r.ReportProgress(reached);
}

// Ramanujan's second approximation of the perimeter of the ellipse of semi-axes A and B.
double EllipsePerimeter(double A, double B) {
    const double h = (A - B) / (A + B);
    return kPi * (A + B) * (1 + 3 * h * h / (10 + std::sqrt(4 - 3 * h * h)));
}

// Ellipses of a small radius ratio reach far beyond the workpiece and lie close together
// along their short axes: their points are counted first, and a pattern of more points than
// the largest program has lines is refused (most of them lie outside the workpiece, but each
// costs its share of the run).
template <typename Axes>
void CheckEllipsePoints(RunState& r, int nR, Axes&& axes) {
    constexpr double limit = 400'000'000;
    double stepy = r.S.stepy, points = 0;
    for (int i = 1; i <= nR && points <= limit; ++i) {
        const auto [A, B] = axes(i);
        const double m = std::trunc(EllipsePerimeter(A, B) / stepy);
        if (m > 0) {
            stepy = EllipsePerimeter(A, B) / m;
            points += m + 2;
        }
    }
    if (!(points > limit)) return;
    r.host.ShowMessageText(
        "Die Ellipsen hätten mehr als " + std::to_string((long long)(limit / 1e6)) +
        " Millionen Punkte. Bitte Bahnabstand, Punktabstand "
        "oder Radienverhältnis vergrößern; es wurde kein Programm erstellt.");
    throw RunFailure{};
}

struct Coverage {
    double R;
    int nR;
};

Coverage CoverageFor(RunState& r, double rx, double ry, double stepX) {
    const double R = std::sqrt(rx * rx + ry * ry);
    return {R, RadialCount(r, R / stepX)};
}

}  // namespace

EllipsePoint RotateEllipsePoint(double A, double B, double t, double phi) {
    const double a = A * std::cos(t), b = B * std::sin(t);
    return {std::cos(phi) * a - std::sin(phi) * b, std::sin(phi) * a + std::cos(phi) * b};
}

// Rings 0 .. nR stepX apart, the last through the farthest corner; a milled ring is closed
// by its last point, a drilled ring has one hole per point spacing.
void CircleStrategy(RunState& r, bool drilling) {
    MainState& s = r.S;
    const CentreReach reach = FartherEdges(s);
    const Coverage c = CoverageFor(r, reach.x, reach.y, s.stepX);
    StartAtCentre(r, true);
    if (c.nR <= 0) return;
    s.stepX = c.R / c.nR;
    const double cx = s.CircleCentreX, cy = s.CircleCentreY;
    for (int i = 0; i <= c.nR; ++i) {
        const double radius = i * s.stepX;
        RadialRingStart(r, cx + radius, cy, false);
        const int m = RadialCount(r, 2 * kPi * radius / s.stepy);
        if (m > 0) {
            const double dTheta = 2 * kPi / m;
            const long long last = drilling ? m - 1 : m;
            const bool go = CurvePoints(r, 0, last, radius * dTheta, [&](long long k) {
                const double theta = double(k) * dTheta;
                return std::pair{cx + radius * std::cos(theta), cy + radius * std::sin(theta)};
            });
            if (!go) return;
        }
        ReportRadialProgress(r, i, c.nR);
    }
}

// One Archimedean spiral r = k theta of nR turns stepX apart, from the centre, which is
// written at the safe height, to the last whole point spacing before the farthest corner.
void SpiralStrategy(RunState& r) {
    MainState& s = r.S;
    const CentreReach reach = FartherEdges(s);
    const Coverage c = CoverageFor(r, reach.x, reach.y, s.stepX);
    StartAtCentre(r, false);
    if (c.nR <= 0) return;
    s.stepX = c.R / c.nR;
    const double thetaMax = 2 * kPi * c.nR;
    const double k = c.R / thetaMax;
    const double total = SpiralLength(k, thetaMax);
    const int nPts = RadialCount(r, total / s.stepy);
    const double cx = s.CircleCentreX, cy = s.CircleCentreY;

    r.pathStart = false;
    if (SampleDepth(r, cx, cy)) {
        r.Z = s.zg0;
        WriteCentreRelative(r, [&] { EmitPoint(r, ""); });
        r.Xold = r.X;
        r.Yold = r.Y;
    }
    SpiralAngleFinder finder(k);
    double theta = 0;
    auto at = [&](long long i) {
        theta = finder.AngleForLength(double(i) * s.stepy);
        const double radius = k * theta;
        return std::pair{cx + radius * std::cos(theta), cy + radius * std::sin(theta)};
    };
    for (long long i = 0; i <= nPts; ++i) {
        const auto [x, y] = at(i);
        const RadialStep step = RadialPointStep(r, x, y, "");
        if (r.PumpAndPollAbort()) return;
        // A spiral without a whole point spacing is one point: it is then complete.
        if (nPts > 0)
            ReportRadialProgress(r, i, nPts);
        else
            r.ReportProgress(100);
        if (step != RadialStep::Failed || !(s.stepy > 0)) continue;
        // Points along the curve lie one spacing of arc length apart (chords are shorter);
        // the slack covers the search tolerance and the angle's last digit.
        const double slack = 1e-3 + 1e-15 * theta * k * theta;
        const double away = DistanceOutsideWorkpiece(s, x, y) - slack;
        if (!(away > 0) || !std::isfinite(away)) continue;
        const double passable = std::floor(away / s.stepy * (1 - 1e-9));
        if (passable < 1) continue;
        const long long to = std::min<long long>(nPts, i + (long long)std::min(passable, 4.0e18));
        ReportPassedProgress(r, i, to, nPts);
        i = to;  // the points up to `to` would break the path again
    }
}

// Ellipses 1 .. nR about the centre, turned by the path angle: similar ellipses of the
// radius ratio, or parallel ones that keep the gap stepX along both axes. Each ring starts at
// the safe height; a milled ring runs one segment past its start, a drilled ring drills its
// start point again.
void EllipseStrategy(RunState& r, bool drilling) {
    MainState& s = r.S;
    RunHost& host = r.host;
    s.EllipseParallel = host.IsChecked("parallel_checkbox");
    ReadField(host, "rad_verhaeltnis", AngleDialog.RadiusRatio);
    ReadField(host, "stepX", s.stepX);
    double angle = s.Alpha;
    ReadField(host, "eingabe", angle);
    const double phi = angle * kPi / 180;
    const double ratio = AngleDialog.RadiusRatio;
    if (!(ratio > 0)) NoRadialPaths(r);  // refused before the run; kept for direct callers

    CentreReach reach = FartherEdges(s);
    reach.y = s.wst_b / 2 > s.CircleCentreY ? s.wst_b - s.CircleCentreY / ratio : s.CircleCentreY;
    const Coverage c = CoverageFor(r, reach.x, reach.y, s.stepX);
    StartAtCentre(r, true);
    if (c.nR <= 0) return;
    s.stepX = c.R / c.nR;
    const bool parallel = s.EllipseParallel;
    auto axes = [&](int i) {
        const double B = i * s.stepX;
        return std::pair{parallel ? s.stepX * ratio + (i - 1) * s.stepX : i * s.stepX * ratio, B};
    };
    CheckEllipsePoints(r, c.nR, axes);
    const double cx = s.CircleCentreX, cy = s.CircleCentreY;
    for (int i = 1; i <= c.nR; ++i) {
        // Plain variables, not a structured binding: the lambda below captures them.
        const auto axesOfRing = axes(i);
        const double A = axesOfRing.first, B = axesOfRing.second;
        auto P = [&](double t) {
            const EllipsePoint p = RotateEllipsePoint(A, B, t, phi);
            return std::pair{cx + p.x, cy + p.y};
        };
        const auto [x0, y0] = P(0);
        RadialRingStart(r, x0, y0, true);
        const double U = EllipsePerimeter(A, B);
        const int m = RadialCount(r, U / s.stepy);
        if (m > 0) {
            s.stepy = U / m;
            const double dt = 2 * kPi / m;
            const long long last = drilling ? (long long)m : (long long)m + 1;
            const bool go = CurvePoints(r, 0, last, std::max(A, B) * dt,
                                        [&](long long k) { return P(double(k) * dt); });
            if (!go) return;
        }
        ReportRadialProgress(r, i, c.nR);
    }
}

// Concentric regular n-gons stepX apart along their sides, turned by the path angle; ring 0
// is the plunge at the centre. The spacings are read back from their fields at the end.
void PolygonStrategy(RunState& r) {
    MainState& s = r.S;
    RunHost& host = r.host;
    struct ReadBack {
        RunState& r;
        ~ReadBack() {
            ReadField(r.host, "stepX", r.S.stepX);
            ReadField(r.host, "stepy", r.S.stepy);
        }
    } readBack{r};

    ReadCornerCount(host, AngleDialog.CornerCount);
    const int corners = AngleDialog.CornerCount;
    if (corners < 0) return;
    if (corners < 3) NoRadialPaths(r);  // refused before the run; kept for direct callers
    const double dPhi = 2 * kPi / corners;
    double angle = s.Alpha;
    ReadField(host, "eingabe", angle);
    const double rot = kPi * angle / 180;
    ReadField(host, "stepX", s.stepX);
    ReadField(host, "stepy", s.stepy);

    const CentreReach reach = FartherEdges(s);
    const Coverage c = CoverageFor(r, reach.x, reach.y, s.stepX);
    s.stepX = std::fabs(s.stepX / std::sin((kPi - dPhi) / 2));
    StartAtCentre(r, true);
    if (c.nR <= 0) return;
    const double cx = s.CircleCentreX, cy = s.CircleCentreY;
    for (int i = 0; i <= c.nR; ++i) {
        const double rho = i * s.stepX;
        auto corner = [&](int k) {
            const double a = k * dPhi + rot;
            return std::pair{cx + rho * std::cos(a), cy + rho * std::sin(a)};
        };
        auto [px, py] = corner(0);
        RadialRingStart(r, px, py, false);
        for (int k = 1; k <= corners; ++k) {
            const auto [qx, qy] = corner(k);
            const double d = std::hypot(qx - px, qy - py);
            int nS = 1;
            if (d / s.stepy >= 1) nS = RadialCount(r, d / s.stepy);
            const double stride = d / nS;
            for (long long j = 1; j <= nS; ++j) {
                const double f = double(j) / double(nS);
                const double x = px + f * (qx - px), y = py + f * (qy - py);
                const RadialStep step =
                    RadialPointStep(r, x, y, j == nS ? std::string_view(r.PathComment) : std::string_view());
                // A long side is polled on its way too, so that a cancel is answered soon.
                if (j % 1024 == 0 && r.PumpAndPollAbort()) return;
                if (step != RadialStep::Failed || j == nS) continue;
                const double away = DistanceOutsideWorkpiece(s, x, y);
                if (!(away > 0) || !(stride > 0)) continue;
                const double passable = std::floor(away / stride * (1 - 1e-9));
                // The corner is always sampled, for its mark.
                if (passable >= 1) j = std::min<long long>(nS - 1, j + (long long)std::min(passable, 4.0e18));
            }
            px = qx;
            py = qy;
            if (r.PumpAndPollAbort()) return;
        }
        ReportRadialProgress(r, i, c.nR);
    }
}
