// Batch exports and bad input.
#include <sys/stat.h>

#include "ExportTestSupport.h"
#include "platform/SystemInfo.h"
#include "plugin/AttributeIds.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ExportBatchTest : public ExportTest {
  protected:
    void Batch(const std::string& ini) {
        batchFile = Out("../batch.ini");
        std::ofstream(batchFile, std::ios::binary) << ini;
        batch = true;
    }
};

TEST_F(ExportBatchTest, LayerNamesRulesAndTpid) {
    Batch(
        "[OPCJE]\r\nPL=4\r\n[WARSTWY]\r\n1000=Punkty\r\n"
        "[1000]\r\nNAZWA=!C20:0$A1#32$A2\r\nILE=!N6:1$A3\r\nKIEDY=!D8:0$A4\r\n"
        "BARDZO_DLUGA_NAZWA=!C10:0$TXT\r\nDZIWNE=!Q5:0$A1\r\n");
    ConversionSettings.KNW = false;  // batch exports are per code all the same
    platform::SetShortDateFormat("dd.MM.yyyy");
    TObiekt* good = Add("1000", {{1, 2}});
    good->SetAttribute(attr::A1, " Jan\x86");
    good->SetAttribute(attr::A2, "Kowalski ");
    good->SetAttribute(attr::A3, "12.26");
    good->SetAttribute(attr::A4, "15.07.2004");
    good->SetText("uwagi");
    TObiekt* bad = Add("1000", {{1, 2}});
    bad->SetAttribute(attr::A3, "dwa");
    bad->SetAttribute(attr::A4, "31.02.2004");
    Add("4100", {{1, 2}, {3, 4}});
    Export();

    EXPECT_TRUE(ConversionSettings.KNW == false);
    EXPECT_EQ(ConversionSettings.PLKODY, 4);  // taken from the configuration, kept
    EXPECT_THAT(Files(), ElementsAre("4100.dbf", "4100.shp", "4100.shx", "4100.tpi", "Punkty.dbf",
                                     "Punkty.shp", "Punkty.shx", "Punkty.tpi"));
    EXPECT_THAT(Messages(), ElementsAre("Błąd ILE dwa", "Błąd KIEDY 31.02.2004"));
    const std::string punkty = Pyshp(Out("Punkty.shp"));
    EXPECT_THAT(Lines(punkty, "field"),
                ElementsAre("field NAZWA C 20 0", "field ILE N 6 1", "field KIEDY D 8 0",
                            "field BARDZO_DLU C 10 0", "field DZIWNE Q 5 0", "field TPID N 10 0"));
    // The header keeps 11 characters of the name (pyshp reads one less without a terminator).
    EXPECT_THAT(OgrInfo(Out("Punkty.shp")), HasSubstr("BARDZO_DLUG: String (10.0)"));
    EXPECT_THAT(Rows(punkty),
                ElementsAre("Jana Kowalski|12.3|2004-07-15|uwagi||1", "|None|None|||2"));
    // A code without a section of its own gets no rules: TPID alone.
    EXPECT_THAT(Lines(Pyshp(Out("4100.shp")), "field"), ElementsAre("field TPID N 10 0"));
}

TEST_F(ExportBatchTest, TpidOptionOffAndMissingFile) {
    Batch("[OPCJE]\r\nTPID=0\r\n[1000]\r\nA=!C5:0$A1\r\n");
    Add("1000", {{1, 2}});
    Export();
    EXPECT_THAT(Lines(Pyshp(Out("1000.shp")), "field"), ElementsAre("field A C 5 0"));

    // Without the file: the seven default rules and TPID.
    batchFile = Out("../missing.ini");
    Export();
    EXPECT_THAT(Lines(Pyshp(Out("1000.shp")), "field"),
                ElementsAre("field A1 C 255 0", "field A2 C 255 0", "field A3 C 255 0",
                            "field A4 C 255 0", "field A5 C 255 0", "field A6 C 255 0",
                            "field TX C 255 0", "field TPID N 10 0"));

    // With neither rules nor TPID there is no table to write.
    Batch("[OPCJE]\r\nTPID=0\r\n");
    std::filesystem::remove(Out("1000.dbf"));
    Export();
    EXPECT_FALSE(Exists("1000.dbf"));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ExportBatchTest, BadHeadsKeepTheGoodTable) {
    Add("1000", {{1, 2}});
    Batch("[1000]\r\nA=!C20:0$A1\r\n");
    Export();
    const std::string good = ReadFile(Out("1000.dbf"));
    ASSERT_FALSE(good.empty());

    // A field of length 0 fits no header: the table is not written and the old one stays.
    Batch("[1000]\r\nA=!C0:0$A1\r\n");
    Export();
    EXPECT_THAT(Messages(), ElementsAre(HasSubstr("1000.dbf")));
    EXPECT_EQ(ReadFile(Out("1000.dbf")), good);
    // Neither is one whose rows would be longer than the format allows.
    std::string many = "[1000]\r\n";
    for (int i = 0; i < 300; ++i) many += "F" + std::to_string(i) + "=!C255:0$A1\r\n";
    Batch(many);
    Export();
    EXPECT_EQ(ReadFile(Out("1000.dbf")), good);
    // Nothing is left beside it.
    EXPECT_THAT(Files(), ElementsAre("1000.dbf", "1000.shp", "1000.shx", "1000.tpi"));
}

TEST_F(ExportBatchTest, UnreadableSymbolFileWritesNothing) {
    ConversionSettings.KorzystajZSym = true;
    ConversionSettings.PlikSym = Out("../none.sym");
    Add("1000", {{1, 2}});
    Export();
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), "Błąd odczytu pliku symboli !!!\n\r" + Out("../none.sym"));
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(platform::ScreenCursor(), platform::crDefault);
}

TEST_F(ExportBatchTest, FolderThatCannotBeWrittenOrIsNotChosen) {
    Add("1000", {{1, 2}});
    std::ofstream(Out("file")) << "x";
    folder = Out("file/below");
    Export();
    EXPECT_THAT(Messages(), ElementsAre("Nie można zapisać plików w folderze " + folder));
    EXPECT_THAT(Files(), ElementsAre("file"));

    // No folder yet: the chooser asks; cancelled, nothing is written and nothing said.
    boxes->ClearMessages();
    folder.clear();
    boxes->QueueFolderCancel();
    ConversionSettings.KNW = true;
    Export();
    ASSERT_EQ(boxes->FolderDialogs().size(), 1u);
    EXPECT_EQ(boxes->FolderDialogs()[0].request.caption, Cp("Wybierz folder do zapisu plików SHP"));
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(ConversionSettings.KNW);
    EXPECT_EQ(platform::ScreenCursor(), platform::crDefault);
    EXPECT_THAT(Files(), ElementsAre("file"));

    // A chosen folder is kept for the next export.
    boxes->QueueFolderChoice(Out(""));
    Export();
    EXPECT_EQ(folder, Out(""));
    EXPECT_TRUE(Exists("1000.shp"));
    Export();
    EXPECT_EQ(boxes->FolderDialogs().size(), 2u);
}

}  // namespace
