#pragma once
// The program's further windows, created at start in their order (the effects dialog for each
// use).
#include "designer/DesignEditor.h"           // the design editor Tform_paint
#include "effects/EffectsDialog.h"
#include "mainwindow/AngleDialog.h"
#include "simulation/SimulationWindow.h"  // the simulation window TForm3
