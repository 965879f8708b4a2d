#include "shape/BatchConfig.h"

#include <gtest/gtest.h>

#include "platform/Cp1250.h"
#include "platform/IniMemoryFile.h"
#include "platform/UiService.h"
#include "tests/platform/ScratchFolder.h"

namespace {

struct FieldDef {
    std::string name;
    char type;
    std::int32_t length;
    std::int32_t decimals;
    std::string fieldTemplate;
};

std::vector<FieldDef> DefsOf(const TBatchConfig& config) {
    std::vector<FieldDef> defs;
    for (const TBatchConvers& rule : config.Rules()) {
        FieldDef def{};
        rule.GetFieldDef(def.name, def.type, def.length, def.decimals);
        def.fieldTemplate = rule.Template();
        defs.push_back(def);
    }
    return defs;
}

class BatchConfigTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui_ = platform::UiService::Headless();
        ASSERT_NE(ui_, nullptr);
        ui_->SetEcho(false);
        ui_->ClearMessages();
    }
    void TearDown() override { ui_->ClearMessages(); }

    std::string Write(const std::string& text) {
        const std::string name = scratch_.Path("wsad.ini");
        WriteBytes(name, text);
        return name;
    }

    ScratchFolder scratch_;
    platform::HeadlessUi* ui_ = nullptr;
};

const std::string kRealistic = platform::Utf8ToCp1250(
    "; konfiguracja eksportu ewidencji\r\n"
    "[OPCJE]\r\n"
    "TPID=0\r\n"
    "PL = 3\r\n"
    "[WARSTWY]\r\n"
    "1000=Punkty osnowy\r\n"
    "4100=Drogi\r\n"
    "[ZAMIANA]\r\n"
    "5101=5102\r\n"
    "[1000]\r\n"
    "NUMER=!C20:0$A1\r\n"
    "OPIS=!C200:0$A2#32#45#32$TXT\r\n"
    "WYSOKOSC=!N10:2$A3\r\n"
    "!KOMENTARZ=nie jest regula\r\n"
    "linia bez znaku rownosci\r\n"
    "!ExternalTable=/dane/ewid.mdb!Punkty!NR=$A2\r\n"
    "ŁĄKA=$A6\r\n"
    "[4100]\r\n"
    "KLASA=!C2:0$A4\r\n");

}  // namespace

TEST_F(BatchConfigTest, LooksUpARealisticFile) {
    TBatchConfig config(Write(kRealistic));
    EXPECT_FALSE(config.NoFile());
    ASSERT_NE(config.IniImage(), nullptr);
    EXPECT_EQ(config.ReadOptionTPID(1), 0);
    EXPECT_EQ(config.ReadOptionPL(1), 3);
    EXPECT_EQ(config.GetLayerName("1000"), "Punkty osnowy");
    EXPECT_EQ(config.GetLayerName("2000"), "2000");
    EXPECT_EQ(config.GetReplacementCode("5101"), "5102");
    EXPECT_EQ(config.GetReplacementCode("5102"), "5102");

    config.ReadFieldRules("1000");
    std::vector<FieldDef> defs = DefsOf(config);
    ASSERT_EQ(defs.size(), 4u);
    EXPECT_EQ(defs[0].name, "NUMER");
    EXPECT_EQ(defs[0].type, 'C');
    EXPECT_EQ(defs[0].length, 20);
    EXPECT_EQ(defs[0].fieldTemplate, "$A1");
    EXPECT_EQ(defs[1].name, "OPIS");
    EXPECT_EQ(defs[1].length, 200);
    EXPECT_EQ(defs[2].name, "WYSOKOSC");
    EXPECT_EQ(defs[2].type, 'N');
    EXPECT_EQ(defs[2].length, 10);
    EXPECT_EQ(defs[2].decimals, 2);
    EXPECT_EQ(defs[3].name, platform::Utf8ToCp1250("ŁĄKA"));
    EXPECT_EQ(defs[3].length, 100);

    EXPECT_EQ(config.Database(), "/dane/ewid.mdb");
    EXPECT_EQ(config.Table(), "Punkty");
    EXPECT_EQ(config.KeyField(), "NR");
    EXPECT_EQ(config.KeyTemplate(), "$A2");

    const TBatchAttributes a = {"P-12", "7", "101.25", "", "", "szesc"};
    EXPECT_EQ(config.Rules()[1].Expand(a, "slup"), "7 - slup");
    EXPECT_TRUE(ui_->Messages().empty());

    // Each reading adds the section's rules; section names disregard case of letters.
    config.ReadFieldRules("4100");
    ASSERT_EQ(config.Rules().size(), 5u);
    EXPECT_EQ(config.Rules()[4].FieldName(), "KLASA");
    EXPECT_EQ(config.Rules()[4].Expand(a, ""), "");
}

