#include "model/PlaneGeometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/ComplexValue.h"

namespace {
constexpr double kPi = 3.14159265358979323846;
}

TEST(PlaneGeometry, AzimuthCoversAllQuadrantsAndTheAxes) {
    EXPECT_DOUBLE_EQ(Azimuth(1, 0), kPi / 2);
    EXPECT_DOUBLE_EQ(Azimuth(-1, 0), 3 * kPi / 2);
    EXPECT_DOUBLE_EQ(Azimuth(0, -1), kPi);
    EXPECT_DOUBLE_EQ(Azimuth(-1, 1), 7 * kPi / 4);
    EXPECT_DOUBLE_EQ(Azimuth(0, 0), kPi / 2);
    EXPECT_DOUBLE_EQ(Azimuth(0, 1), 0.0);
    EXPECT_DOUBLE_EQ(Azimuth(1, -1), 3 * kPi / 4);
    EXPECT_DOUBLE_EQ(Hypot(3, 4), 5.0);
}

TEST(PlaneGeometry, LinesSolveAndParallelsDegradeAsDesigned) {
    double a, b, c;
    LineCoefficients(a, b, c, 1, 2, 3, 6);
    EXPECT_DOUBLE_EQ(a * 1 + b * 2 + c, 0.0);
    EXPECT_DOUBLE_EQ(a * 3 + b * 6 + c, 0.0);

    double x = 0, y = 0;
    SolveLinear2(x, y, 1, 1, -2, 1, -1, 0);  // x + y = 2, x - y = 0
    EXPECT_DOUBLE_EQ(x, 1.0);
    EXPECT_DOUBLE_EQ(y, 1.0);
    SolveLinear2(x, y, 1, 1, -2, 1, 1, -5);  // parallel, distinct: divided by 1e-13
    EXPECT_GT(std::fabs(x) + std::fabs(y), 1e12);
    SolveLinear2(x, y, 1, 1, -2, 1, 1, -2);  // coinciding
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);

    x = 42, y = 43;
    LineIntersection(x, y, 0, 0, 1, 1, 0, 1, 1, 2);  // parallel: outputs untouched
    EXPECT_EQ(x, 42);
    EXPECT_EQ(y, 43);
    LineIntersection(x, y, 0, 0, 2, 2, 0, 2, 2, 0);
    EXPECT_DOUBLE_EQ(x, 1.0);
    EXPECT_DOUBLE_EQ(y, 1.0);
}

TEST(PlaneGeometry, DistanceToSegmentMeasuresToTheLine) {
    bool on = false;
    EXPECT_DOUBLE_EQ(DistanceToSegment(on, 0, 0, 10, 0, 5, 3), 3.0);
    EXPECT_TRUE(on);
    EXPECT_DOUBLE_EQ(DistanceToSegment(on, 0, 0, 10, 0, 15, 2), 2.0);  // beyond the end
    EXPECT_FALSE(on);
    EXPECT_DOUBLE_EQ(DistanceToSegment(on, 0, 0, 10, 0, 4, 0), 0.0);
    EXPECT_TRUE(on);
    // A segment of zero length away from the origin: the foot is the origin.
    EXPECT_DOUBLE_EQ(DistanceToSegment(on, 5, 5, 5, 5, 3, 4), 5.0);
    EXPECT_FALSE(on);
    EXPECT_DOUBLE_EQ(DistanceToSegment(on, 0, 0, 0, 0, 3, 4), 5.0);
    EXPECT_TRUE(on);
}

TEST(PlaneGeometry, PointInRectExcludesTheBorder) {
    const double x = 1, y = 1, edge = 0;
    EXPECT_TRUE(PointInRect(x, y, 0, 0, 2, 2));
    EXPECT_FALSE(PointInRect(edge, y, 0, 0, 2, 2));
    EXPECT_FALSE(PointInRect(x, edge, 0, 0, 2, 2));
}

TEST(ComplexValue, SeriesMatchTheirPolynomialsAndAllowAliasing) {
    TComplexValue r{9, 9};
    ComplexTanSeries({0, 0}, r);
    EXPECT_EQ(r.Re, 0.0);
    EXPECT_EQ(r.Im, 0.0);
    const double z = 0.3;
    ComplexTanSeries({z, 0}, r);
    EXPECT_NEAR(r.Re,
                z * (1 + z * z / 3 + 2 * std::pow(z, 4) / 15 + 17 * std::pow(z, 6) / 315 +
                     62 * std::pow(z, 8) / 2835),
                1e-15);
    EXPECT_EQ(r.Im, 0.0);
    ComplexAtanSeries({z, 0}, r);
    EXPECT_NEAR(r.Re,
                z * (1 - z * z / 3 + std::pow(z, 4) / 5 - std::pow(z, 6) / 7 + std::pow(z, 8) / 9),
                1e-15);
    // Close to tan and atan for a small complex argument.
    TComplexValue w{0.05, 0.02};
    ComplexTanSeries(w, w);
    EXPECT_NEAR(w.Re, std::sin(0.1) / (std::cos(0.1) + std::cosh(0.04)), 1e-9);
    TComplexValue p{1, 2};
    ComplexMul(p, {3, 4}, p);
    EXPECT_EQ(p.Re, -5);
    EXPECT_EQ(p.Im, 10);
    ComplexAdd(p, {1, 1}, p);
    ComplexScale(p, p, 2);
    EXPECT_EQ(p.Re, -8);
    EXPECT_EQ(p.Im, 22);
}
