#pragma once
// Whether a controller runs an arc about the program origin as it is written. The check is
// made on the numbers as they stand in the program, rounded to its decimals, since those are
// what a controller reads: a step around a circle can round to an arc that ends where it
// starts, which every controller reads as a full circle, or to one whose end lies on another
// radius than its start, which LinuxCNC refuses.
#include <optional>
#include <string_view>

// Off the circle through the start by more than both of these, an arc is not written.
inline constexpr double kArcRadiusToleranceMm = 0.02;
inline constexpr double kArcRadiusToleranceRelative = 0.001;

// The number of a written word ("X-12.5" gives -12.5, "Y-0" gives 0); nothing when the word
// does not read as a letter and a number.
std::optional<double> WordNumber(std::string_view word);

// An arc about the origin from (xs, ys) to (xe, ye) runs as written unless its end is its start,
// one of its ends is the centre, or its end lies off the circle through its start by more than
// kArcRadiusToleranceMm and kArcRadiusToleranceRelative of that circle's radius. Numbers that
// are not finite give false.
bool ArcRunsAsWritten(double xs, double ys, double xe, double ye);
// The same for the written words; false when one of them does not read.
bool ArcRunsAsWritten(std::string_view Xs, std::string_view Ys, std::string_view Xe, std::string_view Ye);
