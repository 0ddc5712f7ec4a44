#include <gtest/gtest.h>

#include <QDate>
#include <QLocale>
#include <QString>

#include "controls/FclDateTime.h"
#include "controls/FclExceptions.h"
#include "controls/FclIntlSup.h"

namespace {

IntlSettings German()
{
    return IntlSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
}

IntlSettings American()
{
    return IntlSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
}

// The library's instance built from an override, restored afterwards.
class IntlOverride : public ::testing::Test {
protected:
    void Use(const IntlSettings& s)
    {
        SetIntlSettingsOverride(s);
        RecreateFclIntlSup();
    }
    void TearDown() override
    {
        ClearIntlSettingsOverride();
        RecreateFclIntlSup();
    }
};

TEST(IntlSource, LocalesWithDecimalCommaAndDecimalPoint)
{
    const IntlSettings de = German();
    EXPECT_EQ(de.sDecimal, ",");
    EXPECT_EQ(de.sThousand, ".");
    EXPECT_EQ(de.sDate, ".");
    EXPECT_EQ(de.sTTime, ":");
    EXPECT_EQ(de.sShortDate, "dd.MM.yy");
    EXPECT_EQ(de.iTLZero, 1);
    EXPECT_EQ(de.iCurrency, 3);
    EXPECT_EQ(de.sCurrency, "\x80");  // the euro sign in Windows-1252
    EXPECT_EQ(de.LongMonthNames[2], "M\xE4rz");
    EXPECT_EQ(de.LongDayNames[0], "Sonntag");

    const IntlSettings us = American();
    EXPECT_EQ(us.sDecimal, ".");
    EXPECT_EQ(us.sThousand, ",");
    EXPECT_EQ(us.sDate, "/");
    EXPECT_EQ(us.sShortDate, "M/d/yy");
    EXPECT_EQ(us.iTLZero, 0);
    EXPECT_EQ(us.iCurrency, 0);
    EXPECT_EQ(us.s1159, "AM");
    EXPECT_EQ(us.s2359, "PM");

    const TFclIntlSup deSup(de);
    EXPECT_EQ(deSup.DecimalChar(), ',');
    EXPECT_EQ(deSup.ThousandsChar(), '.');
    EXPECT_FALSE(deSup.TwelveHourClock());
    EXPECT_EQ(deSup.CurrencyLeft(), "\x80");
    EXPECT_EQ(deSup.CurrencyRight(), " \x80");
    EXPECT_EQ(deSup.DateMask(false), "dd/mm/yy");
    EXPECT_EQ(deSup.DateMask(true), "dd/mm/yyyy");
    EXPECT_EQ(deSup.TimeMask(true), "hh:mm:ss");
    EXPECT_EQ(deSup.LongDateMask(), "wwww, d. nnnn yyyy");

    const TFclIntlSup usSup(us);
    EXPECT_EQ(usSup.DecimalChar(), '.');
    EXPECT_EQ(usSup.ThousandsChar(), ',');
    EXPECT_TRUE(usSup.TwelveHourClock());
    EXPECT_EQ(usSup.DateMask(false), "MM/DD/yy");
    EXPECT_EQ(usSup.DateMask(true), "MM/DD/yyyy");
    EXPECT_EQ(usSup.TimeMask(false), "Hh:mm tt");
    EXPECT_EQ(usSup.LongDateMask(), "wwww, nnnn d, yyyy");
}

// The bytes above ASCII go to their characters and back, the five bytes without one keep
// their own code, and upper and lower case stay inside the code page (Ÿ and ÿ are a pair).
TEST(IntlSource, Windows1252AboveAsciiToCharactersAndBack)
{
    struct Case {
        unsigned char byte;
        char16_t character;
        unsigned char lower, upper;
    } const cases[] = {
        {0x80, 0x20AC, 0x80, 0x80},  // €
        {0x81, 0x0081, 0x81, 0x81},  // no character
        {0x8A, 0x0160, 0x9A, 0x8A},  // Š
        {0x9A, 0x0161, 0x9A, 0x8A},  // š
        {0x9F, 0x0178, 0xFF, 0x9F},  // Ÿ
        {0xA0, 0x00A0, 0xA0, 0xA0},  // no-break space
        {0xC4, 0x00C4, 0xE4, 0xC4},  // Ä
        {0xE4, 0x00E4, 0xE4, 0xC4},  // ä
        {0xFF, 0x00FF, 0xFF, 0x9F},  // ÿ
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "0x" << std::hex << int(c.byte));
        const QString text = Win1252ToQString(std::string(1, char(c.byte)));
        ASSERT_EQ(text.size(), 1);
        EXPECT_EQ(text[0].unicode(), c.character);
        EXPECT_EQ(CharLowerA(c.byte), c.lower);
        EXPECT_EQ(CharUpperA(c.byte), c.upper);
    }
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string one(1, char(b));
        EXPECT_EQ(QStringToWin1252(Win1252ToQString(one)), one) << "0x" << std::hex << b;
    }
    EXPECT_EQ(QStringToWin1252(QString(QChar(0x0100))), "?");  // Ā has no byte
}

