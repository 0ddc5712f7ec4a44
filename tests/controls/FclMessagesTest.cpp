#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/FclExceptions.h"
#include "controls/FclMessages.h"

namespace {

struct NumberRun {
    std::uint32_t first;
    std::uint32_t last;
};

constexpr NumberRun kRuns[] = {{30168, 30228}, {30232, 30239}, {30241, 30266}, {30268, 30283},
    {30285, 30337}, {30368, 30385}, {30387, 30395}, {30400, 30403}, {30500, 30521},
    {33768, 33843}, {34068, 34083}, {34468, 34491}, {34493, 34510}, {34518, 34541}};

bool InRuns(std::uint32_t n)
{
    return std::any_of(std::begin(kRuns), std::end(kRuns),
                       [n](const NumberRun& r) { return n >= r.first && n <= r.last; });
}

TEST(MessageTable, HoldsExactlyTheNumbersOfTheRunsInOrder)
{
    std::vector<std::uint32_t> expected;
    for (const NumberRun& r : kRuns)
        for (std::uint32_t n = r.first; n <= r.last; ++n)
            expected.push_back(n);
    ASSERT_EQ(expected.size(), 375u);

    const auto table = MessageTable();
    ASSERT_EQ(table.size(), kMessageCount);
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].Number, expected[i]) << "entry " << i;
        EXPECT_NE(std::string(table[i].Text), "") << table[i].Number;
        // The search lands on this very entry, the last one included.
        EXPECT_EQ(GetMessageText(static_cast<std::uint16_t>(table[i].Number)), table[i].Text)
            << table[i].Number;
    }
}

TEST(MessageTable, EveryNumberOutsideTheRunsIsMissing)
{
    // Includes every gap and both ends, so a search that stops on a neighbour shows up here.
    for (std::uint32_t n = 0; n <= 0xFFFF; ++n) {
        const auto number = static_cast<std::uint16_t>(n);
        if (InRuns(n)) {
            ASSERT_NE(FindMessageText(number), "") << n;
        } else {
            ASSERT_EQ(FindMessageText(number), "") << n;
            ASSERT_EQ(GetMessageText(number), "Unknown") << n;
        }
    }
}

