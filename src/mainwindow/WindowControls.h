#pragma once
// The controls the main window places, by the names the window uses: the library's picture
// fields, counters, meter and combo box, and the program editor.
#include "controls/FclComboBox.h"
#include "controls/FclEntryFieldWidgets.h"
#include "controls/FclFieldValues.h"
#include "controls/FclMeter.h"
#include "platform/Memo.h"

using ProgramEditor = TMemo;
