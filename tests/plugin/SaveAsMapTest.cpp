// The whole shapefile to MAP conversion through the server's place 11: settings and modes, the
// link table, the transferred attributes, and bad input.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "SaveAsMapFixture.h"
#include "model/MapFile.h"
#include "model/TextHandles.h"
#include "platform/Cursor.h"
#include "platform/FileSet.h"
#include "platform/OsError.h"
#include "platform/ReplacementFile.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/KWZArcView.h"
#include "plugin/UBTA.h"
#include "tests/host/PointShapefile.h"
#include "tests/platform/FaultyCalls.h"
#include "tests/platform/TwoWriters.h"

using namespace saveasmaptest;
namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kPacked20040315 = (24 << 25) | (3 << 21) | (15 << 16);

class SaveAsMapTest : public ConversionTest {
  protected:
    void SetUp() override {
        ConversionTest::SetUp();
        server = std::make_unique<TKWZArcView>();
    }
    void TearDown() override {
        server.reset();
        ConversionTest::TearDown();
    }

    // The shapefile drogi.shp of the test folder, holding the records (not written to disk).
    void Open(std::vector<std::unique_ptr<TSHPRecord>> records) {
        server->Shape = MakeShape(std::move(records), Path("drogi.shp"));
    }
    // Three line records: the first of two parts.
    void OpenLines() {
        std::vector<std::unique_ptr<TSHPRecord>> r;
        r.push_back(PartedRecord(3, {{{0, 0}, {10, 0}}, {{20, 0}, {30, 0}}}));
        r.push_back(PartedRecord(3, {{{0, 5}, {10, 5}}}));
        r.push_back(PartedRecord(3, {{{0, 9}, {10, 9}}}));
        Open(std::move(r));
    }
    bool Save(const std::string& mapName, std::int32_t mode) {
        const HostTextHandle h = StrToGlobal(mapName);
        const bool result = server->SaveAsMap(h, mode);
        platform::GlobalFree(h);
        return result;
    }
    void AttachBatch(const std::string& text) {
        WriteText(Path("batch.ini"), text);
        const HostTextHandle file = StrToGlobal(Path("batch.ini"));
        const HostTextHandle folder = StrToGlobal(Dir().string());
        server->SetBatchConfig(file, folder, 0, 0);
        platform::GlobalFree(file);
        platform::GlobalFree(folder);
    }
    std::vector<Object> ReadMap(const std::string& name) {
        TListaPKT points;
        TListaObi objects;
        std::int32_t result = -1;
        ReadMapFile(name, false, points, objects, result);
        EXPECT_EQ(result, 0);
        return Objects(objects);
    }
    const TObiekt& ObjectAt(int index) const {
        const TElement* e = server->Objects->First();
        for (int i = 0; i < index; ++i) e = e->GetNext();
        return *static_cast<const TObiekt*>(e);
    }
    static std::string Attribute(const TObiekt& o, std::int32_t id) {
        std::string v;
        o.GetAttribute(id, v, 255);
        return v;
    }
    // Pairs the dialog's field with the slot.
    static void Pair(TFBTA& f, int field, int slot) {
        ASSERT_TRUE(f.ListBox1.ClickItem(field));
        ASSERT_TRUE(f.ListBox2.ClickItem(slot));
        ASSERT_TRUE(f.Button3.Click());
    }
    void StandardTable(int rows = 3) {
        std::vector<std::vector<std::string>> data = {
            {"Polna", "12", "20040315"}, {"Lesna", "7", "19991231"}, {"Krotka", "1", ""}};
        data.resize(static_cast<std::size_t>(rows));
        WriteDbf(Path("drogi.dbf"), {{"NAZWA", 'C', 10}, {"NR", 'N', 5}, {"DATA", 'D', 8}}, data);
    }

    std::unique_ptr<TKWZArcView> server;
};