TEST_F(BatchConfigTest, SectionsWithoutEntriesGiveDefaultsAndNoRules) {
    TBatchConfig config(Write("[1000]\r\nA=!C1:0$A1\r\n"));
    EXPECT_EQ(config.ReadOptionTPID(1), 1);
    EXPECT_EQ(config.ReadOptionPL(4), 4);
    EXPECT_EQ(config.GetLayerName("1000"), "1000");
    config.ReadFieldRules("2000");
    EXPECT_TRUE(config.Rules().empty());
    EXPECT_EQ(config.LookupExternal({"a", "b", "c", "d", "e", "f"}, "tekst"), "tekst");
    EXPECT_EQ(config.ConnectExternalTable(), 0);
}

TEST_F(BatchConfigTest, MissingFileAnswersEveryLookupWithItsInput) {
    for (const std::string& name : {scratch_.Path("brak.ini"), std::string(), scratch_.Path()}) {
        SCOPED_TRACE(name);
        TBatchConfig config(name);
        EXPECT_TRUE(config.NoFile());
        EXPECT_EQ(config.IniImage(), nullptr);
        EXPECT_EQ(config.ReadOptionTPID(1), 1);
        EXPECT_EQ(config.ReadOptionPL(2), 2);
        EXPECT_EQ(config.GetLayerName("1000"), "1000");
        EXPECT_EQ(config.GetReplacementCode("5101"), "5101");
        EXPECT_EQ(config.ConnectExternalTable(), 0);
        const TBatchAttributes a = {"a1", "a2", "a3 z blankiem", "a4", "a5", "a6"};
        EXPECT_EQ(config.LookupExternal(a, "napis"), "napis");
        EXPECT_EQ(config.QueryExternalRow("ALFKI"), "");

        config.ReadFieldRules("1000");
        std::vector<FieldDef> defs = DefsOf(config);
        ASSERT_EQ(defs.size(), 7u);
        const char* names[] = {"A1", "A2", "A3", "A4", "A5", "A6", "TX"};
        for (std::size_t i = 0; i < 7; ++i) {
            EXPECT_EQ(defs[i].name, names[i]);
            EXPECT_EQ(defs[i].type, 'C');
            EXPECT_EQ(defs[i].length, 255);
            EXPECT_EQ(defs[i].decimals, 0);
        }
        EXPECT_EQ(config.Rules()[2].Expand(a, "napis"), "a3 z blankiem");
        EXPECT_EQ(config.Rules()[6].Expand(a, "napis"), "napis");
    }
    // Only the folder, which is there but is no file, is said.
    ASSERT_EQ(ui_->Messages().size(), 1u);
    EXPECT_EQ(ui_->Messages()[0].text,
              platform::Utf8ToCp1250("Plik konfiguracji " + scratch_.Path() +
                                     " nie jest zwykłym plikiem - przyjęto ustawienia domyślne"));
}

