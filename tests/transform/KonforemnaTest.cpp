#include <cmath>

#include "tests/transform/TransformTestSupport.h"
#include "transform/Konforemna.h"
#include "transform/trs_trans.h"

TEST(Konforemna, FixedPolynomialsAtTheCentreAndBackAndForth) {
    double x = 0, y = 0;
    ASSERT_EQ(Wawa65_75->Transform(5719435.1836, 4560072.00643, x, y), 0);
    EXPECT_NEAR(x, -1842.61381 + 0.0542831787750892, 1e-9);
    EXPECT_NEAR(y, -9483.65276 + 0.0120042466808813, 1e-9);
    for (const auto& p : {std::pair{5720500.0, 4561000.0}, std::pair{5710000.0, 4550000.0}}) {
        double bx = 0, by = 0;
        ASSERT_EQ(Wawa65_75->Transform(p.first, p.second, x, y), 0);
        ASSERT_EQ(Wawa75_65->Transform(x, y, bx, by), 0);
        EXPECT_NEAR(bx, p.first, 0.01);
        EXPECT_NEAR(by, p.second, 0.01);
        ASSERT_EQ(Wawa65_25->Transform(p.first, p.second, x, y), 0);
        ASSERT_EQ(Wawa25_65->Transform(x, y, bx, by), 0);
        EXPECT_NEAR(bx, p.first, 0.01);
        EXPECT_NEAR(by, p.second, 0.01);
    }
}

TEST(Konforemna, UnsetDegreeZeroAndRefusedArguments) {
    TKonforemna k;
    double x = 7, y = 7;
    EXPECT_EQ(k.Transform(1.0, 2.0, x, y), -1);
    EXPECT_EQ(x, 0.0);
    EXPECT_EQ(y, 0.0);
    // Coefficients without scales: the zero output scale is not divided by.
    k.SetCoefficient(0, 1.0, 2.0);
    EXPECT_EQ(k.Transform(1.0, 2.0, x, y), -1);
    EXPECT_TRUE(k.SetCentres(0, 10.0, 20.0, 100.0, 200.0));
    EXPECT_TRUE(k.SetScales(0.5, 2.0));
    for (double in : {0.0, 1e3, -5e5}) {
        ASSERT_EQ(k.Transform(in, in, x, y), 0);
        EXPECT_DOUBLE_EQ(x, 1.0 / 2.0 + 100.0);
        EXPECT_DOUBLE_EQ(y, 2.0 / 2.0 + 200.0);
    }
    EXPECT_FALSE(k.SetCentres(11, 0, 0, 0, 0));
    EXPECT_FALSE(k.SetCentres(-1, 0, 0, 0, 0));
    EXPECT_EQ(k.Degree(), 0);
    EXPECT_FALSE(k.SetCoefficient(11, 5.0, 5.0));
    EXPECT_FALSE(k.SetCoefficient(-1, 5.0, 5.0));
    ASSERT_EQ(k.Transform(0, 0, x, y), 0);
    EXPECT_DOUBLE_EQ(x, 100.5);
}

TEST(TrsTrans, PassesPointsThroughAndReportsNothingTransformed) {
    TTrsTrans t;
    EXPECT_FALSE(t.Loaded());
    EXPECT_EQ(t.Mode(), -1);
    EXPECT_FALSE(t.Conformal().IsSet());
    double x = 0, y = 0, h = 0;
    EXPECT_FALSE(t.Transform(true, 1.5, -2.5, 300.25, x, y, h));
    EXPECT_EQ(x, 1.5);
    EXPECT_EQ(y, -2.5);
    EXPECT_EQ(h, 300.25);
}
