#include "generation/LinearStrategies.h"

#include "generation/Emitters.h"
#include "generation/MainState.h"
#include "generation/NumberFormat.h"
#include "generation/RunHost.h"
#include "generation/RunState.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

enum class Step { Written, Repeated, Failed };

// One sample point: written unless it repeats the last point; a failure breaks the path.
Step PointStep(RunState& r, double x, double y) {
    if (SampleDepth(r, x, y)) {
        if (r.X == r.Xold && r.Y == r.Yold) return Step::Repeated;
        EmitPoint(r, "");
        r.Xold = r.X;
        r.Yold = r.Y;
        r.Zold = r.Z;
        r.pathStart = false;
        return Step::Written;
    }
    r.Xold = r.X;
    r.Yold = r.Y;
    r.Zold = r.Z;
    r.pathStart = true;
    return Step::Failed;
}

void PathBreak(RunState& r) {
    r.Zold = r.S.zg0;
    r.pathStart = true;
}

[[noreturn]] void TooFewPaths(RunState& r) {
    r.host.ShowFileMessage(MsgTooFewPaths, 'N');
    throw RunFailure{};
}

// Trunc(extent / spacing) as a path or point count of at least 1, or message 9 and the end
// of the run. A spacing of 0 or below gives no paths.
int CountOrFail(RunState& r, double extent, double spacing) {
    if (!(spacing > 0)) TooFewPaths(r);
    auto n = TruncToInt32(extent / spacing);
    if (!n || *n < 1) TooFewPaths(r);
    return *n;
}

// Points between two polls of the cancel button where the points pump nothing themselves
// (a long oblique line, a row of points outside the workpiece or finished by an earlier
// pass): a cancel is then still answered within a few hundred points.
constexpr int kPointsPerPoll = 256;

int Percent(int i, int n, double scale) {
    return int(std::nearbyint(double(i) / double(n) * scale));
}

}  // namespace

namespace {

// Rows and columns are one serpentine pattern with the axes exchanged: paths stepX apart
// across the workpiece, points stepy apart along each path, both refitted to the edges.
// Rows pump messages after every written point and report the first half of a cross;
// columns pump after every sampled point and report the second half.
void SerpentineStrategy(RunState& r, bool rows) {
    MainState& s = r.S;
    const double alongExtent = rows ? s.wst_l : s.wst_b;
    const double acrossExtent = rows ? s.wst_b : s.wst_l;
    const int nPoints = CountOrFail(r, alongExtent, s.stepy);
    const int nPaths = CountOrFail(r, acrossExtent, s.stepX);
    s.stepy = alongExtent / nPoints;
    s.stepX = acrossExtent / nPaths;
    r.X = 0;
    r.Y = 0;
    r.Z = s.zg0;
    MoveTo(r, "", 0, 0, s.zg0);
    int unpolled = 0;  // counted across paths: many short paths may write nothing either
    for (int i = 0; i <= nPaths; ++i) {
        const double across = i * s.stepX;
        PathBreak(r);
        const bool ascending = i % 2 == 0;
        for (int k = 0; k <= nPoints; ++k) {
            const double along = (ascending ? k : nPoints - k) * s.stepy;
            const Step step = rows ? PointStep(r, along, across) : PointStep(r, across, along);
            const bool pump = rows ? step == Step::Written : step != Step::Failed;
            if (pump || ++unpolled == kPointsPerPoll) {
                unpolled = 0;
                if (r.PumpAndPollAbort()) return;
            }
        }
        int percent;
        if (!s.CrossPatternRunning)
            percent = Percent(i, nPaths, 100);
        else
            percent = Percent(i, nPaths, 50) + (rows ? 0 : 50);
        r.ReportProgress(percent);
    }
}

}  // namespace

void RowStrategy(RunState& r) { SerpentineStrategy(r, true); }

void ColumnStrategy(RunState& r) { SerpentineStrategy(r, false); }

ObliqueLine ClipObliqueLine(double x1, double t, double length, double width) {
    ObliqueLine line{0, 0, x1, x1 * t};
    if (line.x1 > length) {
        line.y0 = (line.x1 - length) * t;
        line.x1 = length;
    }
    if (line.y1 > width) {
        line.x0 = (line.y1 - width) / t;
        line.y1 = width;
    }
    return line;
}

