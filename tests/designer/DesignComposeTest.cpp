// The composition of a whole design into one picture, pixel for pixel: texts turned, aligned,
// styled, clipped by their shape and by their object's edge; pictures stretched into every
// shape, transparent over other objects; turned polygons and triangles; objects overlapping
// each other and reaching over every edge of the picture. Each design is composed at two
// scales and compared with the picture stored for it.
#include "designer/DesignRender.h"
#include "platform/BmpFile.h"
#include "DesignTestSupport.h"

#include <QImage>

#include <functional>

namespace {

class DesignCompose : public DesignTest {
protected:
    // An object of the given type with its lines written; change then writes the record again.
    void Object(int left, int top, int width, int height, char typ, double depth,
                const std::function<void(TFensterRec&)>& change = {}) {
        TFensterRec& r = Add(left, top, width, height, typ);
        r.FormTiefe = depth;
        if (change)
            change(r);
        design->WriteObjectLines(design->AktFenster);
    }
    static void Text(TFensterRec& r, const char* text, double size, double depth, double x, double y,
                     double angle = 0, char align = '1') {
        r.TextString = text;
        r.FontSize = size;
        r.TextTiefe = depth;
        r.TextPosX = x;
        r.TextPosY = y;
        r.TextWinkel = angle;
        r.Align = align;
    }
    std::string Ramp(const std::string& name, int w, int h) {
        TBitmap b(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const int v = (x * 255 / std::max(1, w - 1) + y * 7) % 250;
                b.SetPixelAt(x, y, RGB(v, v, v));
            }
        const std::string path = Path(name);
        SaveBitmapToBmpFile(b, path);
        return path;
    }
    // The design composed for a 120 pixel wide editor into a picture `width` wide, compared with
    // the stored picture.
    void ExpectComposition(const std::string& name, int width, int height) {
        TBitmap target(width, height);
        design->PutAlltobitmap(target, 120);
        const std::string stored = std::string(FRAXILON_TEST_DATA_DIR) + "/" + name + ".png";
        QImage expected(QString::fromStdString(stored));
        ASSERT_FALSE(expected.isNull()) << stored;
        expected = expected.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(expected.width(), width);
        ASSERT_EQ(expected.height(), height);
        int differing = 0, firstX = -1, firstY = -1;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const QRgb e = expected.pixel(x, y);
                if (target.PixelAt(x, y) != TColor(RGB(qRed(e), qGreen(e), qBlue(e)))) {
                    if (differing++ == 0)
                        firstX = x, firstY = y;
                }
            }
        EXPECT_EQ(differing, 0) << name << ": first at " << firstX << "," << firstY;
    }
    void ExpectAtBothScales(const std::string& name) {
        ExpectComposition(name + "-2", 240, 160);
        ExpectComposition(name + "-2.5", 300, 200);
    }
};

TEST_F(DesignCompose, Texts) {
    Main.wst_d = 10;
    Object(4, 4, 50, 20, '9', 2, [](TFensterRec& r) { Text(r, "Hg8", 14, 7, 2, 15); });
    Object(60, 2, 56, 30, '9', 0, [](TFensterRec& r) {
        Text(r, "rechts", 11, 9, 54, 20, 0, '3');
        r.Bold = '2';
    });
    Object(2, 28, 40, 48, '4', 3, [](TFensterRec& r) {
        Text(r, "MMMM", 22, 10, -6, 34);  // clipped by the ellipse
    });
    Object(44, 34, 30, 44, '9', 1, [](TFensterRec& r) {
        Text(r, "Quer", 10, 8, 10, 4, 90);  // runs down
        r.Italic = '2';
    });
    Object(76, 36, 42, 40, '5', 4, [](TFensterRec& r) {
        Text(r, "Mitte", 9, 10, 21, 30, 30, '2');
        r.Underline = '2';
    });
    Object(30, 10, 40, 30, '9', 0, [](TFensterRec& r) {
        r.Transparent = '2';
        Text(r, "Glas", 12, 6, -4, 24, -20);  // over its object's left edge
    });
    Object(100, 60, 30, 30, '9', 5, [](TFensterRec& r) {
        Text(r, "Rand", 12, 9, 2, 12, 200);  // turned back over the picture's edge
    });
    ExpectAtBothScales("compose-texts");
}

TEST_F(DesignCompose, PicturesInEveryShapeAndTransparent) {
    Main.wst_d = 10;
    const std::string wide = Ramp("wide.bmp", 37, 11), small = Ramp("small.bmp", 5, 9);
    Object(0, 0, 120, 80, '9', 10);  // black below everything
    Object(2, 2, 40, 30, '9', 1, [&](TFensterRec& r) { r.PictureName = wide; });
    Object(44, 2, 34, 30, '4', 2, [&](TFensterRec& r) { r.PictureName = small; });
    Object(80, 2, 38, 30, '5', 3, [&](TFensterRec& r) {
        r.PictureName = wide;
        r.FormWinkel = 90;
    });
    Object(2, 36, 40, 40, '2', 4, [&](TFensterRec& r) {
        r.PictureName = small;
        r.Neck = 5;
        r.Punkte = {{{20, 2}, {38, 15}, {31, 37}, {9, 37}, {2, 15}, {20, 2}}};
        r.FormWinkel = 30;
        Text(r, "P", 16, 10, 14, 28);
    });
    Object(30, 20, 60, 40, '3', 0, [&](TFensterRec& r) {
        r.PictureName = wide;
        r.Transparent = '2';
        r.Radius = 12;
    });
    Object(100, 50, 40, 40, '9', 6, [&](TFensterRec& r) { r.PictureName = small; });  // over the edge
    ExpectAtBothScales("compose-pictures");
}

TEST_F(DesignCompose, TurnedShapesOverlappingAndOverEveryEdge) {
    Main.wst_d = 8;
    const std::string ramp = Ramp("ramp.bmp", 16, 16);
    Object(-10, -6, 30, 24, '9', 8);
    Object(100, -8, 30, 30, '4', 6, [&](TFensterRec& r) { r.PictureName = ramp; });
    Object(-8, 60, 36, 30, '3', 4, [&](TFensterRec& r) {
        r.Radius = 9;
        r.PictureName = ramp;
    });
    Object(96, 58, 40, 40, '9', 2);
    for (int q = 0; q < 4; ++q)
        Object(22 + 18 * q, 6, 16, 22, '5', 1 + q, [&, q](TFensterRec& r) {
            r.FormWinkel = 90.0 * q;
            r.PictureName = ramp;
        });
    for (int i = 0; i < 3; ++i)
        Object(20 + 26 * i, 34 + 3 * i, 34, 30, '2', 3 + i, [&, i](TFensterRec& r) {
            r.Neck = 3;
            r.Punkte = {{{2, 2}, {32, 6}, {10, 28}, {2, 2}}};
            r.FormWinkel = 25.0 * i - 10;
            if (i == 1)
                Text(r, "x", 10, 8, 14, 18);  // one region drawn through its text
            else
                r.PictureName = ramp;
        });
    Object(50, 40, 0, 0, '9', 8);  // no size: nothing
    ExpectAtBothScales("compose-shapes");
}

}  // namespace
