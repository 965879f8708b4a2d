// Place 11 as the host calls it: through the object's table, with the MAP name in a handle.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

// Between the opening and the conversion another program puts a new table in the shapefile's
// place, or takes it away: the records opened get the rows of the table there when the shapefile
// was opened, and none when there was none then. Opening the shapefile again takes the new one.
TEST_F(SaveAsMapHostTest, TheRowsComeFromTheTableThereWhenTheShapefileWasOpened) {
    const std::vector<std::string> opened = {"pierwszy", "drugi"};
    const std::vector<std::string> later = {"nowy", "inny"};
    struct Case {
        std::string name;
        bool tableWhenOpened;
        bool tableLater;  // put in place after the opening; without, the table is removed
        bool openAgain;
        std::vector<std::string> linked;  // the link table's rows; none: no link table
    };
    const std::vector<Case> cases = {
        {"zastapiona", true, true, false, opened},
        {"usunieta", true, false, false, opened},
        {"dodana", false, true, false, {}},
        {"otwarta", true, true, true, later},
    };
    for (const Case& c : cases) {
        WritePointShapefile(Path(c.name + ".shp"), {{7500010, 5000020}, {7500030, 5000001}});
        if (c.tableWhenOpened) WriteNames(Path(c.name + ".dbf"), opened);
        testhost::ServerObject object = library->NewKWZObject();
        TextArg shp(Path(c.name + ".shp"));
        ASSERT_EQ(object.OpenFile(shp), 0);
        if (c.tableLater) {
            WriteNames(Path("nowa.dbf"), later);
            std::filesystem::rename(Path("nowa.dbf"), Path(c.name + ".dbf"));
        } else {
            std::filesystem::remove(Path(c.name + ".dbf"));
        }
        if (c.openAgain) {
            ASSERT_EQ(object.OpenFile(shp), 0);
        }

        TextArg map(Path(c.name + ".map"));
        EXPECT_TRUE(object.SaveAsMap(map, 1)) << c.name;
        EXPECT_NE(ReadFile(Path(c.name + ".map")).find("P  1 5000020.000 7500010.000"),
                  std::string::npos)
            << c.name;
        const std::string link = Path("map_" + c.name + ".dbf");
        EXPECT_EQ(std::filesystem::exists(link), !c.linked.empty()) << c.name;
        if (c.linked.empty()) continue;
        const std::string rows = ReadFile(link);
        for (const std::string& row : c.linked)
            EXPECT_NE(rows.find(row), std::string::npos) << c.name << " " << row;
        for (const std::string& row : c.linked == opened ? later : opened)
            EXPECT_EQ(rows.find(row), std::string::npos) << c.name << " " << row;
    }
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
