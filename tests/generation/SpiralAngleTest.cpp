// The spiral's arc length and the angle search, from 0 and from the previous point.
#include "generation/SpiralAngle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr double kPi = std::numbers::pi;

TEST(SpiralAngle, ReachesTheLengthWithinTheTolerance) {
    EXPECT_EQ(SpiralAngleForLength(1, 0), 0.0);
    // L(1) is met at the second evaluation: 0 lies below it, 1 within the tolerance.
    EXPECT_EQ(SpiralAngleForLength(1, SpiralLength(1, 1)), 1.0);
    for (double s : {0.5, 3.0, 47.25, 1000.0}) {
        const double theta = SpiralAngleForLength(0.8, s);
        EXPECT_LE(std::fabs(SpiralLength(0.8, theta) - s), 1e-6) << s;
    }
    // Arguments that describe no spiral give the centre.
    EXPECT_EQ(SpiralAngleForLength(0, 5), 0.0);
    EXPECT_EQ(SpiralAngleForLength(1, -5), 0.0);
    EXPECT_EQ(SpiralAngleForLength(1, std::nan("")), 0.0);
    EXPECT_EQ(SpiralAngleForLength(1, INFINITY), 0.0);
}

// A large radius at a small spacing: the angle steps stop changing the angle before the
// length is met within the tolerance. The search ends with the closer neighbour.
TEST(SpiralAngle, EndsWhereTheStepsNoLongerMoveTheAngle) {
    const double R = 1e5, nR = 1e8, k = R / (2 * kPi * nR);
    const double s = SpiralLength(k, 6.1e8) + 0.3;
    SpiralAngleFinder finder(k);
    const double theta = finder.AngleForLength(s);
    EXPECT_GT(theta, 6.1e8);
    EXPECT_LT(std::fabs(SpiralLength(k, theta) - s), 0.1);
    EXPECT_LE(std::fabs(SpiralLength(k, theta) - s), std::fabs(SpiralLength(k, std::nextafter(theta, 0.0)) - s));
    EXPECT_LE(std::fabs(SpiralLength(k, theta) - s), std::fabs(SpiralLength(k, std::nextafter(theta, 1e300)) - s));
}

// The finder gives the angle of the search from 0, point for point.
TEST(SpiralAngle, FinderGivesTheAngleOfTheSearchFromZero) {
    struct Case {
        double R;
        int nR;
        double stepy;
    } cases[] = {{50, 10, 0.7}, {424.26, 4242, 0.1}, {3, 3, 0.01}, {360.5, 72, 0.37}, {0.01, 1, 0.0001}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.R);
        const double k = c.R / (2 * kPi * c.nR);
        SpiralAngleFinder finder(k);
        const int points = 3000;
        for (int i = 0; i <= points; ++i) {
            const double s = i * c.stepy;
            ASSERT_EQ(finder.AngleForLength(s), SpiralAngleForLength(k, s)) << "point " << i;
        }
    }
    // A spiral so coarse that its angles near 1000 cannot meet the length within 1e-6: the
    // two searches end on the same neighbour.
    {
        const double k = 2e4;
        SpiralAngleFinder finder(k);
        for (int i = 0; i < 300; ++i) {
            const double s = SpiralLength(k, 1000) + i * 0.37;
            ASSERT_EQ(finder.AngleForLength(s), SpiralAngleForLength(k, s)) << "point " << i;
        }
    }
    // Lengths far along a spiral and at random places.
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> kd(1e-4, 10), sd(0, 20000);
    for (int n = 0; n < 200; ++n) {
        const double k = kd(rng);
        SpiralAngleFinder finder(k);
        double s = sd(rng) * k * 0.01;
        for (int i = 0; i < 20; ++i) {
            s += std::uniform_real_distribution<double>(0, 3)(rng);
            ASSERT_EQ(finder.AngleForLength(s), SpiralAngleForLength(k, s)) << "k " << k << " s " << s;
        }
    }
}

}  // namespace
