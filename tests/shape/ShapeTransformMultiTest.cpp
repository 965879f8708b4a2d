// Transformation of a shapefile's points through the outside library by its system numbers.
#include <filesystem>

#include "ShapeTransformSupport.h"
#include "shape/ShapeTransform.h"
#include "transform/TransformDispatcher.h"
#include "transform/TransformLibrary.h"

using namespace shapetransformtest;

namespace {

constexpr int kSys1992 = 2180;  // the stand-in library's number of the 1992 system

// Runs a test with the current folder set to the given one and the binding forgotten: the loader
// looks there after the folder of the test program, which has no Rumbo.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::filesystem::path& path)
        : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
        InitTransformLibrary();
    }
    ~CurrentFolder() {
        std::filesystem::current_path(saved_);
        InitTransformLibrary();
    }
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

  private:
    std::filesystem::path saved_;
};

void ExpectNearProj(const std::vector<TShpPoint>& actual, const std::vector<Pair>& proj,
                    double tolerance) {
    ASSERT_LE(proj.size(), actual.size());
    for (std::size_t i = 0; i < proj.size(); ++i) {
        EXPECT_NEAR(actual[i].Y, proj[i].first, tolerance) << "point " << i;
        EXPECT_NEAR(actual[i].X, proj[i].second, tolerance) << "point " << i;
    }
}

const std::vector<TShpPoint>& Degrees() {
    static const std::vector<TShpPoint> points = {{18.01, 52.23}, {17.94, 50.06}, {18.65, 54.35},
                                                  {16.55, 53.43}, {19.16, 53.13}, {17.03, 51.11}};
    return points;
}

}  // namespace

class ShapeTransformMultiTest : public ShapeTransformTest {
  protected:
    CurrentFolder folder_{KESTREL_BIN_DIR};
};

TEST_F(ShapeTransformMultiTest, EveryFamilyThroughThePivotAgreesWithDispatcherAndProj) {
    auto shape = ShapeOfAllFamilies(Points1992());
    shape->PlanarUnitIndex = 1;  // the planar unit plays no part here
    const std::vector<TShpPoint> before = Vertices(*shape);
    const std::vector<double> zm = ZAndM(*shape);
    EXPECT_EQ(shape->TransformShapeMulti(kSys1992, SysCodeDirect21), kMultiTransformDone);
    const std::vector<TShpPoint> after = Vertices(*shape);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        double n = 0, e = 0, h = 0;
        ASSERT_EQ(TransformPoint(MakeTransformCode(csPuwg1992, csPuwg2000), 0, 0, 3, before[i].Y,
                                 before[i].X, 0, &n, &e, &h),
                  0);
        EXPECT_NEAR(after[i].X, e, 0.002);
        EXPECT_NEAR(after[i].Y, n, 0.002);
    }
    ExpectNearProj(after, Cs2cs("EPSG:2180", "EPSG:2178", NorthingFirst(before)), 0.001);
    EXPECT_EQ(ZAndM(*shape), zm);
    EXPECT_EQ(shape->State, 3);
    EXPECT_EQ(HeaderBox(*shape), BoxOf(after));
}

TEST_F(ShapeTransformMultiTest, GeographicSystemIsHeldInDegreesOnBothSides) {
    std::vector<Pair> latLon;
    for (const TShpPoint& p : Degrees()) latLon.push_back({p.Y, p.X});

    // Degrees in, two calls through the pivot, into the 2000 system on 18 degrees.
    auto shape = ShapeOfAllFamilies(Degrees());
    const std::vector<TShpPoint> before = Vertices(*shape);
    EXPECT_EQ(shape->TransformShapeMulti(SysCodeGeographic, SysCodeDirect18), kMultiTransformDone);
    const std::vector<TShpPoint> plane = Vertices(*shape);
    const std::vector<Pair> zone6 = Cs2cs("EPSG:4326", "EPSG:2177", latLon);
    ExpectNearProj(plane, zone6, 0.001);

    // From a direct system in one call, back to degrees.
    EXPECT_EQ(shape->TransformShapeMulti(SysCodeDirect18, SysCodeGeographic), kMultiTransformDone);
    const std::vector<TShpPoint> back = Vertices(*shape);
    ASSERT_EQ(back.size(), before.size());
    for (std::size_t i = 0; i < back.size(); ++i) {
        EXPECT_NEAR(back[i].X, before[i].X, 1e-9);
        EXPECT_NEAR(back[i].Y, before[i].Y, 1e-9);
    }

    // PROJ's 2000 zone 5 coordinates into degrees.
    std::vector<TShpPoint> zone5;
    for (const Pair& p : Cs2cs("EPSG:4326", "EPSG:2176", latLon))
        zone5.push_back({p.second, p.first});
    auto fromZone5 = ShapeOfAllFamilies(zone5);
    EXPECT_EQ(fromZone5->TransformShapeMulti(SysCodeDirect15, SysCodeGeographic),
              kMultiTransformDone);
    ExpectNearProj(Vertices(*fromZone5), latLon, 1e-8);
}

TEST_F(ShapeTransformMultiTest, PointsTheLibraryCannotTransformKeepTheirCoordinates) {
    // An unknown system: the library refuses every point, which the shape keeps as it was
    // (not in radians, as the library's copy of its input would have left it).
    auto shape = ShapeOfAllFamilies(Degrees());
    const std::vector<TShpPoint> before = Vertices(*shape);
    EXPECT_EQ(shape->TransformShapeMulti(SysCodeGeographic, 1234), kMultiTransformPointsFailed);
    const std::vector<TShpPoint> after = Vertices(*shape);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].X, before[i].X);
        EXPECT_EQ(after[i].Y, before[i].Y);
    }
    EXPECT_EQ(shape->State, 3);

    // A point the library returns non-finite is kept as well; the others are transformed.
    std::vector<TShpPoint> mixed = Points1992();
    mixed[1] = {std::nan(""), 400000.0};
    auto some = ShapeOfAllFamilies(mixed);
    EXPECT_EQ(some->TransformShapeMulti(kSys1992, SysCodeDirect21), kMultiTransformPointsFailed);
    const std::vector<TShpPoint> result = Vertices(*some);
    EXPECT_TRUE(std::isnan(result[1].X));
    EXPECT_EQ(result[1].Y, 400000.0);
    EXPECT_GT(result[0].X, 7000000.0);  // the 2000 system's zone prefix
    EXPECT_TRUE(shapetest::MessageTexts().empty());
}

TEST(ShapeTransformMultiMissing, MissingLibraryLeavesTheShapeAsItWas) {
    shapetest::QuietUi();
    shapetest::TempDir dir;
    CurrentFolder folder(dir.Dir());
    // A shape without records does not even look for the library.
    TShape empty;
    EXPECT_EQ(empty.TransformShapeMulti(kSys1992, SysCodeDirect21), kMultiTransformDone);

    auto shape = ShapeOfAllFamilies(Points1992());
    shape->State = 1;
    const std::vector<TShpPoint> before = Vertices(*shape);
    const auto header = shape->Header;
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(shape->TransformShapeMulti(kSys1992, SysCodeDirect21), kMultiTransformNoLibrary);
        EXPECT_EQ(TransformLibraryHandle, nullptr);
    }
    const std::vector<TShpPoint> after = Vertices(*shape);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        EXPECT_EQ(after[i].X, before[i].X);
        EXPECT_EQ(after[i].Y, before[i].Y);
    }
    EXPECT_EQ(shape->State, 1);
    EXPECT_EQ(shape->Header, header);
    EXPECT_TRUE(shapetest::MessageTexts().empty());
}
