#include "controls/FclEntryFieldShell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "controls/FclCommandCodes.h"
#include "controls/FclController.h"
#include "controls/FclFieldMessages.h"
#include "controls/FclKeys.h"
#include "controls/FclMisc.h"
#include "controls/FclProperty.h"
#include "controls/FclQtKeys.h"
#include "platform/IntlSource.h"
#include "platform/Services.h"
#include "platform/SysColors.h"

namespace {

// The widget that had the focus last: while a field gains the focus, the one losing it.
QPointer<QWidget>& LastFocus()
{
    static QPointer<QWidget> last;
    static const bool connected = [] {
        QObject::connect(qApp, &QApplication::focusChanged,
                         [](QWidget*, QWidget* now) { last = now; });
        return true;
    }();
    (void)connected;
    return last;
}

// A right-aligned text ends at its last character, not at the blanks filling the mask.
std::string WithoutTrailingBlanks(std::string Text)
{
    while (!Text.empty() && Text.back() == ' ')
        Text.pop_back();
    return Text;
}

bool SameForm(const QWidget* A, const QWidget* B)
{
    return A && B && A->window() == B->window();
}

}  // namespace

TFclEntryFieldShell::TFclEntryFieldShell(QWidget* AOwner)
    : TFclCustomControlEx(AOwner), carets_([] { return true; })
{
    LastFocus();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setCursor(Qt::IBeamCursor);
    blink_.setInterval(static_cast<int>(GetCaretBlinkTime()));
    connect(&blink_, &QTimer::timeout, this, [this] {
        blinkOn_ = !blinkOn_;
        update(CaretRect());
    });
    auto repaint = [this](void*) { update(); };
    borders_.LeftBorder().SetOnChange(repaint);
    borders_.RightBorder().SetOnChange(repaint);
    borders_.TopBorder().SetOnChange([this](void*) {
        RecomputeTopMargin();
        update();
    });
    borders_.BottomBorder().SetOnChange(repaint);
    carets_.SetInsCaret(new TFclCaret());
    TFclCaret* block = new TFclCaret();
    block->SetShape(TFclCaretShape::csBlock);
    carets_.SetOvrCaret(block);
    resize(121, 21);
}

TFclEntryFieldShell::~TFclEntryFieldShell()
{
    blink_.stop();
    core_ = nullptr;
}

void TFclEntryFieldShell::AttachCore(TFclBaseEntryField* Core)
{
    core_ = Core;
    AdjustHeight();
    RecomputeTopMargin();
}

void TFclEntryFieldShell::AssignLook(const TFclEntryFieldShell& Source, bool WithControlCharColor)
{
    SetAutoSize(Source.AutoSize());
    SetBordered(Source.Bordered());
    SetColor(Source.Color());
    if (WithControlCharColor)
        SetControlCharColor(Source.ControlCharColor());
    efColors_.Error().Assign(Source.efColors_.Error());
    efColors_.Highlight().Assign(Source.efColors_.Highlight());
}

void TFclEntryFieldShell::SetColor(TColor Value)
{
    if (StoreChanged(color_, Value))
        update();
}

void TFclEntryFieldShell::SetFontColor(TColor Value)
{
    if (StoreChanged(fontColor_, Value))
        update();
}

void TFclEntryFieldShell::SetControlCharColor(TColor Value)
{
    if (StoreChanged(controlCharColor_, Value))
        update();
}

void TFclEntryFieldShell::SetBordered(bool Value)
{
    if (!StoreChanged(bordered_, Value))
        return;
    AdjustHeight();
    RecomputeTopMargin();
    update();
}

void TFclEntryFieldShell::SetCtl3D(bool Value)
{
    if (!StoreChanged(ctl3D_, Value))
        return;
    AdjustHeight();
    RecomputeTopMargin();
    update();
}

void TFclEntryFieldShell::SetAutoSize(bool Value)
{
    if (StoreChanged(autoSize_, Value))
        AdjustHeight();
}

// ---- geometry -----------------------------------------------------------------------------

QRect TFclEntryFieldShell::ClientArea() const
{
    const int f = FrameWidth();
    return rect().adjusted(f, f, -f, -f);
}

int TFclEntryFieldShell::TextWidth(std::string_view Text) const
{
    return fontMetrics().horizontalAdvance(Win1252ToQString(Text));
}

int TFclEntryFieldShell::LeftBorderWidth() const
{
    return borders_.LeftBorder().Enabled() ? borders_.LeftBorder().PenWidth() : 0;
}

