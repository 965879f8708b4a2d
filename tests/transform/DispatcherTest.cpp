#include <cmath>

#include "platform/UiService.h"
#include "tests/transform/TransformTestSupport.h"
#include "transform/TransformDispatcher.h"
#include "transform/ZoneCorrection65.h"

namespace {

struct Out {
    double x = 0, y = 0, h = 0;
};

int Go(int code, double zone65, double meridian, double zoneCode, double x, double y, double h,
       Out& out) {
    return TransformPoint(static_cast<std::uint8_t>(code), zone65, meridian, zoneCode, x, y, h,
                          &out.x, &out.y, &out.h);
}

// A point of 1965 zone 2 and zone 3 near their common boundary.
constexpr double kX65 = 5800000.0, kY65 = 4400000.0;

// A correction routine that shifts by a metre each way, for the paths the system itself never
// takes (it installs none).
int ShiftByAMetre(const long double& inX, const long double& inY, long double& outX,
                  long double& outY, int, int direction) {
    const long double d = direction == 1 ? 1.0L : -1.0L;
    outX = inX + d;
    outY = inY + d;
    return 0;
}

class CorrectionInstalled {
  public:
    CorrectionInstalled() {
        CorrectionEnabled = true;
        CorrectionRoutine = ShiftByAMetre;
    }
    ~CorrectionInstalled() { InitZoneCorrection(); }
};

}  // namespace

TEST(Dispatcher, UserTransformationCopiesThePoint) {
    Out o;
    EXPECT_EQ(Go(255, 13, 1.0, 5, 1.5, 2.5, 3.5, o), 0);
    EXPECT_EQ(o.x, 1.5);
    EXPECT_EQ(o.y, 2.5);
    EXPECT_EQ(o.h, 3.5);
}

TEST(Dispatcher, PairsWithoutConversionGiveMinusTwoAndTheInput) {
    for (int code : {0x00, 0x07, 0x11, 0x55, 0x99, 0xD0, 0x0D, 0xF3, 0x3F, 0x61, 0x74, 0xC0}) {
        Out o;
        EXPECT_EQ(Go(code, 2, 0, 0, 10.0, 20.0, 30.0, o), -2) << code;
        EXPECT_EQ(o.x, 10.0);
        EXPECT_EQ(o.y, 20.0);
        EXPECT_EQ(o.h, 30.0);
    }
}

TEST(Dispatcher, ZoneToZone1965AndItsCorrectionMarks) {
    Out plain, marked;
    EXPECT_EQ(Go(0x44, 2, 0, 3, kX65, kY65, 0, plain), 0);
    EXPECT_GT(std::hypot(plain.x - kX65, plain.y - kY65), 1000.0);
    // A source zone above 10 with a target zone of 10 or less asks for no correction.
    EXPECT_EQ(Go(0x44, 12, 0, 3, kX65, kY65, 0, marked), 0);
    EXPECT_EQ(marked.x, plain.x);
    EXPECT_EQ(marked.y, plain.y);
    // Both marks: the input correction fails first and the outputs keep the input.
    Out both;
    EXPECT_EQ(Go(0x44, 12, 0, 13, kX65, kY65, 7, both), -4);
    EXPECT_EQ(both.x, kX65);
    EXPECT_EQ(both.y, kY65);
    Out geo;
    EXPECT_EQ(Go(0x42, 13, 0, 0, kX65, kY65, 0, geo), -4);
    EXPECT_EQ(geo.x, kX65);
}

TEST(Dispatcher, OutputCorrectionFailureShowsItsMessage) {
    platform::HeadlessUi* ui = platform::UiService::Headless();
    ASSERT_NE(ui, nullptr);
    ui->SetEcho(false);
    ui->ClearMessages();
    Out o, plain;
    EXPECT_EQ(Go(0x24, 12, 0, 0, 52.5 * kDeg, 21.5 * kDeg, 0, o), -4);
    ASSERT_EQ(ui->Messages().size(), 1u);
    EXPECT_EQ(ui->Messages()[0].text.rfind("Wartosc korekty jest zbyt duza", 0), 0u);
    // The outputs keep the converted, uncorrected point.
    EXPECT_EQ(Go(0x24, 2, 0, 0, 52.5 * kDeg, 21.5 * kDeg, 0, plain), 0);
    EXPECT_EQ(o.x, plain.x);
    EXPECT_EQ(o.y, plain.y);
}

