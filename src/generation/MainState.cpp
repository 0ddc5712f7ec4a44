#include "generation/MainState.h"

MainState Main;

void ResetMainState() { Main = MainState(); }

std::string_view First255Characters(std::string_view text) {
    constexpr std::size_t kCharacters = 255;
    if (text.size() <= kCharacters) return text;  // at most as many characters as bytes
    // Bytes that are not UTF-8 may continue no character: the cut never takes more bytes than
    // 255 characters can have.
    text = text.substr(0, kMostBytesOf255Characters);
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;  // inside a character
        if (++characters > kCharacters) return text.substr(0, i);
    }
    return text;
}

std::string CutTo255(std::string text) {
    text.resize(First255Characters(text).size());
    return text;
}
