#include "controls/FclURL.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "controls/FclMisc.h"
#include "controls/FclProperty.h"
#include "platform/Services.h"
#include "platform/SysColors.h"

TFclURL::TFclURL(QWidget* AOwner) : QWidget(AOwner)
{
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    resize(sizeHint());
}

std::string TFclURL::About() const
{
    return FclAboutText();
}

void TFclURL::SetCaption(const QString& Value)
{
    caption_ = Value;
    TextChanged();
}

void TFclURL::SetURL(const QString& Value)
{
    url_ = Value;
    if (caption_.isEmpty())
        TextChanged();
}

void TFclURL::SetHighlightColor(TColor Value)
{
    highlightColor_ = Value == clNone ? fontColor_ : Value;
    savedColor_ = kNothingSaved;
}

void TFclURL::SetVisitedColor(TColor Value)
{
    if (useVisitedColor_)
        visitedColor_ = Value == clNone ? fontColor_ : Value;
    savedColor_ = kNothingSaved;
}

void TFclURL::SetUnderlineURL(bool Value)
{
    QFont f = font();
    f.setUnderline(Value);
    setFont(f);
}

void TFclURL::SetFontColor(TColor Value)
{
    if (StoreChanged(fontColor_, Value))
        update();
}

void TFclURL::SetAlignment(TAlignment Value)
{
    if (StoreChanged(alignment_, Value))
        update();
}

void TFclURL::SetTransparent(bool Value)
{
    if (StoreChanged(transparent_, Value))
        update();
}

void TFclURL::SetColor(TColor Value)
{
    if (Value == color_ && !parentColor_)
        return;
    color_ = Value;
    parentColor_ = false;
    update();
}

void TFclURL::SetParentColor(bool Value)
{
    if (StoreChanged(parentColor_, Value))
        update();
}

void TFclURL::SetAutoSize(bool Value)
{
    if (!StoreChanged(autoSize_, Value))
        return;
    TextChanged();
}

void TFclURL::TextChanged()
{
    updateGeometry();
    if (autoSize_)
        resize(sizeHint());
    update();
}

QSize TFclURL::sizeHint() const
{
    const QFontMetrics metrics(font());
    return QSize(metrics.horizontalAdvance(Text()), metrics.height());
}

int TFclURL::HoverInterval() const
{
    return hoverTimer_ ? hoverTimer_->interval() : 0;
}

void TFclURL::MouseMove(int X, int Y)
{
    if (onMouseMove_)
        onMouseMove_(X, Y);
    if (!rect().contains(X, Y) || hoverTimer_)
        return;
    if (savedColor_ == kNothingSaved)
        savedColor_ = fontColor_;
    SetFontColor(highlightColor_);
    hoverTimer_ = new QTimer(this);
    hoverTimer_->setInterval(kHoverInterval);
    connect(hoverTimer_, &QTimer::timeout, this, &TFclURL::HoverTick);
    hoverTimer_->start();
}

void TFclURL::HoverTick()
{
    if (!hoverTimer_)
        return;
    int x = 0, y = 0;
    Services().CursorPos(x, y);
    if (rect().contains(mapFromGlobal(QPoint(x, y))))
        return;
    hoverTimer_->deleteLater();
    hoverTimer_ = nullptr;
    if (savedColor_ != kNothingSaved)
        fontColor_ = savedColor_;
    repaint();
}

void TFclURL::Click()
{
    if (!url_.isEmpty() && !Services().ShellOpen(url_.left(kMaxURLLength).toStdString()))
        MessageBeep();
    if (onClick_)
        onClick_(this);
    if (useVisitedColor_)
        savedColor_ = visitedColor_;
}

void TFclURL::mouseMoveEvent(QMouseEvent* Event)
{
    QWidget::mouseMoveEvent(Event);
    const QPoint p = Event->position().toPoint();
    MouseMove(p.x(), p.y());
}

void TFclURL::mouseReleaseEvent(QMouseEvent* Event)
{
    QWidget::mouseReleaseEvent(Event);
    if (Event->button() == Qt::LeftButton && rect().contains(Event->position().toPoint()))
        Click();
}

void TFclURL::changeEvent(QEvent* Event)
{
    QWidget::changeEvent(Event);
    if (Event->type() == QEvent::FontChange)
        TextChanged();
}

void TFclURL::PaintTo(QPainter& Painter) const
{
    if (!transparent_ && !parentColor_)
        Painter.fillRect(rect(), ToQColor(color_));
    Painter.setFont(font());
    Painter.setPen(ToQColor(isEnabled() ? fontColor_ : clGrayText));
    Painter.drawText(rect(), Qt::AlignTop | Qt::TextShowMnemonic | int(QtAlignmentOf(alignment_)),
                     Text());
}

void TFclURL::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}
