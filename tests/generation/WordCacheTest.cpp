#include "generation/WordCache.h"

#include <gtest/gtest.h>

#include <random>
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

// Any sequence of requests: a view stays intact while at most seven further words are asked
// for, whether they are found again or formatted.
TEST(WordCache, ViewsSurviveSevenFurtherRequestsInAnyOrder) {
    WordCache cache;
    cache.SetDecimals(2);
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> pick(0, 11), letterPick(0, 2);
    struct Held {
        std::string_view view;
        std::string expected;
    };
    std::vector<Held> held;
    for (int n = 0; n < 20000; ++n) {
        const char letter = "XYZ"[letterPick(rng)];
        const double v = pick(rng) * 0.25;
        held.push_back({cache.Word(letter, v), letter + FormatNumber(2, v)});
        if (held.size() > 8) held.erase(held.begin());
        for (const Held& h : held) ASSERT_EQ(std::string(h.view), h.expected) << "request " << n;
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
