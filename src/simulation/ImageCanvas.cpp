#include "simulation/ImageCanvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

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

// The pixels within r of the segment (ax, ay)-(bx, by) on the scan line y: a convex set, so
// one span: the two end discs and the band between them.
Span StrokeSpan(double ax, double ay, double bx, double by, double r, double y) {
    Span s = Join(DiscSpan(ax, ay, r, y), DiscSpan(bx, by, r, y));
    const double dx = bx - ax, dy = by - ay;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len > 0) {
        const double ux = dx / len, uy = dy / len;
        // Along the segment: 0 <= u.(p - a) <= len; across it: |n.(p - a)| <= r, n = (-uy, ux).
        Span band{-1e300, 1e300};
        band = Clip(band, ux, uy * (y - ay) - ux * ax, 0, len);
        band = Clip(band, -uy, ux * (y - ay) + uy * ax, -r, r);
        s = Join(s, band);
    }
    return s;
}

// The distance of (px, py) from the segment (ax, ay)-(bx, by).
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = px - (ax + t * dx), ey = py - (ay + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

}  // namespace

std::uint32_t ToRgb32(TColor colour) {
    return 0xFF000000u | std::uint32_t(GetRValue(colour)) << 16 |
           std::uint32_t(GetGValue(colour)) << 8 | std::uint32_t(GetBValue(colour));
}

ImageCanvas::ImageCanvas(QImage& image) : image_(image) {
    if (image_.format() != QImage::Format_RGB32 && image_.format() != QImage::Format_ARGB32) {
        image_ = image_.convertToFormat(QImage::Format_RGB32);
    }
}

void ImageCanvas::Fill(TColor colour) {
    image_.fill(ToRgb32(colour));
    havePrevious_ = false;
}

void ImageCanvas::SetPenColour(TColor colour) {
    const std::uint32_t c = ToRgb32(colour);
    if (c != colour_) havePrevious_ = false;
    colour_ = c;
}

void ImageCanvas::SetPenWidth(int width) { width_ = width < 0 ? 0 : width; }

void ImageCanvas::MoveTo(int x, int y) {
    atX_ = x;
    atY_ = y;
}

void ImageCanvas::LineTo(int x, int y) {
    Draw(atX_, atY_, x, y);
    atX_ = x;
    atY_ = y;
}

void ImageCanvas::Draw(double ax, double ay, double bx, double by) {
    const double r = width_ <= 1 ? 0.5 : width_ / 2.0;
    const int w = image_.width(), h = image_.height();
    const double top = std::max(0.0, std::ceil(std::min(ay, by) - r));
    const double bottom = std::min(double(h - 1), std::floor(std::max(ay, by) + r));
    const bool skipCovered = havePrevious_;
    if (skipCovered) {
        // A stroke inside the one before it (both ends' discs inside it) paints nothing new.
        const Stroke& p = previous_;
        if (SegmentDistance(ax, ay, p.ax, p.ay, p.bx, p.by) + r <= p.r &&
            SegmentDistance(bx, by, p.ax, p.ay, p.bx, p.by) + r <= p.r) {
            return;  // the previous stroke stays the one that covers these pixels
        }
    }
    for (int y = int(top); y <= int(bottom) && top <= bottom; ++y) {
        const Span s = StrokeSpan(ax, ay, bx, by, r, y);
        if (s.Empty()) continue;
        int x0 = int(std::max(0.0, std::ceil(s.lo)));
        int x1 = int(std::min(double(w - 1), std::floor(s.hi)));
        if (x0 > x1) continue;
        auto* row = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
        if (skipCovered) {
            const Stroke& p = previous_;
            const Span c = StrokeSpan(p.ax, p.ay, p.bx, p.by, p.r, y);
            if (!c.Empty()) {
                const int c0 = int(std::ceil(c.lo)), c1 = int(std::floor(c.hi));
                if (c0 <= c1) {
                    // Paint what lies left and right of the covered pixels.
                    std::fill(row + x0, row + std::max(x0, std::min(x1 + 1, c0)), colour_);
                    if (c1 + 1 <= x1) std::fill(row + std::max(x0, c1 + 1), row + x1 + 1, colour_);
                    continue;
                }
            }
        }
        std::fill(row + x0, row + x1 + 1, colour_);
    }
    previous_ = {ax, ay, bx, by, r};
    havePrevious_ = true;
}

void ImageCanvas::Arc(int left, int top, int right, int bottom, int x1, int y1, int x2, int y2) {
    const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
    const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
    // Angles of the two rays, counter-clockwise on the screen from three o'clock.
    const double a1 = std::atan2(cy - y1, x1 - cx);
    const double a2 = std::atan2(cy - y2, x2 - cx);
    double span = a2 - a1;
    while (span <= 0) span += 2 * std::numbers::pi;
    // Short lines of about two pixels along the ellipse.
    const double circumference = span * std::max(std::abs(rx), std::abs(ry));
    const int steps = int(std::clamp(std::ceil(circumference / 2), 8.0, 100000.0));
    double px = cx + rx * std::cos(a1), py = cy - ry * std::sin(a1);
    for (int k = 1; k <= steps; ++k) {
        const double a = a1 + span * k / steps;
        const double qx = cx + rx * std::cos(a), qy = cy - ry * std::sin(a);
        Draw(px, py, qx, qy);
        px = qx;
        py = qy;
    }
}
