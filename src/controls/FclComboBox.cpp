#include "controls/FclComboBox.h"

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QWheelEvent>

#include "controls/FclController.h"
#include "controls/FclFieldMessages.h"
#include "controls/FclMisc.h"
#include "controls/FclProperty.h"
#include "controls/FclQtKeys.h"
#include "platform/Services.h"
#include "platform/SysColors.h"

TFclComboItemDelegate::TFclComboItemDelegate(TFclBaseComboBox* Box, bool SeparatorAlways)
    : QStyledItemDelegate(Box), box_(Box), separatorAlways_(SeparatorAlways)
{
}

void TFclComboItemDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                                  const QModelIndex& Index) const
{
    const int row = Index.row();
    const bool recent = row < box_->RecentCount();
    const bool selected = Option.state & QStyle::State_Selected;
    const TColor back = selected ? clHighlight : (recent ? box_->MRUListColor() : box_->Color());
    const QRect r = Option.rect;
    Painter->save();
    Painter->fillRect(r, ToQColor(back));
    Painter->setPen(ToQColor(selected ? clHighlightText : clWindowText));
    DrawItem(*Painter, r, Index);
    if (recent && row == box_->RecentCount() - 1 && (separatorAlways_ || box_->DroppedDown())) {
        // The frame of (Left - 1, Bottom - 3) to (Right + 1, Bottom): grey lines on the
        // item's last row and two rows above it, the item's colour between them.
        Painter->setPen(ToQColor(clGrayText));
        const int bottom = r.y() + r.height();
        Painter->drawLine(r.left(), bottom - 3, r.right(), bottom - 3);
        Painter->drawLine(r.left(), bottom - 1, r.right(), bottom - 1);
    }
    Painter->restore();
}

QSize TFclComboItemDelegate::sizeHint(const QStyleOptionViewItem& Option,
                                      const QModelIndex& Index) const
{
    const bool lastRecent = Index.row() == box_->RecentCount() - 1;
    return QSize(Option.rect.width() > 0 ? Option.rect.width() : box_->width(),
                 box_->ItemHeight() + (lastRecent ? 3 : 0));
}

void TFclComboItemDelegate::DrawItem(QPainter& Painter, const QRect& Item,
                                     const QModelIndex& Index) const
{
    Painter.setFont(box_->font());
    Painter.drawText(Item.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                     Index.data(Qt::DisplayRole).toString());
}

TFclBaseComboBox::TFclBaseComboBox(QWidget* AOwner) : QComboBox(AOwner), label_(this, false)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // The platform's own completion is off; the box completes by its delayed search.
    if (lineEdit())
        lineEdit()->setCompleter(nullptr);
    setItemDelegate(new TFclComboItemDelegate(this));
    mru_.SetMaxEntries(mruListCount_);
    connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int) { Change(); });
    connect(this, &QComboBox::editTextChanged, this, [this](const QString&) {
        if (lineEdit() && lineEdit()->isModified()) {
            lineEdit()->setModified(false);
            Change();
        }
    });
    FitItemHeight();
}

TFclBaseComboBox::~TFclBaseComboBox()
{
    label_.ControlDestroying();
    CancelSearch();
}

std::string TFclBaseComboBox::About() const
{
    return FclAboutText();
}

void TFclBaseComboBox::SetDroppedWidth(int Value)
{
    if (!StoreChanged(droppedWidth_, Value))
        return;
    view()->setMinimumWidth(Value == -1 ? 0 : Value);
}

void TFclBaseComboBox::SetKeyDelay(int Value)
{
    if (Value != keyDelay_ && Value >= 0)
        keyDelay_ = Value;
}

void TFclBaseComboBox::SetItemHeight(int Value)
{
    if (!StoreChanged(itemHeight_, Value))
        return;
    // Re-laying the list out keeps the selection, as recreating the window did.
    view()->doItemsLayout();
    update();
}

void TFclBaseComboBox::SetMRUListColor(TColor Value)
{
    if (!StoreChanged(mruListColor_, Value))
        return;
    view()->viewport()->update();
}