TEST_F(SaveAsMapTest, WithoutTableWritesTheMapAndTheSettingsFile) {
    OpenLines();
    ConversionSettings.BTA = true;
    EXPECT_TRUE(Save(Path("drogi.map"), 0));
    EXPECT_EQ(server->FileName, Path("drogi.map"));
    EXPECT_FALSE(fs::exists(Path("map_drogi.dbf")));
    EXPECT_TRUE(fs::exists(Path("drogi.cc")));
    EXPECT_TRUE(ui->Forms().empty());
    EXPECT_TRUE(boxes->Messages().empty());
    const std::string text = ReadText(Path("drogi.map"));
    EXPECT_NE(text.find(Cp("Serwer plików shp (ArcView) dla TOPOLIN ver 0.02")), std::string::npos);
    const auto map = ReadMap(Path("drogi.map"));
    ASSERT_EQ(map.size(), 3u);
    EXPECT_EQ(map[0].code, "4100");
    ASSERT_EQ(map[0].vertices.size(), 4u);
    EXPECT_EQ(map[0].vertices[1].flags & kPointLineGoesOn, 0);  // the break between the parts
    EXPECT_EQ(map[0].vertices[3].y, 30);
    EXPECT_EQ(map[2].vertices[0].x, 9);
    EXPECT_EQ(ui->CursorChanges().front(), platform::crHourGlass);
    EXPECT_EQ(platform::ScreenCursor(), platform::crDefault);
}

TEST_F(SaveAsMapTest, EmptyShapeWritesNothing) {
    Open({});
    EXPECT_FALSE(Save(Path("drogi.map"), 1));
    EXPECT_FALSE(fs::exists(Path("drogi.map")));
    EXPECT_FALSE(fs::exists(Path("drogi.cc")));
    EXPECT_EQ(platform::ScreenCursor(), platform::crDefault);
}

TEST_F(SaveAsMapTest, PerFileSettingsOnSkipTheTransferUnlessMode1) {
    OpenLines();
    StandardTable();
    ConversionSettings.BTA = true;
    ConversionSettings.INI = true;
    Save(Path("drogi.map"), 0);
    EXPECT_TRUE(fs::exists(Path("drogi.map")));
    EXPECT_FALSE(fs::exists(Path("map_drogi.dbf")));
    EXPECT_FALSE(fs::exists(Path("drogi.cc")));
    EXPECT_TRUE(ui->Forms().empty());

    server = std::make_unique<TKWZArcView>();
    OpenLines();
    Save(Path("drogi.map"), 1);
    EXPECT_TRUE(fs::exists(Path("map_drogi.dbf")));
    EXPECT_FALSE(fs::exists(Path("drogi.cc")));
    ASSERT_EQ(ui->Forms().size(), 1u);
    EXPECT_EQ(ui->Forms()[0].caption, Cp("Przepisywanie pól DBF do atrybutów"));
}

TEST_F(SaveAsMapTest, PairedFieldsLinkTableAndLinkText) {
    ConversionSettings.RozbijajArc = true;
    OpenLines();
    StandardTable();
    ConversionSettings.BTA = true;
    ui->QueueForm<TFBTA>([](TFBTA& f) {
        EXPECT_EQ(f.ListBox1.Count(), 4);  // the source fields and TPID
        Pair(f, 0, 0);                     // NAZWA -> Atrybut 1
        Pair(f, 3, 1);                     // TPID -> Atrybut 2
        Pair(f, 2, 7);                     // DATA -> DATA
        f.CheckBox1.Click();
        f.Button1.Click();
    });
    Save(Path("drogi.map"), 0);
    EXPECT_TRUE(boxes->Messages().empty());

    EXPECT_EQ(DbfFieldNames(Path("map_drogi.dbf")),
              (std::vector<std::string>{"NAZWA", "NR", "DATA", "TPID"}));
    const auto rows = ReadDbfRows(Path("map_drogi.dbf"));
    ASSERT_EQ(rows.size(), 4u);  // two objects of record 1
    EXPECT_EQ(rows[0], (std::vector<std::string>{"Polna", "12", "20040315", "1"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"Polna", "12", "20040315", "1"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"Lesna", "7", "19991231", "2"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"Krotka", "1", "", "3"}));

    ASSERT_EQ(server->Objects->Count(), 4);
    EXPECT_EQ(Attribute(ObjectAt(1), kAttrA1), "Polna");
    EXPECT_EQ(Attribute(ObjectAt(3), kAttrA1), "Krotka");
    EXPECT_EQ(Attribute(ObjectAt(1), kAttrA2), "1");  // the record number through ATR
    EXPECT_EQ(Attribute(ObjectAt(2), kAttrA2), "2");
    EXPECT_EQ(Attribute(ObjectAt(2), kAttrTX), "@map_drogi.dbf $TPID=$A2");
    EXPECT_EQ(ObjectAt(0).DT, kPacked20040315);
    EXPECT_EQ(ObjectAt(3).DT, 0);
    // The pairs go to the settings file, which takes TXTLink too.
    const std::string cc = ReadText(Path("drogi.cc"));
    EXPECT_NE(cc.find("DBF=NAZWA"), std::string::npos);
    EXPECT_NE(cc.find("TXTLink=1"), std::string::npos);
    EXPECT_NE(ReadText(Path("drogi.map")).find("@map_drogi.dbf $TPID=$A2"), std::string::npos);
}

