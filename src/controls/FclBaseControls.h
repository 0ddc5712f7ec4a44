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

class TFclCustomControlEx : public TFclCustomControl {
    Q_OBJECT
public:
    explicit TFclCustomControlEx(QWidget* AOwner = nullptr) : TFclCustomControl(AOwner) {}

    // The controller set or found on the form; the default controller when there is none.
    TFclController* Controller() const;
    // A null controller clears the reference.
    virtual void SetController(TFclController* Value);
    // Whether a controller was set or found.
    bool HasControllerReference() const;

private:
    TFclController* ResolvedReference() const;
    mutable QPointer<TFclController> controller_;
    mutable bool resolved_ = false;
};

// The modifier state of Qt's modifiers.
TShiftState ShiftStateOf(Qt::KeyboardModifiers Modifiers);
