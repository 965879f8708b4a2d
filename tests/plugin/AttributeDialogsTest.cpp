#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "SettingsFixture.h"
#include "plugin/AttributeChoice.h"
#include "plugin/UATB.h"
#include "plugin/UBTA.h"

namespace {

constexpr std::string_view kKey = kAttributeRegistryKey;

// ---- the field choice of the export

using AtbDialogTest = SettingsTest;

TEST_F(AtbDialogTest, ShowsTheStoredChoiceAndOkSavesTheTickedBoxes) {
    PutDword(kKey, "A2", 0);
    PutDword(kKey, "KEM", 0);
    ui->QueueForm<TFATB>([](TFATB& f) {
        EXPECT_TRUE(f.CheckBox10.Checked);
        EXPECT_FALSE(f.CheckBox2.Checked);
        EXPECT_FALSE(f.CheckBox9.Checked);
        EXPECT_TRUE(f.FA.Checked);
        f.CheckBox2.Click();   // A2 on
        f.CheckBox10.Click();  // KOD off
        f.MP.Click();          // MP off
        f.PressEnter();
    });
    EXPECT_TRUE(EditAttributesToDbf());
    EXPECT_EQ(ui->Forms().back().caption, Cp("Zapis atrybutów do pliku DBF"));
    EXPECT_EQ(GetDword(kKey, "A2"), 1u);
    EXPECT_EQ(GetDword(kKey, "KOD"), 0u);
    EXPECT_EQ(GetDword(kKey, "MP"), 0u);
    EXPECT_EQ(GetDword(kKey, "KEM"), 0u);
    EXPECT_EQ(GetDword(kKey, "DATA"), 1u);
    EXPECT_FALSE(DbfAttributeChoice.KOD);
    EXPECT_TRUE(DbfAttributeChoice.A2);
}

TEST_F(AtbDialogTest, CancelChangesNothing) {
    PutDword(kKey, "A1", 0);
    ui->QueueForm<TFATB>([](TFATB& f) {
        f.CheckBox1.Click();
        f.CheckBox7.Click();
        f.Button2.Click();
    });
    EXPECT_FALSE(EditAttributesToDbf());
    EXPECT_FALSE(DbfAttributeChoice.A1);
    EXPECT_TRUE(DbfAttributeChoice.TXT);
    EXPECT_EQ(GetDword(kKey, "A1"), 0u);
    EXPECT_FALSE(GetDword(kKey, "TXT").has_value());
}

TEST_F(AtbDialogTest, FailedSaveIsReported) {
    WriteRegistryText("garbage\n");
    ui->QueueForm<TFATB>([](TFATB& f) { f.Button1.Click(); });
    EXPECT_FALSE(EditAttributesToDbf());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Błąd zapisu ustawień w rejestrze !"});
    EXPECT_EQ(RegistryText(), "garbage\n");
}

// ---- the pairing of dBase fields with attribute slots

class BtaDialogTest : public SettingsTest {
  protected:
    void SetUp() override {
        SettingsTest::SetUp();
        InitAttributeSlots();
    }
    void Queue(std::function<void(TFBTA&)> script) { ui->QueueForm<TFBTA>(std::move(script)); }
    static void Pair(TFBTA& f, int field, int slot) {
        ASSERT_TRUE(f.ListBox1.ClickItem(field));
        ASSERT_TRUE(f.ListBox2.ClickItem(slot));
        ASSERT_TRUE(f.Button3.Click());
    }
    static std::vector<std::string> Slots() {
        std::vector<std::string> fields;
        for (const auto& slot : AttributeSlots) fields.push_back(slot.DBF.Str());
        return fields;
    }
    static std::vector<std::string> Fields(std::vector<std::pair<int, std::string>> set) {
        std::vector<std::string> fields(kAttributeSlotCount);
        for (auto& [slot, name] : set) fields[static_cast<std::size_t>(slot)] = name;
        return fields;
    }
    const std::vector<std::string> table_ = {"NAZWA", "OPIS", "TPID", "tpid", "DATA"};
};

TEST_F(BtaDialogTest, StartsWithFieldsSlotsAndNoPairs) {
    AttributeSlots[0].DBF = "STARE";
    LinkSettings.TXTLink = true;
    Queue([](TFBTA& f) {
        EXPECT_EQ(f.ListBox1.Items(),
                  (std::vector<std::string>{"NAZWA", "OPIS", "TPID", "tpid", "DATA"}));
        EXPECT_EQ(f.ListBox2.Count(), 11);
        EXPECT_EQ(f.ListBox2.Items()[6], "Uwagi");
        EXPECT_EQ(f.ListBox1.ItemIndex(), 0);
        EXPECT_EQ(f.ListBox2.ItemIndex(), 0);
        EXPECT_EQ(f.ListBox3.Count(), 0);
        EXPECT_TRUE(f.CheckBox1.Checked);
        EXPECT_EQ(Slots(), Fields({}));  // earlier pairs are forgotten
        f.CheckBox1.Click();
        f.Button1.Click();
    });
    EXPECT_TRUE(EditDbfToAttributes(table_));
    EXPECT_EQ(ui->Forms().back().caption, Cp("Przepisywanie pól DBF do atrybutów"));
    EXPECT_FALSE(LinkSettings.TXTLink);
}

TEST_F(BtaDialogTest, PairingASlotAgainReplacesItsPair) {
    Queue([](TFBTA& f) {
        Pair(f, 0, 1);  // NAZWA >>> Atrybut 2
        Pair(f, 1, 1);  // OPIS >>> Atrybut 2
        EXPECT_EQ(f.ListBox3.Items(), std::vector<std::string>{"OPIS >>> Atrybut 2"});
        f.Button1.Click();
    });
    EXPECT_TRUE(EditDbfToAttributes(table_));
    EXPECT_EQ(Slots(), Fields({{1, "OPIS"}}));
}

TEST_F(BtaDialogTest, RemovingAPairFreesItsSlotOnly) {
    Queue([](TFBTA& f) {
        Pair(f, 0, 0);
        Pair(f, 1, 7);      // OPIS >>> DATA
        Pair(f, 4, 3);      // DATA >>> Atrybut 4
        f.Button4.Click();  // no pair selected: nothing removed
        ASSERT_EQ(f.ListBox3.Count(), 3);
        ASSERT_TRUE(f.ListBox3.ClickItem(1));
        f.Button4.Click();
        EXPECT_EQ(f.ListBox3.Items(),
                  (std::vector<std::string>{"NAZWA >>> Atrybut 1", "DATA >>> Atrybut 4"}));
        EXPECT_EQ(Slots(), Fields({{0, "NAZWA"}, {3, "DATA"}}));
        f.Button1.Click();
    });
    EXPECT_TRUE(EditDbfToAttributes(table_));
    EXPECT_EQ(Slots(), Fields({{0, "NAZWA"}, {3, "DATA"}}));
}

// A field named like a slot's label must not be taken for that slot's pair.
TEST_F(BtaDialogTest, FieldNamedLikeALabelKeepsItsPair) {
    Queue([](TFBTA& f) {
        Pair(f, 4, 6);  // DATA >>> Uwagi
        Pair(f, 0, 7);  // NAZWA >>> DATA
        EXPECT_EQ(f.ListBox3.Items(),
                  (std::vector<std::string>{"DATA >>> Uwagi", "NAZWA >>> DATA"}));
        Pair(f, 1, 7);  // OPIS >>> DATA replaces NAZWA >>> DATA only
        EXPECT_EQ(f.ListBox3.Items(),
                  (std::vector<std::string>{"DATA >>> Uwagi", "OPIS >>> DATA"}));
        f.ListBox3.ClickItem(1);
        f.Button4.Click();
        EXPECT_EQ(f.ListBox3.Items(), std::vector<std::string>{"DATA >>> Uwagi"});
        f.Button1.Click();
    });
    EXPECT_TRUE(EditDbfToAttributes(table_));
    EXPECT_EQ(Slots(), Fields({{6, "DATA"}}));
}

TEST_F(BtaDialogTest, PairingNeedsAFieldAndASlot) {
    Queue([](TFBTA& f) {
        EXPECT_TRUE(f.Button3.Click());  // no fields: nothing to pair
        EXPECT_EQ(f.ListBox3.Count(), 0);
        f.Button1.Click();
    });
    EXPECT_TRUE(EditDbfToAttributes({}));
    EXPECT_EQ(Slots(), Fields({}));
}

TEST_F(BtaDialogTest, TpidInAnAAttributeWithTheLinkCloses) {
    Queue([](TFBTA& f) {
        Pair(f, 2, 4);  // TPID >>> Atrybut 5
        f.CheckBox1.Click();
        f.Button1.Click();
    });
    EXPECT_TRUE(EditDbfToAttributes(table_));
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(LinkSettings.TXTLink);
    EXPECT_EQ(LinkSettings.ATR, 12);
    EXPECT_EQ(LinkSettings.TPIDID, 5);
    EXPECT_EQ(AttributeSlots[4].DBF.Str(), "TPID");
}

TEST_F(BtaDialogTest, LinkWithoutTpidPairKeepsTheDialogOpenForOkAndCancel) {
    const std::string onlyA = "Pole TPID może by umieszczone tylko w atrybutach A1 do A6";
    Queue([&](TFBTA& f) {
        f.CheckBox1.Click();
        Pair(f, 2, 6);  // TPID >>> Uwagi does not count
        f.Button1.Click();
        EXPECT_TRUE(f.Showing());
        f.Button2.Click();
        EXPECT_TRUE(f.Showing());
        EXPECT_EQ(Messages(), (std::vector<std::string>{onlyA, onlyA}));
        f.CheckBox1.Click();  // the link off: now they agree
        f.Button2.Click();
        EXPECT_FALSE(f.Showing());
    });
    EXPECT_FALSE(EditDbfToAttributes(table_));
    EXPECT_EQ(ui->Forms().back().result, platform::mrCancel);
    EXPECT_FALSE(ui->Forms().back().abandoned);
    EXPECT_EQ(Slots(), Fields({}));  // cancelled: no slot keeps a field
    EXPECT_FALSE(LinkSettings.TXTLink);
}

TEST_F(BtaDialogTest, TpidPairWithoutTheLinkKeepsTheDialogOpen) {
    Queue([&](TFBTA& f) {
        Pair(f, 2, 0);  // TPID >>> Atrybut 1
        f.Button1.Click();
        EXPECT_TRUE(f.Showing());
        EXPECT_EQ(Messages(), std::vector<std::string>{
                                  "Pole TPID nie może by przepisywane jesli nie wlaczono linku "
                                  "w TXT"});
        Pair(f, 3, 0);  // "tpid" replaces it and is no TPID
        f.Button1.Click();
    });
    EXPECT_TRUE(EditDbfToAttributes(table_));
    EXPECT_EQ(Slots(), Fields({{0, "tpid"}}));
    EXPECT_EQ(LinkSettings.TPIDID, 0);
}

TEST_F(BtaDialogTest, ARefusedCloseToTheEndIsACancel) {
    LinkSettings.TXTLink = true;  // the check box starts ticked, no pair: every close refused
    Queue([](TFBTA& f) {
        Pair(f, 0, 0);
        f.Button1.Click();
    });
    EXPECT_FALSE(EditDbfToAttributes(table_));
    EXPECT_TRUE(ui->Forms().back().abandoned);
    EXPECT_EQ(Slots(), Fields({}));
    EXPECT_TRUE(LinkSettings.TXTLink);
}

}  // namespace
