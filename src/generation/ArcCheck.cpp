#include "generation/ArcCheck.h"

#include "generation/NumberFormat.h"

#include <cmath>

std::optional<double> WordNumber(std::string_view word) {
    if (word.empty()) return std::nullopt;
    return ReadWrittenNumber(word.substr(1));
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
