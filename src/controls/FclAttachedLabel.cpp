#include "controls/FclAttachedLabel.h"

#include <QEvent>

#include "controls/FclController.h"
#include "controls/FclFieldMessages.h"
#include "controls/FclMessages.h"
#include "controls/FclMisc.h"
#include "controls/FclProperty.h"

void TFclLabelInfo::SetOffsetX(int Value)
{
    if (!StoreChanged(offsetX_, Value))
        return;
    if (onOffsets_)
        onOffsets_();
}

void TFclLabelInfo::SetOffsetY(int Value)
{
    if (!StoreChanged(offsetY_, Value))
        return;
    if (onOffsets_)
        onOffsets_();
}

void TFclLabelInfo::SetOffsets(int X, int Y)
{
    if (X == offsetX_ && Y == offsetY_)
        return;
    offsetX_ = X;
    offsetY_ = Y;
    if (onOffsets_)
        onOffsets_();
}

TFclAttachedLabel* TFclLabelInfo::Label() const
{
    return static_cast<TFclAttachedLabel*>(label_.data());
}

void TFclLabelInfo::SetLabel(TFclAttachedLabel* Value)
{
    label_ = Value;
}

void TFclLabelInfo::SetVisible(bool Value)
{
    if (!StoreChanged(visible_, Value))
        return;
    if (onVisible_)
        onVisible_();
}

TFclAttachedLabel::TFclAttachedLabel(QWidget* AOwner) : QLabel(AOwner)
{
    // Not transparent: the label paints its own background.
    setAutoFillBackground(true);
}

TFclAttachedLabel* TFclAttachedLabel::CreateFor(QWidget* AOwner, QWidget* AControl)
{
    auto* label = new TFclAttachedLabel(AOwner);
    label->control_ = AControl;
    label->setBuddy(AControl);
    return label;
}

void TFclAttachedLabel::SetAutoSize(bool Value)
{
    autoSize_ = Value;
    if (autoSize_)
        adjustSize();
}

void TFclAttachedLabel::SetCaption(const QString& Caption)
{
    setText(Caption);
    if (autoSize_)
        adjustSize();
}

void TFclAttachedLabel::SetBounds(int ALeft, int ATop, int AWidth, int AHeight, bool Record)
{
    setGeometry(ALeft, ATop, AWidth, AHeight);
    QWidget* control = control_.data();
    QWidget* form = FindParentForm(this);
    if (!control || !form || !form->isAncestorOf(control))
        return;
    TFclMessageEvent assign(FieldMsgAssignLabel, nullptr, this);
    QCoreApplication::sendEvent(control, &assign);
    if (Record)
        PostFieldMessage(control, FieldMsgRecordLabel);
}

TFclLabelAttachment::TFclLabelAttachment(QWidget* Control, bool LabelAutoSize)
    : control_(Control), labelAutoSize_(LabelAutoSize)
{
    info_.SetOnOffsetsChanged([this] { PositionLabel(); });
    info_.SetOnVisibilityChanged([this] { VisibilityChanged(); });
}

TFclLabelAttachment::~TFclLabelAttachment()
{
    ControlDestroying();
}

void TFclLabelAttachment::ControlDestroying()
{
    if (destroying_)
        return;
    destroying_ = true;
    TFclAttachedLabel* label = info_.Label();
    info_.SetLabel(nullptr);
    info_.SetVisibleQuietly(false);
    delete label;
}

TFclAttachedLabel* TFclLabelAttachment::GetAttachedLabel() const
{
    if (!info_.Visible())
        throw Exception(GetMessageText(30244));
    return info_.Label();
}

int TFclLabelAttachment::CurrentOffsetX() const
{
    return info_.Label()->x() - control_->x();
}

int TFclLabelAttachment::CurrentOffsetY() const
{
    const TFclAttachedLabel* label = info_.Label();
    return label->y() + label->height() - control_->y();
}

void TFclLabelAttachment::VisibilityChanged()
{
    if (destroying_)
        return;
    QWidget* form = FindParentForm(control_);
    if (!form)
        return;
    if (TFclAttachedLabel* old = info_.Label()) {
        info_.SetLabel(nullptr);
        delete old;
    }
    if (!info_.Visible())
        return;
    TFclAttachedLabel* label = TFclAttachedLabel::CreateFor(form, control_);
    label->setParent(control_->parentWidget());
    const std::string name =
        UniqueComponentName(form, control_->objectName().toStdString() + "Label");
    label->setObjectName(QString::fromStdString(name));
    label->SetCaption(QString::fromStdString(name));
    info_.SetLabel(label);
    QObject::connect(label, &QObject::destroyed, control_, [this](QObject* gone) {
        if (info_.LabelObject() == nullptr || info_.LabelObject() == gone)
            Forget();
    });
    info_.SetOffsets(0, 0);
    PositionLabel();
    label->setVisible(!control_->isHidden());
    label->raise();
    label->SetAutoSize(labelAutoSize_);
}

void TFclLabelAttachment::Forget()
{
    if (destroying_)
        return;
    info_.SetLabel(nullptr);
    info_.SetVisibleQuietly(false);
}

void TFclLabelAttachment::PositionLabel()
{
    TFclAttachedLabel* label = info_.Label();
    if (!info_.Visible() || !label || !label->parentWidget())
        return;
    label->SetBounds(control_->x() + info_.OffsetX(),
                     control_->y() + info_.OffsetY() - label->height(), label->width(),
                     label->height(), false);
}

void TFclLabelAttachment::OnPositionMessage()
{
    TFclAttachedLabel* label = info_.Label();
    if (!info_.Visible() || !label || !label->parentWidget())
        return;
    if (CurrentOffsetX() == info_.OffsetX() && CurrentOffsetY() == info_.OffsetY())
        return;
    PositionLabel();
}

void TFclLabelAttachment::OnRecordMessage()
{
    TFclAttachedLabel* label = info_.Label();
    if (!label || !label->parentWidget())
        return;
    info_.SetVisibleQuietly(true);
    info_.SetOffsets(CurrentOffsetX(), CurrentOffsetY());
}

void TFclLabelAttachment::OnAssignMessage(const TFclMessageEvent& Message)
{
    info_.SetLabel(qobject_cast<TFclAttachedLabel*>(Message.Object()));
}

bool TFclLabelAttachment::HandleEvent(QEvent* Event)
{
    if (destroying_)
        return false;
    switch (static_cast<int>(Event->type())) {
    case QEvent::Move:
    case QEvent::Resize:
        PostFieldMessage(control_, FieldMsgPositionLabel);
        return false;
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (info_.Visible() && info_.Label())
            info_.Label()->setVisible(!control_->isHidden());
        return false;
    case FieldMsgPositionLabel:
        OnPositionMessage();
        return true;
    case FieldMsgRecordLabel:
        OnRecordMessage();
        return true;
    case FieldMsgAssignLabel:
        OnAssignMessage(static_cast<const TFclMessageEvent&>(*Event));
        return true;
    default:
        return false;
    }
}