TEST(Dispatcher, InstalledCorrectionIsAppliedOnBothSides) {
    CorrectionInstalled installed;
    Out plain, corrected;
    ASSERT_EQ(Go(0x24, 2, 0, 0, 52.5 * kDeg, 21.5 * kDeg, 0, plain), 0);
    ASSERT_EQ(Go(0x24, 12, 0, 0, 52.5 * kDeg, 21.5 * kDeg, 0, corrected), 0);
    EXPECT_NEAR(corrected.x, plain.x + 1.0, 1e-6);
    EXPECT_NEAR(corrected.y, plain.y + 1.0, 1e-6);
    Out back;
    ASSERT_EQ(Go(0x42, 12, 0, 0, corrected.x, corrected.y, 0, back), 0);
    EXPECT_NEAR(back.x, 52.5 * kDeg, 1e-10);
    EXPECT_NEAR(back.y, 21.5 * kDeg, 1e-10);
}

TEST(Dispatcher, UtmStripPrefixes) {
    const double b = 52 * kDeg, l = 16 * kDeg;
    Out strip, full;
    ASSERT_EQ(Go(0x0B, 0, 0, 34, b, l, 0, strip), 0);
    ASSERT_EQ(Go(0x0B, 0, 0, 134, b, l, 0, full), 0);
    EXPECT_NEAR(full.y - strip.y, 3000000.0, 1e-6);
    EXPECT_NEAR(strip.y, 500000.0 + 68600.0, 1000.0);
    Out back;
    ASSERT_EQ(Go(0xB0, 0, 0, 30, strip.x, strip.y, 0, back), 0);
    EXPECT_NEAR(back.x, b, 1e-10);
    EXPECT_NEAR(back.y, l, 1e-10);
    // 1992 to UTM: strip 3 and zone code 5 from 35.
    Out p1992, utm;
    ASSERT_EQ(Go(0x09, 0, 0, 5, b, l, 0, p1992), 0);
    ASSERT_EQ(Go(0x9B, 0, 0, 35, p1992.x, p1992.y, 0, utm), 0);
    EXPECT_NEAR(utm.x, strip.x, 0.001);
    EXPECT_NEAR(utm.y, strip.y, 0.001);
    // From 1965 no strip is split off: the strip is chosen from the point and kept in full.
    Out p65, utm65;
    ASSERT_EQ(Go(0x04, 4, 0, 0, b, l, 0, p65), 0);
    ASSERT_EQ(Go(0x4B, 4, 0, 34, p65.x, p65.y, 0, utm65), 0);
    EXPECT_NEAR(utm65.y, full.y, 0.5);
}

TEST(Dispatcher, BorowaGoraKeepsTheHeight) {
    Out o;
    EXPECT_EQ(Go(0x37, 0, 15 * kDeg, 0, 5800000.0, 3500000.0, 123.0, o), 0);
    EXPECT_EQ(o.h, 123.0);
    EXPECT_NE(o.x, 5800000.0);
    EXPECT_EQ(Go(0x73, 0, 21 * kDeg, 0, 5800000.0, 4500000.0, 45.0, o), 0);
    EXPECT_EQ(o.h, 45.0);
}

TEST(Dispatcher, CalculationErrorsAreCaught) {
    Out o;
    // Non-finite input, a point outside every 2000 zone, a 1965 zone that does not exist and a
    // Borowa Gora meridian without parameters.
    EXPECT_EQ(Go(0x30, 0, 15 * kDeg, 0, NAN, 3500000.0, 0, o), -3);
    EXPECT_EQ(Go(0x0A, 0, 0, 0, 52 * kDeg, 5 * kDeg, 0, o), -3);
    EXPECT_EQ(Go(0xA0, 0, 0, 0, 5800000.0, 900000.0, 0, o), -3);
    EXPECT_EQ(Go(0x24, 0, 0, 0, 52 * kDeg, 21 * kDeg, 0, o), -3);
    EXPECT_EQ(Go(0x40, 7, 0, 0, 5800000.0, 4500000.0, 0, o), -3);
    EXPECT_EQ(Go(0x37, 0, 27 * kDeg, 0, 5800000.0, 5500000.0, 0, o), -3);
    EXPECT_EQ(Go(0x10, 0, 0, 0, 0.0, 0.0, 0.0, o), -3);
    EXPECT_EQ(Go(0x90, 0, 0, 0, INFINITY, 500000.0, 0, o), -3);
}

TEST(Dispatcher, NullOutputsAreTolerated) {
    EXPECT_EQ(TransformPoint(0x01, 0, 0, 0, 0.9, 0.3, 0, nullptr, nullptr, nullptr), 0);
}
