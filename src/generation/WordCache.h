#pragma once
// Formats coordinate words ("X" + FormatNumber(komma, v)) and keeps the last few results:
// a point's old words are the previous point's new ones, and one coordinate often stays
// the same along a path, so most words are found again instead of formatted.
#include "generation/NumberFormat.h"

#include <cstdint>
#include <cstring>
#include <string_view>

class WordCache {
public:
    static constexpr int kEntries = 8;

    void SetDecimals(std::uint8_t d) {
        decimals_ = d;
        for (auto& k : keys_) k.letter = 0;
    }
    std::uint8_t Decimals() const { return decimals_; }

    // The word; it stays valid while at most kEntries - 1 further words are asked for
    // (found or formatted): a new word never replaces one of the last kEntries - 1 asked for.
    std::string_view Word(char letter, double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        ++clock_;
        // The word last asked for with this letter is the likeliest one.
        int& hint = last_[letter & 3];
        if (keys_[hint].bits == bits && keys_[hint].letter == letter) {
            keys_[hint].lastUse = clock_;
            return {texts_[hint].text, texts_[hint].length};
        }
        for (int i = 0; i < kEntries; ++i) {
            if (keys_[i].bits == bits && keys_[i].letter == letter) {
                keys_[i].lastUse = clock_;
                hint = i;
                return {texts_[i].text, texts_[i].length};
            }
        }
        // The next slot in turn, unless one of the last kEntries - 1 words stands there: at
        // most that many are in use, so a free slot is found within kEntries steps.
        int oldest = next_;
        while (clock_ - keys_[oldest].lastUse < std::uint64_t(kEntries) && keys_[oldest].letter != 0)
            oldest = (oldest + 1) % kEntries;
        Key& k = keys_[oldest];
        Text& t = texts_[oldest];
        // The slot is free while the word is formatted: a value that cannot be written
        // raises an error and leaves no key with a text that is not its own.
        k.letter = 0;
        t.length = 1 + FormatNumberTo(t.text + 1, decimals_, v);
        t.text[0] = letter;
        next_ = (oldest + 1) % kEntries;
        k.bits = bits;
        k.letter = letter;
        k.lastUse = clock_;
        hint = oldest;
        return {t.text, t.length};
    }

private:
    struct Key {
        std::uint64_t bits = 0;
        char letter = 0;  // 0: unused
        std::uint64_t lastUse = 0;
    };
    struct Text {
        std::size_t length = 0;
        char text[kFormatNumberMax + 1];
    };
    // Keys apart from the texts, so that a look-up touches little memory.
    Key keys_[kEntries];
    Text texts_[kEntries];
    int last_[4] = {};
    int next_ = 0;
    std::uint64_t clock_ = 0;
    std::uint8_t decimals_ = 2;
};
