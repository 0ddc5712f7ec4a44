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
#include <QTransform>
#include <cstring>

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

// Where the glyphs of text can fall once drawn with font from the base-line start (x, y),
// turned by the escapement: the glyphs' own box, the cell and the underline, with a margin for
// the rounding of glyph outlines into pixels, in bitmap pixels.
static QRect TextReach(const QFont& qfont, const QString& text, int x, int y, double degrees) {
    const QFontMetricsF m(qfont);
    QRectF box = m.boundingRect(text);
    box |= QRectF(0, -m.ascent(), m.horizontalAdvance(text), m.ascent() + m.descent());
    box |= QRectF(0, 0, m.horizontalAdvance(text), m.underlinePos() + 2 * m.lineWidth());
    const double margin = 2 + qfont.pixelSize() / 8.0;
    box.adjust(-margin, -margin, margin, margin);
    QTransform t;
    t.translate(x, y);
    t.rotate(degrees);
    return t.mapRect(box).toAlignedRect().adjusted(-1, -1, 1, 1);
}

void BitmapTextCanvas::TextOut(int x, int y, const std::string& text, const DesignFont& font,
                               TColor colour) {
    if (bitmap_.Empty() || text.empty())
        return;
    const QFont qfont = ToQFont(font);
    const QString qtext = QString::fromStdString(text);
    const double degrees = -font.Escapement / 10.0;
    // Only the part of the bitmap the text can reach is drawn as coverage; every covered
    // pixel takes the colour, so a text pixel is never a blend of the text's and the
    // background's depth.
    const QRect reach =
        TextReach(qfont, qtext, x, y, degrees).intersected(QRect(0, 0, bitmap_.Width(), bitmap_.Height()));
    if (reach.isEmpty())
        return;
    QImage cover(reach.size(), QImage::Format_ARGB32);
    cover.fill(Qt::transparent);
    {
        QPainter p(&cover);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(qfont);
        p.setPen(Qt::black);
        // Whole pixels apart from where the bitmap would have it, so the glyphs fall on the
        // same pixels.
        p.translate(x - reach.left(), y - reach.top());
        p.rotate(degrees);
        p.drawText(QPointF(0, 0), qtext);
    }
    if (bitmap_.PixelFormat() != TPixelFormat::pf24bit)
        bitmap_.SetPixelFormat(TPixelFormat::pf24bit);
    const auto b = std::uint8_t(GetBValue(colour)), g = std::uint8_t(GetGValue(colour)),
               r = std::uint8_t(GetRValue(colour));
    for (int row = 0; row < cover.height(); ++row) {
        const auto* in = reinterpret_cast<const QRgb*>(cover.constScanLine(row));
        const int by = reach.top() + row;
        std::uint8_t* out = bitmap_.ScanLine(by);
        const std::uint8_t* allowed =
            clip_ ? clip_ + std::size_t(by) * std::size_t(bitmap_.Width()) : nullptr;
        for (int col = 0; col < cover.width(); ++col) {
            const int bx = reach.left() + col;
            if (qAlpha(in[col]) >= 128 && (!allowed || allowed[bx])) {
                out[3 * bx] = b;
                out[3 * bx + 1] = g;
                out[3 * bx + 2] = r;
            }
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

// The corners a polygon or triangle region is made of for a w x h image; the record takes
// what the region's making gives it (the angle, the triangle's corners, for a polygon its size).
// A polygon's stored corners stay as they are.
static QPolygon PrepareShape(TFensterData& r, int w, int h, const DesignFieldValues& fields) {
    QPolygon poly;
    if (r.Typ == '2') {
        const auto saved = r.Punkte;
        rechne_koord_PolyGon(r, w, h, fields.FormWinkel);
        poly = PolygonOf(r);
        r.Punkte = saved;
    } else if (r.Typ == '5') {
        Rechne_koord_dreieck(r, w, h, fields.FormWinkel);
        poly = PolygonOf(r);
    }
    return poly;
}

static bool HasRegion(char typ) {
    return typ == '2' || typ == '3' || typ == '4' || typ == '5' || typ == '9';
}

std::vector<std::uint8_t> ShapeMask(TFensterData& r, int w, int h, const DesignFieldValues& fields) {
    std::vector<std::uint8_t> mask(std::size_t(std::max(0, w)) * std::size_t(std::max(0, h)), 0);
    if (mask.empty())
        return mask;
    const QPolygon poly = PrepareShape(r, w, h, fields);
    if (!HasRegion(r.Typ)) {
        std::fill(mask.begin(), mask.end(), 1);  // no region: the whole image
        return mask;
    }
    // Drawn straight into the mask's bytes: 0 outside, 1 inside.
    QImage img(mask.data(), w, h, w, QImage::Format_Grayscale8);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(1, 1, 1));
        const QRectF box(0, 0, w - 1, h - 1);
        switch (r.Typ) {
        case '2':
        case '5':
            p.drawPolygon(poly, Qt::OddEvenFill);
            break;
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
        default:
            p.fillRect(QRect(0, 0, w - 1, h - 1), QColor(1, 1, 1));
            break;
        }
    }
    return mask;
}

// ---- one object ------------------------------------------------------------------------

void RenderObject(TFensterRec& r, const DesignFieldValues& fields, double thickness,
                  const TBitmap* picture, const PictureFitCheck& fits) {
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
    if (w > 0 && h > 0) {
        if (fits)
            fits(w, h);
        else
            CheckPictureFitsMemory(w, h);
    }
    im.Bitmap = TBitmap(w, h);
    if (w == 0 || h == 0)
        return;
    FillBitmapRect(im.Bitmap, 0, 0, w, h, DepthToColor(1, fields.FormTiefe, thickness));
    const bool hasText = !Trim(r.TextString).empty();
    const bool hasPicture = picture && !picture->Empty();
    if (!hasText && !hasPicture) {
        PrepareShape(r, w, h, fields);  // the record as the region's making leaves it
        return;
    }
    const std::vector<std::uint8_t> mask = ShapeMask(r, w, h, fields);
    if (hasPicture) {
        // The picture fills (0, 0) to (w - 1, h - 1), right and bottom excluded.
        TBitmap layer(std::max(1, w - 1), std::max(1, h - 1));
        if (w > 1 && h > 1) {
            StretchDraw(layer, TRect{0, 0, w - 1, h - 1}, *picture);
            for (int y = 0; y < h - 1; ++y) {
                const std::uint8_t* in = layer.ScanLine(y);
                std::uint8_t* out = im.Bitmap.ScanLine(y);
                const std::uint8_t* m = mask.data() + std::size_t(y) * std::size_t(w);
                for (int x = 0; x < w - 1; ++x)
                    if (m[x])
                        std::memcpy(out + 3 * x, in + 3 * x, 3);
            }
        }
    }
    if (hasText) {
        BitmapTextCanvas canvas(im.Bitmap, mask.data());
        DrawTexttobitmap(r, fields, thickness, canvas);
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
        FillBitmapRect(image.Bitmap, 0, 0, W, H, clWhite);
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

void FillBitmapRect(TBitmap& target, int x, int y, int w, int h, TColor colour) {
    const std::int64_t x0 = std::max<std::int64_t>(0, x), y0 = std::max<std::int64_t>(0, y);
    const std::int64_t x1 = std::min<std::int64_t>(target.Width(), std::int64_t(x) + w);
    const std::int64_t y1 = std::min<std::int64_t>(target.Height(), std::int64_t(y) + h);
    if (x0 >= x1 || y0 >= y1 || target.PixelFormat() != TPixelFormat::pf24bit)
        return;
    const auto b = std::uint8_t(GetBValue(colour)), g = std::uint8_t(GetGValue(colour)),
               r = std::uint8_t(GetRValue(colour));
    std::uint8_t* first = target.ScanLine(int(y0)) + 3 * x0;
    for (std::int64_t i = 0; i < x1 - x0; ++i) {
        first[3 * i] = b;
        first[3 * i + 1] = g;
        first[3 * i + 2] = r;
    }
    for (std::int64_t row = y0 + 1; row < y1; ++row)
        std::memcpy(target.ScanLine(int(row)) + 3 * x0, first, std::size_t(x1 - x0) * 3);
}

void DrawBitmapAt(TBitmap& target, int x, int y, const TBitmap& source, bool transparent) {
    // The part of source that lands inside target.
    const std::int64_t x0 = std::max<std::int64_t>(0, -std::int64_t(x));
    const std::int64_t y0 = std::max<std::int64_t>(0, -std::int64_t(y));
    const std::int64_t x1 = std::min<std::int64_t>(source.Width(), std::int64_t(target.Width()) - x);
    const std::int64_t y1 = std::min<std::int64_t>(source.Height(), std::int64_t(target.Height()) - y);
    if (x0 >= x1 || y0 >= y1)
        return;
    if (target.PixelFormat() != TPixelFormat::pf24bit || source.PixelFormat() != TPixelFormat::pf24bit) {
        for (std::int64_t sy = y0; sy < y1; ++sy)
            for (std::int64_t sx = x0; sx < x1; ++sx) {
                const TColor c = source.PixelAt(int(sx), int(sy));
                if (!(transparent && c == clWhite))
                    target.SetPixelAt(int(x + sx), int(y + sy), c);
            }
        return;
    }
    const std::size_t n = std::size_t(x1 - x0);
    for (std::int64_t sy = y0; sy < y1; ++sy) {
        const std::uint8_t* in = source.ScanLine(int(sy)) + 3 * x0;
        std::uint8_t* out = target.ScanLine(int(y + sy)) + 3 * (x + x0);
        if (!transparent) {
            std::memcpy(out, in, 3 * n);
            continue;
        }
        for (std::size_t i = 0; i < n; ++i, in += 3, out += 3)
            if (!(in[0] == 0xFF && in[1] == 0xFF && in[2] == 0xFF))
                std::memcpy(out, in, 3);
    }
}
