#include "mainwindow/WorkBitmap.h"

#include "generation/MainState.h"
#include "platform/PenDrawing.h"
#include "platform/StretchDraw.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double FieldOr(RunHost& host, std::string_view name, double fallback) {
    double v = fallback;
    ReadField(host, name, v);
    return v;
}

// Round to nearest, halves to even, kept inside the integer range.
int RoundPixels(double v) {
    if (!std::isfinite(v)) return 0;
    const double r = std::nearbyint(v);
    if (r >= double(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
    return int(r);
}

TBitmap White(int width, int height) {
    TBitmap b(width, height, TPixelFormat::pf24bit);
    for (int y = 0; y < height; ++y) std::fill_n(b.ScanLine(y), 3 * width, std::uint8_t(0xFF));
    return b;
}

}  // namespace

bool PictureLargeEnough(int width, int height) { return width >= 2 && height >= 2; }

void DeriveSizeAndStep(RunHost& host, const TBitmap& picture) {
    if (picture.Empty()) return;
    MainState& s = Main;
    if (s.wst_l == 0 || s.wst_b == 0) {
        s.wst_l = picture.Width();
        s.wst_b = picture.Height();
        host.SetFieldValue("wst_l", s.wst_l);
        host.SetFieldValue("wst_b", s.wst_b);
    }
    if (s.stepX == 0 || s.stepy == 0) {
        s.stepX = s.wst_l / picture.Width();
        s.stepy = s.wst_b / picture.Height();
        if (s.stepX < s.MinStep) s.stepX = s.MinStep;
        if (s.stepy < s.MinStep) s.stepy = s.MinStep;
        host.SetFieldValue("stepX", s.stepX);
        host.SetFieldValue("stepy", s.stepy);
    }
}

void KeepProportion(RunHost& host, const TBitmap& picture, bool lengthLeads) {
    MainState& s = Main;
    s.wst_l = FieldOr(host, "wst_l", s.wst_l);
    s.wst_b = FieldOr(host, "wst_b", s.wst_b);
    if (picture.Empty()) return;
    if (host.IsChecked("proportion")) {
        const double r = double(picture.Width()) / double(picture.Height());
        if (lengthLeads)
            s.wst_b = s.wst_l / r;
        else
            s.wst_l = s.wst_b * r;
    }
    host.SetFieldValue("wst_l", s.wst_l);
    host.SetFieldValue("wst_b", s.wst_b);
}

void MirrorBitmap(TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    const TPixelFormat format = bitmap.PixelFormat();
    // The target starts as the bitmap, so the column and row the stretch leaves out keep theirs;
    // the bitmap itself stays untouched as the source.
    TBitmap target = bitmap;
    target.SetPixelFormat(TPixelFormat::pf24bit);
    StretchDraw(target, TRect{bitmap.Width() - 1, 0, 0, bitmap.Height() - 1}, bitmap);
    target.SetPixelFormat(format);
    bitmap = std::move(target);
}

void TurnBitmap90(TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    const int W = bitmap.Width(), H = bitmap.Height();
    const TPixelFormat format = bitmap.PixelFormat();
    TBitmap turned = White(H, W);
    for (int y = 0; y + 1 < H; ++y)
        for (int x = 0; x + 1 < W; ++x) turned.SetPixelAt(y, W - 1 - x, bitmap.PixelAt(x, y));
    turned.SetPixelFormat(format);
    bitmap = std::move(turned);
}

WorkBitmapResult PrepareWorkBitmap(RunHost& host, const TBitmap& picture, bool lengthLeads, bool adjust,
                                   WorkBitmapLayout* layout) {
    if (picture.Empty()) return WorkBitmapResult::NoPicture;
    MainState& s = Main;
    const int W = picture.Width(), H = picture.Height();
    // 1. Back to the unturned workpiece.
    s.wst_l = FieldOr(host, "wst_l", s.wst_l);
    s.wst_b = FieldOr(host, "wst_b", s.wst_b);
    if (s.Axis90Applied) {
        std::swap(s.wst_l, s.wst_b);
        host.SetFieldValue("wst_l", s.wst_l);
        host.SetFieldValue("wst_b", s.wst_b);
        s.Axis90Applied = false;
    }
    DeriveSizeAndStep(host, picture);
    s.rundrum_mm = FieldOr(host, "rundrum_mm", s.rundrum_mm);
    if (adjust) KeepProportion(host, picture, lengthLeads);
    // 5. The scale and the border.
    s.PixelsPerMmX = (W - 1) / s.wst_l;
    s.PixelsPerMmY = (H - 1) / s.wst_b;
    s.BorderPxX = RoundPixels(s.rundrum_mm * s.PixelsPerMmX);
    s.BorderPxY = RoundPixels(s.rundrum_mm * s.PixelsPerMmY);
    // 6.-7. White, then the picture inside the border (right and bottom excluded). A border
    // that leaves no room would reverse the rectangle and cut a mirrored picture: then the
    // whole work bitmap stays white.
    const TPixelFormat format = s.WorkBitmap.PixelFormat();
    TBitmap work = White(W, H);
    const long long left = s.BorderPxX, top = s.BorderPxY;
    const long long right = (long long)W - 1 - s.BorderPxX, bottom = (long long)H - 1 - s.BorderPxY;
    const bool tooWide = s.BorderPxX < 0 || s.BorderPxY < 0 || right <= left || bottom <= top ||
                         !std::isfinite(s.PixelsPerMmX) || !std::isfinite(s.PixelsPerMmY);
    if (!tooWide) StretchDraw(work, TRect{int(left), int(top), int(right), int(bottom)}, picture);
    WorkBitmapLayout laid{W, H, s.BorderPxX, s.BorderPxY, tooWide, false, false};
    // 8. Mirror.
    if (host.IsChecked("spiegeln")) {
        MirrorBitmap(work);
        laid.mirrored = true;
    }
    // 9. Turn.
    if (host.IsChecked("achse_90_grad")) {
        laid.turned = true;
        TurnBitmap90(work);
        std::swap(s.wst_l, s.wst_b);
        host.SetFieldValue("wst_l", s.wst_l);
        host.SetFieldValue("wst_b", s.wst_b);
        s.PixelsPerMmX = (work.Width() - 1) / s.wst_l;
        s.PixelsPerMmY = (work.Height() - 1) / s.wst_b;
        s.Axis90Applied = true;
    }
    work.SetPixelFormat(format);
    s.WorkBitmap = std::move(work);
    if (layout) *layout = laid;
    return tooWide ? WorkBitmapResult::BorderTooWide : WorkBitmapResult::Built;
}

void FitPreview(const TBitmap& bitmap, int& height, int& width) {
    if (bitmap.Empty()) return;
    width = std::min(width, bitmap.Width());
    height = std::min(height, bitmap.Height());
    const double r = double(bitmap.Width()) / double(bitmap.Height());
    // The side that fits decides: a tall picture in a wide panel is fitted to the height.
    const double byWidth = std::trunc(width / r);
    if (byWidth <= height)
        height = int(byWidth);
    else
        width = int(std::trunc(height * r));
    width = std::max(width, 1);
    height = std::max(height, 1);
}

TBitmap PreviewOf(const TBitmap& workBitmap, int width, int height) {
    if (width <= 0 || height <= 0) return TBitmap();
    TBitmap preview = White(width, height);
    StretchDraw(preview, TRect{0, 0, width - 1, height - 1}, workBitmap);
    return preview;
}

void DrawCentreCross(TBitmap& preview, int cx, int cy) {
    const TPen pen{TPenMode::pmCopy, clRed, 2};
    DrawLine(preview, pen, 0, cy, preview.Width(), cy);
    DrawLine(preview, pen, cx, 0, cx, preview.Height());
}
