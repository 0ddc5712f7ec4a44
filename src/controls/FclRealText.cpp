#include "controls/FclRealText.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "controls/FclStrings.h"

namespace {

constexpr std::size_t kExponentMantissaWidth = 12;

void TrimTrailingBlanks(std::string& s)
{
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits with at most one ".", at least one digit, then an optional exponent.
bool WellFormedNumber(std::string_view s)
{
    std::size_t i = 0;
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (IsDigit(s[i])) {
            digits = true;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return false;
    if (i == s.size())
        return true;
    if (s[i] != 'E' && s[i] != 'e')
        return false;
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    if (i == s.size())
        return false;
    for (; i < s.size(); ++i)
        if (!IsDigit(s[i]))
            return false;
    return true;
}

template <typename T>
bool Parse(std::string_view text, T& value)
{
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::string_view body = text.substr(i);
    if (!WellFormedNumber(body))
        return false;
    T v{};
    const auto res = std::from_chars(body.data(), body.data() + body.size(), v,
                                     std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != body.data() + body.size())
        return false;
    value = negative ? -v : v;
    return true;
}

// "-0.000" and the like lose their sign.
void DropNegativeZero(std::string& s)
{
    if (s.empty() || s.front() != '-')
        return;
    for (std::size_t i = 1; i < s.size(); ++i)
        if (s[i] != '0' && s[i] != '.')
            return;
    s.erase(0, 1);
}

std::string NonFinite(long double v)
{
    if (std::isnan(v))
        return "NAN";
    return v < 0 ? "-INF" : "INF";
}

template <typename T>
std::string Shortest(T v)
{
    if (!std::isfinite(v))
        return NonFinite(v);
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    std::string s(buf, res.ptr);
    for (char& c : s)
        if (c == 'e')
            c = 'E';
    return s;
}

} // namespace

void FixRealText(std::string& Text, char DecimalChar)
{
    if (Text.size() > kMaxTextLength)
        Text.resize(kMaxTextLength);
    TrimTrailingBlanks(Text);
    if (Text.empty()) {
        Text = "0";
        return;
    }
    if (Text.back() == DecimalChar) {
        Text.pop_back();
        TrimTrailingBlanks(Text);
    }
    std::size_t mark = std::string::npos;
    const std::size_t dc = Text.find(DecimalChar);
    if (dc != std::string::npos && dc > 0) {
        Text[dc] = '.';
        mark = dc;
    } else {
        mark = Text.find('.');
    }
    if (mark != std::string::npos) {
        if (mark + 1 == Text.size()) {
            Text.push_back('0');
        } else if (mark == 0) {
            Text.insert(0, 1, '0');
            mark = 1;
        } else if (mark == 1 && Text[0] == '-') {
            Text.insert(1, 1, '0');
            mark = 2;
        }
    }
    const std::size_t e = Text.find_first_of("Ee");
    if (e != std::string::npos && e > 0) {
        std::size_t ePos = e;
        if (mark == std::string::npos) {
            Text.insert(ePos, 1, '.');
            mark = ePos;
            ++ePos;
        }
        if (ePos > mark && ePos - mark < kExponentMantissaWidth)
            Text.insert(ePos, "00000");
    }
    if (mark != std::string::npos) {
        while (mark > 0 && Text[mark - 1] == ' ') {
            Text.erase(mark - 1, 1);
            --mark;
        }
        while (mark + 1 < Text.size() && Text[mark + 1] == ' ')
            Text.erase(mark + 1, 1);
    }
    if (Text.size() > kMaxTextLength)
        Text.resize(kMaxTextLength);
}

bool ParseRealText(std::string_view Text, long double& Value)
{
    return Parse(Text, Value);
}

bool ParseRealText(std::string_view Text, double& Value)
{
    return Parse(Text, Value);
}

std::string FixedText(long double Value, int Decimals)
{
    if (!std::isfinite(Value))
        return NonFinite(Value);
    if (Decimals < 0)
        Decimals = 0;
    if (Decimals > static_cast<int>(kMaxTextLength))
        Decimals = static_cast<int>(kMaxTextLength);
    // Up to 4933 integer digits of an extended value, the point and the decimals.
    std::string buf(5300, '\0');
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), Value,
                                   std::chars_format::fixed, Decimals);
    buf.resize(static_cast<std::size_t>(res.ptr - buf.data()));
    DropNegativeZero(buf);
    return buf;
}

std::string ScientificText(long double Value, int Width)
{
    if (!std::isfinite(Value))
        return NonFinite(Value);
    const int digits = Width - 9 < 1 ? 1 : Width - 9;
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(Value),
                                   std::chars_format::scientific, digits);
    std::string s(buf, res.ptr);
    const std::size_t e = s.find('e');
    std::string mantissa = s.substr(0, e);
    const char sign = s[e + 1];
    std::string exponent = s.substr(e + 2);
    while (exponent.size() < 4)
        exponent.insert(0, 1, '0');
    return std::string(1, Value < 0 ? '-' : ' ') + mantissa + "E" + sign + exponent;
}

std::string ShortestText(double Value)
{
    return Shortest(Value);
}

std::string ShortestText(long double Value)
{
    return Shortest(Value);
}

std::string LongIntText(std::int32_t Value)
{
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, Value);
    return std::string(buf, res.ptr);
}
