#include "generation/GetWord.h"

#include "generation/MainState.h"

#include <array>

namespace {

bool IsWordChar(char c, char letter) {
    return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == letter;
}

// "A0", "B0", ... for every character: what a bare letter reads as.
struct BareWords {
    std::array<char, 512> text{};
    constexpr BareWords() {
        for (int c = 0; c < 256; ++c) {
            text[std::size_t(2 * c)] = char(c);
            text[std::size_t(2 * c + 1)] = '0';
        }
    }
};
constexpr BareWords kBare;
}  // namespace

std::string_view GetWordView(std::string_view line, char letter) {
    if (line.size() > 255) line = First255Characters(line);  // a short line has no more characters
    const std::size_t at = line.find(letter);
    if (at == std::string_view::npos) return {};
    std::size_t end = at + 1;
    while (end < line.size() && IsWordChar(line[end], letter)) ++end;
    if (end == at + 1) return {kBare.text.data() + 2 * std::size_t(static_cast<unsigned char>(letter)), 2};
    return line.substr(at, end - at);
}

std::string GetWord(std::string_view line, char letter) { return std::string(GetWordView(line, letter)); }
