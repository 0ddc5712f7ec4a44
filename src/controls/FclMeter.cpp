#include "controls/FclMeter.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "controls/FclProperty.h"
#include "platform/SysColors.h"

namespace {

int Clamped(std::int32_t Percent)
{
    return static_cast<int>(std::clamp<std::int32_t>(Percent, 0, 100));
}

std::string PercentTextOf(std::int32_t Percent)
{
    return std::to_string(Clamped(Percent)) + "%";
}

int RoundHalfEven(double Value)
{
    return static_cast<int>(std::nearbyint(Value));
}

// A one-pixel frame just inside R: the top and left edges in TopColor, the bottom and right
// edges in BottomColor (which also takes the top-right and bottom-left corners); R then
// shrinks by one pixel on every side.
void Frame3D(QImage& Image, QRect& R, TColor TopColor, TColor BottomColor)
{
    const QRgb top = ToQColor(TopColor).rgb();
    const QRgb bottom = ToQColor(BottomColor).rgb();
    const int l = R.left(), t = R.top(), r = R.right(), b = R.bottom();
    auto set = [&Image](int x, int y, QRgb c) {
        if (x >= 0 && y >= 0 && x < Image.width() && y < Image.height())
            Image.setPixel(x, y, c);
    };
    for (int x = l; x < r; ++x)
        set(x, t, top);
    for (int y = t; y < b; ++y)
        set(l, y, top);
    for (int y = t; y <= b; ++y)
        set(r, y, bottom);
    for (int x = l; x <= r; ++x)
        set(x, b, bottom);
    R.adjust(1, 1, -1, -1);
}

}  // namespace

TMeterLengths MeterLengths(int Percent, int Size)
{
    const int p = std::clamp(Percent, 0, 100);
    const int u = p * Size / 100;
    if (u < 3)
        return {0, Size};
    if (u == Size)
        return {Size, 0};
    const int used = std::min(u, Size - 3);
    return {used, Size - used - 1};
}

TFclCustomMeter::TFclCustomMeter(QWidget* AOwner) : TFclGraphicControl(AOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    percentText_ = PercentTextOf(percent_);
    resize(200, 24);
}

TFclCustomMeter::~TFclCustomMeter() = default;

QSize TFclCustomMeter::sizeHint() const
{
    return orientation_ == TMeterOrientation::moHorizontal ? QSize(200, 24) : QSize(24, 200);
}

void TFclCustomMeter::SetBorderStyle(TBorderStyle Value)
{
    if (StoreChanged(borderStyle_, Value))
        update();
}

void TFclCustomMeter::SetCtl3D(bool Value)
{
    if (StoreChanged(ctl3D_, Value))
        update();
}

void TFclCustomMeter::SetInvertPercent(bool Value)
{
    if (StoreChanged(invertPercent_, Value) && showPercent_)
        update();
}

void TFclCustomMeter::SetOrientation(TMeterOrientation Value)
{
    if (!StoreChanged(orientation_, Value))
        return;
    if (usedImage_.Empty())
        resize(height(), width());
    updateGeometry();
    update();
}

void TFclCustomMeter::SetPercent(std::int32_t Value)
{
    if (!StoreChanged(percent_, Value))
        return;
    percentText_ = PercentTextOf(percent_);
    repaint();
}

void TFclCustomMeter::SetShowPercent(bool Value)
{
    if (StoreChanged(showPercent_, Value))
        update();
}

void TFclCustomMeter::SetUsedColor(TColor Value)
{
    if (StoreChanged(usedColor_, Value))
        update();
}

void TFclCustomMeter::SetUnusedColor(TColor Value)
{
    if (StoreChanged(unusedColor_, Value))
        update();
}

void TFclCustomMeter::SetFontColor(TColor Value)
{
    if (StoreChanged(fontColor_, Value))
        update();
}

void TFclCustomMeter::SetUsedImage(const TBitmap& Value)
{
    usedImage_ = Value;
    usedPicture_ = usedImage_.ToImage();
    update();
}

void TFclCustomMeter::SetUnusedImage(const TBitmap& Value)
{
    unusedImage_ = Value;
    unusedPicture_ = unusedImage_.ToImage();
    update();
}

void TFclCustomMeter::paintEvent(QPaintEvent*)
{
    Paint();
    QPainter screen(this);
    screen.setCompositionMode(QPainter::CompositionMode_Source);
    screen.drawImage(0, 0, barImage_);
}