int TFclEntryFieldShell::RightBorderWidth() const
{
    return borders_.RightBorder().Enabled() ? borders_.RightBorder().PenWidth() : 0;
}

QSize TFclEntryFieldShell::sizeHint() const
{
    return QSize(121, fontMetrics().height() + (ctl3D_ ? 8 : 6));
}

QSize TFclEntryFieldShell::minimumSizeHint() const
{
    return QSize(fontMetrics().averageCharWidth() * 2 + 8, sizeHint().height());
}

void TFclEntryFieldShell::AdjustHeight()
{
    if (!autoSize_)
        return;
    const int h = fontMetrics().height() + (ctl3D_ ? 8 : 6);
    if (h != height())
        resize(width(), h);
    updateGeometry();
}

void TFclEntryFieldShell::RecomputeTopMargin()
{
    const int fontHeight = fontMetrics().height();
    const int screenHeight = QFontMetrics(QApplication::font()).height();
    topMargin_ = TextTopOffset(fontHeight, screenHeight, bordered_, height(), ctl3D_);
    if (borders_.TopBorder().Enabled())
        topMargin_ += borders_.TopBorder().PenWidth();
}

void TFclEntryFieldShell::resizeEvent(QResizeEvent* Event)
{
    TFclCustomControlEx::resizeEvent(Event);
    RecomputeTopMargin();
    if (core_ && core_->HasFocus())
        UpdateCaret(false);
    update();
}

void TFclEntryFieldShell::changeEvent(QEvent* Event)
{
    TFclCustomControlEx::changeEvent(Event);
    if (Event->type() == QEvent::FontChange) {
        AdjustHeight();
        RecomputeTopMargin();
        if (core_ && core_->HasFocus())
            UpdateCaret(false);
    }
    if (Event->type() == QEvent::EnabledChange)
        update();
}

bool TFclEntryFieldShell::RightAlignedNow() const
{
    if (!core_ || !core_->HasOption(efoRightAlign))
        return false;
    const int room = ClientArea().width() - core_->TextMargin() - 1;
    return TextWidth(WithoutTrailingBlanks(core_->GetDisplayString())) < room;
}

// ---- caret --------------------------------------------------------------------------------

void TFclEntryFieldShell::UpdateCaret(bool ResetScroll)
{
    if (!core_ || !core_->HasFocus())
        return;
    TFclBaseEntryField& f = *core_;
    const std::string text = f.GetDisplayString();
    const int len = static_cast<int>(text.size());
    const int caret = std::clamp(f.CaretPos(), 0, len);
    int scroll = std::clamp(f.ScrollOffset(), 0, len);
    const int clientW = ClientArea().width();
    const int room = clientW - f.TextMargin() - 1;
    const bool numeric = f.FieldClass() == TFclFieldClass::Numeric;

    if (ResetScroll) {
        if (caret <= f.FirstEditPosition() + 1)
            scroll = 0;
        if (caret < scroll)
            scroll = caret;
    }
    const bool right = RightAlignedNow();
    if (right)
        scroll = 0;
    if (ResetScroll && !numeric && !right) {
        while (scroll < caret &&
               TextWidth(std::string_view(text).substr(static_cast<std::size_t>(scroll),
                                                       static_cast<std::size_t>(caret - scroll))) >
                   room)
            ++scroll;
    }
    f.SetScrollOffset(scroll);

    const TFclCaret* shape = carets_.Caret();
    const bool wide = shape && (shape->Shape() == TFclCaretShape::csBlock ||
                                shape->Shape() == TFclCaretShape::csHalfBlock ||
                                shape->Shape() == TFclCaretShape::csHorzLine ||
                                shape->CaretWidth() > 4);
    int x;
    if (numeric) {
        x = clientW - f.TextMargin() - RightBorderWidth() - 1;
    } else if (right) {
        const std::string tail = WithoutTrailingBlanks(text.substr(static_cast<std::size_t>(caret)));
        int w = TextWidth(tail);
        if (wide)
            --w;
        x = clientW - (w + 1) - f.TextMargin() - RightBorderWidth() - 1;
    } else {
        int w = TextWidth(std::string_view(text).substr(
            static_cast<std::size_t>(scroll), static_cast<std::size_t>(caret - scroll)));
        if (wide)
            ++w;
        x = f.TextMargin() + LeftBorderWidth() + w - 2;
    }
    const QFontMetrics fm = fontMetrics();
    const int cellW = caret < len ? TextWidth(std::string_view(text).substr(
                                        static_cast<std::size_t>(caret), 1))
                                  : fm.averageCharWidth();
    carets_.SetCellHeight(fm.height());
    carets_.SetCellWidth(std::max(cellW, 1));
    carets_.SetPosition(std::max(x, 0), std::max(topMargin_, 0));
    blinkOn_ = true;
    if (blink_.isActive())
        blink_.start();
    update();
}