TEST(IntlSup, DefaultsAndFixedCharacters)
{
    const TFclIntlSup sup{IntlSettings{}};
    EXPECT_EQ(sup.CurrencyLeft(), "$");
    EXPECT_EQ(sup.CurrencyRight(), "$");
    EXPECT_EQ(sup.DecimalChar(), '.');
    EXPECT_EQ(sup.ThousandsChar(), ',');
    EXPECT_EQ(sup.DateSeparator(), '/');
    EXPECT_EQ(sup.TimeSeparator(), ':');
    EXPECT_EQ(sup.TrueChar(), 'T');
    EXPECT_EQ(sup.FalseChar(), 'F');
    EXPECT_EQ(sup.YesChar(), 'Y');
    EXPECT_EQ(sup.NoChar(), 'N');
    EXPECT_EQ(sup.ShortDateMask(), "MM/dd/yy");
    EXPECT_EQ(sup.DateMask(false), "mm/dd/yy");
    EXPECT_EQ(sup.DateMask(true), "mm/dd/yyyy");
    EXPECT_EQ(sup.LongDateMask(), "wwww, nnnn dd, yyyy");
    EXPECT_EQ(sup.TimeMask(true), "Hh:mm:ss tt");
}

TEST(IntlSup, SettingsReadingRules)
{
    IntlSettings s;
    s.sDecimal = ",";
    s.sThousand = ",";
    EXPECT_EQ(TFclIntlSup(s).DecimalChar(), '.');
    EXPECT_EQ(TFclIntlSup(s).ThousandsChar(), ',');
    s.sDecimal = ".";
    s.sThousand = ".";
    EXPECT_EQ(TFclIntlSup(s).DecimalChar(), '.');
    EXPECT_EQ(TFclIntlSup(s).ThousandsChar(), ',');

    s = IntlSettings{};
    s.sDecimal = "";           // empty: keeps the default
    s.sThousand = "'abcdefg";  // only the first character counts
    s.sCurrency = "EURO12";    // at most five characters
    s.iCurrency = 2;
    s.s1159 = "vormittags";
    s.iTLZero = 1;
    s.LongTimeFormat = "HH:mm:ss";
    const TFclIntlSup sup(s);
    EXPECT_EQ(sup.DecimalChar(), '.');
    EXPECT_EQ(sup.ThousandsChar(), '\'');
    EXPECT_EQ(sup.CurrencyLeft(), "EURO1");
    EXPECT_EQ(sup.CurrencyRight(), "EURO1");
    EXPECT_EQ(sup.AMText(), "vormi");
    EXPECT_FALSE(sup.TwelveHourClock());
    EXPECT_EQ(sup.TimeMask(true), "hh:mm:ss");
    EXPECT_EQ(sup.TimeMask(false), "hh:mm");
    // Only the AM/PM marker ends a twelve-hour format; minutes at the end do not.
    s.LongTimeFormat = "H:mm";
    EXPECT_FALSE(TFclIntlSup(s).TwelveHourClock());
    s.LongTimeFormat = "h:mm AMPM";
    EXPECT_TRUE(TFclIntlSup(s).TwelveHourClock());

    s.sCurrency = "kr";
    EXPECT_EQ(TFclIntlSup(s).CurrencyLeft(), "kr ");
    s.iCurrency = 3;
    EXPECT_EQ(TFclIntlSup(s).CurrencyLeft(), "kr");
    EXPECT_EQ(TFclIntlSup(s).CurrencyRight(), " kr");
}

