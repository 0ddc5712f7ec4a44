#pragma once
// The library's combo box: a list of items with a section of recently chosen items at its
// top (in its own background colour, closed by a double grey line while the list is open),
// an incremental search that completes the typed text a delay after the last key (timed by
// the default controller's timer pool), and an optional attached label.
#include <QComboBox>
#include <QStyledItemDelegate>

#include <cstdint>
#include <functional>
#include <memory>

#include "controls/FclAttachedLabel.h"
#include "controls/FclBaseControls.h"
#include "controls/FclEvents.h"
#include "controls/FclMRUList.h"
#include "platform/Graphics.h"

enum class TFclComboStyle : std::uint8_t { ocsDropDown, ocsDropDownList };

class TFclBaseComboBox : public QComboBox {
    Q_OBJECT
public:
    // The key the delayed search passes to KeyDown.
    static constexpr std::uint16_t kSearchKey = 9999;

    explicit TFclBaseComboBox(QWidget* AOwner = nullptr);
    ~TFclBaseComboBox() override;

    std::string About() const;

    bool AutoSearch() const { return autoSearch_; }
    void SetAutoSearch(bool Value) { autoSearch_ = Value; }
    int DroppedWidth() const { return droppedWidth_; }
    void SetDroppedWidth(int Value);
    int KeyDelay() const { return keyDelay_; }
    // Stored when it differs and is 0 or more.
    void SetKeyDelay(int Value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int Value);
    TColor MRUListColor() const { return mruListColor_; }
    void SetMRUListColor(TColor Value);
    int MRUListCount() const { return mruListCount_; }
    // Removes the recent section and sets the recent list's size; a negative value is ignored.
    void SetMRUListCount(int Value);
    TFclComboStyle Style() const { return style_; }
    void SetStyle(TFclComboStyle Value);
    TColor Color() const { return color_; }
    void SetColor(TColor Value);

    TFclLabelInfo& LabelInfo() { return label_.Info(); }
    TFclAttachedLabel* GetAttachedLabel() const { return label_.GetAttachedLabel(); }

    // The text of the edit field, or of the selected item for a list-only box.
    QString Text() const { return currentText(); }
    void SetText(const QString& Value);
    int ItemIndex() const { return currentIndex(); }
    void SetItemIndex(int Value) { setCurrentIndex(Value); }
    // The number of items of the recent section at the top of the list.
    int RecentCount() const { return mru_.Count(); }
    bool DroppedDown() const { return droppedDown_; }

    // Empties the recent section, then all items and the text.
    void ClearRecentItems();
    void RemoveRecentSection();
    // Puts item Index at the front of the recent list (a copy enters the list when the
    // section grows); nothing for a negative index.
    void AddRecentItem(int Index);
    // Puts the recent list back at the top, most recent first, and selects the ordinary item
    // of the current text.
    void RebuildRecentSection();
    // After the user chose an item.
    virtual void AfterSelection();
    // The list closed: the chosen item becomes recent and the text, OnClick fires.
    void CloseUp();
    // The box's key rules (search on Enter, cancel on Backspace, first item on Escape, the
    // delayed search on other keys); the key goes on to the inherited handling afterwards.
    virtual void KeyDown(std::uint16_t Key, TShiftState Shift);

    void SetAfterEnter(TNotifyEvent Event) { afterEnter_ = std::move(Event); }
    void SetAfterExit(TNotifyEvent Event) { afterExit_ = std::move(Event); }
    void SetOnMouseWheel(TFclMouseWheelEvent Event) { onMouseWheel_ = std::move(Event); }
    void SetOnSelectionChange(TNotifyEvent Event) { onSelectionChange_ = std::move(Event); }
    void SetOnChange(TNotifyEvent Event) { onChange_ = std::move(Event); }
    void SetOnClick(TNotifyEvent Event) { onClick_ = std::move(Event); }

    void showPopup() override;
    void hidePopup() override;

protected:
    bool event(QEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    void wheelEvent(QWheelEvent* Event) override;
    void changeEvent(QEvent* Event) override;
    virtual void DoOnMouseWheel(TShiftState Shift, int Delta, int XPos, int YPos);
    void Change();
    void Click();

private:
    void FitItemHeight();
    void KeyDelayElapsed();
    void Search(bool Enter);
    void CancelSearch();
    // The first item from From on (wrapping) whose text matches; -1 when none.
    int FindItem(const QString& Text, int From, bool Exact) const;

    bool autoSearch_ = true;
    int droppedWidth_ = -1;
    int keyDelay_ = 500;
    int itemHeight_ = 16;
    TColor mruListColor_ = clWindow;
    int mruListCount_ = 3;
    TFclComboStyle style_ = TFclComboStyle::ocsDropDown;
    TColor color_ = clWindow;
    TNotifyEvent afterEnter_;
    TNotifyEvent afterExit_;
    TFclMouseWheelEvent onMouseWheel_;
    TNotifyEvent onSelectionChange_;
    TNotifyEvent onChange_;
    TNotifyEvent onClick_;
    bool backspace_ = false;
    bool droppedDown_ = false;
    TFclMRUList mru_;
    std::int32_t searchTrigger_ = -1;
    TFclLabelAttachment label_;
};

// Draws the items of a library combo box's list: the recent section in its own colour, the
// selection in the highlight colour, the item's content, and under the section's last item
// two grey lines, while the list is open (or always, with SeparatorAlways); that item is
// 3 pixels taller to make room for them.
class TFclComboItemDelegate : public QStyledItemDelegate {
public:
    explicit TFclComboItemDelegate(TFclBaseComboBox* Box, bool SeparatorAlways = false);

    void paint(QPainter* Painter, const QStyleOptionViewItem& Option,
               const QModelIndex& Index) const override;
    QSize sizeHint(const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

protected:
    // The item's content in the text colour already set: its text 2 pixels in from the left
    // at the top of the item, in the box's font.
    virtual void DrawItem(QPainter& Painter, const QRect& Item, const QModelIndex& Index) const;

private:
    TFclBaseComboBox* box_;
    bool separatorAlways_;
};

class TFclComboBox : public TFclBaseComboBox {
    Q_OBJECT
public:
    explicit TFclComboBox(QWidget* AOwner = nullptr) : TFclBaseComboBox(AOwner) {}
};
