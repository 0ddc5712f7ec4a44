#include "generation/GetWord.h"

namespace {
constexpr std::size_t kMaxLine = 255;

bool IsWordChar(char c, char letter) {
    return c == '+' || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == letter;
}
}  // namespace

std::string GetWord(std::string_view line, char letter) {
    line = line.substr(0, kMaxLine);
    const std::size_t at = line.find(letter);
    if (at == std::string_view::npos) return {};
    std::size_t end = at + 1;
    while (end < line.size() && IsWordChar(line[end], letter)) ++end;
    std::string word(line.substr(at, end - at));
    if (word.size() == 1) word += '0';
    return word;
}
