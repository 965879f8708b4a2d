// Places 16, 17, 20 and 21: the shapefile's and the map's points transformed through the loaded
// library, checked against PROJ.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "TransformHostSupport.h"
#include "platform/Registry.h"
#include "shape/UConfigUnit.h"

namespace {

using testhost::TextArg;
using namespace transformhost;

constexpr std::uint8_t kCode1992To2000 = 0x9A;
constexpr std::uint8_t kCode1992To1965 = 0x94;
constexpr double kZone2000Meridian21 = 3;  // the units digit of ZoneCode
constexpr int kSys1992 = 2180;             // the stand-in library's number of the 1992 system

// 1992 system, northing first.
const std::vector<Pair> kNorthEast1992 = {
    {486000.0, 637000.0}, {512345.6, 590123.4}, {401000.0, 701500.0}, {455500.5, 612000.25}};
// 2000 system zone 7 (meridian 21), northing first.
const std::vector<Pair> kNorthEast2000 = {
    {5789000.0, 7501000.0}, {5820000.0, 7450000.0}, {5700000.0, 7560000.0}};

void ExpectNear(const std::vector<Pair>& actual, const std::vector<Pair>& expected,
                double tolerance) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].first, expected[i].first, tolerance) << "point " << i;
        EXPECT_NEAR(actual[i].second, expected[i].second, tolerance) << "point " << i;
    }
}

class ServerTransformTest : public HostTest {
  protected:
    // The one-file export, with every attribute field and no dialog: the map's points come out
    // as a shapefile at full precision.
    void PrepareRegistry() override {
        platform::RegistryKey key;
        ASSERT_TRUE(key.OpenKey("Software\\Lumatek\\tpserver\\arcview\\konwersja", true));
        ASSERT_TRUE(key.WriteDword("KNW", 0));
        ASSERT_TRUE(key.WriteDword("ATB", 1));
    }

    // A point shapefile of the given points (northing first), opened in a new object.
    testhost::ServerObject OpenPoints(const std::string& name, const std::vector<Pair>& northEast) {
        WritePointShapefile(Path(name), Swapped(northEast));
        testhost::ServerObject object = library->NewKWZObject();
        TextArg arg(Path(name));
        EXPECT_EQ(object.OpenFile(arg), 0);
        return object;
    }

    // The object's shape as a file again, read back by ogrinfo, northing first.
    std::vector<Pair> SavedPoints(const testhost::ServerObject& object, const std::string& name) {
        TextArg arg(Path(name));
        EXPECT_EQ(object.SaveFileAs(arg), 0);
        return Swapped(OgrPoints(Path(name)));
    }
};

