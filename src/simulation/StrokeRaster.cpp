#include "simulation/StrokeRaster.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Whole lengths below 2^26 square exactly.
constexpr double kExact = 67108864.0;

struct Span {
    double lo = 1, hi = 0;  // empty when lo > hi
    bool Empty() const { return lo > hi; }
};

Span Join(Span a, Span b) {
    if (a.Empty()) return b;
    if (b.Empty()) return a;
    return {std::min(a.lo, b.lo), std::max(a.hi, b.hi)};
}

// The disc of radius r about (cx, cy) on the scan line y.
Span DiscSpan(double cx, double cy, double r, double y) {
    const double dy = y - cy;
    const double h2 = r * r - dy * dy;
    if (h2 < 0) return {};
    const double h = std::sqrt(h2);
    return {cx - h, cx + h};
}

// x where lo <= a*x + b <= hi, within span s.
Span Clip(Span s, double a, double b, double lo, double hi) {
    if (s.Empty()) return s;
    if (a == 0) return (b >= lo && b <= hi) ? s : Span{};
    double x0 = (lo - b) / a, x1 = (hi - b) / a;
    if (x0 > x1) std::swap(x0, x1);
    return {std::max(s.lo, x0), std::min(s.hi, x1)};
}

// A stroke with what its scan lines share: the direction and length of its segment, and
// whether it runs along a scan line or across them with a length in whole pixels, where
// the span has a short form that gives the same numbers as the long one.
struct Prepared {
    const Stroke& s;
    double ux = 0, uy = 0, len = 0;
    bool alongColumn = false;
    explicit Prepared(const Stroke& stroke) : s(stroke) {
        const double dx = s.bx - s.ax, dy = s.by - s.ay;
        len = std::sqrt(dx * dx + dy * dy);
        if (len > 0) {
            ux = dx / len;
            uy = dy / len;
        }
        // Whole lengths below 2^26 square exactly: the length is |dy| and u is (0, +-1).
        alongColumn = dx == 0 && dy == std::trunc(dy) && std::abs(dy) < kExact && len > 0;
    }
};

// The pixels of the stroke on the scan line y: a convex set, so one span: the two end
// discs and the band between them.
Span StrokeSpan(const Prepared& p, double y) {
    const Stroke& s = p.s;
    if (s.alongRow) {
        // The band between the discs lies inside them.
        const double dy = y - s.ay;
        const double h2 = s.r * s.r - dy * dy;
        if (h2 < 0) return {};
        const double h = std::sqrt(h2);
        return {std::min(s.ax, s.bx) - h, std::max(s.ax, s.bx) + h};
    }
    Span span = Join(DiscSpan(s.ax, s.ay, s.r, y), DiscSpan(s.bx, s.by, s.r, y));
    if (p.alongColumn) {
        // Beside the segment the band is as wide as the pen, and covers the discs.
        if (y >= std::min(s.ay, s.by) && y <= std::max(s.ay, s.by)) return {s.ax - s.r, s.ax + s.r};
        return span;
    }
    if (p.len > 0) {
        // Along the segment: 0 <= u.(q - a) <= len; across it: |n.(q - a)| <= r, n = (-uy, ux).
        Span band{-1e300, 1e300};
        band = Clip(band, p.ux, p.uy * (y - s.ay) - p.ux * s.ax, 0, p.len);
        band = Clip(band, -p.uy, p.ux * (y - s.ay) + p.uy * s.ax, -s.r, s.r);
        span = Join(span, band);
    }
    return span;
}

