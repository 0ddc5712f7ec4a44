#pragma once
// The Archimedean spiral r = k * theta of the spiral pattern: its arc length from the centre
// and the angle at which a given arc length is reached.

// L(theta) = k/2 * (theta * sqrt(1 + theta^2) + ln(theta + sqrt(1 + theta^2))).
double SpiralLength(double k, double theta);

// The angle theta with |L(theta) - s| <= 1e-6, found by walking up from 0 in angle steps of
// 1, 0.1, 0.01 and so on, stepping back one step and refining whenever L passes s + 1e-6.
// Where the steps become too small to change theta before the length is reached (a large
// radius at a small spacing), the closer of the last angles below and above s is returned.
// 0 for s <= 1e-6 and for arguments that give no spiral (k <= 0, s < 0, not finite).
// The walk from 0 costs time in proportion to theta; SpiralAngleFinder gives the same angle
// at a cost that does not grow with it.
double SpiralAngleForLength(double k, double s);

// SpiralAngleForLength for the points of one spiral, whose lengths only grow: the same angle,
// point for point, found from the previous point's angle.
class SpiralAngleFinder {
public:
    explicit SpiralAngleFinder(double k) : k_(k) {}
    double AngleForLength(double s);

private:
    double k_;
    double lastRoot_ = -1;  // the angle of the previous length, where the search starts
};