TEST_F(SaveAsMapTest, SourceTpidKeepsTheFieldListAndGetsTheRecordNumbers) {
    OpenLines();
    WriteDbf(Path("drogi.dbf"), {{"TPID", 'N', 10}, {"OPIS", 'C', 5}},
             {{"77", "a"}, {"77", "b"}, {"77", "c"}});
    Save(Path("drogi.map"), 1);
    EXPECT_EQ(DbfFieldNames(Path("map_drogi.dbf")), (std::vector<std::string>{"TPID", "OPIS"}));
    const auto rows = ReadDbfRows(Path("map_drogi.dbf"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2], (std::vector<std::string>{"3", "c"}));
}

TEST_F(SaveAsMapTest, LowerCaseTpidIsNotTheLinkField) {
    OpenLines();
    WriteDbf(Path("drogi.dbf"), {{"tpid", 'C', 4}}, {{"x"}, {"y"}, {"z"}});
    Save(Path("drogi.map"), 1);
    EXPECT_EQ(DbfFieldNames(Path("map_drogi.dbf")), (std::vector<std::string>{"tpid", "TPID"}));
    EXPECT_EQ(ReadDbfRows(Path("map_drogi.dbf"))[1], (std::vector<std::string>{"y", "2"}));
}

TEST_F(SaveAsMapTest, BatchConfigurationSetsCodePairsAndConstants) {
    OpenLines();
    WriteDbf(Path("drogi.dbf"), {{"OPIS", 'C', 20}, {"DATA", 'C', 10}},
             {{"a\r\nb\nc\rd", "15.03.2004"}, {" \xB9 ", "31.02.2004"}, {"x", "01.01.1975"}});
    AttachBatch(
        "[DEFAULT]\n1=OPIS\n2=STALA\n6=DATA\n"
        "[drogi.shp]\nKOD=123456\nATR=3\nTPIDID=3\nTXTLink=1\n");
    ConversionSettings.BTA = false;
    Save(Path("drogi.map"), 1);
    EXPECT_TRUE(ui->Forms().empty());  // no pairing dialog in batch mode
    EXPECT_TRUE(ConversionSettings.BTA);
    EXPECT_EQ(LinkSettings.KOD.View(), "123456");
    ASSERT_EQ(server->Objects->Count(), 3);
    EXPECT_EQ(ObjectAt(0).Code, "1234");
    EXPECT_EQ(Attribute(ObjectAt(0), kAttrA1), "a b cd");
    EXPECT_EQ(Attribute(ObjectAt(1), kAttrA1), "\x86");  // Windows-1250 to Mazovia
    EXPECT_EQ(Attribute(ObjectAt(2), kAttrA2), "STALA");
    EXPECT_EQ(Attribute(ObjectAt(2), kAttrA3), "3");
    EXPECT_EQ(Attribute(ObjectAt(2), kAttrTX), "@map_drogi.dbf $TPID=$A3");
    EXPECT_EQ(ObjectAt(0).DT, kPacked20040315);
    EXPECT_EQ(ObjectAt(1).DT, 0);  // no date: DT keeps its value
    EXPECT_EQ(ObjectAt(2).DT, 0);  // before 1980: no packed date
    EXPECT_EQ(ReadMap(Path("drogi.map"))[0].code, "1234");
}

TEST_F(SaveAsMapTest, FileNameDialogOnlyOutsideMode1) {
    ConversionSettings.NazwaPlikuSHPMAP = true;
    OpenLines();
    ui->QueueFiles({Path("inna.map")});
    Save(Path("drogi.map"), 0);
    ASSERT_EQ(ui->FileDialogs().size(), 1u);
    const auto& d = ui->FileDialogs()[0];
    EXPECT_EQ(d.title, "Zapis pliku TOPOLIN");
    EXPECT_EQ(d.filter, "Pliki TOPOLIN|*.map");
    EXPECT_EQ(d.fileName, Path("drogi.map"));
    EXPECT_EQ(d.initialDir, Dir().string() + "/");
    EXPECT_EQ(d.options, platform::ofOverwritePrompt | platform::ofPathMustExist);
    EXPECT_TRUE(fs::exists(Path("inna.map")));
    EXPECT_FALSE(fs::exists(Path("drogi.map")));
    EXPECT_EQ(server->FileName, Path("inna.map"));

    server = std::make_unique<TKWZArcView>();
    OpenLines();
    ui->QueueFileDialogCancel();
    Save(Path("drogi.map"), 0);
    EXPECT_FALSE(fs::exists(Path("drogi.map")));
    EXPECT_EQ(platform::ScreenCursor(), platform::crDefault);

    server = std::make_unique<TKWZArcView>();
    OpenLines();
    Save(Path("drogi.map"), 1);
    EXPECT_EQ(ui->FileDialogs().size(), 2u);
    EXPECT_TRUE(fs::exists(Path("drogi.map")));
}

