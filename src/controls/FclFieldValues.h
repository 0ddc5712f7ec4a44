#pragma once
// Setting up and reading the library's entry fields the way the program's windows use them:
// a picture field with its type, mask, length and range, read-only counters, and a number
// field's value read and written in its own data type.
#include "controls/FclEntryFieldWidgets.h"

#include <cstdint>
#include <string_view>

// A settings field as the windows place it: data type, picture mask, maximum length, the
// options efoCaretToEnd and efoRightAlign, and the range low to high in the type's own slots.
void SetUpPictureField(TFclPictureField& field, TPictureDataType type, std::string_view mask, int maxLength,
                       double low, double high);
// A field that may not be left empty: an empty entry is reported when the field is left, as
// an invalid one is, and does not read (GetValue gives the "required" code), so that its
// variable keeps its value. The value the field holds now stays shown.
void RequireEntry(TFclBaseEntryField& field);
// A read-only counter: nftLongInt for counts, nftComp for sizes that may pass 2^31.
void SetUpCounter(TFclNumericField& field, TNumericDataType type, std::string_view mask);

// A number field's value, whatever its data type: 0 when read, else the field's error code
// (value untouched).
int GetNumber(TFclBaseEntryField& field, double& value);
// Writes a value without validating it (a whole-number field takes it rounded, limited to what
// its type holds).
void SetNumber(TFclBaseEntryField& field, double value);
// The read-only counters (line count, program size in characters, which may pass 2^31).
void SetCount(TFclBaseEntryField& field, std::int64_t value);
// A counter's value (0 when it holds none).
std::int64_t CountOf(TFclBaseEntryField& field);
