#include "model/KWZPrototypTP.h"

#include <gtest/gtest.h>

#include "model/MapFile.h"
#include "model/TextHandles.h"
#include "platform/Cp1250.h"
#include "platform/DecimalSeparator.h"
#include "platform/GlobalMemory.h"
#include "platform/UiService.h"
#include "tests/platform/TempFolder.h"

namespace {

// The other places answer with fixed values; only the map operations are under test.
class Server : public TKWZPrototypTP {
  public:
    std::int32_t ConfigureDisplay(std::uint32_t) override { return 0; }
    std::int32_t OpenFile(KwzHandle) override { return 0; }
    std::int32_t SaveFileAs(KwzHandle) override { return 0; }
    std::int32_t Draw(std::uint32_t, double, double, double, double, std::int32_t, std::int32_t,
                      std::int32_t, std::int32_t, std::uint8_t, std::int32_t) override {
        return 0;
    }
    KwzHandle GetFileName() override { return 0; }
    std::int32_t GetShapeType() override { return 0; }
    std::int32_t GetRecordCount() override { return 0; }
    bool FindNearestPoint(double, double, double, double*, double*) override { return false; }
    bool Identify(double, double, double, std::uint8_t) override { return false; }
    bool GetExtent(double*, double*, double*, double*) override { return false; }
    std::int32_t ConfigureConversion() override { return 0; }
    bool SaveAsMap(KwzHandle, std::int32_t) override { return false; }
    bool ExportMap() override { return false; }
    std::int32_t SetOutputFolder() override { return 0; }
    std::int32_t TransformFileByCode(std::uint8_t, double, double, double) override { return 0; }
    bool ConfigureUnits() override { return false; }
    bool SetBatchConfig(KwzHandle, KwzHandle, std::int32_t, std::int32_t) override { return false; }
    std::int32_t TransformMap(std::int32_t, std::int32_t) override { return 0; }
    std::int32_t TransformFile(std::int32_t, std::int32_t) override { return 0; }
};

class Layers : public TKWZMLPrototyp {
  public:
    bool AddLayers() override { return true; }
    bool ConfigureLayers() override { return true; }
    bool Draw(std::uint32_t, double, double, double, double, std::int32_t, std::int32_t,
              std::int32_t, std::int32_t, std::uint8_t, std::int32_t) override {
        return true;
    }
    bool Identify(double, double, double, std::uint8_t) override { return true; }
    bool GetExtent(double*, double*, double*, double*) override { return true; }
};

// Calls place `place` of the object's table the way the host does: by slot, object first.
template <typename... Args>
bool CallByPlace(TKWZPrototyp* object, int place, Args... args) {
    using Fn = bool (*)(TKWZPrototyp*, Args...);
    void** table = *reinterpret_cast<void***>(object);
    return reinterpret_cast<Fn>(table[place])(object, args...);
}

struct Handle {
    explicit Handle(const std::string& text) : h(StrToGlobal(text)) {}
    ~Handle() { platform::GlobalFree(h); }
    HostTextHandle h;
};

class KWZPrototypTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui_ = platform::UiService::Headless();
        ui_->SetEcho(false);
        ui_->ClearMessages();
    }
    void TearDown() override { ui_->SetEcho(true); }
    platform::HeadlessUi* ui_ = nullptr;
    TempFolder dir_;
};

}  // namespace

TEST_F(KWZPrototypTest, MapOperationsByPlace) {
    auto server = std::make_unique<Server>();
    EXPECT_EQ(server->Points->Count(), 0);
    EXPECT_TRUE(CallByPlace(server.get(), 18));  // Clear of a new object
    ASSERT_NE(server->Points, nullptr);
    ASSERT_NE(server->Objects, nullptr);

    server->Objects->AddObject(std::make_unique<TObiekt>("4101", "", "", "", "", "", "", "", 0));
    TObiekt* object = server->Objects->CurrentObject();
    auto point = std::make_unique<TPunkt>("A", 15, 1.0, 2.0, 3.0f);
    object->Vertices->Add(std::make_unique<TNumer>(point.get()));
    server->Points->AddPoint(std::move(point));

    const std::string path = dir_ / "saved.map";
    {
        platform::DecimalSeparatorGuard comma(',');
        Handle name(path);
        EXPECT_TRUE(CallByPlace(server.get(), 15, name.h));  // SaveMap
    }
    EXPECT_EQ(server->FileName, path);
    const std::string saved = platform::Cp1250ToUtf8(TempFolder::ReadBytes(path));
    EXPECT_NE(saved.find("ver=[ 7.00]"), std::string::npos);
    EXPECT_NE(saved.find(";GENERATOR: Serwer plików shp (ArcView) dla TOPOLIN ver 1,30\r\n"),
              std::string::npos);

    EXPECT_TRUE(CallByPlace(server.get(), 18));
    EXPECT_EQ(server->Objects->Count(), 0);
    EXPECT_EQ(server->FileName, path);  // Clear keeps the name

    Handle name(path);
    EXPECT_TRUE(CallByPlace(server.get(), 14, name.h));  // LoadMap
    EXPECT_EQ(server->Objects->Count(), 1);
    EXPECT_EQ(server->Points->Count(), 1);
    EXPECT_EQ(platform::GlobalSize(name.h), path.size() + 2);  // the caller's handle stays alive

    Handle none(dir_ / "none/x.map");
    EXPECT_FALSE(CallByPlace(server.get(), 15, none.h));
    EXPECT_EQ(server->FileName, path);
    Handle missing(dir_ / "missing.map");
    EXPECT_FALSE(CallByPlace(server.get(), 14, missing.h));
    EXPECT_EQ(server->FileName, path);
    EXPECT_FALSE(CallByPlace(server.get(), 14, KwzHandle{0}));  // no name: nothing read
    EXPECT_NE(server->Points, nullptr);

    std::unique_ptr<TKWZPrototyp> base = std::move(server);
    base.reset();  // the virtual destructor frees the map
}

TEST(KWZMLPrototyp, NewObjectHasNoActiveLayer) {
    Layers layers;
    EXPECT_EQ(layers.ActiveLayer, -1);
}
