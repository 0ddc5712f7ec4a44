#include "controls/FclIntlSup.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "controls/FclDateTime.h"
#include "controls/FclMessages.h"
#include "controls/FclStrings.h"

namespace {

constexpr std::size_t kShortTextLength = 5;
constexpr std::size_t kLiteralLength = 6;
constexpr std::size_t kLongDateMaskLength = 40;
constexpr std::size_t kShortDateMaskLength = 30;

std::string Cut(std::string_view s, std::size_t n)
{
    return std::string(s.substr(0, n));
}

// A single-character setting: the first of at most five characters, or the default.
char CharSetting(std::string_view value, char fallback)
{
    const std::string v = Cut(value, kShortTextLength);
    return v.empty() ? fallback : v.front();
}

char FirstChar(const std::string& s, char fallback)
{
    return s.empty() ? fallback : s.front();
}

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool IsLowerAscii(char c)
{
    return c >= 'a' && c <= 'z';
}

std::string Upper(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        c = UpCaseChar(c);
    return out;
}

std::string PadOrCut(std::string s, std::size_t width)
{
    s.resize(width, ' ');
    return s;
}

struct Run {
    std::size_t pos = 0;
    std::size_t len = 0;
    bool found() const { return len > 0; }
};

// The first run of ch (exact case) of at least minLength characters.
Run FirstRunOf(std::string_view s, char ch, std::size_t minLength = 1)
{
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] != ch) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < s.size() && s[j] == ch)
            ++j;
        if (j - i >= minLength)
            return {i, j - i};
        i = j;
    }
    return {};
}

// The first run of a field letter, either case counting alike.
Run FirstFieldRun(std::string_view mask, char letter)
{
    for (std::size_t i = 0; i < mask.size(); ++i) {
        if (Lower(mask[i]) != letter)
            continue;
        std::size_t j = i;
        while (j < mask.size() && Lower(mask[j]) == letter)
            ++j;
        return {i, j - i};
    }
    return {};
}

// Applies fill to every run of a letter in letters (either case counting alike).
template <typename Fill>
void ForEachRun(std::string_view mask, std::string_view letters, Fill fill)
{
    for (std::size_t i = 0; i < mask.size();) {
        const char letter = Lower(mask[i]);
        if (letters.find(letter) == std::string_view::npos) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < mask.size() && Lower(mask[j]) == letter)
            ++j;
        fill(letter, Run{i, j - i});
        i = j;
    }
}

// A number right-aligned into its run; positions left of it get "0" under a lower-case mask
// letter and a blank otherwise; a number wider than the run keeps its rightmost digits.
void FillNumber(std::string& out, std::string_view mask, Run run, long value)
{
    std::string digits = std::to_string(value);
    std::size_t k = run.pos + run.len;
    while (k-- > run.pos) {
        if (!digits.empty()) {
            out[k] = digits.back();
            digits.pop_back();
        } else {
            out[k] = IsLowerAscii(mask[k]) ? '0' : ' ';
        }
    }
}

// A text left-aligned into its run, cut and blank-padded; upper case under an upper-case
// mask letter when upperUnderCapital.
void FillText(std::string& out, std::string_view mask, Run run, std::string_view text,
              bool upperUnderCapital)
{
    for (std::size_t k = 0; k < run.len; ++k) {
        char c = k < text.size() ? text[k] : ' ';
        if (upperUnderCapital && !IsLowerAscii(mask[run.pos + k]))
            c = UpCaseChar(c);
        out[run.pos + k] = c;
    }
}

void FillBlanks(std::string& out, Run run)
{
    std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(run.pos), run.len, ' ');
}

// Removes the blanks that padded fields of the letters in packLetters produced, and for a
// "t" run holding blanks those blanks and the blank before the run.
std::string Pack(std::string_view mask, const std::string& out, std::string_view packLetters)
{
    std::string keep(out.size(), 1);
    for (std::size_t k = 0; k < out.size(); ++k)
        if (out[k] == ' ' && packLetters.find(mask[k]) != std::string_view::npos)
            keep[k] = 0;
    ForEachRun(mask, "t", [&](char, Run run) {
        bool blanks = false;
        for (std::size_t k = run.pos; k < run.pos + run.len; ++k)
            if (out[k] == ' ') {
                keep[k] = 0;
                blanks = true;
            }
        if (blanks && run.pos > 0 && out[run.pos - 1] == ' ')
            keep[run.pos - 1] = 0;
    });
    std::string packed;
    for (std::size_t k = 0; k < out.size(); ++k)
        if (keep[k])
            packed += out[k];
    return packed;
}

