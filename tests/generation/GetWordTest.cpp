#include "generation/GetWord.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Case {
    const char* line;
    char letter;
    const char* word;
};

TEST(GetWord, ReadsTheFirstOccurrenceOfTheLetter) {
    const Case cases[] = {
        {"G1 X12.5 Y-3 Z-1", 'X', "X12.5"},
        {"G1 X12.5 Y-3 Z-1", 'G', "G1"},
        {"G1 X12.5 Y-3 Z-1", 'Y', "Y-3"},
        {"G0Z1", 'G', "G0"},
        {"G0Z1", 'Z', "Z1"},
        {"G Z1", 'G', "G0"},          // a bare letter reads as 0
        {"G1 X1", 'Z', ""},           // a missing letter gives nothing
        {"(X5) X7", 'X', "X5"},       // comments count
        {"x5 X7", 'X', "X7"},         // case-sensitive
        {"X1.2.3", 'X', "X1.2.3"},    // the run takes every sign, point and digit
        {"XX5", 'X', "XX5"},          // the letter itself belongs to the run
        {"G3 X1 Y2 I0 J0 ", 'I', "I0"},
        {"X+-5Y1", 'X', "X+-5"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetWord(c.line, c.letter), c.word) << c.line << " / " << c.letter;
    }
}

TEST(GetWord, OnlyTheFirst255CharactersCount) {
    auto umlauts = [](int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += "\xC3\xA4";  // ä, two bytes
        return s;
    };
    const struct Case {
        std::string line;
        const char* word;
    } cases[] = {
        {std::string(254, ' ') + "X123", "X0"},  // the letter is the 255th character
        {std::string(255, ' ') + "X1", ""},
        // A comment of umlauts: the word lies past the 255th byte, but within the first 255
        // characters.
        {"(" + umlauts(130) + ") X5", "X5"},
        {"(" + umlauts(251) + ") X5", "X0"},
        {"(" + umlauts(252) + ") X5", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetWord(c.line, 'X'), c.word) << c.line.size() << " bytes";
    }
}

}  // namespace