TEST(IntlSup, MaskConversions)
{
    const struct {
        const char* shortDate;
        const char* sep;
        const char* maskNoCentury;
        const char* maskCentury;
    } shortCases[] = {
        {"dd.MM.yyyy", ".", "dd/mm/yyyy", "dd/mm/yyyy"},
        {"d.M.yy", ".", "DD/MM/yy", "DD/MM/yyyy"},
        {"yyyy-MM-dd", "-", "yyyy/mm/dd", "yyyy/mm/dd"},
        {"dd-MMM-yy", "-", "dd/nnn/yy", "dd/nnn/yyyy"},
        {"MM/dd", "/", "mm/dd", "mm/dd"},
    };
    for (const auto& c : shortCases) {
        IntlSettings s;
        s.sShortDate = c.shortDate;
        s.sDate = c.sep;
        const TFclIntlSup sup(s);
        EXPECT_EQ(sup.DateMask(false), c.maskNoCentury) << c.shortDate;
        EXPECT_EQ(sup.DateMask(true), c.maskCentury) << c.shortDate;
    }

    const struct {
        const char* longDate;
        const char* mask;
        const char* f;
        const char* g;
    } longCases[] = {
        {"dddd, d. MMMM yyyy", "wwww, d. nnnn yyyy", "", ""},
        {"d.MMMM,yyyy", "d. nnnn, yyyy", "", ""},
        {"dddd, d 'de' MMMM 'de' yyyy", "wwww, d ff nnnn gg yyyy", "de", "de"},
        {"'Heute ist' dddd", "ffffff wwww", "Heute ", ""},
        {"dddd dd 'unclosed", "wwww dd 'unclosed", "", ""},
    };
    for (const auto& c : longCases) {
        IntlSettings s;
        s.sLongDate = c.longDate;
        const TFclIntlSup sup(s);
        EXPECT_EQ(sup.LongDateMask(), c.mask) << c.longDate;
        EXPECT_EQ(sup.LiteralText(0), c.f) << c.longDate;
        EXPECT_EQ(sup.LiteralText(1), c.g) << c.longDate;
    }

    IntlSettings s;
    s.sLongDate = std::string(60, 'y');
    EXPECT_EQ(TFclIntlSup(s).LongDateMask().size(), 40u);
    s.sShortDate = std::string(60, 'y');
    EXPECT_EQ(TFclIntlSup(s).ShortDateMask().size(), 30u);
}

TEST(IntlSup, DateTextToDayNumber)
{
    const TFclIntlSup sup{IntlSettings{}};
    const auto dn = [](int d, int m, int y) { return DateToDayNumber(d, m, y, 0); };
    const struct {
        const char* mask;
        const char* text;
        int epoch;
        std::int32_t expected;
    } cases[] = {
        {"mm/dd/yyyy", "03/01/1600", 0, 60},
        {"mm/dd/yyyy", "03/01/160", 0, -1},    // one character short
        {"mm/dd/yyyy", "03/01/16000", 0, -1},
        {"MM/DD/yyyy", " 3/ 1/1600", 0, 60},
        {"mm/dd/yy", "02/29/00", 1950, dn(29, 2, 2000)},
        {"mm/dd/yy", "02/29/00", 1900, -1},     // 1900 is no leap year
        {"mm/dd/yy", "12/31/49", 1950, dn(31, 12, 2049)},
        {"mm/dd/yy", "12/31/50", 1950, dn(31, 12, 1950)},
        {"dd/mm/yyyy", "31/12/3999", 0, kLastDayNumber},
        {"dd/mm/yyyy", "01/01/4000", 0, -1},
        {"mm/dd/yyyy", "03/  /2000", 0, -1},    // blank day
        {"mm/dd/yyyy", "  /01/2000", 0, -1},    // blank month
        {"mm/dd/yyyy", "x3/01/2000", 0, -1},
        {"nnn dd, yyyy", "MAR 01, 1600", 0, 60},
        {"nnn dd, yyyy", "mar 01, 1600", 0, 60},
        {"nnn dd, yyyy", "XYZ 01, 1600", 0, -1},
        {"nnn dd, yyyy", "    01, 1600", 0, -1},
        {"mm/yyyy", "02/2004", 0, dn(1, 2, 2004)},  // no day: the first
    };
    for (const auto& c : cases)
        EXPECT_EQ(sup.DateTextToDayNumber(c.mask, c.text, c.epoch), c.expected)
            << c.mask << " \"" << c.text << "\" epoch " << c.epoch;

    // Without a year field the year is the one at start-up, without a month the month.
    EXPECT_EQ(sup.DateTextToDayNumber("dd/mm", "01/03", 0), dn(1, 3, DefaultYear));
    EXPECT_EQ(sup.DateTextToDayNumber("dd", "05", 0), dn(5, DefaultMonth, DefaultYear));
}