TEST_F(ServerTransformTest, ByCodeAgreesWithProjAndKeepsTheHostsAxes) {
    testhost::ServerObject object = OpenPoints("p1992.shp", kNorthEast1992);
    EXPECT_EQ(object.TransformFileByCode(kCode1992To2000, 0, 0, kZone2000Meridian21), 0);
    const std::vector<Pair> after = SavedPoints(object, "p2000.shp");
    ExpectNear(after, Cs2cs("EPSG:2180", "EPSG:2178", kNorthEast1992, Path("")), 0.01);
    // The extent follows the new coordinates, northing first.
    double box[4] = {};
    EXPECT_TRUE(object.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    double minN = after[0].first, minE = after[0].second, maxN = minN, maxE = minE;
    for (const Pair& p : after) {
        minN = std::min(minN, p.first), maxN = std::max(maxN, p.first);
        minE = std::min(minE, p.second), maxE = std::max(maxE, p.second);
    }
    EXPECT_NEAR(box[0], minN, 1e-6);
    EXPECT_NEAR(box[1], minE, 1e-6);
    EXPECT_NEAR(box[2], maxN, 1e-6);
    EXPECT_NEAR(box[3], maxE, 1e-6);
    EXPECT_TRUE(Messages().empty());

    // A pair without a conversion changes nothing and says so.
    testhost::ServerObject other = OpenPoints("q1992.shp", kNorthEast1992);
    EXPECT_EQ(other.TransformFileByCode(0x5C, 0, 0, 0), -2);
    ExpectNear(SavedPoints(other, "q.shp"), kNorthEast1992, 1e-9);
    // A new object has no records: nothing to do.
    testhost::ServerObject empty = library->NewKWZObject();
    EXPECT_EQ(empty.TransformFileByCode(kCode1992To2000, 0, 0, kZone2000Meridian21), 0);
}

// Another program touches the shapefile after the host has transformed it (a sync, a backup, the
// same bytes written again as a new file): the MAP file holds the points the host transformed,
// and the table saved with them is the one the shapefile was opened with.
TEST_F(ServerTransformTest, TheTransformationSurvivesAShapefileTouchedSinceItWasOpened) {
    WriteFile(Path("p1992.dbf"), "opened with");
    testhost::ServerObject object = OpenPoints("p1992.shp", kNorthEast1992);
    EXPECT_EQ(object.TransformFileByCode(kCode1992To2000, 0, 0, kZone2000Meridian21), 0);
    std::filesystem::copy_file(Path("p1992.shp"), Path("copy.shp"));
    std::filesystem::rename(Path("copy.shp"), Path("p1992.shp"));
    WriteFile(Path("new.dbf"), "put in place since");
    std::filesystem::rename(Path("new.dbf"), Path("p1992.dbf"));

    const std::vector<Pair> expected = Cs2cs("EPSG:2180", "EPSG:2178", kNorthEast1992, Path(""));
    TextArg map(Path("p2000.map"));
    EXPECT_TRUE(object.SaveAsMap(map, 0));
    ExpectNear(MapPoints(Path("p2000.map")), expected, 0.01);
    ExpectNear(SavedPoints(object, "p2000.shp"), expected, 0.01);
    EXPECT_EQ(ReadFile(Path("p2000.dbf")), "opened with");
}

// No correction routine is installed: every point of a transformation into the 1965 system with
// the zone correction fails on the output side. The user is told once per operation, not once
// per point, and the points keep their coordinates.
TEST_F(ServerTransformTest, FailedZoneCorrectionIsShownOncePerOperation) {
    testhost::ServerObject object = OpenPoints("p1992.shp", kNorthEast1992);
    platform::HeadlessUi* const installed = boxes;
    EXPECT_EQ(object.TransformFileByCode(kCode1992To1965, 13, 0, 0), -4);
    const std::string correction =
        "Wartosc korekty jest zbyt duza\n\rPunkt wychodzi poza strefę ukladu 65";
    EXPECT_EQ(Messages(), std::vector<std::string>{correction});
    EXPECT_EQ(platform::UiService::Headless(), installed);
    EXPECT_EQ(object.TransformFileByCode(kCode1992To1965, 13, 0, 0), -4);
    EXPECT_EQ(Messages(), (std::vector<std::string>{correction, correction}));
    ExpectNear(SavedPoints(object, "same.shp"), kNorthEast1992, 1e-9);

    // Without the correction the same pair transforms.
    EXPECT_EQ(object.TransformFileByCode(kCode1992To1965, 3, 0, 0), 0);
    EXPECT_EQ(Messages().size(), 2u);
}

__attribute__((no_sanitize("vptr"))) void ChooseUnits(platform::Form& form, int planar, bool ok) {
    auto& f = static_cast<TFConfigUnit&>(form);
    f.RadioGroup1.SetItemIndex(planar);
    EXPECT_TRUE(ok ? f.Button1.Click() : f.Button2.Click());
}

// The planar unit chosen in the dialog is the unit of the shapefile's 1992 coordinates; the 2000
// system is always held in metres.
TEST_F(ServerTransformTest, UnitsChosenInTheDialogScaleTheTransformation) {
    std::vector<Pair> km;
    for (const Pair& p : kNorthEast1992) km.push_back({p.first / 1000, p.second / 1000});
    testhost::ServerObject object = OpenPoints("km.shp", km);
    forms->QueueForm([](platform::Form& form) { ChooseUnits(form, 1, true); });
    EXPECT_TRUE(object.ConfigureUnits());
    // Cancelled: the kilometres stay.
    forms->QueueForm([](platform::Form& form) { ChooseUnits(form, 2, false); });
    EXPECT_TRUE(object.ConfigureUnits());
    ASSERT_EQ(forms->Forms().size(), 2u);
    EXPECT_EQ(forms->Forms()[0].result, platform::mrOk);
    EXPECT_EQ(forms->Forms()[1].result, platform::mrCancel);

    EXPECT_EQ(object.TransformFileByCode(kCode1992To2000, 0, 0, kZone2000Meridian21), 0);
    ExpectNear(SavedPoints(object, "km2000.shp"),
               Cs2cs("EPSG:2180", "EPSG:2178", kNorthEast1992, Path("")), 0.01);
}

TEST_F(ServerTransformTest, ByLibraryNumbersAgreesWithProj) {
    testhost::ServerObject object = OpenPoints("p1992.shp", kNorthEast1992);
    {
        RumboInReach rumbo;
        EXPECT_EQ(object.TransformFile(kSys1992, 10021), 0);
    }
    ExpectNear(SavedPoints(object, "p2000.shp"),
               Cs2cs("EPSG:2180", "EPSG:2178", kNorthEast1992, Path("")), 0.002);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ServerTransformTest, ByLibraryNumbersWithoutTheLibraryChangesNothing) {
    testhost::ServerObject object = OpenPoints("p1992.shp", kNorthEast1992);
    EXPECT_EQ(object.TransformFile(kSys1992, 10021), 0);
    ExpectNear(SavedPoints(object, "same.shp"), kNorthEast1992, 1e-9);

    WriteFile(Path("plan.map"), PointMap(kNorthEast2000));
    TextArg map(Path("plan.map"));
    ASSERT_TRUE(object.LoadMap(map));
    EXPECT_EQ(object.TransformMap(10021, 9999), 0);
    TextArg saved(Path("saved.map"));
    ASSERT_TRUE(object.SaveMap(saved));
    ExpectNear(MapPoints(Path("saved.map")), kNorthEast2000, 1e-9);
    EXPECT_TRUE(Messages().empty());
}

// The map's points become degrees (latitude as X, longitude as Y) and come back.
TEST_F(ServerTransformTest, MapPointsToDegreesAndBack) {
    testhost::ServerObject object = library->NewKWZObject();
    {
        RumboInReach rumbo;
        // Nothing to transform: no library needed, nothing changes.
        EXPECT_EQ(object.TransformMap(10021, 9999), 0);
    }
    WriteFile(Path("plan.map"), PointMap(kNorthEast2000));
    TextArg map(Path("plan.map"));
    ASSERT_TRUE(object.LoadMap(map));
    {
        RumboInReach rumbo;
        EXPECT_EQ(object.TransformMap(10021, 9999), 0);
    }
    // The one-file export writes the map's points at full precision: easting (longitude) as X.
    EXPECT_TRUE(object.ExportMap());
    const std::vector<Pair> latLon = Swapped(OgrPoints(Path("plan.shp")));
    ExpectNear(latLon, Cs2cs("EPSG:2178", "EPSG:4326", kNorthEast2000, Path("")), 1e-8);

    // From degrees through the pivot to degrees: the same degrees.
    {
        RumboInReach rumbo;
        EXPECT_EQ(object.TransformMap(9999, 9999), 0);
        EXPECT_EQ(object.TransformMap(9999, 10021), 0);
    }
    TextArg saved(Path("back.map"));
    ASSERT_TRUE(object.SaveMap(saved));
    ExpectNear(MapPoints(Path("back.map")), kNorthEast2000, 0.0015);
    EXPECT_TRUE(Messages().empty());
}

// A system the library does not know gives no coordinates: the points keep theirs instead of
// taking the input half converted through the pivot.
TEST_F(ServerTransformTest, MapPointsOfAnUnknownSystemStayAsTheyWere) {
    testhost::ServerObject object = library->NewKWZObject();
    WriteFile(Path("plan.map"), PointMap(kNorthEast2000));
    TextArg map(Path("plan.map"));
    ASSERT_TRUE(object.LoadMap(map));
    {
        RumboInReach rumbo;
        EXPECT_EQ(object.TransformMap(1234, 9999), 0);
        EXPECT_EQ(object.TransformMap(10021, 4321), 0);
    }
    TextArg saved(Path("saved.map"));
    ASSERT_TRUE(object.SaveMap(saved));
    ExpectNear(MapPoints(Path("saved.map")), kNorthEast2000, 1e-9);
}

}  // namespace
