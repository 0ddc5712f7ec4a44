#pragma once
// Stand-ins for the radial strategies (circle, ellipse, spiral, labyrinth, n-gon) that this
// build does not have yet: they lay their points out as those strategies do, about the
// circle centre, and write them through the real emitters, with the marker comments that the
// optimiser reads. Tests use them only where the built-in table has no routine.
#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/RunHost.h"
#include "generation/RunState.h"
#include "generation/Strategies.h"
#include "platform/LineStore.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace radial_test {

// Runs fn with the current and the last point relative to the circle centre.
template <typename Fn>
void CentreRelative(RunState& r, Fn fn) {
    const double cx = r.S.CircleCentreX, cy = r.S.CircleCentreY;
    r.X -= cx, r.Xold -= cx, r.Y -= cy, r.Yold -= cy;
    fn();
    r.X += cx, r.Xold += cx, r.Y += cy, r.Yold += cy;
}

inline void PointStep(RunState& r, double x, double y, std::string_view comment = {}) {
    if (SampleDepth(r, x, y)) {
        if (!(r.X == r.Xold && r.Y == r.Yold)) {
            CentreRelative(r, [&] { EmitPoint(r, comment); });
            r.pathStart = false;
        }
        r.Xold = r.X;
        r.Yold = r.Y;
        return;
    }
    r.Xold = r.X;
    r.Yold = r.Y;
    r.Zold = r.Z;
    r.pathStart = true;
}

inline void RingStart(RunState& r, double x, double y) {
    if (SampleDepth(r, x, y)) {
        CentreRelative(r, [&] { StartPath(r, r.PathComment); });
        r.Xold = r.X;
        r.Yold = r.Y;
        r.Zold = r.Z;
    } else {
        r.Zold = r.S.zg0;
        r.pathStart = true;
    }
}

// The distance from the centre to the farthest workpiece corner.
inline double CoverageRadius(const MainState& s) {
    const double rx = s.wst_l / 2 > s.CircleCentreX ? s.wst_l - s.CircleCentreX : s.CircleCentreX;
    const double ry = s.wst_b / 2 > s.CircleCentreY ? s.wst_b - s.CircleCentreY : s.CircleCentreY;
    return std::hypot(rx, ry);
}

inline void Begin(RunState& r) {
    MainState& s = r.S;
    r.X = r.Xold = s.CircleCentreX;
    r.Y = r.Yold = s.CircleCentreY;
    r.Z = r.Zold = s.zg0;
    r.PathComment = r.optimise ? "(0)" : "";
}

inline void Circle(RunState& r, bool drilling) {
    MainState& s = r.S;
    const double R = CoverageRadius(s);
    const int nR = int(std::trunc(R / s.stepX));
    if (nR == 0) return;
    s.stepX = R / nR;
    Begin(r);
    for (int i = 0; i <= nR; ++i) {
        const double radius = i * s.stepX;
        RingStart(r, s.CircleCentreX + radius, s.CircleCentreY);
        const int m = int(std::trunc(2 * std::numbers::pi * radius / s.stepy));
        for (int k = 0; m > 0 && k <= (drilling ? m - 1 : m); ++k) {
            const double t = k * 2 * std::numbers::pi / m;
            PointStep(r, s.CircleCentreX + radius * std::cos(t), s.CircleCentreY + radius * std::sin(t));
            if (r.PumpAndPollAbort()) return;
        }
    }
}

// Similar ellipses with the long axis twice the short one.
inline void Ellipse(RunState& r, bool drilling) {
    MainState& s = r.S;
    const double R = CoverageRadius(s);
    const int nR = int(std::trunc(R / s.stepX));
    if (nR == 0) return;
    s.stepX = R / nR;
    Begin(r);
    for (int i = 1; i <= nR; ++i) {
        const double B = i * s.stepX, A = 2 * B;
        auto at = [&](double t) { return std::pair{s.CircleCentreX + A * std::cos(t), s.CircleCentreY + B * std::sin(t)}; };
        r.Z = s.zg0;
        RingStart(r, at(0).first, at(0).second);
        const int m = int(std::trunc(std::numbers::pi * (A + B) * 1.5 / s.stepy));
        for (int k = 0; m > 0 && k <= (drilling ? m : m + 1); ++k) {
            const auto [x, y] = at(k * 2 * std::numbers::pi / m);
            PointStep(r, x, y);
            if (r.PumpAndPollAbort()) return;
        }
    }
}

inline void Spiral(RunState& r) {
    MainState& s = r.S;
    const double R = CoverageRadius(s);
    const int nR = int(std::trunc(R / s.stepX));
    if (nR == 0) return;
    s.stepX = R / nR;
    Begin(r);
    r.pathStart = false;
    if (SampleDepth(r, s.CircleCentreX, s.CircleCentreY)) {
        r.Z = s.zg0;
        CentreRelative(r, [&] { EmitPoint(r, ""); });
        r.Xold = r.X;
        r.Yold = r.Y;
    }
    const double thetaMax = 2 * std::numbers::pi * nR, k = R / thetaMax;
    const int points = int(std::trunc(k * thetaMax * thetaMax / 2 / s.stepy));
    for (int i = 0; i <= points; ++i) {
        const double theta = std::sqrt(2 * i * s.stepy / k);  // about one point spacing apart
        const double radius = k * theta;
        if (SampleDepth(r, s.CircleCentreX + radius * std::cos(theta), s.CircleCentreY + radius * std::sin(theta))) {
            if (!(r.X == r.Xold && r.Y == r.Yold)) {
                CentreRelative(r, [&] { EmitPoint(r, ""); });
                r.pathStart = false;
            }
            r.Xold = r.X;
            r.Yold = r.Y;
        } else {
            r.Zold = s.zg0;
            r.pathStart = true;
        }
        if (r.PumpAndPollAbort()) return;
    }
}