void TFclEntryFieldShell::ShowCaret(bool On)
{
    if (On) {
        carets_.SetInsertMode(core_ && core_->InsertModeOn());
        carets_.SetLinked(true);
        carets_.SetShown(true);
        blinkOn_ = true;
        blink_.setInterval(static_cast<int>(GetCaretBlinkTime()));
        blink_.start();
    } else {
        carets_.SetShown(false);
        carets_.SetLinked(false);
        blink_.stop();
    }
    update();
}

bool TFclEntryFieldShell::CaretShown() const
{
    const TSystemCaretState& s = carets_.SystemCaret();
    return s.Exists && s.Visible && carets_.Linked();
}

QRect TFclEntryFieldShell::CaretRect() const
{
    const TSystemCaretState& s = carets_.SystemCaret();
    if (!s.Exists)
        return {};
    const QPoint origin = ClientArea().topLeft();
    return QRect(origin.x() + s.X, origin.y() + s.Y, std::max(s.Width, 1), std::max(s.Height, 1));
}

int TFclEntryFieldShell::PositionFromX(int X)
{
    if (!core_)
        return X;
    TFclBaseEntryField& f = *core_;
    const std::string text = f.GetDisplayString();
    const int len = static_cast<int>(text.size());
    const QFontMetrics fm = fontMetrics();
    const int clientX = X - ClientArea().left();
    int scroll = std::clamp(f.ScrollOffset(), 0, len);
    if (clientX < 0 && scroll > 0) {
        const int avg = std::max(fm.averageCharWidth(), 1);
        scroll = std::max(0, scroll - (-clientX + avg - 1) / avg);
        f.SetScrollOffset(scroll);
    }
    auto charWidth = [&](int i) {
        return TextWidth(std::string_view(text).substr(static_cast<std::size_t>(i), 1));
    };
    const bool right = RightAlignedNow() || f.FieldClass() == TFclFieldClass::Numeric;
    if (!right) {
        int acc = f.TextMargin() + LeftBorderWidth() - 1;
        int pos = scroll;
        while (pos < len) {
            const int w = charWidth(pos);
            if (clientX < acc + w / 2)
                break;
            acc += w;
            ++pos;
        }
        return std::max(pos, 0);
    }
    int acc = ClientArea().width() - f.TextMargin() - RightBorderWidth() - 1;
    int pos = len;
    while (pos > 0) {
        const int w = charWidth(pos - 1);
        if (clientX >= acc - w / 2)
            break;
        acc -= w;
        --pos;
    }
    return std::max(pos, 0);
}

// ---- host requests ------------------------------------------------------------------------

void TFclEntryFieldShell::Beep()
{
    MessageBeep();
}

void TFclEntryFieldShell::Repaint()
{
    update();
}

void TFclEntryFieldShell::NextControl()
{
    QPointer<TFclEntryFieldShell> self(this);
    QMetaObject::invokeMethod(
        this, [self] { if (self) self->focusNextPrevChild(true); }, Qt::QueuedConnection);
}

void TFclEntryFieldShell::PreviousControl()
{
    QPointer<TFclEntryFieldShell> self(this);
    QMetaObject::invokeMethod(
        this, [self] { if (self) self->focusNextPrevChild(false); }, Qt::QueuedConnection);
}

bool TFclEntryFieldShell::ClipboardHasText() const
{
    const QClipboard* c = QGuiApplication::clipboard();
    return c && !c->text().isEmpty();
}

std::string TFclEntryFieldShell::ClipboardText() const
{
    const QClipboard* c = QGuiApplication::clipboard();
    return c ? QStringToWin1252(c->text()) : std::string();
}

void TFclEntryFieldShell::SetClipboardText(const std::string& Text)
{
    if (QClipboard* c = QGuiApplication::clipboard())
        c->setText(Win1252ToQString(Text));
}

bool TFclEntryFieldShell::IsShowing() const
{
    return isVisible() && isEnabled();
}

