#pragma once
// What the program's windows say about an invalid entry in one of their number fields: in
// German, with the field's caption, what is wrong and what to enter instead. The library's own
// texts and its default error box stay as they are for every field that does not ask for this.
#include <cstdint>
#include <string>

class QLabel;
class TFclBaseEntryField;

// A field's range as the user may enter it; an end at or beyond ±1e30, or at the far end of a
// 32-bit whole number, means "no limit".
struct FieldRange {
    double low;
    double high;
};

// The box text for the library's error code (out of range, not a number, required), the range
// written with the field's decimal character; any other code keeps the library's own text
// (Windows-1252) behind the field's name.
std::string EntryErrorText(const std::string& fieldCaption, std::uint16_t code, FieldRange range,
                           const std::string& libraryText, char decimalChar = '.');

// The range the field checks against, read from its own limits.
FieldRange RangeOf(const TFclBaseEntryField& field);

// Installs the German report as the field's OnError: an invalid entry shows one error box that
// names the field by the label's text as it reads at that moment (the language file may change
// it) and the field's range.
void ReportEntryErrorsInGerman(TFclBaseEntryField& field, const QLabel& caption);