void TFclCustomMeter::Paint()
{
    if (barImage_.size() != size())
        barImage_ = QImage(size(), QImage::Format_RGB32);
    if (barImage_.isNull())
        return;
    barImage_.fill(ToQColor(unusedColor_));

    QRect r(0, 0, width(), height());
    if (borderStyle_ != TBorderStyle::bsNone) {
        if (ctl3D_) {
            Frame3D(barImage_, r, clBtnShadow, clBtnHighlight);
            Frame3D(barImage_, r, clBlack, clBtnHighlight);
        } else {
            Frame3D(barImage_, r, clBlack, clBlack);
        }
    }
    const QRect interior = r;
    const int w = interior.width() + 1;
    const int h = interior.height() + 1;
    const bool horizontal = orientation_ == TMeterOrientation::moHorizontal;
    const int size = horizontal ? w : h;
    const TMeterLengths len = MeterLengths(percent_, size);

    // The lengths count one pixel more than the interior holds (at 100 % and for a bar not
    // shown): every part is clipped to the interior so the frame stays whole.
    QRect used, unused;
    if (horizontal) {
        used = QRect(interior.left(), interior.top(), len.Used, interior.height());
        unused = QRect(interior.left() + len.Used, interior.top(), len.Unused, interior.height());
    } else {
        const int bottom = interior.top() + interior.height();
        used = QRect(interior.left(), bottom - len.Used, interior.width(), len.Used);
        unused = QRect(interior.left(), bottom - len.Used - len.Unused, interior.width(),
                       len.Unused);
    }
    used &= interior;
    unused &= interior;

    {
        QPainter p(&barImage_);
        p.setClipRect(interior);
        auto fill = [&p](const QRect& part, TColor color) {
            if (!part.isEmpty())
                p.fillRect(part, ToQColor(color));
        };
        auto stretch = [&p](const QRect& target, const QImage& image, const QRect& source) {
            if (!target.isEmpty() && !source.isEmpty())
                p.drawImage(target, image, source);
        };
        const QRect wholeUsed(0, 0, usedImage_.Width(), usedImage_.Height());
        const QRect wholeUnused(0, 0, unusedImage_.Width(), unusedImage_.Height());
        if (horizontal) {
            if (len.Unused > 0) {
                if (unusedImage_.Empty())
                    fill(unused, unusedColor_);
                else
                    stretch(interior, unusedPicture_, wholeUnused);
            }
            if (len.Used > 0) {
                if (usedImage_.Empty())
                    fill(used, usedColor_);
                else
                    stretch(used, usedPicture_,
                            QRect(0, 0, RoundHalfEven(double(usedImage_.Width()) * len.Used / size),
                                  usedImage_.Height()));
            }
        } else {
            if (len.Used > 0) {
                if (usedImage_.Empty())
                    fill(used, usedColor_);
                else
                    stretch(interior, usedPicture_, wholeUsed);
            }
            if (len.Unused > 0) {
                if (unusedImage_.Empty())
                    fill(unused, unusedColor_);
                else
                    stretch(unused, unusedPicture_,
                            QRect(0, 0, unusedImage_.Width(),
                                  RoundHalfEven(double(unusedImage_.Height()) * len.Unused / size)));
            }
        }
    }

    if (showPercent_) {
        if (invertPercent_)
            DrawInvertedText(interior, w, h);
        else
            DrawPercentText(interior, w, h);
    } else if (onOwnerDraw_) {
        QPainter p(&barImage_);
        onOwnerDraw_(p, QRect(0, 0, width(), height()));
    }
}

void TFclCustomMeter::DrawPercentText(const QRect& Interior, int W, int H)
{
    QPainter p(&barImage_);
    QFont f = font();
    f.setStyleStrategy(QFont::NoAntialias);
    p.setFont(f);
    const QFontMetrics fm(f);
    const QString text = QString::fromLatin1(percentText_.c_str());
    const int x = Interior.left() + (W - fm.horizontalAdvance(text)) / 2;
    const int y = Interior.top() + (H - fm.height()) / 2;
    p.setPen(ToQColor(fontColor_));
    p.drawText(x, y + fm.ascent(), text);
}

void TFclCustomMeter::DrawInvertedText(const QRect& Interior, int W, int H)
{
    if (textImage_.size() != size())
        textImage_ = QImage(size(), QImage::Format_RGB32);
    textImage_.fill(Qt::black);
    {
        QPainter p(&textImage_);
        QFont f = font();
        f.setStyleStrategy(QFont::NoAntialias);
        p.setFont(f);
        const QFontMetrics fm(f);
        const QString text = QString::fromLatin1(percentText_.c_str());
        const int x = Interior.left() + (W - fm.horizontalAdvance(text)) / 2;
        const int y = Interior.top() + (H - fm.height()) / 2;
        p.setPen(Qt::white);
        p.drawText(x, y + fm.ascent(), text);
    }
    // Exclusive or: white text pixels invert the bar beneath them, black ones leave it.
    for (int y = 0; y < barImage_.height(); ++y) {
        auto* bar = reinterpret_cast<QRgb*>(barImage_.scanLine(y));
        const auto* text = reinterpret_cast<const QRgb*>(textImage_.constScanLine(y));
        for (int x = 0; x < barImage_.width(); ++x)
            bar[x] = 0xFF000000u | ((bar[x] ^ text[x]) & 0x00FFFFFFu);
    }
}