// The number in a run of Text: blanks ignored; -1 when the run holds only blanks or anything
// but digits.
int FieldNumber(std::string_view text, Run run)
{
    std::string digits;
    for (char c : text.substr(run.pos, run.len))
        if (c != ' ')
            digits += c;
    if (digits.empty() || digits.size() > 9
        || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoi(digits);
}

void ReplaceAll(std::string& s, char from, char to)
{
    std::replace(s.begin(), s.end(), from, to);
}

// The first run of three or more of ch becomes as many of to.
void RenameLongRun(std::string& s, char ch, char to)
{
    const Run run = FirstRunOf(s, ch, 3);
    if (run.found())
        std::fill_n(s.begin() + static_cast<std::ptrdiff_t>(run.pos), run.len, to);
}

std::unique_ptr<TFclIntlSup>& Instance()
{
    static std::unique_ptr<TFclIntlSup> instance;
    return instance;
}

} // namespace

TFclIntlSup::TFclIntlSup()
{
    ReadSettings();
}

TFclIntlSup::TFclIntlSup(const IntlSettings& source)
{
    ReadSettings(source);
}

void TFclIntlSup::ReadSettings()
{
    ReadSettings(CurrentIntlSettings());
}

void TFclIntlSup::ReadSettings(const IntlSettings& source)
{
    const IntlSettings defaults;

    currencyLeft_ = Cut(source.sCurrency, kShortTextLength);
    currencyRight_ = currencyLeft_;
    decimalChar_ = CharSetting(source.sDecimal, '.');
    thousandsChar_ = CharSetting(source.sThousand, ',');
    currencyDigits_ = source.iCurrDigits;
    listChar_ = CharSetting(source.sList, ',');
    dateSeparator_ = CharSetting(source.sDate, '/');
    trueChar_ = FirstChar(GetMessageText(30370), 'T');
    falseChar_ = FirstChar(GetMessageText(30371), 'F');
    yesChar_ = FirstChar(GetMessageText(30368), 'Y');
    noChar_ = FirstChar(GetMessageText(30369), 'N');
    amText_ = Cut(source.s1159, kShortTextLength);
    pmText_ = Cut(source.s2359, kShortTextLength);
    timeSeparator_ = CharSetting(source.sTTime, ':');
    countryName_ = Cut(source.sCountry, kMaxTextLength);
    currencyFormat_ = source.iCurrency;
    negCurrencyFormat_ = source.iNegCurr;
    hourLeadingZero_ = source.iTLZero != 0;
    twelveHour_ = !source.LongTimeFormat.empty() && source.LongTimeFormat.back() == 'M';
    monthNames_ = source.LongMonthNames;
    dayNames_ = source.LongDayNames;

    if (thousandsChar_ == decimalChar_) {
        decimalChar_ = '.';
        thousandsChar_ = ',';
    }

    if (currencyFormat_ == 2)
        currencyLeft_ = Cut(currencyLeft_ + ' ', kShortTextLength);
    else if (currencyFormat_ == 3)
        currencyRight_ = Cut(' ' + currencyRight_, kShortTextLength);

    // Long date mask: the quoted literals become runs of "f", "g" and "h" first, so that the
    // renaming below never touches their text.
    std::string longMask = Cut(source.sLongDate.empty() ? defaults.sLongDate : source.sLongDate,
                               kLongDateMaskLength);
    literals_ = {};
    const char literalLetters[3] = {'f', 'g', 'h'};
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t open = longMask.find('\'');
        if (open == std::string::npos)
            break;
        const std::size_t close = longMask.find('\'', open + 1);
        if (close == std::string::npos)
            break;
        literals_[i] = Cut(std::string_view(longMask).substr(open + 1, close - open - 1), kLiteralLength);
        longMask.replace(open, close - open + 1, std::string(literals_[i].size(), literalLetters[i]));
    }
    RenameLongRun(longMask, 'd', 'w');
    RenameLongRun(longMask, 'M', 'n');
    for (std::size_t i = 0; i + 1 < longMask.size(); ++i)
        if ((longMask[i] == ',' || longMask[i] == '.') && longMask[i + 1] != ' ')
            longMask.insert(i + 1, 1, ' ');
    longDateMask_ = Cut(longMask, kLongDateMaskLength);

    std::string shortMask = Cut(source.sShortDate.empty() ? defaults.sShortDate : source.sShortDate,
                                kShortDateMaskLength);
    ReplaceAll(shortMask, dateSeparator_, '/');
    RenameLongRun(shortMask, 'M', 'n');
    shortDateMask_ = shortMask;
}

