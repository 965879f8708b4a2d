#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "MultiLayerFixture.h"
#include "plugin/LayerListFile.h"

namespace {

using Entry = LayerListEntry;
using MultiLayerListFileTest = MultiLayerTest;

TEST(MultiLayerListLine, NameBeforeTheFirstSemicolonAndTheVisibilityAfterIt) {
    EXPECT_EQ(ParseLayerListLine("C:\\a.shp;1"), (Entry{"C:\\a.shp", true}));
    EXPECT_EQ(ParseLayerListLine("C:\\b.shp;0"), (Entry{"C:\\b.shp", false}));
    EXPECT_EQ(ParseLayerListLine("C:\\b.shp; 0"), (Entry{"C:\\b.shp", false}));
    EXPECT_EQ(ParseLayerListLine("C:\\b.shp;-0"), (Entry{"C:\\b.shp", false}));
    // Not an integer, or not 0: visible.
    EXPECT_EQ(ParseLayerListLine("C:\\c.shp;x"), (Entry{"C:\\c.shp", true}));
    EXPECT_EQ(ParseLayerListLine("C:\\c.shp;"), (Entry{"C:\\c.shp", true}));
    EXPECT_EQ(ParseLayerListLine("C:\\c.shp;0x"), (Entry{"C:\\c.shp", true}));
    EXPECT_EQ(ParseLayerListLine("C:\\c.shp;2"), (Entry{"C:\\c.shp", true}));
    EXPECT_EQ(ParseLayerListLine("C:\\c.shp;99999999999999"), (Entry{"C:\\c.shp", true}));
    EXPECT_EQ(ParseLayerListLine("a;b;0"), (Entry{"a", true}));
    EXPECT_EQ(ParseLayerListLine(";0"), (Entry{"", false}));
}

TEST(MultiLayerListLine, LineWithoutSemicolonNamesAVisibleFileAndBlankLinesGiveNone) {
    EXPECT_EQ(ParseLayerListLine("/dane/drogi.shp"), (Entry{"/dane/drogi.shp", true}));
    EXPECT_EQ(ParseLayerListLine(""), std::nullopt);
    EXPECT_EQ(ParseLayerListLine(" \t "), std::nullopt);
    EXPECT_EQ(ParseLayerListLine(std::string(300, 'n')), (Entry{std::string(255, 'n'), true}));
}

TEST(MultiLayerListLine, WrittenLinesReadBackAndNamesLoseTheirFolder) {
    EXPECT_EQ(FormatLayerListLine("C:\\c.shp", true), "C:\\c.shp;1");
    EXPECT_EQ(FormatLayerListLine("C:\\b.shp", false), "C:\\b.shp;0");
    for (bool visible : {true, false})
        EXPECT_EQ(ParseLayerListLine(FormatLayerListLine("/x/\xb3\xb9ka.shp", visible)),
                  (Entry{"/x/\xb3\xb9ka.shp", visible}));

    EXPECT_EQ(LayerDisplayName("C:\\dane\\drogi.shp"), "drogi.shp");
    EXPECT_EQ(LayerDisplayName("/dane/rzeki.shp"), "rzeki.shp");
    EXPECT_EQ(LayerDisplayName("las.shp"), "las.shp");
    EXPECT_EQ(LayerDisplayName("/dane/"), "");
    EXPECT_EQ(UpperFileExt("/a/b.Shp"), ".SHP");
    EXPECT_EQ(UpperFileExt("C:\\a\\lista.spr"), ".SPR");
    EXPECT_EQ(UpperFileExt("/a.d/plik"), "");
    EXPECT_EQ(UpperFileExt("/a/plik.tar.SpR"), ".SPR");
}

TEST_F(MultiLayerListFileTest, ReadsEveryLineInOrder) {
    WriteFile(File("lista.spr"), "C:\\a.shp;1\r\nC:\\b.shp;0\r\n\r\nC:\\c.shp;x\nD:\\d.shp");
    const LayerListReadResult list = ReadLayerListFile(File("lista.spr"));
    EXPECT_EQ(list.Error, 0);
    EXPECT_FALSE(list.Truncated);
    EXPECT_EQ(
        list.Entries,
        (std::vector<Entry>{
            {"C:\\a.shp", true}, {"C:\\b.shp", false}, {"C:\\c.shp", true}, {"D:\\d.shp", true}}));
}

TEST_F(MultiLayerListFileTest, BadFilesGiveAnErrorOrBoundedEntries) {
    // Missing, and a folder.
    EXPECT_NE(ReadLayerListFile(File("brak.spr")).Error, 0);
    EXPECT_TRUE(ReadLayerListFile(File("brak.spr")).Entries.empty());
    EXPECT_NE(ReadLayerListFile(RegistryFile().parent_path().string()).Error, 0);

    // A line of 100,000 characters is cut to 255 and the next line is read whole.
    WriteFile(File("dluga.spr"), std::string(100000, 'q') + ";0\r\nC:\\b.shp;0\r\n");
    LayerListReadResult list = ReadLayerListFile(File("dluga.spr"));
    EXPECT_EQ(list.Error, 0);
    EXPECT_EQ(list.Entries,
              (std::vector<Entry>{{std::string(255, 'q'), true}, {"C:\\b.shp", false}}));

    // Binary garbage: some entries, never more than the lines it holds.
    std::string garbage;
    for (int i = 0; i < 70000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 256));
    WriteFile(File("smieci.spr"), garbage);
    list = ReadLayerListFile(File("smieci.spr"));
    EXPECT_EQ(list.Error, 0);
    EXPECT_LE(list.Entries.size(), kLayerListMaxLines);
    for (const Entry& e : list.Entries) EXPECT_LE(e.FileName.size(), 255u);

