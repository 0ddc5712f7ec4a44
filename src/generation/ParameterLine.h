#pragma once
// Reading back the parameter line "SEL=..." of a generated program: the strategy, the
// decimals, the header line count and the last body line, as the optimiser needs them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

// An integer as the parameter line writes it: optional blanks, an optional sign and
// decimal digits, nothing after them, within the 32-bit range.
std::optional<std::int32_t> ReadInteger(std::string_view text);
// A number with "." as decimal point (and an optional exponent), nothing after it.
std::optional<double> ReadDecimal(std::string_view text);

struct ParameterLineFields {
    std::int32_t strategy = 0;               // SelStrategy
    std::optional<std::uint8_t> decimals;    // the first character of SelDecimals, when a digit
    std::int32_t headerLines = 0;            // SelHeaderLines; 0 when it does not read
    std::int32_t lastLine = 0;               // SelLastLine; 0 when it does not read
    std::size_t lastLineAt = 0;              // where SelLastLine starts in the line
};

enum class ParameterLineError {
    None,
    NoStrategy,  // no "SEL=", fewer than 2 characters after it, or a strategy that does not read
    BadCentre,   // too short after the strategy, or a centre field that does not read
};

struct ParameterLineRead {
    ParameterLineError error = ParameterLineError::None;
    ParameterLineFields fields;
};

// Reads the fields of the line (handled as its first 255 characters).
ParameterLineRead ReadParameterLine(std::string_view line);
