#pragma once
// The configuration file "Fraxilon.ini": header and trailer blocks and the twenty values of
// the init block, read into the settings. The window shows the messages and writes the fields.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TextLineReader;
struct MainState;

enum class ConfigStatus {
    Ok,             // read to its end
    Defect,         // a read error or a damaged value: message line 8, fields not written
    DefectInInit,   // a read error inside the init block: message line 8, the program ends
};

// What a settings field ("#####.###": five places before the point, a minus sign taking one
// of them, three after it) shows in full.
constexpr double kFieldLowest = -9999.999;
constexpr double kFieldHighest = 99999.999;

// A value of the init block that does not fit into the field that shows its setting: the
// field could not show it in full, or does not take it. The setting takes the field's own
// default instead, so that field and run never disagree.
struct ConfigValueProblem {
    int position = 0;       // 1 to 20
    std::string line;       // the value line as the file writes it
    double low = 0, high = 0;
    bool wholeNumbers = false;
    double used = 0;        // the default the setting takes
};

// Reads the file's lines into the settings. Blocks and values read before a failure stay.
// Values that do not fit their fields are listed in problems (when given).
ConfigStatus ReadConfiguration(TextLineReader& in, MainState& s, std::vector<ConfigValueProblem>* problems = nullptr);

// The warning that names those values, the range their fields take and what is used instead.
std::string ConfigProblemsText(const std::vector<ConfigValueProblem>& problems);

// A decimal number as the file writes it: "." as separator, leading blanks, a sign and an
// exponent allowed, nothing after it but blanks. An empty text is 0; a malformed one nothing.
std::optional<double> ParseConfigNumber(std::string_view text);

// The value of a value line: everything after the first "=", or the whole line without one.
std::string_view ConfigValue(std::string_view line);

// The file's path: the program's directory followed by "Fraxilon.ini".
std::string ConfigFilePath();
