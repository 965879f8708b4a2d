#include "plugin/ConversionSettings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SettingsFixture.h"

namespace {

using ConversionSettingsTest = SettingsTest;
constexpr std::string_view kKey = kConversionRegistryKey;

void ExpectDefaults(const TConversionSettings& s) {
    EXPECT_EQ(s._2XXX, 0);
    EXPECT_EQ(s._3XXX, 0);
    EXPECT_EQ(s._4XXX, 1);
    EXPECT_EQ(s._5XXX, 1);
    EXPECT_TRUE(s.ATB);
    EXPECT_EQ(s.Point, 1000);
    EXPECT_EQ(s.Arc, 4100);
    EXPECT_EQ(s.Polygon, 5100);
    EXPECT_EQ(s.Multipoint, 4100);
    EXPECT_FALSE(s.BTA);
    EXPECT_TRUE(s.KNW);
    EXPECT_TRUE(s.U45);
    EXPECT_TRUE(s.Z54);
    EXPECT_TRUE(s.DomykacPoligon);
    EXPECT_EQ(s.PLKODY, 3);
    EXPECT_FALSE(s.INI);
    EXPECT_FALSE(s.RozbijajArc);
    EXPECT_FALSE(s.NazwaPlikuSHPMAP);
    EXPECT_FALSE(s.KorzystajZSym);
    EXPECT_EQ(s.PlikSym.Str(), "");
}

TEST_F(ConversionSettingsTest, CleanRegistryGivesDefaultsAndCreatesTheKey) {
    LoadConversionSettings();
    ExpectDefaults(ConversionSettings);
    platform::RegistryKey key;
    EXPECT_TRUE(key.OpenKey(kKey, false));
    EXPECT_FALSE(key.ValueExists("KNW"));  // loading writes no values
}

TEST_F(ConversionSettingsTest, SaveAndLoadRoundTrip) {
    LoadConversionSettings();
    TConversionSettings& s = ConversionSettings;
    s._2XXX = 1;
    s._3XXX = 1;
    s._4XXX = 0;
    s._5XXX = 0;
    s.ATB = false;
    s.Point = 1234;
    s.Arc = 4999;
    s.Polygon = 5000;
    s.Multipoint = 4000;
    s.BTA = true;
    s.KNW = false;
    s.U45 = false;
    s.Z54 = false;
    s.PLKODY = 6;
    s.INI = true;
    s.RozbijajArc = true;
    s.NazwaPlikuSHPMAP = true;
    s.KorzystajZSym = true;
    s.PlikSym = Cp("C:\\mapy\\znaki ąę.sym");
    const TConversionSettings saved = s;
    ASSERT_TRUE(SaveConversionSettings());

    ConversionSettings = TConversionSettings{};
    LoadConversionSettings();
    EXPECT_EQ(std::memcmp(&ConversionSettings, &saved, sizeof saved), 0);

    // Every field is its own value under the field's name; Booleans are 1 or 0.
    EXPECT_EQ(GetDword(kKey, "2XXX"), 1u);
    EXPECT_EQ(GetDword(kKey, "Multipoint"), 4000u);
    EXPECT_EQ(GetDword(kKey, "BTA"), 1u);
    EXPECT_EQ(GetDword(kKey, "KNW"), 0u);
    EXPECT_EQ(GetDword(kKey, "DomykacPoligon"), 1u);
    EXPECT_EQ(GetString(kKey, "PlikSym"), Cp("C:\\mapy\\znaki ąę.sym"));
}

TEST_F(ConversionSettingsTest, CodesOutOfRangeGiveTheirDefaults) {
    PutDword(kKey, "Polygon", 5300);
    PutDword(kKey, "Point", 2000);
    PutDword(kKey, "Arc", 3999);
    PutDword(kKey, "Multipoint", 0xFFFFFFFFu);  // -1
    LoadConversionSettings();
    EXPECT_EQ(ConversionSettings.Polygon, 5300);
    EXPECT_EQ(ConversionSettings.Point, 1000);
    EXPECT_EQ(ConversionSettings.Arc, 4100);
    EXPECT_EQ(ConversionSettings.Multipoint, 4100);

    PutDword(kKey, "Polygon", 6100);
    PutDword(kKey, "Point", 1999);
    PutDword(kKey, "Arc", 4000);
    PutDword(kKey, "Multipoint", 4999);
    LoadConversionSettings();
    EXPECT_EQ(ConversionSettings.Polygon, 5100);
    EXPECT_EQ(ConversionSettings.Point, 1999);
    EXPECT_EQ(ConversionSettings.Arc, 4000);
    EXPECT_EQ(ConversionSettings.Multipoint, 4999);
}

TEST_F(ConversionSettingsTest, CodePageOutsideTheTableGivesWindows1250) {
    for (std::uint32_t page : {1u, 4u, 6u}) {
        PutDword(kKey, "PLKODY", page);
        LoadConversionSettings();
        EXPECT_EQ(ConversionSettings.PLKODY, static_cast<std::int32_t>(page));
    }
    for (std::uint32_t page : {0u, 7u, 0x80000000u}) {
        PutDword(kKey, "PLKODY", page);
        LoadConversionSettings();
        EXPECT_EQ(ConversionSettings.PLKODY, 3) << page;
    }
}

TEST_F(ConversionSettingsTest, FlagsReadAnyNonZeroAsTrueAndClosingPolygonsIsForced) {
    PutDword(kKey, "BTA", 7);
    PutDword(kKey, "KNW", 0);
    PutDword(kKey, "DomykacPoligon", 0);
    PutDword(kKey, "2XXX", 5);  // no range: kept as stored
    LoadConversionSettings();
    EXPECT_TRUE(ConversionSettings.BTA);
    EXPECT_FALSE(ConversionSettings.KNW);
    EXPECT_TRUE(ConversionSettings.DomykacPoligon);
    EXPECT_EQ(ConversionSettings._2XXX, 5);
}

TEST_F(ConversionSettingsTest, ValuesOfTheWrongTypeGiveDefaults) {
    PutString(kKey, "KNW", "0");
    PutString(kKey, "Point", "1500");
    PutString(kKey, "PLKODY", "2");
    PutDword(kKey, "PlikSym", 1);
    LoadConversionSettings();
    EXPECT_TRUE(ConversionSettings.KNW);
    EXPECT_EQ(ConversionSettings.Point, 1000);
    EXPECT_EQ(ConversionSettings.PLKODY, 3);
    EXPECT_EQ(ConversionSettings.PlikSym.Str(), "TOPOLIN.SYM");
}

TEST_F(ConversionSettingsTest, SymbolFileNameIsCutTo255) {
    PutString(kKey, "PlikSym", std::string(300, 'x'));
    LoadConversionSettings();
    EXPECT_EQ(ConversionSettings.PlikSym.Str(), std::string(255, 'x'));
    PutString(kKey, "PlikSym", "");
    LoadConversionSettings();
    EXPECT_EQ(ConversionSettings.PlikSym.Str(), "");
}

TEST_F(ConversionSettingsTest, UnreadableRegistryGivesDefaultsAndIsNotOverwritten) {
    const std::string garbage = "this is no registry file\r\nKNW=0\r\n";
    WriteRegistryText(garbage);
    ConversionSettings.Point = 1500;
    LoadConversionSettings();
    ExpectDefaults(ConversionSettings);
    EXPECT_FALSE(SaveConversionSettings());
    EXPECT_EQ(RegistryText(), garbage);
}

TEST(PackedShortStringTest, CutsAndClearsTheRestOfTheRoom) {
    PackedShortString<4> s;
    s = "abcdef";
    EXPECT_EQ(s.Str(), "abcd");
    s = "xy";
    EXPECT_EQ(s.length, 2);
    EXPECT_EQ(s.data[2], '\0');
    EXPECT_EQ(s.data[3], '\0');
    s.Clear();
    EXPECT_TRUE(s.Empty());
}

}  // namespace
