#include "controls/FclSpinner.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "controls/FclEntryFieldShell.h"
#include "controls/FclIntlSup.h"
#include "controls/FclMisc.h"
#include "controls/FclProperty.h"
#include "platform/Services.h"
#include "platform/SysColors.h"

namespace {

bool IsButton(TFclSpinState State)
{
    return State >= TFclSpinState::ssUpBtn;
}

// Whether the tick clock has passed Time (the clock wraps at 2^32).
bool Later(std::uint32_t Now, std::uint32_t Time)
{
    return static_cast<std::int32_t>(Now - Time) > 0;
}

// The number of a line edit moved by Delta and written back in the standard form with the
// decimal character of the regional settings; a text that is not a number is left alone.
void StepLineEdit(QLineEdit& Edit, TFclSpinState State, double Delta)
{
    const char decimal = FclIntlSup().DecimalChar();
    std::string text = Edit.text().trimmed().toStdString();
    std::replace(text.begin(), text.end(), decimal, '.');
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return;
    if (State == TFclSpinState::ssUpBtn)
        value += Delta;
    else if (State == TFclSpinState::ssDownBtn)
        value -= Delta;
    if (!std::isfinite(value))
        return;
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string result(buffer, written.ptr);
    std::replace(result.begin(), result.end(), '.', decimal);
    Edit.setText(QString::fromStdString(result));
}

// The raised face of a button, or the sunken one when Down: a black frame, then a bevel one
// pixel wide.
void DrawButtonFace(QPainter& Painter, const QRect& Face, bool Down)
{
    Painter.fillRect(Face, ToQColor(clBtnFace));
    auto frame = [&](QRect r, TColor TopLeft, TColor BottomRight) {
        Painter.setPen(ToQColor(TopLeft));
        Painter.drawLine(r.left(), r.top(), r.right(), r.top());
        Painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
        Painter.setPen(ToQColor(BottomRight));
        Painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        Painter.drawLine(r.right(), r.top(), r.right(), r.bottom());
    };
    frame(Face, clBlack, clBlack);
    const QRect inner = Face.adjusted(1, 1, -1, -1);
    if (Down)
        frame(inner, clBtnShadow, clBtnFace);
    else
        frame(inner, clBtnHighlight, clBtnShadow);
}

// The face of a triangular button: flat in the button colour, sunk into the shadow colour
// when Down, framed in black.
void DrawTriangleFace(QPainter& Painter, const QPolygon& Face, bool Down)
{
    Painter.setPen(ToQColor(clBlack));
    Painter.setBrush(ToQColor(Down ? clBtnShadow : clBtnFace));
    Painter.drawPolygon(Face);
}

// The arrow of a face pointing in Direction: A pixels across (odd), B = (A + 1) div 2 deep,
// centred in Box, its tip one pixel wide and each step from the tip two pixels wider; drawn
// one pixel right and down when pressed, after erasing it in the face's colour at the other
// place.
void DrawArrow(QPainter& Painter, const QRect& Box, TFclSpinArrow Direction, bool Down,
               TColor FaceColor)
{
    const int a = (std::min(Box.width(), Box.height()) / 2) | 1;
    const int b = (a + 1) / 2;
    const bool across = Direction == TFclSpinArrow::Up || Direction == TFclSpinArrow::Down;
    const int x0 = Box.left() + (Box.width() - (across ? a : b)) / 2;
    const int y0 = Box.top() + (Box.height() - (across ? b : a)) / 2;
    auto draw = [&](int dx, int dy, TColor c) {
        const QColor colour = ToQColor(c);
        for (int step = 0; step < b; ++step) {
            // The row or column step pixels from the tip, 2 * step + 1 pixels long.
            switch (Direction) {
            case TFclSpinArrow::Up:
                Painter.fillRect(x0 + a / 2 - step + dx, y0 + step + dy, 2 * step + 1, 1, colour);
                break;
            case TFclSpinArrow::Down:
                Painter.fillRect(x0 + a / 2 - step + dx, y0 + b - 1 - step + dy, 2 * step + 1, 1,
                                 colour);
                break;
            case TFclSpinArrow::Left:
                Painter.fillRect(x0 + step + dx, y0 + a / 2 - step + dy, 1, 2 * step + 1, colour);
                break;
            case TFclSpinArrow::Right:
                Painter.fillRect(x0 + b - 1 - step + dx, y0 + a / 2 - step + dy, 1, 2 * step + 1,
                                 colour);
                break;
            case TFclSpinArrow::None: return;
            }
        }
    };
    const int shift = Down ? 1 : 0;
    draw(1 - shift, 1 - shift, FaceColor);
    draw(shift, shift, clBtnText);
}

}  // namespace