void TFclEntryFieldShell::TakeFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void TFclEntryFieldShell::PostRefocus()
{
    Controller()->PostRefocus(this);
}

void TFclEntryFieldShell::PostErrorReport(std::uint16_t Code)
{
    PostFieldMessage(this, FieldMsgReportError, nullptr, nullptr, Code);
}

void TFclEntryFieldShell::SetRedraw(bool On)
{
    setUpdatesEnabled(On);
}

TFclBaseEFOptions TFclEntryFieldShell::EntryOptions() const
{
    return Controller()->EntryOptions();
}

bool TFclEntryFieldShell::ErrorPending() const
{
    return Controller()->ErrorPending();
}

void TFclEntryFieldShell::SetErrorPending(bool Value)
{
    Controller()->SetErrorPending(Value);
}

std::string TFclEntryFieldShell::ErrorText() const
{
    return Controller()->ErrorText();
}

void TFclEntryFieldShell::SetErrorText(const std::string& Text)
{
    Controller()->SetErrorText(Text);
}

int TFclEntryFieldShell::ControllerEpoch() const
{
    return Controller()->Epoch();
}

void TFclEntryFieldShell::ControllerError(std::uint16_t Code, const std::string& Text)
{
    Controller()->DoOnError(this, Code, Text);
}

// ---- text and clipboard -------------------------------------------------------------------

std::string TFclEntryFieldShell::Text() const
{
    return core_ ? core_->GetDisplayString() : std::string();
}

void TFclEntryFieldShell::SetText(std::string_view Text)
{
    if (!core_)
        return;
    core_->CreateHandle();
    core_->SelectAll();
    TFclEditData data;
    data.Text = std::string(Text);
    core_->ProcessCommand(ccPaste, data);
    update();
}

void TFclEntryFieldShell::RestoreAction()
{
    if (!core_)
        return;
    core_->Restore();
    UpdateCaret(true);
}

void TFclEntryFieldShell::CopyToClipboard()
{
    if (core_)
        core_->ProcessCommand(ccCopy);
}

void TFclEntryFieldShell::CutToClipboard()
{
    if (!core_)
        return;
    core_->CopySelectionToClipboard();
    core_->ProcessCommand(ccCut);
}

void TFclEntryFieldShell::PasteFromClipboard()
{
    if (!core_ || !ClipboardHasText())
        return;
    TFclEditData data;
    data.Text = ClipboardText();
    core_->ProcessCommand(ccPaste, data);
}

void TFclEntryFieldShell::ClearSelection()
{
    if (core_)
        core_->ProcessCommand(ccCut);
}

void TFclEntryFieldShell::SelectAllText()
{
    if (!core_)
        return;
    core_->SelectAll();
    update();
}

std::vector<TFclEntryFieldMenuItem> TFclEntryFieldShell::ContextMenuItems() const
{
    TFclEntryFieldMenuState s;
    if (core_) {
        s.Modified = core_->Modified();
        s.HasSelection = core_->HasSelection();
        s.ReadOnly = core_->IsReadOnly();
        s.SelectionLength = core_->SelEnd() - core_->SelStart();
        s.TextLength = static_cast<int>(core_->EditString().size());
    }
    s.ClipboardHasText = ClipboardHasText();
    return EntryFieldMenuItems(s);
}

void TFclEntryFieldShell::RunAction(TFclEntryFieldAction Action)
{
    switch (Action) {
    case TFclEntryFieldAction::Restore: RestoreAction(); break;
    case TFclEntryFieldAction::Cut: CutToClipboard(); break;
    case TFclEntryFieldAction::Copy: CopyToClipboard(); break;
    case TFclEntryFieldAction::Paste: PasteFromClipboard(); break;
    case TFclEntryFieldAction::Delete: ClearSelection(); break;
    case TFclEntryFieldAction::SelectAll: SelectAllText(); break;
    case TFclEntryFieldAction::Separator: break;
    }
    update();
}

bool TFclEntryFieldShell::ValidateBeforeCommand()
{
    if (!core_ || !core_->HasFocus())
        return true;
    // A report shown before has been answered: this is a new attempt.
    core_->SetStateBits(EfState::ReportPosted, false);
    if (core_->Modified())
        core_->SetUninitialized(false);
    const bool valid = core_->ValidateEntry(false);
    // The field keeps the focus, so no focus change will come back to it: its edit simply
    // goes on, and the report (posted) follows.
    core_->SetStateBits(EfState::LeaveIncomplete | EfState::ReportPosted | EfState::ContinueEdit,
                        false);
    update();
    return valid;
}

