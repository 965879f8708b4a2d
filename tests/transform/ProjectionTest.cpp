#include <cmath>
#include <numbers>

#include "model/DmsAngle.h"
#include "tests/transform/TransformTestSupport.h"
#include "transform/Albers.h"
#include "transform/Ellipsoids.h"
#include "transform/GaussKrueger.h"
#include "transform/PackedAngle.h"
#include "transform/PolishProjections.h"
#include "transform/ZoneCorrection65.h"

TEST(PackedAngle, ConvertsBothWaysAndRoundsAHairBelowAWholeUnit) {
    double v = 213000;
    DmsToRad(v);
    EXPECT_NEAR(v, 0.3752457891787809, 1e-15);
    RadToDms(v);
    EXPECT_DOUBLE_EQ(v, 213000.0);
    v = -(15 * 100 + 23.5);
    DmsToRad(v);
    EXPECT_NEAR(v, -(15 * 60 + 23.5) * std::numbers::pi / 648000.0, 1e-15);
    v = (10 + 59.99995 / 3600.0 / 60.0 * 60.0 / 60.0) * kDeg;  // 10 deg 00' 59.99995"
    v = (10.0 + (59.99995 / 3600.0)) * kDeg + 0.0 * v;
    RadToDms(v);
    EXPECT_NEAR(v, 100100.0, 1e-9);
    v = (10.0 + 59.0 / 60.0 + 59.99995 / 3600.0) * kDeg;
    RadToDms(v);
    EXPECT_NEAR(v, 110000.0, 1e-9);
    for (double deg : {15.0, 21.0}) {
        v = deg * kDeg;
        RadToDms(v);
        EXPECT_DOUBLE_EQ(v, deg * 10000.0);
    }
    EXPECT_NEAR(Tan(0.5), std::tan(0.5), 1e-15);
}

TEST(ZoneCorrection, WithoutARoutineBothDirectionsFailAndCopy) {
    double x = 0, y = 0;
    EXPECT_EQ(GugikCorrectForward(2, x, y, 5700000.0, 4500000.0), -1);
    EXPECT_EQ(x, 5700000.0);
    EXPECT_EQ(y, 4500000.0);
    EXPECT_EQ(GugikCorrectInverse(7, x, y, 1.0, 2.0), -1);
    EXPECT_EQ(x, 1.0);
    EXPECT_EQ(y, 2.0);
}

TEST(Ellipsoids, TablesAndSelection) {
    EXPECT_EQ(EllipsoidTable[5].Name, "Krasowski 1940");
    EXPECT_EQ(ProjectionTable[6].Name.size(), 36u);
    CurrentEllipsoidIndex = kEllipsoidWgs84;
    SelectEllipsoid();
    EXPECT_NEAR(CurrentEllipsoid.E2, 0.00669437999, 1e-11);
    const double b = 6378137.0 * (1 - 1 / 298.257223563);
    EXPECT_NEAR(CurrentEllipsoid.C, 6378137.0 * 6378137.0 / b, 1e-6);
    EXPECT_EQ(EllipsoidTable[kEllipsoidWgs84].E2, CurrentEllipsoid.E2);
    CurrentEllipsoidIndex = 99;  // out of the table: row 0, no out-of-range read
    SelectEllipsoid();
    EXPECT_EQ(CurrentEllipsoid.A, 6378206.0);
}

TEST(GaussKrueger, CentralMeridianAndRoundTrip) {
    TEllipsoidScope scope(kEllipsoidKrasowski);
    double x = 0, y = 0;
    GaussKruegerForward(0.9, 0.0, 0.9993, x, y);
    EXPECT_NEAR(x, 0.9993 * MeridianArc(0.9), 1e-6);
    EXPECT_EQ(y, 0.0);
    for (double omega : {-3 * kDeg, -1 * kDeg, 0.5 * kDeg, 3 * kDeg}) {
        for (double b : {49 * kDeg, 52 * kDeg, 55 * kDeg}) {
            double b2 = 0, w2 = 0;
            GaussKruegerForward(b, omega, 1.0, x, y);
            GaussKruegerInverse(x, y, 1.0, b2, w2);
            EXPECT_LT(std::fabs(b2 - b) * kMetresPerRadian, 1e-4);
            EXPECT_LT(std::fabs(w2 - omega) * kMetresPerRadian * std::cos(b), 1e-4);
        }
    }
    double b = 0, w = 0;
    EXPECT_THROW(GaussKruegerInverse(NAN, 0.0, 1.0, b, w), std::domain_error);
    EXPECT_THROW(GaussKruegerInverse(INFINITY, 0.0, 1.0, b, w), std::domain_error);
}

