#include "simulation/LineWords.h"

#include "generation/GetWord.h"
#include "simulation/Replay.h"

void ReadLineWords(std::string_view line, LineWords& w) {
    w = LineWords{};
    if (line.empty()) return;
    w.empty = false;
    auto read = [&](char letter, std::uint8_t bit, double& value) {
        const std::string_view word = GetWordView(line, letter);
        if (word.empty()) return;
        w.has |= bit;
        if (ParseWordValue(word, value)) w.bad |= bit;
    };
    read('G', LineWords::kG, w.g);
    read('X', LineWords::kX, w.x);
    read('Y', LineWords::kY, w.y);
    read('Z', LineWords::kZ, w.z);
}
