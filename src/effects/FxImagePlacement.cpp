#include "effects/FxImagePlacement.h"

#include "platform/StretchDraw.h"

QRect FxDestRect(QSize control, QSize picture, bool stretch, bool center) {
    if (stretch)
        return QRect(QPoint(0, 0), control);
    if (center)
        return QRect(QPoint((control.width() - picture.width()) / 2, (control.height() - picture.height()) / 2),
                     picture);
    return QRect(QPoint(0, 0), picture);
}

bool FxCoversControl(bool hasPicture, bool transparent, bool stretch, QSize picture, QSize control) {
    return hasPicture && !transparent &&
           (stretch || (picture.width() >= control.width() && picture.height() >= control.height()));
}

QSize FxAutoSize(TAlign align, QSize control, QSize picture) {
    QSize size = control;
    if (align == TAlign::alNone || align == TAlign::alLeft || align == TAlign::alRight)
        size.setWidth(picture.width());
    if (align == TAlign::alNone || align == TAlign::alTop || align == TAlign::alBottom)
        size.setHeight(picture.height());
    return size;
}

TColor FxTransparentColour(const TBitmap& picture) { return picture.PixelAt(0, picture.Height() - 1); }

QImage FxShownImage(const TBitmap& picture, QSize size, bool transparent) {
    if (picture.Empty() || size.isEmpty())
        return QImage();
    // A nearest-neighbour stretch keeps every colour, so the key can be looked for afterwards.
    const TColor key = FxTransparentColour(picture);
    auto shown = [&](const TBitmap& pixels) { return transparent ? pixels.ToImageWithout(key) : pixels.ToImage(); };
    if (size == QSize(picture.Width(), picture.Height()))
        return shown(picture);
    TBitmap stretched(size.width(), size.height(), TPixelFormat::pf24bit);
    StretchDraw(stretched, TRect{0, 0, size.width(), size.height()}, picture);
    return shown(stretched);
}
