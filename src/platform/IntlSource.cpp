#include "platform/IntlSource.h"

#include <QLocale>
#include <QRegularExpression>
#include <QString>

#include <optional>

namespace {

// Unicode of the Windows-1252 characters 0x80 to 0x9F; the five unassigned ones keep their
// own code (as the system's conversion does).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t ToUnicode(unsigned char c)
{
    if (c >= 0x80 && c < 0xA0)
        return kHighControls[c - 0x80];
    return c;
}

// The Windows-1252 byte of a code unit, or nullopt when it has none.
std::optional<unsigned char> FromUnicode(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] == u)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

bool IsFormatLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The first character after the first letter run of a format that is neither a letter,
// a quote nor a blank; empty when there is none.
QString FirstSeparator(const QString& format)
{
    bool seenLetter = false;
    for (QChar c : format) {
        if (IsFormatLetter(c)) {
            seenLetter = true;
        } else if (seenLetter && c != u'\'' && !c.isSpace()) {
            return QString(c);
        }
    }
    return {};
}

// Qt's time format in the platform's notation: the AM/PM marker is written "AMPM", the time
// zone is left out.
QString LongTimeFormatOf(const QString& qtFormat)
{
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < qtFormat.size(); ++i) {
        const QChar c = qtFormat[i];
        if (c == u'\'') {
            quoted = !quoted;
            out += c;
        } else if (quoted) {
            out += c;
        } else if (c == u'A' || c == u'a') {
            if (i + 1 < qtFormat.size() && (qtFormat[i + 1] == u'P' || qtFormat[i + 1] == u'p'))
                ++i;
            out += QStringLiteral("AMPM");
        } else if (c != u't') {
            out += c;
        }
    }
    return out.trimmed();
}

bool HourHasLeadingZero(const QString& format)
{
    const qsizetype at = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    return at >= 0 && at + 1 < format.size() && format[at + 1].toLower() == u'h';
}

QString PlainBlanks(QString s)
{
    s.replace(QChar(0x00A0), u' ');
    s.replace(QChar(0x202F), u' ');
    s.replace(QChar(0x2212), u'-');
    return s;
}

// Position of the currency symbol: 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
int CurrencyFormatOf(const QLocale& locale)
{
    const QString s = PlainBlanks(locale.toCurrencyString(1.0, QStringLiteral("$"), 0));
    if (s.startsWith(u'$'))
        return s.size() > 1 && s[1] == u' ' ? 2 : 0;
    if (s.endsWith(u'$'))
        return s.size() > 1 && s[s.size() - 2] == u' ' ? 3 : 1;
    return 0;
}

// The platform's sixteen negative currency patterns.
int NegativeCurrencyFormatOf(const QLocale& locale)
{
    static const char* const patterns[16] = {"($1)", "-$1", "$-1", "$1-", "(1$)", "-1$",
        "1-$", "1$-", "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
    const QString s = PlainBlanks(locale.toCurrencyString(-1.0, QStringLiteral("$"), 0));
    for (int i = 0; i < 16; ++i)
        if (s == QLatin1String(patterns[i]))
            return i;
    return 0;
}

std::optional<IntlSettings>& Override()
{
    static std::optional<IntlSettings> settings;
    return settings;
}

} // namespace

IntlSettings IntlSettingsFromLocale(const QLocale& locale)
{
    IntlSettings s;
    s.sCurrency = QStringToWin1252(locale.currencySymbol());
    s.sDecimal = QStringToWin1252(locale.decimalPoint());
    s.sThousand = QStringToWin1252(PlainBlanks(locale.groupSeparator()));
    s.sList.assign(1, s.sDecimal == "," ? ';' : ',');
    const QString shortDate = locale.dateFormat(QLocale::ShortFormat);
    s.sDate = QStringToWin1252(FirstSeparator(shortDate));
    s.s1159 = QStringToWin1252(locale.amText());
    s.s2359 = QStringToWin1252(locale.pmText());
    const QString shortTime = locale.timeFormat(QLocale::ShortFormat);
    s.sTTime = QStringToWin1252(FirstSeparator(shortTime));
    s.sCountry = QStringToWin1252(QLocale::territoryToString(locale.territory()));
    s.iCurrency = CurrencyFormatOf(locale);
    s.sLongDate = QStringToWin1252(locale.dateFormat(QLocale::LongFormat));
    s.iNegCurr = NegativeCurrencyFormatOf(locale);
    s.sShortDate = QStringToWin1252(shortDate);
    s.iTLZero = HourHasLeadingZero(shortTime) ? 1 : 0;
    s.LongTimeFormat = QStringToWin1252(LongTimeFormatOf(locale.timeFormat(QLocale::LongFormat)));
    for (int m = 1; m <= 12; ++m)
        s.LongMonthNames[static_cast<std::size_t>(m - 1)] =
            QStringToWin1252(locale.monthName(m, QLocale::LongFormat));
    for (int d = 0; d < 7; ++d)  // Qt counts Monday 1 to Sunday 7
        s.LongDayNames[static_cast<std::size_t>(d)] =
            QStringToWin1252(locale.dayName(d == 0 ? 7 : d, QLocale::LongFormat));
    return s;
}

IntlSettings CurrentIntlSettings()
{
    if (Override())
        return *Override();
    static const IntlSettings system = IntlSettingsFromLocale(QLocale::system());
    return system;
}

void SetIntlSettingsOverride(const IntlSettings& settings)
{
    Override() = settings;
}

void ClearIntlSettingsOverride()
{
    Override().reset();
}

QString Win1252ToQString(std::string_view text)
{
    QString out;
    out.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text)
        out += QChar(ToUnicode(static_cast<unsigned char>(c)));
    return out;
}

std::string QStringToWin1252(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        const auto b = FromUnicode(c.unicode());
        out += static_cast<char>(b ? *b : '?');
    }
    return out;
}

bool IsCharAlphaA(unsigned char c)
{
    return QChar(ToUnicode(c)).isLetter();
}

unsigned char CharUpperA(unsigned char c)
{
    const auto b = FromUnicode(QChar(ToUnicode(c)).toUpper().unicode());
    return b ? *b : c;
}

unsigned char CharLowerA(unsigned char c)
{
    const auto b = FromUnicode(QChar(ToUnicode(c)).toLower().unicode());
    return b ? *b : c;
}
