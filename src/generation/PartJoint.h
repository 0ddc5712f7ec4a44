#pragma once
// Where one part of a split program takes over from the part before it. Each part is run on its
// own, from a controller's start state: no motion in force and the tool wherever it stands. The
// lines before a part leave the tool at a point with a motion in force; this reads them as a
// controller does and gives the lines that end a part with the tool out of the material and
// begin the next one where the part before ended.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStrings;

// The position and motion a controller holds after a run of program lines, with each
// coordinate as the program wrote it, so that a part goes back exactly where the last one was.
struct ToolStand {
    std::string x, y, z;   // the last X, Y and Z words ("X12.5"), empty before the first
    double zValue = 0;     // the value of z
    int motion = -1;       // 0 to 3 for the G0 to G3 in force, -1 before the first
    bool blanks = true;    // the last line that moved had blanks between its words
    bool blanksRead = false;  // blanks was read from a line

    // Takes what a line before the lines read so far gives and they did not: its motion word
    // (G0 to G3, also G00 to G03) and its X, Y, Z words. Line numbers, other words, comments in
    // round brackets and after ";" change nothing here.
    void TakeEarlier(std::string_view line);
    // The same from where the controller stood before all these lines.
    void TakeEarlier(const ToolStand& before);
    bool Complete() const { return !x.empty() && !y.empty() && !z.empty() && motion >= 0 && blanksRead; }
    bool Known() const { return !x.empty() || !y.empty(); }
};

// Where the tool stands after lines[0, end): read back from `end` to `from`, the rest taken
// from `atFrom`, where it stood after lines[0, from).
ToolStand StandAfter(const TStrings& lines, std::size_t from, std::size_t end, const ToolStand& atFrom);

// What a line asks of the motion in force: whether it holds axis or arc words (X, Y, Z, I, J)
// and whether it names a motion itself.
struct LineMotion {
    bool moves = false;
    bool namesMotion = false;
};
LineMotion MotionOf(std::string_view line);

// The safe height's word as the program writes it (Z and the number with `decimals` decimals).
struct SafeHeight {
    SafeHeight(double height, std::uint8_t decimals);
    std::string word;  // "Z1"
    double value;      // the height as written
};

// The lines that close a part whose last line leaves the tool at `end`: a rapid rise to the
// safe height when it stands below it, so that the spindle never stops in the material.
std::vector<std::string> PartEndLines(const ToolStand& end, const SafeHeight& safe);

// The lines that open a part after one that ended at `end`: up to the safe height (or the end's
// own height when that is higher), over the end point at that height, and a feed down to the
// end's depth when it lies below the safe height. None while the lines before placed no tool.
std::vector<std::string> PartStartLines(const ToolStand& end, const SafeHeight& safe);

// The line with the motion word of `motion` (G0 to G3) before its words, after its line
// number; a blank follows the word when the line holds blanks or `blanks` is set (a line of
// one word in a program with blanks).
std::string WithMotionWord(std::string_view line, int motion, bool blanks);
