#include "platform/AltNumpadEntry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

std::optional<char> Enter(const std::string& Digits)
{
    TAltNumpadEntry entry;
    for (char d : Digits)
        entry.AddDigit(d - '0');
    return entry.Finish();
}

TEST(AltNumpadEntry, ALeadingZeroMeansTheWindowsCodePageOtherwiseTheOemOne)
{
    struct Case {
        const char* digits;
        std::optional<char> expected;
    } cases[] = {
        {"0228", '\xE4'},        // ä in Windows-1252
        {"132", '\xE4'},         // ä in code page 850
        {"225", '\xDF'},         // ß in code page 850
        {"0128", '\x80'},        // the euro sign
        {"65", 'A'},             {"065", 'A'},
        {"321", 'A'},            // modulo 256
        {"196", std::nullopt},   // a box-drawing character Windows-1252 does not have
        {"0", std::nullopt},     {"256", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Enter(c.digits), c.expected) << c.digits;
}

TEST(AltNumpadEntry, FinishingOrCancellingStartsAnew)
{
    TAltNumpadEntry entry;
    entry.AddDigit(6);
    EXPECT_TRUE(entry.Active());
    entry.Cancel();
    EXPECT_FALSE(entry.Active());
    entry.AddDigit(0);
    entry.AddDigit(6);
    entry.AddDigit(6);
    EXPECT_EQ(entry.Finish(), 'B');
    EXPECT_FALSE(entry.Active());
    entry.AddDigit(6);
    entry.AddDigit(7);
    EXPECT_EQ(entry.Finish(), 'C');  // no leading 0 left over from before
}

}  // namespace
