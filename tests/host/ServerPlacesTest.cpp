#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "HostFixture.h"

namespace {

using ServerPlacesTest = HostTest;
using testhost::TextArg;

constexpr const char* kMap =
    ";ver=[ 5.00]\r\n*5101 1 7 0.0\r\nP 0 1.5 2.5\r\nP 0 3 4\r\nP 0 1.5 2.5\r\n"
    "*4101 1 7 0\r\nP 0 5 6\r\nP 0 7 8\r\n*5101 1 7 0.0\r\nP 0 9 9\r\nP 0 9 10\r\nP 0 9 9\r\n";

TEST_F(ServerPlacesTest, ANewObjectIsEmpty) {
    testhost::ServerObject object = library->NewKWZObject();
    ASSERT_TRUE(object);
    EXPECT_EQ(object.GetFileName(), "");
    EXPECT_EQ(object.GetShapeType(), 0);
    EXPECT_EQ(object.GetRecordCount(), 0);
    double box[4] = {-1, -2, -3, -4};
    EXPECT_TRUE(object.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(box[0], -1);
    EXPECT_EQ(box[1], -2);
    EXPECT_EQ(box[2], -3);
    EXPECT_EQ(box[3], -4);
    EXPECT_TRUE(object.Clear());
}

// A new object has nothing to show, draw, find, convert or export.
TEST_F(ServerPlacesTest, ANewObjectHasNothingToShowOrConvert) {
    testhost::ServerObject object = library->NewKWZObject();
    ASSERT_TRUE(object);
    EXPECT_EQ(object.ConfigureDisplay(0), 0);
    EXPECT_EQ(object.Draw(0, 0, 0, 100, 100, 0, 0, 640, 480, 1, 0), 0);
    double found[2] = {7, 8};
    EXPECT_FALSE(object.FindNearestPoint(5000000, 7500000, 10, &found[0], &found[1]));
    EXPECT_EQ(found[0], 7);
    EXPECT_EQ(found[1], 8);
    EXPECT_FALSE(object.Identify(1, 2, 3, 1));
    TextArg map(Path("wynik.map"));
    EXPECT_FALSE(object.SaveAsMap(map, 0));
    EXPECT_FALSE(object.ExportMap());
    EXPECT_FALSE(std::filesystem::exists(Path("wynik.map")));
    EXPECT_TRUE(forms->Forms().empty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ServerPlacesTest, OpenFileReadsTheShapefileAndLeavesTheHandleToTheCaller) {
    testhost::ServerObject object = library->NewKWZObject();
    ASSERT_TRUE(object);
    EXPECT_EQ(object.OpenFile(0), 1);
    EXPECT_EQ(object.SaveFileAs(0), 1);

    TextArg missing(Path("brak.shp"));
    EXPECT_EQ(object.OpenFile(missing), 255);
    EXPECT_EQ(object.GetRecordCount(), 0);

    // X is the easting, Y the northing.
    WritePointShapefile(Path("slupy.shp"), {{7500010, 5000020}, {7500030, 5000001}});
    TextArg name(Path("slupy.shp"));
    EXPECT_EQ(object.OpenFile(name), 0);
    EXPECT_EQ(platform::GlobalLockCount(name), 0u);
    EXPECT_EQ(testhost::GlobalHandleToStr(testhost::StrToGlobalHandle("x")), "x");
    EXPECT_EQ(object.GetRecordCount(), 2);
    EXPECT_EQ(object.GetShapeType(), 1);
    EXPECT_EQ(object.GetFileName(), Path("slupy.shp"));
    // The host's axes: northing first.
    double box[4] = {};
    EXPECT_TRUE(object.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(box[0], 5000001);
    EXPECT_EQ(box[1], 7500010);
    EXPECT_EQ(box[2], 5000020);
    EXPECT_EQ(box[3], 7500030);
    // The caller's handle is still alive and holds its text.
    EXPECT_EQ(platform::GlobalSize(name), Path("slupy.shp").size() + 4);

    // A second file takes the place of the first instead of adding its records to it.
    WritePointShapefile(Path("drzewa.shp"), {{1, 2}});
    TextArg other(Path("drzewa.shp"));
    EXPECT_EQ(object.OpenFile(other), 0);
    EXPECT_EQ(object.GetRecordCount(), 1);
    EXPECT_EQ(object.GetFileName(), Path("drzewa.shp"));

    // Saved under a new name and opened again, the records are the same.
    TextArg copy(Path("kopia.shp"));
    EXPECT_EQ(object.SaveFileAs(copy), 0);
    testhost::ServerObject reopened = library->NewKWZObject();
    EXPECT_EQ(reopened.OpenFile(copy), 0);
    EXPECT_EQ(reopened.GetRecordCount(), 1);
    EXPECT_TRUE(reopened.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(box[0], 2);
    EXPECT_EQ(box[1], 1);
}

TEST_F(ServerPlacesTest, ClearEmptiesTheShapeAndTheMap) {
    testhost::ServerObject object = library->NewKWZObject();
    WritePointShapefile(Path("slupy.shp"), {{1, 2}, {3, 4}});
    WriteFile(Path("plan.map"), kMap);
    TextArg shp(Path("slupy.shp")), map(Path("plan.map")), out(Path("pusty.map"));
    ASSERT_EQ(object.OpenFile(shp), 0);
    ASSERT_TRUE(object.LoadMap(map));
    EXPECT_TRUE(object.Clear());
    EXPECT_EQ(object.GetRecordCount(), 0);
    EXPECT_EQ(object.GetFileName(), "");
    ASSERT_TRUE(object.SaveMap(out));
    const std::string written = ReadFile(Path("pusty.map"));
    EXPECT_EQ(written.find("*5101"), std::string::npos);
    EXPECT_EQ(written.find("*4101"), std::string::npos);
}

TEST_F(ServerPlacesTest, SetOutputFolderMakesTheMapsFolderOnce) {
    testhost::ServerObject object = library->NewKWZObject();
    // Without a map there is no name to take the folder from.
    EXPECT_EQ(object.SetOutputFolder(), 0);
    WriteFile(Path("obreb1.map"), kMap);
    TextArg map(Path("obreb1.map"));
    ASSERT_TRUE(object.LoadMap(map));
    EXPECT_EQ(object.SetOutputFolder(), 0);
    EXPECT_TRUE(std::filesystem::is_directory(Path("obreb1")));
    WriteFile(Path("obreb1/zostaje.txt"), "x");
    EXPECT_EQ(object.SetOutputFolder(), 0);
    EXPECT_EQ(ReadFile(Path("obreb1/zostaje.txt")), "x");
    EXPECT_TRUE(Messages().empty());

    // A plain file where the folder should be: told, and nothing breaks.
    WriteFile(Path("obreb2.map"), kMap);
    WriteFile(Path("obreb2"), "plik");
    TextArg second(Path("obreb2.map"));
    ASSERT_TRUE(object.LoadMap(second));
    EXPECT_EQ(object.SetOutputFolder(), 0);
    EXPECT_EQ(ReadFile(Path("obreb2")), "plik");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(Path("obreb2")), std::string::npos);
}

TEST_F(ServerPlacesTest, SetBatchConfigReplacesCodes) {
    WriteFile(Path("plan.map"), kMap);
    WriteFile(Path("wsad.ini"), "[ZAMIANA]\r\n5101=5102\r\n4101=41010\r\n");
    TextArg map(Path("plan.map")), batch(Path("wsad.ini")), missing(Path("brak.ini"));
    TextArg folder(Path("wynik")), out(Path("po.map"));

    testhost::ServerObject unchanged = library->NewKWZObject();
    ASSERT_TRUE(unchanged.LoadMap(map));
    unchanged.SetBatchConfig(missing, folder, 0, 0);
    ASSERT_TRUE(unchanged.SaveMap(out));
    std::string written = ReadFile(Path("po.map"));
    EXPECT_NE(written.find("*5101"), std::string::npos);
    EXPECT_NE(written.find("*4101"), std::string::npos);

    testhost::ServerObject object = library->NewKWZObject();
    ASSERT_TRUE(object.LoadMap(map));
    object.SetBatchConfig(batch, 0, 1, 2);
    ASSERT_TRUE(object.SaveMap(out));
    written = ReadFile(Path("po.map"));
    EXPECT_EQ(written.find("*5101"), std::string::npos);
    EXPECT_NE(written.find("*5102"), std::string::npos);
    // A replacement is cut to the four characters of a code.
    EXPECT_NE(written.find("*4101"), std::string::npos);
    EXPECT_TRUE(Messages().empty());
}

// Objects are destroyed by the library that made them, through their table; many of them
// coming and going leave nothing behind for the leak checker of the sanitizer build.
TEST_F(ServerPlacesTest, ObjectsAreDestroyedThroughTheirTable) {
    WritePointShapefile(Path("slupy.shp"), {{1, 2}});
    TextArg shp(Path("slupy.shp"));
    for (int i = 0; i < 50; ++i) {
        testhost::ServerObject object = library->NewKWZObject();
        ASSERT_TRUE(object);
        ASSERT_EQ(object.OpenFile(shp), 0);
        object.Destroy();
        EXPECT_FALSE(object);
    }
}

}  // namespace