TFclSpinner::TFclSpinner(QWidget* AOwner) : TFclCustomControl(AOwner)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    pressTimer_.setSingleShot(true);
    connect(&pressTimer_, &QTimer::timeout, this, &TFclSpinner::PressTick);
    resize(16, 25);
    CreateButtonRegions();
}

void TFclSpinner::SetAcceleration(int Value)
{
    if (Value <= 10)
        acceleration_ = Value;
}

void TFclSpinner::SetAutoRepeat(bool Value)
{
    autoRepeat_ = Value;
    if (Value && active_ && single_) {
        single_ = false;
        Schedule();
    }
}

void TFclSpinner::SetShowArrows(bool Value)
{
    if (StoreChanged(showArrows_, Value))
        update();
}

void TFclSpinner::SetStyle(TFclSpinnerStyle Value)
{
    if (!StoreChanged(style_, Value))
        return;
    CreateButtonRegions();
    update();
}

void TFclSpinner::CreateButtonRegions()
{
    buttons_ = SpinnerButtons(style_, width(), height());
    buttonsSize_ = size();
}

const std::vector<TFclSpinnerButton>& TFclSpinner::Buttons() const
{
    if (buttonsSize_ != size())
        const_cast<TFclSpinner*>(this)->CreateButtonRegions();
    return buttons_;
}

void TFclSpinner::resizeEvent(QResizeEvent* Event)
{
    TFclCustomControl::resizeEvent(Event);
    CreateButtonRegions();
    update();
}

TFclSpinState TFclSpinner::StateAtCursor() const
{
    int x = 0, y = 0;
    Services().CursorPos(x, y);
    const QPoint p = mapFromGlobal(QPoint(x, y));
    return SpinnerStateAt(Buttons(), width(), height(), p.x(), p.y(), clicked_);
}

void TFclSpinner::InvalidateButton(TFclSpinState AState)
{
    for (const TFclSpinnerButton& b : Buttons())
        if (b.State == AState)
            update(b.Face.isEmpty() ? QRegion(b.FaceRect) : QRegion(b.Face.boundingRect()));
}

void TFclSpinner::mousePressEvent(QMouseEvent* Event)
{
    TFclCustomControl::mousePressEvent(Event);
    if (Event->button() != Qt::LeftButton || active_)
        return;
    clicked_ = true;
    // The steps act on the associated control: it gets the focus first, so the field that
    // had it completes its exit first.
    if (QWidget* target = focusedControl_.data();
        target && !target->hasFocus() && target->isEnabled() && target->isVisible())
        target->setFocus(Qt::MouseFocusReason);
    const QPoint p = Event->position().toPoint();
    try {
        BeginPress(p.x(), p.y());
    } catch (...) {
        Fail(std::current_exception());
    }
}

void TFclSpinner::mouseDoubleClickEvent(QMouseEvent* Event)
{
    // A quick second click is an ordinary press.
    mousePressEvent(Event);
}

void TFclSpinner::mouseReleaseEvent(QMouseEvent* Event)
{
    TFclCustomControl::mouseReleaseEvent(Event);
    if (Event->button() != Qt::LeftButton)
        return;
    clicked_ = false;
    if (active_)
        EndPress();
}

void TFclSpinner::mouseMoveEvent(QMouseEvent* Event)
{
    TFclCustomControl::mouseMoveEvent(Event);
    if (!active_ || single_)
        return;
    const TFclSpinState before = state_;
    FollowCursor();
    if (state_ != before)
        Schedule();
}

