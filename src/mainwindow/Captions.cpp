#include "mainwindow/Captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

namespace {
constexpr const char* kCaption = "fraxilonCaption";
constexpr const char* kHint = "fraxilonHint";
constexpr const char* kShortcutText = "shortcutText";

QString Shown(const std::string& caption, bool menu) {
    QString s = QString::fromStdString(caption);
    if (menu) {
        s.remove(QLatin1Char('\r'));
    } else {
        s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return s;
}
}  // namespace

void SetCaption(QObject* object, const std::string& caption) {
    if (!object) return;
    object->setProperty(kCaption, QString::fromStdString(caption));
    if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->setTitle(Shown(caption, true));
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        QString text = Shown(caption, true);
        const QString shortcut = action->property(kShortcutText).toString();
        if (!shortcut.isEmpty()) text += QLatin1Char('\t') + shortcut;
        action->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(Shown(caption, false));
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(Shown(caption, false));
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        group->setTitle(Shown(caption, false));
    } else if (auto* widget = qobject_cast<QWidget*>(object); widget && widget->isWindow()) {
        widget->setWindowTitle(Shown(caption, true));
    }
}

std::string Caption(const QObject* object) {
    if (!object) return {};
    return object->property(kCaption).toString().toStdString();
}

void SetHint(QObject* object, const std::string& hint) {
    if (!object) return;
    const QString h = QString::fromStdString(hint);
    object->setProperty(kHint, h);
    if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->menuAction()->setStatusTip(h);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setStatusTip(h);
    } else if (auto* widget = qobject_cast<QWidget*>(object); widget && !widget->isWindow()) {
        widget->setToolTip(h);
        widget->setStatusTip(h);
    }
}

std::string Hint(const QObject* object) {
    if (!object) return {};
    return object->property(kHint).toString().toStdString();
}
