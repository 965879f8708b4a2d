// The export Konwersja_Pliku_SHP_MAP: a MAP file into one shapefile of geographic coordinates.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "TransformHostSupport.h"
#include "platform/Registry.h"

namespace {

using testhost::TextArg;
using namespace transformhost;

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

// The stored settings are the opposite of what the conversion forces: per-code layers named from
// a symbol file that does not exist, and a field dialog.
class KonwersjaPlikuTest : public HostTest {
  protected:
    void PrepareRegistry() override {
        platform::RegistryKey key;
        ASSERT_TRUE(key.OpenKey("Software\\Lumatek\\tpserver\\arcview\\konwersja", true));
        ASSERT_TRUE(key.WriteDword("KNW", 1));
        ASSERT_TRUE(key.WriteDword("ATB", 0));
        ASSERT_TRUE(key.WriteDword("KorzystajZSym", 1));
        ASSERT_TRUE(key.WriteString("PlikSym", Path("brak.sym")));
    }

    std::int32_t Convert(const std::string& map, const std::string& shp, std::int32_t source) {
        TextArg mapArg(map), shpArg(shp);
        const std::int32_t result = library->Konwersja_Pliku_SHP_MAP(mapArg, shpArg, source);
        EXPECT_EQ(platform::GlobalLockCount(mapArg), 0u);
        EXPECT_EQ(platform::GlobalLockCount(shpArg), 0u);
        return result;
    }
};

TEST_F(KonwersjaPlikuTest, WritesOneShapefileOfDegreesAndPutsTheSettingsBack) {
    WriteFile(Path("plan.map"), PointMap(kNorthEast2000));
    std::filesystem::create_directories(Path("wynik"));
    {
        RumboInReach rumbo;
        EXPECT_EQ(Convert(Path("plan.map"), Path("wynik/geo.shp"), 10021), 0);
    }
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(forms->Forms().empty());
    for (const char* name : {"wynik/geo.shp", "wynik/geo.shx", "wynik/geo.dbf"})
        EXPECT_TRUE(std::filesystem::exists(Path(name))) << name;
    // X is the longitude, Y the latitude.
    ExpectNear(Swapped(OgrPoints(Path("wynik/geo.shp"))),
               Cs2cs("EPSG:2178", "EPSG:4326", kNorthEast2000, Path("")), 1e-8);
    const std::string info = RunCommand("ogrinfo -ro -so -al '" + Path("wynik/geo.shp") + "'");
    EXPECT_NE(info.find("Feature Count: 3"), std::string::npos) << info;
    EXPECT_NE(info.find("TPID"), std::string::npos) << info;

    // The stored settings are in force again: the next export reads the symbol file.
    testhost::ServerObject object = library->NewKWZObject();
    TextArg map(Path("plan.map"));
    ASSERT_TRUE(object.LoadMap(map));
    EXPECT_FALSE(object.ExportMap());
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back().rfind("Błąd odczytu pliku symboli !!!", 0), 0u)
        << Messages().back();
}

// What would leave a wrong or empty file, or lose the MAP file, writes nothing and says why.
TEST_F(KonwersjaPlikuTest, RefusesWhatItCannotConvert) {
    WriteFile(Path("plan.map"), PointMap(kNorthEast2000));
    WriteFile(Path("stary.shp"), "stary");
    const std::string map = ReadFile(Path("plan.map"));
    RumboInReach rumbo;

    // A MAP file that cannot be read: the reader's message, and the old shapefile stays.
    EXPECT_EQ(Convert(Path("brak.map"), Path("stary.shp"), 10021), -1);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(ReadFile(Path("stary.shp")), "stary");
    boxes->ClearMessages();

    // No shapefile name, or one whose files include the MAP file.
    EXPECT_EQ(Convert(Path("plan.map"), "", 10021), -1);
    EXPECT_EQ(Convert(Path("plan.map"), Path("plan.map"), 10021), -1);
    EXPECT_EQ(Convert(Path("plan.map"), Path("wynik/../plan.map"), 10021), -1);
    EXPECT_EQ(Messages().size(), 3u);
    EXPECT_EQ(ReadFile(Path("plan.map")), map);
    EXPECT_FALSE(std::filesystem::exists(Path("plan.shp")));
    boxes->ClearMessages();

    // A map without exportable objects: no shapefile, and a message that says so.
    WriteFile(Path("pusta.map"), ";ver=[ 5.00]\r\n");
    EXPECT_EQ(Convert(Path("pusta.map"), Path("pusta.shp"), 10021), -1);
    EXPECT_FALSE(std::filesystem::exists(Path("pusta.shp")));
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("nie ma obiektów"), std::string::npos) << Messages()[0];
}

TEST_F(KonwersjaPlikuTest, WithoutTheOutsideLibraryNothingIsWritten) {
    WriteFile(Path("plan.map"), PointMap(kNorthEast2000));
    EXPECT_EQ(Convert(Path("plan.map"), Path("geo.shp"), 10021), -1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("Rumbo"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Path("geo.shp")));
    EXPECT_FALSE(std::filesystem::exists(Path("geo.dbf")));
}

}  // namespace
