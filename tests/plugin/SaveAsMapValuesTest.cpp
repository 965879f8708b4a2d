// dBase values on their way into attributes, the batch section, the link table's names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "SaveAsMapFixture.h"
#include "platform/DbfTable.h"
#include "platform/IniMemoryFile.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/SaveAsMapBatch.h"
#include "plugin/SaveAsMapLinkTable.h"
#include "plugin/SaveAsMapValues.h"

namespace {

constexpr std::int32_t kPacked20040315 = (24 << 25) | (3 << 21) | (15 << 16);

TEST(SaveAsMapValues, LineBreaksBecomeBlanksAndEndsAreTrimmed) {
    EXPECT_EQ(AttributeValueText("a\r\nb\nc\rd", 3), "a b cd");
    EXPECT_EQ(AttributeValueText(" \t x y \x01\r\n", 3), "x y");
    EXPECT_EQ(AttributeValueText("\r\n", 3), "");
}

TEST(SaveAsMapValues, PolishLettersGoToPageOne) {
    // Windows-1250 "ą" (0xB9) is 0x86 in Mazovia; page 4 (plain letters) has nothing to convert.
    EXPECT_EQ(AttributeValueText("\xB9", 3), "\x86");
    EXPECT_EQ(AttributeValueText("a", 4), "a");
    // A byte above 0x7F is no control character and stays at the ends.
    EXPECT_EQ(AttributeValueText(" \xB9 ", 3), "\x86");
}

TEST(SaveAsMapValues, ShortDatesFollowThePicture) {
    auto d = ParseShortDate("15.03.2004", "dd.MM.yyyy", 2025);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->year, 2004);
    EXPECT_EQ(d->month, 3);
    EXPECT_EQ(d->day, 15);
    d = ParseShortDate("2004-3-5", "yyyy-MM-dd", 2025);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->day, 5);
    d = ParseShortDate("3/15/04", "M/d/yy", 2025);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->year, 2004);
    EXPECT_EQ(ParseShortDate("15.03.80", "dd.MM.yy", 2025)->year, 1980);
    EXPECT_EQ(ParseShortDate("15.03.74", "dd.MM.yy", 2025)->year, 2074);
    for (const char* bad : {"31.02.2004", "15.13.2004", "15-03-2004", "15.03", "x", "",
                            "15.03.2004x", "0.1.2004", "15.03.20041"})
        EXPECT_FALSE(ParseShortDate(bad, "dd.MM.yyyy", 2025)) << bad;
    EXPECT_TRUE(ParseShortDate("29.02.2004", "dd.MM.yyyy", 2025));
    EXPECT_FALSE(ParseShortDate("29.02.1900", "dd.MM.yyyy", 2025));
}

TEST(SaveAsMapValues, PackedDatesAndTheTextsThatAreNone) {
    EXPECT_EQ(DateAttributeText("15.03.2004", "dd.MM.yyyy", 2025), std::to_string(kPacked20040315));
    EXPECT_EQ(DateAttributeText("01.01.1980", "dd.MM.yyyy", 2025),
              std::to_string(1 << 21 | 1 << 16));
    // Outside what the packed form holds, or no date at all: the text stays.
    EXPECT_EQ(DateAttributeText("31.12.1979", "dd.MM.yyyy", 2025), "31.12.1979");
    EXPECT_EQ(DateAttributeText("01.01.2108", "dd.MM.yyyy", 2025), "01.01.2108");
    EXPECT_EQ(DateAttributeText("nie data", "dd.MM.yyyy", 2025), "nie data");
    // Years from 2044 set the top bit: the 32-bit value is negative.
    EXPECT_LT(*PackedFileDate({2107, 12, 31}), 0);
    EXPECT_EQ(DbfDateAsShortDate("20040315", "dd.MM.yyyy"), "15.03.2004");
    EXPECT_EQ(DbfDateAsShortDate("2004031", "dd.MM.yyyy"), "2004031");
}

TEST(SaveAsMapValues, LinkTableNames) {
    EXPECT_EQ(LinkTableName("/dane/drogi.map"), "/dane/map_drogi.dbf");
    EXPECT_EQ(LinkTableName("drogi.MAP"), "map_drogi.dbf");
    EXPECT_EQ(FileNameOnly("/dane/map_drogi.dbf"), "map_drogi.dbf");
}

TEST(SaveAsMapBatchSection, SectionOfTheShapefileOverDefault) {
    saveasmaptest::DefaultConversionSettings();
    const auto ini = platform::IniMemoryFile::FromText(
        "[DEFAULT]\nKOD=1111\n1=NAZWA\n2=OPIS\n6=DATA\n"
        "[drogi.shp]\nKOD=4321\nATR=2\nTPIDID=2\nTXTLink=1\n1=NUMER\n");
    ReadBatchLinkSettings(&ini, "drogi.shp");
    EXPECT_EQ(LinkSettings.KOD.View(), "4321");
    EXPECT_EQ(LinkSettings.ATR, 2);
    EXPECT_EQ(LinkSettings.TPIDID, 2);
    EXPECT_TRUE(LinkSettings.TXTLink);
    EXPECT_EQ(AttributeSlots[0].DBF.View(), "NUMER");  // the section's own
    EXPECT_EQ(AttributeSlots[1].DBF.View(), "OPIS");   // from DEFAULT
    EXPECT_EQ(AttributeSlots[7].DBF.View(), "DATA");   // slot of attribute 6
    EXPECT_TRUE(AttributeSlots[2].DBF.Empty());
    EXPECT_TRUE(ConversionSettings.BTA);

    ReadBatchLinkSettings(&ini, "rzeki.shp");  // no section: DEFAULT alone
    EXPECT_EQ(LinkSettings.KOD.View(), "1111");
    EXPECT_EQ(LinkSettings.ATR, 0);
    EXPECT_FALSE(LinkSettings.TXTLink);
    EXPECT_EQ(AttributeSlots[0].DBF.View(), "NAZWA");

    ReadBatchLinkSettings(nullptr, "rzeki.shp");  // no file
    EXPECT_EQ(LinkSettings.KOD.View(), "5000");
    EXPECT_TRUE(AttributeSlots[0].DBF.Empty());
}

}  // namespace

namespace {

// A read-only source is described from the table component's fields; the link table made from
// that layout equals the one made from the header.
TEST(SaveAsMapLinkTable, LayoutFromFieldsMatchesTheHeader) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kestrel-shp2map-layout-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string dbf = (dir / "a.dbf").string();
    saveasmaptest::WriteDbf(dbf,
                            {{"NAZWA", 'C', 12},
                             {"TPID", 'N', 8},
                             {"KWOTA", 'N', 12, 2},
                             {"DATA", 'D', 8},
                             {"OK", 'L', 1}},
                            {{"a", "1", "2.50", "20040315", "T"}});
    LinkTableLayout fromHeader, fromFields;
    ASSERT_TRUE(ReadLinkTableLayout(dbf, fromHeader));
    platform::DbfTable table;
    table.Open(dbf, platform::DbfTable::Mode::ReadShared);
    std::vector<platform::DbfFieldDef> fields;
    for (int i = 0; i < table.FieldCount(); ++i) fields.push_back(table.Field(i));
    LinkTableLayoutFromFields(fields, fromFields);
    EXPECT_EQ(fromFields.Fields, fromHeader.Fields);
    EXPECT_EQ(fromFields.RecordLength, fromHeader.RecordLength);
    EXPECT_EQ(fromFields.TpidIndex, 1);
    EXPECT_EQ(fromHeader.TpidIndex, 1);
    std::filesystem::remove_all(dir);
}

}  // namespace
