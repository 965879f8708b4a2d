#include "plugin/FileSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "SettingsFixture.h"
#include "model/TextHandles.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/KWZArcView.h"

namespace {

class FileSettingsTest : public SettingsTest {
  protected:
    void SetUp() override {
        SettingsTest::SetUp();
        InitializeSettingsUnits();
    }
    std::string File(const std::string& name) const {
        return (RegistryFile().parent_path() / name).string();
    }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(File(name), std::ios::binary) << text;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(FileSettingsTest, TheFileSitsBesideTheShapefile) {
    EXPECT_EQ(FileSettingsName("/dane/drogi.shp"), "/dane/drogi.cc");
    EXPECT_EQ(FileSettingsName("/dane.v2/drogi"), "/dane.v2/drogi.cc");
    EXPECT_EQ(FileSettingsName(""), "");
}

TEST_F(FileSettingsTest, WrittenSettingsReadBackAndKeepOtherContent) {
    Write("drogi.cc", "; moje uwagi\r\n[Inne]\r\nklucz=wartosc\r\n[General]\r\nKNW=0\r\n");
    ConversionSettings.KNW = true;
    ConversionSettings.U45 = false;
    ConversionSettings.BTA = true;
    ConversionSettings._2XXX = 1;
    ConversionSettings.Point = 1234;
    ConversionSettings.Multipoint = 1500;
    LinkSettings.TXTLink = true;
    AttributeSlots[2].DBF = "TPID";
    AttributeSlots[10].DBF = "WYPELN";
    ASSERT_TRUE(WriteFileSettingsTo(File("drogi.cc")));

    const std::string text = Read("drogi.cc");
    EXPECT_EQ(text.rfind("; moje uwagi\r\n[Inne]\r\nklucz=wartosc\r\n[General]\r\nKNW=1\r\n", 0),
              0u);
    // Keys in the order of the writer.
    const std::vector<std::string> order = {
        "KNW=",        "U45=",     "Z54=",      "BTA=",      "ATB=",      "2XXX=",
        "3XXX=",       "4XXX=",    "5XXX=",     "Point=",    "Arc=",      "Polygon=",
        "Multipoint=", "[BTAPAR]", "TXTLink=1", "[BTAPAR0]", "[BTAPAR10]"};
    std::size_t at = 0;
    for (const std::string& key : order) {
        const std::size_t found = text.find(key, at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found;
    }

    const TConversionSettings written = ConversionSettings;
    const TAttributeSlots slots = AttributeSlots;
    FinalizeSettingsUnits();
    ReadFileSettingsFrom(File("drogi.cc"));
    EXPECT_EQ(ConversionSettings.KNW, written.KNW);
    EXPECT_EQ(ConversionSettings.U45, false);
    EXPECT_EQ(ConversionSettings.BTA, true);
    EXPECT_EQ(ConversionSettings._2XXX, 1);
    EXPECT_EQ(ConversionSettings.Point, 1234);
    EXPECT_EQ(ConversionSettings.Multipoint, 1500);
    EXPECT_EQ(ConversionSettings.Polygon, written.Polygon);
    for (std::size_t i = 0; i < kAttributeSlotCount; ++i) {
        EXPECT_EQ(AttributeSlots[i].NR, slots[i].NR) << i;
        EXPECT_EQ(AttributeSlots[i].Label.View(), slots[i].Label.View()) << i;
        EXPECT_EQ(AttributeSlots[i].DBF.View(), slots[i].DBF.View()) << i;
    }
    EXPECT_TRUE(LinkSettings.TXTLink);
    EXPECT_EQ(LinkSettings.ATR, slots[2].NR);  // TPID paired with A3
    EXPECT_EQ(LinkSettings.TPIDID, 3);
}

TEST_F(FileSettingsTest, OnlyAGeneralSectionClearsTheSlots) {
    LinkSettings.TXTLink = true;
    AttributeSlots[0].DBF = "TPID";
    FindLinkAttribute();
    Write("a.cc", "[General]\nPolygon=5100\nMultipoint=4100\n");
    ReadFileSettingsFrom(File("a.cc"));
    for (const TAttributeSlot& slot : AttributeSlots) {
        EXPECT_EQ(slot.NR, 0);
        EXPECT_TRUE(slot.Label.Empty());
        EXPECT_TRUE(slot.DBF.Empty());
    }
    EXPECT_FALSE(LinkSettings.TXTLink);
    EXPECT_EQ(LinkSettings.ATR, 0);
    EXPECT_EQ(LinkSettings.TPIDID, 0);
    EXPECT_EQ(ConversionSettings.Polygon, 5100);
    EXPECT_EQ(ConversionSettings.Multipoint, 1000);  // out of the file's range

    Write("a.cc", "[General]\nPolygon=4100\n");
    ReadFileSettingsFrom(File("a.cc"));
    EXPECT_EQ(ConversionSettings.Polygon, 5000);
}

TEST_F(FileSettingsTest, MissingOrUnreadableFilesChangeNothing) {
    ConversionSettings.Point = 1777;
    ConversionSettings.INI = true;
    const TConversionSettings before = ConversionSettings;
    const TAttributeSlots slots = AttributeSlots;
    ReadFileSettingsFrom(File("brak.cc"));
    ReadFileSettingsFrom("");
    std::filesystem::create_directory(File("katalog.cc"));
    ReadFileSettingsFrom(File("katalog.cc"));
    EXPECT_EQ(std::memcmp(&before, &ConversionSettings, sizeof before), 0);
    EXPECT_EQ(std::memcmp(&slots, &AttributeSlots, sizeof slots), 0);
}

// A user file holding anything at all gives the defaults, never a crash.
TEST_F(FileSettingsTest, BadFilesGiveTheDefaults) {
    const std::string longLine(100000, 'x');
    const std::vector<std::string> files = {
        std::string("\0\xff\xfe garbage \x01\x02", 15),
        "[General\nKNW\nPoint\n=5\n[]\n=\n",
        "[General]\nKNW=tak\nU45=\nPoint=12x\nArc=99999999999\nPolygon=-5\nMultipoint= 1500 \n"
        "2XXX=1.5\n",
        "[General]\n" + longLine + "\nPoint=" + longLine + "\n[" + longLine + "]\nArc=4200\n",
        "[BTAPAR3]\nNR=abc\nATR=" + longLine + "\nDBF=" + longLine + "\n",
        std::string(200000, '['),
    };
    for (const std::string& text : files) {
        ConversionSettings.KNW = false;
        ConversionSettings.Point = 1999;
        Write("zly.cc", text);
        ReadFileSettingsFrom(File("zly.cc"));
        EXPECT_TRUE(ConversionSettings.KNW);
        EXPECT_EQ(ConversionSettings.Point, 1000);
        EXPECT_EQ(ConversionSettings.Polygon, 5000);
        EXPECT_GE(ConversionSettings.Arc, 4000);
        EXPECT_LE(ConversionSettings.Arc, 4999);
        EXPECT_TRUE(ConversionSettings.Multipoint == 1000 || ConversionSettings.Multipoint == 1500);
        EXPECT_EQ(ConversionSettings._2XXX, 0);
        EXPECT_LE(AttributeSlots[3].Label.View().size(), 255u);
        EXPECT_EQ(AttributeSlots[3].NR, 0);
    }
    // The long label and field name were cut to a short string.
    EXPECT_TRUE(Messages().empty());
}

TEST_F(FileSettingsTest, AFileThatCannotBeWrittenIsReported) {
    std::filesystem::create_directory(File("zajety.cc"));
    EXPECT_FALSE(WriteFileSettingsTo(File("zajety.cc")));
    EXPECT_FALSE(WriteFileSettingsTo(File("brak/katalogu.cc")));
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages()[0], "Plik ustawień " + File("zajety.cc") +
                                 " nie jest zwykłym plikiem: ustawienia nie są z niego "
                                 "wczytywane ani w nim zapisywane");
    EXPECT_EQ(Messages()[1], "Błąd zapisu pliku " + File("brak/katalogu.cc"));
    EXPECT_TRUE(std::filesystem::is_directory(File("zajety.cc")));
}

// The server's open shapefile names the file; with INI on, opening reads it whatever the
// load's result.
TEST_F(FileSettingsTest, TheServerReadsTheFileOfItsShapefile) {
    TKWZArcView server;
    EXPECT_FALSE(WriteFileSettings(server));  // no shapefile yet
    boxes->ClearMessages();
    Write("drogi.cc", "[General]\nPoint=1444\n");
    const KwzHandle name = StrToGlobal(File("drogi.shp"));
    ConversionSettings.INI = false;
    EXPECT_EQ(server.OpenFile(name), 255);
    EXPECT_EQ(ConversionSettings.Point, 1000);
    ConversionSettings.INI = true;
    EXPECT_EQ(server.OpenFile(name), 255);
    EXPECT_EQ(ConversionSettings.Point, 1444);
    ConversionSettings.Point = 1555;
    EXPECT_TRUE(WriteFileSettings(server));
    EXPECT_NE(Read("drogi.cc").find("Point=1555"), std::string::npos);
    platform::GlobalFree(name);
}

}  // namespace
