#pragma once
// The configuration file "Fraxilon.ini": header and trailer blocks and the twenty values of
// the init block, read into the settings. The window shows the messages and writes the fields.
#include <optional>
#include <string>
#include <string_view>

class TextLineReader;
struct MainState;

enum class ConfigStatus {
    Ok,             // read to its end
    Defect,         // a read error or a damaged value: message line 8, fields not written
    DefectInInit,   // a read error inside the init block: message line 8, the program ends
};

// Reads the file's lines into the settings. Blocks and values read before a failure stay.
ConfigStatus ReadConfiguration(TextLineReader& in, MainState& s);

// A decimal number as the file writes it: "." as separator, leading blanks, a sign and an
// exponent allowed, nothing after it but blanks. An empty text is 0; a malformed one nothing.
std::optional<double> ParseConfigNumber(std::string_view text);

// The value of a value line: everything after the first "=", or the whole line without one.
std::string_view ConfigValue(std::string_view line);

// The file's path: the program's directory followed by "Fraxilon.ini".
std::string ConfigFilePath();
