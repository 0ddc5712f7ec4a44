#include "generation/WordCache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One point asks for up to seven words, some of them again; every view it holds must keep
// its own text however the found and the newly formatted words interleave.
TEST(WordCache, WordsOfOnePointStayIntact) {
    WordCache cache;
    cache.SetDecimals(2);
    for (int start = 0; start < 40; ++start) {
        const double values[] = {start * 0.5, 7.25, start * 0.5 + 1, -3.5, start * 0.5, 7.25, 1.0 + start};
        const char letters[] = {'X', 'Y', 'Z', 'X', 'Y', 'Z', 'Z'};
        std::vector<std::string_view> views;
        for (int i = 0; i < 7; ++i) views.push_back(cache.Word(letters[i], values[i]));
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(std::string(views[std::size_t(i)]), letters[i] + FormatNumber(2, values[i]))
                << "point " << start << " word " << i;
    }
}

TEST(WordCache, DecimalsChangeTheWords) {
    WordCache cache;
    cache.SetDecimals(3);
    EXPECT_EQ(cache.Word('X', 1.23456), "X1.235");
    cache.SetDecimals(1);
    EXPECT_EQ(cache.Word('X', 1.23456), "X1.2");
}

}  // namespace
