#include <cmath>

#include "tests/transform/TransformTestSupport.h"
#include "transform/DatumKernels.h"
#include "transform/PairFunctions.h"

TEST(DatumKernels, GeocentricRoundTripsAndRefusals) {
    for (const Point3& p : PolishPointsDeg()) {
        double x = 0, y = 0, z = 0, b = 0, l = 0, h = 0;
        BlhToXyzWgs84(p.x * kDeg, p.y * kDeg, p.z, x, y, z);
        XyzToBlhWgs84(x, y, z, b, l, h);
        // The forward kernel's flattening (1/298.2572236) and the inverse's semi-minor axis
        // (6356752.3141) differ by 0.1 mm, which shows as 2.3e-11 rad and 0.09 mm of height.
        EXPECT_NEAR(b, p.x * kDeg, 3e-11);
        EXPECT_NEAR(l, p.y * kDeg, 1e-11);
        EXPECT_NEAR(h, p.z, 1e-4);
        double x2 = 0, y2 = 0, z2 = 0, x3 = 0, y3 = 0, z3 = 0;
        DatumShift1942ToWgs84(x, y, z, x2, y2, z2);
        DatumShiftWgs84To1942(x2, y2, z2, x3, y3, z3);
        EXPECT_LT(std::hypot(std::hypot(x3 - x, y3 - y), z3 - z), 0.001);
        DatumShift4283ToWgs84(x, y, z, x2, y2, z2);
        DatumShiftWgs84To4283(x2, y2, z2, x3, y3, z3);
        EXPECT_LT(std::hypot(std::hypot(x3 - x, y3 - y), z3 - z), 0.001);
    }
    double b = 0, l = 0, h = 0;
    EXPECT_THROW(XyzToBlhWgs84(0.0, 0.0, 6356752.0, b, l, h), std::domain_error);
    EXPECT_THROW(XyzToBlhKrasowski(NAN, 1.0, 1.0, b, l, h), std::domain_error);
    EXPECT_THROW(GaussKruegerInverse1942(150000, INFINITY, 3500000.0, b, l), std::domain_error);
}

TEST(DatumKernels, ZoneAndStripChoice) {
    int zone = 0;
    EXPECT_NEAR(DetectZone2000(0, zone, 16.5 * kDeg), 18 * kDeg, 1e-15);
    EXPECT_EQ(zone, 2);
    int strip = 0;
    EXPECT_NEAR(DetectZoneUtm(0, strip, 6 * kDeg), 9 * kDeg, 1e-15);
    EXPECT_EQ(strip, 2);
    zone = 0;
    EXPECT_NEAR(DetectZone2000(1, zone, 6456789.0), 18 * kDeg, 1e-15);
    EXPECT_EQ(zone, 2);
    zone = 5;
    EXPECT_NEAR(DetectZone2000(0, zone, 0.0), 19 * kDeg, 1e-15);
    zone = 7;
    EXPECT_EQ(DetectZone2000(0, zone, 0.3), 0.0);
    zone = 0;  // west of every zone: none is found and the projection refuses the point
    EXPECT_EQ(DetectZone2000(0, zone, 5 * kDeg), 0.0);
    EXPECT_EQ(zone, 0);
    double x = 0, y = 0;
    EXPECT_THROW(Zone2000Forward(0, 0.0, 0.9, x, y), std::domain_error);
    EXPECT_THROW(ZoneUtmForward(7, 0.0, 0.9, x, y), std::domain_error);
    // The core of the 2000 sources takes zone 2 from an easting of 6 4xx xxx m.
    double b = 0, l = 0, h = 0;
    Puwg2000ToBlCore(0, 5800000.0, 6450000.0, 12.0, b, l, h);
    EXPECT_NEAR(l, 18 * kDeg, 1.0 * kDeg);
    EXPECT_EQ(h, 12.0);
}

TEST(PairFunctions, System1942PlaneEastingsAndInverses) {
    double x = 0, y = 0, h = 0, b = 0, l = 0, hb = 0;
    Blh1942ToXy1942(0, 210000, 0, 52 * kDeg, 21.2 * kDeg, 5, x, y, h);
    EXPECT_GT(y, 4500000.0);
    EXPECT_LT(y, 4600000.0);
    EXPECT_EQ(h, 5);
    Xy1942ToBlh1942(0, 210000, 0, x, y, h, b, l, hb);
    EXPECT_NEAR(b, 52 * kDeg, 1e-10);
    EXPECT_NEAR(l, 21.2 * kDeg, 1e-10);
    // 42/83 and 1942 false eastings on 15 degrees.
    Wgs84BlhToXy4283(0, 150000, 0, 52 * kDeg, 15 * kDeg, 0, x, y, h);
    EXPECT_NEAR(y, 5500000.0, 200.0);
    Wgs84BlhToXy1942(0, 150000, 0, 52 * kDeg, 15 * kDeg, 0, x, y, h);
    EXPECT_NEAR(y, 3500000.0, 200.0);
}

TEST(PairFunctions, SameSystemPairsReturnTheInput) {
    double x = 0, y = 0, h = 0;
    Xy1965ToXy1965(2, 0, 2, 5720000.0, 4560000.0, 100.0, x, y, h);
    EXPECT_NEAR(x, 5720000.0, 0.001);
    EXPECT_NEAR(y, 4560000.0, 0.001);
    Puwg2000ToPuwg2000(3, 0, 3, 5790000.0, 7500000.0, 100.0, x, y, h);
    EXPECT_NEAR(x, 5790000.0, 0.001);
    EXPECT_NEAR(y, 7500000.0, 0.001);
    EXPECT_THROW(Xy1965ToBlh1942(0, 0, 0, 5720000.0, 4560000.0, 0, x, y, h), std::invalid_argument);
}

TEST(PairFunctions, BorowaGoraSimilarityBothWays) {
    double x = 0, y = 0, bx = 0, by = 0;
    for (double meridian : {150000.0, 210000.0}) {
        Xy1942ToBorowaGora(meridian, 5800000.0, 3500000.0, x, y);
        EXPECT_GT(std::hypot(x - 5800000.0, y - 3500000.0), 1.0);
        BorowaGoraToXy1942(meridian, x, y, bx, by);
        EXPECT_NEAR(bx, 5800000.0, 0.01);
        EXPECT_NEAR(by, 3500000.0, 0.01);
    }
    EXPECT_THROW(Xy1942ToBorowaGora(270000, 1, 1, x, y), std::invalid_argument);
}

TEST(PairFunctions, WarszawaChainsRoundTripThroughThe1965Zone2) {
    for (int k : {8, 14}) {
        double wx = 0, wy = 0, wh = 0, b = 0, l = 0, h = 0;
        Wgs84BlhToWarszawa(k, 2, 0, 0, 52.23 * kDeg, 21.01 * kDeg, 100, wx, wy, wh);
        EXPECT_LT(std::hypot(wx, wy), 30000.0) << k;  // near the local origin
        WarszawaToWgs84Blh(k, 2, 0, 0, wx, wy, wh, b, l, h);
        EXPECT_LT(std::fabs(b - 52.23 * kDeg) * kMetresPerRadian, 0.05) << k;
        EXPECT_LT(std::fabs(l - 21.01 * kDeg) * kMetresPerRadian, 0.05) << k;
    }
}
