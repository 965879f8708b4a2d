#include "model/DmsAngle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace {

struct Parts {
    double radians = -1, decimal = -1, degrees = -1, minutes = -1, seconds = -1;
    bool valid = false;
};

Parts Split(double x) {
    Parts p;
    p.valid = SplitDmsAngle(x, p.radians, p.decimal, p.degrees, p.minutes, p.seconds);
    return p;
}

}  // namespace

TEST(DmsAngle, SplitsAPackedAngle) {
    const Parts p = Split(123 * 10000 + 45 * 100 + 30.5);
    EXPECT_TRUE(p.valid);
    EXPECT_EQ(p.degrees, 123);
    EXPECT_EQ(p.minutes, 45);
    EXPECT_DOUBLE_EQ(p.seconds, 30.5);
    EXPECT_DOUBLE_EQ(p.decimal, 123 + 45 / 60.0 + 30.5 / 3600.0);
    EXPECT_DOUBLE_EQ(p.radians, p.decimal * std::numbers::pi / 180);

    double radians = 0;
    EXPECT_TRUE(DmsToRadians(190000, radians));
    EXPECT_DOUBLE_EQ(radians, 19 * std::numbers::pi / 180);
}

TEST(DmsAngle, OutOfRangePartsAreInvalidButStillWritten) {
    Parts p = Split(3600000);  // 360 degrees
    EXPECT_FALSE(p.valid);
    EXPECT_EQ(p.degrees, 360);
    EXPECT_DOUBLE_EQ(p.radians, 2 * std::numbers::pi);

    p = Split(596000);  // 59 degrees 60 minutes
    EXPECT_FALSE(p.valid);
    EXPECT_EQ(p.minutes, 60);
    EXPECT_DOUBLE_EQ(p.decimal, 60);

    p = Split(595960);  // 59 degrees 59 minutes 60 seconds
    EXPECT_FALSE(p.valid);
    EXPECT_EQ(p.seconds, 60);

    p = Split(3595959.99);
    EXPECT_TRUE(p.valid);
}

TEST(DmsAngle, NegativeAnglesPassAndNonNumbersFail) {
    Parts p = Split(-(21 * 10000 + 30 * 100 + 15));
    EXPECT_TRUE(p.valid);
    EXPECT_EQ(p.degrees, -21);
    EXPECT_EQ(p.minutes, -30);
    EXPECT_EQ(p.seconds, -15);

    p = Split(-3e12);  // far beyond a 32-bit product: computed without overflow
    EXPECT_TRUE(p.valid);
    EXPECT_EQ(p.degrees, -3e8);
    EXPECT_EQ(p.minutes, 0);

    double radians = 0;
    EXPECT_FALSE(DmsToRadians(std::numeric_limits<double>::quiet_NaN(), radians));
    EXPECT_FALSE(DmsToRadians(std::numeric_limits<double>::infinity(), radians));
    EXPECT_FALSE(DmsToRadians(-std::numeric_limits<double>::infinity(), radians));
    EXPECT_FALSE(DmsToRadians(1e300, radians));
}