void TFclBaseComboBox::SetMRUListCount(int Value)
{
    if (Value < 0)
        return;
    RemoveRecentSection();
    mru_.SetMaxEntries(Value);
    mruListCount_ = Value;
}

void TFclBaseComboBox::SetStyle(TFclComboStyle Value)
{
    if (!StoreChanged(style_, Value))
        return;
    const int index = currentIndex();
    setEditable(style_ == TFclComboStyle::ocsDropDown);
    if (lineEdit())
        lineEdit()->setCompleter(nullptr);
    if (index >= 0)
        setCurrentIndex(index);
}

void TFclBaseComboBox::SetColor(TColor Value)
{
    color_ = Value;
    QPalette p = palette();
    p.setColor(QPalette::Base, ToQColor(Value));
    setPalette(p);
}

void TFclBaseComboBox::SetText(const QString& Value)
{
    if (isEditable())
        setEditText(Value);
    else
        setCurrentIndex(findText(Value, Qt::MatchFixedString));
}

void TFclBaseComboBox::ClearRecentItems()
{
    RemoveRecentSection();
    clear();
    if (isEditable())
        clearEditText();
}

void TFclBaseComboBox::RemoveRecentSection()
{
    const int n = mru_.Count();
    if (n <= 0)
        return;
    for (int i = 0; i < n && count() > 0; ++i)
        removeItem(0);
    mru_.Clear();
}

void TFclBaseComboBox::AddRecentItem(int Index)
{
    if (Index < 0 || Index >= count())
        return;
    const int before = mru_.Count();
    const QString text = itemText(Index);
    const QVariant data = itemData(Index);
    mru_.Promote(text, data);
    if (mru_.Count() > before)
        insertItem(0, text, data);
}

int TFclBaseComboBox::FindItem(const QString& Text, int From, bool Exact) const
{
    const int n = count();
    for (int k = 0; k < n; ++k) {
        const int i = (From + k) % n;
        const QString item = itemText(i);
        const bool match = Exact ? item.compare(Text, Qt::CaseInsensitive) == 0
                                 : item.startsWith(Text, Qt::CaseInsensitive);
        if (match)
            return i;
    }
    return -1;
}

void TFclBaseComboBox::RebuildRecentSection()
{
    const QString kept = Text();
    const int n = mru_.Count();
    for (int i = 0; i < n && count() > 0; ++i)
        removeItem(0);
    mru_.Trim();
    for (int i = mru_.Count() - 1; i >= 0; --i)
        insertItem(0, mru_.At(i).Text, mru_.At(i).Object);
    // The selection rests on the ordinary item, not on its copy in the section.
    setCurrentIndex(FindItem(kept, mru_.Count(), true));
    view()->doItemsLayout();
}

void TFclBaseComboBox::AfterSelection()
{
    if (mruListCount_ > 0)
        RebuildRecentSection();
    if (onSelectionChange_)
        onSelectionChange_(this);
}

void TFclBaseComboBox::CloseUp()
{
    if (currentIndex() < 0)
        return;
    AddRecentItem(currentIndex());
    SetText(itemText(currentIndex()));
    Click();
    AfterSelection();
}

void TFclBaseComboBox::showPopup()
{
    droppedDown_ = true;
    QComboBox::showPopup();
}

void TFclBaseComboBox::hidePopup()
{
    const bool wasDropped = droppedDown_;
    droppedDown_ = false;
    QComboBox::hidePopup();
    // The chosen item reaches the box after the list closes; the close-up waits for it.
    if (wasDropped)
        QMetaObject::invokeMethod(this, [this] { CloseUp(); }, Qt::QueuedConnection);
}

void TFclBaseComboBox::Search(bool Enter)
{
    const int found = FindItem(Text(), std::max(mru_.Count(), 0), false);
    if (found < 0) {
        if (Enter)
            MessageBeep();
        return;
    }
    const QString text = itemText(found);
    SetText(text);
    if (Enter)
        Click();
    // A new text puts the caret at its start; the whole of it is selected.
    if (lineEdit())
        lineEdit()->setSelection(0, static_cast<int>(text.size()));
    AfterSelection();
}