void ObliqueStrategy(RunState& r, bool secondHalf) {
    MainState& s = r.S;
    RunHost& host = r.host;
    double theta = s.Alpha;
    if (theta > 180) theta -= 180;
    const double a = std::numbers::pi * theta / 180;

    ReadField(host, "wst_l", s.wst_l);
    ReadField(host, "wst_b", s.wst_b);
    ReadField(host, "stepX", s.stepX);
    ReadField(host, "stepy", s.stepy);
    const double entryL = s.wst_l, entryB = s.wst_b, entryStepX = s.stepX, entryStepY = s.stepy;
    if (!(s.stepX > 0) || !(s.stepy > 0)) TooFewPaths(r);

    // At 0, 90 and 180 degrees the slope has no finite value: the lines are then laid out as
    // the family they tend to, rows (along X) or columns (along Y) stepX apart.
    constexpr double kAxisParallel = 1e-9;
    const double S = std::fabs(std::sin(a)), C = std::fabs(std::cos(a));
    const bool rowsFamily = S < kAxisParallel;
    const bool columnsFamily = !rowsFamily && C < kAxisParallel;

    double t = 0, dX = 0;
    int nX = 0, nY = 0;
    if (rowsFamily) {
        auto rows = TruncToInt32(s.wst_b / s.stepX);
        if (!rows) TooFewPaths(r);
        nY = *rows;
    } else {
        t = columnsFamily ? 0 : S / C;
        dX = s.stepX / S;
        auto n = TruncToInt32(s.wst_l / dX);
        if (!n) TooFewPaths(r);
        nX = *n;
        if (nX > 0) dX = s.wst_l / nX;
        s.stepX = dX;
        if (!columnsFamily) {
            auto m = TruncToInt32(s.wst_b / dX / t);
            if (!m) TooFewPaths(r);
            nY = *m;
        }
    }
    if (double(nX) + double(nY) + 1 > 2147483647.0) TooFewPaths(r);

    r.Z = s.zg0;
    r.Zold = s.zg0;
    if (theta < 90) r.X = s.wst_l;
    if (!secondHalf) MoveTo(r, "", r.X, r.Y, s.zg0);
    const std::string_view mark = r.optimise ? "(0)" : "";
    const bool mirrored = theta <= 90;
    const double s0 = entryStepY;

    const int lastLine = nX + nY + 1;
    for (int i = 0; i <= lastLine; ++i) {
        ObliqueLine line;
        if (rowsFamily) {
            const double y = i * s.stepX;
            line = i == 0 ? ObliqueLine{0, 0, 0, 0} : ObliqueLine{0, y, s.wst_l, y};
        } else if (columnsFamily) {
            const double x = i * dX;
            line = i == 0 ? ObliqueLine{0, 0, 0, 0} : ObliqueLine{x, 0, x, s.wst_b};
        } else {
            line = ClipObliqueLine(i * dX, t, s.wst_l, s.wst_b);
        }
        // A line beyond the far corner lies outside the workpiece: it keeps only its upper
        // end, which breaks the path (or lies on the corner), instead of its length outside.
        const bool beyond = line.x0 > s.wst_l || line.y0 > s.wst_b;
        double L = beyond ? 0 : std::hypot(line.x0 - line.x1, line.y1 - line.y0);
        const double q = L / s0;
        if (!(std::fabs(q) < 2147483647.0)) TooFewPaths(r);
        const int n = std::abs(int(std::trunc(q)));
        if (n > 0) L = L / n;
        host.SetFieldValue("stepy", L);
        if (n > 0) s.stepy = std::fabs(line.y0 - line.y1) / n;

        auto point = [&](int j) {
            double x, y;
            if (rowsFamily || columnsFamily) {
                x = line.x0 + (n > 0 ? j * (line.x1 - line.x0) / n : 0);
                y = line.y1 - (n > 0 ? j * (line.y1 - line.y0) / n : 0);
            } else {
                x = line.x0 + j * s.stepy / t;
                y = line.y1 - j * s.stepy;
            }
            if (mirrored) x = s.wst_l - x;
            return std::pair{x, y};
        };
        const bool forward = i % 2 == 0;
        const auto [sx, sy] = point(forward ? 0 : n);
        if (SampleDepth(r, sx, sy))
            StartPath(r, mark);
        else
            PathBreak(r);
        for (int k = 1; k <= n; ++k) {
            const auto [px, py] = point(forward ? k : n - k);
            PointStep(r, px, py);
            if (k % kPointsPerPoll == 0 && r.PumpAndPollAbort()) return;
        }

        if (nX + nY > 0) {
            // The last line lies beyond the far corner; it counts as the end, not past it.
            const int done = std::min(i, nX + nY);
            int percent = Percent(done, nX + nY, s.CrossPatternRunning ? 50 : 100);
            if (s.CrossPatternRunning && secondHalf) percent += 50;
            r.ReportProgress(percent);
        }
        if (r.PumpAndPollAbort()) return;
    }
    host.SetFieldValue("wst_l", entryL);
    host.SetFieldValue("wst_b", entryB);
    host.SetFieldValue("stepX", entryStepX);
    host.SetFieldValue("stepy", entryStepY);
}