bool ValidateFocusedEntryField(QWidget* Window)
{
    QWidget* focus = QApplication::focusWidget();
    auto* field = qobject_cast<TFclEntryFieldShell*>(focus);
    if (!field || (Window && field->window() != Window->window()))
        return true;
    return field->ValidateBeforeCommand();
}

// ---- events -------------------------------------------------------------------------------

bool TFclEntryFieldShell::event(QEvent* Event)
{
    if (core_ && Event->type() == static_cast<QEvent::Type>(FieldMsgReportError)) {
        core_->ReportError(static_cast<std::uint16_t>(
            static_cast<const TFclMessageEvent&>(*Event).Code()));
        // Normally the refocus has brought the field back before its report; a field that
        // never lost the focus (validated before a command) ends the pending error here.
        if (hasFocus() && core_->HasFocus())
            Controller()->SetErrorPending(false);
        update();
        return true;
    }
    return TFclCustomControlEx::event(Event);
}

void TFclEntryFieldShell::DispatchCommand(std::uint16_t Command, TFclEditData& Data)
{
    switch (Command) {
    case ccCopy: CopyToClipboard(); break;
    case ccCut: CutToClipboard(); break;
    case ccPaste: PasteFromClipboard(); break;
    default: core_->ProcessCommand(Command, Data); break;
    }
}

void TFclEntryFieldShell::keyPressEvent(QKeyEvent* Event)
{
    if (!core_) {
        Event->ignore();
        return;
    }
    const std::uint16_t key = VirtualKeyOf(*Event);
    // A keypad digit with Alt held is part of an Alt+digit entry; any other key but the
    // modifier and lock keys drops one.
    const bool altDigit = (Event->modifiers() & Qt::AltModifier) && key >= VK_NUMPAD0 &&
                          key <= VK_NUMPAD9;
    const bool modifierOrLock = key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU ||
                                key == VK_CAPITAL || key == VK_NUMLOCK;
    if (!altDigit && !modifierOrLock)
        altEntry_.Cancel();
    // Enter and Escape belong to the window (default and cancel buttons).
    if (key == VK_RETURN || key == 27 || key == VK_TAB) {
        Event->ignore();
        return;
    }
    // Alt alone belongs to the window's menu.
    if (key == 0 || key == VK_SHIFT || key == VK_MENU)
        return;
    core_->SetStateBits(EfState::TypedInput, false);
    std::uint16_t command =
        Controller()->EntryCommands().CommandOfKey(key, ShiftStateOf(Event->modifiers()));
    if (command == ccUndo)
        command = ccRestore;
    if (altDigit) {
        // The character of the code comes when Alt is released.
        altEntry_.AddDigit(key - VK_NUMPAD0);
        if (command != ccNone) {
            TFclEditData data;
            DispatchCommand(command, data);
        }
        if (core_)
            core_->SetStateBits(EfState::TypedInput, true);
        return;
    }
    if (command == ccNone)
        return;
    if (command == ccIns &&
        (core_->HasOption(efoForceInsert) || core_->HasOption(efoForceOvertype)))
        return;
    TFclEditData data;
    DispatchCommand(command, data);
    if (!core_)
        return;
    if (core_->StateHas(EfState::TypedInput)) {
        core_->SetStateBits(EfState::TypedInput, false);
        for (char ch : QStringToWin1252(Event->text())) {
            TFclEditData typed;
            typed.Ch = ch;
            core_->ProcessCommand(ccTypedChar, typed);
        }
    }
    carets_.SetInsertMode(core_->InsertModeOn());
    update();
}

void TFclEntryFieldShell::keyReleaseEvent(QKeyEvent* Event)
{
    if (Event->key() != Qt::Key_Alt || !altEntry_.Active()) {
        TFclCustomControlEx::keyReleaseEvent(Event);
        return;
    }
    const std::optional<char> ch = altEntry_.Finish();
    if (!core_ || !ch || !core_->StateHas(EfState::TypedInput))
        return;
    core_->SetStateBits(EfState::TypedInput, false);
    TFclEditData typed;
    typed.Ch = *ch;
    core_->ProcessCommand(ccTypedChar, typed);
    carets_.SetInsertMode(core_->InsertModeOn());
    update();
}

