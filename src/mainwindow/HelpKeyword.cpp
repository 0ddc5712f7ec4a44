#include "mainwindow/HelpKeyword.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

std::string FocusedHelpKeyword(const QWidget* window, const std::string& fallback) {
    for (const QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QString keyword = w->property("helpKeyword").toString();
        if (!keyword.isEmpty())
            return keyword.toStdString();
        if (w == window)
            break;
    }
    return fallback;
}
