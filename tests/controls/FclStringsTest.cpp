#include <gtest/gtest.h>

#include <string>

#include "controls/FclStrings.h"

namespace {

TEST(NumberTexts, Digits)
{
    EXPECT_EQ(BinaryText(0), std::string(32, '0'));
    EXPECT_EQ(BinaryText(0x80000005u), "10000000000000000000000000000101");
    EXPECT_EQ(HexWordText(0xBEEF), "BEEF");
    EXPECT_EQ(HexWordText(0x000A), "000A");
    EXPECT_EQ(HexText(0x0012ABCDu), "0012ABCD");
    EXPECT_EQ(OctalText(0), "000000000000");
    EXPECT_EQ(OctalText(8), "000000000010");
    EXPECT_EQ(OctalText(0xFFFFFFFFu), "037777777777");
    EXPECT_EQ(FillText('x', 3), "xxx");
    EXPECT_EQ(FillText('x', 1000).size(), kMaxTextLength);
}

TEST(TextEditing, InsertAndDelete)
{
    std::string p = "abcd";
    DeleteChar(p, 1);
    EXPECT_EQ(p, "acd");
    DeleteChar(p, 3);  // outside: nothing
    EXPECT_EQ(p, "acd");
    InsertChar(p, 'b', 1);
    EXPECT_EQ(p, "abcd");
    InsertChar(p, 'e', 99);
    EXPECT_EQ(p, "abcde");
    DeleteChars(p, 1, 2);
    EXPECT_EQ(p, "ade");
    DeleteChars(p, 1, 50);
    EXPECT_EQ(p, "a");
    DeleteChars(p, 5, 1);
    EXPECT_EQ(p, "a");
    InsertText(p, "xyz", 0);
    EXPECT_EQ(p, "xyza");
    InsertText(p, "", 2);
    EXPECT_EQ(p, "xyza");
    InsertChars(p, '-', 2, 3);
    EXPECT_EQ(p, "xy---za");
    InsertChars(p, '+', 100, 2);
    EXPECT_EQ(p, "xy---za++");
}

TEST(TextEditing, NeverGrowsPast255Characters)
{
    std::string full(kMaxTextLength, 'a');
    full.back() = 'z';
    std::string p = full;
    InsertChar(p, 'b', 0);
    EXPECT_EQ(p.size(), kMaxTextLength);
    EXPECT_EQ(p.front(), 'b');
    EXPECT_EQ(p.back(), 'a');  // the last character was pushed out

    p = full;
    InsertChar(p, 'b', 300);
    EXPECT_EQ(p, full);

    p = "abc";
    InsertText(p, std::string(400, 'x'), 1);
    EXPECT_EQ(p.size(), kMaxTextLength);
    EXPECT_EQ(p.substr(0, 2), "ax");

    p = "abc";
    InsertChars(p, '0', 0, 1000);
    EXPECT_EQ(p, std::string(kMaxTextLength, '0'));
}

TEST(TextSearch, FindAndCopy)
{
    std::size_t pos = 77;
    EXPECT_FALSE(FindChar("", 'a', pos));
    EXPECT_FALSE(FindChar("bcd", 'a', pos));
    EXPECT_EQ(pos, 77u);
    EXPECT_TRUE(FindChar("banana", 'a', pos));
    EXPECT_EQ(pos, 1u);

    EXPECT_FALSE(FindText("abc", "", pos));
    EXPECT_FALSE(FindText("ab", "abc", pos));
    EXPECT_FALSE(FindText("abcabc", "cb", pos));
    EXPECT_TRUE(FindText("abcabc", "ca", pos));
    EXPECT_EQ(pos, 2u);
    EXPECT_TRUE(FindText("abc", "abc", pos));
    EXPECT_EQ(pos, 0u);

    EXPECT_EQ(CopyPart("abcdef", 2, 3), "cde");
    EXPECT_EQ(CopyPart("abcdef", 4, 10), "ef");
    EXPECT_EQ(CopyPart("abcdef", 6, 1), "");
    EXPECT_EQ(CopyPart("", 0, 1), "");
}

TEST(TextTrimming, TrimRoutines)
{
    const struct {
        void (*trim)(std::string&);
        const char* name;
        const char* in;
        const char* out;
    } cases[] = {
        {TrimBlanks, "TrimBlanks", "  a b  ", "a b"},
        {TrimBlanks, "TrimBlanks", "   ", ""},
        {TrimBlanks, "TrimBlanks", "\ta\t", "\ta\t"},
        {TrimTrailingControl, "TrimTrailingControl", " a \r\n\t\x01", " a"},
        {TrimTrailingControl, "TrimTrailingControl", "\r\n", ""},
        {TrimTrailingZeros, "TrimTrailingZeros", "1.500", "1.5"},
        {TrimTrailingZeros, "TrimTrailingZeros", "2.000", "2"},
        {TrimTrailingZeros, "TrimTrailingZeros", " 0.0", "0"},
        {TrimTrailingZeros, "TrimTrailingZeros", "10.", "10"},
        {TrimTrailingZeros, "TrimTrailingZeros", "100", "100"},
        {TrimTrailingZeros, "TrimTrailingZeros", "0", "0"},
        {TrimTrailingZeros, "TrimTrailingZeros", "1.5E+10", "1.5E+10"},
        {TrimTrailingZeros, "TrimTrailingZeros", "", ""},
        {TrimExponentZeros, "TrimExponentZeros", "1.7000E+0038", "1.7E+38"},
        {TrimExponentZeros, "TrimExponentZeros", "1.0E+0000", "1"},
        {TrimExponentZeros, "TrimExponentZeros", "-2.50E-0007", "-2.5E-7"},
        {TrimExponentZeros, "TrimExponentZeros", "3.E+10", "3E+10"},
        {TrimExponentZeros, "TrimExponentZeros", "100E+05", "100E+5"},
        {TrimExponentZeros, "TrimExponentZeros", "5E0", "5"},
        {TrimExponentZeros, "TrimExponentZeros", "1.5", "1.5"},
    };
    for (const auto& c : cases) {
        std::string p = c.in;
        c.trim(p);
        EXPECT_EQ(p, c.out) << c.name << "(\"" << c.in << "\")";
    }
}

TEST(ParseLongInt, ValuesAndErrorPositions)
{
    const struct {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"0", true, 0},
        {"0x1F", true, 31},
        {"$ff", true, 255},
        {"-$10", true, -16},
        {"$FFFFFFFF", true, -1},
        {"  -12 \r\n", true, -12},
        {"+7", true, 7},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"12a", false, 2},
        {"2147483648", false, 9},
        {"$100000000", false, 9},
        {"0x12G", false, 4},
        {"1 2", false, 1},
        {"-", false, 1},
        {"", false, 0},
        {"$", false, 1},
    };
    for (const auto& c : cases) {
        std::int32_t v = 12345;
        EXPECT_EQ(ParseLongInt(c.text, v), c.ok) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
    }
    std::int32_t v = 0;
    EXPECT_TRUE(ParseLongInt(std::string(254, ' ') + "5", v));
    EXPECT_EQ(v, 5);
    EXPECT_FALSE(ParseLongInt(std::string(255, ' ') + "5", v));
    EXPECT_EQ(v, -1);
}

TEST(CaseMapping, Windows1252)
{
    EXPECT_EQ(UpCaseChar('a'), 'A');
    EXPECT_EQ(UpCaseChar('1'), '1');
    EXPECT_EQ(UpCaseChar('\xE4'), '\xC4');  // ä
    EXPECT_EQ(UpCaseChar('\xFF'), '\x9F');  // ÿ
    EXPECT_EQ(UpCaseChar('\x9A'), '\x8A');  // š
    EXPECT_EQ(UpCaseChar('\xDF'), '\xDF');  // ß has no single upper case
    EXPECT_EQ(LoCaseChar('\xC9'), '\xE9');  // É
    EXPECT_EQ(LoCaseChar('Z'), 'z');
}

} // namespace
