#include "generation/SpiralAngle.h"

#include <array>
#include <cmath>
#include <limits>

namespace {

constexpr double kTolerance = 1e-6;

// The angle steps of the walk: 1, then each step a tenth of the one before, down to 0.
struct StepTable {
    std::array<double, 400> step{};
    StepTable() {
        double s = 1.0;
        for (double& v : step) {
            v = s;
            s = s * 0.1;
        }
    }
};
const StepTable kSteps;

double StepAt(int level) { return level < int(kSteps.step.size()) ? kSteps.step[std::size_t(level)] : 0.0; }

bool GivesNoSpiral(double k, double s) {
    return !(k > 0) || !(s >= 0) || !std::isfinite(k) || !std::isfinite(s) || s <= kTolerance;
}

// The closer of the last angles below and above the length when the steps no longer move.
double Closer(double k, double s, double below, bool haveBelow, double above, bool haveAbove) {
    if (!haveAbove) return below;
    if (!haveBelow) return above;
    const double dBelow = std::fabs(SpiralLength(k, below) - s);
    const double dAbove = std::fabs(SpiralLength(k, above) - s);
    return dAbove < dBelow ? above : below;
}

enum class Verdict { Below, Reached, Above };

Verdict Judge(double d) {
    if (std::fabs(d) <= kTolerance) return Verdict::Reached;
    return d > kTolerance ? Verdict::Above : Verdict::Below;
}

}  // namespace

double SpiralLength(double k, double theta) {
    const double q = std::sqrt(1 + theta * theta);
    return k / 2 * (theta * q + std::log(theta + q));
}

double SpiralAngleForLength(double k, double s) {
    if (GivesNoSpiral(k, s)) return 0;
    double theta = 0, below = 0, above = 0;
    bool haveBelow = false, haveAbove = false;
    int level = 0;
    for (;;) {
        const Verdict v = Judge(SpiralLength(k, theta) - s);
        if (v == Verdict::Reached) return theta;
        double next;
        if (v == Verdict::Above) {
            above = theta;
            haveAbove = true;
            next = theta - StepAt(level);
            ++level;
        } else {
            below = theta;
            haveBelow = true;
            next = theta + StepAt(level);
        }
        if (next == theta) return Closer(k, s, below, haveBelow, above, haveAbove);
        theta = next;
    }
}

// The walk of SpiralAngleForLength, replayed without evaluating the length wherever its
// verdict is certain. The two angles where L - s crosses -1e-6 and +1e-6 are found by
// Newton's method first; an angle of the walk that lies clearly below, between or above them
// gets its verdict from them, and only an angle within a few rounding errors of one of them is
// judged by its length, exactly as the walk judges it. The whole-number steps of the first
// level are exact, so the walk there jumps to just below the crossing.
double SpiralAngleFinder::AngleForLength(double s) {
    const double k = k_;
    if (GivesNoSpiral(k, s)) return 0;

    // Newton's method on the convex, rising L from an angle at or above the root (the
    // previous root lies below it and is only used when it is close).
    const double target = s - kTolerance;
    double theta = std::sqrt(2 * target / k);  // L(theta) >= k theta^2 / 2, so this is above
    if (lastRoot_ >= 0 && lastRoot_ < theta) {
        // One step from below lands above the root, close to it.
        theta = lastRoot_;
    }
    double slope = k;
    for (int i = 0; i < 100; ++i) {
        const double q = std::sqrt(1 + theta * theta);
        slope = k * q;
        const double delta = (SpiralLength(k, theta) - target) / slope;
        double next = theta - delta;
        if (next < 0) next = 0;
        const double moved = std::fabs(next - theta);
        theta = next;
        // The error after a step is about delta^2 * L'' / (2 L') <= delta^2 / (2 q).
        if (moved * moved / (2 * q) <= 1e-17 * (1 + theta) || moved == 0) break;
    }
    const double lowRoot = theta;
    lastRoot_ = lowRoot;
    // L rises by 2e-6 at the slope L', up to a second-order term bounded below.
    const double width = 2 * kTolerance / slope;
    const double highRoot = lowRoot + width;
    const double margin = 1e-14 * (1 + lowRoot);
    const double highMargin = margin + width * width / 2 + 1e-14 * (1 + highRoot);

    auto verdict = [&](double t) {
        if (t < lowRoot - margin) return Verdict::Below;
        if (t > lowRoot + margin && t < highRoot - highMargin) return Verdict::Reached;
        if (t > highRoot + highMargin) return Verdict::Above;
        return Judge(SpiralLength(k, t) - s);
    };

    double t = 0, below = 0, above = 0;
    bool haveBelow = false, haveAbove = false;
    int level = 0;
    // The first level walks the whole numbers 0, 1, 2, ...: every one clearly below the low
    // root is passed at once (whole numbers up to 2^53 are exact sums of ones).
    const double jump = std::floor(lowRoot - margin);
    if (jump >= 1) {
        t = std::min(jump, 9007199254740992.0);
        below = t - 1;  // the walk judged every whole number below t "below"
        haveBelow = true;
    }
    for (;;) {
        const Verdict v = verdict(t);
        if (v == Verdict::Reached) return t;
        double next;
        if (v == Verdict::Above) {
            above = t;
            haveAbove = true;
            next = t - StepAt(level);
            ++level;
        } else {
            below = t;
            haveBelow = true;
            next = t + StepAt(level);
        }
        if (next == t) return Closer(k, s, below, haveBelow, above, haveAbove);
        t = next;
    }
}
