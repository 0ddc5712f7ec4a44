#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "controls/FclRangeSlot.h"
#include "controls/FclRealText.h"

namespace {

TFclExtended Bytes(std::initializer_list<int> list)
{
    TFclExtended b{};
    std::size_t i = 0;
    for (int v : list)
        b[i++] = static_cast<std::uint8_t>(v);
    return b;
}

// The 80-bit form byte by byte: significand little-endian with its explicit leading bit,
// then sign and exponent biased by 16383.
TEST(ExtendedFormat, KnownBitPatterns)
{
    struct Case {
        long double value;
        TFclExtended bytes;
    };
    const Case cases[] = {
        {1.0L, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F})},
        {-2.0L, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0x00, 0xC0})},
        {0.0L, Bytes({0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {10.0L, Bytes({0, 0, 0, 0, 0, 0, 0, 0xA0, 0x02, 0x40})},
        {0.5L, Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F})},
        {std::numeric_limits<long double>::infinity(), Bytes({0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeExtended(c.value), c.bytes) << static_cast<double>(c.value);
        EXPECT_EQ(DecodeExtended(c.bytes), c.value) << static_cast<double>(c.value);
    }
}

TEST(ExtendedFormat, RoundTripsTheLimitsOfEveryRealType)
{
    for (long double v : {1.1e4932L, -1.1e4932L, 1.7e308L, 3.4e38L, -9.2e18L, 0.1L, 999.99L,
                          static_cast<long double>(1.7e38), 4e-4940L}) {
        EXPECT_EQ(DecodeExtended(EncodeExtended(v)), v) << static_cast<double>(v);
    }
    EXPECT_TRUE(std::isnan(DecodeExtended(EncodeExtended(std::nanl("")))));
    // An unnormal pattern (exponent set, leading bit clear) is not a number.
    EXPECT_TRUE(std::isnan(DecodeExtended(Bytes({0, 0, 0, 0, 0, 0, 0, 0x40, 0xFF, 0x3F}))));
}

// A Real field's limit is the double in the first 8 bytes and 2 zero bytes; integer limits
// the 32-bit value and six zero bytes.
TEST(RangeSlot, LayoutOfDoubleAndIntegerSlots)
{
    TFclRangeSlot s{};
    s.fill(0xEE);
    SetSlotDouble(s, 1.0);
    EXPECT_EQ(s, Bytes({0, 0, 0, 0, 0, 0, 0xF0, 0x3F, 0, 0}));
    EXPECT_EQ(SlotDouble(s), 1.0);
    s.fill(0xEE);
    SetSlotLongInt(s, -2);
    EXPECT_EQ(s, Bytes({0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(SlotLongInt(s), -2);
}

TEST(FixRealText, TidiesTypedNumbers)
{
    struct Case {
        const char* text;
        char decimal;
        const char* expected;
    };
    const Case cases[] = {
        {"", ',', "0"},
        {"   ", '.', "0"},
        {"5,", ',', "5"},
        {"-,5", ',', "-0.5"},
        {"1E5", '.', "1.00000E5"},
        {"   12.500", ',', "   12.500"},
        {"   25,5  ", ',', "   25.5"},
        {"   . ", ',', ".0"},
        {"   . ", '.', ""},
        {"12 . 5", '.', "12.5"},
        {"1000", '.', "1000"},
    };
    for (const Case& c : cases) {
        std::string s = c.text;
        FixRealText(s, c.decimal);
        EXPECT_EQ(s, c.expected) << "«" << c.text << "» under " << c.decimal;
    }
}

TEST(ParseRealText, AcceptsNumbersOnly)
{
    struct Case {
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {"   12.5", true, 12.5}, {"-0.5", true, -0.5}, {"+3", true, 3}, {".0", true, 0},
        {"1.00000E5", true, 1e5}, {"1e-3", true, 0.001}, {"5.", true, 5},
        {"", false, 0}, {"abc", false, 0}, {"  1-2.000", false, 0}, {"inf", false, 0},
        {"nan", false, 0}, {"12.5 ", false, 0}, {"1,5", false, 0}, {"0x10", false, 0},
        {"1E", false, 0}, {"1e999", false, 0},
    };
    for (const Case& c : cases) {
        double v = -7;
        EXPECT_EQ(ParseRealText(c.text, v), c.ok) << "«" << c.text << "»";
        if (c.ok) {
            EXPECT_EQ(v, c.value) << "«" << c.text << "»";
        }
    }
}

TEST(NumberTexts, FixedScientificAndShortest)
{
    EXPECT_EQ(FixedText(12.5L, 3), "12.500");
    EXPECT_EQ(FixedText(-0.0001L, 3), "0.000");  // no "-" on a zero
    EXPECT_EQ(FixedText(999.99L, 1), "1000.0");
    EXPECT_EQ(ScientificText(1.7e38L, 12), " 1.700E+0038");
    EXPECT_EQ(ScientificText(-1.5e-7L, 9), "-1.5E-0007");
    EXPECT_EQ(ShortestText(999.99), "999.99");
    EXPECT_EQ(ShortestText(1.7e38), "1.7E+38");
    EXPECT_EQ(LongIntText(-2147483647 - 1), "-2147483648");
}

} // namespace
