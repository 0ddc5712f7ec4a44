#include "designer/DesignRender.h"

#include "designer/DesignConvert.h"
#include "generation/Emitters.h"
#include "platform/Exception.h"
#include "platform/PictureMemory.h"
#include "platform/SysColors.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

// The largest font Qt's font engine takes; a larger one falls back to a font of no glyphs.
constexpr int kLargestFontPixels = 0xFFFF;
// The largest font whose ascent and descent Qt reckons soundly; a larger one's cell height
// is scaled from it.
constexpr int kLargestMeasuredFontPixels = 1 << 14;

// A Qt font whose cell height (ascent + descent) is the font's height in pixels, drawn
// without antialiasing.
QFont ToQFont(const DesignFont& f) {
    QFont font(QString::fromStdString(f.Name));
    font.setBold(f.Bold);
    font.setItalic(f.Italic);
    font.setUnderline(f.Underline);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    const int h = std::max(1, f.Height);
    const int measured = std::min(h, kLargestMeasuredFontPixels);
    font.setPixelSize(measured);
    const QFontMetricsF m(font);
    const double cell = m.ascent() + m.descent();
    // In double: h * h leaves int from 46,341 px on.
    const double fitted = cell > 0 ? std::round(double(h) * measured / cell) : double(h);
    font.setPixelSize(int(std::clamp(fitted, 1.0, double(kLargestFontPixels))));
    return font;
}

}  // namespace

