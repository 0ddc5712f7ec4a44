#include "platform/StretchDraw.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

void StretchDraw(TBitmap& target, const TRect& rect, const TBitmap& source) {
    if (source.Empty() || target.Empty())
        return;
    if (target.PixelFormat() != TPixelFormat::pf24bit)
        target.SetPixelFormat(TPixelFormat::pf24bit);
    const std::int64_t w64 = std::int64_t(rect.Right) - rect.Left;
    const std::int64_t h64 = std::int64_t(rect.Bottom) - rect.Top;
    if (w64 == 0 || h64 == 0)
        return;
    const int x0 = int(std::min<std::int64_t>(rect.Left, rect.Right));
    const int y0 = int(std::min<std::int64_t>(rect.Top, rect.Bottom));
    // Only the part inside the target bitmap is computed.
    const int cx0 = std::max(x0, 0);
    const int cy0 = std::max(y0, 0);
    const int cx1 = int(std::min<std::int64_t>(x0 + std::llabs(w64), target.Width()));
    const int cy1 = int(std::min<std::int64_t>(y0 + std::llabs(h64), target.Height()));
    if (cx0 >= cx1 || cy0 >= cy1)
        return;
    const int w = int(std::llabs(w64));
    const int h = int(std::llabs(h64));
    // Index tables over the visible part only.
    std::vector<int> xs(std::size_t(cx1 - cx0));
    for (int x = cx0; x < cx1; ++x) {
        const std::int64_t c = w64 > 0 ? x - x0 : (w - 1) - (x - x0);
        xs[std::size_t(x - cx0)] = int((2 * c + 1) * source.Width() / (2 * std::int64_t(w)));
    }
    const bool direct = source.PixelFormat() == TPixelFormat::pf24bit;
    for (int y = cy0; y < cy1; ++y) {
        const std::int64_t r = h64 > 0 ? y - y0 : (h - 1) - (y - y0);
        const int sy = int((2 * r + 1) * source.Height() / (2 * std::int64_t(h)));
        std::uint8_t* out = target.ScanLine(y) + 3 * cx0;
        if (direct) {
            const std::uint8_t* in = source.ScanLine(sy);
            for (const int sx : xs) {
                const std::uint8_t* p = in + 3 * sx;
                out[0] = p[0];
                out[1] = p[1];
                out[2] = p[2];
                out += 3;
            }
        } else {
            for (const int sx : xs) {
                const TColor c = source.PixelAt(sx, sy);
                out[0] = std::uint8_t(GetBValue(c));
                out[1] = std::uint8_t(GetGValue(c));
                out[2] = std::uint8_t(GetRValue(c));
                out += 3;
            }
        }
    }
}
