// Place 12: the map the object holds written as shapefiles, through the loaded library.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "HostFixture.h"
#include "platform/Registry.h"

namespace {

using testhost::TextArg;

constexpr const char* kMap =
    ";ver=[ 5.00]\r\n*5101 1 7 0.0\r\nP 0 1.5 2.5\r\nP 0 3 4\r\nP 0 3 2.5\r\nP 0 1.5 2.5\r\n"
    "*4101 1 7 0\r\nP 0 5 6\r\nP 0 7 8\r\n"
    "*5101 1 7 0.0\r\nP 0 9 9\r\nP 0 9 10\r\nP 0 8 10\r\nP 0 9 9\r\n";

std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    ::pclose(pipe);
    return output;
}

std::string OgrInfo(const std::string& shp) {
    return RunCommand("ogrinfo -ro -so -al '" + shp + "' 2>&1");
}

class ExportMapPlaceTest : public HostTest {
  protected:
    void PrepareRegistry() override {
        if (!oneFile_) return;
        platform::RegistryKey key;
        ASSERT_TRUE(key.OpenKey("Software\\Lumatek\\tpserver\\arcview\\konwersja", true));
        ASSERT_TRUE(key.WriteDword("KNW", 0));
    }
    bool oneFile_ = false;
};

TEST_F(ExportMapPlaceTest, PerCodeLayersInTheMapsFolder) {
    WriteFile(Path("plan.map"), kMap);
    testhost::ServerObject object = library->NewKWZObject();
    TextArg map(Path("plan.map"));
    ASSERT_TRUE(object.LoadMap(map));
    EXPECT_EQ(object.SetOutputFolder(), 0);
    EXPECT_TRUE(object.ExportMap());
    EXPECT_TRUE(Messages().empty());
    for (const char* name :
         {"4101.shp", "4101.shx", "4101.dbf", "5101.shp", "5101.shx", "5101.dbf"})
        EXPECT_TRUE(std::filesystem::exists(Path("plan/") + name)) << name;
    // The object now holds the last layer written.
    EXPECT_EQ(object.GetFileName(), Path("plan") + "/5101.shp");
    EXPECT_EQ(object.GetShapeType(), 5);
    EXPECT_EQ(object.GetRecordCount(), 2);
    double box[4] = {};
    EXPECT_TRUE(object.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(box[0], 1.5);  // northing first, as the map has it
    EXPECT_EQ(box[3], 10);

    const std::string areas = OgrInfo(Path("plan/5101.shp"));
    EXPECT_NE(areas.find("Geometry: Polygon"), std::string::npos) << areas;
    EXPECT_NE(areas.find("Feature Count: 2"), std::string::npos);
    EXPECT_NE(areas.find("Extent: (2.500000, 1.500000) - (10.000000, 9.000000)"),
              std::string::npos);
    EXPECT_NE(OgrInfo(Path("plan/4101.shp")).find("Geometry: Line String"), std::string::npos);
}

TEST_F(ExportMapPlaceTest, BatchConfigurationNamesLayersAndFields) {
    WriteFile(Path("plan.map"), kMap);
    WriteFile(Path("wsad.ini"),
              "[OPCJE]\r\nTPID=1\r\n[WARSTWY]\r\n5101=Dzialki\r\n[ZAMIANA]\r\n4101=4102\r\n"
              "[5101]\r\nKOD=!C4:0#53#49#48#49\r\n");
    std::filesystem::create_directories(Path("wynik"));
    testhost::ServerObject object = library->NewKWZObject();
    TextArg map(Path("plan.map")), batch(Path("wsad.ini")), folder(Path("wynik"));
    ASSERT_TRUE(object.LoadMap(map));
    object.SetBatchConfig(batch, folder, 0, 0);
    EXPECT_TRUE(object.ExportMap());
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(std::filesystem::exists(Path("wynik/Dzialki.shp")));
    EXPECT_TRUE(std::filesystem::exists(Path("wynik/4102.dbf")));
    const std::string info = RunCommand("ogrinfo -ro -al '" + Path("wynik/Dzialki.shp") + "' 2>&1");
    EXPECT_NE(info.find("KOD: String (4.0)"), std::string::npos) << info;
    EXPECT_NE(info.find("KOD (String) = 5101"), std::string::npos);
    EXPECT_NE(info.find("TPID (Integer64) = 3"), std::string::npos);
    EXPECT_EQ(object.GetFileName(), Path("wynik") + "/Dzialki.shp");
}

class ExportMapOneFileTest : public ExportMapPlaceTest {
  protected:
    ExportMapOneFileTest() { oneFile_ = true; }
};

TEST_F(ExportMapOneFileTest, OneShapefileBesideTheMap) {
    WriteFile(Path("plan.map"), kMap);
    testhost::ServerObject object = library->NewKWZObject();
    TextArg map(Path("plan.map"));
    ASSERT_TRUE(object.LoadMap(map));
    EXPECT_TRUE(object.ExportMap());
    EXPECT_EQ(object.GetRecordCount(), 3);
    EXPECT_EQ(object.GetShapeType(), 5);  // the first record's
    const std::string info = OgrInfo(Path("plan.shp"));
    EXPECT_NE(info.find("Feature Count: 3"), std::string::npos) << info;
    EXPECT_EQ(info.find("FA:"), std::string::npos);
}

}  // namespace