TEST(PolishProjections, CentresMapToTheirFalseOrigins) {
    double x = 0, y = 0, lambda = 0;
    DmsToRadians(191000, lambda);
    double phi = 0;
    DmsToRadians(521000, phi);
    ASSERT_TRUE(Puwg80Forward(phi, lambda, x, y));
    EXPECT_NEAR(x, 500000.0, 0.001);
    EXPECT_NEAR(y, 500000.0, 0.001);
    const double centres[4][2] = {
        {503730, 210500}, {530007, 213010}, {533500, 170030}, {514015, 164020}};
    for (int zone = 1; zone <= 4; ++zone) {
        DmsToRadians(centres[zone - 1][0], phi);
        DmsToRadians(centres[zone - 1][1], lambda);
        ASSERT_TRUE(Xy1965Forward(zone, phi, lambda, x, y));
        EXPECT_NEAR(x, ProjectionTable[zone - 1].X0(), 0.001) << zone;
        EXPECT_NEAR(y, ProjectionTable[zone - 1].Y0(), 0.001) << zone;
    }
}

TEST(PolishProjections, Zone65MarksAndInvalidZones) {
    double x2 = 0, y2 = 0, x12 = 0, y12 = 0;
    ASSERT_TRUE(Xy1965Forward(2, 52.5 * kDeg, 21.5 * kDeg, x2, y2));
    ASSERT_TRUE(Xy1965Forward(12, 52.5 * kDeg, 21.5 * kDeg, x12, y12));
    EXPECT_EQ(x2, x12);
    EXPECT_EQ(y2, y12);
    for (int zone : {0, 6, 10, 16}) {
        double x = -1, y = -2;
        EXPECT_FALSE(Xy1965Forward(zone, 0.9, 0.3, x, y));
        EXPECT_FALSE(Xy1965Inverse(zone, 5e6, 4e6, x, y));
        EXPECT_EQ(x, -1);
        EXPECT_EQ(y, -2);
    }
    EXPECT_EQ(ZoneByte(NAN), 0);
    EXPECT_EQ(ZoneByte(1e300), 0);
    EXPECT_EQ(ZoneByte(2.4), 2);
    EXPECT_EQ(ZoneNumber(-1e300), -1);
    // Every fixed-ellipsoid operation puts the caller's index back.
    CurrentEllipsoidIndex = 3;
    double b = 0, w = 0;
    Puwg1992Inverse(5800000.0, 0.0, b, w);
    EXPECT_EQ(CurrentEllipsoidIndex, 3);
}

TEST(Albers, OriginRoundTripAndWrap) {
    double x = 1, y = 1;
    AlbersPigForward(52 * kDeg, 19 * kDeg, x, y);
    EXPECT_NEAR(x, 0.0, 1e-6);
    EXPECT_NEAR(y, 0.0, 1e-6);
    EXPECT_NEAR(AlbersState.N, 0.788010753606722, 1e-14);
    AlbersPigForward(54 * kDeg, 23 * kDeg, x, y);
    EXPECT_GT(x, 0.0);
    EXPECT_GT(y, 0.0);
    double b = 0, l = 0;
    AlbersPigInverse(x, y, b, l);
    EXPECT_NEAR(b, 54 * kDeg, 1e-12);
    EXPECT_NEAR(l, 23 * kDeg, 1e-12);
    double xw = 0, yw = 0, xe = 0, ye = 0;
    AlbersPigForward(50 * kDeg, 19 * kDeg + 200 * kDeg, xw, yw);
    AlbersPigForward(50 * kDeg, 19 * kDeg - 160 * kDeg, xe, ye);
    EXPECT_NEAR(xw, xe, 1e-6);
    EXPECT_NEAR(yw, ye, 1e-6);
    EXPECT_THROW(AlbersPigInverse(NAN, 0.0, b, l), std::domain_error);
}
