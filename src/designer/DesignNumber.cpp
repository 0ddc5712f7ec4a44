#include "designer/DesignNumber.h"

#include "platform/IntlSource.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

std::string FormatGeneral(double value, char separator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    // 15 significant digits, correctly rounded: d.dddddddddddddde<exp>.
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                   std::chars_format::scientific, 14);
    std::string_view sci(buf, std::size_t(res.ptr - buf));
    const std::size_t e = sci.find('e');
    std::string digits;
    digits += sci[0];
    digits.append(sci.substr(2, e - 2));
    int exponent = 0;
    std::from_chars(sci.data() + e + (sci[e + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string out = value < 0 ? "-" : "";
    const int intDigits = exponent + 1;  // digits before the separator
    if (intDigits > 15 || intDigits < -3) {
        out += digits[0];
        if (digits.size() > 1) {
            out += separator;
            out.append(digits, 1);
        }
        out += 'E';
        if (exponent < 0)
            out += '-';
        out += std::to_string(std::abs(exponent));
    } else if (intDigits <= 0) {
        out += '0';
        out += separator;
        out.append(std::size_t(-intDigits), '0');
        out += digits;
    } else {
        if (int(digits.size()) <= intDigits) {
            out += digits;
            out.append(std::size_t(intDigits) - digits.size(), '0');
        } else {
            out.append(digits, 0, std::size_t(intDigits));
            out += separator;
            out.append(digits, std::size_t(intDigits));
        }
    }
    return out;
}

static std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::optional<double> ParseGeneral(std::string_view text, char separator) {
    const std::string_view s = TrimBlanks(text);
    std::string normal;  // the same number with '.' as separator, for from_chars
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-')
            normal += '-';
        ++i;
    }
    std::size_t mantissaDigits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        normal += s[i++];
        ++mantissaDigits;
    }
    if (i < s.size() && s[i] == separator) {
        if (i + 1 < s.size() && IsDigit(s[i + 1]))
            normal += '.';
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            normal += s[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        normal += 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            if (s[i] == '-')
                normal += '-';
            ++i;
        }
        std::size_t expDigits = 0;
        while (i < s.size() && IsDigit(s[i])) {
            normal += s[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;
    double v = 0;
    const auto res = std::from_chars(normal.data(), normal.data() + normal.size(), v,
                                     std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != normal.data() + normal.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

char DesignDecimalSeparator() {
    const std::string sep = CurrentIntlSettings().sDecimal;
    return sep.empty() ? '.' : sep[0];
}

std::string FloatToStr(double value) { return FormatGeneral(value, DesignDecimalSeparator()); }

std::optional<double> StrToFloat(std::string_view text) {
    return ParseGeneral(text, DesignDecimalSeparator());
}

std::optional<int> StrToInt(std::string_view text) {
    std::string_view s = TrimBlanks(text);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (s.empty() || !IsDigit(s.front()))
            return std::nullopt;
    }
    int v = 0;
    const auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size())
        return std::nullopt;
    return v;
}