std::string TFclIntlSup::DateMask(bool ForceCentury) const
{
    std::string mask = shortDateMask_;
    const struct {
        char letter;
        std::size_t width;
    } fields[3] = {{'d', 2}, {'m', 2}, {'y', ForceCentury ? std::size_t{4} : std::size_t{2}}};
    for (const auto& field : fields) {
        const char upper = static_cast<char>(field.letter - 'a' + 'A');
        bool wasLower = true;
        Run run = FirstRunOf(mask, field.letter);
        if (!run.found()) {
            run = FirstRunOf(mask, upper);
            wasLower = false;
        }
        if (!run.found())
            continue;  // a field the mask lacks stays absent
        if (run.len < field.width)
            mask.insert(run.pos, field.width - run.len, mask[run.pos]);
        if (field.letter == 'y')
            continue;
        // Our letters: lower case zero-padded, upper case blank-padded. A single platform
        // letter has no leading zero; a double upper-case one has.
        if (run.len == 1 && wasLower)
            ReplaceAll(mask, field.letter, upper);
        else if (run.len == 2 && !wasLower)
            ReplaceAll(mask, upper, field.letter);
    }
    return mask;
}

std::string TFclIntlSup::TimeMask(bool ShowSeconds) const
{
    std::string mask = "hh:mm:ss";
    if (!hourLeadingZero_)
        mask[0] = 'H';
    if (!ShowSeconds)
        mask.resize(5);
    if (twelveHour_ && (!amText_.empty() || !pmText_.empty()))
        mask += ' ' + std::string(std::max(amText_.size(), pmText_.size()), 't');
    return mask;
}

std::int32_t TFclIntlSup::DateTextToDayNumber(std::string_view Mask, std::string_view Text,
                                              int Epoch) const
{
    if (Text.size() != Mask.size() || Mask.size() > kMaxTextLength)
        return kNoDate;
    int month = DefaultMonth;
    if (const Run name = FirstFieldRun(Mask, 'n'); name.found()) {
        month = MonthFromName(Text.substr(name.pos, name.len), name.len);
        if (std::all_of(Text.begin() + static_cast<std::ptrdiff_t>(name.pos),
                        Text.begin() + static_cast<std::ptrdiff_t>(name.pos + name.len),
                        [](char c) { return c == ' '; }))
            month = -1;
    } else if (const Run digits = FirstFieldRun(Mask, 'm'); digits.found()) {
        month = FieldNumber(Text, digits);
    }
    const Run dayRun = FirstFieldRun(Mask, 'd');
    const int day = dayRun.found() ? FieldNumber(Text, dayRun) : 1;
    const Run yearRun = FirstFieldRun(Mask, 'y');
    const int year = yearRun.found() ? FieldNumber(Text, yearRun) : DefaultYear;
    if (month < 0 || day < 0 || year < 0)
        return kNoDate;
    return DateToDayNumber(day, month, year, Epoch);
}

std::string TFclIntlSup::DayNumberToDateText(std::string_view Mask, std::int32_t DayNumber,
                                             bool Pack) const
{
    Mask = Mask.substr(0, kMaxTextLength);
    std::string out(Mask);
    int day, month, year;
    DayNumberToDate(DayNumber, day, month, year);
    const bool noDate = year == 0;
    if (!noDate && year < 100)
        year = ExpandYear(year, 0);
    const int weekday = WeekdayOfDayNumber(DayNumber);

    ForEachRun(Mask, "mndyw", [&](char letter, Run run) {
        if (noDate) {
            FillBlanks(out, run);
            return;
        }
        switch (letter) {
        case 'm': FillNumber(out, Mask, run, month); break;
        case 'd': FillNumber(out, Mask, run, day); break;
        case 'y': FillNumber(out, Mask, run, year); break;
        case 'n': FillText(out, Mask, run, monthNames_[static_cast<std::size_t>(month - 1)], true); break;
        case 'w': FillText(out, Mask, run, dayNames_[static_cast<std::size_t>(weekday)], true); break;
        }
    });
    for (std::size_t k = 0; k < Mask.size(); ++k)
        if (Mask[k] == '/')
            out[k] = dateSeparator_;
    for (std::size_t i = 0; i < 3; ++i) {
        const char letter = "fgh"[i];
        for (std::size_t k = 0; k < Mask.size();) {
            const Run run = FirstRunOf(Mask.substr(k), letter);
            if (!run.found())
                break;
            FillText(out, Mask, Run{k + run.pos, run.len}, literals_[i], false);
            k += run.pos + run.len;
        }
    }
    return Pack ? ::Pack(Mask, out, "DMNWnw") : out;
}

