#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "SettingsFixture.h"
#include "plugin/ConversionSettings.h"
#include "plugin/UConfigConv.h"

namespace {

using ConfigConvDialogTest = SettingsTest;
constexpr std::string_view kKey = kConversionRegistryKey;

void Queue(platform::HeadlessForms* ui, std::function<void(TFConfConv&)> script) {
    ui->QueueForm<TFConfConv>(std::move(script));
}

TEST_F(ConfigConvDialogTest, ShowsTheStoredSettingsOnTheFirstTab) {
    PutDword(kKey, "5XXX", 0);
    PutDword(kKey, "Arc", 4321);
    PutDword(kKey, "BTA", 1);
    PutString(kKey, "PlikSym", "D:\\znaki.sym");
    bool seen = false;
    Queue(ui, [&](TFConfConv& f) {
        seen = true;
        EXPECT_EQ(f.PageControl1.ActivePage(), &f.TabSheet1);
        EXPECT_EQ(f.RadioGroup1.ItemIndex(), 0);
        EXPECT_EQ(f.RadioGroup3.ItemIndex(), 0);  // 4XXX of 1 on the single item
        EXPECT_EQ(f.RadioGroup4.ItemIndex(), 0);
        EXPECT_EQ(f.MaskEdit1.Text, "1000");
        EXPECT_EQ(f.MaskEdit2.Text, "4321");
        EXPECT_EQ(f.MaskEdit3.Text, "5100");
        EXPECT_EQ(f.MaskEdit4.Text, "4100");
        EXPECT_TRUE(f.CheckBox1.Checked);
        EXPECT_TRUE(f.CheckBox2.Checked);
        EXPECT_TRUE(f.CheckBox3.Checked);
        EXPECT_TRUE(f.CheckBox8.Checked);
        EXPECT_FALSE(f.CheckBox8.Click());  // disabled
        EXPECT_FALSE(f.CheckBox7.Checked);
        EXPECT_EQ(f.SYMNAME.Text, "D:\\znaki.sym");
        EXPECT_FALSE(f.SYMNAME.Type("x"));  // read-only
        EXPECT_EQ(f.RadioGroup5.SelectedText(), "Windows 1250");
        f.Button2.Click();
    });
    EXPECT_FALSE(EditConversionSettings());
    EXPECT_TRUE(seen);
    ASSERT_EQ(ui->Forms().size(), 1u);
    EXPECT_EQ(ui->Forms()[0].caption, "Konfiguracja konwersji");
    EXPECT_EQ(ui->Forms()[0].result, platform::mrCancel);
}

TEST_F(ConfigConvDialogTest, OkStoresEveryControlAndSaves) {
    PutDword(kKey, "4XXX", 1);
    Queue(ui, [](TFConfConv& f) {
        f.RadioGroup1.Select(1);
        f.RadioGroup2.Select(1);
        f.RadioGroup4.Select(0);
        f.CheckBox3.Click();  // KNW off
        f.CheckBox1.Click();  // ATB off
        ASSERT_TRUE(f.PageControl1.SelectPage(f.TabSheet2));
        f.MaskEdit1.Type("1500");
        f.MaskEdit3.Type("5200");
        f.CheckBox2.Click();  // BTA on
        f.CheckBox9.Click();  // RozbijajArc on
        f.CheckBox10.Click();
        f.RadioGroup5.Select(1);  // Latin 2
        f.CheckBox7.Click();
        f.Button1.Click();
    });
    EXPECT_TRUE(EditConversionSettings());
    EXPECT_EQ(ui->Forms().back().result, platform::mrOk);
    EXPECT_TRUE(Messages().empty());

    ConversionSettings = TConversionSettings{};
    LoadConversionSettings();
    const TConversionSettings& s = ConversionSettings;
    EXPECT_EQ(s._2XXX, 1);
    EXPECT_EQ(s._3XXX, 1);
    EXPECT_EQ(GetDword(kKey, "4XXX"), 0u);  // the group's one item, "Arc", is item 0
    EXPECT_EQ(s._5XXX, 0);
    EXPECT_FALSE(s.KNW);
    EXPECT_FALSE(s.ATB);
    EXPECT_EQ(s.Point, 1500);
    EXPECT_EQ(s.Arc, 4100);
    EXPECT_EQ(s.Polygon, 5200);
    EXPECT_TRUE(s.BTA);
    EXPECT_TRUE(s.RozbijajArc);
    EXPECT_TRUE(s.NazwaPlikuSHPMAP);
    EXPECT_TRUE(s.KorzystajZSym);
    EXPECT_EQ(s.PLKODY, 2);
}

TEST_F(ConfigConvDialogTest, CodePagesMapToRadioItemsAndBack) {
    struct Case {
        std::uint32_t stored;
        int item;
        std::int32_t saved;
    };
    for (const Case c : {Case{5, 0, 5}, Case{2, 1, 2}, Case{3, 2, 3}, Case{6, 3, 6}, Case{1, 2, 3},
                         Case{4, 2, 3}}) {
        PutDword(kKey, "PLKODY", c.stored);
        int shown = -2;
        Queue(ui, [&](TFConfConv& f) {
            shown = f.RadioGroup5.ItemIndex();
            f.PressEnter();
        });
        EXPECT_TRUE(EditConversionSettings());
        EXPECT_EQ(shown, c.item) << c.stored;
        EXPECT_EQ(GetDword(kKey, "PLKODY"), static_cast<std::uint32_t>(c.saved)) << c.stored;
    }
}

TEST_F(ConfigConvDialogTest, IncompleteCodeIsReportedAndTheRestIsStillSaved) {
    PutDword(kKey, "Arc", 4200);
    PutDword(kKey, "Polygon", 5300);
    PutDword(kKey, "Multipoint", 4400);
    Queue(ui, [](TFConfConv& f) {
        f.PageControl1.SelectPage(f.TabSheet2);
        f.MaskEdit1.Type("1777");
        f.MaskEdit2.Type("4");  // "4   ": no whole number
        f.MaskEdit3.Type("5999");
        f.MaskEdit4.Type("4999");
        f.CheckBox6.Click();  // INI on
        f.Button1.Click();
    });
    EXPECT_TRUE(EditConversionSettings());
    ASSERT_EQ(Messages(), std::vector<std::string>{"Błąd danych !"});
    EXPECT_EQ(GetDword(kKey, "Point"), 1777u);
    EXPECT_EQ(GetDword(kKey, "Arc"), 4200u);
    EXPECT_EQ(GetDword(kKey, "Polygon"), 5300u);
    EXPECT_EQ(GetDword(kKey, "Multipoint"), 4400u);
    EXPECT_EQ(GetDword(kKey, "INI"), 1u);
    EXPECT_EQ(ConversionSettings.Arc, 4200);
    EXPECT_TRUE(ConversionSettings.INI);
}

TEST_F(ConfigConvDialogTest, CancelKeepsTheReloadedRegistryValues) {
    PutDword(kKey, "BTA", 0);
    LoadConversionSettings();
    ConversionSettings.BTA = true;  // as a per-file settings file or a conversion would
    ConversionSettings.Point = 1900;
    Queue(ui, [](TFConfConv& f) {
        f.CheckBox3.Click();
        f.PressEscape();
    });
    EXPECT_FALSE(EditConversionSettings());
    EXPECT_FALSE(ConversionSettings.BTA);
    EXPECT_EQ(ConversionSettings.Point, 1000);
    EXPECT_TRUE(ConversionSettings.KNW);
    EXPECT_FALSE(GetDword(kKey, "KNW").has_value());  // nothing saved
}

TEST_F(ConfigConvDialogTest, ClosingWithoutAUserStoresNothing) {
    EXPECT_FALSE(EditConversionSettings());
    EXPECT_EQ(ui->Forms().back().result, platform::mrCancel);
    EXPECT_FALSE(GetDword(kKey, "KNW").has_value());
}

TEST_F(ConfigConvDialogTest, BrowsingForTheSymbolFile) {
    PutString(kKey, "PlikSym", "/mapy/stare.sym");
    Queue(ui, [this](TFConfConv& f) {
        ASSERT_TRUE(f.PageControl1.SelectPage(f.TabSheet3));
        ui->QueueFiles({"/mapy/nowe"});
        ASSERT_TRUE(f.SYMFind.Click());
        EXPECT_EQ(f.SYMNAME.Text, "/mapy/nowe.sym");
        ui->QueueFileDialogCancel();
        f.SYMFind.Click();
        EXPECT_EQ(f.SYMNAME.Text, "/mapy/nowe.sym");
        f.Button1.Click();
    });
    EXPECT_TRUE(EditConversionSettings());
    ASSERT_EQ(ui->FileDialogs().size(), 2u);
    const auto& first = ui->FileDialogs()[0];
    EXPECT_EQ(first.title, "Wybierz plik z symbolami TOPOLIN");
    EXPECT_EQ(first.filter, "Symbole TOPOLIN|*.sym");
    EXPECT_EQ(first.fileName, "/mapy/stare.sym");
    EXPECT_EQ(ui->FileDialogs()[1].fileName, "/mapy/nowe.sym");
    EXPECT_EQ(GetString(kKey, "PlikSym"), "/mapy/nowe.sym");
}

TEST_F(ConfigConvDialogTest, EmptySymbolNameOffersTheDefaultFile) {
    Queue(ui, [this](TFConfConv& f) {
        f.PageControl1.SelectPage(f.TabSheet3);
        ui->QueueFileDialogCancel();
        f.SYMFind.Click();
        f.Button2.Click();
    });
    EditConversionSettings();
    ASSERT_EQ(ui->FileDialogs().size(), 1u);
    EXPECT_EQ(ui->FileDialogs()[0].fileName, "TOPOLIN.SYM");
}

TEST_F(ConfigConvDialogTest, FailedSaveIsReportedNotTakenAsDone) {
    const std::string garbage = "no registry here\n";
    WriteRegistryText(garbage);
    Queue(ui, [](TFConfConv& f) { f.Button1.Click(); });
    EXPECT_FALSE(EditConversionSettings());
    EXPECT_EQ(Messages(), std::vector<std::string>{"Błąd zapisu ustawień w rejestrze !"});
    EXPECT_EQ(RegistryText(), garbage);
}

}  // namespace