void TFclEntryFieldShell::mousePressEvent(QMouseEvent* Event)
{
    TFclCustomControlEx::mousePressEvent(Event);
    if (!core_ || Event->button() != Qt::LeftButton)
        return;
    if (!hasFocus()) {
        core_->SetStateBits(EfState::MouseFocus, true);
        core_->SelectRange(core_->CaretPos(), core_->CaretPos());
        setFocus(Qt::MouseFocusReason);
    }
    if (hasFocus() && core_->HasFocus()) {
        TFclEditData data;
        data.X = Event->position().toPoint().x();
        data.Shift = Event->modifiers() & Qt::ShiftModifier;
        core_->ProcessCommand(ccMouseDown, data);
        update();
    }
}

void TFclEntryFieldShell::mouseDoubleClickEvent(QMouseEvent* Event)
{
    // Qt's own handling would take the second click for another press, which puts the caret
    // where the mouse is and so undoes the selection the double click makes.
    Event->accept();
    if (core_ && core_->HasFocus() && Event->button() == Qt::LeftButton) {
        TFclEditData data;
        data.X = Event->position().toPoint().x();
        core_->ProcessCommand(ccDoubleClick, data);
        update();
    }
}

void TFclEntryFieldShell::mouseMoveEvent(QMouseEvent* Event)
{
    TFclCustomControlEx::mouseMoveEvent(Event);
    if (core_ && core_->HasFocus() && (Event->buttons() & Qt::LeftButton)) {
        TFclEditData data;
        data.X = Event->position().toPoint().x();
        core_->ProcessCommand(ccMouseDrag, data);
        update();
    }
}

void TFclEntryFieldShell::contextMenuEvent(QContextMenuEvent* Event)
{
    if (!hasFocus() && isEnabled())
        setFocus(Qt::MouseFocusReason);
    if (contextMenuPolicy() != Qt::DefaultContextMenu)
        return;
    QMenu menu(this);
    for (const TFclEntryFieldMenuItem& item : ContextMenuItems()) {
        if (item.Action == TFclEntryFieldAction::Separator) {
            menu.addSeparator();
            continue;
        }
        QAction* a = menu.addAction(Win1252ToQString(item.Caption));
        a->setEnabled(item.Enabled);
        const TFclEntryFieldAction action = item.Action;
        connect(a, &QAction::triggered, this, [this, action] { RunAction(action); });
    }
    menu.exec(Event->globalPos());
}

// ---- focus --------------------------------------------------------------------------------

void TFclEntryFieldShell::focusInEvent(QFocusEvent* Event)
{
    if (!core_ || Event->reason() == Qt::PopupFocusReason) {
        TFclCustomControlEx::focusInEvent(Event);
        if (core_)
            ShowCaret(true);
        return;
    }
    TFclBaseEntryField& f = *core_;
    TFclController* controller = Controller();
    QWidget* losing = LastFocus().data();
    if (losing == this)
        losing = nullptr;

    f.CreateHandle();
    CoreFocusGaining();
    const bool lastLeavingIncomplete = f.StateHas(EfState::LeaveIncomplete);
    f.SetStateBits(EfState::Focused, true);
    controller->EntryCommands().ResetState();

    if (f.StateHas(EfState::ContinueEdit)) {
        // A button pressed where the focus was must not fire now that the focus is back.
        if (auto* button = qobject_cast<QAbstractButton*>(losing))
            button->setDown(false);
        show();
    }
    if (!f.HasOption(efoForceInsert) && !f.HasOption(efoForceOvertype))
        f.SetStateBits(EfState::InsertMode, controller->InsertMode());

    const bool otherPending = controller->ErrorPending() && f.LastError() == 0;
    bool selectText = false;
    if (!f.StateHas(EfState::LeaveIncomplete)) {
        if (!otherPending) {
            if (!f.StateHas(EfState::ContinueEdit))
                f.SetStateBits(EfState::ModifiedSinceFocus, false);
            controller->PostPreEdit(this, losing);
            f.KeepRestoreCopy();
        }
        if (!f.StateHas(EfState::MouseFocus)) {
            f.MoveCaretHome();
            selectText = !otherPending;
        }
    }
    f.SetStateBits(EfState::PassingFocus, otherPending && !f.HasOption(efoSoftValidation));
    f.SetStateBits(EfState::ContinueEdit | EfState::MouseFocus | EfState::LeaveIncomplete |
                       EfState::ReportPosted,
                   false);
    if (!otherPending)
        controller->SetErrorPending(false);

    TFclCustomControlEx::focusInEvent(Event);

    if (f.HasOption(efoForceInsert))
        f.SetStateBits(EfState::InsertMode, true);
    if (f.HasOption(efoForceOvertype))
        f.SetStateBits(EfState::InsertMode, false);
    ShowCaret(true);
    if (selectText && controller->EntryOptions().Has(efoAutoSelect))
        f.SelectAll();
    // The core's own step comes last: a keyboard selection extends from the end of the
    // selection just made.
    CoreFocusGained(lastLeavingIncomplete);
    UpdateCaret(true);
    update();
}

