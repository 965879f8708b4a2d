#include "platform/FileDialog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "HeadlessFormsFixture.h"
#include "platform/ColorDialog.h"
#include "platform/Cursor.h"
#include "platform/FormBackend.h"
#include "platform/UiService.h"

using namespace platform;

using DialogTest = HeadlessFormsTest;
using Names = std::vector<std::string>;

TEST_F(DialogTest, ScriptedOpenDialogReturnsTheChosenFilesAndIsRecorded) {
    OpenDialog dialog;
    dialog.Title = "Wybierz";
    dialog.Filter = "TOPOLIN (*.map)|*.map";
    dialog.InitialDir = "/dane";
    dialog.Options |= ofAllowMultiSelect | ofFileMustExist;
    ui->QueueFiles({"/dane/a.map", "/dane/b.map", "/dane/c.map"});

    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Files, (Names{"/dane/a.map", "/dane/b.map", "/dane/c.map"}));
    EXPECT_EQ(dialog.FileName, "/dane/a.map");
    ASSERT_EQ(ui->FileDialogs().size(), 1u);
    const auto& shown = ui->FileDialogs()[0];
    EXPECT_EQ(shown.kind, FileDialog::Kind::Open);
    EXPECT_EQ(shown.title, "Wybierz");
    EXPECT_EQ(shown.filter, "TOPOLIN (*.map)|*.map");
    EXPECT_EQ(shown.initialDir, "/dane");
    EXPECT_TRUE(shown.options & ofAllowMultiSelect);
    EXPECT_TRUE(shown.confirmed);
}

TEST_F(DialogTest, UnscriptedOrCancelledDialogsChooseNothing) {
    OpenDialog dialog;
    dialog.FileName = "TOPOLIN.SYM";
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "TOPOLIN.SYM");
    EXPECT_TRUE(dialog.Files.empty());

    SaveDialog save;
    ui->QueueFileDialogCancel();
    EXPECT_FALSE(save.Execute());
    ui->QueueFiles({});
    EXPECT_FALSE(save.Execute());
    ASSERT_EQ(ui->FileDialogs().size(), 3u);
    EXPECT_EQ(ui->FileDialogs()[0].fileName, "TOPOLIN.SYM");
    EXPECT_EQ(ui->FileDialogs()[1].kind, FileDialog::Kind::Save);
    EXPECT_FALSE(ui->FileDialogs()[2].confirmed);

    ColorDialog colour;
    colour.Color = clRed;
    EXPECT_FALSE(colour.Execute());
    EXPECT_EQ(colour.Color, clRed);
    ui->QueueColor(clBlue);
    EXPECT_TRUE(colour.Execute());
    EXPECT_EQ(colour.Color, clBlue);
}

TEST_F(DialogTest, AChoiceKeepsOneNameUnlessSeveralMayBeChosenAndGetsTheDefaultExtension) {
    SaveDialog dialog;
    dialog.DefaultExt = ".map";
    ui->QueueFiles({"/out/plan", "/out/other.map"});
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Files, Names{"/out/plan.map"});

    OpenDialog open;
    open.DefaultExt = "sym";
    open.Options |= ofAllowMultiSelect;
    open.Accept({"/a.b/TOPOLIN", "C:\\x.y\\z", "/c/d.SYM", ""});
    EXPECT_EQ(open.Files, (Names{"/a.b/TOPOLIN.sym", "C:\\x.y\\z.sym", "/c/d.SYM", ""}));

    // A script may fill the dialog itself, as a person typing a name would.
    ui->QueueFileDialog([](FileDialog& shown) {
        EXPECT_EQ(shown.DefaultExt, ".map");
        shown.Accept({"/out/typed"});
        return true;
    });
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/out/typed.map");
}

TEST_F(DialogTest, ScreenCursorIsReadableAndPutBackOnEveryWayOut) {
    EXPECT_EQ(ScreenCursor(), crDefault);
    try {
        ScopedCursor busy(crHourGlass);
        EXPECT_EQ(ScreenCursor(), crHourGlass);
        {
            ScopedCursor inner(crHandPoint);
            EXPECT_EQ(ScreenCursor(), crHandPoint);
        }
        EXPECT_EQ(ScreenCursor(), crHourGlass);
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(ScreenCursor(), crDefault);
    EXPECT_EQ(ui->CursorChanges(),
              (std::vector<CursorShape>{crHourGlass, crHandPoint, crHourGlass, crDefault}));
    EXPECT_FALSE(ScreenFonts().empty());
}

namespace {

// A back end of its own that answers every dialog with one file: what a windowed back end does.
class FixedForms : public FormBackend {
  public:
    int ShowModal(Form&) override { return mrOk; }
    void RunMainForm(Form&) override {}
    bool ExecuteFileDialog(FileDialog& dialog) override {
        dialog.Accept({"/fixed.shp"});
        return true;
    }
    bool ExecuteColorDialog(ColorDialog&) override { return false; }
    MenuItem* TrackPopupMenu(PopupMenu&) override { return nullptr; }
    void CursorChanged(CursorShape) override {}
    std::vector<std::string> FontNames() const override { return {"Fixed"}; }
};

class WindowedUi : public HeadlessUi {
  public:
    FormBackend* Forms() override { return &forms; }
    FixedForms forms;
};

}  // namespace

TEST_F(DialogTest, AnInstalledBackEndWithFormsTakesThemOver) {
    auto previous = UiService::SetBackend(std::make_unique<WindowedUi>());
    EXPECT_EQ(FormService::Headless(), nullptr);
    OpenDialog dialog;
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/fixed.shp");
    EXPECT_EQ(ScreenFonts(), Names{"Fixed"});
    UiService::SetBackend(std::move(previous));

    EXPECT_EQ(FormService::Headless(), ui);
    EXPECT_TRUE(ui->FileDialogs().empty());
}
