#include "controls/FclDateTime.h"

#include <cmath>
#include <cstdint>

#include <QDate>
#include <QTime>

int DefaultYear = QDate::currentDate().year();
int DefaultMonth = QDate::currentDate().month();

namespace {

constexpr int kFirstYear = 1600;
constexpr int kLastYear = 3999;

// Day number of 30 December 1899, day 0 of TDateTime.
std::int32_t DateTimeBase()
{
    static const std::int32_t base = DateToDayNumber(30, 12, 1899, 0);
    return base;
}

} // namespace

bool IsLeapYear(int Year)
{
    if (Year % 4 != 0 || Year % 4000 == 0)
        return false;
    if (Year % 100 != 0)
        return true;
    return Year % 400 == 0;
}

int ExpandYear(int Year, int Epoch)
{
    if (Year >= 100)
        return Year;
    const int century = Epoch / 100 * 100;
    const int inCentury = Epoch % 100;
    return inCentury > Year ? Year + century + 100 : Year + century;
}

int DaysInMonth(int Month, int Year, int Epoch)
{
    Year = ExpandYear(Year, Epoch);
    if (Year < kFirstYear || Year > kLastYear || Month < 1 || Month > 12)
        return 0;
    switch (Month) {
    case 4: case 6: case 9: case 11: return 30;
    case 2: return IsLeapYear(Year) ? 29 : 28;
    default: return 31;
    }
}

bool IsValidDate(int Day, int Month, int Year, int Epoch)
{
    Year = ExpandYear(Year, Epoch);
    return Day >= 1 && Year >= kFirstYear && Year <= kLastYear && Month >= 1 && Month <= 12
           && Day <= DaysInMonth(Month, Year, Epoch);
}

std::int32_t DateToDayNumber(int Day, int Month, int Year, int Epoch)
{
    Year = ExpandYear(Year, Epoch);
    if (!IsValidDate(Day, Month, Year, Epoch))
        return kNoDate;
    if (Year == kFirstYear && Month < 3)
        return Month == 1 ? Day - 1 : Day + 30;
    int m;
    if (Month < 3) {
        m = Month + 9;
        --Year;
    } else {
        m = Month - 3;
    }
    const int y = Year - kFirstYear;
    return (y / 100 * 146097) / 4 + (y % 100 * 1461) / 4 + (153 * m + 2) / 5 + Day + 59;
}

void DayNumberToDate(std::int32_t DayNumber, int& Day, int& Month, int& Year)
{
    if (DayNumber < 0 || DayNumber > kLastDayNumber) {
        Day = Month = Year = 0;
        return;
    }
    if (DayNumber <= 59) {
        Year = kFirstYear;
        if (DayNumber <= 30) {
            Month = 1;
            Day = DayNumber + 1;
        } else {
            Month = 2;
            Day = DayNumber - 30;
        }
        return;
    }
    const std::int32_t t = (DayNumber - 59) * 4 - 1;
    const std::int32_t c = t / 146097;
    const std::int32_t d = (t % 146097) / 4;
    const std::int32_t y = (4 * d + 3) / 1461;
    const std::int32_t d2 = ((4 * d + 3) % 1461 + 4) / 4;
    const std::int32_t m = (5 * d2 - 3) / 153;
    Day = ((5 * d2 - 3) % 153 + 5) / 5;
    Year = 100 * c + y;
    if (m >= 10) {
        Month = m - 9;
        ++Year;
    } else {
        Month = m + 3;
    }
    Year += kFirstYear;
}

std::int32_t AddMonthsYears(std::int32_t DayNumber, int Months, int Years)
{
    int day, month, year;
    DayNumberToDate(DayNumber, day, month, year);
    if (year == 0)
        return kNoDate;
    std::int64_t newYear = static_cast<std::int64_t>(year) + Years + Months / 12;
    int newMonth = month + Months % 12;
    if (newMonth < 1) {
        newMonth += 12;
        --newYear;
    } else if (newMonth > 12) {
        newMonth -= 12;
        ++newYear;
    }
    if (newYear < kFirstYear || newYear > kLastYear)
        return kNoDate;
    const int y = static_cast<int>(newYear);
    const int last = DaysInMonth(newMonth, y, 0);
    return DateToDayNumber(day <= last ? day : last, newMonth, y, 0);
}

int WeekdayOfDayNumber(std::int32_t DayNumber)
{
    if (DayNumber < 0 || DayNumber > kLastDayNumber)
        return 7;
    return (DayNumber + 6) % 7;
}

int WeekdayOfDate(int Day, int Month, int Year, int Epoch)
{
    return WeekdayOfDayNumber(DateToDayNumber(Day, Month, Year, Epoch));
}

std::int32_t TodayDayNumber()
{
    const QDate today = QDate::currentDate();
    return DateToDayNumber(today.day(), today.month(), today.year(), 0);
}

std::int32_t DateTimeToDayNumber(TDateTime DateTime)
{
    if (!std::isfinite(DateTime))
        return kNoDate;
    const double days = std::trunc(DateTime) + DateTimeBase();
    if (days < 0 || days > kLastDayNumber)
        return kNoDate;
    return static_cast<std::int32_t>(days);
}

std::int32_t TimeToSeconds(std::uint8_t Hours, std::uint8_t Minutes, std::uint8_t Secs)
{
    return ((Hours % 24) * 3600 + Minutes * 60 + Secs) % kSecondsPerDay;
}

void SecondsToTime(std::int32_t Seconds, std::uint8_t& Hours, std::uint8_t& Minutes,
                   std::uint8_t& Secs)
{
    if (Seconds < 0 || Seconds >= kSecondsPerDay) {
        Hours = Minutes = Secs = 0;
        return;
    }
    Hours = static_cast<std::uint8_t>(Seconds / 3600);
    Minutes = static_cast<std::uint8_t>(Seconds % 3600 / 60);
    Secs = static_cast<std::uint8_t>(Seconds % 60);
}

bool IsValidTime(int Hours, int Minutes, int Secs)
{
    return Hours >= 0 && Hours < 24 && Minutes >= 0 && Minutes < 60 && Secs >= 0 && Secs < 60;
}

std::int32_t AddTime(std::int32_t Seconds, std::uint8_t Hours, std::uint8_t Minutes,
                     std::uint8_t Secs)
{
    const std::int64_t sum = static_cast<std::int64_t>(Seconds) + TimeToSeconds(Hours, Minutes, Secs);
    return static_cast<std::int32_t>(sum % kSecondsPerDay);
}

std::int32_t SubtractTime(std::int32_t Seconds, std::uint8_t Hours, std::uint8_t Minutes,
                          std::uint8_t Secs)
{
    std::int64_t diff = static_cast<std::int64_t>(Seconds)
                        - TimeToSeconds(static_cast<std::uint8_t>(Hours % 24), Minutes, Secs);
    if (diff < 0)
        diff += kSecondsPerDay;
    return static_cast<std::int32_t>(diff);
}

std::int32_t NowSeconds()
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

std::int32_t DateTimeToSeconds(TDateTime DateTime)
{
    if (!std::isfinite(DateTime))
        return kNoTime;
    const double seconds = std::fabs(DateTime - std::trunc(DateTime)) * kSecondsPerDay;
    const auto s = static_cast<std::int32_t>(seconds);
    return s < kSecondsPerDay ? s : kSecondsPerDay - 1;
}
