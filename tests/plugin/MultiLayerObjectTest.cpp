#include "plugin/KWZMLSHP.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "MultiLayerFixture.h"
#include "plugin/LayerListFile.h"
#include "plugin/UMConfig.h"

namespace {

using MultiLayerObjectTest = MultiLayerTest;
using Strings = std::vector<std::string>;

const char* const kNoActiveLayer = "Brak aktywnej warstwy !\n\rProszę ustawić w konfiguracji";

TEST_F(MultiLayerObjectTest, ANewObjectHasNoLayersAndDoesNothing) {
    TKWZMLSHP object;
    EXPECT_EQ(object.ActiveLayer, -1);
    ASSERT_NE(object.Layers, nullptr);
    EXPECT_TRUE(object.Layers->Empty());

    EXPECT_FALSE(object.ConfigureLayers());
    EXPECT_TRUE(ui->Forms().empty());
    EXPECT_FALSE(object.Draw(1, 0, 0, 10, 10, 0, 0, 100, 100, 0, 0));
    double box[4] = {-1, -2, -3, -4};
    EXPECT_FALSE(object.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(std::to_array(box), (std::array<double, 4>{-1, -2, -3, -4}));

    EXPECT_FALSE(object.Identify(1, 2, 3, 0));
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(object.Identify(1, 2, 3, 1));
    EXPECT_EQ(Messages(), Strings{kNoActiveLayer});
}

TEST_F(MultiLayerObjectTest, DrawHandsTheArgumentsToEveryVisibleLayerInListOrder) {
    std::vector<std::string> log;
    TKWZMLSHP object;
    object.Layers->AddObject("a.shp", RecordingLayer(log, "a", true));
    object.Layers->AddObject("b.shp", RecordingLayer(log, "b", false));
    object.Layers->AddObject("c.shp", RecordingLayer(log, "c", true));
    EXPECT_TRUE(object.Draw(77, 5000000.5, 7500000.25, 5000100, 7500200, 1, 2, 640, 480, 3, -9));
    EXPECT_EQ(log, (Strings{"a Draw 77 5e+06 7.5e+06 5.0001e+06 7.5002e+06 1 2 640 480 3 -9",
                            "c Draw 77 5e+06 7.5e+06 5.0001e+06 7.5002e+06 1 2 640 480 3 -9"}));

    // With every layer hidden it still has layers: true, nothing drawn.
    log.clear();
    object.Layers->Objects(0)->Visible = false;
    object.Layers->Objects(2)->Visible = false;
    EXPECT_TRUE(object.Draw(1, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0));
    EXPECT_TRUE(log.empty());
}

TEST_F(MultiLayerObjectTest, IdentifyAsksTheActiveLayerOnly) {
    std::vector<std::string> log;
    TKWZMLSHP object;
    RecordingView* b = nullptr;
    object.Layers->AddObject("a.shp", RecordingLayer(log, "a", true));
    object.Layers->AddObject("b.shp", RecordingLayer(log, "b", false, &b));
    object.Layers->AddObject("c.shp", RecordingLayer(log, "c", true));

    // No active layer yet.
    EXPECT_FALSE(object.Identify(10, 20, 0.5, 1));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Messages(), Strings{kNoActiveLayer});
    boxes->ClearMessages();

    // A hidden active layer is asked all the same.
    object.ActiveLayer = 1;
    b->hit = true;
    EXPECT_TRUE(object.Identify(10, 20, 0.5, 1));
    EXPECT_EQ(log, Strings{"b Identify 10 20 0.5 1"});
    EXPECT_TRUE(Messages().empty());

    b->hit = false;
    log.clear();
    EXPECT_FALSE(object.Identify(11, 21, 2, 1));
    EXPECT_EQ(log, Strings{"b Identify 11 21 2 1"});
    EXPECT_EQ(Messages(), Strings{"Nie znaleziono obiektu !"});
    boxes->ClearMessages();
    EXPECT_FALSE(object.Identify(11, 21, 2, 0));
    EXPECT_TRUE(Messages().empty());

    // An active index past the list (the dialog deleted layers) counts as none.
    object.ActiveLayer = 3;
    log.clear();
    EXPECT_FALSE(object.Identify(1, 1, 1, 1));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Messages(), Strings{kNoActiveLayer});
}

