#include "generation/NumberFormat.h"

#include "generation/WordCache.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace {

struct FormatCase {
    int decimals;
    double value;
    const char* text;
};

TEST(FormatNumber, WritesFixedTextWithoutTrailingZeros) {
    const FormatCase cases[] = {
        {2, 0.0, "0"},        {0, 0.0, "0"},         {3, -0.0, "0"},
        {0, 10, "10"},        {0, 100, "100"},       {0, 2.5, "3"},       {0, -2.5, "-3"},
        {2, 2.5, "2.5"},      {3, 600, "600"},       {3, 12.5, "12.5"},   {2, 0.125, "0.13"},
        {2, 2.675, "2.67"},   {2, 0.015, "0.01"},    {2, -0.001, "-0"},   {2, -0.005, "-0.01"},
        {2, -4.980392156862745, "-4.98"},            {1, 0.05, "0.1"},    {1, 0.25, "0.3"},
        {3, 1.0005, "1"},     {3, 600.0 / 7, "85.714"}, {2, 999.996, "1000"},
        {2, 1e20, "100000000000000000000"},          {3, 123456789012.3456, "123456789012.346"},
        {2, 0.004, "0"},      {2, 0.006, "0.01"},    {3, 1e-10, "0"},     {1, -0.04, "-0"},
        {12, 0.1, "0.1"},     {20, 0.1, "0.100000000000000006"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(std::uint8_t(c.decimals), c.value), c.text)
            << c.value << " with " << c.decimals << " decimals";
}

TEST(FormatNumber, FastPathAgreesWithExactMethod) {
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> magnitude(-3, 9);
    std::uniform_int_distribution<int> decimals(0, 3), units(0, 2000000), sign(0, 1);
    char fast[kFormatNumberMax], exact[kFormatNumberMax];
    auto check = [&](int d, double v) {
        const std::size_t a = FormatNumberTo(fast, std::uint8_t(d), v);
        const std::size_t b = FormatNumberExact(exact, std::uint8_t(d), v);
        ASSERT_EQ(std::string(fast, a), std::string(exact, b)) << v << " d=" << d;
    };
    for (int i = 0; i < 1000000; ++i) {
        const int d = decimals(rng);
        // Random magnitudes, and values at and next to the ties of d decimals.
        check(d, (sign(rng) ? -1 : 1) * std::pow(10.0, magnitude(rng)));
        const double tie = (units(rng) + 0.5) / std::pow(10.0, d);
        check(d, tie);
        check(d, std::nextafter(tie, 0.0));
        check(d, std::nextafter(tie, 1e300));
        check(d, -tie);
    }
}

TEST(FormatNumber, AValueThatIsNotFiniteIsAnErrorNotAWord) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (int d : {0, 2, 3, 12}) {
        for (double bad : {nan, inf, -inf}) {
            EXPECT_THROW(FormatNumber(std::uint8_t(d), bad), Exception) << d << " " << bad;
            char out[kFormatNumberMax];
            EXPECT_THROW(FormatNumberExact(out, std::uint8_t(d), bad), Exception);
        }
    }
    EXPECT_EQ(FormatNumber(2, 1e308).size(), 309u);  // the largest finite values still are numbers
    // The word cache keeps no half-made word behind the error.
    WordCache words;
    EXPECT_EQ(words.Word('Z', -1.5), "Z-1.5");
    EXPECT_THROW(words.Word('Z', nan), Exception);
    EXPECT_THROW(words.Word('Z', nan), Exception);
    EXPECT_EQ(words.Word('Z', -1.5), "Z-1.5");
    EXPECT_EQ(words.Word('Z', 2), "Z2");
}

TEST(Conversions, RefuseWhatNoIntegerHolds) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double bad : {nan, inf, -inf, 3e9, -3e9}) {
        EXPECT_FALSE(TruncToInt32(bad).has_value()) << bad;
        EXPECT_FALSE(RoundToInt32(bad).has_value()) << bad;
    }
    EXPECT_FALSE(TruncToInt64(1e19).has_value());
    EXPECT_EQ(*TruncToInt32(-2.9), -2);
    EXPECT_EQ(*TruncToInt32(2.9), 2);
    EXPECT_EQ(*RoundToInt32(2.5), 2);  // halves to even
    EXPECT_EQ(*RoundToInt32(3.5), 4);
    EXPECT_EQ(*RoundToInt32(-2.5), -2);
}

TEST(SnapToEdge, SnapsWithinOneThousandth) {
    EXPECT_EQ(SnapToEdge(600.0005, 600), 600);
    EXPECT_EQ(SnapToEdge(599.9995, 600), 600);
    EXPECT_EQ(SnapToEdge(600.002, 600), 600.002);
    EXPECT_EQ(SnapToEdge(-0.0009, 0), 0);
}

}  // namespace
