#include "mainwindow/OtherWindows.h"

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Winkel"));
}

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Simulation"));
}

Tform_paint::Tform_paint(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("form_paint"));
    setWindowTitle(QStringLiteral("Layout"));
}

TFormFxImageEditor::TFormFxImageEditor(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormFxImageEditor"));
    setWindowTitle(QStringLiteral("Bild bearbeiten"));
}
