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
    void SetDecimals(std::uint8_t d) {
        decimals_ = d;
        for (auto& e : entries_) e.valid = false;
    }
    std::uint8_t Decimals() const { return decimals_; }

    // The word; it stays valid while at most kEntries - 1 further words are asked for
    // (found or formatted): a new word replaces the entry that was asked for longest ago.
    std::string_view Word(char letter, double v) {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        ++clock_;
        Entry* oldest = &entries_[0];
        for (auto& e : entries_) {
            if (e.valid && e.bits == bits && e.letter == letter) {
                e.lastUse = clock_;
                return {e.text, e.length};
            }
            if (e.lastUse < oldest->lastUse) oldest = &e;
        }
        Entry& e = *oldest;
        e.text[0] = letter;
        e.length = 1 + FormatNumberTo(e.text + 1, decimals_, v);
        e.bits = bits;
        e.letter = letter;
        e.valid = true;
        e.lastUse = clock_;
        return {e.text, e.length};
    }

    static constexpr int kEntries = 8;

private:
    struct Entry {
        std::uint64_t bits = 0;
        char letter = 0;
        bool valid = false;
        std::uint64_t lastUse = 0;
        std::size_t length = 0;
        char text[kFormatNumberMax + 1];
    };
    Entry entries_[kEntries];
    std::uint64_t clock_ = 0;
    std::uint8_t decimals_ = 2;
};