bool BitmapFits(int w, int h) {
    if (w <= 0 || h <= 0)
        return true;
    try {
        CheckPictureFitsMemory(w, h);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

TColor DepthToColor(int /*ramp*/, double depth, double thickness) {
    if (std::isnan(depth))
        return clWhite;
    if (!(thickness > 0) || !std::isfinite(thickness))
        return depth > 0 ? clBlack : clWhite;
    const double q = double(PaintDepthFullScale) / thickness;
    // Only 0..full scale matters to the blend; clamping first keeps Trunc defined.
    const double x = std::clamp((thickness - depth) * q, -1.0, double(PaintDepthFullScale) + 1);
    const double v = std::trunc(x);
    return BlendColour(clBlack, clWhite, v / double(PaintDepthFullScale));
}

// ---- text ------------------------------------------------------------------------------

int BitmapTextCanvas::TextWidth(const std::string& text, const DesignFont& font) {
    const QFontMetrics m(ToQFont(font));
    return m.horizontalAdvance(QString::fromStdString(text));
}

void BitmapTextCanvas::TextOut(int x, int y, const std::string& text, const DesignFont& font,
                               TColor colour) {
    if (bitmap_.Empty() || text.empty())
        return;
    // The glyphs are drawn as coverage and every covered pixel takes the colour, so a text
    // pixel is never a blend of the text's and the background's depth.
    QImage cover(bitmap_.Width(), bitmap_.Height(), QImage::Format_ARGB32);
    cover.fill(Qt::transparent);
    {
        QPainter p(&cover);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(ToQFont(font));
        p.setPen(Qt::black);
        p.translate(x, y);
        p.rotate(-font.Escapement / 10.0);
        p.drawText(QPointF(0, 0), QString::fromStdString(text));
    }
    if (bitmap_.PixelFormat() != TPixelFormat::pf24bit)
        bitmap_.SetPixelFormat(TPixelFormat::pf24bit);
    const auto b = std::uint8_t(GetBValue(colour)), g = std::uint8_t(GetGValue(colour)),
               r = std::uint8_t(GetRValue(colour));
    for (int row = 0; row < bitmap_.Height(); ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(cover.constScanLine(row));
        std::uint8_t* out = bitmap_.ScanLine(row);
        for (int col = 0; col < bitmap_.Width(); ++col)
            if (qAlpha(in[col]) >= 128) {
                out[3 * col] = b;
                out[3 * col + 1] = g;
                out[3 * col + 2] = r;
            }
    }
}

void DrawTexttobitmap(TFensterData& r, const DesignFieldValues& fields, double thickness,
                      DesignTextCanvas& canvas) {
    DesignFont font;
    font.Name = r.FontName;
    font.Bold = r.Bold == '2';
    font.Italic = r.Italic == '2';
    font.Underline = r.Underline == '2';
    font.Height = TruncClamped(r.FontSize);
    r.TextWinkel = fields.TextWinkel;
    r.FormWinkel = fields.FormWinkel;
    const int tenths = TruncClamped((r.TextWinkel + r.FormWinkel) * 10);
    font.Escapement = tenths == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -tenths;
    font.Orientation = tenths;
    TColor colour = fields.farbig ? DepthToColor(1, fields.TextTiefe, thickness) : clBlack;
    if (colour == clWhite)
        colour = 0xFFFFFE;  // never the transparent colour
    r.TextString.resize(TrimRight(r.TextString).size());
    const int w = canvas.TextWidth(std::string(Trim(r.TextString)), font);
    const double offset = r.Align == '2' ? w / 2.0 : (r.Align == '3' ? double(w) : 0.0);
    const double a = std::numbers::pi * r.TextWinkel / 180;
    canvas.TextOut(TruncClamped(r.TextPosX - std::cos(a) * offset),
                   TruncClamped(r.TextPosY - std::sin(a) * offset), r.TextString, font, colour);
}

// ---- shapes ----------------------------------------------------------------------------

void rechne_koord_PolyGon(TFensterData& r, int bitmapWidth, int bitmapHeight, double formWinkel) {
    r.FormWinkel = formWinkel;
    const double a = r.FormWinkel * std::numbers::pi / 180;
    r.Laenge = bitmapWidth;
    r.Breite = bitmapHeight;
    const double cx = r.Laenge / 2, cy = r.Breite / 2;
    r.Neck = std::clamp(r.Neck, 0, 10);
    for (int i = 0; i <= r.Neck; ++i) {
        TDesignPoint& p = r.Punkte[std::size_t(i)];
        const double dx = p.x - cx, dy = p.y - cy;
        double alpha = 0;
        Rechne_Alpha(dx, dy, alpha);
        const double radius = std::sqrt(dx * dx + dy * dy);
        p.x = RoundClamped(cx + radius * std::cos(a + alpha));
        p.y = RoundClamped(cy + radius * std::sin(a + alpha));
    }
}

void Rechne_koord_dreieck(TFensterData& r, int w, int h, double formWinkel) {
    r.FormWinkel = formWinkel;
    int q = TruncClamped(r.FormWinkel) / 90;
    if (q != 4)
        q = ((q % 4) + 4) % 4;
    r.Neck = 3;
    auto& P = r.Punkte;
    switch (q) {
    case 0:
    case 4:
        P[0] = {0, h}, P[1] = {w, h}, P[2] = {w / 2, 0};
        break;
    case 1:
        P[0] = {w, h}, P[1] = {w, 0}, P[2] = {0, h / 2};
        break;
    case 2:
        P[0] = {0, 0}, P[1] = {w / 2, h}, P[2] = {w, 0};
        break;
    default:
        P[0] = {0, 0}, P[1] = {w, h / 2}, P[2] = {0, h};
        break;
    }
    P[3] = P[0];
}

static QPolygon PolygonOf(const TFensterData& r) {
    QPolygon poly;
    for (int i = 0; i <= std::clamp(r.Neck, 0, 10); ++i)
        poly << QPoint(r.Punkte[std::size_t(i)].x, r.Punkte[std::size_t(i)].y);
    return poly;
}

std::vector<std::uint8_t> ShapeMask(TFensterData& r, int w, int h, const DesignFieldValues& fields) {
    std::vector<std::uint8_t> mask(std::size_t(std::max(0, w)) * std::size_t(std::max(0, h)), 0);
    if (mask.empty())
        return mask;
    if (r.Typ != '2' && r.Typ != '3' && r.Typ != '4' && r.Typ != '5' && r.Typ != '9') {
        std::fill(mask.begin(), mask.end(), 1);  // no region: the whole image
        return mask;
    }
    QImage img(w, h, QImage::Format_Grayscale8);
    img.fill(0);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255));
        const QRectF box(0, 0, w - 1, h - 1);
        switch (r.Typ) {
        case '2': {
            const auto saved = r.Punkte;
            rechne_koord_PolyGon(r, w, h, fields.FormWinkel);
            p.drawPolygon(PolygonOf(r), Qt::OddEvenFill);
            r.Punkte = saved;
            break;
        }
        case '3': {
            const double c = std::max(0, TruncClamped(2 * r.Radius)) / 2.0;
            QPainterPath path;
            path.addRoundedRect(box, std::min(c, box.width() / 2), std::min(c, box.height() / 2));
            p.drawPath(path);
            break;
        }
        case '4':
            p.drawEllipse(box);
            break;
        case '5':
            Rechne_koord_dreieck(r, w, h, fields.FormWinkel);
            p.drawPolygon(PolygonOf(r), Qt::OddEvenFill);
            break;
        default:
            p.fillRect(QRect(0, 0, w - 1, h - 1), QColor(255, 255, 255));
            break;
        }
    }
    for (int y = 0; y < h; ++y) {
        const uchar* line = img.constScanLine(y);
        for (int x = 0; x < w; ++x)
            mask[std::size_t(y) * std::size_t(w) + std::size_t(x)] = line[x] >= 128 ? 1 : 0;
    }
    return mask;
}