void TFclEntryFieldShell::focusOutEvent(QFocusEvent* Event)
{
    if (!core_ || Event->reason() == Qt::PopupFocusReason) {
        TFclCustomControlEx::focusOutEvent(Event);
        return;
    }
    altEntry_.Cancel();
    TFclBaseEntryField& f = *core_;
    TFclController* controller = Controller();
    QWidget* to = QApplication::focusWidget();
    const bool sameForm = to && to != this && SameForm(to, this);
    if (!sameForm)
        f.SetStateBits(EfState::LeaveIncomplete, true);

    ShowCaret(false);
    TFclCustomControlEx::focusOutEvent(Event);

    if (!f.HasOption(efoForceInsert) && !f.HasOption(efoForceOvertype))
        controller->SetInsertMode(f.InsertModeOn());

    CoreFocusLosing();
    if (!f.StateHas(EfState::ReportPosted) && !f.StateHas(EfState::PassingFocus)) {
        f.SetStateBits(EfState::ContinueEdit, true);
        if (sameForm) {
            if (f.Modified())
                f.SetUninitialized(false);
            if (controller->IsSpecialControl(to)) {
                f.CheckValue();
            } else {
                f.ValidateEntry(true);
                f.SetStateBits(EfState::ContinueEdit, f.StateHas(EfState::ReportPosted));
            }
        }
    }
    f.SetStateBits(EfState::Focused, false);
    const bool complete = !f.StateHas(EfState::LeaveIncomplete);
    if (sameForm && complete)
        controller->PostPostEdit(this, to);
    if (complete)
        f.MoveCaretToStart();
    CoreFocusLost();
    update();
}

// ---- painting -----------------------------------------------------------------------------

void TFclEntryFieldShell::paintEvent(QPaintEvent*)
{
    QImage image(size(), QImage::Format_RGB32);
    image.fill(ToQColor(isEnabled() ? color_ : efColors_.Disabled().BackColor()));
    {
        QPainter p(&image);
        if (bordered_) {
            // The sunken frame of the window around the client area.
            const QRect r = rect();
            p.setPen(ToQColor(ctl3D_ ? clBtnShadow : clBlack));
            p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
            p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
            p.setPen(ToQColor(ctl3D_ ? clBtnHighlight : clBlack));
            p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
            p.drawLine(r.right(), r.top(), r.right(), r.bottom());
            p.setPen(ToQColor(ctl3D_ ? clBlack : color_));
            p.drawLine(r.left() + 1, r.top() + 1, r.right() - 2, r.top() + 1);
            p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 2);
            p.setPen(ToQColor(ctl3D_ ? clBtnFace : color_));
            p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
            p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
        }
        const QRect client = ClientArea();
        p.translate(client.topLeft());
        p.setClipRect(QRect(QPoint(0, 0), client.size()));
        PaintText(p);
        DrawBorders(p);
        if (CaretShown() && blinkOn_) {
            const TSystemCaretState& s = carets_.SystemCaret();
            p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p.fillRect(QRect(s.X, s.Y, std::max(s.Width, 1), std::max(s.Height, 1)),
                       s.Gray ? QColor(128, 128, 128) : QColor(255, 255, 255));
        }
    }
    QPainter screen(this);
    screen.drawImage(0, 0, image);
}