void TFclSpinner::BeginPress(int, int)
{
    previousState_ = state_;
    state_ = StateAtCursor();
    pressed_ = true;
    active_ = true;
    InvalidateButton(previousState_);
    InvalidateButton(state_);
    repeatCount_ = 0;
    nextStepTime_ = GetTickCount() - 1;
    single_ = state_ == TFclSpinState::ssCenterBtn || !autoRepeat_;
    StepOnce(state_);
    if (active_)
        Schedule();
}

void TFclSpinner::EndPress()
{
    pressTimer_.stop();
    previousState_ = state_;
    state_ = TFclSpinState::ssNormal;
    pressed_ = false;
    active_ = false;
    InvalidateButton(previousState_);
    repaint();
}

void TFclSpinner::Fail(std::exception_ptr Error)
{
    if (active_)
        EndPress();
    HandleLibraryException(Error);
}

void TFclSpinner::FollowCursor()
{
    TFclSpinState s = StateAtCursor();
    if (s == TFclSpinState::ssCenterBtn)
        s = TFclSpinState::ssNormal;
    if (s == state_)
        return;
    previousState_ = state_;
    state_ = s;
    pressed_ = IsButton(state_);
    InvalidateButton(previousState_);
    InvalidateButton(state_);
}

void TFclSpinner::Schedule()
{
    if (!active_)
        return;
    int delay = kPollInterval;
    if (!single_ && pressed_) {
        // Due once the clock has passed the next-step time.
        const auto ahead = static_cast<std::int32_t>(nextStepTime_ - GetTickCount());
        delay = std::max(ahead + 1, 0);
    }
    pressTimer_.start(delay);
}

void TFclSpinner::PressTick()
{
    if (!active_)
        return;
    if (!Services().LeftButtonDown()) {
        clicked_ = false;
        EndPress();
        return;
    }
    if (!single_) {
        try {
            FollowCursor();
            StepOnce(state_);
        } catch (...) {
            Fail(std::current_exception());
            return;
        }
    }
    Schedule();
}

void TFclSpinner::StepOnce(TFclSpinState AState)
{
    QWidget* target = focusedControl_.data();
    auto* field = dynamic_cast<TFclEntryFieldShell*>(target);
    auto* edit = qobject_cast<QLineEdit*>(target);
    if (!onClick_ && !field && !edit)
        return;
    const std::uint32_t now = GetTickCount();
    if (!pressed_ || !Later(now, nextStepTime_))
        return;
    if (field) {
        switch (AState) {
        case TFclSpinState::ssUpBtn: field->Field().StepUp(wrapMode_, delta_); break;
        case TFclSpinState::ssDownBtn: field->Field().StepDown(wrapMode_, delta_); break;
        case TFclSpinState::ssLeftBtn: field->Field().StepCaret(-1); break;
        case TFclSpinState::ssRightBtn: field->Field().StepCaret(+1); break;
        default: break;
        }
    } else if (edit) {
        StepLineEdit(*edit, AState, delta_);
    }
    if (onClick_)
        onClick_(this, AState, delta_, wrapMode_);
    nextStepTime_ = now + static_cast<std::uint32_t>(delayTime_ - acceleration_ * 10 * repeatCount_);
    ++repeatCount_;
}

void TFclSpinner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // What no button covers (the corners of the four-way and star layouts) in the face colour.
    painter.fillRect(rect(), ToQColor(clBtnFace));
    for (const TFclSpinnerButton& b : Buttons()) {
        const bool down = clicked_ && pressed_ && state_ == b.State;
        if (b.Face.isEmpty())
            DrawButtonFace(painter, b.FaceRect, down);
        else
            DrawTriangleFace(painter, b.Face, down);
        if (showArrows_ && b.Arrow != TFclSpinArrow::None)
            DrawArrow(painter, b.ArrowBox, b.Arrow, down,
                      !b.Face.isEmpty() && down ? clBtnShadow : clBtnFace);
    }
}
