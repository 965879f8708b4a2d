// Transformation of a shapefile's points through the dispatcher: every family, the unit and
// angle conversions around the dispatcher, Z and M, the header, failing points and progress.
#include <cmath>
#include <numbers>

#include "ShapeTransformSupport.h"
#include "platform/ProgressWindow.h"
#include "shape/ProgressFormShared.h"
#include "shape/ShapeTransform.h"
#include "transform/TransformDispatcher.h"

using namespace shapetransformtest;

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

// The shape's vertices transformed by the dispatcher alone, with the given scale on each side
// (northing first; the shape's points are easting first).
std::vector<TShpPoint> ByDispatcher(const std::vector<TShpPoint>& points, std::uint8_t code,
                                    double p1, double p2, double p3, double in, double outDivisor,
                                    double outFactor = 1.0) {
    std::vector<TShpPoint> result;
    for (const TShpPoint& p : points) {
        double n = 0, e = 0, h = 0;
        EXPECT_EQ(TransformPoint(code, p1, p2, p3, p.Y * in, p.X * in, 0.0, &n, &e, &h), 0);
        result.push_back({e / outDivisor * outFactor, n / outDivisor * outFactor});
    }
    return result;
}

void ExpectSame(const std::vector<TShpPoint>& actual, const std::vector<TShpPoint>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_DOUBLE_EQ(actual[i].X, expected[i].X) << "point " << i;
        EXPECT_DOUBLE_EQ(actual[i].Y, expected[i].Y) << "point " << i;
    }
}

// Compares northing-first answers of PROJ with the shape's points times `scale`.
void ExpectNearProj(const std::vector<TShpPoint>& actual, const std::vector<Pair>& proj,
                    double scale, double tolerance) {
    ASSERT_EQ(actual.size(), proj.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].Y * scale, proj[i].first, tolerance) << "point " << i;
        EXPECT_NEAR(actual[i].X * scale, proj[i].second, tolerance) << "point " << i;
    }
}

std::vector<TShpPoint> Scaled(const std::vector<TShpPoint>& points, double divisor) {
    std::vector<TShpPoint> result;
    for (const TShpPoint& p : points) result.push_back({p.X / divisor, p.Y / divisor});
    return result;
}

}  // namespace

using ShapeTransformDispatcherTest = ShapeTransformTest;

TEST_F(ShapeTransformDispatcherTest, ShapefileOfEachTypeFrom1992To2000AgreesWithDispatcherAndProj) {
    const std::uint8_t code = MakeTransformCode(csPuwg1992, csPuwg2000);
    for (const std::int32_t type : AllTypes()) {
        if (type == 0) continue;
        SCOPED_TRACE("type " + std::to_string(type));
        shapetest::TempDir dir;
        const std::string path = dir.Path("warstwa.shp");
        ShapeOf({type, type}, Points1992())->SaveShapeFile(path);
        TShape shape;
        ASSERT_EQ(TShape::OpenShape(&shape, path), kShapeLoaded);
        const std::vector<TShpPoint> before = Vertices(shape);
        const std::vector<double> zm = ZAndM(shape);
        ASSERT_FALSE(before.empty());

        EXPECT_EQ(shape.TransformShape(code, 0, 0, 3), 0);  // zone 7, meridian 21
        const std::vector<TShpPoint> after = Vertices(shape);
        ExpectSame(after, ByDispatcher(before, code, 0, 0, 3, 1.0, 1.0));
        ExpectNearProj(after, Cs2cs("EPSG:2180", "EPSG:2178", NorthingFirst(before)), 1.0, 0.001);

        // Z and M stay; the shape is marked transformed and its header and record boxes follow
        // the new points, into the saved file as well.
        EXPECT_EQ(ZAndM(shape), zm);
        EXPECT_EQ(shape.State, 3);
        EXPECT_EQ(shape.HeaderShapeType(), type);
        EXPECT_EQ(HeaderBox(shape), BoxOf(after));
        const std::string out = dir.Path("wynik.shp");
        shape.SaveShapeFile(out);
        TShape saved;
        ASSERT_EQ(TShape::OpenShape(&saved, out), kShapeLoaded);
        ExpectSame(Vertices(saved), after);
        EXPECT_EQ(ZAndM(saved), zm);
        EXPECT_EQ(HeaderBox(saved), BoxOf(after));
    }
    EXPECT_EQ(shapetest::MessageTexts(), std::vector<std::string>{});
}

