// The crop takes the picture pixels the user sees under the rubber band, whatever the border,
// mirror and turn; a click sets the centre. The expected region is read off the preview
// itself: every picture pixel carries its own coordinates as its colour.
#include "generation/MainState.h"
#include "mainwindow/PictureCrop.h"
#include "TableHost.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Pixel (x, y) has the colour (x, y, 1); white stays white.
TBitmap Coordinates(int w, int h) {
    TBitmap b(w, h, TPixelFormat::pf24bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixelAt(x, y, RGB(x, y, 1));
    return b;
}

struct Built {
    TBitmap preview;
    PreviewGeometry geometry;
};

Built Build(int pw, int ph, double border, bool mirror, bool turn, int panelW, int panelH) {
    ResetMainState();
    TableHost host;
    host.fields = {{"wst_l", double(pw - 1)}, {"wst_b", double(ph - 1)}, {"rundrum_mm", border}};
    host.boxes = {{"spiegeln", mirror}, {"achse_90_grad", turn}};
    Built b;
    PrepareWorkBitmap(host, Coordinates(pw, ph), true, false, &b.geometry.layout);
    int w = panelW, h = panelH;
    FitPreview(Main.WorkBitmap, h, w);
    b.preview = PreviewOf(Main.WorkBitmap, w, h);
    b.geometry.previewWidth = w;
    b.geometry.previewHeight = h;
    b.geometry.workWidth = Main.WorkBitmap.Width();
    b.geometry.workHeight = Main.WorkBitmap.Height();
    return b;
}

// The bounding box of the picture pixels shown in the band.
std::optional<CropRect> Seen(const TBitmap& preview, int x0, int y0, int x1, int y1) {
    CropRect r{1 << 20, 1 << 20, -1, -1};
    for (int y = std::min(y0, y1); y < std::max(y0, y1); ++y)
        for (int x = std::min(x0, x1); x < std::max(x0, x1); ++x) {
            const TColor c = preview.PixelAt(x, y);
            if (GetBValue(c) != 1) continue;
            r.left = std::min(r.left, GetRValue(c));
            r.top = std::min(r.top, GetGValue(c));
            r.right = std::max(r.right, GetRValue(c) + 1);
            r.bottom = std::max(r.bottom, GetGValue(c) + 1);
        }
    if (r.right < 0) return std::nullopt;
    return r;
}

TEST(Crop, TakesThePicturePixelsUnderTheBand) {
    struct Case {
        const char* name;
        int pw, ph;
        double border;
        bool mirror, turn;
        int panelW, panelH;
        int x0, y0, x1, y1;
    } cases[] = {
        {"plain", 41, 31, 0, false, false, 41, 31, 10, 5, 30, 25},
        {"plain, corners reversed", 41, 31, 0, false, false, 41, 31, 30, 25, 10, 5},
        {"reduced preview", 81, 61, 0, false, false, 41, 31, 10, 5, 30, 25},
        {"with border", 41, 31, 5, false, false, 41, 31, 2, 2, 20, 20},
        {"mirrored", 41, 31, 0, true, false, 41, 31, 10, 5, 30, 25},
        {"turned", 41, 31, 0, false, true, 41, 41, 5, 10, 25, 30},
        {"turned, mirrored, border", 41, 31, 3, true, true, 41, 41, 4, 6, 20, 35},
        {"one preview pixel", 41, 31, 0, false, false, 41, 31, 12, 12, 13, 13},
        // 13 preview columns over 250: the last one, white, maps as the one before it.
        {"to the last column of a much smaller preview", 250, 200, 0, false, false, 13, 200, 2, 2, 13, 8},
    };
    for (const Case& c : cases) {
        const Built b = Build(c.pw, c.ph, c.border, c.mirror, c.turn, c.panelW, c.panelH);
        const auto expected = Seen(b.preview, c.x0, c.y0, c.x1, c.y1);
        const auto got = CropRegion(b.geometry, c.x0, c.y0, c.x1, c.y1);
        ASSERT_TRUE(expected && got) << c.name;
        EXPECT_EQ(*got, *expected) << c.name << ": got (" << got->left << "," << got->top << ")-(" << got->right
                                   << "," << got->bottom << "), seen (" << expected->left << ","
                                   << expected->top << ")-(" << expected->right << "," << expected->bottom << ")";
    }
}

TEST(Crop, BandWithoutWidthOrHeightIsNoCrop) {
    const Built b = Build(41, 31, 0, false, false, 41, 31);
    EXPECT_FALSE(CropRegion(b.geometry, 10, 5, 10, 25));
    EXPECT_FALSE(CropRegion(b.geometry, 10, 5, 30, 5));
}

TEST(Crop, CopiesTheRegion) {
    const TBitmap picture = Coordinates(6, 5);
    const TBitmap part = CropBitmap(picture, CropRect{2, 1, 5, 3});
    ASSERT_EQ(part.Width(), 3);
    ASSERT_EQ(part.Height(), 2);
    EXPECT_EQ(part.PixelAt(0, 0), RGB(2, 1, 1));
    EXPECT_EQ(part.PixelAt(2, 1), RGB(4, 2, 1));
    EXPECT_TRUE(CropBitmap(picture, CropRect{3, 1, 3, 4}).Empty());
}

TEST(ClickCentre, MiddleWhenCentredElseTheClampedPoint) {
    struct Case {
        int x, y;
        bool centred;
        int cx, cy;
    } cases[] = {{10, 20, true, 50, 37}, {10, 20, false, 10, 20}, {-5, 500, false, 0, 74}, {120, -1, false, 100, 0}};
    for (const Case& c : cases) {
        const PicturePoint p = ClickCentre(c.x, c.y, 101, 75, c.centred);
        EXPECT_EQ(p.x, c.cx) << c.x << "," << c.y;
        EXPECT_EQ(p.y, c.cy) << c.x << "," << c.y;
    }
}

}  // namespace
