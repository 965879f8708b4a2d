// Place 11 as the host calls it: through the object's table, with the MAP name in a handle.
#include <gtest/gtest.h>

#include <filesystem>

#include "HostFixture.h"

namespace {

using testhost::TextArg;

class SaveAsMapHostTest : public HostTest {
  protected:
    // A dBase III table with one text field NAZWA of 10 characters.
    void WriteNames(const std::string& path, const std::vector<std::string>& names) {
        std::string dbf(32, '\0');
        dbf[0] = 3;
        dbf[4] = static_cast<char>(names.size());
        dbf[8] = 65;   // header: 32 + one descriptor + terminator
        dbf[10] = 11;  // record: deletion flag + 10
        std::string field(32, '\0');
        field.replace(0, 5, "NAZWA");
        field[11] = 'C';
        field[16] = 10;
        dbf += field + "\r";
        for (const std::string& n : names) dbf += " " + n + std::string(10 - n.size(), ' ');
        dbf += "\x1A";
        WriteFile(path, dbf);
    }
};

TEST_F(SaveAsMapHostTest, ConvertsTheOpenShapefileWithItsTable) {
    WritePointShapefile(Path("slupy.shp"), {{7500010, 5000020}, {7500030, 5000001}});
    WriteNames(Path("slupy.dbf"), {"pierwszy", "drugi"});
    testhost::ServerObject object = library->NewKWZObject();
    ASSERT_TRUE(object);
    TextArg shp(Path("slupy.shp"));
    ASSERT_EQ(object.OpenFile(shp), 0);

    TextArg map(Path("slupy.map"));
    EXPECT_TRUE(object.SaveAsMap(map, 1));  // the MAP file was written
    EXPECT_EQ(platform::GlobalLockCount(map), 0u);
    EXPECT_EQ(testhost::GlobalHandleToStr(testhost::StrToGlobalHandle("x")), "x");

    const std::string text = ReadFile(Path("slupy.map"));
    EXPECT_NE(text.find("P  1 5000020.000 7500010.000"), std::string::npos) << text;
    EXPECT_NE(text.find("P  1 5000001.000 7500030.000"), std::string::npos) << text;
    EXPECT_NE(text.find("*1000 1 7"), std::string::npos) << text;
    // Mode 1 transfers the table: the pairing dialog, the link table, the settings file.
    ASSERT_EQ(forms->Forms().size(), 1u);
    EXPECT_EQ(forms->Forms()[0].caption, Cp("Przepisywanie pól DBF do atrybutów"));
    const std::string link = ReadFile(Path("map_slupy.dbf"));
    EXPECT_NE(link.find("TPID"), std::string::npos);
    EXPECT_NE(link.find("drugi"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(Path("slupy.cc")));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(SaveAsMapHostTest, WithoutShapefileNothingIsWritten) {
    testhost::ServerObject object = library->NewKWZObject();
    ASSERT_TRUE(object);
    TextArg map(Path("pusty.map"));
    EXPECT_FALSE(object.SaveAsMap(map, 0));
    EXPECT_FALSE(std::filesystem::exists(Path("pusty.map")));
}

}  // namespace
