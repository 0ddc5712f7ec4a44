#pragma once
// Line numbering and space removal: two whole-text rewrites of whatever program the editor
// holds (generated, optimised, loaded or edited by hand), run with "ausführen".
#include <string>
#include <string_view>

class RewriteHost;
class TStrings;

// s (handled as its first 255 characters) with every blank (code 32) removed.
std::string StripSpaces(std::string_view s);

// Appends the lines of `from` to the editor, numbered: line 0 as it is, line i from 1 on as
// "N" + i + " " + the line without its leading digits and N characters, cut to 255 characters.
void zeilen_nummer(RewriteHost& host, const TStrings& from);
// Appends the lines of `from` to the editor without their blanks.
void leezeichen_weg(RewriteHost& host, const TStrings& from);

// The selected rewrites ("zeilen_nr" first, then "leerzeichen") over the editor's text. An
// abort gives the editor back the text from before the interrupted rewrite and leaves the
// clipboard empty; otherwise the clipboard receives the whole result.
void option_runClick(RewriteHost& host);
