#include "simulation/StrokeRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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

// Half chords of whole pens (see Stroke): for the pen width w, the entry dy is
// floor(sqrt(w^2 - 4 dy^2) / 2), dy = 0 to floor(w / 2), the pixels a disc of that pen
// reaches to each side on the row dy away from its centre. That is the pixel count of the
// scan line's long form, whose rounding is far smaller than the distance of
// sqrt(r^2 - dy^2) from the next whole number for such pens and ends. Worked out once per
// width and batch; pens wider than the table have theirs worked out row by row.
class HalfChords {
public:
    static constexpr int kWidest = 4096;
    // The first entry of width w (at most kWidest); it stays valid as further widths come.
    int Start(int w) {
        if (start_.size() <= std::size_t(w)) start_.resize(std::size_t(w) + 1, -1);
        int& start = start_[std::size_t(w)];
        if (start < 0) {
            start = int(chords_.size());
            for (std::int64_t dy = 0; 2 * dy <= w; ++dy) {
                chords_.push_back(Of(std::int64_t(w) * w, dy));
            }
        }
        return start;
    }
    int At(int index) const { return chords_[std::size_t(index)]; }
    const int* Data() const { return chords_.data(); }
    static int Of(std::int64_t w2, std::int64_t dy) {
        return int(std::sqrt(double(w2 - 4 * dy * dy))) >> 1;
    }

private:
    std::vector<int> start_;
    std::vector<int> chords_;
};