std::int32_t TFclIntlSup::TimeTextToSeconds(std::string_view Mask, std::string_view Text) const
{
    if (Text.size() != Mask.size() || Mask.size() > kMaxTextLength)
        return kNoTime;
    const auto field = [&](char letter) {
        const Run run = FirstFieldRun(Mask, letter);
        return run.found() ? FieldNumber(Text, run) : 0;
    };
    int hours = field('h');
    const int minutes = field('m');
    const int seconds = field('s');
    if (const Run t = FirstFieldRun(Mask, 't'); t.found() && BothAmPm()) {
        std::string half(Text.substr(t.pos, t.len));
        while (!half.empty() && half.back() == ' ')
            half.pop_back();
        half = Upper(half);
        if (hours == 0 || hours > 12)
            hours = -1;
        else if (half == Upper(pmText_)) {
            if (hours >= 0 && hours < 12)
                hours += 12;
        } else if (half == Upper(amText_)) {
            if (hours == 12)
                hours = 0;
        } else {
            hours = -1;
        }
    }
    if (!IsValidTime(hours, minutes, seconds))
        return kNoTime;
    return TimeToSeconds(static_cast<std::uint8_t>(hours), static_cast<std::uint8_t>(minutes),
                         static_cast<std::uint8_t>(seconds));
}

std::string TFclIntlSup::SecondsToTimeText(std::string_view Mask, std::int32_t Seconds,
                                           bool Pack) const
{
    Mask = Mask.substr(0, kMaxTextLength);
    std::string out(Mask);
    const bool noTime = Seconds < 0 || Seconds >= kSecondsPerDay;
    std::uint8_t h = 0, m = 0, s = 0;
    SecondsToTime(Seconds, h, m, s);
    const bool twelveHour = FirstFieldRun(Mask, 't').found() && BothAmPm();
    int shownHours = h;
    if (twelveHour)
        shownHours = h == 0 ? 12 : (h > 12 ? h - 12 : h);

    ForEachRun(Mask, "hmst", [&](char letter, Run run) {
        if (noTime) {
            FillBlanks(out, run);
            return;
        }
        switch (letter) {
        case 'h': FillNumber(out, Mask, run, shownHours); break;
        case 'm': FillNumber(out, Mask, run, m); break;
        case 's': FillNumber(out, Mask, run, s); break;
        case 't':
            if (twelveHour)
                FillText(out, Mask, run, h < 12 ? amText_ : pmText_, false);
            else
                FillBlanks(out, run);
            break;
        }
    });
    for (std::size_t k = 0; k < Mask.size(); ++k)
        if (Mask[k] == ':')
            out[k] = timeSeparator_;
    return Pack ? ::Pack(Mask, out, "HMS") : out;
}

bool TFclIntlSup::DateTextIsBlank(std::string_view Mask, std::string_view Text) const
{
    for (std::size_t k = 0; k < Mask.size() && k < Text.size(); ++k) {
        const char letter = Lower(Mask[k]);
        if ((letter == 'm' || letter == 'n' || letter == 'd' || letter == 'y') && Text[k] != ' ')
            return false;
    }
    return true;
}

int TFclIntlSup::MonthFromName(std::string_view Text, std::size_t Width) const
{
    Width = std::min(Width, kMaxTextLength);
    if (Width == 0)
        return 0;
    const std::string wanted = PadOrCut(Upper(Text), Width);
    for (std::size_t i = 0; i < monthNames_.size(); ++i)
        if (PadOrCut(Upper(monthNames_[i]), Width) == wanted)
            return static_cast<int>(i) + 1;
    return 0;
}

TFclIntlSup& FclIntlSup()
{
    auto& instance = Instance();
    if (!instance)
        instance = std::make_unique<TFclIntlSup>();
    return *instance;
}

void RecreateFclIntlSup()
{
    Instance() = std::make_unique<TFclIntlSup>();
}
