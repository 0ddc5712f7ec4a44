#pragma once
// The language file: blocks of an "object" line naming a control, a "Caption = " line and a
// "Hint = " line. The names are the 160 entries of LanguageControlNames; the entry number
// decides what a block's caption and hint set.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class TextLineReader;

constexpr int kLanguageEntries = 160;
constexpr int kLanguageColourEntry = 93;
constexpr int kLanguageLastControlEntry = 110;  // the caption of "beenden1" must be given

// Entry n is element n - 1.
extern const std::array<std::string_view, kLanguageEntries> LanguageControlNames;

// The first entry whose name equals name exactly (letter case included); 0 when there is
// none. An empty name matches the first entry without a name (17, which sets nothing), so
// such a block reads its caption and hint lines all the same.
int LanguageEntry(std::string_view name);

// The name of a block's "object" line: the text from seven characters after "object" on,
// without leading and trailing blanks. Nothing when the line holds no "object".
std::optional<std::string> LanguageObjectName(std::string_view line);

enum class LanguageStatus {
    Ok,
    ReadErrorOrdinary,  // on a line outside a block: the program ends
    ReadErrorInBlock,   // on a caption or hint line
};

// Reads the blocks; caption and hint are called with the entry number and the text as they
// are read. In a caption the first "#13" becomes a carriage return.
LanguageStatus ReadLanguageFile(TextLineReader& in,
                                const std::function<void(int entry, const std::string&)>& caption,
                                const std::function<void(int entry, const std::string&)>& hint);

// Where an entry's caption and hint go on the main window.
struct LanguageTarget {
    enum class Kind { Nothing, Form, Control, Colour, OtherWindows };
    Kind kind = Kind::Nothing;
    // For controls: the objects whose caption and hint are set, compared without letter case.
    std::string captionObject;
    std::string hintObject;
};
LanguageTarget TargetOf(int entry);

// A colour of the "color" entry: a decimal integer or "$" and hex digits; nothing otherwise.
std::optional<int> ParseLanguageColour(std::string_view text);