// A stroke with what its scan lines share: the direction and length of its segment, and
// whether it runs along a scan line or across them with a length in whole pixels, where
// the span has a short form that gives the same numbers as the long one; for a whole
// stroke its ends' columns, its row and its half chords.
struct Prepared {
    const Stroke* s;
    double ux = 0, uy = 0, len = 0;
    bool alongColumn = false;
    bool whole = false;
    int lo = 0, hi = 0, row = 0;
    int reach = 0;      // the rows the pen reaches above and below the row
    int chords = -1;    // the first of its half chords in the table; -1: none there
    std::int64_t w2 = 0;  // the pen width squared
    Prepared(const Stroke& stroke, HalfChords& table) : s(&stroke) {
        if (stroke.whole) {
            whole = true;
            lo = int(std::min(stroke.ax, stroke.bx));
            hi = int(std::max(stroke.ax, stroke.bx));
            row = int(stroke.ay);
            const int w = int(2 * stroke.r);
            reach = w / 2;
            w2 = std::int64_t(w) * w;
            if (w <= HalfChords::kWidest) chords = table.Start(w);
            return;
        }
        if (stroke.alongRow) return;  // its span needs no direction
        const double dx = stroke.bx - stroke.ax, dy = stroke.by - stroke.ay;
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
    const Stroke& s = *p.s;
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

// The pixels x0 to x1 of a stroke on one row; none when x0 > x1.
struct PixelSpan {
    int x0 = 1, x1 = 0;
    bool Empty() const { return x0 > x1; }
};

// Pixels p to end take the colour; four at a time where there are four, the last four
// overlapping the ones before.
void FillPixels(std::uint32_t* p, std::uint32_t* end, std::uint32_t colour) {
    const std::uint32_t four[4] = {colour, colour, colour, colour};
    const std::ptrdiff_t n = end - p;
    if (n >= 4) {
        for (; end - p > 4; p += 4) std::memcpy(p, four, sizeof four);
        std::memcpy(end - 4, four, sizeof four);
        return;
    }
    if (n > 0) p[0] = colour;
    if (n > 1) p[1] = colour;
    if (n > 2) p[2] = colour;
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
        const Rows rows = RowsOf(s);
        if (rows.Empty()) return;
        const int last = rows.bottom;
        int y = next_[std::size_t(rows.top)];
        if (y > last) return;  // none of this painter's rows
        const Prepared prepared(s, chords_);
        // The stroke before on these rows lies on the same row in the same colour: what it
        // covered has the colour already.
        const bool besidePrevious = previous_.alongRow && s.alongRow &&
                                    previous_.ay == s.ay && previous_.colour == s.colour;
        const Prepared before(besidePrevious ? previous_ : kNoStroke, chords_);
        for (; y <= last; y = next_[std::size_t(y) + 1]) {
            const PixelSpan span = Pixels(prepared, y);
            if (span.Empty()) continue;
            const int x0 = span.x0, x1 = span.x1;
            std::uint32_t* row = p_.bits + std::ptrdiff_t(y) * p_.stride;
            if (besidePrevious) {
                const PixelSpan c = Pixels(before, y);
                if (!c.Empty()) {
                    // Paint what lies left and right of the covered pixels.
                    FillPixels(row + x0, row + std::max(x0, std::min(x1 + 1, c.x0)), s.colour);
                    if (c.x1 + 1 <= x1) FillPixels(row + std::max(x0, c.x1 + 1), row + x1 + 1, s.colour);
                    continue;
                }
            }
            FillPixels(row + x0, row + x1 + 1, s.colour);
        }
        previous_ = s;
    }

    // A run of strokes in one pass: on every row the strokes are taken from the last to the
    // first, and each fills only what the ones after it left uncovered, so every pixel gets
    // the colour of the last stroke over it, as painting them in order gives, and is
    // written once.
    void PaintRun(std::span<const Stroke> run) {
        if (PaintWholeRun(run)) return;
        runRows_.clear();
        prepared_.clear();
        Rows all;
        for (const Stroke& s : run) {
            const Rows rows = RowsOf(s);
            runRows_.push_back(rows);
            prepared_.emplace_back(s, chords_);
            if (rows.Empty()) continue;
            if (all.Empty()) all = rows;
            all = {std::min(all.top, rows.top), std::max(all.bottom, rows.bottom)};
        }
        previous_ = run.back();  // the last stroke keeps all its pixels
        if (all.Empty()) return;
        for (int y = next_[std::size_t(all.top)]; y <= all.bottom; y = next_[std::size_t(y) + 1]) {
            std::uint32_t* row = p_.bits + std::ptrdiff_t(y) * p_.stride;
            covered_.clear();
            for (std::size_t k = run.size(); k-- > 0;) {
                if (y < runRows_[k].top || y > runRows_[k].bottom) continue;
                const PixelSpan span = Pixels(prepared_[k], y);
                if (!span.Empty()) FillUncovered(row, span.x0, span.x1, run[k].colour);
            }
        }
    }

private:
    // The same pass for the most common run, whole strokes whose half chords are in the
    // table, from a few whole numbers per stroke; false, painting nothing, for other runs.
    bool PaintWholeRun(std::span<const Stroke> run) {
        wholeRun_.clear();
        int top = p_.height, bottom = -1;
        for (const Stroke& s : run) {
            const int w = int(2 * s.r);
            if (!s.whole || w > HalfChords::kWidest) return false;
            const WholeStep step{int(s.ay), w / 2, chords_.Start(w), int(std::min(s.ax, s.bx)),
                                 int(std::max(s.ax, s.bx)), s.colour};
            top = std::min(top, std::max(0, step.row - step.reach));
            bottom = std::max(bottom, std::min(p_.height - 1, step.row + step.reach));
            wholeRun_.push_back(step);
        }
        previous_ = run.back();
        const int* chords = chords_.Data();
        for (int y = top <= bottom ? next_[std::size_t(top)] : p_.height; y <= bottom;
             y = next_[std::size_t(y) + 1]) {
            std::uint32_t* row = p_.bits + std::ptrdiff_t(y) * p_.stride;
            covered_.clear();
            // While the spans so far overlap, what they cover is one stretch, kept here.
            int lo = 1, hi = 0;
            bool oneStretch = true;
            for (std::size_t k = wholeRun_.size(); k-- > 0;) {
                const WholeStep& step = wholeRun_[k];
                const int dy = y - step.row;
                const int ady = dy < 0 ? -dy : dy;
                if (ady > step.reach) continue;
                const int half = chords[step.chords + ady];
                const int x0 = std::max(0, step.lo - half);
                const int x1 = std::min(p_.width - 1, step.hi + half);
                if (x0 > x1) continue;
                if (oneStretch) {
                    if (lo > hi) {
                        FillPixels(row + x0, row + x1 + 1, step.colour);
                        lo = x0;
                        hi = x1;
                        continue;
                    }
                    if (x1 + 1 >= lo && x0 <= hi + 1) {
                        if (x0 < lo) FillPixels(row + x0, row + lo, step.colour);
                        if (x1 > hi) FillPixels(row + hi + 1, row + x1 + 1, step.colour);
                        lo = std::min(lo, x0);
                        hi = std::max(hi, x1);
                        continue;
                    }
                    oneStretch = false;
                    covered_.push_back({lo, hi});
                }
                FillUncovered(row, x0, x1, step.colour);
            }
        }
        return true;
    }

    // The stroke's pixels on the row y.
    PixelSpan Pixels(const Prepared& p, int y) const {
        if (p.whole) {
            const std::int64_t dy = std::int64_t(y) - p.row;
            const std::int64_t ady = dy < 0 ? -dy : dy;
            if (ady > p.reach) return {};
            const int half =
                p.chords >= 0 ? chords_.At(p.chords + int(ady)) : HalfChords::Of(p.w2, ady);
            return {std::max(0, p.lo - half), std::min(p_.width - 1, p.hi + half)};
        }
        const Span span = StrokeSpan(p, y);
        if (span.Empty()) return {};
        return {int(std::max(0.0, std::ceil(span.lo))),
                int(std::min(double(p_.width - 1), std::floor(span.hi)))};
    }

    // The picture rows a stroke reaches, top to bottom.
    struct Rows {
        int top = 1, bottom = 0;  // none when top > bottom
        bool Empty() const { return top > bottom; }
    };
    Rows RowsOf(const Stroke& s) const {
        const double top = std::max(0.0, std::ceil(std::min(s.ay, s.by) - s.r));
        const double bottom = std::min(double(p_.height - 1), std::floor(std::max(s.ay, s.by) + s.r));
        if (!(top <= bottom)) return {};
        return {int(top), int(bottom)};
    }

    // Pixels x0 to x1 of the row take the colour where no later stroke of the run covers
    // them; then they count as covered. The covered stretches are kept sorted, apart and
    // not touching.
    void FillUncovered(std::uint32_t* row, int x0, int x1, std::uint32_t colour) {
        if (covered_.size() == 1) {
            // Most often the spans of a run overlap: one stretch, widened.
            Stretch& c = covered_.front();
            if (x0 >= c.lo && x1 <= c.hi) return;
            if (x1 + 1 >= c.lo && x0 <= c.hi + 1) {
                if (x0 < c.lo) FillPixels(row + x0, row + c.lo, colour);
                if (x1 > c.hi) FillPixels(row + c.hi + 1, row + x1 + 1, colour);
                c = {std::min(c.lo, x0), std::max(c.hi, x1)};
                return;
            }
        }
        std::size_t i = 0;
        while (i < covered_.size() && covered_[i].hi < x0 - 1) ++i;
        const std::size_t first = i;
        int at = x0, lo = x0, hi = x1;
        for (; i < covered_.size() && covered_[i].lo <= x1 + 1; ++i) {
            const Stretch c = covered_[i];
            if (c.lo > at) FillPixels(row + at, row + std::min(c.lo, x1 + 1), colour);
            at = std::max(at, c.hi + 1);
            lo = std::min(lo, c.lo);
            hi = std::max(hi, c.hi);
        }
        if (at <= x1) FillPixels(row + at, row + x1 + 1, colour);
        // The stretches from first to i join into one.
        if (first == i) {
            covered_.insert(covered_.begin() + std::ptrdiff_t(first), Stretch{lo, hi});
        } else {
            covered_[first] = {lo, hi};
            covered_.erase(covered_.begin() + std::ptrdiff_t(first) + 1,
                           covered_.begin() + std::ptrdiff_t(i));
        }
    }

    struct Stretch {
        int lo, hi;
    };
    // A whole stroke of a run: its row, the rows its pen reaches to each side, its first
    // half chord in the table, its ends' columns and its colour.
    struct WholeStep {
        int row, reach, chords, lo, hi;
        std::uint32_t colour;
    };

    const PixelRows& p_;
    std::vector<int> next_;
    Stroke previous_{0, 0, 0, 0, -1, 0, false};  // the last stroke on these rows, painted in full
    // Kept from run to run, so a run allocates nothing.
    std::vector<Rows> runRows_;
    std::vector<Prepared> prepared_;
    std::vector<Stretch> covered_;
    std::vector<WholeStep> wholeRun_;
    HalfChords chords_;
};

}  // namespace

double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = px - (ax + t * dx), ey = py - (ay + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

void PaintStrokes(const PixelRows& picture, std::span<const Stroke> strokes, RowShare share) {
    if (!picture.bits || picture.width <= 0 || picture.height <= 0) return;
    if (share.bandCount < 1 || share.bandHeight < 1) return;
    Painter painter(picture, share);
    for (std::size_t i = 0; i < strokes.size();) {
        std::size_t end = i + 1;
        while (end < strokes.size() && strokes[end].joinsPrevious) ++end;
        if (end - i == 1) painter.Paint(strokes[i]);
        else painter.PaintRun(strokes.subspan(i, end - i));
        i = end;
    }
}