// ---- one object ------------------------------------------------------------------------

static void Fill(TBitmap& bitmap, TColor colour) {
    const auto b = std::uint8_t(GetBValue(colour)), g = std::uint8_t(GetGValue(colour)),
               r = std::uint8_t(GetRValue(colour));
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* p = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, p += 3) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
}

void RenderObject(TFensterRec& r, const DesignFieldValues& fields, double thickness,
                  const TBitmap* picture) {
    if (!r.Image)
        r.Image = std::make_unique<TObjectImage>();
    TObjectImage& im = *r.Image;
    const int h = std::max(0, RoundClamped(r.Breite));
    const int w = std::max(0, RoundClamped(r.Laenge));
    im.Height = h;
    im.Width = w;
    im.Left = RoundClamped(r.PosX);
    im.Top = RoundClamped(r.PosY);
    im.Transparent = r.Transparent == '2';
    if (w > 0 && h > 0)
        CheckPictureFitsMemory(w, h);
    im.Bitmap = TBitmap(w, h);
    if (w == 0 || h == 0)
        return;
    Fill(im.Bitmap, DepthToColor(1, fields.FormTiefe, thickness));
    const bool hasText = !Trim(r.TextString).empty();
    const bool hasPicture = picture && !picture->Empty();
    std::vector<std::uint8_t> mask = ShapeMask(r, w, h, fields);
    if (!hasText && !hasPicture)
        return;
    TBitmap layer = im.Bitmap;
    if (hasPicture)
        StretchDraw(layer, TRect{0, 0, w - 1, h - 1}, *picture);
    if (hasText) {
        BitmapTextCanvas canvas(layer);
        DrawTexttobitmap(r, fields, thickness, canvas);
    }
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* in = layer.ScanLine(y);
        std::uint8_t* out = im.Bitmap.ScanLine(y);
        const std::uint8_t* m = mask.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x)
            if (m[x]) {
                out[3 * x] = in[3 * x];
                out[3 * x + 1] = in[3 * x + 1];
                out[3 * x + 2] = in[3 * x + 2];
            }
    }
    im.Transparent = r.Transparent == '2';
}

// ---- outlines and grid -----------------------------------------------------------------

