#pragma once
// Real numbers of the design file: our own general format and its reader, both with the
// decimal separator of the international settings (so twelve and a half is "12,5" on a German
// system and "12.5" on an English one).
//
// General format: at most 15 significant digits, rounded to nearest; trailing zeros dropped.
// Fixed notation when the value has 1 to 15 integer digits or lies at 0.0001 or above
// (1234.5, 0.0001); otherwise mantissa, "E", "-" for a negative exponent, the exponent without
// leading zeros (1E15, 1.5E-5, -2.25E20). Zero (either sign) is "0"; NaN, infinities are
// "NAN", "INF", "-INF" (the reader refuses them).
//
// Reader: blanks around the number, an optional sign, digits with at most one separator,
// an optional exponent ("E" or "e", optional sign, digits). Anything else, a point where the
// separator is a comma, or a value beyond the double range is not a number.
#include <optional>
#include <string>
#include <string_view>

std::string FormatGeneral(double value, char separator);
std::optional<double> ParseGeneral(std::string_view text, char separator);

// The decimal separator of the international settings in force (first byte; "." when empty).
char DesignDecimalSeparator();

// The same with the separator in force.
std::string FloatToStr(double value);
std::optional<double> StrToFloat(std::string_view text);

// An integer in decimal: blanks around it, an optional sign, digits, within 32 bits.
std::optional<int> StrToInt(std::string_view text);
