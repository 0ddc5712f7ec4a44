#pragma once
// A small modal G-code interpreter for tests: replays a program and records its cut, the
// sequence of cutting segments (feed moves, arcs, and rapids that start or end below the
// surface, retracts included) with consecutive segments merged where they continue one
// another at one depth, and the tool positions at every stop "M0" and at the program's end.
//
// Read as the generated programs mean it: G0, G1, G2, G3 are modal, X, Y, Z absolute, arcs
// run about the absolute centre I, J (the circle programs write centre-relative coordinates
// about I0 J0), a comment in round brackets and a line number N are skipped.
#include "platform/LineStore.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <ostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

struct ToolPoint {
    double x = 0, y = 0, z = 0;
};

struct CutStep {
    enum Kind { Feed, Arc, RapidInMaterial, Stop, End };
    Kind kind = Feed;
    ToolPoint from, to;
    double cx = 0, cy = 0;  // arcs: the centre
    double sweep = 0;       // arcs: radians, positive counter-clockwise
};

inline std::ostream& operator<<(std::ostream& os, const CutStep& s) {
    static const char* const names[] = {"feed", "arc", "rapid in material", "stop", "end"};
    os << names[s.kind] << " (" << s.from.x << ", " << s.from.y << ", " << s.from.z << ") -> (" << s.to.x << ", "
       << s.to.y << ", " << s.to.z << ")";
    if (s.kind == CutStep::Arc) os << " about (" << s.cx << ", " << s.cy << ") sweep " << s.sweep;
    return os;
}

class ToolpathReplay {
public:
    // `mergeTolerance`: how far (mm) a joint may lie off the straight line through its
    // neighbours and still be merged; programs with d decimals round every point by up to
    // half a unit of the last decimal.
    explicit ToolpathReplay(double mergeTolerance = 0.01, ToolPoint start = {0, 0, 100})
        : tolerance_(mergeTolerance), at_(start) {}

    void Replay(const TStrings& program) {
        for (std::size_t i = 0; i < program.Count(); ++i) Line(program.Line(i));
        Finish();
    }
    void Replay(const std::vector<std::string>& program) {
        for (const auto& line : program) Line(line);
        Finish();
    }

    const std::vector<CutStep>& Cut() const { return cut_; }

    void Line(std::string_view line) {
        ToolPoint to = at_;
        bool move = false, stop = false;
        double i = 0, j = 0;
        for (std::size_t p = 0; p < line.size();) {
            const char c = line[p];
            if (c == '(') {
                const std::size_t close = line.find(')', p);
                p = close == std::string_view::npos ? line.size() : close + 1;
                continue;
            }
            if (c < 'A' || c > 'Z') {
                ++p;
                continue;
            }
            double value = 0;
            const std::size_t end = Number(line, p + 1, value);
            p = end;
            switch (c) {
                case 'G': mode_ = int(value); break;
                case 'X': to.x = value; move = true; break;
                case 'Y': to.y = value; move = true; break;
                case 'Z': to.z = value; move = true; break;
                case 'I': i = value; break;
                case 'J': j = value; break;
                case 'M': stop = stop || value == 0; break;
                default: break;
            }
        }
        if (move) Move(to, i, j);
        if (stop) Add({CutStep::Stop, at_, at_, 0, 0, 0});
    }

    void Finish() { Add({CutStep::End, at_, at_, 0, 0, 0}); }

private:
    // The number after a letter ("X-1.5", "G0Z1" gives 0 for G); its end.
    static std::size_t Number(std::string_view line, std::size_t p, double& value) {
        std::size_t q = p;
        bool negative = false;
        if (q < line.size() && (line[q] == '+' || line[q] == '-')) negative = line[q++] == '-';
        const char* first = line.data() + q;
        auto [ptr, ec] = std::from_chars(first, line.data() + line.size(), value, std::chars_format::fixed);
        if (ec != std::errc()) {
            value = 0;
            return q;
        }
        if (negative) value = -value;
        return std::size_t(ptr - line.data());
    }

