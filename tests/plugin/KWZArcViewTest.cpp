#include "plugin/KWZArcView.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "SettingsFixture.h"
#include "model/TextHandles.h"

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