TEST_F(BatchConfigTest, ExternalTableLineVariants) {
    struct Case {
        const char* line;
        const char* database;
        const char* table;
        const char* keyField;
        const char* keyTemplate;
    };
    const Case cases[] = {
        {"!EXTERNALTABLE=/b.mdb!T!K=$A1", "/b.mdb", "T", "K", "$A1"},
        {"!externaltable=/b.mdb!T!K=$A1", "/b.mdb", "T", "K", "$A1"},
        {"!EXTERNALTABLE=/b.mdb", "", "", "", ""},                  // no '!': ignored
        {"!EXTERNALTABLE=/b.mdb!K=$A3", "/b.mdb", "", "K", "$A3"},  // no second '!'
        {"!EXTERNALTABLE=/b.mdb!T!K", "/b.mdb", "T", "", ""},       // no '='
        {"!EXTERNALTABLE=/b.mdb!T!K=x=y", "/b.mdb", "T", "K", "x=y"},
        {"!EXTERNALTABLE", "", "", "", ""},
        {"!EXTERNAL=/b.mdb!T!K=$A1", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        TBatchConfig config(Write(std::string("[1000]\r\n") + c.line + "\r\n"));
        config.ReadFieldRules("1000");
        EXPECT_TRUE(config.Rules().empty());
        EXPECT_EQ(config.Database(), c.database);
        EXPECT_EQ(config.Table(), c.table);
        EXPECT_EQ(config.KeyField(), c.keyField);
        EXPECT_EQ(config.KeyTemplate(), c.keyTemplate);
    }

    // A second line overrides only what it gives.
    TBatchConfig config(
        Write("[1000]\r\n!EXTERNALTABLE=/a.mdb!T!K=$A1\r\n!EXTERNALTABLE=/b.mdb!U\r\n"));
    config.ReadFieldRules("1000");
    EXPECT_EQ(config.Database(), "/b.mdb");
    EXPECT_EQ(config.Table(), "T");
    EXPECT_EQ(config.KeyField(), "K");
}

TEST_F(BatchConfigTest, BadFilesGiveDefaultsNeverACrash) {
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
    const std::string longLine(100000, 'x');
    const std::string texts[] = {
        garbage,
        "[OPCJE]\r\nTPID=abc\r\nPL=99999999999999\r\nTPID=2\r\n",
        "[OPCJE\r\nTPID=0\r\n",
        "[1000]\r\n" + longLine + "\r\n=" + longLine + "\r\n!" + longLine + "\r\n",
        "[1000]\r\n" + longLine + "=!C" + longLine + "$A1\r\n",
        "[WARSTWY]\r\n1000=" + longLine + "\r\n[OPCJE]\r\nTPID\r\nPL=\r\n",
        std::string("[1000]\0\r\nA=\0!C5:0$A1\r\n", 22),
        std::string(),
    };
    for (const std::string& text : texts) {
        TBatchConfig config(Write(text));
        EXPECT_EQ(config.ReadOptionTPID(1), 1);  // the first TPID decides; abc is no number
        EXPECT_EQ(config.ReadOptionPL(2), 2);
        EXPECT_LE(config.GetLayerName("1000").size(), 255u);
        config.ReadFieldRules("1000");
        for (const TBatchConvers& rule : config.Rules()) {
            std::string name;
            char type;
            std::int32_t length, decimals;
            rule.GetFieldDef(name, type, length, decimals);
            EXPECT_LE(name.size(), 255u);
            EXPECT_LE(rule.Template().size(), 255u);
            EXPECT_LE(length, 255);
            rule.Expand({"a", "b", "c", "d", "e", "f"}, longLine);
        }
    }

    // A long line gives a rule with the head parsed before cutting the template.
    TBatchConfig config(Write("[1000]\r\nF=!C12:3" + longLine + "\r\n"));
    config.ReadFieldRules("1000");
    ASSERT_EQ(config.Rules().size(), 1u);
    std::vector<FieldDef> defs = DefsOf(config);
    EXPECT_EQ(defs[0].type, 'C');
    EXPECT_EQ(defs[0].length, 12);
    EXPECT_EQ(defs[0].decimals, 0);  // "3xxx...": no number
    // Only the binary bytes and the NUL bytes are refused as no text, each with its message.
    EXPECT_EQ(ui_->Messages().size(), 2u);
}

TEST_F(BatchConfigTest, ImageIsReadOnce) {
    const std::string name = Write("[WARSTWY]\r\n1000=Stara\r\n");
    TBatchConfig config(name);
    WriteBytes(name, "[WARSTWY]\r\n1000=Nowa\r\n");
    EXPECT_EQ(config.GetLayerName("1000"), "Stara");
    EXPECT_EQ(config.IniImage()->ReadString("warstwy", "1000", ""), "Stara");
}
