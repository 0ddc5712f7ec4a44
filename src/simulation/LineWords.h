#pragma once
// The words X, Y, Z and G of one program line as the replay reads them, without the
// replay's state, so that the lines of a long program can be read on several threads
// ahead of the replay.
#include <cstdint>
#include <string_view>

struct LineWords {
    enum : std::uint8_t { kG = 1, kX = 2, kY = 4, kZ = 8 };
    bool empty = true;     // the line is empty
    std::uint8_t has = 0;  // the word is in the line
    std::uint8_t bad = 0;  // ... but its value does not read
    double g = 0, x = 0, y = 0, z = 0;
};

// The words of the line (GetWord of each letter, its value by ParseWordValue).
void ReadLineWords(std::string_view line, LineWords& words);
