#pragma once
// What the main window says about an invalid entry in one of its fields: in German, with the
// field's caption, what is wrong and what to enter instead.
#include <cstdint>
#include <string>

struct FieldRange {
    double low;
    double high;
};

// The box text for the library's error code (out of range, not a number, required); any other
// code keeps the library's own text (Windows-1252) behind the field's name.
std::string EntryErrorText(const std::string& fieldCaption, std::uint16_t code, FieldRange range,
                           const std::string& libraryText);
