#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>

#include "HostFixture.h"
#include "platform/DecimalSeparator.h"
#include "platform/Registry.h"
#include "plugin/AboutSHP.h"
#include "plugin/UConfigConv.h"

namespace {

using ExportsTest = HostTest;

const std::set<std::string> kExports = {
    "Konwersja_Pliku_SHP_MAP", "NewKWZMLObject", "NewKWZObject", "About", "GetMask",
    "GetDescription",          "GetFunction",    "GetVersion",
};

// The library's own dynamic symbols, as nm lists them.
std::set<std::string> DefinedDynamicSymbols(const std::string& library) {
    std::set<std::string> names;
    FILE* pipe = ::popen(("nm -D --defined-only '" + library + "'").c_str(), "r");
    if (pipe == nullptr) return names;
    char line[4096];
    std::string text;
    while (std::fgets(line, sizeof line, pipe) != nullptr) text += line;
    EXPECT_EQ(::pclose(pipe), 0);
    std::istringstream lines(text);
    std::string address, type, name;
    while (lines >> address >> type >> name) names.insert(name);
    return names;
}

TEST_F(ExportsTest, ExactlyTheEightFunctionsAreExported) {
    EXPECT_EQ(DefinedDynamicSymbols(testhost::LibraryPath()), kExports);
    for (const std::string& name : kExports)
        EXPECT_NE(library->Export(name.c_str()), nullptr) << name;
    // Nothing of the inside is reachable by name.
    EXPECT_EQ(library->Export("InitializeSettingsUnits"), nullptr);
    EXPECT_EQ(library->Export("ConversionSettings"), nullptr);
}

TEST_F(ExportsTest, ConstantsAndTextsComeBackAsNewHandles) {
    EXPECT_EQ(library->GetFunction(), 7);
    EXPECT_EQ(library->GetVersion(), 0);

    const std::uint32_t first = library->GetMask();
    const std::uint32_t second = library->GetMask();
    ASSERT_NE(first, 0u);
    EXPECT_NE(first, second);
    // Text, a zero, and one more zero byte; the library holds no lock on it.
    EXPECT_EQ(platform::GlobalSize(first), std::string("ArcView (shp)|*.shp").size() + 2);
    EXPECT_EQ(platform::GlobalLockCount(first), 0u);
    EXPECT_EQ(testhost::GlobalHandleToStr(first), "ArcView (shp)|*.shp");
    EXPECT_EQ(testhost::GlobalHandleToStr(second), "ArcView (shp)|*.shp");
    EXPECT_EQ(platform::GlobalSize(first), 0u);  // the receiver freed it

    EXPECT_EQ(testhost::GlobalHandleToStr(library->GetDescription()),
              Cp("Serwer plików shp (ArcView) dla TOPOLIN"));
}

TEST_F(ExportsTest, PartsNotYetBuiltGiveTheirNeutralValue) {
    EXPECT_FALSE(library->NewKWZMLObject());
    testhost::TextArg map(Path("brak.map")), shp(Path("brak.shp"));
    EXPECT_EQ(library->Konwersja_Pliku_SHP_MAP(map, shp, 9000), 0);
    EXPECT_FALSE(std::filesystem::exists(Path("brak.shp")));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ExportsTest, TheWindowsNameFindsTheLibraryInTheCurrentFolder) {
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(KESTREL_BIN_DIR);
    testhost::KestrelLibrary second("lib32\\Kestrel.dll");
    std::filesystem::current_path(before);
    ASSERT_TRUE(second.Loaded());
    EXPECT_EQ(second.GetFunction(), 7);
    testhost::ServerObject object = second.NewKWZObject();
    EXPECT_TRUE(object);
}

// The about box shows the description and the version over the separator in force.
TEST_F(ExportsTest, AboutShowsTheDescriptionAndVersion) {
    std::vector<std::pair<std::string, std::string>> seen;
    auto look = [&](platform::Form& form) {
        auto& about = static_cast<TAboutSHP&>(form);
        seen.emplace_back(about.Label4.Caption, about.Label2.Caption);
        EXPECT_TRUE(about.OKButton.Click());
    };
    {
        platform::DecimalSeparatorGuard point('.');
        forms->QueueForm(look);
        EXPECT_EQ(library->About(), 0);
    }
    {
        platform::DecimalSeparatorGuard comma(',');
        forms->QueueForm(look);
        EXPECT_EQ(library->About(), 0);
    }
    const std::string description = Cp("Serwer plików shp (ArcView) dla TOPOLIN");
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], std::make_pair(description, std::string("wersja 0.02")));
    EXPECT_EQ(seen[1], std::make_pair(description, std::string("wersja 0,02")));
    ASSERT_EQ(forms->Forms().size(), 2u);
    EXPECT_EQ(forms->Forms()[0].caption, "O programie");
    EXPECT_EQ(forms->Forms()[0].result, platform::mrOk);

    // Unscripted, the box closes as with its close box; the export still returns normally.
    EXPECT_EQ(library->About(), 0);
    EXPECT_EQ(forms->Forms().back().result, platform::mrCancel);
}

// On a registry that holds nothing the library starts with the defaults and creates its keys.
TEST_F(ExportsTest, StartsWithTheDefaultsOnACleanRegistry) {
    platform::RegistryKey key;
    EXPECT_TRUE(key.OpenKey("Software\\Lumatek\\tpserver\\arcview\\konwersja", false));
    EXPECT_TRUE(key.OpenKey("Software\\Lumatek\\tpserver\\arcview\\AtrybutyDBF", false));

    testhost::ServerObject object = library->NewKWZObject();
    ASSERT_TRUE(object);
    bool seen = false;
    forms->QueueForm([&](platform::Form& form) {
        auto& f = static_cast<TFConfConv&>(form);
        seen = true;
        EXPECT_EQ(f.MaskEdit1.Text, "1000");
        EXPECT_EQ(f.MaskEdit2.Text, "4100");
        EXPECT_EQ(f.MaskEdit3.Text, "5100");
        EXPECT_EQ(f.MaskEdit4.Text, "4100");
        EXPECT_TRUE(f.CheckBox3.Checked);   // one layer per code
        EXPECT_FALSE(f.CheckBox6.Checked);  // no per-file settings
        EXPECT_FALSE(f.CheckBox2.Checked);  // no dBase fields into attributes
        EXPECT_EQ(f.RadioGroup5.SelectedText(), "Windows 1250");
        f.Button2.Click();
    });
    EXPECT_EQ(object.ConfigureConversion(), 0);
    EXPECT_TRUE(seen);
}

}  // namespace