TEST(MessageTable, TextsAsTheLibraryUsesThem)
{
    const struct {
        std::uint16_t number;
        const char* text;
    } cases[] = {
        {30168, "Unknown Error condition"},
        {30169, "Duplicate command found while adding a new command to the table"},
        {30170, "Command table not found or command table index out of range"},
        {30179, "Value is not within required range"},
        {30185, "This field should be either empty or completely full"},
        {30188, "Parameter value is invalid"},
        {30189, "No Window's timers are available"},
        {30194, "Invalid data type for this field"},
        {30202, "Invalid picture mask: %s"},
        {30203, "Invalid range. Enter a value between (%d) and (%d)"},
        {30205, "Invalid range. Enter a value between (-1.1e+4932) and (+1.1e+4932)"},
        {30211, "Invalid range value"},
        {30244, "Label not attached"},
        {30266, "Grid"},
        {30268, "(None)"},
        {30273, "Enter new table name for %s:"},
        {30275, "Default"},
        {30276, "WordStar"},
        {30277, "(Unknown)"},
        {30278, "Entry Error"},
        {30279, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"},
        {30280, "Wy"},
        {30287, "&Restore"},
        {30292, "Select &All"},
        {30368, "Y"}, {30369, "N"}, {30370, "T"}, {30371, "F"},
        {30372, "Hours"}, {30375, "Close"},
        {30500, "Black"}, {30521, "Cream"},
        {33768, "ccNone"}, {33768 + 7, "ccCtrlChar"}, {33768 + 32, "ccGotoMarker0"},
        {33768 + 41, "ccGotoMarker9"}, {33768 + 42, "ccHome"}, {33768 + 58, "ccSetMarker0"},
        {33768 + 72, "ccUndo"}, {33843, "ccWordRight"},
        {34068, "String"}, {34068 + 3, "YesNo"}, {34068 + 13, "Comp"}, {34083, "Time"},
        {34468, "X  any character"}, {34483, "Y  Y or N (upper)"}, {34484, "1  User 1"},
        {34491, "8  User 8"},
        {34501, "iiiiiiiiii          Allows entry of 0 through 9, space, and minus"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetMessageText(c.number), c.text) << c.number;
}

TEST(MessageTable, SampleMasksArePaddedToTwentyCharacters)
{
    for (const SrMsgNumLookupRec& e : MessageTable()) {
        if (e.Number < 34493)
            continue;
        const std::string text = e.Text;
        ASSERT_GT(text.size(), 20u) << e.Number;
        EXPECT_NE(text[0], ' ') << e.Number;
        EXPECT_EQ(text[19], ' ') << e.Number;
        EXPECT_NE(text[20], ' ') << e.Number;
    }
}

TEST(AlphaCharSet, HoldsLettersAndTheFourPunctuationCharacters)
{
    const auto& set = AlphaCharSet();
    for (unsigned char c : std::string(" ,-.AZaz"))
        EXPECT_TRUE(set.test(c)) << int(c);
    for (unsigned char c : std::string("09/@[`{_+"))
        EXPECT_FALSE(set.test(c)) << int(c);
    // Windows-1252: Š, Ÿ, À, é, ÿ are letters; €, ×, ÷, the no-break space are not.
    for (unsigned char c : {0x8A, 0x9F, 0xC0, 0xE9, 0xFF})
        EXPECT_TRUE(set.test(c)) << int(c);
    for (unsigned char c : {0x80, 0xD7, 0xF7, 0xA0, 0x7F})
        EXPECT_FALSE(set.test(c)) << int(c);
}

TEST(FormatMessageText, SubstitutesInOrder)
{
    EXPECT_EQ(FormatMessageText("(%d) and (%d)", {"-1", "2"}), "(-1) and (2)");
    EXPECT_EQ(FormatMessageText("mask: %s", {"99%"}), "mask: 99%");
    EXPECT_EQ(FormatMessageText("100%% %d %s", {"1"}), "100% 1 %s");
    EXPECT_EQ(FormatMessageText("end %", {"x"}), "end %");
}

TEST(FclExceptions, CarryTheirMessagesAndDeriveAsDeclared)
{
    try {
        throw EDuplicateCommand();
    } catch (const ECmdProcessorError& e) {
        EXPECT_STREQ(e.what(), "Duplicate command found while adding a new command to the table");
        EXPECT_EQ(e.HelpContext(), 0);
    }
    try {
        throw ETableNotFound();
    } catch (const EFclException& e) {
        EXPECT_EQ(e.Message(), GetMessageText(30170));
    }
    try {
        throw ENoTimersAvailable();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "No Window's timers are available");
    }
    try {
        throw EInvalidDataType();
    } catch (const EEntryFieldError& e) {
        EXPECT_EQ(e.Message(), "Invalid data type for this field");
    }
    try {
        throw EInvalidPictureMask("99.9i");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Invalid picture mask: 99.9i");
    }
    EXPECT_EQ(EEntryFieldError(GetMessageText(30180)).Message(), "Value is not valid for this field type");
}

TEST(FclExceptions, InvalidRangeValueByBaseType)
{
    const struct {
        std::uint8_t dataType;
        const char* text;
    } cases[] = {
        {0, "Invalid range value"},
        {3, "Invalid range value"},
        {4, "Invalid range. Enter a value between (-2147483648) and (2147483647)"},
        {5, "Invalid range. Enter a value between (0) and (65535)"},
        {6, "Invalid range. Enter a value between (-32768) and (32767)"},
        {128 + 6, "Invalid range. Enter a value between (-32768) and (32767)"},
        {7, "Invalid range. Enter a value between (0) and (255)"},
        {64 + 8, "Invalid range. Enter a value between (-128) and (127)"},
        {9, "Invalid range. Enter a value between (-1.7e+38) and (+1.7e+38)"},
        {10, "Invalid range. Enter a value between (-1.1e+4932) and (+1.1e+4932)"},
        {11, "Invalid range. Enter a value between (-1.7e+308) and (+1.7e+308)"},
        {12, "Invalid range. Enter a value between (-3.4e+38) and (+3.4e+38)"},
        {13, "Invalid range. Enter a value between (-9.2e+18) and (+9.2e+18)"},
        {16, "Invalid range value"},
        {63, "Invalid range value"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(EInvalidRangeValue(c.dataType).what(), c.text) << int(c.dataType);

    EXPECT_EQ(EInvalidRangeValue(14, "dd/mm/yyyy", "hh:mm").Message(),
              "Invalid date range. Enter a value using 'dd/mm/yyyy' as the format");
    EXPECT_EQ(EInvalidRangeValue(64 + 15, "dd/mm/yyyy", "hh:mm").Message(),
              "Invalid time range. Enter a value using 'hh:mm' as the format");
}

} // namespace
