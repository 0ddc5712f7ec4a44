#pragma once
// The user's regional settings as the control library uses them: separators, currency texts,
// the true/false and yes/no characters, and the date and time masks with the conversions
// between day numbers or seconds and mask-shaped text.
//
// Mask letters: "m"/"M" month digits zero- or blank-padded, "d"/"D" day likewise, "y" year
// digits, "n"/"N" month name (N upper case), "w"/"W" weekday name, "/" the date separator,
// "f", "g", "h" the literal texts of the long date mask. In time masks "h"/"H" hours,
// "m"/"M" minutes, "s"/"S" seconds (lower case zero-padded), "t" the AM/PM text, ":" the time
// separator. Any other character is a literal. All texts are Windows-1252 bytes.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/IntlSource.h"

class TFclIntlSup {
public:
    // Reads the settings in force (CurrentIntlSettings()).
    TFclIntlSup();
    // Reads the given settings; a setting left empty keeps its default.
    explicit TFclIntlSup(const IntlSettings& source);

    void ReadSettings();
    void ReadSettings(const IntlSettings& source);

    const std::string& CurrencyLeft() const { return currencyLeft_; }
    const std::string& CurrencyRight() const { return currencyRight_; }
    char DecimalChar() const { return decimalChar_; }
    char ThousandsChar() const { return thousandsChar_; }
    int CurrencyDigits() const { return currencyDigits_; }
    char ListChar() const { return listChar_; }
    char DateSeparator() const { return dateSeparator_; }
    char TrueChar() const { return trueChar_; }
    char FalseChar() const { return falseChar_; }
    char YesChar() const { return yesChar_; }
    char NoChar() const { return noChar_; }
    const std::string& AMText() const { return amText_; }
    const std::string& PMText() const { return pmText_; }
    char TimeSeparator() const { return timeSeparator_; }
    const std::string& CountryName() const { return countryName_; }
    int CurrencyFormat() const { return currencyFormat_; }
    // The literal texts standing for "f", "g" and "h" in the long date mask.
    const std::string& LiteralText(int index) const { return literals_.at(static_cast<std::size_t>(index)); }
    const std::string& LongDateMask() const { return longDateMask_; }
    int NegCurrencyFormat() const { return negCurrencyFormat_; }
    const std::string& ShortDateMask() const { return shortDateMask_; }
    bool HourLeadingZero() const { return hourLeadingZero_; }
    bool TwelveHourClock() const { return twelveHour_; }

    // The short date mask with day, month and year at least two characters wide, and a
    // four-digit year when ForceCentury.
    std::string DateMask(bool ForceCentury) const;
    // "hh:mm:ss" shaped by the hour leading zero, ShowSeconds and the twelve-hour clock.
    std::string TimeMask(bool ShowSeconds) const;

    // The day number a text shaped like Mask stands for; -1 when it is invalid.
    std::int32_t DateTextToDayNumber(std::string_view Mask, std::string_view Text, int Epoch) const;
    // A day number (-1 for no date) as text shaped like Mask; with Pack the padding blanks
    // of blank-padded and name fields are removed.
    std::string DayNumberToDateText(std::string_view Mask, std::int32_t DayNumber, bool Pack) const;
    // The seconds a text shaped like Mask stands for; -1 when it is invalid.
    std::int32_t TimeTextToSeconds(std::string_view Mask, std::string_view Text) const;
    std::string SecondsToTimeText(std::string_view Mask, std::int32_t Seconds, bool Pack) const;
    // True when the month, day and year fields of Text are all blank.
    bool DateTextIsBlank(std::string_view Mask, std::string_view Text) const;
    // The month 1 to 12 whose long name, upper-cased and padded or cut to Width, equals Text
    // treated alike; 0 when none does.
    int MonthFromName(std::string_view Text, std::size_t Width) const;

private:
    bool BothAmPm() const { return !amText_.empty() && !pmText_.empty(); }

    std::string currencyLeft_;
    std::string currencyRight_;
    char decimalChar_ = '.';
    char thousandsChar_ = ',';
    int currencyDigits_ = 2;
    char listChar_ = ',';
    char dateSeparator_ = '/';
    char trueChar_ = 'T';
    char falseChar_ = 'F';
    char yesChar_ = 'Y';
    char noChar_ = 'N';
    std::string amText_;
    std::string pmText_;
    char timeSeparator_ = ':';
    std::string countryName_;
    int currencyFormat_ = 0;
    std::array<std::string, 3> literals_;
    std::string longDateMask_;
    int negCurrencyFormat_ = 0;
    std::string shortDateMask_;
    bool hourLeadingZero_ = false;
    bool twelveHour_ = false;
    std::array<std::string, 12> monthNames_;
    std::array<std::string, 7> dayNames_;
};

// The library's one instance, created on first use from the settings in force.
TFclIntlSup& FclIntlSup();
// Builds the instance again from the settings in force (after a change of the override).
void RecreateFclIntlSup();