void TFclBaseComboBox::CancelSearch()
{
    if (searchTrigger_ == -1)
        return;
    DefaultControllerInstance()->TimerPool().RemoveTrigger(searchTrigger_);
    searchTrigger_ = -1;
}

void TFclBaseComboBox::KeyDown(std::uint16_t Key, TShiftState)
{
    backspace_ = false;
    switch (Key) {
    case 8:
        backspace_ = true;
        return;
    case 13:
    case kSearchKey:
        Search(Key == 13);
        return;
    case 27:
        setCurrentIndex(count() > 0 ? 0 : -1);
        Change();
        return;
    case 35:
    case 36:
        return;
    default:
        break;
    }
    const bool passive = (Key >= 1 && Key <= 4) || Key == 9 || Key == 12 ||
                         (Key >= 16 && Key <= 20) || (Key >= 33 && Key <= 47) ||
                         (Key >= 112 && Key <= 135) || Key == 144 || Key == 145 || Key == 0;
    if (passive || !autoSearch_)
        return;
    CancelSearch();
    searchTrigger_ = DefaultControllerInstance()->TimerPool().AddOneShotTrigger(
        static_cast<std::uint32_t>(keyDelay_),
        [this](void*, std::int32_t, std::uint32_t, std::int32_t) { KeyDelayElapsed(); });
}

void TFclBaseComboBox::KeyDelayElapsed()
{
    searchTrigger_ = -1;
    if (backspace_)
        return;
    QLineEdit* edit = lineEdit();
    const int p = edit ? (edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition())
                       : 0;
    KeyDown(kSearchKey, 0);
    if (edit)
        edit->setSelection(p, static_cast<int>(edit->text().size()) - p);
}

void TFclBaseComboBox::keyPressEvent(QKeyEvent* Event)
{
    KeyDown(VirtualKeyOf(*Event), ShiftStateOf(Event->modifiers()));
    QComboBox::keyPressEvent(Event);
}

void TFclBaseComboBox::focusInEvent(QFocusEvent* Event)
{
    QComboBox::focusInEvent(Event);
    if (Event->reason() != Qt::PopupFocusReason)
        PostFieldMessage(this, FieldMsgAfterEnter);
}

void TFclBaseComboBox::focusOutEvent(QFocusEvent* Event)
{
    if (Event->reason() == Qt::PopupFocusReason) {
        QComboBox::focusOutEvent(Event);
        return;
    }
    AddRecentItem(currentIndex());
    QComboBox::focusOutEvent(Event);
    PostFieldMessage(this, FieldMsgAfterExit);
}

void TFclBaseComboBox::wheelEvent(QWheelEvent* Event)
{
    QComboBox::wheelEvent(Event);
    const QPoint pos = Event->position().toPoint();
    DoOnMouseWheel(ShiftStateOf(Event->modifiers()), Event->angleDelta().y(), pos.x(), pos.y());
}

void TFclBaseComboBox::DoOnMouseWheel(TShiftState Shift, int Delta, int XPos, int YPos)
{
    if (onMouseWheel_)
        onMouseWheel_(this, Shift, Delta, XPos, YPos);
}

void TFclBaseComboBox::changeEvent(QEvent* Event)
{
    QComboBox::changeEvent(Event);
    if (Event->type() == QEvent::FontChange)
        FitItemHeight();
}

bool TFclBaseComboBox::event(QEvent* Event)
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
        return QComboBox::event(Event);
    }
}

void TFclBaseComboBox::Change()
{
    if (onChange_)
        onChange_(this);
}

void TFclBaseComboBox::Click()
{
    if (onClick_)
        onClick_(this);
}

void TFclBaseComboBox::FitItemHeight()
{
    SetItemHeight(QFontMetrics(font()).height() - 1);
}
