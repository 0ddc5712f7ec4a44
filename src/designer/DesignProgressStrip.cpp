#include "designer/DesignProgressStrip.h"

#include "controls/FclMeter.h"
#include "generation/MainState.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>

TDesignProgressStrip::TDesignProgressStrip(QWidget* parent, QWidget* window)
    : QWidget(parent), window_(window) {
    setObjectName(QStringLiteral("DrawingProgress"));
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    meter_ = new TFclMeter(this);
    meter_->setObjectName(QStringLiteral("DrawingMeter"));
    meter_->setFixedSize(150, 16);
    meter_->SetPercent(0);
    lay->addWidget(meter_);
    cancel_ = new QPushButton(QStringLiteral("abbrechen"), this);
    cancel_->setObjectName(QStringLiteral("DrawingCancel"));
    lay->addWidget(cancel_);
    connect(cancel_, &QPushButton::clicked, this, [] { Main.AbortRequested = true; });
    hide();
}

TDesignProgressStrip::~TDesignProgressStrip() {
    if (drawing_)
        qApp->removeEventFilter(this);
}

void TDesignProgressStrip::DrawingStarted() {
    if (drawing_)
        return;
    drawing_ = true;
    meter_->SetPercent(0);
    show();
    qApp->installEventFilter(this);
}

void TDesignProgressStrip::DrawingProgress(int percent) { meter_->SetPercent(percent); }

void TDesignProgressStrip::DrawingFinished() {
    if (!drawing_)
        return;
    drawing_ = false;
    qApp->removeEventFilter(this);
    hide();
    meter_->SetPercent(0);
}

// Whether o is part of the editor: one of its widgets, menus or actions.
static bool Within(const QObject* o, const QObject* ancestor) {
    for (; o; o = o->parent())
        if (o == ancestor)
            return true;
    return false;
}

bool TDesignProgressStrip::eventFilter(QObject* watched, QEvent* event) {
    // Other windows, and the window system's own receivers, which hand the event on to a
    // widget that is filtered in its turn.
    if (!Within(watched, window_))
        return false;
    const bool onCancel = Within(watched, cancel_);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            Main.AbortRequested = true;
        return !onCancel;
    case QEvent::Close:
        if (watched == window_) {
            Main.AbortRequested = true;
            event->ignore();
            return true;
        }
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
        return !onCancel;
    default:
        return false;
    }
}