// The distance of (px, py) from the segment of s.
double SegmentDistance(double px, double py, const Stroke& s) {
    const double dx = s.bx - s.ax, dy = s.by - s.ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - s.ax) * dx + (py - s.ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = px - (s.ax + t * dx), ey = py - (s.ay + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

constexpr Stroke kNoStroke{0, 0, 0, 0, 0, 0, true};

// One painter's walk over the strokes of a batch.
class Painter {
public:
    Painter(const PixelRows& picture, RowShare share) : p_(picture) {
        // For every row, the first row at or below it that is this painter's.
        const int h = share.bandHeight, n = share.bandCount;
        next_.resize(std::size_t(p_.height) + 1);
        int mine = p_.height;
        for (int y = p_.height - 1; y >= 0; --y) {
            if ((y / h) % n == share.band) mine = y;
            next_[std::size_t(y)] = mine;
        }
        next_[std::size_t(p_.height)] = p_.height;
    }

    void Paint(const Stroke& s) {
        const double top = std::max(0.0, std::ceil(std::min(s.ay, s.by) - s.r));
        const double bottom = std::min(double(p_.height - 1), std::floor(std::max(s.ay, s.by) + s.r));
        if (!(top <= bottom)) return;
        const int last = int(bottom);
        int y = next_[std::size_t(int(top))];
        if (y > last) return;  // none of this painter's rows
        const Prepared prepared(s);
        // The stroke before on these rows lies on the same row in the same colour: what it
        // covered has the colour already.
        const bool besidePrevious = previous_.alongRow && s.alongRow &&
                                    previous_.ay == s.ay && previous_.colour == s.colour;
        const Prepared before(besidePrevious ? previous_ : kNoStroke);
        for (; y <= last; y = next_[std::size_t(y) + 1]) {
            const Span span = StrokeSpan(prepared, y);
            if (span.Empty()) continue;
            const int x0 = int(std::max(0.0, std::ceil(span.lo)));
            const int x1 = int(std::min(double(p_.width - 1), std::floor(span.hi)));
            if (x0 > x1) continue;
            std::uint32_t* row = p_.bits + std::ptrdiff_t(y) * p_.stride;
            if (besidePrevious) {
                const Span c = StrokeSpan(before, y);
                if (!c.Empty()) {
                    const int c0 = int(std::ceil(c.lo)), c1 = int(std::floor(c.hi));
                    if (c0 <= c1) {
                        // Paint what lies left and right of the covered pixels.
                        std::fill(row + x0, row + std::max(x0, std::min(x1 + 1, c0)), s.colour);
                        if (c1 + 1 <= x1) std::fill(row + std::max(x0, c1 + 1), row + x1 + 1, s.colour);
                        continue;
                    }
                }
            }
            std::fill(row + x0, row + x1 + 1, s.colour);
        }
        previous_ = s;
    }

private:
    const PixelRows& p_;
    std::vector<int> next_;
    Stroke previous_{0, 0, 0, 0, -1, 0, false};  // the last stroke on these rows, painted in full
};

}  // namespace

Stroke MakeStroke(double ax, double ay, double bx, double by, double r, std::uint32_t colour) {
    const double dx = bx - ax;
    return {ax, ay, bx, by, r, colour, ay == by && dx == std::trunc(dx) && std::abs(dx) < kExact};
}

void PaintStrokes(const PixelRows& picture, std::span<const Stroke> strokes, RowShare share) {
    if (!picture.bits || picture.width <= 0 || picture.height <= 0) return;
    if (share.bandCount < 1 || share.bandHeight < 1) return;
    Painter painter(picture, share);
    for (const Stroke& s : strokes) painter.Paint(s);
}

bool StrokeInside(const Stroke& inner, const Stroke& outer) {
    // Most often a dot where the stroke before ended, no wider than it.
    if (inner.ax == inner.bx && inner.ay == inner.by && inner.ax == outer.bx &&
        inner.ay == outer.by) {
        return inner.r <= outer.r;
    }
    if (inner.alongRow && outer.alongRow && inner.ay == outer.ay) {
        // On one row the distance from the segment is how far past its ends a point lies.
        const double lo = std::min(outer.ax, outer.bx), hi = std::max(outer.ax, outer.bx);
        auto past = [&](double x) { return std::max({0.0, lo - x, x - hi}); };
        return past(inner.ax) + inner.r <= outer.r && past(inner.bx) + inner.r <= outer.r;
    }
    return SegmentDistance(inner.ax, inner.ay, outer) + inner.r <= outer.r &&
           SegmentDistance(inner.bx, inner.by, outer) + inner.r <= outer.r;
}

bool StrokeCovers(const Stroke& outer, const Stroke& inner) {
    return outer.alongRow && inner.alongRow && outer.ay == inner.ay && outer.r >= inner.r &&
           std::min(outer.ax, outer.bx) <= std::min(inner.ax, inner.bx) &&
           std::max(outer.ax, outer.bx) >= std::max(inner.ax, inner.bx);
}
