#pragma once
// Line numbering and space removal: two whole-text rewrites of whatever program the editor
// holds (generated, optimised, loaded or edited by hand), run with "ausführen".
#include <cstdint>
#include <string>
#include <string_view>

class RewriteHost;
class TStrings;

// The line of the message file that tells why a text is not numbered.
constexpr int MsgLineNumbersTooLarge = 18;
// The largest line number the control accepts.
constexpr std::uint64_t kMostLineNumber = 9'999'999;

// Whether numbering a text of lineCount lines stays within kMostLineNumber: line 0 keeps no
// number, the others get 1, 2, 3, ...
bool LineNumbersFit(std::uint64_t lineCount);

// s (handled as its first 255 characters) with every blank (code 32) removed.
std::string StripSpaces(std::string_view s);

// Appends the lines of `from` to the editor, numbered: line 0 as it is, line i from 1 on as
// "N" + i + " " + the line without its leading digits and N characters, cut to 255 characters.
void zeilen_nummer(RewriteHost& host, const TStrings& from);
// Appends the lines of `from` to the editor without their blanks.
void leezeichen_weg(RewriteHost& host, const TStrings& from);

// The selected rewrites ("zeilen_nr" first, then "leerzeichen") over the editor's text. A
// text whose numbers would pass kMostLineNumber is refused with message
// MsgLineNumbersTooLarge before either rewrite runs: the editor and clipboard stay. An
// abort gives the editor back the text from before the interrupted rewrite and leaves the
// clipboard empty; otherwise the clipboard receives the whole result.
void option_runClick(RewriteHost& host);
