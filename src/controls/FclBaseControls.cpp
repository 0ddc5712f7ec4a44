#include "controls/FclBaseControls.h"

#include <QFocusEvent>
#include <QWheelEvent>

#include "controls/FclController.h"
#include "controls/FclFieldMessages.h"
#include "controls/FclMisc.h"

std::string TFclGraphicControl::About() const
{
    return FclAboutText();
}

TFclCustomControl::TFclCustomControl(QWidget* AOwner) : QWidget(AOwner), label_(this, true) {}

TFclCustomControl::~TFclCustomControl()
{
    label_.ControlDestroying();
}

std::string TFclCustomControl::About() const
{
    return FclAboutText();
}

bool TFclCustomControl::event(QEvent* Event)
{
    if (label_.HandleEvent(Event))
        return true;
    switch (static_cast<int>(Event->type())) {
    case FieldMsgAfterEnter:
        if (afterEnter_)
            afterEnter_(this);
        return true;
    case FieldMsgAfterExit:
        if (afterExit_)
            afterExit_(this);
        return true;
    default:
        return QWidget::event(Event);
    }
}

void TFclCustomControl::focusInEvent(QFocusEvent* Event)
{
    QWidget::focusInEvent(Event);
    PostFieldMessage(this, FieldMsgAfterEnter);
}

void TFclCustomControl::focusOutEvent(QFocusEvent* Event)
{
    QWidget::focusOutEvent(Event);
    PostFieldMessage(this, FieldMsgAfterExit);
}

void TFclCustomControl::wheelEvent(QWheelEvent* Event)
{
    const QPoint pos = Event->position().toPoint();
    DoOnMouseWheel(ShiftStateOf(Event->modifiers()), Event->angleDelta().y(), pos.x(), pos.y());
    Event->accept();
}

void TFclCustomControl::DoOnMouseWheel(TShiftState Shift, int Delta, int XPos, int YPos)
{
    if (onMouseWheel_)
        onMouseWheel_(this, Shift, Delta, XPos, YPos);
}

TFclController* TFclCustomControlEx::Controller() const
{
    if (TFclController* c = controller_.data())
        return c;
    return DefaultControllerInstance();
}

void TFclCustomControlEx::SetController(TFclController* Value)
{
    controller_ = Value;
}

void TFclCustomControlEx::ControllerPlaced(TFclController* Placed)
{
    if (!controller_)
        controller_ = Placed;
}

void TFclCustomControlEx::ResolveController()
{
    if (!controller_)
        controller_ = FindFormController(FindParentForm(this));
    if (!controller_)
        controller_ = DefaultControllerInstance();
}

bool TFclCustomControlEx::event(QEvent* Event)
{
    // Polished once before it is first shown: the control's window comes into being.
    if (Event->type() == QEvent::Polish)
        ResolveController();
    return TFclCustomControl::event(Event);
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers)
{
    TShiftState s = 0;
    if (Modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (Modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (Modifiers & Qt::AltModifier)
        s |= ssAlt;
    return s;
}