    void Move(const ToolPoint& to, double i, double j) {
        const ToolPoint from = at_;
        at_ = to;
        switch (mode_) {
            case 0:
                if (from.z < 0 || to.z < 0) Add({CutStep::RapidInMaterial, from, to, 0, 0, 0});
                break;
            case 1:
                Add({CutStep::Feed, from, to, 0, 0, 0});
                break;
            case 2:
            case 3: {
                const double a0 = std::atan2(from.y - j, from.x - i);
                const double a1 = std::atan2(to.y - j, to.x - i);
                constexpr double kTurn = 2 * std::numbers::pi;
                double sweep = mode_ == 3 ? a1 - a0 : a0 - a1;
                while (sweep <= 0) sweep += kTurn;  // an arc back to its start is a full circle
                while (sweep > kTurn) sweep -= kTurn;
                Add({CutStep::Arc, from, to, i, j, mode_ == 3 ? sweep : -sweep});
                break;
            }
            default:
                break;
        }
    }

    static bool Same(double a, double b) { return std::fabs(a - b) < 1e-9; }
    static bool Same(const ToolPoint& a, const ToolPoint& b) { return Same(a.x, b.x) && Same(a.y, b.y) && Same(a.z, b.z); }

    // Whether `next` continues `last` at one depth: a straight feed on in the same direction,
    // or an arc on about the same centre and turning the same way.
    bool Continues(const CutStep& last, const CutStep& next) const {
        if (last.kind != next.kind || !Same(last.to, next.from)) return false;
        if (!Same(last.from.z, last.to.z) || !Same(next.from.z, next.to.z) || !Same(last.to.z, next.from.z))
            return false;
        if (next.kind == CutStep::Arc) {
            if (!Same(last.cx, next.cx) || !Same(last.cy, next.cy) || (last.sweep > 0) != (next.sweep > 0))
                return false;
            const double r0 = std::hypot(last.from.x - last.cx, last.from.y - last.cy);
            const double r1 = std::hypot(next.to.x - next.cx, next.to.y - next.cy);
            return std::fabs(r0 - r1) <= tolerance_;
        }
        if (next.kind != CutStep::Feed && next.kind != CutStep::RapidInMaterial) return false;
        // The joint lies on the straight line from the run's start to the new end, between them.
        const double dx = next.to.x - last.from.x, dy = next.to.y - last.from.y;
        const double length = std::hypot(dx, dy);
        if (length < 1e-9) return false;
        const double jx = last.to.x - last.from.x, jy = last.to.y - last.from.y;
        const double along = (jx * dx + jy * dy) / length;
        const double off = std::fabs(jx * dy - jy * dx) / length;
        return off <= tolerance_ && along > 0 && along < length;
    }

    void Add(const CutStep& step) {
        const bool zeroLength = (step.kind == CutStep::Feed || step.kind == CutStep::RapidInMaterial) &&
                                Same(step.from, step.to);
        if (zeroLength) return;
        if (!cut_.empty() && Continues(cut_.back(), step)) {
            cut_.back().to = step.to;
            cut_.back().sweep += step.sweep;
            return;
        }
        cut_.push_back(step);
    }

    double tolerance_;
    ToolPoint at_;
    int mode_ = 0;
    std::vector<CutStep> cut_;
};

// The first place where two cuts differ, or an empty text.
inline std::string FirstCutDifference(const std::vector<CutStep>& a, const std::vector<CutStep>& b,
                                      double tolerance = 1e-6) {
    auto near = [&](double u, double v) { return std::fabs(u - v) <= tolerance; };
    auto same = [&](const CutStep& s, const CutStep& t) {
        return s.kind == t.kind && near(s.from.x, t.from.x) && near(s.from.y, t.from.y) && near(s.from.z, t.from.z) &&
               near(s.to.x, t.to.x) && near(s.to.y, t.to.y) && near(s.to.z, t.to.z) && near(s.cx, t.cx) &&
               near(s.cy, t.cy) && near(s.sweep, t.sweep);
    };
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!same(a[i], b[i])) {
            std::ostringstream os;
            os << "step " << i << ":\n  raw       " << a[i] << "\n  optimised " << b[i];
            return os.str();
        }
    }
    if (a.size() != b.size()) {
        std::ostringstream os;
        os << "raw has " << a.size() << " steps, optimised " << b.size();
        if (n < a.size()) os << "; first missing: " << a[n];
        if (n < b.size()) os << "; first extra: " << b[n];
        return os.str();
    }
    return {};
}
