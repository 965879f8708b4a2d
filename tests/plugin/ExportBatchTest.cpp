// Batch exports and bad input.
#include <sys/stat.h>

#include "ExportTestSupport.h"
#include "model/TextHandles.h"
#include "platform/FileSet.h"
#include "platform/GlobalMemory.h"
#include "platform/OsError.h"
#include "platform/SystemInfo.h"
#include "plugin/AttributeIds.h"
#include "plugin/KWZArcView.h"
#include "tests/platform/FaultyCalls.h"

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
    for (int i = 0; i < 300; ++i)
        many.append("F").append(std::to_string(i)).append("=!C255:0$A1\r\n");
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

TEST_F(ExportBatchTest, LayerNamesStayInTheFolderAndSharedNamesLoseNoObject) {
    Batch(
        "[WARSTWY]\r\n1000=../poza\r\n1001=wspolna\r\n1002=WSPOLNA\r\n1003=wspolna\r\n"
        "4100=wspolna\r\n5100=\r\n[1003]\r\nA=!C5:0$A1\r\n");
    Add("1001", {{1, 1}});
    Add("1000", {{2, 2}});
    Add("1002", {{3, 3}});
    Add("1001", {{4, 4}});
    Add("1003", {{5, 5}});
    Add("4100", {{6, 6}, {7, 7}});
    Add("5100", {{0, 0}, {0, 1}, {1, 1}, {0, 0}});
    EXPECT_TRUE(Export());
    EXPECT_FALSE(std::filesystem::exists(Out("../poza.shp")));
    EXPECT_THAT(Files(),
                ElementsAre("1000.dbf", "1000.shp", "1000.shx", "1000.tpi", "1003.dbf", "1003.shp",
                            "1003.shx", "1003.tpi", "4100.dbf", "4100.shp", "4100.shx", "4100.tpi",
                            "5100.dbf", "5100.shp", "5100.shx", "5100.tpi", "wspolna.dbf",
                            "wspolna.shp", "wspolna.shx", "wspolna.tpi"));
    // Points of one table layout share the layer, in map order; the others keep their codes.
    const std::string shared = Pyshp(Out("wspolna.shp"));
    EXPECT_THAT(Lines(shared, "type"), ElementsAre("type 1 count 3"));
    EXPECT_THAT(Rows(shared), ElementsAre("1", "3", "4"));
    EXPECT_THAT(Messages(), ElementsAre(HasSubstr("\"../poza\" nie może być nazwą pliku"),
                                        HasSubstr("obiekty kodu 1003 zapisano w warstwie 1003"),
                                        HasSubstr("obiekty kodu 4100 zapisano w warstwie 4100"),
                                        HasSubstr("\"\" nie może być nazwą pliku")));
}

// A layer's .shp, .shx, table and style file are put in place together: a failure at any of
// them, or a read-only file among them, keeps the whole older layer.
TEST_F(ExportBatchTest, AFailureAtAnyFileOfALayerKeepsTheOlderLayerWhole) {
    Add("1000", {{1, 2}});
    const char* kExtensions[] = {".shp", ".shx", ".dbf", ".tpi"};
    // A new layer that fails leaves no file of any kind.
    for (const char* ext : kExtensions) {
        Inject(FailFilesEndingIn(ext));
        EXPECT_FALSE(Export()) << ext;
        ClearFault();
        EXPECT_THAT(Files(), ::testing::IsEmpty()) << ext;
    }
    boxes->ClearMessages();
    ASSERT_TRUE(Export());
    auto snapshot = [&] {
        std::vector<std::string> files;
        for (const char* ext : kExtensions)
            files.push_back(ReadFile(Out(std::string("1000") + ext)));
        return files;
    };
    const std::vector<std::string> old = snapshot();
    Add("1000", {{3, 4}});
    for (const char* ext : kExtensions) {
        boxes->ClearMessages();
        Inject(FailFilesEndingIn(ext));
        EXPECT_FALSE(Export()) << ext;
        ClearFault();
        EXPECT_EQ(snapshot(), old) << ext;
        EXPECT_THAT(Messages(), ElementsAre(HasSubstr("1000."))) << ext;
    }
    // Another program replaces the new .shp once it is in place, and a later file fails: that
    // .shp stays as the program left it, and the message does not claim the older layer kept.
    boxes->ClearMessages();
    int renames = 0;
    Inject(Meddling(Fault::Call::Rename, ENOSPC, [&](Fault::Call, const std::string& name) {
        if (!name.starts_with("1000.") || ++renames < 2) return false;
        std::ofstream(Out("other.shp")) << "another program's";
        std::filesystem::rename(Out("other.shp"), Out("1000.shp"));
        return true;
    }));
    EXPECT_FALSE(Export());
    ClearFault();
    EXPECT_EQ(ReadFile(Out("1000.shp")), "another program's");
    EXPECT_THAT(Messages(), ElementsAre(HasSubstr("inny program zmienił")));
    // The person puts the file right and deletes the journal with its hidden files, as told.
    std::ofstream(Out("1000.shp"), std::ios::binary) << old[0];
    for (const std::string& name : Files())
        if (name.starts_with(".")) std::filesystem::remove(Out(name));
    boxes->ClearMessages();
    ::chmod(Out("1000.shx").c_str(), 0444);
    EXPECT_FALSE(Export());
    EXPECT_EQ(snapshot(), old);
    EXPECT_THAT(Messages(), ElementsAre(HasSubstr("1000.shx")));
    ::chmod(Out("1000.shx").c_str(), 0644);
    EXPECT_TRUE(Export());
    EXPECT_NE(snapshot(), old);
    EXPECT_THAT(Files(), ElementsAre("1000.dbf", "1000.shp", "1000.shx", "1000.tpi"));
}

// Sets from older tools carry upper-case extensions: they are found and replaced, never doubled.
TEST_F(ExportBatchTest, UpperCaseExtensionSetsAreFoundAndReplacedNotDoubled) {
    Batch("[WARSTWY]\r\n1000=LAB\r\n");
    Add("1000", {{1, 2}});
    ASSERT_TRUE(Export());
    for (const char* ext : {"shp", "shx", "dbf", "tpi"}) {
        std::string upper = ext;
        for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
        std::filesystem::rename(Out(std::string("LAB.") + ext), Out("LAB." + upper));
    }
    {
        TKWZArcView server;
        const HostTextHandle name = StrToGlobal(Out("lab.shp"));
        EXPECT_EQ(server.OpenFile(name), 0);
        platform::GlobalFree(name);
        EXPECT_EQ(server.GetRecordCount(), 1);
    }  // closing it writes its style file
    Batch("[WARSTWY]\r\n1000=lab\r\n");
    Add("1000", {{3, 4}});
    ASSERT_TRUE(Export());
    EXPECT_TRUE(Messages().empty());
    EXPECT_THAT(Files(), ElementsAre("LAB.DBF", "LAB.SHP", "LAB.SHX", "LAB.TPI"));
    EXPECT_THAT(Lines(OgrInfo(Out("LAB.SHP")), "Feature Count"), ElementsAre("Feature Count: 2"));
}

}  // namespace
