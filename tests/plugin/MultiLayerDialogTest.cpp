#include "plugin/UMConfig.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MultiLayerFixture.h"

namespace {

using Strings = std::vector<std::string>;

// A dialog over the list A, B, C (B hidden), shown by no one: the test acts as its user.
class MultiLayerDialogTest : public MultiLayerTest {
  protected:
    void SetUp() override {
        MultiLayerTest::SetUp();
        for (const char* name : {"A", "B", "C"})
            layers.AddObject(std::string(name) + ".shp",
                             RecordingLayer(log, name, name[0] != 'B', &views[name[0] - 'A']));
        views[1]->destroyed = &bDestroyed;
        form = platform::CreateForm<TFMConfig>();
        form->SetLayers(-1, &layers);
    }

    // Selects the line and runs the popup menu's item with this index on it.
    void Command(int line, int item) {
        if (line >= 0) {
            ASSERT_TRUE(form->CheckListBox1.ClickItem(line));
        }
        ui->QueuePopupChoice(item);
        ASSERT_TRUE(form->CheckListBox1.RightClick());
    }
    int Active() const {
        int active = -2;
        EXPECT_EQ(form->GetLayers(active), &layers);
        return active;
    }
    // The lines with their check marks ("A+", "B-"), and the list's layers the same way.
    Strings Lines() const {
        Strings lines;
        for (int i = 0; i < form->CheckListBox1.Count(); ++i)
            lines.push_back(form->CheckListBox1.Items()[static_cast<std::size_t>(i)] +
                            (form->CheckListBox1.Checked(i) ? "+" : "-"));
        return lines;
    }
    Strings Layers() const {
        Strings texts;
        for (int i = 0; i < layers.Count(); ++i)
            texts.push_back(layers.Strings(i) + (layers.Objects(i)->Visible ? "+" : "-"));
        return texts;
    }

    enum Item {
        kSetActive = 0,
        kConfigure = 1,
        kToBottom = 3,
        kDown = 4,
        kUp = 5,
        kToTop = 6,
        kDelete = 8
    };

