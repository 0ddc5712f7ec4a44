#include "generation/ParameterLine.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace {

constexpr std::size_t kMaxLine = 255;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Comma-separated fields from a position on; a field that is missing reads as empty and
// starts at the end of the line.
class FieldCursor {
public:
    FieldCursor(std::string_view line, std::size_t at) : line_(line), at_(at) {}
    std::size_t Position() const { return at_; }
    std::string_view Next() {
        const std::size_t start = at_;
        std::size_t end = line_.find(',', start);
        if (end == std::string_view::npos) {
            at_ = line_.size();
            return line_.substr(start);
        }
        at_ = end + 1;
        return line_.substr(start, end - start);
    }

private:
    std::string_view line_;
    std::size_t at_;
};

}  // namespace

std::optional<std::int32_t> ReadInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return std::int32_t(value);
}

std::optional<double> ReadDecimal(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Digits or a point must follow: no "inf", "nan" or hexadecimal forms.
    if (i == text.size() || !(IsDigit(text[i]) || text[i] == '.')) return std::nullopt;
    double value = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec != std::errc() || end != last) return std::nullopt;
    return negative ? -value : value;
}

ParameterLineRead ReadParameterLine(std::string_view line) {
    line = line.substr(0, std::min(line.size(), kMaxLine));
    ParameterLineRead read;
    const std::size_t p = line.find("SEL=");
    if (p == std::string_view::npos) {
        read.error = ParameterLineError::NoStrategy;
        return read;
    }
    const std::size_t rest = p + 4;
    if (line.size() - rest < 2) {
        read.error = ParameterLineError::NoStrategy;
        return read;
    }
    const auto strategy = ReadInteger(line.substr(rest, 2));
    if (!strategy) {
        read.error = ParameterLineError::NoStrategy;
        return read;
    }
    read.fields.strategy = *strategy;
    // The strategy field and its comma, then the contour character and its comma.
    if (line.size() - rest < 3 + 3) {
        read.error = ParameterLineError::BadCentre;
        return read;
    }
    FieldCursor fields(line, rest + 3 + 2);
    for (int centre = 0; centre < 2; ++centre) {
        if (!ReadDecimal(fields.Next())) {
            read.error = ParameterLineError::BadCentre;
            return read;
        }
    }
    for (int skipped = 0; skipped < 3; ++skipped) fields.Next();  // length, width, thickness
    const std::string_view decimals = fields.Next();
    if (!decimals.empty() && IsDigit(decimals[0])) read.fields.decimals = std::uint8_t(decimals[0] - '0');
    read.fields.headerLines = ReadInteger(fields.Next()).value_or(0);
    read.fields.lastLineAt = fields.Position();
    read.fields.lastLine = ReadInteger(fields.Next()).value_or(0);
    return read;
}