void DrawBorder(TObjectImage& image, TFensterData& r, int objectBitmapWidth,
                int objectBitmapHeight, int width, TColor colour, bool transparent,
                const DesignFieldValues& fields) {
    if (width == 1 && (!r.PictureName.empty() || !Trim(r.TextString).empty()))
        return;
    r.Neck = std::clamp(fields.Neck, 0, 10);
    const int width0 = std::max(0, image.Width), height0 = std::max(0, image.Height);
    if (!BitmapFits(width0, height0)) {
        // An image too large to hold gets no outline (its render was refused and reported).
        image.Bitmap = TBitmap();
        image.Transparent = transparent;
        return;
    }
    image.Bitmap.SetSize(width0, height0);
    const int W = image.Bitmap.Width(), H = image.Bitmap.Height();
    if (W == 0 || H == 0) {
        image.Transparent = transparent;
        return;
    }
    if (colour == clWhite) {
        image.Transparent = false;
        Fill(image.Bitmap, clWhite);
        image.Transparent = transparent;
        return;
    }
    const TColor pen = width == 1 ? clRed : colour;
    QImage img = image.Bitmap.ToImage();
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        QPen qpen(ToQColor(pen));
        qpen.setWidth(width);
        qpen.setJoinStyle(Qt::MiterJoin);
        p.setPen(qpen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(0, 0, W - 1, H - 1));
        const double sx = objectBitmapWidth > 0 ? double(W) / objectBitmapWidth : 1.0;
        const double sy = objectBitmapHeight > 0 ? double(H) / objectBitmapHeight : 1.0;
        const QRectF box(0, 0, W - 1, H - 1);
        switch (r.Typ) {
        case '2': {
            const auto saved = r.Punkte;
            for (int i = 0; i <= r.Neck; ++i) {
                TDesignPoint& pt = r.Punkte[std::size_t(i)];
                pt = {RoundClamped(pt.x * sx), RoundClamped(pt.y * sy)};
            }
            rechne_koord_PolyGon(r, W, H, fields.FormWinkel);
            p.drawPolyline(PolygonOf(r));
            r.Punkte = saved;
            break;
        }
        case '3': {
            const double c = std::max(0, TruncClamped(2 * r.Radius)) / 2.0;
            p.drawRoundedRect(box, std::min(c, box.width() / 2), std::min(c, box.height() / 2));
            break;
        }
        case '4':
            p.drawEllipse(box);
            break;
        case '5': {
            QPolygon poly;
            for (int i = 0; i <= r.Neck; ++i) {
                const TDesignPoint& pt = r.Punkte[std::size_t(i)];
                poly << QPoint(RoundClamped(pt.x * sx), RoundClamped(pt.y * sy));
            }
            p.drawPolyline(poly);
            break;
        }
        default:
            break;  // the frame is the rectangle's outline too
        }
    }
    image.Bitmap = TBitmap::FromImage(img);
    image.Transparent = transparent;
}

void DrawGrid(TBitmap& canvas, const TRect& clip, int step, TColor brush) {
    const int x0 = std::max(0, clip.Left), y0 = std::max(0, clip.Top);
    const int x1 = std::min(canvas.Width(), clip.Right), y1 = std::min(canvas.Height(), clip.Bottom);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            canvas.SetPixelAt(x, y, brush);
    if (step < 2)
        return;
    for (int y = (y0 + step - 1) / step * step; y < y1; y += step)
        for (int x = (x0 + step - 1) / step * step; x < x1; x += step)
            canvas.SetPixelAt(x, y, clBlack);
}

void DrawBitmapAt(TBitmap& target, int x, int y, const TBitmap& source, bool transparent) {
    for (int sy = 0; sy < source.Height(); ++sy) {
        const std::int64_t ty = std::int64_t(y) + sy;
        if (ty < 0 || ty >= target.Height())
            continue;
        for (int sx = 0; sx < source.Width(); ++sx) {
            const std::int64_t tx = std::int64_t(x) + sx;
            if (tx < 0 || tx >= target.Width())
                continue;
            const TColor c = source.PixelAt(sx, sy);
            if (transparent && c == clWhite)
                continue;
            target.SetPixelAt(int(tx), int(ty), c);
        }
    }
}
