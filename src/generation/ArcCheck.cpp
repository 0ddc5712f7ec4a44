#include "generation/ArcCheck.h"

#include <charconv>
#include <cmath>

std::optional<double> WordNumber(std::string_view word) {
    if (word.size() < 2) return std::nullopt;
    const char* first = word.data() + 1;
    const char* last = word.data() + word.size();
    double value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end != last) return std::nullopt;
    return value;
}

bool ArcRunsAsWritten(double xs, double ys, double xe, double ye) {
    if (!std::isfinite(xs) || !std::isfinite(ys) || !std::isfinite(xe) || !std::isfinite(ye)) return false;
    if (xs == xe && ys == ye) return false;  // -0 and 0 compare equal, as a controller reads them
    const double startRadius = std::hypot(xs, ys);
    const double endRadius = std::hypot(xe, ye);
    if (startRadius == 0 || endRadius == 0) return false;
    const double off = std::fabs(endRadius - startRadius);
    return !(off > kArcRadiusToleranceMm && off > kArcRadiusToleranceRelative * startRadius);
}

bool ArcRunsAsWritten(std::string_view Xs, std::string_view Ys, std::string_view Xe, std::string_view Ye) {
    const auto xs = WordNumber(Xs), ys = WordNumber(Ys), xe = WordNumber(Xe), ye = WordNumber(Ye);
    if (!xs || !ys || !xe || !ye) return false;
    return ArcRunsAsWritten(*xs, *ys, *xe, *ye);
}
