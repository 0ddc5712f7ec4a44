#pragma once
// Checks of a generated program as a machine would run it, for any pattern: every word of a
// move or stop line is a finite number, the coordinates stay inside a rectangle, no rapid
// move changes X or Y while the tool is, or arrives, below the safe height, and the first move
// rises straight up to the safe height.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace program_checks {

// A program line without its comments (the parts in round brackets).
inline std::string WithoutComments(std::string_view line) {
    std::string out;
    int depth = 0;
    for (char c : line) {
        if (c == '(') {
            ++depth;
            out += ' ';
        } else if (c == ')' && depth > 0) {
            --depth;
        } else if (depth == 0) {
            out += c;
        }
    }
    return out;
}

// The blank-separated words of a line without its comments.
inline std::vector<std::string> MoveWords(std::string_view line) {
    std::vector<std::string> words;
    const std::string text = WithoutComments(line);
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') ++i;
        std::size_t end = i;
        while (end < text.size() && text[end] != ' ') ++end;
        if (end > i) words.push_back(text.substr(i, end - i));
        i = end;
    }
    return words;
}

// The number after a word's letter ("Z-2.5" gives -2.5); nothing unless the rest of the word is
// a finite number as a whole.
inline std::optional<double> WordNumber(std::string_view word) {
    if (word.size() < 2) return std::nullopt;
    const char* first = word.data() + 1;
    const char* last = word.data() + word.size();
    if (*first == '+') ++first;
    double v = 0;
    const auto [end, ec] = std::from_chars(first, last, v, std::chars_format::fixed);
    if (ec != std::errc() || end != last || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Lines the machine executes: moves (G...) and stops (M...). Header and trailer texts of the
// configuration and the parameter line are not checked.
inline bool IsMachineLine(std::string_view line) { return !line.empty() && (line[0] == 'G' || line[0] == 'M'); }

// The rectangle the coordinates must stay in (for the radial patterns relative to the centre),
// with a margin for the rounding to the program's decimals.
struct Box {
    double x0, x1, y0, y1, margin;
};

// Well formed: no "INF" or "NAN" anywhere, every word of a machine line a letter and a finite
// number, every X and Y inside the box.
inline ::testing::AssertionResult WellFormed(const std::vector<std::string>& program, const Box& box) {
    for (std::size_t i = 0; i < program.size(); ++i) {
        const std::string& line = program[i];
        std::string upper = line;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return char(std::toupper(c)); });
        if (upper.find("INF") != std::string::npos || upper.find("NAN") != std::string::npos)
            return ::testing::AssertionFailure() << "line " << i << " holds no number: [" << line << "]";
        if (!IsMachineLine(line)) continue;
        for (const std::string& word : MoveWords(line)) {
            const auto v = WordNumber(word);
            if (!v || !std::isupper(static_cast<unsigned char>(word[0])))
                return ::testing::AssertionFailure() << "line " << i << ", word " << word << " is no number: [" << line << "]";
            const bool isX = word[0] == 'X', isY = word[0] == 'Y';
            if ((isX && (*v < box.x0 - box.margin || *v > box.x1 + box.margin)) ||
                (isY && (*v < box.y0 - box.margin || *v > box.y1 + box.margin)))
                return ::testing::AssertionFailure() << "line " << i << ", word " << word << " lies outside the workpiece: ["
                                                     << line << "]";
        }
    }
    return ::testing::AssertionSuccess();
}

// No rapid move (G0) changes X or Y while the tool stands below safeZ or ends below it. The
// program starts at an unknown point at a safe height; a move leaves out the words that stay.
inline ::testing::AssertionResult NoRapidSidewaysBelowSafeHeight(const std::vector<std::string>& program,
                                                                 double safeZ) {
    std::optional<double> x, y;
    double z = INFINITY;
    for (std::size_t i = 0; i < program.size(); ++i) {
        const std::string& line = program[i];
        if (!IsMachineLine(line) || line[0] != 'G') continue;
        const std::vector<std::string> words = MoveWords(line);
        std::optional<double> nx = x, ny = y;
        double nz = z;
        bool sideways = false;
        for (const std::string& word : words) {
            const auto v = WordNumber(word);
            if (!v) continue;
            if (word[0] == 'X') {
                sideways = sideways || !x || *x != *v;
                nx = v;
            } else if (word[0] == 'Y') {
                sideways = sideways || !y || *y != *v;
                ny = v;
            } else if (word[0] == 'Z') {
                nz = *v;
            }
        }
        if (!words.empty() && words[0] == "G0" && sideways && (z < safeZ || nz < safeZ)) {
            auto f = ::testing::AssertionFailure();
            f << "line " << i << " moves rapidly sideways below the safe height " << safeZ << ": [" << line << "]";
            if (i > 0) f << " after [" << program[i - 1] << "]";
            return f;
        }
        x = nx;
        y = ny;
        z = nz;
    }
    return ::testing::AssertionSuccess();
}

// A program starts wherever the operator left the tool, often touched off at the surface: its
// first move rises straight up to the safe height (a Z word alone, at or above safeZ) before
// any move names X or Y.
inline ::testing::AssertionResult RisesBeforeItsFirstSidewaysMove(const std::vector<std::string>& program,
                                                                   double safeZ) {
    for (std::size_t i = 0; i < program.size(); ++i) {
        const std::string& line = program[i];
        if (!IsMachineLine(line) || line[0] != 'G') continue;
        bool sideways = false;
        std::optional<double> z;
        for (const std::string& word : MoveWords(line)) {
            if (word[0] == 'X' || word[0] == 'Y') sideways = true;
            if (word[0] == 'Z') z = WordNumber(word);
        }
        if (!sideways && !z) continue;  // no move (G90.1, say)
        if (sideways || !(*z >= safeZ))
            return ::testing::AssertionFailure() << "the first move, line " << i << ", does not rise straight up to "
                                                 << safeZ << ": [" << line << "]";
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionSuccess();
}

}  // namespace program_checks