TEST(IntlSup, DayNumberToDateText)
{
    const TFclIntlSup sup{IntlSettings{}};
    const std::int32_t mar1 = 60;  // a Wednesday
    ASSERT_EQ(QDate(1600, 3, 1).dayOfWeek(), 3);
    const struct {
        const char* mask;
        std::int32_t day;
        bool pack;
        const char* text;
    } cases[] = {
        {"mm/dd/yyyy", mar1, false, "03/01/1600"},
        {"MM/DD/yyyy", mar1, false, " 3/ 1/1600"},
        {"MM/DD/yyyy", mar1, true, "3/1/1600"},
        {"mm/dd/yy", kLastDayNumber, false, "12/31/99"},
        {"mm/dd/yyyy", -1, false, "  /  /    "},
        {"MM/DD/yyyy", -1, true, "//    "},
        {"mm/dd/yyyy", kLastDayNumber + 1, false, "  /  /    "},
        {"wwwwwwwww, nnnnnnnnn dd, yyyy", mar1, false, "Wednesday, March     01, 1600"},
        {"wwwwwwwww, nnnnnnnnn dd, yyyy", mar1, true, "Wednesday, March 01, 1600"},
        {"WWW NNN dd", mar1, false, "WED MAR 01"},
        {"nn", mar1, false, "Ma"},
        {"y", mar1, false, "0"},
        {"", mar1, false, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sup.DayNumberToDateText(c.mask, c.day, c.pack), c.text)
            << c.mask << " " << c.day << (c.pack ? " packed" : "");
}

TEST(IntlSup, GermanDates)
{
    IntlSettings de = German();
    de.sShortDate = "dd.MM.yyyy";
    const TFclIntlSup sup(de);
    const std::string mask = sup.DateMask(true);
    EXPECT_EQ(mask, "dd/mm/yyyy");
    EXPECT_EQ(sup.DayNumberToDateText(mask, 60, false), "01.03.1600");
    EXPECT_EQ(sup.DateTextToDayNumber(mask, "01.03.1600", 0), 60);
    EXPECT_EQ(sup.MonthFromName("M\xC4R", 3), 3);
    EXPECT_EQ(sup.MonthFromName("m\xE4rz", 4), 3);
    EXPECT_EQ(sup.MonthFromName("MAR", 3), 0);
    EXPECT_EQ(sup.MonthFromName("JUNI", 6), 6);
    EXPECT_EQ(sup.MonthFromName("J", 1), 1);
    EXPECT_EQ(sup.MonthFromName("", 0), 0);
    EXPECT_EQ(sup.DayNumberToDateText("NNNN, dd", 60, false), "M\xC4RZ, 01");

    // Literal texts of the long date mask fill their runs.
    de.sLongDate = "'am' dddd, d. MMMM yyyy";
    const TFclIntlSup withLiteral(de);
    EXPECT_EQ(withLiteral.LongDateMask(), "ff wwww, d. nnnn yyyy");
    EXPECT_EQ(withLiteral.DayNumberToDateText("ff wwwwwwwww, d. nnnnnnnnn yyyy", 60, true),
              "am Mittwoch, 1. M\xE4rz 1600");
}

TEST(IntlSup, TimeTexts)
{
    const TFclIntlSup sup{American()};
    const struct {
        const char* mask;
        const char* text;
        std::int32_t seconds;
    } toSeconds[] = {
        {"hh:mm:ss", "01:01:01", 3661},
        {"hh:mm", "23:59", 86340},
        {"hh:mm", "24:00", -1},
        {"hh:mm", "  :30", -1},
        {"hh:mm", "1:30", -1},
        {"HH:mm", " 1:30", 5400},
        {"hh:mm tt", "12:30 AM", 1800},
        {"hh:mm tt", "12:30 pm", 45000},
        {"hh:mm tt", "01:00 PM", 46800},
        {"hh:mm tt", "11:59 AM", 43140},
        {"hh:mm tt", "00:30 AM", -1},
        {"hh:mm tt", "13:00 PM", -1},
        {"hh:mm tt", "01:00 XX", -1},
        {"hh:mm ttt", "01:00 PM ", 46800},
        {"mm:ss", "02:03", 123},
    };
    for (const auto& c : toSeconds)
        EXPECT_EQ(sup.TimeTextToSeconds(c.mask, c.text), c.seconds) << c.mask << " \"" << c.text << "\"";

    const struct {
        const char* mask;
        std::int32_t seconds;
        bool pack;
        const char* text;
    } toText[] = {
        {"hh:mm:ss", 3661, false, "01:01:01"},
        {"HH:MM:SS", 3661, false, " 1: 1: 1"},
        {"HH:MM:SS", 3661, true, "1:1:1"},
        {"Hh:mm tt", 0, false, "12:00 AM"},
        {"Hh:mm tt", 46800, false, " 1:00 PM"},
        {"Hh:mm tt", 46800, true, "1:00 PM"},
        {"Hh:mm tt", 43200, false, "12:00 PM"},
        {"hh:mm", -1, false, "  :  "},
        {"hh:mm tt", -1, true, "  :  "},
        {"hh:mm", 86400, false, "  :  "},
    };
    for (const auto& c : toText)
        EXPECT_EQ(sup.SecondsToTimeText(c.mask, c.seconds, c.pack), c.text)
            << c.mask << " " << c.seconds << (c.pack ? " packed" : "");

    IntlSettings dotted;
    dotted.sTTime = ".";
    dotted.s1159 = "";
    const TFclIntlSup other(dotted);
    EXPECT_EQ(other.SecondsToTimeText("hh:mm:ss", 3661, false), "01.01.01");
    // With only one of AM and PM set the clock stays at 24 hours and "t" shows nothing.
    EXPECT_EQ(other.SecondsToTimeText("hh:mm tt", 46800, false), "13.00   ");
    EXPECT_EQ(other.TimeTextToSeconds("hh:mm tt", "13:00 PM"), 46800);
    EXPECT_EQ(other.TimeMask(false), "Hh:mm tt");
}

TEST(IntlSup, DateTextIsBlank)
{
    const TFclIntlSup sup{IntlSettings{}};
    EXPECT_TRUE(sup.DateTextIsBlank("mm/dd/yyyy", "  /  /    "));
    EXPECT_TRUE(sup.DateTextIsBlank("mm/dd/yyyy", "  .  .    "));
    EXPECT_FALSE(sup.DateTextIsBlank("mm/dd/yyyy", "  /  /   1"));
    EXPECT_FALSE(sup.DateTextIsBlank("nnn dd", "M      "));
    EXPECT_TRUE(sup.DateTextIsBlank("www dd", "Wed   "));
}

TEST_F(IntlOverride, RangeErrorsNameTheInternationalMasks)
{
    Use(German());
    EXPECT_EQ(FclIntlSup().DecimalChar(), ',');
    EXPECT_EQ(EInvalidRangeValue(14).Message(),
              "Invalid date range. Enter a value using 'dd/mm/yyyy' as the format");
    EXPECT_EQ(EInvalidRangeValue(64 + 15).Message(),
              "Invalid time range. Enter a value using 'hh:mm' as the format");

    Use(American());
    EXPECT_EQ(EInvalidRangeValue(14).Message(),
              "Invalid date range. Enter a value using 'MM/DD/yyyy' as the format");
    EXPECT_EQ(EInvalidRangeValue(15).Message(),
              "Invalid time range. Enter a value using 'Hh:mm tt' as the format");
}

} // namespace
