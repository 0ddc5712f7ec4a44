#pragma once
// The controls the main window places, by the names the window uses, and the one place where
// the window reads and writes their values. Until the control library's widgets are in,
// plain stand-ins serve; replacing them changes this header and the fields' set-up only.
#include "mainwindow/StandInControls.h"
#include "platform/Memo.h"

#include <cstdint>

using TFclPictureField = standin::PictureField;
using TFclNumericField = standin::NumericCounter;
using TFclMeter = standin::Meter;
using TFclComboBox = standin::RecentCombo;
using ProgramEditor = TMemo;

// A number field's value: 0 when read, else the field's error code (value untouched).
inline int GetNumber(const TFclPictureField& field, double& value) { return field.GetValue(value); }
// Writes a value without validating it.
inline void SetNumber(TFclPictureField& field, double value) { field.SetValue(value); }
// The read-only counters (line count, program size in characters, which may pass 2^31).
inline void SetCount(TFclNumericField& field, std::int64_t value) { field.SetValue(value); }
