#pragma once
// Number texts of the entry fields, read and written without the C locale: "." is the
// decimal point of every text here; the fields turn it into the international decimal
// character and back.
#include <cstdint>
#include <string>
#include <string_view>

// Rewrites a number text typed under DecimalChar so that ParseRealText reads it: trailing
// blanks removed ("" becomes "0"), a trailing DecimalChar removed, the first DecimalChar
// (not in front) or else the first "." taken as the decimal point, a lone point completed
// with "0" ("5." "5.0", ".5" "0.5", "-.5" "-0.5"), a mantissa before "E" given a point and
// five more zeros when short, and blanks around the point removed. The text stays within
// 255 characters.
void FixRealText(std::string& Text, char DecimalChar);

// A real number: leading blanks, an optional sign, digits with at most one ".", an optional
// exponent ("E" or "e", optional sign, digits). Anything else, or an empty text, fails.
bool ParseRealText(std::string_view Text, long double& Value);
bool ParseRealText(std::string_view Text, double& Value);

// Fixed-point text with Decimals decimals (at most 255), rounded to nearest; "-" for
// negative values; no blanks. Infinities and NaN give "INF", "-INF", "NAN".
std::string FixedText(long double Value, int Decimals);
// Scientific text of the platform's fixed-width form: a blank or "-", one digit, ".",
// Width - 9 digits (at least 1), "E", the exponent's sign and four digits.
std::string ScientificText(long double Value, int Width);
// The shortest text that reads back as exactly Value (fixed-point for exponents from -5 to
// 20, else scientific with "E").
std::string ShortestText(double Value);
std::string ShortestText(long double Value);

// Decimal 32-bit text.
std::string LongIntText(std::int32_t Value);