TEST_F(ShapeTransformDispatcherTest, PlanarUnitMultipliesBeforeAndDividesAfter) {
    const std::vector<TShpPoint> metres = Points1992();
    const auto proj2000 = Cs2cs("EPSG:2180", "EPSG:2178", NorthingFirst(metres));
    for (std::int32_t unit = 0; unit < 5; ++unit) {
        const double factor = kPlanarUnitFactors[static_cast<std::size_t>(unit)];
        SCOPED_TRACE("unit " + std::to_string(unit));
        // 1992 into 2000 zone 7 and into 1965 zone 2: both plane systems in the file's unit.
        for (const std::uint8_t code :
             {MakeTransformCode(csPuwg1992, csPuwg2000), MakeTransformCode(csPuwg1992, cs1965)}) {
            auto shape = ShapeOfAllFamilies(Scaled(metres, factor));
            shape->PlanarUnitIndex = unit;
            const std::vector<TShpPoint> before = Vertices(*shape);
            EXPECT_EQ(shape->TransformShape(code, 2, 0, 3), 0);
            const std::vector<TShpPoint> after = Vertices(*shape);
            // The 2000 system is always metres; the 1965 system is in the file's unit.
            const bool to2000 = (code & 15) == csPuwg2000;
            ExpectSame(after, ByDispatcher(before, code, 2, 0, 3, factor, to2000 ? 1.0 : factor));
            if (to2000)
                ExpectNearProj(std::vector<TShpPoint>(after.begin(), after.begin() + 12), proj2000,
                               1.0, 0.001);
        }
    }
}

TEST_F(ShapeTransformDispatcherTest, UtmIsAlwaysMetresWhateverTheUnit) {
    // UTM 34 (strip 4, meridian 21) into 1992 in kilometres: the UTM side is not multiplied.
    std::vector<TShpPoint> utm;
    for (int i = 0; i < 6; ++i) utm.push_back({420000.5 + 31000.0 * i, 5600000.25 + 55000.0 * i});
    auto shape = ShapeOfAllFamilies(utm);
    shape->PlanarUnitIndex = 1;
    const std::vector<TShpPoint> before = Vertices(*shape);
    const std::uint8_t code = MakeTransformCode(csUtm, csPuwg1992);
    EXPECT_EQ(shape->TransformShape(code, 0, 0, 40), 0);
    const std::vector<TShpPoint> after = Vertices(*shape);
    ExpectSame(after, ByDispatcher(before, code, 0, 0, 40, 1.0, 1000.0));
    std::vector<Pair> eastingFirst;
    for (const TShpPoint& p : utm) eastingFirst.push_back({p.X, p.Y});
    ExpectNearProj(std::vector<TShpPoint>(after.begin(), after.begin() + 6),
                   Cs2cs("EPSG:32634", "EPSG:2180", eastingFirst), 1000.0, 0.002);
}

