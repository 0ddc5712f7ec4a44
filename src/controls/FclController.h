#pragma once
// The controller that a form's entry fields share: the key-command tables, the options common
// to all fields, the century epoch, a timer pool, the shared insert/overwrite mode and the
// pending error report. Its hidden window receives the notifications the fields post, so that
// they run after the event being handled, in posting order. A field without a controller of
// its own uses the one placed on its form, else the process-wide default controller.
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/FclCommandProcessor.h"
#include "controls/FclEntryOptions.h"
#include "controls/FclTimerPool.h"

class TFclMessageEvent;

// The base of the library's non-visual components: the fixed version label.
class TFclComponent : public QObject {
    Q_OBJECT
public:
    explicit TFclComponent(QObject* AOwner = nullptr) : QObject(AOwner) {}
    // Reads the library's version label; writing does nothing.
    std::string About() const;
    void SetAbout(const std::string&) {}
};

// A controller made with a form (a window) as its owner is placed on that form: the form's
// controls whose controller reference is still empty take it at once; a control put on the
// form later finds it when the control's window is created. A control whose reference is set
// (also to the default controller) keeps its own.
class TFclController : public TFclComponent {
    Q_OBJECT
public:
    using TDelayNotifyEvent = std::function<void(QObject* Sender, std::uint16_t NotifyCode)>;
    using TDataErrorEvent =
        std::function<void(QObject* Sender, std::uint16_t ErrorCode, const std::string& ErrorMsg)>;
    using TGetEpochEvent = std::function<void(QObject* Sender, int& Epoch)>;
    using TIsSpecialControlEvent =
        std::function<void(QObject* Sender, QWidget* Control, bool& Special)>;
    using TPostEditEvent = std::function<void(QObject* Sender, QWidget* GainingControl)>;
    using TPreEditEvent = std::function<void(QObject* Sender, QWidget* LosingControl)>;

    explicit TFclController(QObject* AOwner = nullptr);
    ~TFclController() override;

    // Default: efoAutoSelect, efoBeepOnError, efoInsertPushes.
    TFclBaseEFOptions EntryOptions() const { return entryOptions_; }
    void SetEntryOptions(TFclBaseEFOptions Value) { entryOptions_ = Value; }
    bool HasEntryOption(TFclBaseEFOption Option) const { return entryOptions_.Has(Option); }

    TFclCommandProcessor& EntryCommands() { return *entryCommands_; }

    // The stored epoch as OnGetEpoch leaves it.
    int Epoch() const;
    // Taken only when it differs and lies in 1600 to 3999.
    void SetEpoch(int Value);

    bool ErrorPending() const { return errorPending_; }
    void SetErrorPending(bool Value) { errorPending_ = Value; }
    const std::string& ErrorText() const { return errorText_; }
    void SetErrorText(const std::string& Value) { errorText_ = Value; }

    bool InsertMode() const { return insertMode_; }
    void SetInsertMode(bool Value) { insertMode_ = Value; }

    TFclTimerPool& TimerPool() { return *timerPool_; }

    // The hidden window, created on first use.
    QObject* GetHandle();
    bool HandleAllocated() const { return hiddenWindow_ != nullptr; }

    // Post the controller's pre-edit / post-edit notification: Sender is the field, the other
    // control the one losing or gaining the focus.
    void PostPreEdit(QObject* Sender, QWidget* LosingControl);
    void PostPostEdit(QObject* Sender, QWidget* GainingControl);
    // Posts the refocus: when its turn comes the control is shown and, when it can take the
    // focus, given it.
    void PostRefocus(QWidget* Control);
    void PostDelayNotify(QObject* Sender, std::uint16_t NotifyCode);

    // An entry-field error: OnError when assigned, otherwise one error box with an OK button.
    // ErrorMsg is library text (Windows-1252).
    virtual void DoOnError(QObject* Sender, std::uint16_t ErrorCode, const std::string& ErrorMsg);
    // Whether moving the focus to Control should skip the leaving field's validation.
    virtual bool IsSpecialControl(QWidget* Control);
    void DoOnTimerTrigger(void* Sender, std::int32_t Handle, std::uint32_t Interval,
                          std::int32_t ElapsedTime);

    void SetOnDelayNotify(TDelayNotifyEvent Event) { onDelayNotify_ = std::move(Event); }
    void SetOnError(TDataErrorEvent Event) { onError_ = std::move(Event); }
    void SetOnGetEpoch(TGetEpochEvent Event) { onGetEpoch_ = std::move(Event); }
    void SetOnIsSpecialControl(TIsSpecialControlEvent Event) { onIsSpecial_ = std::move(Event); }
    void SetOnPostEdit(TPostEditEvent Event) { onPostEdit_ = std::move(Event); }
    void SetOnPreEdit(TPreEditEvent Event) { onPreEdit_ = std::move(Event); }
    void SetOnTimerTrigger(TTriggerEvent Event) { onTimerTrigger_ = std::move(Event); }
    const TDataErrorEvent& OnError() const { return onError_; }

private:
    friend class TFclHiddenWindow;
    void WndProc(const TFclMessageEvent& Message);

    TFclBaseEFOptions entryOptions_;
    std::unique_ptr<TFclCommandProcessor> entryCommands_;
    int epoch_;
    bool errorPending_ = false;
    std::string errorText_;
    QObject* hiddenWindow_ = nullptr;  // a child of the controller
    bool insertMode_ = true;
    std::unique_ptr<TFclTimerPool> timerPool_;
    TDelayNotifyEvent onDelayNotify_;
    TDataErrorEvent onError_;
    TGetEpochEvent onGetEpoch_;
    TIsSpecialControlEvent onIsSpecial_;
    TPostEditEvent onPostEdit_;
    TPreEditEvent onPreEdit_;
    TTriggerEvent onTimerTrigger_;
};

// The process-wide default controller, created on the first call, freed when the application
// object goes.
TFclController* DefaultControllerInstance();
// The first controller among the children of Form, in child order; nullptr when none.
TFclController* FindFormController(const QWidget* Form);
// The window Control sits in (the nearest ancestor that is a window); nullptr when none.
QWidget* FindParentForm(const QWidget* Control);
