// The shipped example reads cleanly with the system's own readers and holds what it is meant to
// show: several-part lines, an area with an inner ring, texts, Polish attributes, symbols.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "ConverterFixture.h"
#include "model/MapFile.h"
#include "model/Obiekt.h"
#include "model/Symbols.h"
#include "shape/BatchConfig.h"

namespace {

const std::string kExamples = KESTREL_SOURCE_DIR "/examples";

struct ExampleMap {
    std::unique_ptr<TListaPKT> points;
    std::unique_ptr<TListaObi> objects;
    std::int32_t result = -1;
};

ExampleMap ReadExample() {
    ExampleMap map;
    NewMapLists(map.points, map.objects);
    ReadMapFile(kExamples + "/zielonki.map", false, *map.points, *map.objects, map.result);
    return map;
}

}  // namespace

TEST(ExampleTest, TheMapHoldsPointsLinesOfSeveralPartsAreasWithARingAndTexts) {
    const ExampleMap map = ReadExample();
    ASSERT_EQ(map.result, 0);
    std::map<std::string, int> perCode;
    std::map<std::string, std::vector<int>> parts;
    for (TElement* e = map.objects->First(); e; e = e->GetNext()) {
        const auto& object = static_cast<const TObiekt&>(*e);
        ++perCode[object.Code];
        std::string starts, coords;
        std::int32_t count = 0;
        if (object.Code[0] == '4')
            parts[object.Code].push_back(object.BuildLineCoordText(starts, coords, count));
        if (object.Code[0] == '5')
            parts[object.Code].push_back(object.BuildAreaCoordText(starts, coords, count));
    }
    EXPECT_EQ(perCode, (std::map<std::string, int>{{"1001", 4},
                                                   {"1105", 3},
                                                   {"4101", 2},
                                                   {"4302", 1},
                                                   {"5101", 3},
                                                   {"5201", 2},
                                                   {"6001", 1},
                                                   {"7001", 1}}));
    EXPECT_EQ(parts["4101"], (std::vector<int>{1, 2}));
    EXPECT_EQ(parts["4302"], (std::vector<int>{3}));
    EXPECT_EQ(parts["5101"], (std::vector<int>{2, 1, 1}));
    EXPECT_EQ(parts["5201"], (std::vector<int>{1, 1}));

    const TObiekt* parcel = nullptr;
    for (TElement* e = map.objects->First(); e && !parcel; e = e->GetNext())
        if (static_cast<const TObiekt*>(e)->Code == "5101") parcel = static_cast<const TObiekt*>(e);
    ASSERT_NE(parcel, nullptr);
    std::string owner;
    parcel->GetAttribute(3, owner, 255);
    EXPECT_EQ(owner, platform::Utf8ToCp1250("Józef Żółkiewski"));
}

TEST(ExampleTest, TheSymbolFileNamesSomeOfTheCodes) {
    std::unique_ptr<TListaSYM> symbols;
    std::int32_t result = -1;
    ReadSymbolFile(kExamples + "/zielonki.sym", symbols, result);
    ASSERT_EQ(result, 0);
    std::string name;
    symbols->SymbolFileName("5101", name);
    EXPECT_EQ(name, "Dzialka_ewidencyjna");
    symbols->SymbolFileName("1001", name);
    EXPECT_EQ(name, "Punkt_osnowy_szczegolowej");
    symbols->SymbolFileName("1105", name);
    EXPECT_EQ(name, "1105_Brak_w_bibliotece_symboli");
}

TEST(ExampleTest, ExampleFilesAreWindows1250WithCrLf) {
    for (const char* name : {"zielonki.map", "zielonki.sym", "zielonki.ini"}) {
        const std::string bytes = ReadFileBytes(kExamples + "/" + name);
        ASSERT_FALSE(bytes.empty()) << name;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n') {
                ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << name << " " << i;
            }
        EXPECT_EQ(platform::Utf8ToCp1250(platform::Cp1250ToUtf8(bytes)), bytes);
    }
}

TEST(ExampleTest, TheBatchConfigurationNamesLayersReplacesACodeAndBuildsFields) {
    TBatchConfig config(kExamples + "/zielonki.ini");
    ASSERT_FALSE(config.NoFile());
    EXPECT_EQ(config.ReadOptionTPID(0), 1);
    EXPECT_EQ(config.ReadOptionPL(3), 1);
    EXPECT_EQ(config.GetReplacementCode("4302"), "4301");
    EXPECT_EQ(config.GetLayerName(config.GetReplacementCode("4302")), "rowy");
    EXPECT_EQ(config.GetLayerName("7001"), "7001");
    config.ReadFieldRules("4101");
    ASSERT_EQ(config.Rules().size(), 3u);
    const TBatchAttributes road{platform::Utf8ToCp1250("ul. Łąkowa"), "asfalt", "DG 112046E"};
    EXPECT_EQ(config.Rules()[2].Expand(road, ""),
              platform::Utf8ToCp1250("ul. Łąkowa - DG 112046E"));
    std::string name;
    char type = 0;
    std::int32_t length = 0, decimals = -1;
    config.Rules()[2].GetFieldDef(name, type, length, decimals);
    EXPECT_EQ(name, "OPIS");
    EXPECT_EQ(type, 'C');
    EXPECT_EQ(length, 120);
    EXPECT_EQ(decimals, 0);
}