    // More lines than one list brings in: the first ones, and the reader says so.
    std::string many;
    for (std::size_t i = 0; i < kLayerListMaxLines + 5; ++i)
        many.append("x").append(std::to_string(i)).append(";0\n");
    WriteFile(File("wiele.spr"), many);
    list = ReadLayerListFile(File("wiele.spr"));
    EXPECT_EQ(list.Error, 0);
    EXPECT_TRUE(list.Truncated);
    ASSERT_EQ(list.Entries.size(), kLayerListMaxLines);
    EXPECT_EQ(list.Entries.back().FileName, "x" + std::to_string(kLayerListMaxLines - 1));
}

TEST_F(MultiLayerListFileTest, WritesOneCrLfLinePerLayerAndKeepsTheOldFileOnFailure) {
    std::vector<std::string> log;
    TLayerList layers;
    const std::vector<std::pair<std::string, bool>> three = {
        {"a", true}, {"b", false}, {"c", true}};
    for (const auto& [name, visible] : three)
        layers.AddObject(name, RecordingLayer(log, name, visible));
    EXPECT_EQ(WriteLayerListFile(File("lista.spr"), layers), 0);
    EXPECT_EQ(ReadFile(File("lista.spr")),
              "C:\\dane\\a.shp;1\r\nC:\\dane\\b.shp;0\r\nC:\\dane\\c.shp;1\r\n");

    // Into a folder that does not exist: an error and no file.
    EXPECT_NE(WriteLayerListFile(File("brak/lista.spr"), layers), 0);
    EXPECT_FALSE(std::filesystem::exists(File("brak")));
    // Over a folder: an error, the folder stays.
    std::filesystem::create_directory(File("katalog.spr"));
    EXPECT_NE(WriteLayerListFile(File("katalog.spr"), layers), 0);
    EXPECT_TRUE(std::filesystem::is_directory(File("katalog.spr")));

    // An empty list writes an empty file.
    TLayerList none;
    EXPECT_EQ(WriteLayerListFile(File("lista.spr"), none), 0);
    EXPECT_EQ(ReadFile(File("lista.spr")), "");
    EXPECT_TRUE(log.empty());
}

}  // namespace