// ---- bad input

TEST_F(SaveAsMapTest, BrokenTableHeaderEndsTheCallAndKeepsTheOldLinkTable) {
    OpenLines();
    StandardTable();
    WriteText(Path("map_drogi.dbf"), "old link table");
    auto bytes = ReadText(Path("drogi.dbf"));
    bytes[8] = '\x7F';  // header length far beyond the file
    bytes[9] = '\x7F';
    WriteText(Path("drogi.dbf"), bytes);
    Save(Path("drogi.map"), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Plik DBF niezgodny ze standardem dBase III+\n\r"
                                                   "Niepoprawna dlugosc naglowka <32639>"});
    EXPECT_EQ(ReadText(Path("map_drogi.dbf")), "old link table");
    EXPECT_FALSE(fs::exists(Path("drogi.map")));
    EXPECT_FALSE(fs::exists(Path("drogi.cc")));
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir()), fs::directory_iterator()), 2);
}

TEST_F(SaveAsMapTest, TruncatedTableIsRefused) {
    OpenLines();
    StandardTable();
    fs::resize_file(Path("drogi.dbf"), 40);
    Save(Path("drogi.map"), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Plik DBF niezgodny ze standardem dBase III+\n\r"
                                                   "Niepoprawna dlugosc naglowka <129>"});
    EXPECT_FALSE(fs::exists(Path("map_drogi.dbf")));
    EXPECT_FALSE(fs::exists(Path("drogi.map")));
}

TEST_F(SaveAsMapTest, FewerRowsThanRecordsLeavesTheLastObjectsWithoutValues) {
    OpenLines();
    StandardTable(2);
    AttachBatch("[DEFAULT]\n1=NAZWA\n");
    Save(Path("drogi.map"), 1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("mniej wierszy (2)"), std::string::npos);
    EXPECT_EQ(Attribute(ObjectAt(1), kAttrA1), "Lesna");
    EXPECT_EQ(Attribute(ObjectAt(2), kAttrA1), "");  // not the last row again
    const auto rows = ReadDbfRows(Path("map_drogi.dbf"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2], (std::vector<std::string>{"", "", "", "3"}));
    EXPECT_TRUE(fs::exists(Path("drogi.map")));
}

TEST_F(SaveAsMapTest, RecordWithoutObjectsDoesNotShiftTheRows) {
    ConversionSettings.RozbijajArc = true;
    std::vector<std::unique_ptr<TSHPRecord>> r;
    r.push_back(PartedRecord(3, {{{0, 0}, {1, 0}}}));
    r.push_back(PartedRecord(3, {}));  // no parts: no object
    r.push_back(PartedRecord(3, {{{0, 2}, {1, 2}}}));
    Open(std::move(r));
    StandardTable();
    AttachBatch("[DEFAULT]\n1=NAZWA\n");
    Save(Path("drogi.map"), 1);
    ASSERT_EQ(server->Objects->Count(), 2);
    EXPECT_EQ(Attribute(ObjectAt(1), kAttrA1), "Krotka");
    EXPECT_EQ(ReadDbfRows(Path("map_drogi.dbf"))[1][3], "3");
}

TEST_F(SaveAsMapTest, NonStandardFieldIsWarnedAboutAndCopied) {
    OpenLines();
    WriteDbf(Path("drogi.dbf"), {{"KOD", 'X', 4}}, {{"ab"}, {"cd"}, {"ef"}});
    Save(Path("drogi.map"), 1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("Plik DBF niezgodny ze standardem dBase III+"), std::string::npos);
    EXPECT_EQ(ReadDbfRows(Path("map_drogi.dbf"))[2], (std::vector<std::string>{"ef", "3"}));
    EXPECT_TRUE(fs::exists(Path("drogi.map")));
}

