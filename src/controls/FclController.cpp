#include "controls/FclController.h"

#include <QCoreApplication>

#include "controls/FclBaseControls.h"
#include "controls/FclEntryFieldHost.h"
#include "controls/FclFieldMessages.h"
#include "controls/FclMisc.h"
#include "platform/IntlSource.h"
#include "platform/Services.h"

std::string TFclComponent::About() const
{
    return FclAboutText();
}

// The controller's hidden window: it hands every notification it receives to the controller
// and keeps any exception of a handler from leaving the event loop.
class TFclHiddenWindow : public QObject {
public:
    explicit TFclHiddenWindow(TFclController* Owner) : QObject(Owner), owner_(Owner) {}

    bool event(QEvent* Event) override
    {
        if (!IsFieldMessage(Event))
            return QObject::event(Event);
        try {
            owner_->WndProc(static_cast<const TFclMessageEvent&>(*Event));
        } catch (...) {
            HandleLibraryException(std::current_exception());
        }
        return true;
    }

private:
    TFclController* owner_;
};

TFclController::TFclController(QObject* AOwner)
    : TFclComponent(AOwner), entryCommands_(std::make_unique<TFclCommandProcessor>()),
      epoch_(CenturyEpochYear()),
      timerPool_(std::make_unique<TFclTimerPool>([] { return Services().TickCount(); }))
{
    timerPool_->SetOnAllTriggers(
        [this](void* Sender, std::int32_t Handle, std::uint32_t Interval, std::int32_t Elapsed) {
            DoOnTimerTrigger(Sender, Handle, Interval, Elapsed);
        });
    // Placed on a form: the form's controls that have no controller yet take this one.
    if (auto* form = qobject_cast<QWidget*>(AOwner); form && form->isWindow())
        for (TFclCustomControlEx* control : form->findChildren<TFclCustomControlEx*>())
            if (FindParentForm(control) == form)
                control->ControllerPlaced(this);
}

TFclController::~TFclController()
{
    entryCommands_.reset();
    timerPool_.reset();
    delete hiddenWindow_;
    hiddenWindow_ = nullptr;
}

int TFclController::Epoch() const
{
    int result = epoch_;
    if (onGetEpoch_)
        onGetEpoch_(const_cast<TFclController*>(this), result);
    return result;
}

void TFclController::SetEpoch(int Value)
{
    if (Value != epoch_ && Value >= 1600 && Value <= 3999)
        epoch_ = Value;
}

QObject* TFclController::GetHandle()
{
    if (!hiddenWindow_)
        hiddenWindow_ = new TFclHiddenWindow(this);
    return hiddenWindow_;
}

void TFclController::PostPreEdit(QObject* Sender, QWidget* LosingControl)
{
    PostFieldMessage(GetHandle(), FieldMsgPreEdit, LosingControl, Sender);
}

void TFclController::PostPostEdit(QObject* Sender, QWidget* GainingControl)
{
    PostFieldMessage(GetHandle(), FieldMsgPostEdit, GainingControl, Sender);
}

void TFclController::PostRefocus(QWidget* Control)
{
    PostFieldMessage(GetHandle(), FieldMsgRefocus, nullptr, Control);
}

void TFclController::PostDelayNotify(QObject* Sender, std::uint16_t NotifyCode)
{
    PostFieldMessage(GetHandle(), FieldMsgDelayNotify, nullptr, Sender, NotifyCode);
}

void TFclController::WndProc(const TFclMessageEvent& Message)
{
    switch (Message.Message()) {
    case FieldMsgRefocus:
        if (auto* control = qobject_cast<QWidget*>(Message.Object())) {
            control->show();
            if (control->isEnabled() && control->isVisible() &&
                control->focusPolicy() != Qt::NoFocus)
                control->setFocus(Qt::OtherFocusReason);
        }
        break;
    case FieldMsgPreEdit:
        if (onPreEdit_)
            onPreEdit_(Message.Object(), Message.Control());
        break;
    case FieldMsgPostEdit:
        if (onPostEdit_)
            onPostEdit_(Message.Object(), Message.Control());
        break;
    case FieldMsgDelayNotify:
        if (onDelayNotify_)
            onDelayNotify_(Message.Object(), static_cast<std::uint16_t>(Message.Code() & 0xFFFF));
        break;
    default:
        break;
    }
}

void TFclController::DoOnError(QObject* Sender, std::uint16_t ErrorCode,
                               const std::string& ErrorMsg)
{
    if (onError_)
        onError_(Sender, ErrorCode, ErrorMsg);
    else
        MessageDlg(Win1252ToQString(ErrorMsg).toStdString(), mtError, mbOK, 0);
}

bool TFclController::IsSpecialControl(QWidget* Control)
{
    bool special = false;
    if (onIsSpecial_)
        onIsSpecial_(this, Control, special);
    return special;
}

void TFclController::DoOnTimerTrigger(void* Sender, std::int32_t Handle, std::uint32_t Interval,
                                      std::int32_t ElapsedTime)
{
    if (onTimerTrigger_)
        onTimerTrigger_(Sender, Handle, Interval, ElapsedTime);
}

namespace {

TFclController* defaultController = nullptr;

void FreeDefaultController()
{
    delete defaultController;
    defaultController = nullptr;
}

}  // namespace

TFclController* DefaultControllerInstance()
{
    if (!defaultController) {
        defaultController = new TFclController(nullptr);
        qAddPostRoutine(FreeDefaultController);
    }
    return defaultController;
}

TFclController* FindFormController(const QWidget* Form)
{
    if (!Form)
        return nullptr;
    for (QObject* child : Form->children())
        if (auto* controller = qobject_cast<TFclController*>(child))
            return controller;
    return nullptr;
}

QWidget* FindParentForm(const QWidget* Control)
{
    if (!Control)
        return nullptr;
    for (QWidget* w = Control->parentWidget(); w; w = w->parentWidget())
        if (w->isWindow())
            return w;
    return nullptr;
}
