#pragma once
// The scan-line painting of the replay's strokes: a stroke is the set of pixels whose centre
// lies within r of a segment (round caps), painted in one colour without antialiasing.
//
// Strokes are painted in order, so a pixel ends in the colour of the last stroke over it.
// A run of strokes (the steps of a move whose width changes) is painted in one pass: every
// pixel of it is written once, in the colour of the last stroke of the run over it.
// The rows of a picture can be shared out among several painters, each taking the rows of
// its own bands and every stroke that reaches them in the same order: the picture is the
// same as one painter makes.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

struct Stroke {
    double ax, ay, bx, by;  // the segment, in pixels
    double r;               // half the pen width
    std::uint32_t colour;   // the 32-bit pixel value
    // The segment lies along one scan line and has a whole length (below 2^26, so that it
    // squares exactly): its span on a row is its ends widened by the disc's half chord.
    bool alongRow;
    // Along a row between whole pixels, with a pen of whole pixels below 2^22 (a dot
    // included): its pixels are those whose distance from the segment is at most r, worked
    // out in whole numbers, so which strokes hold which is known exactly.
    bool whole = false;
    // Painted together with the strokes before it, back to the first of the run that has
    // this unset. It changes no pixel of the picture, only how often a pixel is written.
    bool joinsPrevious = false;
};

// The stroke of a segment, pen radius and colour (made for every line a replay draws).
inline Stroke MakeStroke(double ax, double ay, double bx, double by, double r,
                         std::uint32_t colour) {
    constexpr double kExact = 67108864.0;  // whole numbers below 2^26 square exactly
    constexpr double kWidestWhole = 4194304.0;  // 2^22
    const auto whole = [](double v) { return v == std::trunc(v) && std::abs(v) < kExact; };
    const double dx = bx - ax;
    Stroke s{ax, ay, bx, by, r, colour, ay == by && dx == std::trunc(dx) && std::abs(dx) < kExact};
    s.whole = s.alongRow && whole(ax) && whole(ay) && whole(bx) && r >= 0.5 &&
              r < kWidestWhole / 2 && whole(2 * r);
    return s;
}

// The stroke of a segment between whole pixels with a pen `width` pixels wide (0 and 1 draw
// one pixel): the stroke MakeStroke makes of it, without looking for fractions.
inline Stroke MakePixelStroke(int ax, int ay, int bx, int by, int width, std::uint32_t colour) {
    constexpr std::int64_t kExact = std::int64_t(1) << 26;
    constexpr int kWidestWhole = 1 << 22;
    const auto below = [](std::int64_t v, std::int64_t limit) { return v < limit && -v < limit; };
    const double r = width <= 1 ? 0.5 : width / 2.0;
    Stroke s{double(ax), double(ay), double(bx), double(by), r, colour,
             ay == by && below(std::int64_t(bx) - ax, kExact)};
    s.whole = s.alongRow && below(ax, kExact) && below(ay, kExact) && below(bx, kExact) &&
              width < kWidestWhole;
    return s;
}

// A 32-bit picture's pixels: rows top-down, `stride` pixels from one row to the next.
struct PixelRows {
    std::uint32_t* bits = nullptr;
    int width = 0, height = 0;
    std::ptrdiff_t stride = 0;
};

// Which rows a painter takes: the bands of bandHeight rows, counted from the top, whose
// number modulo bandCount is band. (0, 1, any height) is every row.
struct RowShare {
    int band = 0, bandCount = 1, bandHeight = 1;
};

// Paints the strokes in order on the painter's rows.
void PaintStrokes(const PixelRows& picture, std::span<const Stroke> strokes, RowShare share);

// The shortcuts a canvas takes for every stroke it is given, written here so that they
// work on the stroke where it is made.

// The distance of (px, py) from the segment from (ax, ay) to (bx, by).
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by);

// True when every pixel of `inner` lies within `outer` (both end discs inside it).
inline bool StrokeInside(const Stroke& inner, const Stroke& outer) {
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
    return SegmentDistance(inner.ax, inner.ay, outer.ax, outer.ay, outer.bx, outer.by) + inner.r <= outer.r &&
           SegmentDistance(inner.bx, inner.by, outer.ax, outer.ay, outer.bx, outer.by) + inner.r <= outer.r;
}

// 4 d^2 for the distance d of the whole pixel (x, y) from the segment of the whole stroke s.
inline std::int64_t FourDistanceSquared(double x, double y, const Stroke& s) {
    const std::int64_t lo = std::int64_t(std::min(s.ax, s.bx)), hi = std::int64_t(std::max(s.ax, s.bx));
    const std::int64_t px = std::int64_t(x), dy = std::int64_t(y) - std::int64_t(s.ay);
    const std::int64_t dx = px < lo ? lo - px : px > hi ? px - hi : 0;
    return 4 * (dx * dx + dy * dy);
}

// True when `outer` paints every pixel that `inner` paints, so that `inner` followed by
// `outer` gives the picture that `outer` alone gives, whatever their colours and whatever
// lies between them. It answers only where the pixels show it exactly (both whole, both on
// one row of whole lengths, or `inner` a dot at an end of `outer` and no wider); false
// otherwise.
inline bool StrokeCovers(const Stroke& outer, const Stroke& inner) {
    // Whole strokes: the pixels within r of a segment. `inner` lies within `outer` when
    // both its end discs do, d + r_inner <= r_outer for the distance d of each end from
    // the segment of `outer`; in whole numbers, with 2r whole.
    if (outer.whole && inner.whole) {
        const std::int64_t room = std::int64_t(2 * outer.r) - std::int64_t(2 * inner.r);
        return room >= 0 && FourDistanceSquared(inner.ax, inner.ay, outer) <= room * room &&
               FourDistanceSquared(inner.bx, inner.by, outer) <= room * room;
    }
    // A dot at an end of the segment, no wider: every scan line's span of a stroke holds the
    // span of its end discs, worked out the same way.
    if (inner.ax == inner.bx && inner.ay == inner.by && inner.r <= outer.r &&
        ((inner.ax == outer.ax && inner.ay == outer.ay) ||
         (inner.ax == outer.bx && inner.ay == outer.by))) {
        return true;
    }
    return outer.alongRow && inner.alongRow && outer.ay == inner.ay && outer.r >= inner.r &&
           std::min(outer.ax, outer.bx) <= std::min(inner.ax, inner.bx) &&
           std::max(outer.ax, outer.bx) >= std::max(inner.ax, inner.bx);
}