TEST_F(SaveAsMapTest, OutputFolderThatCannotBeWritten) {
    OpenLines();
    StandardTable();
    const std::string map = Path("brak/drogi.map");
    const std::vector<std::string> said = {"Brak folderu do zapisu pliku MAP: " + Path("brak")};
    Save(map, 1);
    EXPECT_EQ(Messages(), said);
    EXPECT_FALSE(fs::exists(Path("drogi.cc")));

    // Without a table to copy, the same.
    fs::remove(Path("drogi.dbf"));
    boxes->ClearMessages();
    server = std::make_unique<TKWZArcView>();
    OpenLines();
    Save(map, 1);
    EXPECT_EQ(Messages(), said);
    EXPECT_FALSE(fs::exists(Path("brak")));
}

TEST_F(SaveAsMapTest, SettingsFileThatCannotBeWrittenStopsBeforeTheMap) {
    OpenLines();
    fs::create_directory(Path("drogi.cc"));
    Save(Path("drogi.map"), 0);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find(Path("drogi.cc")), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("drogi.map")));
}

TEST_F(SaveAsMapTest, OlderLinkTableIsReplaced) {
    OpenLines();
    StandardTable();
    WriteText(Path("map_drogi.dbf"), "old link table");
    Save(Path("drogi.map"), 1);
    EXPECT_EQ(ReadDbfRows(Path("map_drogi.dbf")).size(), 3u);
    // Nothing but the inputs and the outputs is left in the folder.
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(Dir())) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{"drogi.cc", "drogi.dbf", "drogi.map", "map_drogi.dbf"}));
}

// The MAP file, its link table and its settings file take their places together: a failure at
// any of them, or a read-only MAP file, keeps all three older ones.
TEST_F(SaveAsMapTest, TheMapItsLinkTableAndSettingsFileTakeTheirPlacesTogether) {
    OpenLines();
    StandardTable();
    ASSERT_TRUE(Save(Path("drogi.map"), 1));
    const std::vector<std::string> outputs = {"drogi.map", "map_drogi.dbf", "drogi.cc"};
    auto snapshot = [&] {
        std::vector<std::string> texts;
        for (const std::string& name : outputs) texts.push_back(ReadText(Path(name)));
        return texts;
    };
    const std::vector<std::string> old = snapshot();
    // Each further conversion appends its objects to the map: new files would differ.
    for (const std::string& failing : outputs) {
        boxes->ClearMessages();
        Inject(FailFilesEndingIn(failing));
        EXPECT_FALSE(Save(Path("drogi.map"), 1)) << failing;
        ClearFault();
        EXPECT_EQ(snapshot(), old) << failing;
        EXPECT_EQ(Messages().size(), 1u) << failing;
    }
    boxes->ClearMessages();
    fs::permissions(Path("drogi.map"), fs::perms::owner_read);
    EXPECT_FALSE(Save(Path("drogi.map"), 1));
    EXPECT_EQ(snapshot(), old);
    EXPECT_THAT(Messages(), ::testing::ElementsAre(::testing::HasSubstr(Path("drogi.map"))));
    // A shapefile of which no point is read: no MAP file, so no link table or settings file.
    fs::permissions(Path("drogi.map"), fs::perms::owner_read | fs::perms::owner_write);
    server = std::make_unique<TKWZArcView>();
    std::vector<std::unique_ptr<TSHPRecord>> none;
    none.push_back(MultiPointRecord(8, {}));
    Open(std::move(none));
    EXPECT_FALSE(Save(Path("drogi.map"), 1));
    EXPECT_EQ(snapshot(), old);
}

}  // namespace

