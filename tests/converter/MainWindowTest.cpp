// The toolbar's actions, driven as a user drives them: buttons pressed, files chosen in the
// scripted dialogs, the fake library recording what the window asked of it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ConverterFixture.h"
#include "converter/AboutFormUMRA.h"
#include "converter/Form1.h"
#include "platform/FileDialog.h"

namespace {

class MainWindowTest : public ConverterTest {
  protected:
    void SetUp() override {
        ConverterTest::SetUp();
        app = Start({});
        window = &app->Form1();
        window->Show();
    }
    void TearDown() override {
        EXPECT_EQ(window->FServer(), nullptr);
        window->Hide();
        app.reset();
        ConverterTest::TearDown();
    }

    // A file in the scratch folder, created.
    std::string File(const std::string& name) {
        WriteFileBytes(scratch.Path(name), "x");
        return scratch.Path(name);
    }

    std::unique_ptr<PontraApplication> app;
    TForm1* window = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, MapToShpWithOneFileExportsWhereTheLibraryDecides) {
    const std::string map = File("a.map");
    forms->QueueFiles({map});
    EXPECT_TRUE(window->ToolButton2.Click());
    EXPECT_EQ(CallsAfterLoad(),
              (Lines{"new|1", "1|14|LoadMap|" + map, "1|12|ExportMap", "delete|1"}));
    ASSERT_EQ(forms->FileDialogs().size(), 1u);
    const auto& dialog = forms->FileDialogs()[0];
    EXPECT_EQ(dialog.kind, platform::FileDialog::Kind::Open);
    EXPECT_EQ(dialog.filter, "TOPOLIN (*.map)|*.map");
    EXPECT_EQ(dialog.options, platform::ofAllowMultiSelect | platform::ofPathMustExist |
                                  platform::ofFileMustExist | platform::ofEnableSizing);
}

TEST_F(MainWindowTest, MapToShpWithSeveralFilesWritesEachIntoAFolderNamedAfterIt) {
    const std::string a = File("a.map"), b = File("b.MAP"), c = File("c.map");
    forms->QueueFiles({a, b, c});
    window->ToolButton2.Click();
    Lines expected{"new|1"};
    for (const std::string& map : {a, b, c}) {
        expected.push_back("1|14|LoadMap|" + map);
        expected.push_back("1|13|SetOutputFolder");
        expected.push_back("1|12|ExportMap");
    }
    expected.push_back("delete|1");
    EXPECT_EQ(CallsAfterLoad(), expected);
    EXPECT_EQ(ReadFileBytes(scratch.Path("a/export.txt")), a);
    EXPECT_EQ(ReadFileBytes(scratch.Path("b/export.txt")), b);
    EXPECT_EQ(ReadFileBytes(scratch.Path("c/export.txt")), c);
}

TEST_F(MainWindowTest, CancelledDialogsLeaveNoServerObjectBehind) {
    forms->QueueFileDialogCancel();
    window->ToolButton2.Click();
    EXPECT_EQ(CallsAfterLoad(), (Lines{"new|1", "delete|1"}));

    forms->QueueFileDialogCancel();
    window->ToolButton1.Click();  // SHP -> MAP makes its objects only for chosen files
    const Lines calls = CallsAfterLoad();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2].substr(0, 7), "GetMask");
    EXPECT_EQ(forms->FileDialogs().size(), 2u);
}

TEST_F(MainWindowTest, ShpToMapWithThreeFilesWritesThreeMapsThroughAnObjectEach) {
    const std::string a = File("a.shp"), b = File("b.SHP"), c = File("c.Shp");
    forms->QueueFiles({a, b, c});
    window->ToolButton1.Click();
    ASSERT_EQ(forms->FileDialogs().size(), 1u);
    EXPECT_EQ(forms->FileDialogs()[0].filter, "ArcView Shape (*.shp)|*.shp");
    Lines calls = CallsAfterLoad();
    ASSERT_FALSE(calls.empty());
    calls.erase(calls.begin());  // GetMask
    EXPECT_EQ(calls, (Lines{"new|1", "1|1|OpenFile|" + a,
                            "1|11|SaveAsMap|" + scratch.Path("a.map") + "|0", "delete|1", "new|2",
                            "2|1|OpenFile|" + b, "2|11|SaveAsMap|" + scratch.Path("b.map") + "|0",
                            "delete|2", "new|3", "3|1|OpenFile|" + c,
                            "3|11|SaveAsMap|" + scratch.Path("c.map") + "|0", "delete|3"}));
    for (const char* map : {"a.map", "b.map", "c.map"})
        EXPECT_TRUE(std::filesystem::exists(scratch.Path(map))) << map;
    EXPECT_EQ(window->SaveDialog1.Filter, "TOPOLIN (*.map)|*.map");
    // The mask's handle was the program's to free, and every argument handle was freed.
    for (std::uint32_t handle : ArgumentHandles(RawCalls()))
        EXPECT_EQ(platform::GlobalSize(handle), 0u);
}

