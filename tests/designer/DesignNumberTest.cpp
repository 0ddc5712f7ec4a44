#include "designer/DesignNumber.h"

#include "platform/IntlSource.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct FormatCase {
    double value;
    char separator;
    const char* text;
};

TEST(DesignNumber, GeneralFormatHasFifteenDigitsAndExponentForms) {
    const double inf = std::numeric_limits<double>::infinity();
    const FormatCase cases[] = {
        {0, ',', "0"},
        {-0.0, ',', "0"},
        {12.5, ',', "12,5"},
        {12.5, '.', "12.5"},
        {-3, ',', "-3"},
        {600, ',', "600"},
        {0.1 + 0.2, '.', "0.3"},                       // 15 digits hide the binary error
        {1.0 / 3, '.', "0.333333333333333"},
        {2.0 / 3, '.', "0.666666666666667"},           // rounded, not cut
        {999999999999999, '.', "999999999999999"},     // 15 integer digits: still fixed
        {1e15, '.', "1E15"},
        {1234567890123456789.0, ',', "1,23456789012346E18"},
        {0.0001, ',', "0,0001"},
        {0.00001, ',', "1E-5"},
        {-1.5e-7, '.', "-1.5E-7"},
        {-2.25e20, ',', "-2,25E20"},
        {std::nan(""), '.', "NAN"},
        {inf, '.', "INF"},
        {-inf, '.', "-INF"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(FormatGeneral(c.value, c.separator), c.text) << c.text;
}

struct ParseCase {
    const char* text;
    char separator;
    std::optional<double> value;
};

TEST(DesignNumber, ReaderTakesOnlyTheLocaleSeparator) {
    const ParseCase cases[] = {
        {"12,5", ',', 12.5},
        {"12.5", '.', 12.5},
        {"12.5", ',', std::nullopt},  // a point where the locale has a comma
        {"12,5", '.', std::nullopt},
        {" -1,5E3 ", ',', -1500},
        {"+2e-2", '.', 0.02},
        {"1E15", ',', 1e15},
        {"5,", ',', 5},
        {",5", ',', 0.5},
        {",", ',', std::nullopt},
        {"", ',', std::nullopt},
        {"1e", '.', std::nullopt},
        {"1e400", '.', std::nullopt},
        {"INF", '.', std::nullopt},
        {"NAN", '.', std::nullopt},
        {"1,2,3", ',', std::nullopt},
        {"12a", '.', std::nullopt},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(ParseGeneral(c.text, c.separator), c.value) << c.text;
}

TEST(DesignNumber, WrittenValuesReadBackToFifteenDigits) {
    const double values[] = {12.5, 0.1, 1.0 / 3, 1e-9, 123456.789, 9999, 1e300, -0.0001234, 5e-324};
    for (const char sep : {',', '.'})
        for (const double v : values) {
            const auto back = ParseGeneral(FormatGeneral(v, sep), sep);
            ASSERT_TRUE(back.has_value()) << FormatGeneral(v, sep);
            EXPECT_EQ(FormatGeneral(*back, sep), FormatGeneral(v, sep));
            EXPECT_NEAR(*back, v, std::fabs(v) * 1e-14);
        }
}

TEST(DesignNumber, SeparatorComesFromTheInternationalSettings) {
    IntlSettings german;
    german.sDecimal = ",";
    SetIntlSettingsOverride(german);
    EXPECT_EQ(FloatToStr(12.5), "12,5");
    EXPECT_EQ(StrToFloat("12,5"), 12.5);
    EXPECT_EQ(StrToFloat("12.5"), std::nullopt);
    ClearIntlSettingsOverride();
}

TEST(DesignNumber, IntegersAreDecimalWithinThirtyTwoBits) {
    EXPECT_EQ(StrToInt(" 12 "), 12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("-7"), -7);
    EXPECT_EQ(StrToInt("+-7"), std::nullopt);
    EXPECT_EQ(StrToInt("2147483648"), std::nullopt);
    EXPECT_EQ(StrToInt("1.0"), std::nullopt);
    EXPECT_EQ(StrToInt(""), std::nullopt);
}

}  // namespace
