#pragma once
// The library's private notifications. A control or the controller's hidden window posts one
// of these to itself or to another object; Qt delivers posted events in posting order after
// the event being handled, which is what the fields rely on (focus events, label placement,
// pre-edit and post-edit, refocus and error reports run when the queue reaches them).
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <cstdint>

enum : std::uint16_t {
    FieldMsgReportError = 32512,
    FieldMsgRefocus = 32513,
    FieldMsgGetValueSize = 32515,
    FieldMsgPreEdit = 32518,
    FieldMsgPostEdit = 32519,
    FieldMsgAfterEnter = 32520,
    FieldMsgAfterExit = 32521,
    FieldMsgDelayNotify = 32522,
    FieldMsgPositionLabel = 32523,
    FieldMsgRecordLabel = 32524,
    FieldMsgAssignLabel = 32525,
    FieldMsgUpdatePreview = 32526,  // the font combo box's preview control follows it
};

// One notification: the message number is the event type. Control stands for the window
// handle of a message's wParam, Object for an object in lParam; both are guarded, so a
// notification about a control destroyed in the meantime sees nullptr. Code carries a plain
// number (the notify code of FieldMsgDelayNotify).
class TFclMessageEvent : public QEvent {
public:
    TFclMessageEvent(std::uint16_t Message, QWidget* Control, QObject* Object, int Code = 0)
        : QEvent(static_cast<QEvent::Type>(Message)), control_(Control), object_(Object),
          code_(Code)
    {
    }

    std::uint16_t Message() const { return static_cast<std::uint16_t>(type()); }
    QWidget* Control() const { return control_.data(); }
    QObject* Object() const { return object_.data(); }
    int Code() const { return code_; }

private:
    QPointer<QWidget> control_;
    QPointer<QObject> object_;
    int code_;
};

// Whether an event is one of the library's notifications.
inline bool IsFieldMessage(const QEvent* Event)
{
    return Event->type() >= static_cast<QEvent::Type>(FieldMsgReportError) &&
           Event->type() <= static_cast<QEvent::Type>(FieldMsgUpdatePreview);
}

// Posts a notification to Target (nothing when Target is nullptr).
inline void PostFieldMessage(QObject* Target, std::uint16_t Message, QWidget* Control = nullptr,
                             QObject* Object = nullptr, int Code = 0)
{
    if (Target)
        QCoreApplication::postEvent(Target, new TFclMessageEvent(Message, Control, Object, Code));
}
