#pragma once
// The program's further windows, created at start in their order (the effects dialog for each
// use). Their controls come with the issues that build them; until then they are empty.
#include "effects/EffectsDialog.h"
#include "mainwindow/AngleDialog.h"

#include <QDialog>

#include <cstdint>

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