TEST_F(MainWindowTest, ShpToMapOffersShapefilesAfreshAfterAMapWasChosen) {
    forms->QueueFiles({File("a.map")});
    window->ToolButton2.Click();
    // A name typed without extension is a shapefile's.
    forms->QueueFiles({scratch.Path("drogi")});
    window->ToolButton1.Click();
    ASSERT_EQ(forms->FileDialogs().size(), 2u);
    EXPECT_EQ(forms->FileDialogs()[1].filter, "ArcView Shape (*.shp)|*.shp");
    EXPECT_EQ(forms->FileDialogs()[1].fileName, "");
    const Lines calls = CallsAfterLoad();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "2|1|OpenFile|" + scratch.Path("drogi.shp")),
              calls.end());
}

TEST_F(MainWindowTest, TheSettingsButtonShowsTheLibrarysSettingsDialog) {
    window->ToolButton3.Click();
    EXPECT_EQ(CallsAfterLoad(), (Lines{"new|1", "1|10|ConfigureConversion", "delete|1"}));
}

TEST_F(MainWindowTest, TheInformationButtonDropsItsMenuThenShowsTheSettings) {
    forms->QueuePopupChoice(0);
    forms->QueueForm<TAboutFormUMRA>([](TAboutFormUMRA& about) {
        EXPECT_EQ(about.Caption, "O programie");
        EXPECT_EQ(about.progname.Caption, "Konwerter ArcView-TOPOLIN");
        EXPECT_EQ(about.wersja.Caption, "wersja 2.0 Free");
        EXPECT_TRUE(about.PressEnter());
    });
    window->ToolButton5.Click();
    ASSERT_EQ(forms->Forms().size(), 1u);
    EXPECT_EQ(forms->Forms()[0].result, platform::mrOk);
    EXPECT_EQ(CallsAfterLoad(), (Lines{"new|1", "1|10|ConfigureConversion", "delete|1"}));

    forms->QueuePopupChoice(-1);  // the menu dismissed: only the settings
    window->ToolButton5.Click();
    EXPECT_EQ(forms->Forms().size(), 1u);
    EXPECT_EQ(CallsAfterLoad().size(), 6u);
}

TEST_F(MainWindowTest, TheCloseButtonAndADoubleClickCloseTheWindow) {
    EXPECT_EQ(window->Caption, "Konwerter SHP<>Topolin");
    window->ToolButton4.Click();
    EXPECT_FALSE(window->Showing());
    window->Show();
    window->DblClick();
    EXPECT_FALSE(window->Showing());
    window->Show();
    EXPECT_TRUE(CallsAfterLoad().empty());
}

namespace {

// The same window over a library that cannot make server objects.
class MainWindowWithoutServerTest : public ConverterTest {
  protected:
    void Check(const std::string& library, const std::string& error) {
        auto app = Start({}, library);
        TForm1& window = app->Form1();
        window.Show();

        window.ToolButton2.Click();
        EXPECT_EQ(MessageTexts(), Lines{error});
        EXPECT_TRUE(forms->FileDialogs().empty());

        window.ToolButton3.Click();
        EXPECT_EQ(MessageTexts().size(), 2u);

        // SHP -> MAP asks first and reports once per chosen file.
        forms->QueueFiles({"/x/a.shp", "/x/b.shp", "/x/c.shp"});
        window.ToolButton1.Click();
        EXPECT_EQ(MessageTexts(), (Lines(5, error)));
        ASSERT_EQ(forms->FileDialogs().size(), 1u);
        EXPECT_EQ(forms->FileDialogs()[0].filter, "");
        EXPECT_EQ(window.FServer(), nullptr);
        window.Hide();
    }
};

}  // namespace

TEST_F(MainWindowWithoutServerTest, AMissingLibraryIsReportedByEachAction) {
    Check(MissingLibrary(), kNoLibraryError);
}

TEST_F(MainWindowWithoutServerTest, AMissingFactoryIsReportedByEachAction) {
    Check(PartialLibrary(), kCreateError);
}
