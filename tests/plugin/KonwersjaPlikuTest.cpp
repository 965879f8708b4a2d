#include "plugin/KonwersjaPliku.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "SettingsFixture.h"
#include "model/TextHandles.h"
#include "plugin/ConversionSettings.h"
#include "transform/TransformLibrary.h"

namespace {

struct Handle {
    explicit Handle(const std::string& text) : value(StrToGlobal(text)) {}
    ~Handle() { platform::GlobalFree(value); }
    KwzHandle value;
};

// The outside library is looked for in the current folder: the build's binary folder while this
// lives, and the binding is forgotten on both ends.
class RumboFolder {
  public:
    explicit RumboFolder(const std::filesystem::path& path)
        : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
        InitTransformLibrary();
    }
    ~RumboFolder() {
        std::filesystem::current_path(saved_);
        InitTransformLibrary();
    }
    RumboFolder(const RumboFolder&) = delete;
    RumboFolder& operator=(const RumboFolder&) = delete;

  private:
    std::filesystem::path saved_;
};

class KonwersjaPlikuTest : public SettingsTest {
  protected:
    std::string File(const std::string& name) const {
        return (RegistryFile().parent_path() / name).string();
    }
    // Settings unlike every forced value, and unlike the defaults elsewhere.
    static void OddSettings() {
        ConversionSettings = TConversionSettings{};
        ConversionSettings._2XXX = 1;
        ConversionSettings._5XXX = 1;
        ConversionSettings.ATB = false;
        ConversionSettings.KNW = true;
        ConversionSettings.DomykacPoligon = false;
        ConversionSettings.KorzystajZSym = true;
        ConversionSettings.U45 = true;
        ConversionSettings.PLKODY = 4;
        ConversionSettings.PlikSym.Assign("nie-ma.sym");
    }
    static bool SettingsEqual(const TConversionSettings& a, const TConversionSettings& b) {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }
};

TEST_F(KonwersjaPlikuTest, SettingsAreTheSameAfterEveryWayOut) {
    OddSettings();
    const TConversionSettings before = ConversionSettings;
    std::ofstream(File("plan.map"), std::ios::binary)
        << ";ver=[ 5.00]\r\n*1101 1 7 0\r\nP 0 5789000 7501000\r\n"
        << "*4101 1 7 0\r\nP 0 5789000 7501000\r\nP 0 5789100 7501100\r\n";
    Handle map(File("plan.map")), shp(File("geo.shp")), missing(File("brak.map"));

    {
        RumboFolder rumbo(KESTREL_BIN_DIR);
        EXPECT_EQ(KonwersjaPlikuShpMap(map.value, shp.value, SysCodeDirect21), 0);
        EXPECT_TRUE(SettingsEqual(ConversionSettings, before));
        EXPECT_EQ(KonwersjaPlikuShpMap(missing.value, shp.value, SysCodeDirect21), -1);
        EXPECT_TRUE(SettingsEqual(ConversionSettings, before));
    }
    // One file named as asked for, with no field dialog and no symbol file.
    EXPECT_TRUE(std::filesystem::exists(File("geo.shp")));
    EXPECT_TRUE(std::filesystem::exists(File("geo.dbf")));
    EXPECT_TRUE(ui->Forms().empty());
    EXPECT_EQ(Messages().size(), 1u);  // the missing MAP file's

    {
        RumboFolder elsewhere(RegistryFile().parent_path());
        EXPECT_EQ(KonwersjaPlikuShpMap(map.value, shp.value, SysCodeDirect21), -1);
    }
    EXPECT_TRUE(SettingsEqual(ConversionSettings, before));
}

}  // namespace