TEST_F(ShapeTransformDispatcherTest, GeographicSystemsAreHeldInDegrees) {
    // Latitude as the northing (Y), longitude as the easting (X).
    const std::vector<TShpPoint> degrees = {{21.01, 52.23}, {19.94, 50.06}, {18.65, 54.35},
                                            {14.55, 53.43}, {23.16, 53.13}, {17.03, 51.11}};
    std::vector<Pair> latLon;
    for (const TShpPoint& p : degrees) latLon.push_back({p.Y, p.X});

    // Degrees into 1992 kilometres: the angles are not scaled by the planar unit.
    auto shape = ShapeOfAllFamilies(degrees);
    shape->PlanarUnitIndex = 1;
    const std::vector<TShpPoint> before = Vertices(*shape);
    const std::uint8_t to1992 = MakeTransformCode(csWgs84Blh, csPuwg1992);
    EXPECT_EQ(shape->TransformShape(to1992, 0, 0, 0), 0);
    const std::vector<TShpPoint> km = Vertices(*shape);
    ExpectSame(km, ByDispatcher(before, to1992, 0, 0, 0, kDeg, 1000.0));
    ExpectNearProj(std::vector<TShpPoint>(km.begin(), km.begin() + 6),
                   Cs2cs("EPSG:4326", "EPSG:2180", latLon), 1000.0, 0.001);

    // And back: 1992 kilometres into degrees.
    const std::uint8_t back = MakeTransformCode(csPuwg1992, csWgs84Blh);
    EXPECT_EQ(shape->TransformShape(back, 0, 0, 0), 0);
    const std::vector<TShpPoint> again = Vertices(*shape);
    ExpectSame(again, ByDispatcher(km, back, 0, 0, 0, 1000.0, 1.0, 180.0 / std::numbers::pi));
    for (std::size_t i = 0; i < again.size(); ++i) {
        EXPECT_NEAR(again[i].X, before[i].X, 1e-9);
        EXPECT_NEAR(again[i].Y, before[i].Y, 1e-9);
    }

    // 1942 geographic into WGS 84 geographic: degrees on both sides.
    auto blh = ShapeOfAllFamilies(degrees);
    const std::uint8_t datum = MakeTransformCode(cs1942Blh, csWgs84Blh);
    EXPECT_EQ(blh->TransformShape(datum, 0, 0, 0), 0);
    ExpectSame(Vertices(*blh),
               ByDispatcher(before, datum, 0, 0, 0, kDeg, 1.0, 180.0 / std::numbers::pi));

    // Another angular format index takes the values as they are, radians.
    auto radians = ShapeOfAllFamilies(degrees);
    radians->AngularFormatIndex = 1;
    EXPECT_EQ(radians->TransformShape(datum, 0, 0, 0), 0);
    ExpectSame(Vertices(*radians), ByDispatcher(before, datum, 0, 0, 0, 1.0, 1.0));
}

TEST_F(ShapeTransformDispatcherTest, PointsTheDispatcherCannotTransformKeepTheirCoordinates) {
    // No pair: the points stay as they were, not half converted (degrees turned into radians,
    // kilometres into metres), and the failure is reported.
    const std::vector<TShpPoint> degrees = {{21.01, 52.23}, {19.94, 50.06}};
    auto geo = ShapeOfAllFamilies(degrees);
    const std::vector<TShpPoint> geoBefore = Vertices(*geo);
    EXPECT_EQ(geo->TransformShape(MakeTransformCode(csWgs84Blh, csBorowaGora), 0, 0, 0),
              kTransformNoPair);
    ExpectSame(Vertices(*geo), geoBefore);
    EXPECT_EQ(geo->State, 3);
    EXPECT_EQ(HeaderBox(*geo), BoxOf(geoBefore));

    auto km = ShapeOfAllFamilies(Scaled(Points1992(), 1000.0));
    km->PlanarUnitIndex = 1;
    const std::vector<TShpPoint> kmBefore = Vertices(*km);
    EXPECT_EQ(km->TransformShape(MakeTransformCode(csPuwg1992, csAlbers), 0, 0, 0),
              kTransformNoPair);
    ExpectSame(Vertices(*km), kmBefore);

    // One point that cannot be computed among good ones: it keeps its value, the others are
    // transformed, and the result tells of the failure although the last point succeeded.
    std::vector<TShpPoint> mixed = Points1992();
    mixed[0] = {std::nan(""), 300000.0};
    auto shape = ShapeOfAllFamilies(mixed);
    const std::vector<TShpPoint> before = Vertices(*shape);
    const std::uint8_t code = MakeTransformCode(csPuwg1992, csPuwg2000);
    EXPECT_EQ(shape->TransformShape(code, 0, 0, 3), kTransformCalcError);
    const std::vector<TShpPoint> after = Vertices(*shape);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (std::isnan(before[i].X)) {
            EXPECT_TRUE(std::isnan(after[i].X));
            EXPECT_EQ(after[i].Y, before[i].Y);
            continue;
        }
        double n = 0, e = 0, h = 0;
        ASSERT_EQ(TransformPoint(code, 0, 0, 3, before[i].Y, before[i].X, 0, &n, &e, &h), 0);
        EXPECT_EQ(after[i].X, e);
        EXPECT_EQ(after[i].Y, n);
    }
}

