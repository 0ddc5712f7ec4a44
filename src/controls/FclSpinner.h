#pragma once
// The spinner: a small control with an up and a down button (its other styles lay out left,
// right and centre buttons as well). Pressing a button steps at once and, while the button is
// held, again at intervals that start at DelayTime and shrink by Acceleration x 10 ms with
// every step (500, 450, ... 50, 0 ms with the defaults, then on every pass of the event
// loop); the centre button steps once per press. A step moves the value of the associated
// control (FocusedControl: a library entry field or a plain line edit; left and right move an
// entry field's caret) and fires OnClick with the pressed button. The press is a timer-driven
// state machine: each step schedules a single-shot timer to the next one, the release ends
// it, and no event loop runs inside a handler. The spinner never takes the focus, so the
// field that has it stays the window's focused field.
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

#include "controls/FclBaseControls.h"
#include "controls/FclSpinnerLayout.h"

using TSpinClickEvent =
    std::function<void(QObject* Sender, TFclSpinState State, double Delta, bool Wrap)>;

class TFclSpinner : public TFclCustomControl {
    Q_OBJECT
    Q_PROPERTY(int Acceleration READ Acceleration WRITE SetAcceleration)
    Q_PROPERTY(bool AutoRepeat READ AutoRepeat WRITE SetAutoRepeat)
    Q_PROPERTY(int DelayTime READ DelayTime WRITE SetDelayTime)
    Q_PROPERTY(double Delta READ Delta WRITE SetDelta)
    Q_PROPERTY(bool ShowArrows READ ShowArrows WRITE SetShowArrows)
    Q_PROPERTY(bool WrapMode READ WrapMode WRITE SetWrapMode)
public:
    // How often a press that waits for no step (one step only, or the pointer off the
    // buttons) looks at the button and the pointer.
    static constexpr int kPollInterval = 15;

    explicit TFclSpinner(QWidget* AOwner = nullptr);

    int Acceleration() const { return acceleration_; }
    // Stored only when 10 or less.
    void SetAcceleration(int Value);
    bool AutoRepeat() const { return autoRepeat_; }
    // True during a press that has its one step done makes it repeat.
    void SetAutoRepeat(bool Value);
    int DelayTime() const { return delayTime_; }
    void SetDelayTime(int Value) { delayTime_ = Value; }
    double Delta() const { return delta_; }
    void SetDelta(double Value) { delta_ = Value; }
    QWidget* FocusedControl() const { return focusedControl_.data(); }
    void SetFocusedControl(QWidget* Value) { focusedControl_ = Value; }
    bool ShowArrows() const { return showArrows_; }
    void SetShowArrows(bool Value);
    // The button layout (controls/FclSpinnerLayout.h).
    TFclSpinnerStyle Style() const { return style_; }
    void SetStyle(TFclSpinnerStyle Value);
    bool WrapMode() const { return wrapMode_; }
    void SetWrapMode(bool Value) { wrapMode_ = Value; }
    void SetOnClick(TSpinClickEvent Event) { onClick_ = std::move(Event); }

    TFclSpinState State() const { return state_; }
    TFclSpinState PreviousState() const { return previousState_; }
    // A button is held and steps may run.
    bool Pressed() const { return pressed_; }
    // A press is in progress (from the button going down to its release).
    bool PressActive() const { return active_; }
    int RepeatCount() const { return repeatCount_; }
    std::uint32_t NextStepTime() const { return nextStepTime_; }
    // The buttons of the style at the control's present size.
    const std::vector<TFclSpinnerButton>& Buttons() const;

    // The state under the cursor (the platform's cursor position).
    TFclSpinState StateAtCursor() const;
    // One pass of a press: ends it when the button is up, follows the pointer between the
    // buttons, steps when the time has come and schedules the next pass. The press's timer
    // runs it.
    void PressTick();

protected:
    virtual void BeginPress(int X, int Y);
    virtual void EndPress();
    virtual void CreateButtonRegions();
    // Steps once when a button is pressed and its time has come.
    virtual void StepOnce(TFclSpinState AState);

    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;

private:
    void FollowCursor();
    void Schedule();
    void InvalidateButton(TFclSpinState AState);
    // Ends the press and shows an exception that a step let escape.
    void Fail(std::exception_ptr Error);

    int acceleration_ = 5;
    bool autoRepeat_ = true;
    int delayTime_ = 500;
    double delta_ = 1.0;
    int repeatCount_ = 0;
    QPointer<QWidget> focusedControl_;
    bool showArrows_ = true;
    TFclSpinnerStyle style_ = TFclSpinnerStyle::stNormalVertical;
    bool wrapMode_ = true;
    TSpinClickEvent onClick_;
    std::uint32_t nextStepTime_ = 0;
    // Built for buttonsSize_; a hidden control gets its resize event only when it is shown.
    std::vector<TFclSpinnerButton> buttons_;
    QSize buttonsSize_;
    TFclSpinState state_ = TFclSpinState::ssNormal;
    bool clicked_ = false;
    bool pressed_ = false;
    bool active_ = false;
    bool single_ = false;
    TFclSpinState previousState_ = TFclSpinState::ssNone;
    QTimer pressTimer_;
};
