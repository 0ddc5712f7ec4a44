#include "controls/FclRotatedLabel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QTransform>

#include <cmath>

#include "controls/FclFontSource.h"
#include "controls/FclProperty.h"
#include "platform/SysColors.h"

int ReduceFontAngle(int Degrees)
{
    return Degrees % 360;
}

TFclCustomRotatedLabel::TFclCustomRotatedLabel(QWidget* AOwner) : TFclGraphicControl(AOwner)
{
    QFont f = font();
    f.setFamily(QStringLiteral("Arial"));
    setFont(f);
    resize(130, 20);
}

void TFclCustomRotatedLabel::SetAlignment(TAlignment Value)
{
    if (StoreChanged(alignment_, Value))
        update();
}

void TFclCustomRotatedLabel::SetAutoSize(bool Value)
{
    if (StoreChanged(autoSize_, Value))
        FitSize();
}

void TFclCustomRotatedLabel::Loaded()
{
    loading_ = false;
    FitSize();
    update();
}

void TFclCustomRotatedLabel::SetCaption(const QString& Value)
{
    if (!StoreChanged(caption_, Value))
        return;
    FitSize();
    repaint();
}

void TFclCustomRotatedLabel::FitSize()
{
    if (!autoSize_ || loading_ || fitting_)
        return;
    fitting_ = true;
    const QFontMetrics metrics(font());
    const QString text = caption_.left(255);
    const QSize shadow = shadowedText_ ? QSize(2, 1) : QSize(0, 0);
    if (fontAngle_ == 0) {
        // Drawn from the top-left corner, one line per line break.
        resize(metrics.boundingRect(QRect(), Qt::AlignLeft | Qt::AlignTop, text).size() + shadow);
    } else {
        // The first character cell's top-left corner is the reference point before the turn;
        // the glyphs may reach beyond their cells.
        const QRectF ink = QRectF(metrics.boundingRect(text)).translated(0, metrics.ascent());
        const QRectF cell =
            QRectF(0, 0, metrics.horizontalAdvance(text), metrics.height()).united(ink);
        QTransform turn;
        turn.rotate(-fontAngle_);
        const QRectF box = turn.mapRect(cell);
        // Turned by a right angle the sines and cosines are off by a rounding error only.
        constexpr double slack = 1e-6;
        const int left = static_cast<int>(std::floor(box.left() + slack));
        const int top = static_cast<int>(std::floor(box.top() + slack));
        const int right = static_cast<int>(std::ceil(box.right() - slack));
        const int bottom = static_cast<int>(std::ceil(box.bottom() - slack));
        originX_ = -left;
        originY_ = -top;
        resize(QSize(right - left, bottom - top) + shadow);
    }
    fitting_ = false;
    update();
}

void TFclCustomRotatedLabel::SetFontAngle(int Value)
{
    if (Value == fontAngle_)
        return;
    if (!loading_ && Value != 0 && !FontSource().IsTrueTypeFont(font())) {
        QFont f = font();
        f.setFamily(QStringLiteral("Arial"));
        const bool wasInFontChange = inFontChange_;
        inFontChange_ = true;
        setFont(f);
        inFontChange_ = wasInFontChange;
    }
    fontAngle_ = ReduceFontAngle(Value);
    FitSize();
    update();
}

void TFclCustomRotatedLabel::SetOriginX(int Value)
{
    if (StoreChanged(originX_, Value))
        update();
}

void TFclCustomRotatedLabel::SetOriginY(int Value)
{
    if (StoreChanged(originY_, Value))
        update();
}

void TFclCustomRotatedLabel::SetShadowColor(TColor Value)
{
    if (StoreChanged(shadowColor_, Value))
        update();
}

void TFclCustomRotatedLabel::SetShadowedText(bool Value)
{
    if (!StoreChanged(shadowedText_, Value))
        return;
    FitSize();
    update();
}

void TFclCustomRotatedLabel::SetTransparent(bool Value)
{
    transparent_ = Value;
    update();
}

void TFclCustomRotatedLabel::SetColor(TColor Value)
{
    if (Value == color_ && !parentColor_)
        return;
    color_ = Value;
    parentColor_ = false;
    update();
}

void TFclCustomRotatedLabel::SetParentColor(bool Value)
{
    if (StoreChanged(parentColor_, Value))
        update();
}

QColor TFclCustomRotatedLabel::BackColour() const
{
    return parentColor_ ? palette().color(backgroundRole()) : ToQColor(color_);
}

void TFclCustomRotatedLabel::SetFontColor(TColor Value)
{
    if (StoreChanged(fontColor_, Value))
        update();
}

void TFclCustomRotatedLabel::changeEvent(QEvent* Event)
{
    TFclGraphicControl::changeEvent(Event);
    if (Event->type() != QEvent::FontChange || loading_ || inFontChange_)
        return;
    // A device font cannot be rotated: the label goes back to 0 degrees.
    inFontChange_ = true;
    if (fontAngle_ != 0 && !FontSource().IsTrueTypeFont(font()))
        SetFontAngle(0);
    inFontChange_ = false;
    FitSize();
    update();
}

void TFclCustomRotatedLabel::DrawCaption(QPainter& Painter, const QString& Text, int Dx,
                                         int Dy) const
{
    const QRect r = rect();
    if (fontAngle_ == 0) {
        Painter.drawText(r.translated(Dx, Dy), Qt::AlignTop | int(QtAlignmentOf(alignment_)),
                         Text);
        return;
    }
    // The reference point is the top-left corner of the first character cell before the
    // turn; the text is clipped to the control.
    Painter.save();
    Painter.setClipRect(r);
    Painter.translate(originX_ + Dx, originY_ + Dy);
    Painter.rotate(-fontAngle_);
    Painter.drawText(QPoint(0, QFontMetrics(Painter.font()).ascent()), Text);
    Painter.restore();
}

void TFclCustomRotatedLabel::PaintTo(QPainter& Painter) const
{
    if (!transparent_)
        Painter.fillRect(rect(), BackColour());
    Painter.setFont(font());
    const TColor textColor = isEnabled() ? fontColor_ : clGrayText;
    const QString text = caption_.left(255);
    if (shadowedText_) {
        Painter.setPen(ToQColor(shadowColor_));
        if (!transparent_) {
            Painter.setBackgroundMode(Qt::OpaqueMode);
            Painter.setBackground(BackColour());
        }
        DrawCaption(Painter, text, 2, 1);
    }
    Painter.setBackgroundMode(Qt::TransparentMode);
    Painter.setPen(ToQColor(textColor));
    DrawCaption(Painter, text, 0, 0);
}

QSize TFclCustomRotatedLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    const QRectF text(0, 0, metrics.horizontalAdvance(caption_.left(255)), metrics.height());
    QTransform turn;
    turn.rotate(-fontAngle_);
    return turn.mapRect(text).size().toSize() + QSize(2, 1);
}

void TFclCustomRotatedLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}
