#pragma once
// The program's further windows, created at start in their order (the effects dialog for each
// use). Their controls come with the issues that build them; until then they are empty.
#include "effects/EffectsDialog.h"
#include "mainwindow/AngleDialog.h"
#include "simulation/SimulationWindow.h"  // the simulation window TForm3

#include <QDialog>

#include <cstdint>

// The design editor.
class Tform_paint : public QDialog {
public:
    explicit Tform_paint(QWidget* parent = nullptr);
};