inline void Polygon(RunState& r) {
    MainState& s = r.S;
    double corners = 5;
    r.host.GetFieldValue("ecken", corners);
    const int n = int(corners);
    double angle = 0;
    r.host.GetFieldValue("eingabe", angle);
    const double dphi = 2 * std::numbers::pi / n, rot = std::numbers::pi * angle / 180;
    const double R = CoverageRadius(s);
    const int nR = int(std::trunc(R / s.stepX));
    if (nR > 0) {
        s.stepX = std::fabs(s.stepX / std::sin((std::numbers::pi - dphi) / 2));
        Begin(r);
        for (int i = 0; i <= nR; ++i) {
            const double rho = i * s.stepX;
            auto corner = [&](int k) {
                return std::pair{s.CircleCentreX + rho * std::cos(k * dphi + rot), s.CircleCentreY + rho * std::sin(k * dphi + rot)};
            };
            auto [px, py] = corner(0);
            RingStart(r, px, py);
            for (int k = 1; k <= n; ++k) {
                const auto [qx, qy] = corner(k);
                const int steps = std::max(1, int(std::trunc(std::hypot(qx - px, qy - py) / s.stepy)));
                for (int j = 1; j <= steps; ++j)
                    PointStep(r, px + (qx - px) * j / steps, py + (qy - py) * j / steps, j == steps ? r.PathComment : "");
                px = qx, py = qy;
                if (r.PumpAndPollAbort()) goto done;
            }
        }
    }
done:
    ReadField(r.host, "stepX", s.stepX);
    ReadField(r.host, "stepy", s.stepy);
}

// The square spiral about the centre, clockwise, with the side number as marker.
inline void Labyrinth(RunState& r) {
    MainState& s = r.S;
    const double cx = s.CircleCentreX, cy = s.CircleCentreY;
    const double rx = s.wst_l / 2 > cx ? s.wst_l - cx : cx;
    const double ry = s.wst_b / 2 > cy ? s.wst_b - cy : cy;
    const int rings = int(std::trunc(std::max(rx / s.stepX, ry / s.stepX)));
    r.pathStart = false;
    int a = 0, b = 0;
    r.X = r.Xold = cx;
    r.Y = r.Yold = cy;
    r.Z = s.zg0;
    const double s0 = s.stepy;
    const std::string safe = FormatNumber(s.komma, s.zg0);
    r.lines.Add("G0 Z" + safe + " ");
    r.lines.Add("G0 X0 Y0 Z" + safe + " ");
    if (SampleDepth(r, cx, cy)) r.lines.Add("G1 X0 Y0 Z" + FormatNumber(s.komma, r.Z) + " ");
    r.Xold = r.X, r.Yold = r.Y, r.Zold = r.Z;
    double px = cx, py = cy;
    for (int ring = 0; ring < rings; ++ring) {
        for (int side = 1; side <= 4; ++side) {
            const char mark[] = {'(', char('0' + side), ')', '\0'};
            const std::string_view comment = r.optimise ? std::string_view(mark) : std::string_view();
            const bool alongX = side == 1 || side == 3;
            const bool positive = side == 1 || side == 4;
            double i0 = alongX ? a : b;
            if (side == 1) a = 1 - a;
            if (side == 2) b = -1 - b;
            if (side == 3) a = -a;
            if (side == 4) b = -b;
            double i1 = alongX ? a : b;
            const double c = alongX ? cx : cy, limit = alongX ? s.wst_l : s.wst_b;
            if (positive) {
                if (c + i0 * s.stepX < 0) i0 = -c / s.stepX;
                if (c + i1 * s.stepX > limit) i1 = (limit - c) / s.stepX;
            } else {
                if (c + i1 * s.stepX < 0) i1 = -c / s.stepX;
                if (c + i0 * s.stepX > limit) i0 = (limit - c) / s.stepX;
            }
            const double len = std::fabs(i1 - i0) * s.stepX;
            const int n = std::max(1, int(std::nearbyint(len / s0)));
            s.stepy = len / n;
            const double qx = px, qy = py;
            for (int j = 1; j <= n; ++j) {
                double x = qx, y = qy;
                if (alongX)
                    x = qx + (positive ? 1 : -1) * j * s.stepy;
                else
                    y = qy + (positive ? 1 : -1) * j * s.stepy;
                x = std::clamp(x, 0.0, s.wst_l);
                y = std::clamp(y, 0.0, s.wst_b);
                px = x, py = y;
                if (SampleDepth(r, x, y)) {
                    if (!(r.X == r.Xold && r.Y == r.Yold)) {
                        CentreRelative(r, [&] { EmitPoint(r, comment); });
                        r.pathStart = false;
                    }
                } else {
                    r.Zold = r.Z;
                    r.pathStart = true;
                }
                r.Xold = r.X, r.Yold = r.Y;
            }
        }
        if (r.PumpAndPollAbort()) return;
    }
}

// The built-in strategies, with these stand-ins where a routine is missing.
inline StrategyRoutines WithStandIns(StrategyRoutines t) {
    if (!t.CircleStrategy) t.CircleStrategy = Circle;
    if (!t.EllipseStrategy) t.EllipseStrategy = Ellipse;
    if (!t.SpiralStrategy) t.SpiralStrategy = Spiral;
    if (!t.PolygonStrategy) t.PolygonStrategy = Polygon;
    if (!t.LabyrinthStrategy) t.LabyrinthStrategy = Labyrinth;
    return t;
}

}  // namespace radial_test
