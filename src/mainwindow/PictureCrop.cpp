#include "mainwindow/PictureCrop.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Source index of target index c when n target pixels show m source pixels.
int Source(long long c, long long n, long long m) {
    if (n <= 0 || m <= 0) return 0;
    return int((2 * c + 1) * m / (2 * n));
}

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

PicturePoint PreviewToPicture(const PreviewGeometry& g, int px, int py) {
    const WorkBitmapLayout& l = g.layout;
    if (l.pictureWidth <= 0 || l.pictureHeight <= 0) return {};
    // Preview to work bitmap: the work bitmap fills the preview's first width - 1 columns and
    // height - 1 rows.
    px = Clamp(px, 0, std::max(g.previewWidth - 2, 0));
    py = Clamp(py, 0, std::max(g.previewHeight - 2, 0));
    int x = Source(px, g.previewWidth - 1, g.workWidth);
    int y = Source(py, g.previewHeight - 1, g.workHeight);
    // The unturned work bitmap is workHeight wide while turned.
    int ww = g.workWidth, wh = g.workHeight;
    if (l.turned) {
        // Turned pixel (x, y) came from (unturned width - 1 - y, x).
        const int unturnedWidth = g.workHeight;
        const int ux = unturnedWidth - 1 - y, uy = x;
        x = ux;
        y = uy;
        ww = g.workHeight;
        wh = g.workWidth;
    }
    if (l.mirrored) {
        // The mirrored columns 0 .. width - 2 show the columns width - 1 - ... stretched; the
        // rows 0 .. height - 2 are stretched over height rows.
        x = Clamp(x, 0, ww - 2);
        y = Clamp(y, 0, wh - 2);
        x = Source((ww - 2) - x, ww - 1, ww);
        y = Source(y, wh - 1, wh);
    }
    // Work bitmap to picture: the picture lies in the columns border .. width - 2 - border.
    const int areaW = ww - 1 - 2 * l.borderX, areaH = wh - 1 - 2 * l.borderY;
    if (areaW <= 0 || areaH <= 0) return {};
    x = Clamp(x - l.borderX, 0, areaW - 1);
    y = Clamp(y - l.borderY, 0, areaH - 1);
    return {Source(x, areaW, l.pictureWidth), Source(y, areaH, l.pictureHeight)};
}

std::optional<CropRect> CropRegion(const PreviewGeometry& g, int x0, int y0, int x1, int y1) {
    if (x0 == x1 || y0 == y1) return std::nullopt;
    // The first and the last selected preview pixel of each direction.
    const int l = std::min(x0, x1), r = std::max(x0, x1) - 1;
    const int t = std::min(y0, y1), b = std::max(y0, y1) - 1;
    const PicturePoint a = PreviewToPicture(g, l, t);
    const PicturePoint c = PreviewToPicture(g, r, b);
    CropRect rect{std::min(a.x, c.x), std::min(a.y, c.y), std::max(a.x, c.x) + 1, std::max(a.y, c.y) + 1};
    return rect;
}

TBitmap CropBitmap(const TBitmap& picture, const CropRect& region) {
    const int l = Clamp(region.left, 0, picture.Width()), r = Clamp(region.right, 0, picture.Width());
    const int t = Clamp(region.top, 0, picture.Height()), b = Clamp(region.bottom, 0, picture.Height());
    if (r <= l || b <= t) return TBitmap();
    TBitmap source = picture;
    source.SetPixelFormat(TPixelFormat::pf24bit);
    TBitmap out(r - l, b - t, TPixelFormat::pf24bit);
    for (int y = t; y < b; ++y)
        std::memcpy(out.ScanLine(y - t), source.ScanLine(y) + 3 * l, std::size_t(3 * (r - l)));
    return out;
}

PicturePoint ClickCentre(int x, int y, int previewWidth, int previewHeight, bool centred) {
    if (centred) return {previewWidth / 2, previewHeight / 2};
    return {Clamp(x, 0, std::max(previewWidth - 1, 0)), Clamp(y, 0, std::max(previewHeight - 1, 0))};
}
