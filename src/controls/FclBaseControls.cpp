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

TFclController* TFclCustomControlEx::ResolvedReference() const
{
    if (!controller_ && !resolved_) {
        // Once the control sits on a form, a controller placed there is taken.
        if (QWidget* form = FindParentForm(this)) {
            controller_ = FindFormController(form);
            resolved_ = true;
        }
    }
    return controller_.data();
}

TFclController* TFclCustomControlEx::Controller() const
{
    if (TFclController* c = ResolvedReference())
        return c;
    return DefaultControllerInstance();
}

void TFclCustomControlEx::SetController(TFclController* Value)
{
    controller_ = Value;
    resolved_ = true;
}

bool TFclCustomControlEx::HasControllerReference() const
{
    return ResolvedReference() != nullptr;
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
