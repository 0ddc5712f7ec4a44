#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <QDate>

#include "controls/FclDateTime.h"

namespace {

TEST(DayNumbers, Anchors)
{
    const struct {
        int day, month, year, epoch;
        std::int32_t expected;
    } cases[] = {
        {1, 1, 1600, 0, 0},
        {31, 1, 1600, 0, 30},
        {1, 2, 1600, 0, 31},
        {29, 2, 1600, 0, 59},
        {1, 3, 1600, 0, 60},
        {31, 12, 3999, 0, 876581},
        {29, 2, 2000, 0, 146097 + 59},  // 400 years later, same point in the cycle
        {29, 2, 2100, 0, -1},
        {29, 2, 1900, 0, -1},
        {29, 2, 4000, 0, -1},
        {1, 1, 4000, 0, -1},
        {1, 1, 1599, 0, -1},
        {31, 12, 1599, 0, -1},
        {0, 1, 2000, 0, -1},
        {32, 1, 2000, 0, -1},
        {31, 4, 2000, 0, -1},
        {1, 0, 2000, 0, -1},
        {1, 13, 2000, 0, -1},
        {1, -1, 2000, 0, -1},
        {1, 3, 0, 1600, 60},   // two-digit years completed by the epoch
        {29, 2, 0, 1950, 146097 + 59},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateToDayNumber(c.day, c.month, c.year, c.epoch), c.expected)
            << c.day << "." << c.month << "." << c.year << " epoch " << c.epoch;
}

TEST(DayNumbers, EveryDayFrom1600To3999RoundTripsAndAgreesWithTheCalendar)
{
    QDate date(1600, 1, 1);
    for (std::int32_t n = 0; n <= kLastDayNumber; ++n, date = date.addDays(1)) {
        int d, m, y;
        DayNumberToDate(n, d, m, y);
        ASSERT_TRUE(d == date.day() && m == date.month() && y == date.year())
            << n << ": " << d << "." << m << "." << y;
        ASSERT_EQ(DateToDayNumber(d, m, y, 0), n);
        ASSERT_EQ(WeekdayOfDayNumber(n), date.dayOfWeek() % 7) << n;
    }
    EXPECT_EQ(date, QDate(4000, 1, 1));
}

TEST(DayNumbers, NoDateAndValuesOutsideTheRange)
{
    for (std::int32_t n : {-1, -2, -100000, kLastDayNumber + 1, std::numeric_limits<std::int32_t>::max(),
                           std::numeric_limits<std::int32_t>::min()}) {
        int d = 9, m = 9, y = 9;
        DayNumberToDate(n, d, m, y);
        EXPECT_EQ(d + m + y, 0) << n;
        EXPECT_EQ(WeekdayOfDayNumber(n), 7) << n;
    }
    EXPECT_EQ(WeekdayOfDayNumber(0), 6);
    EXPECT_EQ(WeekdayOfDate(1, 1, 2000, 0), 6);
    EXPECT_EQ(WeekdayOfDate(30, 2, 2000, 0), 7);
}

TEST(Years, LeapYears)
{
    const struct {
        int year;
        bool leap;
    } cases[] = {{1600, true}, {1700, false}, {1996, true}, {1999, false}, {2000, true},
                 {2100, false}, {2400, true}, {4000, false}, {8000, false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsLeapYear(c.year), c.leap) << c.year;
}

TEST(Years, TwoDigitYearsUnderSeveralEpochs)
{
    const struct {
        int year, epoch, expected;
    } cases[] = {
        {99, 2000, 2099}, {0, 2000, 2000}, {5, 1950, 2005}, {30, 1950, 2030}, {49, 1950, 2049},
        {50, 1950, 1950}, {70, 1950, 1970}, {99, 1950, 1999}, {0, 1900, 1900}, {99, 1900, 1999},
        {19, 1920, 2019}, {20, 1920, 1920}, {1999, 2000, 1999}, {100, 1950, 100},
        {0, 0, 0}, {45, 1601, 1645}, {0, 1601, 1700},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExpandYear(c.year, c.epoch), c.expected) << c.year << " epoch " << c.epoch;
}

TEST(Years, DaysInMonth)
{
    const struct {
        int month, year, epoch, expected;
    } cases[] = {{1, 2001, 0, 31}, {2, 2001, 0, 28}, {2, 2004, 0, 29}, {2, 2100, 0, 28},
                 {4, 2001, 0, 30}, {12, 3999, 0, 31}, {0, 2001, 0, 0}, {13, 2001, 0, 0},
                 {-1, 2001, 0, 0}, {1, 1599, 0, 0}, {1, 4000, 0, 0}, {2, 4, 1950, 29}};
    for (const auto& c : cases)
        EXPECT_EQ(DaysInMonth(c.month, c.year, c.epoch), c.expected) << c.month << "/" << c.year;
}

TEST(DayNumbers, AddMonthsYears)
{
    const auto dn = [](int d, int m, int y) { return DateToDayNumber(d, m, y, 0); };
    const struct {
        std::int32_t from;
        int months, years;
        std::int32_t expected;
    } cases[] = {
        {dn(31, 1, 2001), 1, 0, dn(28, 2, 2001)},
        {dn(31, 1, 2004), 1, 0, dn(29, 2, 2004)},
        {dn(15, 1, 2004), -1, 0, dn(15, 12, 2003)},
        {dn(31, 3, 2004), -1, 0, dn(29, 2, 2004)},
        {dn(30, 11, 2004), 2, 0, dn(30, 1, 2005)},
        {dn(10, 5, 2004), 25, 0, dn(10, 6, 2006)},
        {dn(10, 5, 2004), -25, 0, dn(10, 4, 2002)},
        {dn(29, 2, 2004), 0, 1, dn(28, 2, 2005)},
        {dn(1, 1, 1600), -1, 0, -1},
        {dn(31, 12, 3999), 1, 0, -1},
        {dn(1, 1, 2000), 0, 2000000000, -1},
        {-1, 1, 0, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddMonthsYears(c.from, c.months, c.years), c.expected)
            << c.from << " + " << c.months << "m " << c.years << "y";
}

TEST(Seconds, Conversions)
{
    EXPECT_EQ(TimeToSeconds(0, 0, 0), 0);
    EXPECT_EQ(TimeToSeconds(23, 59, 59), 86399);
    EXPECT_EQ(TimeToSeconds(24, 0, 0), 0);
    EXPECT_EQ(TimeToSeconds(25, 1, 1), 3661);
    EXPECT_EQ(SubtractTime(10, 0, 0, 20), 86390);
    EXPECT_EQ(SubtractTime(3600, 25, 0, 0), 0);
    EXPECT_EQ(AddTime(86390, 0, 0, 20), 10);

    const struct {
        std::int32_t seconds;
        int h, m, s;
    } split[] = {{0, 0, 0, 0}, {3661, 1, 1, 1}, {86399, 23, 59, 59}, {-1, 0, 0, 0},
                 {86400, 0, 0, 0}, {-5, 0, 0, 0}, {1000000, 0, 0, 0}};
    for (const auto& c : split) {
        std::uint8_t h = 9, m = 9, s = 9;
        SecondsToTime(c.seconds, h, m, s);
        EXPECT_TRUE(h == c.h && m == c.m && s == c.s) << c.seconds;
    }

    EXPECT_TRUE(IsValidTime(23, 59, 59));
    EXPECT_FALSE(IsValidTime(24, 0, 0));
    EXPECT_FALSE(IsValidTime(0, 60, 0));
    EXPECT_FALSE(IsValidTime(0, 0, -1));
}

TEST(PlatformDateTime, DatePartAndTimePart)
{
    const std::int32_t base = DateToDayNumber(30, 12, 1899, 0);
    EXPECT_EQ(DateTimeToDayNumber(0.0), base);
    EXPECT_EQ(DateTimeToDayNumber(36526.75), DateToDayNumber(1, 1, 2000, 0));
    EXPECT_EQ(DateTimeToDayNumber(-1.25), base - 1);
    EXPECT_EQ(DateTimeToDayNumber(-200000.0), -1);
    EXPECT_EQ(DateTimeToDayNumber(1e300), -1);
    EXPECT_EQ(DateTimeToDayNumber(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(DateTimeToDayNumber(std::numeric_limits<double>::infinity()), -1);

    EXPECT_EQ(DateTimeToSeconds(36526.5), 43200);
    EXPECT_EQ(DateTimeToSeconds(-1.25), 21600);
    EXPECT_EQ(DateTimeToSeconds(std::nextafter(1.0, 0.0)), 86399);
    EXPECT_EQ(DateTimeToSeconds(std::numeric_limits<double>::quiet_NaN()), -1);
    EXPECT_EQ(DateTimeToSeconds(-std::numeric_limits<double>::infinity()), -1);

    const std::int32_t today = TodayDayNumber();
    EXPECT_EQ(DateTimeToDayNumber(Now()), today);  // fails only across midnight
    int d, m, y;
    DayNumberToDate(today, d, m, y);
    EXPECT_EQ(y, DefaultYear);
}

} // namespace