TEST_F(ShapeTransformDispatcherTest, FailedZoneCorrectionIsShownPerPointAndKeepsThePoints) {
    // The 1965 correction is asked for (zone above 10) and no correction routine is installed.
    auto shape = ShapeOfAllFamilies(Points1992());
    const std::vector<TShpPoint> before = Vertices(*shape);
    EXPECT_EQ(shape->TransformShape(MakeTransformCode(csPuwg1992, cs1965), 12, 0, 0),
              kTransformCorrectionFailed);
    ExpectSame(Vertices(*shape), before);
    const std::vector<std::string> messages = shapetest::MessageTexts();
    ASSERT_EQ(messages.size(), before.size());
    EXPECT_EQ(messages[0],
              "Wartosc korekty jest zbyt duza\n\rPunkt wychodzi poza strefę ukladu 65");
}

TEST_F(ShapeTransformDispatcherTest, UserTransformationPassesThroughWithoutUnitConversion) {
    auto shape = ShapeOfAllFamilies(Scaled(Points1992(), 1000.0));
    shape->PlanarUnitIndex = 1;
    const std::vector<TShpPoint> before = Vertices(*shape);
    EXPECT_EQ(shape->TransformShape(csUserTransformation, 0, 0, 0), 0);
    ExpectSame(Vertices(*shape), before);
    EXPECT_EQ(shape->State, 3);
}

TEST_F(ShapeTransformDispatcherTest, EmptyShapesAndShapesWithoutPoints) {
    const int windows = platform::ProgressWindow::CreatedCount();
    TShape empty;
    EXPECT_EQ(empty.TransformShape(MakeTransformCode(csPuwg1992, csPuwg2000), 0, 0, 3), 0);
    EXPECT_EQ(empty.State, 0);
    EXPECT_EQ(platform::ProgressWindow::CreatedCount(), windows);

    // Null records and a line without points: nothing to transform, but the run took place.
    TShape nothing;
    for (int i = 0; i < 2; ++i) {
        auto null = std::make_unique<TSHPRecord>();
        null->Geometry = NewGeometryFor(0);
        nothing.Records->AddRecord(std::move(null));
    }
    nothing.Records->AddRecord(shapetest::MakeRecord(3, 0, 0, 1));
    EXPECT_EQ(nothing.TransformShape(MakeTransformCode(csPuwg1992, csPuwg2000), 0, 0, 3), -1);
    EXPECT_EQ(nothing.State, 3);
    EXPECT_EQ(nothing.HeaderShapeType(), 3);
}

TEST_F(ShapeTransformDispatcherTest, ProgressStepsOncePerRecord) {
    // An outer operation keeps the shared window alive, so that what the run left can be read.
    ProgressOpen(0, 1, 1, "zewn");
    auto shape = ShapeOfAllFamilies(Points1992());
    EXPECT_EQ(shape->TransformShape(MakeTransformCode(csPuwg1992, csPuwg2000), 0, 0, 3), 0);
    ASSERT_NE(ProgressForm(), nullptr);
    const platform::ProgressWindowState& s = ProgressForm()->Window.State();
    EXPECT_EQ(s.caption, "Transformacja");
    EXPECT_EQ(s.max, static_cast<std::int32_t>(AllTypes().size()));
    EXPECT_EQ(s.position, static_cast<std::int32_t>(AllTypes().size()));
    EXPECT_EQ(ProgressNesting(), 1);
    ProgressClose();
    EXPECT_EQ(ProgressForm(), nullptr);
}
