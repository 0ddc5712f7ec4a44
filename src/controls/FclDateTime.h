#pragma once
// Dates as day numbers counted from 1 January 1600 (0) to 31 December 3999 (876581), times as
// seconds since midnight; -1 stands for no date or no time.
#include <cstdint>

#include "platform/DateTime.h"

constexpr std::int32_t kNoDate = -1;
constexpr std::int32_t kNoTime = -1;
constexpr std::int32_t kLastDayNumber = 876581;
constexpr std::int32_t kSecondsPerDay = 86400;

// Year and month of the system date when the program started; the date-text conversion uses
// them for a text without a year or month field.
extern int DefaultYear;
extern int DefaultMonth;

bool IsLeapYear(int Year);
// A two-digit year completed within the hundred years starting at Epoch.
int ExpandYear(int Year, int Epoch);
// 28 to 31, or 0 for a month outside 1 to 12 or a year outside 1600 to 3999.
int DaysInMonth(int Month, int Year, int Epoch);
bool IsValidDate(int Day, int Month, int Year, int Epoch);
std::int32_t DateToDayNumber(int Day, int Month, int Year, int Epoch);
// A value that is not a day number gives 0, 0, 0.
void DayNumberToDate(std::int32_t DayNumber, int& Day, int& Month, int& Year);
std::int32_t AddMonthsYears(std::int32_t DayNumber, int Months, int Years);
// 0 Sunday to 6 Saturday; 7 for no date.
int WeekdayOfDayNumber(std::int32_t DayNumber);
int WeekdayOfDate(int Day, int Month, int Year, int Epoch);
std::int32_t TodayDayNumber();
// The day number of the date part; -1 when that lies outside 1600 to 3999.
std::int32_t DateTimeToDayNumber(TDateTime DateTime);

std::int32_t TimeToSeconds(std::uint8_t Hours, std::uint8_t Minutes, std::uint8_t Secs);
// A value outside 0 to 86399 gives 0, 0, 0.
void SecondsToTime(std::int32_t Seconds, std::uint8_t& Hours, std::uint8_t& Minutes,
                   std::uint8_t& Secs);
bool IsValidTime(int Hours, int Minutes, int Secs);
std::int32_t AddTime(std::int32_t Seconds, std::uint8_t Hours, std::uint8_t Minutes,
                     std::uint8_t Secs);
std::int32_t SubtractTime(std::int32_t Seconds, std::uint8_t Hours, std::uint8_t Minutes,
                          std::uint8_t Secs);
std::int32_t NowSeconds();
// The seconds of the time part; -1 for a value that is not a number.
std::int32_t DateTimeToSeconds(TDateTime DateTime);
