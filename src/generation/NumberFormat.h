#pragma once
// The number format of every coordinate word, and the rounding rules of the generator.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Longest text FormatNumber can produce: sign, 309 integer digits, point, 255 decimals.
constexpr std::size_t kFormatNumberMax = 576;

// v in fixed notation with d decimals, rounded half away from zero on its decimal expansion
// to 18 significant digits; trailing zeros of the fraction and then a trailing point are
// removed; exactly 0 gives "0". A negative value that rounds to zero keeps its sign ("-0").
// An infinity or NaN is no number to write: it raises Exception, never a word.
std::string FormatNumber(std::uint8_t d, double v);
// The same into out (at least kFormatNumberMax bytes); returns the length.
std::size_t FormatNumberTo(char* out, std::uint8_t d, double v);
// The exact method alone, without the fast path (kept for checking the fast path).
std::size_t FormatNumberExact(char* out, std::uint8_t d, double v);

// The number a written word's number part reads as ("-12.5", "+3", ".5"; fixed notation, as
// written); nothing when it is not wholly a number.
std::optional<double> ReadWrittenNumber(std::string_view number);

// The number that v reads as once written with d decimals (its word's number).
double WrittenValue(std::uint8_t d, double v);
// The deepest depth a program may write for the depth limit `limit` (a negative depth) at d
// decimals: the limit itself when its word reads at or above it, else the limit rounded by
// one unit of the last decimal toward the surface (-3.6 at 0 decimals gives -3), so that no
// written depth lies below the limit.
double DeepestWrittenDepth(double limit, std::uint8_t d);

// v, or r when v lies within 0.001 of r.
inline double SnapToEdge(double v, double r) { return (v - r < 0.001 && r - v < 0.001) ? r : v; }

// Rounds half to even; nullopt for NaN, infinities and values outside the 32-bit range.
std::optional<std::int32_t> RoundToInt32(double v);
// Cuts toward zero; nullopt for NaN, infinities and values outside the 32-bit range.
std::optional<std::int32_t> TruncToInt32(double v);
std::optional<std::int64_t> TruncToInt64(double v);
