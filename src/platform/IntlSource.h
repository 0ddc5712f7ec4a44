#pragma once
// Where the user's regional settings come from. The values are those the class library reads
// from the "intl" profile section and the "sShortDate" registry value, in that notation
// (date and time formats with d, M, y, H/h, m, s, quoted literals in '), as Windows-1252 bytes.
// By default they are taken from QLocale::system(); tests install their own.
#include <array>
#include <string>
#include <string_view>

class QLocale;
class QString;

struct IntlSettings {
    std::string sCurrency = "$";
    std::string sDecimal = ".";
    std::string sThousand = ",";
    int iCurrDigits = 2;
    std::string sList = ",";
    std::string sDate = "/";
    std::string s1159 = "AM";
    std::string s2359 = "PM";
    std::string sTTime = ":";  // the time separator
    std::string sCountry;
    int iCurrency = 0;
    std::string sLongDate = "dddd, MMMM dd, yyyy";
    int iNegCurr = 0;
    std::string sShortDate = "MM/dd/yy";
    int iTLZero = 0;
    // The long time format; a twelve-hour format ends with "AMPM".
    std::string LongTimeFormat = "h:mm:ss AMPM";
    // Long month names, January first, and long weekday names, Sunday first.
    std::array<std::string, 12> LongMonthNames{"January", "February", "March", "April", "May",
        "June", "July", "August", "September", "October", "November", "December"};
    std::array<std::string, 7> LongDayNames{"Sunday", "Monday", "Tuesday", "Wednesday",
        "Thursday", "Friday", "Saturday"};
};

// The settings of a locale, converted to the notation above.
IntlSettings IntlSettingsFromLocale(const QLocale& locale);

// The settings in force: the test override when one is installed, else those of
// QLocale::system() (read on first use).
IntlSettings CurrentIntlSettings();
void SetIntlSettingsOverride(const IntlSettings& settings);
void ClearIntlSettingsOverride();

// Text conversion where library text meets Qt. Characters that Windows-1252 cannot hold
// become "?".
QString Win1252ToQString(std::string_view text);
std::string QStringToWin1252(const QString& text);

// The system's character classification and case mapping of a Windows-1252 character.
bool IsCharAlphaA(unsigned char c);
unsigned char CharUpperA(unsigned char c);
unsigned char CharLowerA(unsigned char c);
