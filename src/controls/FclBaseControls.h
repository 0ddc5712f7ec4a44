#pragma once
// The base classes of the library's controls: every one reports the library's version label;
// a windowed control also posts its after-enter and after-exit events once a focus change is
// complete, reports the mouse wheel through its own event and may carry an attached label;
// the extended windowed control knows its controller.
#include <QWidget>

#include <functional>
#include <string>

#include "controls/FclAttachedLabel.h"
#include "controls/FclEvents.h"
#include "controls/FclKeys.h"

class TFclController;

// (Sender, Shift, Delta, XPos, YPos): Delta in the wheel's eighths of a degree (120 a notch,
// negative towards the user), the position in the control's coordinates.
using TFclMouseWheelEvent =
    std::function<void(QObject* Sender, TShiftState Shift, int Delta, int XPos, int YPos)>;

// A control without its own window in the original sense (painted only).
class TFclGraphicControl : public QWidget {
    Q_OBJECT
public:
    explicit TFclGraphicControl(QWidget* AOwner = nullptr) : QWidget(AOwner) {}
    std::string About() const;
    void SetAbout(const std::string&) {}
};

class TFclCustomControl : public QWidget {
    Q_OBJECT
public:
    explicit TFclCustomControl(QWidget* AOwner = nullptr);
    ~TFclCustomControl() override;

    std::string About() const;
    void SetAbout(const std::string&) {}

    void SetAfterEnter(TNotifyEvent Event) { afterEnter_ = std::move(Event); }
    void SetAfterExit(TNotifyEvent Event) { afterExit_ = std::move(Event); }
    void SetOnMouseWheel(TFclMouseWheelEvent Event) { onMouseWheel_ = std::move(Event); }

    TFclLabelInfo& LabelInfo() { return label_.Info(); }
    // The attached label; Exception "Label not attached" when LabelInfo().Visible() is False.
    TFclAttachedLabel* GetAttachedLabel() const { return label_.GetAttachedLabel(); }
    void PositionLabel() { label_.PositionLabel(); }

protected:
    bool event(QEvent* Event) override;
    // The inherited handling, then the posted after-enter / after-exit.
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    // Reports the wheel through OnMouseWheel; the inherited handling does not run.
    void wheelEvent(QWheelEvent* Event) override;
    virtual void DoOnMouseWheel(TShiftState Shift, int Delta, int XPos, int YPos);

private:
    TNotifyEvent afterEnter_;
    TNotifyEvent afterExit_;
    TFclMouseWheelEvent onMouseWheel_;
    TFclLabelAttachment label_;
};

// The controller reference: empty until it is set, until a controller is placed on the
// control's form, or until the control's window is created (the first value access of an
// entry field, or the first show), which takes the form's controller or else the default
// controller. A controller that goes away empties it again.
class TFclCustomControlEx : public TFclCustomControl {
    Q_OBJECT
public:
    explicit TFclCustomControlEx(QWidget* AOwner = nullptr) : TFclCustomControl(AOwner) {}

    // The referenced controller; the default controller while the reference is empty.
    TFclController* Controller() const;
    // A null controller empties the reference.
    virtual void SetController(TFclController* Value);
    // Whether the reference is set.
    bool HasControllerReference() const { return !controller_.isNull(); }
    // A controller placed on the control's form: taken when the reference is empty.
    void ControllerPlaced(TFclController* Placed);

protected:
    bool event(QEvent* Event) override;
    // The window is created: an empty reference takes the first controller on the form, or
    // else the default controller.
    void ResolveController();

private:
    QPointer<TFclController> controller_;
};

// The modifier state of Qt's modifiers.
TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers);
