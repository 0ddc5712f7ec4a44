#pragma once
// An optional label attached to a control: it sits at stored offsets from the control (by
// default directly above it, left edges aligned), follows its moves and its visibility, and
// is created and freed by the control's label settings (TFclLabelInfo::Visible).
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <functional>

#include "platform/Exception.h"

class TFclMessageEvent;
class TFclAttachedLabel;

// The label settings of a control. OffsetX is the label's left edge minus the control's;
// OffsetY the label's bottom edge (top + height) minus the control's top edge.
class TFclLabelInfo {
public:
    int OffsetX() const { return offsetX_; }
    int OffsetY() const { return offsetY_; }
    bool Visible() const { return visible_; }
    TFclAttachedLabel* Label() const;
    // The label as a plain object, safe to compare while it is being destroyed.
    const QObject* LabelObject() const { return label_.data(); }

    // Each fires the offsets-changed event when a value changes.
    void SetOffsetX(int Value);
    void SetOffsetY(int Value);
    // Both at once, one event when either differs.
    void SetOffsets(int X, int Y);
    // Fires the visibility event when the value changes.
    void SetVisible(bool Value);

    // Used by the owning control: store without firing anything.
    void SetVisibleQuietly(bool Value) { visible_ = Value; }
    void SetLabel(TFclAttachedLabel* Value);
    void SetOnOffsetsChanged(std::function<void()> Event) { onOffsets_ = std::move(Event); }
    void SetOnVisibilityChanged(std::function<void()> Event) { onVisible_ = std::move(Event); }

private:
    int offsetX_ = 0;
    int offsetY_ = 0;
    std::function<void()> onOffsets_;
    std::function<void()> onVisible_;
    QPointer<QObject> label_;
    bool visible_ = false;
};

class TFclAttachedLabel : public QLabel {
    Q_OBJECT
public:
    explicit TFclAttachedLabel(QWidget* AOwner);
    // A label for AControl, owned by AOwner (the form), with AControl as its focus control.
    static TFclAttachedLabel* CreateFor(QWidget* AOwner, QWidget* AControl);

    QWidget* Control() const { return control_.data(); }
    void SetControl(QWidget* Value) { control_ = Value; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool Value);
    void SetCaption(const QString& Caption);

    // Places the label; when its control sits on the label's form, the control takes the
    // label and records its offsets (posted), so the offsets follow a label moved by itself.
    // The control's own placement passes Record false: its offsets are the stored ones, and
    // a record arriving after a later move of the control would keep the label behind.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight, bool Record = true);

private:
    QPointer<QWidget> control_;
    bool autoSize_ = true;
};

// The mechanism a control embeds to keep its label: it answers the label notifications
// (position, record, assign) and is told of the control's moves, visibility and destruction.
class TFclLabelAttachment {
public:
    // LabelAutoSize: whether a created label keeps sizing itself to its caption.
    TFclLabelAttachment(QWidget* Control, bool LabelAutoSize);
    ~TFclLabelAttachment();
    TFclLabelAttachment(const TFclLabelAttachment&) = delete;
    TFclLabelAttachment& operator=(const TFclLabelAttachment&) = delete;

    TFclLabelInfo& Info() { return info_; }
    const TFclLabelInfo& Info() const { return info_; }

    // The label; Exception "Label not attached" while Info().Visible() is False.
    TFclAttachedLabel* GetAttachedLabel() const;

    // Puts the label at the stored offsets.
    void PositionLabel();
    // For the control's event(): handles the control's moves and visibility changes and the
    // label notifications; true when the event was a label notification.
    bool HandleEvent(QEvent* Event);
    // The control is going: the label goes with it.
    void ControlDestroying();

private:
    void VisibilityChanged();
    void OnPositionMessage();
    void OnRecordMessage();
    void OnAssignMessage(const TFclMessageEvent& Message);
    void Forget();
    int CurrentOffsetX() const;
    int CurrentOffsetY() const;

    QWidget* control_;
    bool labelAutoSize_;
    bool destroying_ = false;
    TFclLabelInfo info_;
};
