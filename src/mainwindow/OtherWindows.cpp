#include "mainwindow/OtherWindows.h"

Tform_paint::Tform_paint(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("form_paint"));
    setWindowTitle(QStringLiteral("Layout"));
}
