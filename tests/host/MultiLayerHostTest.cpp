#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "plugin/UMConfig.h"

namespace {

using MultiLayerHostTest = HostTest;
using Strings = std::vector<std::string>;

// The multi-layer places, called through the object's table as the host calls them.
enum MultiLayerPlace : int {
    kAddLayers = 0,
    kConfigureLayers = 1,
    kDrawLayers = 2,
    kIdentifyLayers = 3,
    kLayersExtent = 4,
};

bool AddLayers(const testhost::ServerObject& o) {
    return o.Call<bool>(kAddLayers);
}
bool ConfigureLayers(const testhost::ServerObject& o) {
    return o.Call<bool>(kConfigureLayers);
}
bool Draw(const testhost::ServerObject& o, std::uint32_t dc) {
    return o.Call<bool>(kDrawLayers, dc, 0.0, 0.0, 100.0, 100.0, std::int32_t{0}, std::int32_t{0},
                        std::int32_t{640}, std::int32_t{480}, std::uint8_t{1}, std::int32_t{0});
}
bool Identify(const testhost::ServerObject& o, double x, double y, double tolerance,
              std::uint8_t show) {
    return o.Call<bool>(kIdentifyLayers, x, y, tolerance, show);
}
bool GetExtent(const testhost::ServerObject& o, std::array<double, 4>& box) {
    return o.Call<bool>(kLayersExtent, &box[0], &box[1], &box[2], &box[3]);
}

// The tests look into the library's layer dialog through its class's layout, without the
// sanitizer's dynamic type check (the class's type information stays inside the library).
struct DialogLines {
    Strings lines;  // "name+" ticked, "name-" not
    std::string label;
};
__attribute__((no_sanitize("vptr"))) DialogLines ReadDialog(platform::Form& form) {
    auto& f = static_cast<TFMConfig&>(form);
    DialogLines seen;
    for (int i = 0; i < f.CheckListBox1.Count(); ++i)
        seen.lines.push_back(f.CheckListBox1.Items()[static_cast<std::size_t>(i)] +
                             (f.CheckListBox1.Checked(i) ? "+" : "-"));
    seen.label = f.Label1.Caption;
    return seen;
}
// Selects the line and runs the popup menu's item with this index on it.
__attribute__((no_sanitize("vptr"))) void Command(platform::HeadlessForms& forms,
                                                  platform::Form& form, int line, int item) {
    auto& f = static_cast<TFMConfig&>(form);
    EXPECT_TRUE(f.CheckListBox1.ClickItem(line));
    forms.QueuePopupChoice(item);
    EXPECT_TRUE(f.CheckListBox1.RightClick());
}
__attribute__((no_sanitize("vptr"))) void Untick(platform::Form& form, int line) {
    EXPECT_TRUE(static_cast<TFMConfig&>(form).CheckListBox1.ClickCheck(line));
}
__attribute__((no_sanitize("vptr"))) void Save(platform::Form& form) {
    EXPECT_TRUE(static_cast<TFMConfig&>(form).BitBtn2.Click());
}
__attribute__((no_sanitize("vptr"))) void PressOk(platform::Form& form) {
    EXPECT_TRUE(static_cast<TFMConfig&>(form).BitBtn1.Click());
}

TEST_F(MultiLayerHostTest, ANewObjectAnswersEveryPlaceWithoutLayers) {
    testhost::ServerObject object = library->NewKWZMLObject();
    ASSERT_TRUE(object);
    EXPECT_FALSE(ConfigureLayers(object));
    EXPECT_TRUE(forms->Forms().empty());
    EXPECT_FALSE(Draw(object, 0));
    std::array<double, 4> box = {-1, -2, -3, -4};
    EXPECT_FALSE(GetExtent(object, box));
    EXPECT_EQ(box, (std::array<double, 4>{-1, -2, -3, -4}));
    EXPECT_FALSE(Identify(object, 1, 2, 3, 0));
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(Identify(object, 1, 2, 3, 1));
    EXPECT_EQ(Messages(), Strings{"Brak aktywnej warstwy !\n\rProszę ustawić w konfiguracji"});
    // Cancelled open dialog: still no layers.
    EXPECT_FALSE(AddLayers(object));
    EXPECT_FALSE(Draw(object, 0));
    object.Destroy();
    EXPECT_FALSE(object);
}

TEST_F(MultiLayerHostTest, LayersFromShapefilesAndAListAreDrawnConfiguredAndSaved) {
    WritePointShapefile(Path("slupy.shp"), {{7500010, 5000020}, {7500030, 5000001}});
    WritePointShapefile(Path("drzewa.shp"), {{7400000, 5100000}});
    WriteFile(Path("lista.spr"), Path("drzewa.shp") + ";0\r\n" + Path("brak.shp") + ";1\r\n");

    testhost::ServerObject object = library->NewKWZMLObject();
    ASSERT_TRUE(object);
    forms->QueueFiles({Path("slupy.shp"), Path("lista.spr")});
    EXPECT_FALSE(AddLayers(object));
    EXPECT_TRUE(Draw(object, 0));

    // Hidden layers and layers that did not open count; the host's axes put the northing first.
    std::array<double, 4> box = {};
    EXPECT_TRUE(GetExtent(object, box));
    EXPECT_EQ(box, (std::array<double, 4>{5000001, 7400000, 5100000, 7500030}));

    // The dialog: choose the active layer, untick one, save the list, OK.
    DialogLines first, second;
    forms->QueueForm([&](platform::Form& form) {
        first = ReadDialog(form);
        Command(*forms, form, 1, 0);  // "Ustaw jako aktywną"
        Untick(form, 0);
        forms->QueueFiles({Path("zapis.spr")});
        Save(form);
        second = ReadDialog(form);
        PressOk(form);
    });
    EXPECT_FALSE(ConfigureLayers(object));
    EXPECT_EQ(first.lines, (Strings{"slupy.shp+", "drzewa.shp-", "brak.shp+"}));
    EXPECT_EQ(first.label, "");
    EXPECT_EQ(second.lines, (Strings{"slupy.shp-", "drzewa.shp-", "brak.shp+"}));
    EXPECT_EQ(second.label, "drzewa.shp");
    EXPECT_EQ(ReadFile(Path("zapis.spr")), Path("slupy.shp") + ";0\r\n" + Path("drzewa.shp") +
                                               ";0\r\n" + Path("brak.shp") + ";1\r\n");

    // Now an active layer is there: the search runs in it (finding nothing away from its point).
    EXPECT_FALSE(Identify(object, 5200000, 7400000, 1, 1));
    EXPECT_EQ(Messages(), Strings{"Nie znaleziono obiektu !"});

    // The dialog opened again shows what the first one left; deleting the active layer's
    // predecessor and closing with the close box keeps the deletion.
    forms->QueueForm([&](platform::Form& form) {
        first = ReadDialog(form);
        Command(*forms, form, 0, 8);  // "Usuń"
    });
    EXPECT_FALSE(ConfigureLayers(object));
    EXPECT_EQ(first.lines, (Strings{"slupy.shp-", "drzewa.shp-", "brak.shp+"}));
    EXPECT_EQ(first.label, "drzewa.shp");
    EXPECT_EQ(forms->Forms().back().result, platform::mrCancel);
    box = {};
    EXPECT_TRUE(GetExtent(object, box));
    EXPECT_EQ(box, (std::array<double, 4>{5100000, 7400000, 5100000, 7400000}));

    // The list saved before reads back as the same layers.
    testhost::ServerObject again = library->NewKWZMLObject();
    ASSERT_TRUE(again);
    forms->QueueFiles({Path("zapis.spr")});
    EXPECT_FALSE(AddLayers(again));
    forms->QueueForm([&](platform::Form& form) { second = ReadDialog(form); });
    EXPECT_FALSE(ConfigureLayers(again));
    EXPECT_EQ(second.lines, (Strings{"slupy.shp-", "drzewa.shp-", "brak.shp+"}));
}

}  // namespace
