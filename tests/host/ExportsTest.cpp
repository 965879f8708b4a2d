#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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

// The tests look into the library's forms through their classes' layout. The sanitizer's
// dynamic type check would need those classes' type information, which stays inside the library.

// The about box's description and version label; then OK.
__attribute__((no_sanitize("vptr"))) std::pair<std::string, std::string> ReadAboutAndClose(
    platform::Form& form) {
    auto& about = static_cast<TAboutSHP&>(form);
    EXPECT_TRUE(about.OKButton.Click());
    return {about.Label4.Caption, about.Label2.Caption};
}

struct ConversionDialogState {
    std::vector<std::string> codes;  // Point, Arc, Polygon, Multipoint
    bool layersAsCodes, perFileSettings, dbfToAttributes;
    std::string codePage;
};

// The conversion settings dialog's state; then Anuluj.
__attribute__((no_sanitize("vptr"))) ConversionDialogState ReadConversionDialogAndCancel(
    platform::Form& form) {
    auto& f = static_cast<TFConfConv&>(form);
    ConversionDialogState state{
        {f.MaskEdit1.Text, f.MaskEdit2.Text, f.MaskEdit3.Text, f.MaskEdit4.Text},
        f.CheckBox3.Checked,
        f.CheckBox6.Checked,
        f.CheckBox2.Checked,
        f.RadioGroup5.SelectedText()};
    EXPECT_TRUE(f.Button2.Click());
    return state;
}

// The about box shows the description and the version over the separator in force.
TEST_F(ExportsTest, AboutShowsTheDescriptionAndVersion) {
    std::vector<std::pair<std::string, std::string>> seen;
    auto look = [&](platform::Form& form) { seen.push_back(ReadAboutAndClose(form)); };
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
    std::optional<ConversionDialogState> seen;
    forms->QueueForm([&](platform::Form& form) { seen = ReadConversionDialogAndCancel(form); });
    EXPECT_EQ(object.ConfigureConversion(), 0);
    ASSERT_TRUE(seen);
    EXPECT_EQ(seen->codes, (std::vector<std::string>{"1000", "4100", "5100", "4100"}));
    EXPECT_TRUE(seen->layersAsCodes);
    EXPECT_FALSE(seen->perFileSettings);
    EXPECT_FALSE(seen->dbfToAttributes);
    EXPECT_EQ(seen->codePage, "Windows 1250");
}

}  // namespace
