#pragma once
// Program files: the program list of numbered names, the split of a program into parts, the
// writing of each part (header lines, the part's lines, trailer lines but after the last part)
// and the reading of a program file. Files are written with CR LF to a temporary file beside
// the target that replaces it only when complete, so a failed save never leaves a
// half-written file where a good one was; they are read with CR LF, LF or CR as line end.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStrings;

// The names of a program list chosen as `name`: name, name1, ..., name(count-1); none when
// the name is blank or count < 1.
std::vector<std::string> ProgramListNames(const std::string& name, int count);

// The lines of each of n parts of a program of `lines` lines: every part has lines div n
// lines, the last one takes the rest. With fewer lines than parts, every part but the last is
// empty and the last holds the whole program.
struct LineRange {
    std::size_t first;
    std::size_t end;  // one past the part's last line; first for an empty part
};
std::vector<LineRange> SplitProgram(std::size_t lines, int parts);

// The lines that open every part: the entries that are not empty after trimming, in order.
std::vector<std::string> PartHeaderLines(const std::vector<std::string>& entries);
// The lines that close every part but the last: the entries that are not empty, in order and
// as they stand (an entry of blanks is written).
std::vector<std::string> PartTrailerLines(const std::vector<std::string>& entries);

// A line of the program written in another form in one part.
struct LineReplacement {
    std::size_t index;
    std::string line;
};

// Writes header, lines[range], then trailer, each line followed by CR LF, to `path`
// atomically, with the line `replaced` names (when given) in its other form. False (the old
// file untouched) when it cannot be created or written.
bool WriteProgramPart(const std::string& path, const std::vector<std::string>& header,
                      const TStrings& lines, LineRange range,
                      const std::vector<std::string>& trailer, const LineReplacement* replaced = nullptr);

// The files of a program's name that a save into `directory` replaces: those of the new set
// of `names` that exist already, and the leftover parts of a longer set of the same name
// (names[0] followed by k, for k from the new count on, while such a file exists), which a
// completed save removes so that no old part runs after the new ones.
struct SetOnDisk {
    std::vector<std::string> replaced;
    std::vector<std::string> leftovers;
    bool Empty() const { return replaced.empty() && leftovers.empty(); }
};
SetOnDisk FindSetOnDisk(const std::string& directory, const std::vector<std::string>& names);
// The question a save asks before it writes over `found` (answered with Ja or Nein).
std::string ReplaceSetQuestion(const std::string& directory, const SetOnDisk& found);
// What a completed save says about the leftover parts it could not remove.
std::string LeftoversKeptNotice(const std::vector<std::string>& parts);

// What a save asks for and what it answers with.
struct SaveRequest {
    int count = 0;                           // prg_anzahl
    std::string directory;                   // ProgramListDir, with its trailing separator
    std::vector<std::string> names;          // the items of the program list
    std::vector<std::string> headerLines;    // HeaderLines 1 to 10
    std::vector<std::string> trailerLines;   // TrailerLines 1 to 10
    double safeHeight = 1.0;                 // G0-Hub: where the tool stands between parts
    std::uint8_t decimals = 2;               // Nachkommastellen of the safe height's word
    // Asked once, before anything is written, when files of the name are on disk; false
    // writes nothing. Without it the save replaces them.
    std::function<bool(const SetOnDisk&)> mayReplace;
};
// 0 when the program was saved; otherwise the message-file line to show: 5 (at most one
// line), 2 (the list does not hold `count` names), 3 (an empty name), 4 (a part could not be
// written: the parts before it stay, the leftover parts too). count 0 saves nothing and
// answers -1; a split whose safe height, written with its decimals, is not above 0 saves
// nothing and answers kSafeHeightNotAboveTheSurface; a replacement the user declined saves
// nothing and answers kReplaceDeclined. A completed save removes the leftover parts of a
// longer set; those it could not remove are added to `leftoversKept`.
// Every part runs on its own from a controller's start state: a part after the one that
// declares the arc-centre mode declares it again after its header lines; a part but the last
// that leaves the tool below the safe height rises to it before its trailer lines; a part
// after the first goes, after its header lines, over the point where the part before ended at
// the safe height and feeds down to that point's depth when it lies below, and its first line
// that moves gets the motion word it would take from the part before. The parts' own lines
// still add up to the whole program.
inline constexpr int kSafeHeightNotAboveTheSurface = -2;
inline constexpr int kReplaceDeclined = -3;
int SaveProgram(const SaveRequest& request, const TStrings& lines,
                std::vector<std::string>* leftoversKept = nullptr);

// Reads a program file into lines (cleared first): one line per line of the file, CR LF, LF
// or CR ending a line; UTF-8 when the bytes are valid UTF-8, else Windows-1252 turned into
// UTF-8. False, lines unchanged, when the file cannot be read or is no regular file (a
// folder, a pipe, a device).
bool LoadProgramFile(const std::string& path, TStrings& lines);

// Typing in the program editor: ASCII letters become capitals, every other character stays.
char ProgramKeyCapital(char key);

// Where the listing's lines go on the printed pages. Every page starts with its header line
// at y 0; the first text line of a page is at top + h, top = 3 h.
struct PrintPlacement {
    int page;         // 1-based
    bool pageHeader;  // the page's header line is written before this line
    int y;            // the line's y
};
std::vector<PrintPlacement> PaginateListing(std::size_t lines, int lineHeight, int pageHeight);
// The meter value after line `index` of a listing whose last index is `lastIndex`.
int ListingProgress(std::size_t index, std::size_t lastIndex);
