#pragma once
// The widget side of an entry field: keys through the controller's command tables into the
// field's core, the mouse, focus in and out with validation on leaving (an invalid entry
// takes the focus back and is reported once per controller; leaving towards another window
// does not validate), the context menu, the clipboard as Windows-1252 text, caret placement
// with horizontal scrolling, and painting of text, selection, control characters, borders and
// our own blinking caret. The core (TFclBaseEntryField) holds the text and its rules and asks
// the shell for everything a window does, through IFclEntryFieldHost.
//
// TFclEntryFieldWidget<Core> joins the shell and a core into one control: the field's whole
// value and property interface is the core's, the widget is a QWidget placed like any other.
#include <QPointer>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "controls/FclBaseControls.h"
#include "controls/FclBaseEntryField.h"
#include "controls/FclBorders.h"
#include "controls/FclCaret.h"
#include "controls/FclColors.h"
#include "controls/FclEntryFieldHost.h"
#include "controls/FclEntryFieldMenu.h"
#include "platform/AltNumpadEntry.h"

class TFclEntryFieldShell : public TFclCustomControlEx, public IFclEntryFieldHost {
    Q_OBJECT
public:
    explicit TFclEntryFieldShell(QWidget* AOwner = nullptr);
    ~TFclEntryFieldShell() override;

    TFclBaseEntryField& Field() const { return *core_; }

    TFclBorders& Borders() { return borders_; }
    TFclEfColors& EFColors() { return efColors_; }
    TFclCaretPair& Carets() { return carets_; }
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor Value);
    TColor ControlCharColor() const { return controlCharColor_; }
    void SetControlCharColor(TColor Value);
    // A single frame (sunken with Ctl3D) around the text, or none.
    bool Bordered() const { return bordered_; }
    void SetBordered(bool Value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool Value);
    // The height follows the font while AutoSize is on.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);

    // The text as the window's text: everything selected, then pasted.
    void SetText(std::string_view Text);
    // The display text.
    std::string Text() const;

    // The context menu's actions.
    void RestoreAction();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void ClearSelection();
    void SelectAllText();
    std::vector<TFclEntryFieldMenuItem> ContextMenuItems() const;

    // Validates a field that holds the focus before a command reads its value (a menu item
    // or a tool button takes no focus, so leaving never validated it). False when the entry is
    // invalid: the error is reported and the focus stays in the field.
    bool ValidateBeforeCommand();

    // The client area inside the frame, the text's top margin and the caret as painted.
    QRect ClientArea() const;
    int TopMargin() const { return topMargin_; }
    bool CaretShown() const;
    QRect CaretRect() const;
    // Whether the text is drawn right-aligned now.
    bool RightAlignedNow() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // ---- what the core asks of the window and the controller --------------------------
    void Beep() override;
    void Repaint() override;
    void UpdateCaret(bool ResetScroll) override;
    int PositionFromX(int X) override;
    void NextControl() override;
    void PreviousControl() override;
    bool ClipboardHasText() const override;
    std::string ClipboardText() const override;
    void SetClipboardText(const std::string& Text) override;
    bool IsShowing() const override;
    void TakeFocus() override;
    void PostRefocus() override;
    void PostErrorReport(std::uint16_t Code) override;
    void SetRedraw(bool On) override;
    TFclBaseEFOptions EntryOptions() const override;
    bool ErrorPending() const override;
    void SetErrorPending(bool Value) override;
    std::string ErrorText() const override;
    void SetErrorText(const std::string& Text) override;
    int ControllerEpoch() const override;
    void ControllerError(std::uint16_t Code, const std::string& Text) override;

protected:
    void AttachCore(TFclBaseEntryField* Core);
    // The window's part of a field's Assign: AutoSize, the frame, the colour and the error
    // and highlight colours, with WithControlCharColor also ControlCharColor.
    void AssignLook(const TFclEntryFieldShell& Source, bool WithControlCharColor);
    // The core's own focus steps (the picture engine's): before and after the shell's part
    // of gaining (LastLeavingIncomplete: the field was left with an invalid entry or towards
    // another window), before and after losing.
    virtual void CoreFocusGaining() {}
    virtual void CoreFocusGained(bool LastLeavingIncomplete) { (void)LastLeavingIncomplete; }
    virtual void CoreFocusLosing() {}
    virtual void CoreFocusLost() {}

    bool event(QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    // Releasing Alt ends an Alt+digit entry: its character is typed.
    void keyReleaseEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void contextMenuEvent(QContextMenuEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void changeEvent(QEvent* Event) override;

private:
    void DispatchCommand(std::uint16_t Command, TFclEditData& Data);
    void RunAction(TFclEntryFieldAction Action);
    void AdjustHeight();
    void RecomputeTopMargin();
    void ShowCaret(bool On);
    int TextWidth(std::string_view Text) const;
    int LeftBorderWidth() const;
    int RightBorderWidth() const;
    int FrameWidth() const { return bordered_ ? 2 : 0; }
    void PaintText(QPainter& P);
    void DrawBorders(QPainter& P);

    TFclBaseEntryField* core_ = nullptr;
    TFclBorders borders_;
    TFclEfColors efColors_;
    TFclCaretPair carets_;
    TColor color_ = clWindow;
    TColor fontColor_ = clWindowText;
    TColor controlCharColor_ = clRed;
    bool bordered_ = true;
    bool ctl3D_ = true;
    bool autoSize_ = true;
    int topMargin_ = 0;
    bool blinkOn_ = true;
    QTimer blink_;
    TAltNumpadEntry altEntry_;
};

template <class Core>
class TFclEntryFieldWidget : public TFclEntryFieldShell, public Core {
public:
    explicit TFclEntryFieldWidget(QWidget* AOwner = nullptr)
        : TFclEntryFieldShell(AOwner), Core(static_cast<IFclEntryFieldHost*>(this))
    {
        AttachCore(this);
    }

protected:
    // The core's window is created: the controller reference is settled first.
    void CreateWnd() override
    {
        ResolveController();
        Core::CreateWnd();
    }
    void CoreFocusGaining() override { Core::FocusGaining(); }
    void CoreFocusGained(bool LastLeavingIncomplete) override
    {
        Core::FocusGained(LastLeavingIncomplete);
    }
    void CoreFocusLosing() override { Core::FocusLosing(); }
    void CoreFocusLost() override { Core::FocusLost(); }
};

// Validates the entry field that holds the focus in Window, if there is one (see
// TFclEntryFieldShell::ValidateBeforeCommand); true when there is none or it is valid.
bool ValidateFocusedEntryField(QWidget* Window);