    std::vector<std::string> log;
    TLayerList layers;
    RecordingView* views[3] = {};
    bool bDestroyed = false;
    std::unique_ptr<TFMConfig> form;
};

TEST_F(MultiLayerDialogTest, ShowsTheLayersAndTheirMenu) {
    EXPECT_EQ(form->Caption, "Warstwy SHP");
    EXPECT_EQ(Lines(), (Strings{"A.shp+", "B.shp-", "C.shp+"}));
    EXPECT_EQ(Active(), -1);
    EXPECT_EQ(form->Label1.Caption, "");
    Strings items;
    for (const platform::MenuItem* item : form->PopupMenu1.Items())
        items.push_back(platform::Cp1250ToUtf8(item->Caption));
    EXPECT_EQ(items, (Strings{"Ustaw jako aktywną", "Konfiguracja", "-", "Na sam dół", "Niżej",
                              "Do góry", "Na wierzch", "-", "Usuń"}));
    EXPECT_TRUE(form->BitBtn1.Default);
    EXPECT_EQ(form->BitBtn1.ModalResult, platform::mrOk);
    EXPECT_EQ(form->BitBtn2.Caption, "Zapis");

    // An active index past the list becomes none; one inside it names its layer.
    form->SetLayers(3, &layers);
    EXPECT_EQ(Active(), -1);
    form->SetLayers(2, &layers);
    EXPECT_EQ(Active(), 2);
    EXPECT_EQ(form->Label1.Caption, "C.shp");
}

TEST_F(MultiLayerDialogTest, CheckMarksSetVisibilityAndTheMenuSetsTheActiveLayer) {
    ASSERT_TRUE(form->CheckListBox1.ClickCheck(0));
    ASSERT_TRUE(form->CheckListBox1.ClickCheck(1));
    EXPECT_EQ(Layers(), (Strings{"A.shp-", "B.shp+", "C.shp+"}));
    // A plain click on a line changes nothing.
    ASSERT_TRUE(form->CheckListBox1.ClickItem(2));
    EXPECT_EQ(Layers(), (Strings{"A.shp-", "B.shp+", "C.shp+"}));

    Command(1, kSetActive);
    EXPECT_EQ(Active(), 1);
    EXPECT_EQ(form->Label1.Caption, "B.shp");

    // Configuration opens the selected layer's display dialog, without a parent window.
    Command(2, kConfigure);
    EXPECT_EQ(log, Strings{"C ConfigureDisplay 0"});
}

TEST_F(MultiLayerDialogTest, MovesChangeTheDrawingOrderAndKeepTheMarks) {
    Command(2, kToBottom);
    EXPECT_EQ(Layers(), (Strings{"C.shp+", "A.shp+", "B.shp-"}));
    EXPECT_EQ(Lines(), Layers());
    EXPECT_EQ(form->CheckListBox1.ItemIndex(), 0);  // the selection goes with its line

    Command(-1, kDown);  // already first
    Command(-1, kToBottom);
    EXPECT_EQ(Layers(), (Strings{"C.shp+", "A.shp+", "B.shp-"}));

    Command(2, kUp);  // already last
    Command(-1, kToTop);
    EXPECT_EQ(Layers(), (Strings{"C.shp+", "A.shp+", "B.shp-"}));

    Command(2, kDown);
    EXPECT_EQ(Layers(), (Strings{"C.shp+", "B.shp-", "A.shp+"}));
    Command(0, kUp);
    EXPECT_EQ(Layers(), (Strings{"B.shp-", "C.shp+", "A.shp+"}));
    Command(0, kToTop);
    EXPECT_EQ(Layers(), (Strings{"C.shp+", "A.shp+", "B.shp-"}));
    EXPECT_EQ(Lines(), Layers());
    EXPECT_EQ(layers.Objects(2)->View.get(), views[1]);
}

TEST_F(MultiLayerDialogTest, TheActiveIndexIsAPlaceThatMovesAndDeletionsLeave) {
    Command(1, kSetActive);
    Command(0, kDelete);
    EXPECT_EQ(Lines(), (Strings{"B.shp-", "C.shp+"}));
    EXPECT_EQ(Layers(), Lines());
    EXPECT_EQ(Active(), 1);  // now C, which was third
    EXPECT_FALSE(bDestroyed);

    Command(1, kToBottom);
    EXPECT_EQ(Layers(), (Strings{"C.shp+", "B.shp-"}));
    EXPECT_EQ(Active(), 1);

    // A deleted layer goes with its server object.
    Command(1, kDelete);
    EXPECT_TRUE(bDestroyed);
    EXPECT_EQ(Layers(), (Strings{"C.shp+"}));
    EXPECT_EQ(Active(), 1);
}

TEST_F(MultiLayerDialogTest, WithoutASelectedLineNoCommandActs) {
    for (int item : {kSetActive, kConfigure, kToBottom, kDown, kUp, kToTop, kDelete})
        Command(-1, item);
    EXPECT_EQ(Layers(), (Strings{"A.shp+", "B.shp-", "C.shp+"}));
    EXPECT_EQ(Active(), -1);
    EXPECT_TRUE(log.empty());
    // A separator cannot be chosen.
    Command(0, 2);
    EXPECT_EQ(Layers(), (Strings{"A.shp+", "B.shp-", "C.shp+"}));
}

TEST_F(MultiLayerDialogTest, SaveWritesTheListInDrawingOrder) {
    Command(2, kToBottom);
    ui->QueueFiles({File("warstwy")});
    ASSERT_TRUE(form->BitBtn2.Click());
    ASSERT_EQ(ui->FileDialogs().size(), 1u);
    const auto& dialog = ui->FileDialogs()[0];
    EXPECT_EQ(dialog.kind, platform::FileDialog::Kind::Save);
    EXPECT_EQ(dialog.filter, "Lista warstw|*.spr");
    EXPECT_NE(dialog.options & platform::ofOverwritePrompt, 0u);
    EXPECT_NE(dialog.options & platform::ofPathMustExist, 0u);
    EXPECT_EQ(ReadFile(File("warstwy.spr")),
              "C:\\dane\\C.shp;1\r\nC:\\dane\\A.shp;1\r\nC:\\dane\\B.shp;0\r\n");

    // Cancelled: nothing written. A file that cannot be written: said, and the old one stays.
    ui->QueueFileDialogCancel();
    ASSERT_TRUE(form->BitBtn2.Click());
    std::filesystem::create_directory(File("katalog.spr"));
    ui->QueueFiles({File("katalog.spr")});
    ASSERT_TRUE(form->BitBtn2.Click());
    EXPECT_EQ(Messages(), Strings{"Błąd zapisu pliku " + File("katalog.spr")});
    EXPECT_TRUE(std::filesystem::is_directory(File("katalog.spr")));
    EXPECT_EQ(ReadFile(File("warstwy.spr")),
              "C:\\dane\\C.shp;1\r\nC:\\dane\\A.shp;1\r\nC:\\dane\\B.shp;0\r\n");
}

}  // namespace