namespace {

TEST_F(SaveAsMapTest, LinkTableThatWouldBeTheSourceIsRefused) {
    server->Shape = MakeShape({}, Path("map_drogi.shp"));
    server->Shape->Records->AddRecord(PointRecord(1, 1, 2));
    WriteDbf(Path("map_drogi.dbf"), {{"NAZWA", 'C', 10}}, {{"Polna"}});
    const std::string before = ReadText(Path("map_drogi.dbf"));
    Save(Path("drogi.map"), 1);
    EXPECT_EQ(Messages(), std::vector<std::string>{"Błąd otwarcia pliku " + Path("map_drogi.dbf")});
    EXPECT_EQ(ReadText(Path("map_drogi.dbf")), before);
    EXPECT_FALSE(fs::exists(Path("drogi.map")));
}

TEST_F(SaveAsMapTest, EmptyMapNameIsReported) {
    OpenLines();
    StandardTable();
    Save("", 1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_FALSE(fs::exists(Path("map_.dbf")));
    EXPECT_FALSE(fs::exists(Path("drogi.cc")));
}

// Two conversions into one MAP file: the MAP file and its link table come from one of them,
// when the first is stopped half-way through putting its files in place and when they start 0 to
// 50 ms apart.
TEST_F(SaveAsMapTest, TwoConversionsIntoOneMapLeaveItsFilesFromOneConversion) {
    const std::vector<std::pair<std::string, int>> sources = {{"a", 50}, {"b", 75}};
    for (const auto& [name, count] : sources)
        WriteDbf(Path(name + ".dbf"), {{"NR", 'N', 5}},
                 std::vector<std::vector<std::string>>(static_cast<std::size_t>(count), {"1"}));
    auto convert = [&](bool first, bool stop) {
        return Spawn([&, first, stop] {
            if (stop) Inject(Fault{Fault::Call::Rename, 1, Fault::Action::Stop});
            const auto& [name, count] = sources[first ? 0 : 1];
            server = std::make_unique<TKWZArcView>();
            std::vector<std::unique_ptr<TSHPRecord>> records;
            for (int i = 0; i < count; ++i)
                records.push_back(PartedRecord(3, {{{0, double(i)}, {10, double(i)}}}));
            server->Shape = MakeShape(std::move(records), Path(name + ".shp"));
            ::_exit(Save(Path("wspolna.map"), 1) ? 0 : 1);
        });
    };
    auto expectOneConversion = [&](const std::string& trial) {
        const std::size_t objects = ReadMap(Path("wspolna.map")).size();
        EXPECT_TRUE(objects == 50 || objects == 75) << trial;
        EXPECT_EQ(ReadDbfRows(Path("map_wspolna.dbf")).size(), objects) << trial;
    };
    RaceTwoWriters(
        convert, [] {}, expectOneConversion);
}

}  // namespace

namespace {

// A conversion beside another program that keeps putting new sets of the shapefile in place (20
// points with rows "A", 30 with rows "B"): every MAP file and its link table come from one whole
// set.
TEST_F(SaveAsMapTest, AConversionBesideAWriterReadsOneWholeSet) {
    std::map<std::string, std::string> sets[2];
    for (int v = 0; v < 2; ++v) {
        const std::string mark(1, static_cast<char>('A' + v));
        const int count = v == 0 ? 20 : 30;
        std::vector<std::pair<double, double>> points;
        for (int i = 0; i < count; ++i) points.emplace_back(1000 * (v + 1) + i, i);
        WritePointShapefile(Path(mark + ".shp"), points);
        WriteDbf(Path(mark + ".dbf"), {{"NR", 'C', 1}},
                 std::vector<std::vector<std::string>>(static_cast<std::size_t>(count), {mark}));
        for (const char* ext : {".shp", ".shx", ".dbf"}) sets[v][ext] = ReadText(Path(mark + ext));
    }
    for (const auto& [ext, bytes] : sets[0]) WriteText(Path("x" + ext), bytes);
    const pid_t writer = Spawn([&] {
        for (int round = 0;; ++round) {
            platform::FileSet set;
            for (const auto& [ext, bytes] : sets[round % 2])
                platform::ReplaceFileContents(Path("x" + ext), bytes);
            set.Commit();
            ::usleep(500);
        }
    });
    const struct Stop {
        pid_t writer;
        ~Stop() {
            ::kill(writer, SIGKILL);
            ::waitpid(writer, nullptr, 0);
        }
    } stop{writer};
    for (int round = 0; round < 100; ++round) {
        server = std::make_unique<TKWZArcView>();
        const HostTextHandle shp = StrToGlobal(Path("x.shp"));
        ASSERT_EQ(server->OpenFile(shp), 0);
        platform::GlobalFree(shp);
        ::usleep(static_cast<useconds_t>(round % 4) * 500);  // the writer goes on meanwhile
        ASSERT_TRUE(Save(Path("out.map"), 1)) << round;
        const std::size_t objects = ReadMap(Path("out.map")).size();
        const std::vector<std::vector<std::string>> rows = ReadDbfRows(Path("map_out.dbf"));
        ASSERT_TRUE(objects == 20 || objects == 30) << round;
        EXPECT_EQ(rows.size(), objects) << round;
        for (const auto& row : rows) EXPECT_EQ(row.front(), objects == 20 ? "A" : "B") << round;
        std::filesystem::remove(Path("out.map"));
    }
}

}  // namespace
