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

    // The field's properties and its look (TFclCustomPictureField::Assign, AutoSize, frame,
    // colours).
    void Assign(const TFclPictureField& Source)
    {
        TFclCustomPictureField::Assign(Source);
        AssignLook(Source, true);
    }
};

class TFclNumericField : public TFclEntryFieldWidget<TFclCustomNumericField> {
    Q_OBJECT
public:
    using TFclEntryFieldWidget<TFclCustomNumericField>::TFclEntryFieldWidget;

    // The field's properties and its look (TFclCustomNumericField::Assign, AutoSize, frame,
    // colour, error and highlight colours).
    void Assign(const TFclNumericField& Source)
    {
        TFclCustomNumericField::Assign(Source);
        AssignLook(Source, false);
    }
};
