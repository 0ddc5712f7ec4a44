#pragma once
// The entry fields the windows place: each is a widget (placed in a layout, named by its Qt
// object name) and its field core in one object, so the field's value and property interface
// (GetValue, SetValue, SetPictureMask, SetDataType, SetRangeHi, Options, OnChange, ...) is
// called on the control itself.
#include "controls/FclEntryFieldShell.h"
#include "controls/FclNumericField.h"
#include "controls/FclPictureField.h"

class TFclPictureField : public TFclEntryFieldWidget<TFclCustomPictureField> {
    Q_OBJECT
public:
    using TFclEntryFieldWidget<TFclCustomPictureField>::TFclEntryFieldWidget;
};

class TFclNumericField : public TFclEntryFieldWidget<TFclCustomNumericField> {
    Q_OBJECT
public:
    using TFclEntryFieldWidget<TFclCustomNumericField>::TFclEntryFieldWidget;
};
