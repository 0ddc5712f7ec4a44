#include "generation/PartJoint.h"

#include "generation/NumberFormat.h"
#include "platform/LineStore.h"

#include <algorithm>

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool Digit(char c) { return c >= '0' && c <= '9'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// One word of a line: its letter (a capital) and the text of its number.
struct Word {
    char letter = 0;
    std::string_view number;
};

// Steps through the words of a line as a controller reads them: blanks, comments in round
// brackets and everything after ";" are skipped; a letter takes the sign, digits and points
// after it. Characters that are no letter are passed over.
class Words {
public:
    explicit Words(std::string_view line) : line_(line) {}
    bool Next(Word& w) {
        while (p_ < line_.size()) {
            const char c = line_[p_];
            if (c == ';') return false;
            if (c == '(') {
                const std::size_t close = line_.find(')', p_);
                if (close == std::string_view::npos) return false;
                p_ = close + 1;
                continue;
            }
            const char letter = Upper(c);
            ++p_;
            if (letter < 'A' || letter > 'Z') continue;
            const std::size_t start = p_;
            if (p_ < line_.size() && (line_[p_] == '+' || line_[p_] == '-')) ++p_;
            while (p_ < line_.size() && (Digit(line_[p_]) || line_[p_] == '.')) ++p_;
            w.letter = letter;
            w.number = line_.substr(start, p_ - start);
            return true;
        }
        return false;
    }

private:
    std::string_view line_;
    std::size_t p_ = 0;
};

// The motion a G word names: 0 to 3, or -1 for every other G code.
int MotionCode(std::string_view number) {
    const std::optional<double> v = ReadWrittenNumber(number);
    if (!v) return -1;
    for (int m = 0; m <= 3; ++m)
        if (*v == double(m)) return m;
    return -1;
}

std::string Joined(std::initializer_list<std::string_view> words, bool blanks) {
    std::string out;
    for (std::string_view w : words) {
        if (w.empty()) continue;
        if (!out.empty() && blanks) out += ' ';
        out += w;
    }
    return out;
}

const char* const kMotionWords[] = {"G0", "G1", "G2", "G3"};

}  // namespace

void ToolStand::TakeEarlier(std::string_view line) {
    // The line's last words of each kind (a controller refuses a word given twice anyway).
    Words words(line);
    Word w;
    std::string_view lx, ly, lz;
    double lzValue = 0;
    int lmotion = -1;
    bool moved = false;
    while (words.Next(w)) {
        switch (w.letter) {
            case 'G': {
                const int m = MotionCode(w.number);
                if (m >= 0) {
                    lmotion = m;
                    moved = true;
                }
                break;
            }
            case 'X':
            case 'Y':
            case 'Z': {
                const std::optional<double> v = ReadWrittenNumber(w.number);
                if (!v) break;
                moved = true;
                if (w.letter == 'X') lx = w.number;
                else if (w.letter == 'Y') ly = w.number;
                else {
                    lz = w.number;
                    lzValue = *v;
                }
                break;
            }
            default:
                break;
        }
    }
    if (!moved) return;
    if (x.empty() && !lx.empty()) x = "X" + std::string(lx);
    if (y.empty() && !ly.empty()) y = "Y" + std::string(ly);
    if (z.empty() && !lz.empty()) {
        z = "Z" + std::string(lz);
        zValue = lzValue;
    }
    if (motion < 0) motion = lmotion;
    if (!blanksRead) {
        blanks = line.find(' ') != std::string_view::npos;
        blanksRead = true;
    }
}

void ToolStand::TakeEarlier(const ToolStand& before) {
    if (x.empty()) x = before.x;
    if (y.empty()) y = before.y;
    if (z.empty()) {
        z = before.z;
        zValue = before.zValue;
    }
    if (motion < 0) motion = before.motion;
    if (!blanksRead) {
        blanks = before.blanks;
        blanksRead = before.blanksRead;
    }
}

ToolStand StandAfter(const TStrings& lines, std::size_t from, std::size_t end, const ToolStand& atFrom) {
    ToolStand s;
    end = std::min(end, lines.Count());
    for (std::size_t i = end; i > from && !s.Complete(); --i) s.TakeEarlier(lines.Line(i - 1));
    s.TakeEarlier(atFrom);
    return s;
}

LineMotion MotionOf(std::string_view line) {
    LineMotion m;
    Words words(line);
    Word w;
    while (words.Next(w)) {
        if (w.letter == 'G' && MotionCode(w.number) >= 0) m.namesMotion = true;
        if (w.letter == 'X' || w.letter == 'Y' || w.letter == 'Z' || w.letter == 'I' || w.letter == 'J') m.moves = true;
    }
    return m;
}

SafeHeight::SafeHeight(double height, std::uint8_t decimals) : word("Z" + FormatNumber(decimals, height)), value(0) {
    value = ReadWrittenNumber(std::string_view(word).substr(1)).value_or(height);
}

std::vector<std::string> PartEndLines(const ToolStand& end, const SafeHeight& safe) {
    if (end.z.empty() || !(end.zValue < safe.value)) return {};
    return {Joined({"G0", safe.word}, end.blanks)};
}

std::vector<std::string> PartStartLines(const ToolStand& end, const SafeHeight& safe) {
    if (!end.Known()) return {};
    const bool below = !end.z.empty() && end.zValue < safe.value;
    const std::string_view rise = end.z.empty() || below ? std::string_view(safe.word) : std::string_view(end.z);
    std::vector<std::string> lines;
    lines.push_back(Joined({"G0", rise}, end.blanks));
    lines.push_back(Joined({"G0", end.x, end.y}, end.blanks));
    if (below) lines.push_back(Joined({"G1", end.z}, end.blanks));
    return lines;
}

std::string WithMotionWord(std::string_view line, int motion, bool blanks) {
    if (motion < 0 || motion > 3) return std::string(line);
    std::size_t at = 0;
    while (at < line.size() && Blank(line[at])) ++at;
    // After a line number and the blanks after it.
    if (at < line.size() && Upper(line[at]) == 'N') {
        std::size_t q = at + 1;
        while (q < line.size() && Digit(line[q])) ++q;
        if (q > at + 1) {
            while (q < line.size() && Blank(line[q])) ++q;
            at = q;
        }
    }
    const bool spaced = blanks || line.find(' ') != std::string_view::npos;
    std::string out(line.substr(0, at));
    out += kMotionWords[motion];
    if (spaced) out += ' ';
    out += line.substr(at);
    return out;
}
