#pragma once
// The program's further windows, created at start in their order (the effects dialog for each
// use). Their controls come with the issues that build them; until then they are empty.
#include <QDialog>

#include <cstdint>

// The angle dialog.
class TForm2 : public QDialog {
public:
    explicit TForm2(QWidget* parent = nullptr);
    // The dialog's own values, set at the main window's first activation.
    std::int32_t CornerCount = 0;
    double RadiusRatio = 0;
};

// The simulation window.
class TForm3 : public QDialog {
public:
    explicit TForm3(QWidget* parent = nullptr);
};

// The design editor.
class Tform_paint : public QDialog {
public:
    explicit Tform_paint(QWidget* parent = nullptr);
};

// The effects dialog.
class TFormFxImageEditor : public QDialog {
public:
    explicit TFormFxImageEditor(QWidget* parent = nullptr);
};
