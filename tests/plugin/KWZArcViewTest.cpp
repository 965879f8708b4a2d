#include "plugin/KWZArcView.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "SettingsFixture.h"
#include "model/TextHandles.h"
#include "platform/Cp1250.h"
#include "plugin/KonwersjaPliku.h"

namespace {

// A text handle the test owns.
struct Handle {
    explicit Handle(const std::string& text) : value(StrToGlobal(text)) {}
    ~Handle() { platform::GlobalFree(value); }
    KwzHandle value;
};

class KWZArcViewTest : public SettingsTest {
  protected:
    std::string File(const std::string& name) const {
        return (RegistryFile().parent_path() / name).string();
    }
};

TEST_F(KWZArcViewTest, ConstructionAndClear) {
    TKWZArcView server;
    ASSERT_NE(server.Shape, nullptr);
    ASSERT_NE(server.Symbols, nullptr);
    EXPECT_FALSE(server.BatchLoaded);
    EXPECT_TRUE(server.BatchFile.empty());
    EXPECT_TRUE(server.OutputFolder.empty());

    Handle batch(File("brak.ini")), folder(File("wynik"));
    EXPECT_FALSE(server.SetBatchConfig(batch.value, folder.value, 0, 0));
    EXPECT_TRUE(server.BatchLoaded);
    EXPECT_EQ(server.BatchFile, File("brak.ini"));
    EXPECT_EQ(server.OutputFolder, File("wynik"));
    ASSERT_NE(server.Shape->BatchConfig, nullptr);
    EXPECT_TRUE(server.Shape->BatchConfig->NoFile());

    server.FileName = "plan.map";
    const TListaSYM* symbols = server.Symbols.get();
    EXPECT_TRUE(server.Clear());
    ASSERT_NE(server.Shape, nullptr);
    EXPECT_EQ(server.Shape->BatchConfig, nullptr);  // it belonged to the old shape
    EXPECT_EQ(server.Symbols.get(), symbols);
    EXPECT_TRUE(server.BatchLoaded);
    EXPECT_EQ(server.OutputFolder, File("wynik"));
    EXPECT_EQ(server.FileName, "plan.map");
    EXPECT_EQ(server.Objects->Count(), 0);
    EXPECT_EQ(server.Points->Count(), 0);

    // A zero folder handle clears the folder.
    EXPECT_FALSE(server.SetBatchConfig(batch.value, 0, 0, 0));
    EXPECT_TRUE(server.OutputFolder.empty());
}

TEST_F(KWZArcViewTest, OpeningKeepsTheBatchConfiguration) {
    TKWZArcView server;
    const TShape* shape = server.Shape.get();
    EXPECT_EQ(server.OpenFile(0), 1);
    EXPECT_EQ(server.Shape.get(), shape);

    std::ofstream(File("wsad.ini"), std::ios::binary) << "[WARSTWY]\n1000=Slupy\n";
    Handle batch(File("wsad.ini")), missing(File("brak.shp"));
    server.SetBatchConfig(batch.value, 0, 0, 0);
    EXPECT_EQ(server.OpenFile(missing.value), 255);
    EXPECT_EQ(server.OpenFile(missing.value), 255);
    ASSERT_NE(server.Shape->BatchConfig, nullptr);
    EXPECT_EQ(server.Shape->BatchConfig->GetLayerName("1000"), "Slupy");
    EXPECT_EQ(server.Shape->FileName, File("brak.shp"));
}

// Every place that takes a file name refuses one longer than 255 characters with a message
// naming it: none works on the name cut short, and nothing is written.
TEST_F(KWZArcViewTest, NamesLongerThanAShortStringAreRefusedAtEveryPlace) {
    std::ofstream(File("plan.map"), std::ios::binary)
        << ";ver=[ 7.00]\r\n*1000 1 7 0.00000000\r\nP  0 1.000 2.000\r\n;KONIEC PLIKU\r\n";
    const std::string name = File("") + std::string(256 - File("").size(), 'n');
    const std::string cut = name.substr(0, 255);
    std::ofstream(cut, std::ios::binary) << "a file under the name cut short";
    TKWZArcView server;
    Handle map(File("plan.map")), longName(name);
    ASSERT_TRUE(server.LoadMap(map.value));
    const struct {
        const char* place;
        std::function<bool()> refused;
    } places[] = {
        {"SaveMap", [&] { return !server.SaveMap(longName.value); }},
        {"OpenFile", [&] { return server.OpenFile(longName.value) == 255; }},
        {"SaveFileAs", [&] { return server.SaveFileAs(longName.value) != 0; }},
        {"SetBatchConfig",
         [&] {
             server.SetBatchConfig(longName.value, 0, 0, 0);
             return !server.BatchLoaded;
         }},
        {"Konwersja_Pliku_SHP_MAP",
         [&] { return KonwersjaPlikuShpMap(map.value, longName.value, 10021) == -1; }},
        {"LoadMap", [&] { return !server.LoadMap(longName.value); }},
    };
    const auto files = [&] {
        return std::distance(std::filesystem::directory_iterator(File("")),
                             std::filesystem::directory_iterator());
    };
    const auto before = files();
    for (const auto& p : places) {
        SCOPED_TRACE(p.place);
        boxes->ClearMessages();
        EXPECT_TRUE(p.refused());
        ASSERT_EQ(boxes->Messages().size(), 1u);
        EXPECT_EQ(boxes->Messages()[0].text,
                  platform::Utf8ToCp1250("Za długa nazwa (ponad 255 znaków): ") + name);
        EXPECT_EQ(std::filesystem::file_size(cut), 31u);
        EXPECT_EQ(files(), before);
    }
}

TEST_F(KWZArcViewTest, ExtentWithoutAShape) {
    TKWZArcView server;
    server.Shape.reset();
    double box[4] = {9, 9, 9, 9};
    EXPECT_FALSE(server.GetExtent(&box[0], &box[1], &box[2], &box[3]));
    EXPECT_EQ(box[0], 0);
    EXPECT_EQ(box[1], 0);
    EXPECT_EQ(box[2], 1);
    EXPECT_EQ(box[3], 1);
    EXPECT_FALSE(server.GetExtent(nullptr, &box[1], &box[2], &box[3]));
    EXPECT_EQ(server.GetRecordCount(), 0);
    EXPECT_EQ(server.GetShapeType(), 0);
    const KwzHandle name = server.GetFileName();
    EXPECT_EQ(GlobalToStr(name), "");
    platform::GlobalFree(name);
    Handle target(File("x.shp"));
    EXPECT_EQ(server.SaveFileAs(target.value), 255);
}

}  // namespace
