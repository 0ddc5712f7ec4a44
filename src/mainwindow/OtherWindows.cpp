#include "mainwindow/OtherWindows.h"

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Simulation"));
}

Tform_paint::Tform_paint(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("form_paint"));
    setWindowTitle(QStringLiteral("Layout"));
}
