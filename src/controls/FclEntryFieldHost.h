#pragma once
// What an entry field's core asks of the window that shows it and of the controller that the
// window's fields share. The widget shell implements it; without a host the core works alone
// (every request is then answered by the defaults below), which is how the core is tested.
#include <cstdint>
#include <string>

#include "controls/FclEntryOptions.h"

class IFclEntryFieldHost {
public:
    virtual ~IFclEntryFieldHost() = default;

    // MessageBeep(0). The core asks only when the controller's efoBeepOnError is set.
    virtual void Beep() {}
    // The field's look changed.
    virtual void Repaint() {}
    // Place the caret from the core's caret and scroll position (only while focused).
    virtual void UpdateCaret(bool ResetScroll) { (void)ResetScroll; }
    // The text position under a mouse x coordinate (the core passes what the mouse command
    // carried). Without a window the coordinate is taken as a position.
    virtual int PositionFromX(int X) { return X; }
    // Move the focus to the next or previous control of the form.
    virtual void NextControl() {}
    virtual void PreviousControl() {}
    // The clipboard as Windows-1252 text.
    virtual bool ClipboardHasText() const { return false; }
    virtual std::string ClipboardText() const { return {}; }
    virtual void SetClipboardText(const std::string& Text) { (void)Text; }
    // The field and its parent exist, are visible and enabled (validation runs only then).
    virtual bool IsShowing() const { return false; }
    // Give the field the focus now.
    virtual void TakeFocus() {}
    // Post "refocus this field" to the controller's window and "report this error" to the
    // field; the shell calls TFclBaseEntryField::ReportError when the report arrives.
    virtual void PostRefocus() {}
    virtual void PostErrorReport(std::uint16_t Code) { (void)Code; }
    // Drawing of the window off (false) and on again (true) around a step of the value.
    virtual void SetRedraw(bool On) { (void)On; }

    // The controller's side.
    virtual TFclBaseEFOptions EntryOptions() const { return {}; }
    virtual bool ErrorPending() const { return false; }
    virtual void SetErrorPending(bool Value) { (void)Value; }
    virtual std::string ErrorText() const { return {}; }
    virtual void SetErrorText(const std::string& Text) { (void)Text; }
    // The controller's century epoch (the field's own Epoch of 0 means this one).
    virtual int ControllerEpoch() const;
    // The controller's error path: its OnError, else an error message box with one OK button.
    virtual void ControllerError(std::uint16_t Code, const std::string& Text)
    {
        (void)Code;
        (void)Text;
    }
};

// A host that answers every request with the defaults; fields without a host use it.
IFclEntryFieldHost& NullEntryFieldHost();

// The current year div 100 * 100.
int CenturyEpochYear();
