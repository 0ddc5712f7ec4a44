#include "simulation/PrintedPage.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Finer than a dithered picture needs, and a replay of a large page stays quick.
constexpr double kMostDotsPerInch = 300;
// A picture of at most this many pixels, also on the widest plotter.
constexpr double kMostPixels = 40e6;

int Brightness(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114 + 500) / 1000;
}

}  // namespace

PrintScale ScaleForPrinting(QSize page, int printerDpi) {
    const double dpi = printerDpi > 0 ? printerDpi : kMostDotsPerInch;
    double perPixel = std::max(1.0, dpi / kMostDotsPerInch);
    const double w = std::max(page.width(), 2), h = std::max(page.height(), 2);
    const double pixels = (w / perPixel) * (h / perPixel);
    if (pixels > kMostPixels) perPixel *= std::sqrt(pixels / kMostPixels);
    PrintScale s;
    s.printerPixelsPerPixel = perPixel;
    s.area = QSize(std::max(2, int(w / perPixel)), std::max(2, int(h / perPixel)));
    return s;
}

QImage DitheredForPrinting(const QImage& picture, QRgb background) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    const int w = source.width(), h = source.height();
    QImage out(w, h, QImage::Format_Mono);
    if (out.isNull()) return out;
    // Black first: so the printer's PDF writer keeps it one bit a pixel.
    out.setColor(0, qRgb(0, 0, 0));
    out.setColor(1, qRgb(255, 255, 255));
    out.fill(1);
    const QRgb paper = background | 0xFF000000u;
    // Floyd and Steinberg's weights, 7 ahead and 3, 5, 1 on the next row, taken along the
    // rows in turn from the left and from the right; the errors in whole levels, each
    // share rounded down and the last taking what is left, so nothing is lost.
    std::vector<int> here(std::size_t(w) + 2, 0), next(std::size_t(w) + 2, 0);
    for (int y = 0; y < h; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        uchar* bits = out.scanLine(y);
        const bool forward = y % 2 == 0;
        const int step = forward ? 1 : -1;
        std::fill(next.begin(), next.end(), 0);
        for (int i = 0; i < w; ++i) {
            const int x = forward ? i : w - 1 - i;
            // The error rows are one wider on each side than the picture.
            int* const e = here.data() + x + 1;
            int* const n = next.data() + x + 1;
            const QRgb c = in[x] | 0xFF000000u;
            if (c == paper) continue;  // the paper takes no ink and passes no error on
            const int level = Brightness(c) + *e;
            const bool ink = level < 128;
            if (ink) bits[x >> 3] &= uchar(~(0x80 >> (x & 7)));
            const int error = level - (ink ? 0 : 255);
            const int ahead = error * 7 / 16, behindBelow = error * 3 / 16, below = error * 5 / 16;
            e[step] += ahead;
            n[-step] += behindBelow;
            n[0] += below;
            n[step] += error - ahead - behindBelow - below;
        }
        here.swap(next);
    }
    return out;
}

QRect PlaceOnPage(QSize picture, double printerPixelsPerPixel, QSize page) {
    const int w = std::clamp(int(std::lround(picture.width() * printerPixelsPerPixel)), 0, page.width());
    const int h = std::clamp(int(std::lround(picture.height() * printerPixelsPerPixel)), 0, page.height());
    return QRect((page.width() - w) / 2, (page.height() - h) / 2, w, h);
}
