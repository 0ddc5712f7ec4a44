#pragma once
// The controls the main window places, by the names the window uses. Until the control
// library's widgets are in, plain stand-ins serve.
#include "mainwindow/StandInControls.h"
#include "platform/Memo.h"

using TFclPictureField = standin::PictureField;
using TFclNumericField = standin::NumericCounter;
using TFclMeter = standin::Meter;
using TFclComboBox = standin::RecentCombo;
using ProgramEditor = TMemo;
