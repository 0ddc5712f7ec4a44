#include "mainwindow/PreviewFigures.h"

#include "platform/PenDrawing.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr TPen kNotPen{TPenMode::pmNot, clBlack, 1};

// Trunc, kept inside a range where pixel arithmetic cannot overflow.
long long TruncPx(double v) {
    if (!std::isfinite(v)) return 0;
    if (v > 1e9) return 1000000000LL;
    if (v < -1e9) return -1000000000LL;
    return (long long)std::trunc(v);
}

int Px(long long v) { return int(v > 2000000000LL ? 2000000000LL : v < -2000000000LL ? -2000000000LL : v); }

struct Mapper {
    const TBitmap& image;
    const AnglePreviewValues& v;
    // (x, y) relative to the centre, Y up, to a preview pixel.
    void Map(double x, double y, int& px, int& py) const {
        px = Px(TruncPx(x) + v.centreX);
        py = Px(image.Height() - (TruncPx(y) + v.centreY));
    }
};

void Polyline(TBitmap& image, const Mapper& m, const double* xs, const double* ys, int n) {
    int px = 0, py = 0;
    m.Map(xs[0], ys[0], px, py);
    for (int k = 1; k < n; ++k) {
        int qx = 0, qy = 0;
        m.Map(xs[k], ys[k], qx, qy);
        DrawLine(image, kNotPen, px, py, qx, qy);
        px = qx;
        py = qy;
    }
}

void Ellipse(TBitmap& image, const AnglePreviewValues& v, double phi, double u) {
    const Mapper m{image, v};
    double xs[kPreviewCount + 1], ys[kPreviewCount + 1];
    for (int i = 1; i <= kPreviewCount; ++i) {
        const double B = i * u;
        const double A = v.parallel ? u * v.radiusRatio + (i - 1) * u : u * v.radiusRatio * i;
        for (int k = 0; k <= kPreviewCount; ++k) {
            const double t = k * 2 * std::numbers::pi / kPreviewCount;
            const double x = A * std::cos(t), y = B * std::sin(t);
            xs[k] = std::cos(phi) * x - std::sin(phi) * y;
            ys[k] = std::sin(phi) * x + std::cos(phi) * y;
        }
        Polyline(image, m, xs, ys, kPreviewCount + 1);
    }
}

void Polygon(TBitmap& image, const AnglePreviewValues& v, double rot, double u) {
    const Mapper m{image, v};
    const int n = v.cornerCount;
    if (n < 1) return;
    std::vector<double> xs(std::size_t(n) + 1), ys(std::size_t(n) + 1);
    for (int i = 0; i < kPreviewCount; ++i) {
        const double r = i * u / std::fabs(std::cos(std::numbers::pi / n));
        for (int k = 0; k <= n; ++k) {
            const double a = k * 2 * std::numbers::pi / n + rot;
            xs[std::size_t(k)] = r * std::cos(a);
            ys[std::size_t(k)] = r * std::sin(a);
        }
        Polyline(image, m, xs.data(), ys.data(), n + 1);
    }
}

void Lines(TBitmap& image, const AnglePreviewValues& v, double a, double u) {
    const double c = std::cos(a);
    double s = std::sin(a);
    if (std::fabs(s) < 0.001) s = 0.001;
    const double d = u / s;
    const long long o = TruncPx(v.centreY * c / s);
    for (int k = -kPreviewCount; k <= kPreviewCount; ++k) {
        const long long e = TruncPx(k * d);
        DrawLine(image, kNotPen, Px(v.centreX + o + e), 0, Px(v.centreX - o + e), Px(2LL * v.centreY));
    }
}

}  // namespace

void DrawCrosshair(TBitmap& preview, int x, int y, int penWidth, bool toLastPixel) {
    const TPen pen{TPenMode::pmNot, clBlack, penWidth};
    const int w = preview.Width() - (toLastPixel ? 1 : 0), h = preview.Height() - (toLastPixel ? 1 : 0);
    DrawLine(preview, pen, 0, y, w, y);
    DrawLine(preview, pen, x, 0, x, h);
}

void DrawRubberBand(TBitmap& preview, int x0, int y0, int x1, int y1) {
    FillRectangle(preview, kNotPen, x0, y0, x1, y1);
}

AnglePreview AnglePreviewOf(int strategy) {
    switch (strategy) {
        case 2:
        case 6: return AnglePreview::Ellipse;
        case 11:
        case 15: return AnglePreview::Oblique;
        case 12:
        case 16: return AnglePreview::Cross;
        case 18:
        case 19: return AnglePreview::Polygon;
        default: return AnglePreview::None;
    }
}

void DrawAnglePreview(TBitmap& preview, AnglePreview kind, const AnglePreviewValues& v, double angleDegrees) {
    if (preview.Empty()) return;
    const double u = preview.Width() / 20.0;
    const double a = angleDegrees * std::numbers::pi / 180;
    switch (kind) {
        case AnglePreview::None: break;
        case AnglePreview::Ellipse: Ellipse(preview, v, a, u); break;
        case AnglePreview::Polygon: Polygon(preview, v, a, u); break;
        case AnglePreview::Oblique: Lines(preview, v, a, u); break;
        case AnglePreview::Cross: {
            Lines(preview, v, a, u);
            double b = a + std::numbers::pi / 2;
            if (b > 2 * std::numbers::pi) b -= 2 * std::numbers::pi;
            Lines(preview, v, b, u);
            break;
        }
    }
}

double StepAngle(double entered, int stepItem, bool up) {
    static constexpr double kSteps[5] = {10, 1, 0.1, 0.01, 0.001};
    const double step = kSteps[stepItem >= 0 && stepItem < 5 ? stepItem : 1];
    if (up) {
        entered += step;
        if (entered > 360) entered -= 360;
        if (entered < 0) entered = 0;
    } else {
        entered -= step;
        if (entered < 0) entered += 360;
        if (entered > 360) entered = 360;
    }
    return entered;
}
