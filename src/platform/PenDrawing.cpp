#include "platform/PenDrawing.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

__extension__ using Wide = __int128;

void Paint(TBitmap& bitmap, const TPen& pen, int x, int y) {
    std::uint8_t* p = bitmap.ScanLine(y) + 3 * x;
    if (pen.Mode == TPenMode::pmNot) {
        p[0] = std::uint8_t(~p[0]);
        p[1] = std::uint8_t(~p[1]);
        p[2] = std::uint8_t(~p[2]);
    } else {
        p[0] = std::uint8_t(GetBValue(pen.Color));
        p[1] = std::uint8_t(GetGValue(pen.Color));
        p[2] = std::uint8_t(GetRValue(pen.Color));
    }
}

// Clips to the bitmap and paints every pixel of the rectangle once.
void PaintRect(TBitmap& bitmap, const TPen& pen, long long l, long long t, long long r, long long b) {
    if (l > r) std::swap(l, r);
    if (t > b) std::swap(t, b);
    l = std::max(l, 0LL);
    t = std::max(t, 0LL);
    r = std::min<long long>(r, bitmap.Width());
    b = std::min<long long>(b, bitmap.Height());
    for (long long y = t; y < b; ++y)
        for (long long x = l; x < r; ++x) Paint(bitmap, pen, int(x), int(y));
}

}  // namespace

void FillRectangle(TBitmap& bitmap, const TPen& pen, int left, int top, int right, int bottom) {
    if (bitmap.Empty() || bitmap.PixelFormat() != TPixelFormat::pf24bit) return;
    PaintRect(bitmap, pen, left, top, right, bottom);
}

void DrawLine(TBitmap& bitmap, const TPen& pen, int x0, int y0, int x1, int y1) {
    if (bitmap.Empty() || bitmap.PixelFormat() != TPixelFormat::pf24bit) return;
    const int width = std::max(pen.Width, 1);
    const int before = (width - 1) / 2;  // the pen's square around each point
    // Horizontal and vertical lines are rectangles.
    if (y0 == y1) {
        const long long l = std::min(x0, x1) + (x1 < x0 ? 1 : 0);
        const long long r = std::max(x0, x1) + (x1 < x0 ? 1 : 0);
        if (l == r) return;
        PaintRect(bitmap, pen, l - before, (long long)y0 - before, r - before + width - 1,
                  (long long)y0 - before + width);
        return;
    }
    if (x0 == x1) {
        const long long t = std::min(y0, y1) + (y1 < y0 ? 1 : 0);
        const long long b = std::max(y0, y1) + (y1 < y0 ? 1 : 0);
        PaintRect(bitmap, pen, (long long)x0 - before, t - before, (long long)x0 - before + width,
                  b - before + width - 1);
        return;
    }
    // Steps along the longer axis; the other coordinate is the exact line rounded to the
    // nearest pixel (halves away from the first point). Only the steps that can reach the
    // bitmap are walked, so lines far outside cost nothing.
    const long long dx = (long long)x1 - x0, dy = (long long)y1 - y0;
    const bool alongX = std::llabs(dx) >= std::llabs(dy);
    const long long n = alongX ? std::llabs(dx) : std::llabs(dy);
    const long long dMajor = alongX ? (dx > 0 ? 1 : -1) : (dy > 0 ? 1 : -1);
    const long long dMinor = alongX ? dy : dx;
    const long long major0 = alongX ? x0 : y0, minor0 = alongX ? y0 : x0;
    const long long majorSize = alongX ? bitmap.Width() : bitmap.Height();
    const long long minorSize = alongX ? bitmap.Height() : bitmap.Width();
    auto minorAt = [&](long long t) {
        // round(t * dMinor / n) without floating point; the product of two coordinate
        // differences needs more than 64 bits.
        const Wide num = 2 * Wide(t) * dMinor + (dMinor >= 0 ? n : -n);
        const Wide den = 2 * Wide(n);
        Wide q = num / den;
        if (num % den != 0 && num < 0) --q;  // floor
        return minor0 + (long long)q;
    };
    // Steps whose major coordinate lies in the (widened) bitmap.
    long long tLo = 0, tHi = n;  // [tLo, tHi)
    {
        const long long lo = -width, hi = majorSize + width;
        long long a = dMajor > 0 ? lo - major0 : major0 - hi;
        long long b = dMajor > 0 ? hi - major0 : major0 - lo;
        tLo = std::max(tLo, a);
        tHi = std::min(tHi, b + 1);
    }
    // And whose minor coordinate can lie in it.
    if (dMinor != 0 && tLo < tHi) {
        const double slope = double(dMinor) / double(n);
        const double lo = -double(width) - 1, hi = double(minorSize + width) + 1;
        double ta = (lo - double(minor0)) / slope, tb = (hi - double(minor0)) / slope;
        if (ta > tb) std::swap(ta, tb);
        // Kept within [-1, n] before the conversion, so a nearly flat line cannot overflow it.
        tLo = std::max<long long>(tLo, (long long)std::clamp(ta - 1, -1.0, double(n)));
        tHi = std::min<long long>(tHi, (long long)std::clamp(tb + 2, -1.0, double(n)));
    }
    const int W = bitmap.Width(), H = bitmap.Height();
    std::vector<bool> covered;
    if (width > 1) covered.assign(std::size_t(W) * std::size_t(H), false);
    for (long long t = tLo; t < tHi; ++t) {
        const long long ma = major0 + dMajor * t, mi = minorAt(t);
        const long long x = alongX ? ma : mi, y = alongX ? mi : ma;
        if (width == 1) {
            if (x >= 0 && y >= 0 && x < W && y < H) Paint(bitmap, pen, int(x), int(y));
            continue;
        }
        for (long long py = y - before; py < y - before + width; ++py)
            for (long long px = x - before; px < x - before + width; ++px)
                if (px >= 0 && py >= 0 && px < W && py < H)
                    covered[std::size_t(py) * std::size_t(W) + std::size_t(px)] = true;
    }
    if (width > 1)
        for (int py = 0; py < H; ++py)
            for (int px = 0; px < W; ++px)
                if (covered[std::size_t(py) * std::size_t(W) + std::size_t(px)]) Paint(bitmap, pen, px, py);
}