void TFclEntryFieldShell::PaintText(QPainter& P)
{
    if (!core_)
        return;
    TFclBaseEntryField& f = *core_;
    const QRect client(QPoint(0, 0), ClientArea().size());
    const bool enabled = isEnabled();
    const bool invalid = f.IsInvalidMarked();

    TColor back = color_, text = fontColor_;
    if (!enabled) {
        back = efColors_.Disabled().BackColor();
        text = efColors_.Disabled().TextColor();
    } else if (invalid) {
        back = efColors_.Error().BackColor();
        text = efColors_.Error().TextColor();
    }
    P.fillRect(client, ToQColor(back));
    P.setFont(font());

    std::string display = f.GetDisplayString();
    const std::string& edit = f.EditString();
    const int scroll = std::clamp(f.ScrollOffset(), 0, static_cast<int>(display.size()));
    const bool numeric = f.FieldClass() == TFclFieldClass::Numeric;
    int selStart = -1, selEnd = -1;
    if (hasFocus() && f.HasFocus() && enabled && f.HasSelection()) {
        selStart = std::max(f.SelStart() - scroll, 0);
        selEnd = f.SelEnd() - scroll;
        if (selEnd <= selStart)
            selStart = selEnd = -1;
    }
    std::string shown = display.substr(static_cast<std::size_t>(scroll));
    int offset = scroll;  // index in the display string of shown[0]
    if (numeric) {
        const std::size_t first = shown.find_first_not_of(' ');
        const std::size_t last = shown.find_last_not_of(' ');
        if (first == std::string::npos) {
            shown.clear();
        } else {
            offset += static_cast<int>(first);
            selStart = selStart >= 0 ? std::max(selStart - static_cast<int>(first), 0) : -1;
            selEnd = selEnd >= 0 ? selEnd - static_cast<int>(first) : -1;
            shown = shown.substr(first, last - first + 1);
        }
    }
    const QFontMetrics fm = fontMetrics();
    int x;
    if (numeric)
        x = client.width() - f.TextMargin() - RightBorderWidth() - 1 - TextWidth(shown);
    else if (RightAlignedNow())
        x = client.width() - TextWidth(WithoutTrailingBlanks(shown)) - f.TextMargin() -
            RightBorderWidth() - 1;
    else
        x = f.TextMargin() + LeftBorderWidth() - 1;
    const int baseline = topMargin_ + fm.ascent();

    // Runs of printable characters and of control characters, split at the selection.
    std::size_t i = 0;
    while (i < shown.size()) {
        auto isCtrl = [&](std::size_t k) {
            const std::size_t e = static_cast<std::size_t>(offset) + k;
            const auto c = e < edit.size() ? static_cast<unsigned char>(edit[e]) : 0u;
            return c >= 1 && c <= 31;
        };
        auto inSel = [&](std::size_t k) {
            return selStart >= 0 && static_cast<int>(k) >= selStart && static_cast<int>(k) < selEnd;
        };
        const bool ctrl = isCtrl(i);
        const bool sel = inSel(i);
        std::size_t j = i + 1;
        while (j < shown.size() && isCtrl(j) == ctrl && inSel(j) == sel)
            ++j;
        const std::string run = shown.substr(i, j - i);
        const int w = TextWidth(run);
        TColor runBack = back, runText = ctrl ? controlCharColor_ : text;
        if (sel) {
            runBack = efColors_.Highlight().BackColor();
            runText = efColors_.Highlight().TextColor();
        }
        P.fillRect(QRect(x, topMargin_, w, fm.height()), ToQColor(runBack));
        P.setPen(ToQColor(runText));
        P.drawText(x, baseline, Win1252ToQString(run));
        x += w;
        i = j;
    }
}

void TFclEntryFieldShell::DrawBorders(QPainter& P)
{
    const QSize s = ClientArea().size();
    auto draw = [&P](const TFclBorder& b, QPoint from, QPoint to) {
        if (!b.Enabled())
            return;
        QPen pen(ToQColor(b.PenColor()));
        pen.setWidth(b.PenWidth());
        static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine,
                                              Qt::DotLine,        Qt::DashDotLine,
                                              Qt::DashDotDotLine, Qt::NoPen,
                                              Qt::SolidLine};
        pen.setStyle(styles[static_cast<int>(b.PenStyle())]);
        pen.setCapStyle(Qt::FlatCap);
        P.setPen(pen);
        P.drawLine(from, to);
    };
    auto far = [](int extent, int w) { return extent - w / 2 - (w % 2); };
    const TFclBorder& l = borders_.LeftBorder();
    const TFclBorder& r = borders_.RightBorder();
    const TFclBorder& t = borders_.TopBorder();
    const TFclBorder& b = borders_.BottomBorder();
    draw(l, {l.PenWidth() / 2, 0}, {l.PenWidth() / 2, s.height()});
    draw(r, {far(s.width(), r.PenWidth()), 0}, {far(s.width(), r.PenWidth()), s.height()});
    draw(t, {0, t.PenWidth() / 2}, {s.width(), t.PenWidth() / 2});
    draw(b, {0, far(s.height(), b.PenWidth())}, {s.width(), far(s.height(), b.PenWidth())});
}
