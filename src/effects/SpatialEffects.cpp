#include "effects/SpatialEffects.h"

#include "effects/PixelMath.h"

#include <cstdint>
#include <cstring>

namespace {

using Byte = std::uint8_t;

// Emboss of one row against row b, byte by byte.
void EmbossRow(Byte* __restrict c, const Byte* __restrict b, int width) {
    const int shifted = 3 * IntMax(0, width - 3);
    for (int i = 0; i < shifted; ++i)
        c[i] = Byte((c[i] + 255 - b[i + 9]) >> 1);
    for (int i = shifted; i < 3 * width; ++i)
        c[i] = Byte((c[i] + 255 - b[i]) >> 1);
}

// out[i] := (a[i] + b[i] + c[i] + d[i]) shr 2, sixteen bytes at a time; out overlaps none of
// the inputs.
void MeanOfFour(Byte* __restrict out, const Byte* a, const Byte* b, const Byte* c, const Byte* d, int n) {
    using Bytes = Byte __attribute__((vector_size(16)));
    using Words = std::uint16_t __attribute__((vector_size(32)));
    int i = 0;
    for (; i + 16 <= n; i += 16) {
        Bytes va, vb, vc, vd;
        std::memcpy(&va, a + i, 16);
        std::memcpy(&vb, b + i, 16);
        std::memcpy(&vc, c + i, 16);
        std::memcpy(&vd, d + i, 16);
        const Words sum = __builtin_convertvector(va, Words) + __builtin_convertvector(vb, Words) +
                          __builtin_convertvector(vc, Words) + __builtin_convertvector(vd, Words);
        const Bytes mean = __builtin_convertvector(sum >> 2, Bytes);
        std::memcpy(out + i, &mean, 16);
    }
    for (; i < n; ++i)
        out[i] = Byte((unsigned(a[i]) + b[i] + c[i] + d[i]) >> 2);
}

// The split blur's sample rows and columns: the near edge takes the index itself, the far edge
// the mirrored count - i, which for i = 0 lies outside and is replaced by i itself.
int NearIndex(int i, int amount) { return i - amount < 0 ? i : i - amount; }
int FarIndex(int i, int amount, int count) {
    if (i + amount < count) return i + amount;
    return count - i < count ? count - i : i;
}

// One row whose sample rows u and d are other rows: nothing of the row itself is read.
void SplitBlurRow(Byte* __restrict out, const Byte* __restrict u, const Byte* __restrict d, int width,
                  int amount) {
    auto edgePixel = [&](int x) {
        const int l = 3 * NearIndex(x, amount), r = 3 * FarIndex(x, amount, width);
        for (int k = 0; k < 3; ++k)
            out[3 * x + k] = Byte((u[l + k] + d[l + k] + u[r + k] + d[r + k]) >> 2);
    };
    const int innerFrom = IntMin(amount, width);
    const int innerTo = IntMax(innerFrom, width - amount);
    for (int x = 0; x < innerFrom; ++x)
        edgePixel(x);
    const int o = 3 * amount, from = 3 * innerFrom;
    MeanOfFour(out + from, u + from - o, d + from - o, u + from + o, d + from + o, 3 * (innerTo - innerFrom));
    for (int x = innerTo; x < width; ++x)
        edgePixel(x);
}

// One row that samples itself: pixel by pixel, so visited samples are new.
void SplitBlurRowInPlace(TBitmap& bitmap, int y, int u, int d, int amount) {
    const int width = bitmap.Width();
    Byte* out = bitmap.ScanLine(y);
    const Byte* up = bitmap.ScanLine(u);
    const Byte* down = bitmap.ScanLine(d);
    for (int x = 0; x < width; ++x) {
        const int l = 3 * NearIndex(x, amount), r = 3 * FarIndex(x, amount, width);
        for (int k = 0; k < 3; ++k)
            out[3 * x + k] = Byte((up[l + k] + down[l + k] + up[r + k] + down[r + k]) >> 2);
    }
}

void Mark(TBitmap& bitmap, int x, int y) { std::memset(bitmap.ScanLine(y) + 3 * x, 0, 3); }

}  // namespace

void EmbossBitmap(TBitmap& bitmap) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const int w = bitmap.Width(), h = bitmap.Height();
    if (h < 2)
        return;
    for (int y = 0; y + 1 < h; ++y)
        EmbossRow(bitmap.ScanLine(y), bitmap.ScanLine(y + 1), w);
    EmbossRow(bitmap.ScanLine(h - 1), bitmap.ScanLine(h - 2), w);
}

void MosaicBitmap(TBitmap& bitmap, int n) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const int w = bitmap.Width(), h = bitmap.Height();
    if (n <= 1)
        return;
    for (int top = 0; top < h; top += n) {
        Byte* row = bitmap.ScanLine(top);
        for (int left = 0; left < w; left += n)
            for (int x = left + 1; x < IntMin(left + n, w); ++x)
                std::memcpy(row + 3 * x, row + 3 * left, 3);
        for (int y = top + 1; y < IntMin(top + n, h); ++y)
            std::memcpy(bitmap.ScanLine(y), row, std::size_t(3) * std::size_t(w));
    }
}

void SplitBlurBitmap(TBitmap& bitmap, int amount) {
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const int w = bitmap.Width(), h = bitmap.Height();
    if (amount < 1)
        return;
    for (int y = 0; y < h; ++y) {
        const int u = NearIndex(y, amount), d = FarIndex(y, amount, h);
        if (u != y && d != y)
            SplitBlurRow(bitmap.ScanLine(y), bitmap.ScanLine(u), bitmap.ScanLine(d), w, amount);
        else
            SplitBlurRowInPlace(bitmap, y, u, d, amount);
    }
}