TEST_F(MultiLayerObjectTest, ExtentIsTheUnionOfTheLayersThatHavePoints) {
    std::vector<std::string> log;
    TKWZMLSHP object;
    RecordingView *a = nullptr, *b = nullptr, *c = nullptr;
    // A real, empty server object first: it leaves its box as given and adds nothing.
    object.Layers->AddObject("pusty.shp", std::make_unique<TSHPLayer>());
    object.Layers->AddObject("a.shp", RecordingLayer(log, "a", true, &a));
    object.Layers->AddObject("b.shp", RecordingLayer(log, "b", false, &b));
    object.Layers->AddObject("c.shp", RecordingLayer(log, "c", true, &c));

    double box[4] = {100, 100, 100, 100};
    EXPECT_TRUE(object.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(std::to_array(box), (std::array<double, 4>{100, 100, 100, 100}));
    EXPECT_EQ(log, (Strings{"a GetExtent", "b GetExtent", "c GetExtent"}));

    a->box = {0, 0, 10, 10};
    b->box = {5, 5, 20, 20};
    c->box = {-3, 2, 4, 30};
    EXPECT_TRUE(object.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(std::to_array(box), (std::array<double, 4>{-3, 0, 20, 30}));

    // One layer alone gives its own box.
    b->box.reset();
    c->box.reset();
    a->box = {1, 2, 3, 4};
    EXPECT_TRUE(object.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(std::to_array(box), (std::array<double, 4>{1, 2, 3, 4}));
}

TEST_F(MultiLayerObjectTest, AddLayersTakesShapefilesAndListsInTheChosenOrder) {
    WritePointShapefile(File("slupy.shp"), {{7500010, 5000020}, {7500030, 5000001}});
    WritePointShapefile(File("Drzewa.SHP"), {{7400000, 5100000}});
    WriteFile(File("lista.spr"),
              File("Drzewa.SHP") + ";0\r\n" + File("brak.shp") + ";1\r\nC:\\c.shp;x\r\n");
    WriteFile(File("notatka.txt"), "nic");

    TKWZMLSHP object;
    ui->QueueFiles({File("slupy.shp"), File("notatka.txt"), File("lista.spr")});
    EXPECT_FALSE(object.AddLayers());
    ASSERT_EQ(ui->FileDialogs().size(), 1u);
    EXPECT_EQ(ui->FileDialogs()[0].kind, platform::FileDialog::Kind::Open);
    EXPECT_EQ(ui->FileDialogs()[0].filter, "ArcView SHP|*.shp|Lista warstw SHP|*.spr");
    EXPECT_NE(ui->FileDialogs()[0].options & platform::ofAllowMultiSelect, 0u);

    const TLayerList& layers = *object.Layers;
    EXPECT_EQ(Texts(layers), (Strings{"slupy.shp", "Drzewa.SHP", "brak.shp", "c.shp"}));
    const std::vector<bool> visible = {true, false, true, true};
    const std::vector<int> records = {2, 1, 0, 0};
    for (int i = 0; i < layers.Count(); ++i) {
        const TSHPLayer* layer = layers.Objects(i);
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->Visible, visible[static_cast<std::size_t>(i)]) << i;
        ASSERT_NE(layer->View, nullptr);
        EXPECT_EQ(layer->View->GetRecordCount(), records[static_cast<std::size_t>(i)]) << i;
    }
    EXPECT_EQ(layers.Objects(0)->FileName, File("slupy.shp"));
    EXPECT_EQ(layers.Objects(3)->FileName, "C:\\c.shp");
    EXPECT_EQ(object.ActiveLayer, -1);

    // The union of the two shapefiles in the host's axes: northing first.
    double box[4] = {};
    EXPECT_TRUE(object.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(std::to_array(box), (std::array<double, 4>{5000001, 7400000, 5100000, 7500030}));

    // Cancelled: nothing added. A list that cannot be read is reported and adds nothing.
    ui->QueueFileDialogCancel();
    EXPECT_FALSE(object.AddLayers());
    ui->QueueFiles({File("zniknela.spr"), File("slupy.shp")});
    EXPECT_FALSE(object.AddLayers());
    EXPECT_EQ(Messages(), Strings{"Błąd odczytu pliku " + File("zniknela.spr")});
    EXPECT_EQ(layers.Count(), 5);
}

TEST_F(MultiLayerObjectTest, AGarbageListGivesBoundedLayersWithoutCrash) {
    std::string garbage;
    for (int i = 0; i < 20000; ++i) garbage.push_back(static_cast<char>((i * 131 + 7) % 256));
    garbage += std::string(100000, 'z') + "\r\n" + std::string(3000, '\n');
    WriteFile(File("smieci.SPR"), garbage);
    TKWZMLSHP object;
    object.AddFiles({File("smieci.SPR")});
    EXPECT_GT(object.Layers->Count(), 0);
    EXPECT_LE(object.Layers->Count(), static_cast<int>(kLayerListMaxLines));
    for (int i = 0; i < object.Layers->Count(); ++i) {
        EXPECT_LE(object.Layers->Objects(i)->FileName.size(), 255u);
        EXPECT_EQ(object.Layers->Objects(i)->View->GetRecordCount(), 0);
    }
    EXPECT_TRUE(object.Draw(0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0));
}

// A layer list may give thousands of layers: a layer keeps none of its files open.
TEST_F(MultiLayerObjectTest, LayersKeepNoFileOpen) {
    WritePointShapefile(File("slupy.shp"), {{7500010, 5000020}});
    WriteFile(File("slupy.dbf"), "tabela");
    auto openFiles = [] {
        const std::filesystem::directory_iterator fds("/proc/self/fd");
        return std::distance(begin(fds), end(fds));
    };
    TKWZMLSHP object;
    object.AddFiles({File("slupy.shp")});
    const auto before = openFiles();
    object.AddFiles(Strings(50, File("slupy.shp")));
    EXPECT_EQ(object.Layers->Count(), 51);
    EXPECT_EQ(openFiles(), before);
}

TEST_F(MultiLayerObjectTest, ConfigureLayersKeepsTheActiveLayerOnlyOnOk) {
    std::vector<std::string> log;
    TKWZMLSHP object;
    object.Layers->AddObject("a.shp", RecordingLayer(log, "a", true));
    object.Layers->AddObject("b.shp", RecordingLayer(log, "b", true));
    object.ActiveLayer = 0;
    const TLayerList* list = object.Layers.get();

    ui->QueueForm<TFMConfig>([&](TFMConfig& f) {
        int active = 5;
        EXPECT_EQ(f.GetLayers(active), list);
        EXPECT_EQ(active, 0);
        EXPECT_EQ(f.Label1.Caption, "a.shp");
        EXPECT_TRUE(f.CheckListBox1.ClickItem(1));
        ui->QueuePopupChoice(0);  // "Ustaw jako aktywną"
        EXPECT_TRUE(f.CheckListBox1.RightClick());
        EXPECT_TRUE(f.PressEnter());
    });
    EXPECT_FALSE(object.ConfigureLayers());
    EXPECT_EQ(object.ActiveLayer, 1);
    EXPECT_EQ(object.Layers.get(), list);
    ASSERT_EQ(ui->Forms().size(), 1u);
    EXPECT_EQ(ui->Forms()[0].caption, "Warstwy SHP");
    EXPECT_EQ(ui->Forms()[0].result, platform::mrOk);

    // The close box after unticking a layer and choosing another active one: the layer stays
    // hidden, the active layer stays as it was.
    ui->QueueForm<TFMConfig>([&](TFMConfig& f) {
        EXPECT_TRUE(f.CheckListBox1.ClickCheck(0));
        ui->QueuePopupChoice(0);
        EXPECT_TRUE(f.CheckListBox1.RightClick());
        EXPECT_TRUE(f.Close());
    });
    EXPECT_FALSE(object.ConfigureLayers());
    EXPECT_EQ(object.ActiveLayer, 1);
    EXPECT_FALSE(object.Layers->Objects(0)->Visible);
    EXPECT_TRUE(object.Layers->Objects(1)->Visible);

    // Deleting every layer and confirming: nothing left to draw, identify or configure.
    ui->QueueForm<TFMConfig>([&](TFMConfig& f) {
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(f.CheckListBox1.ClickItem(0));
            ui->QueuePopupChoice(8);  // "Usuń"
            EXPECT_TRUE(f.CheckListBox1.RightClick());
        }
        EXPECT_TRUE(f.BitBtn1.Click());
    });
    EXPECT_FALSE(object.ConfigureLayers());
    EXPECT_TRUE(object.Layers->Empty());
    EXPECT_EQ(object.ActiveLayer, 1);
    EXPECT_FALSE(object.Draw(0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0));
    EXPECT_FALSE(object.Identify(1, 1, 1, 0));
    EXPECT_FALSE(object.ConfigureLayers());
    EXPECT_EQ(ui->Forms().size(), 3u);
    EXPECT_TRUE(log.empty());
}

}  // namespace
