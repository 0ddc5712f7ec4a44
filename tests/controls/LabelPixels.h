#pragma once
// Helpers of the label painting tests: a solid block caption in a font without antialiasing
// (so every pixel of a layer has the layer's colour), a painted image and the box of a colour.
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QString>

#include "platform/SysColors.h"

// One full-block character: a solid rectangle the height of the font.
inline QString Block()
{
    return QString(QChar(0x2588));
}

inline QFont BlockFont(int pixelSize)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

inline QRgb Rgb(TColor c)
{
    return ToQColor(c).rgb();
}

// The control painted by its PaintTo over a ground of one colour.
template <class Control> QImage PaintedOver(const Control& control, QRgb ground)
{
    QImage image(control.size(), QImage::Format_RGB32);
    image.fill(ground);
    QPainter p(&image);
    control.PaintTo(p);
    p.end();
    return image;
}

// The smallest rectangle holding every pixel of colour c; empty when there is none.
inline QRect BoxOf(const QImage& image, QRgb c)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == c)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The smallest rectangle holding every pixel not of the ground colour.
inline QRect BoxOfAllBut(const QImage& image, QRgb ground)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != ground)
                box |= QRect(x, y, 1, 1);
    return box;
}

inline int CountOf(const QImage& image, QRgb c)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == c;
    return n;
}