void GaussianBlurBitmap(TBitmap& bitmap, int level) {
    for (int pass = 0; pass <= level; ++pass)
        SplitBlurBitmap(bitmap, 3);
}

void AntiAliasRect(TBitmap& bitmap, int x0, int y0, int x1, int y1) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const int xFrom = IntMax(1, x0), xTo = IntMin(bitmap.Width() - 2, x1);
    const int yFrom = IntMax(1, y0), yTo = IntMin(bitmap.Height() - 2, y1);
    for (int y = yFrom; y <= yTo; ++y) {
        const Byte* above = bitmap.ScanLine(y - 1);
        const Byte* below = bitmap.ScanLine(y + 1);
        Byte* row = bitmap.ScanLine(y);
        for (int i = 3 * xFrom; i < 3 * (xTo + 1); ++i)
            row[i] = Byte((above[i] + below[i] + row[i - 3] + row[i + 3]) >> 2);
    }
}

void TraceBitmap(TBitmap& bitmap, int passes) {
    TBitmap t = bitmap;
    t.SetPixelFormat(TPixelFormat::pf8bit);
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    const int w = bitmap.Width(), h = bitmap.Height();
    auto at = [&](int x, int y) { return t.ScanLine(y)[x]; };
    bool found = false;
    int ref = 0;
    // A pair of pixels whose indexes differ marks one of the two: the first pair ever found
    // sets the reference index; later pairs mark the pixel whose index is not the reference.
    auto pair = [&](int x, int y, int nx, int ny) {
        const int here = at(x, y), there = at(nx, ny);
        if (there == here)
            return;
        if (!found) {
            ref = there;
            Mark(bitmap, x, y);
            found = true;
        } else if (here != ref) {
            Mark(bitmap, x, y);
        } else {
            Mark(bitmap, nx, ny);
        }
    };
    // The copy never changes and the reference is fixed by the first pass, so every pass after
    // the second marks the pixels the second marked.
    const int effective = IntMin(passes, 2);
    for (int p = 1; p <= effective; ++p) {
        for (int y = 0; y + 1 < h; ++y) {
            int x = 0;
            do {
                if (x + 1 < w)
                    pair(x, y, x + 1, y);
                pair(x, y, x, y + 1);
                ++x;
            } while (x < w - 2);
        }
        if (p > 1)
            for (int y = h - 1; y >= 1; --y)
                for (int x = w - 1; x >= 2; --x) {
                    pair(x, y, x - 1, y);
                    pair(x, y, x, y - 1);
                }
    }
}

void SmoothResize(const TBitmap& source, TBitmap& destination) {
    const int sw = source.Width(), sh = source.Height();
    const int dw = destination.Width(), dh = destination.Height();
    if (sw == 0 || sh == 0 || dw == 0 || dh == 0)
        return;
    const std::int64_t xscale = (std::int64_t(sw - 1) << 15) / dw;
    const std::int64_t yscale = (std::int64_t(sh - 1) << 15) / dh;
    std::int64_t sy = 0;
    for (int y = 0; y < dh; ++y, sy += yscale) {
        const int row1 = int(sy >> 15);
        const int row2 = row1 + 1 < sh ? row1 + 1 : row1;
        const int fy = int(sy & 32767);
        const Byte* r1 = source.ScanLine(row1);
        const Byte* r2 = source.ScanLine(row2);
        Byte* out = destination.ScanLine(y);
        std::int64_t sx = 0;
        for (int x = 0; x < dw; ++x, sx += xscale, out += 3) {
            const int ix = int(sx >> 15);
            // A source one pixel wide has no right neighbour; its weight is 0 anyway.
            const int ix1 = ix + 1 < sw ? ix + 1 : ix;
            const int fx = int(sx & 32767);
            const int wTr = (fx * (32768 - fy)) >> 15;
            const int wTl = (32768 - fy) - wTr;
            const int wBr = (fx * fy) >> 15;
            const int wBl = fy - wBr;
            for (int k = 0; k < 3; ++k)
                out[k] = Byte((r1[3 * ix1 + k] * wTr + r1[3 * ix + k] * wTl + r2[3 * ix + k] * wBl +
                               r2[3 * ix1 + k] * wBr) >> 15);
        }
    }
}

int StoredTileCount(int width, int height, int t) {
    if (t <= 0)
        return 0;
    if (IntMax(10, height / t) == 10 && IntMax(10, width / t) == 10)
        return IntMax(height, width) / 10;
    return t;
}

void TileBitmap(const TBitmap& original, int t, TBitmap& effect) {
    const int w = original.Width(), h = original.Height();
    if (t <= 0 || w == 0 || h == 0)
        return;
    const int th = IntMax(10, h / t), tw = IntMax(10, w / t);
    effect = original;
    effect.SetPixelFormat(TPixelFormat::pf24bit);
    TBitmap tile(tw, th, TPixelFormat::pf24bit);
    SmoothResize(effect, tile);  // effect still holds the picture, in 24 bits
    for (int r = 0; r * th <= h; ++r)
        for (int c = 0; c * tw <= w; ++c) {
            const int left = c * tw;
            const int columns = IntMin(tw, w - left);
            for (int y = 0; y < th && r * th + y < h; ++y)
                if (columns > 0)
                    std::memcpy(effect.ScanLine(r * th + y) + 3 * left, tile.ScanLine(y),
                                std::size_t(3) * std::size_t(columns));
        }
}
