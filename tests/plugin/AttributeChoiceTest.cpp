#include "plugin/AttributeChoice.h"

#include <gtest/gtest.h>

#include <string>

#include "SettingsFixture.h"
#include "plugin/ConversionSettings.h"
#include "plugin/SettingsUnits.h"

namespace {

using AttributeChoiceTest = SettingsTest;
constexpr std::string_view kKey = kAttributeRegistryKey;

std::vector<bool> Choices() {
    std::vector<bool> values;
    for (const auto& f : kDbfAttributeFields) values.push_back(DbfAttributeChoice.*f.field);
    return values;
}

TEST_F(AttributeChoiceTest, CleanRegistryChoosesEverything) {
    LoadDbfAttributeChoice();
    EXPECT_EQ(Choices(), std::vector<bool>(12, true));
    platform::RegistryKey key;
    EXPECT_TRUE(key.OpenKey(kKey, false));
}

TEST_F(AttributeChoiceTest, RoundTripAndWrongTypes) {
    LoadDbfAttributeChoice();
    DbfAttributeChoice.KOD = false;
    DbfAttributeChoice.A3 = false;
    DbfAttributeChoice.FA = false;
    ASSERT_TRUE(SaveDbfAttributeChoice());
    EXPECT_EQ(GetDword(kKey, "KOD"), 0u);
    EXPECT_EQ(GetDword(kKey, "TXT"), 1u);
    EXPECT_EQ(GetDword(kKey, "FA"), 0u);

    DbfAttributeChoice = TDbfAttributeChoice{};
    PutString(kKey, "A3", "0");  // not a DWORD: true
    PutDword(kKey, "DATA", 2);   // non-zero: true
    LoadDbfAttributeChoice();
    std::vector<bool> expected(12, true);
    expected[0] = false;   // KOD
    expected[11] = false;  // FA
    EXPECT_EQ(Choices(), expected);
}

TEST_F(AttributeChoiceTest, UnreadableRegistryChoosesEverythingAndIsKept) {
    const std::string garbage = "[broken\n";
    WriteRegistryText(garbage);
    LoadDbfAttributeChoice();
    EXPECT_EQ(Choices(), std::vector<bool>(12, true));
    EXPECT_FALSE(SaveDbfAttributeChoice());
    EXPECT_EQ(RegistryText(), garbage);
}

TEST_F(AttributeChoiceTest, SlotsStartWithTheirAttributesAndLabels) {
    AttributeSlots[3].DBF = "STARE";
    LinkSettings.TXTLink = true;
    LinkSettings.KOD = "5000";
    InitAttributeSlots();
    const std::vector<std::pair<int, std::string>> expected = {
        {1, "Atrybut 1"},  {2, "Atrybut 2"},         {3, "Atrybut 3"},  {11, "Atrybut 4"},
        {12, "Atrybut 5"}, {13, "Atrybut 6"},        {4, "Uwagi"},      {6, "DATA"},
        {5, "KEM"},        {7, "Metoda pozyskania"}, {8, "Wypelnienie"}};
    for (std::size_t i = 0; i < kAttributeSlotCount; ++i) {
        EXPECT_EQ(AttributeSlots[i].NR, expected[i].first) << i;
        EXPECT_EQ(AttributeSlots[i].Label.Str(), expected[i].second) << i;
        EXPECT_TRUE(AttributeSlots[i].DBF.Empty()) << i;
    }
    EXPECT_TRUE(LinkSettings.KOD.Empty());
    EXPECT_EQ(LinkSettings.ATR, 0);
    EXPECT_EQ(LinkSettings.TPIDID, 0);
    EXPECT_FALSE(LinkSettings.TXTLink);
}

TEST_F(AttributeChoiceTest, LinkAttributeFromTheFirstTpidSlotOfAnAAttribute) {
    InitAttributeSlots();
    LinkSettings.ATR = 99;
    LinkSettings.TPIDID = 99;
    FindLinkAttribute();
    EXPECT_EQ(LinkSettings.ATR, 0);
    EXPECT_EQ(LinkSettings.TPIDID, 0);

    AttributeSlots[6].DBF = "TPID";  // Uwagi: passed over
    FindLinkAttribute();
    EXPECT_EQ(LinkSettings.ATR, 0);
    EXPECT_EQ(LinkSettings.TPIDID, 0);

    AttributeSlots[1].DBF = "tpid";  // another case does not count
    AttributeSlots[4].DBF = "TPID";  // Atrybut 5
    FindLinkAttribute();
    EXPECT_EQ(LinkSettings.ATR, 12);
    EXPECT_EQ(LinkSettings.TPIDID, 5);

    AttributeSlots[2].DBF = "TPID";  // Atrybut 3 comes first
    FindLinkAttribute();
    EXPECT_EQ(LinkSettings.ATR, 3);
    EXPECT_EQ(LinkSettings.TPIDID, 3);

    AttributeSlots[2].DBF = "TPID ";
    AttributeSlots[4].DBF.Clear();
    AttributeSlots[5].DBF = "TPID";  // Atrybut 6
    FindLinkAttribute();
    EXPECT_EQ(LinkSettings.ATR, 13);
    EXPECT_EQ(LinkSettings.TPIDID, 6);
}

TEST_F(AttributeChoiceTest, LibraryStartLoadsEverythingAndShutDownClearsIt) {
    PutDword(kConversionRegistryKey, "Point", 1234);
    PutDword(kKey, "MP", 0);
    InitializeSettingsUnits();
    EXPECT_EQ(ConversionSettings.Point, 1234);
    EXPECT_EQ(ConversionSettings.Arc, 4100);
    EXPECT_FALSE(DbfAttributeChoice.MP);
    EXPECT_TRUE(DbfAttributeChoice.KOD);
    EXPECT_EQ(AttributeSlots[10].NR, 8);
    EXPECT_TRUE(Messages().empty());

    FinalizeSettingsUnits();
    EXPECT_EQ(ConversionSettings.Point, 0);
    EXPECT_FALSE(DbfAttributeChoice.KOD);
    EXPECT_EQ(AttributeSlots[10].NR, 0);
}

TEST_F(AttributeChoiceTest, LibraryStartWithAnUnreadableRegistryUsesDefaults) {
    WriteRegistryText("garbage");
    InitializeSettingsUnits();
    EXPECT_EQ(ConversionSettings.Polygon, 5100);
    EXPECT_TRUE(ConversionSettings.KNW);
    EXPECT_TRUE(DbfAttributeChoice.FA);
    EXPECT_EQ(AttributeSlots[0].Label.Str(), "Atrybut 1");
    EXPECT_EQ(RegistryText(), "garbage");
}

}  // namespace
