// Damaged files: every fault is a message and an orderly load, never a crash, a hang or a huge
// allocation.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "RawShapefile.h"
#include "ShapeTestUtil.h"
#include "platform/DbfTable.h"
#include "shape/BatchConfig.h"
#include "shape/DBaseFile.h"
#include "shape/ProgressFormShared.h"
#include "tests/platform/DamagedAccess.h"

using namespace shapetest;

namespace {

const std::string kFixIt =
    "\n\rProszę usunąć błąd w danych źródłowych !!!\n\rDane wynikowe moga nie być poprawne !!!";

std::string ReadError(int n) {
    return "Błąd odczytu rekordu numer " + std::to_string(n) + kFixIt;
}

// The one message of a load in which `count` records could not be read.
std::string ReadErrors(int count, int first) {
    return "Błąd odczytu " + std::to_string(count) + " rekordów, pierwszy numer " +
           std::to_string(first) + kFixIt;
}

// Loads and returns the messages shown.
std::vector<std::string> Load(const RawShapefile& raw, TShape& shape, std::int32_t expected = 0) {
    TempDir dir;
    raw.Save(dir.Path("bad.shp"));
    QuietUi();
    EXPECT_EQ(shape.LoadShapeFile(dir.Path("bad.shp")), expected);
    EXPECT_EQ(ProgressNesting(), 0);
    return MessageTexts();
}

std::vector<std::uint8_t> Line(std::int32_t parts, std::int32_t points,
                               const std::vector<std::int32_t>& starts, int pointsWritten) {
    Content c;
    c.I(3).Box().I(parts).I(points);
    for (std::int32_t s : starts) c.I(s);
    for (int i = 0; i < pointsWritten; ++i) c.D(i).D(i);
    return c.bytes;
}

}  // namespace

TEST(BadInput, CountsLargerThanTheFileAreAFailedRecordNotAnAllocation) {
    RawShapefile raw(3);
    raw.Add(Line(1, 2, {0}, 2));
    raw.Add(Line(1, 0x7FFFFFFF, {0}, 2));  // 32 GiB of points announced
    raw.Add(Line(0x7FFFFFF0, 2, {}, 0));   // 8 GiB of part starts
    raw.Add(Line(-1, 2, {}, 0));
    raw.Add(Content().I(8).Box().I(0x40000000).bytes);
    raw.Add(Line(1, 2, {0}, 2));
    TShape shape;
    const auto texts = Load(raw, shape);
    EXPECT_EQ(texts, (std::vector<std::string>{ReadErrors(4, 2), "Błędny typ rekordu !"}));
    ASSERT_EQ(shape.Records->Count(), 6);
    // The failed records keep an empty geometry whose counts and arrays agree.
    auto* second = static_cast<TSHPArcRecord*>(
        static_cast<TSHPRecord*>(shape.Records->FirstRecord()->GetNext())->Geometry.get());
    EXPECT_EQ(second->NumPoints, 0);
    EXPECT_EQ(second->NumParts, 0);
    EXPECT_EQ(second->Parts.size(), 1u);
    EXPECT_EQ(
        static_cast<TSHPArcRecord*>(static_cast<TSHPRecord*>(shape.Records->Last())->Geometry.get())
            ->NumPoints,
        2);
}

TEST(BadInput, PartStartsOutsideThePointsOrOutOfOrderAreRejected) {
    RawShapefile raw(3);
    raw.Add(Line(2, 4, {0, 2}, 4));
    raw.Add(Line(2, 4, {0, 4}, 4));  // start past the last point
    raw.Add(Line(2, 4, {2, 1}, 4));  // descending
    raw.Add(Line(2, 4, {0, 0}, 4));  // repeated
    raw.Add(Line(1, 4, {-1}, 4));    // negative
    raw.Add(Line(1, 0, {0}, 0));     // an empty line may announce one part at 0
    TShape shape;
    const auto texts = Load(raw, shape);
    EXPECT_EQ(texts, (std::vector<std::string>{ReadErrors(4, 2), "Obiekt ARC bez punktów"}));
    // Nothing read from the damaged records reaches drawing or the winding test.
    const platform::HDC dc = platform::CreateRecordingDC();
    {
        platform::TCanvas canvas(dc);
        for (TSHPRecord* r = shape.Records->FirstRecord(); r != nullptr;
             r = static_cast<TSHPRecord*>(r->GetNext())) {
            r->DrawShapeRecord(canvas, {0, 0, 10, 10}, "{", {0, 0, 100, 100});
            EXPECT_FALSE(r->Shape()->HitTest(100, 100, 1));
        }
    }
    platform::DeleteDC(dc);
}

TEST(BadInput, BuilderPartsOutsideThePointsAreHeldByEveryWalk) {
    // A geometry filled in code with inconsistent parts: the walks clamp instead of reading out.
    TSHPPolygonRecord polygon;
    polygon.Resize(3, 4);
    polygon.Points = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    polygon.Parts = {0, 7, -3, 4};
    EXPECT_TRUE(polygon.ContainsPoint(1, 1));
    polygon.NumParts = 10;  // more than Parts holds
    polygon.NumPoints = 50;
    EXPECT_TRUE(polygon.ContainsPoint(1, 1));
    EXPECT_TRUE(polygon.HitTest(1, 1, 0));
    const platform::HDC dc = platform::CreateRecordingDC();
    {
        platform::TCanvas canvas(dc);
        polygon.DrawGeometry(canvas, {0, 0, 10, 10}, "{", {0, 0, 100, 100});
        TSHPArcRecord line;
        line.Resize(2, 2);
        line.Parts = {5, -1, 2};
        line.DrawGeometry(canvas, {0, 0, 10, 10}, "{", {0, 0, 100, 100});
    }
    platform::DeleteDC(dc);
}

TEST(BadInput, IndexEntriesAreReadWhereTheyPointAndNeverShareBytes) {
    RawShapefile raw(1);
    raw.Add(Content().I(1).D(1).D(2).bytes);  // at word 50
    raw.Add(Content().I(1).D(3).D(4).bytes);  // at word 64
    raw.Add(Content().I(1).D(5).D(6).bytes);  // at word 78
    raw.shx.resize(100);
    raw.Index(78);          // the last record first
    raw.Index(1000000);     // beyond the end
    raw.Index(-5);          // negative
    raw.Index(0x7FFFFFFF);  // an offset that overflows 32 bits when doubled
    raw.Index(50);
    raw.Index(50);  // the first record again
    raw.Index(64);
    TShape shape;
    EXPECT_EQ(Load(raw, shape), std::vector<std::string>{ReadErrors(4, 2)});
    ASSERT_EQ(shape.Records->Count(), 7);
    std::vector<double> xs;
    std::vector<std::int32_t> types;
    for (TSHPRecord* r = shape.Records->FirstRecord(); r != nullptr;
         r = static_cast<TSHPRecord*>(r->GetNext())) {
        types.push_back(r->ShapeType);
        if (auto* p = dynamic_cast<TSHPPointRecord*>(r->Geometry.get())) xs.push_back(p->X);
    }
    EXPECT_EQ(xs, (std::vector<double>{5, 1, 3}));
    // An entry that names no record keeps its place, and gives no null shape.
    EXPECT_EQ(types, (std::vector<std::int32_t>{1, -1, -1, -1, 1, -1, 1}));

    // Many entries pointing at one big record: it is read once, and refused after.
    RawShapefile big(3);
    big.Add(Line(1, 1000, {0}, 1000));
    big.Add(Line(1, 2, {0}, 2));
    const std::vector<std::uint8_t> last(big.shx.end() - 8, big.shx.end());
    big.shx.resize(big.shx.size() - 8);
    for (int i = 0; i < 200; ++i) big.Index(50);
    big.shx.insert(big.shx.end(), last.begin(), last.end());
    TShape many;
    EXPECT_EQ(Load(big, many), std::vector<std::string>{ReadErrors(200, 2)});
    EXPECT_EQ(many.Records->Count(), 202);
}

TEST(BadInput, TruncatedFilesAndShortHeaders) {
    TempDir dir;
    QuietUi();
    // A record cut short at the end of the file.
    RawShapefile raw(5);
    raw.Add(Content().I(5).Box().I(1).I(5).I(0).D(0).D(0).bytes);
    raw.Save(dir.Path("cut.shp"));
    TShape shape;
    EXPECT_EQ(shape.LoadShapeFile(dir.Path("cut.shp")), 0);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{ReadError(1)});

    // Headers shorter than 100 bytes.
    QuietUi();
    WriteBytes(dir.Path("short.shp"), std::vector<std::uint8_t>(60, 0));
    WriteBytes(dir.Path("short.shx"), raw.shx);
    TShape s2;
    EXPECT_EQ(s2.LoadShapeFile(dir.Path("short.shp")), kShapeWrongVersion);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("Niepoprawny nagłówek pliku"), std::string::npos);
    QuietUi();
    WriteBytes(dir.Path("shortx.shp"), raw.shp);
    WriteBytes(dir.Path("shortx.shx"), std::vector<std::uint8_t>(10, 0));
    TShape s3;
    EXPECT_EQ(s3.LoadShapeFile(dir.Path("shortx.shp")), kShapeWrongVersion);
    EXPECT_NE(MessageTexts().at(0).find("shortx.shx"), std::string::npos);

    // A header whose file length disagrees with the real size: the real size counts.
    QuietUi();
    RawShapefile lying(1);
    lying.Add(Content().I(1).D(1).D(2).bytes);
    lying.Add(Content().I(1).D(3).D(4).bytes);
    lying.Save(dir.Path("lying.shp"));
    auto bytes = ReadBytes(dir.Path("lying.shp"));
    PutBE32(bytes.data() + 24, 1000000);
    WriteBytes(dir.Path("lying.shp"), bytes);
    TShape s4;
    EXPECT_EQ(s4.LoadShapeFile(dir.Path("lying.shp")), 0);
    EXPECT_EQ(s4.Records->Count(), 2);
    EXPECT_TRUE(MessageTexts().empty());
}

TEST(BadInput, ZRecordsWithoutMeasuresReadTheirOwnBytesOnly) {
    // Other writers leave the optional measures out; the record length tells.
    RawShapefile raw(13);
    Content c;
    c.I(13).Box().I(1).I(2).I(0).D(1).D(2).D(3).D(4).D(10).D(20).D(10).D(20);
    raw.Add(c.bytes);
    raw.Add(c.bytes);
    TShape shape;
    EXPECT_TRUE(Load(raw, shape).empty());
    ASSERT_EQ(shape.Records->Count(), 2);
    auto* second = static_cast<TSHPPolyLineZRecord*>(
        static_cast<TSHPRecord*>(shape.Records->Last())->Geometry.get());
    EXPECT_EQ(second->ZValues, (std::vector<double>{10, 20}));
    EXPECT_LT(second->MValues[0], -1e38);
    EXPECT_LT(second->MMin, -1e38);
}

// ---- Broken files as mapping offices receive them from others: each gives its messages once,
// in a folder of its own ("@" stands for it), and the result shown.

namespace {

// A point file of `count` records, point i at (i, i).
RawShapefile Points(int count) {
    RawShapefile raw(1);
    for (int i = 1; i <= count; ++i) raw.Add(Content().I(1).D(i).D(i).bytes);
    return raw;
}

// The index entries of a file, as they stand.
std::vector<std::vector<std::uint8_t>> Entries(const RawShapefile& raw) {
    std::vector<std::vector<std::uint8_t>> entries;
    for (std::size_t at = 100; at + 8 <= raw.shx.size(); at += 8)
        entries.emplace_back(raw.shx.begin() + static_cast<std::ptrdiff_t>(at),
                             raw.shx.begin() + static_cast<std::ptrdiff_t>(at) + 8);
    return entries;
}

void SetEntries(RawShapefile& raw, const std::vector<std::vector<std::uint8_t>>& entries) {
    raw.shx.resize(100);
    for (const auto& e : entries) raw.shx.insert(raw.shx.end(), e.begin(), e.end());
}

// The load result, the records lost of those the files hold, then each record's first X ("-" for
// none).
std::string LoadSummary(const std::string& shp) {
    TShape shape;
    std::string summary = std::to_string(shape.LoadShapeFile(shp));
    summary += ", lost " + std::to_string(shape.LoadCount.Lost) + " of " +
               std::to_string(shape.LoadCount.Held) + ":";
    for (TSHPRecord* r = shape.Records->FirstRecord(); r != nullptr;
         r = static_cast<TSHPRecord*>(r->GetNext())) {
        double x = 0, y = 0;
        TSHPShapeGeometry* g = r->Shape();
        const bool has = g != nullptr && g->First() && g->GetVertex(x, y);
        summary += ' ';
        summary += has ? std::to_string(static_cast<int>(x)) : std::string("-");
    }
    return summary;
}

std::string Saved(const TempDir& dir, const RawShapefile& raw) {
    raw.Save(dir.Path("a.shp"));
    return dir.Path("a.shp");
}

// A dBase table of one 10-character field NUMER and two rows, its header changed as given.
std::string Table(const TempDir& dir, std::size_t at, std::uint8_t value) {
    auto table = TSimpleDBFile::CreateNew(dir.Path("a.dbf"), 3, 1, 0, 10);
    table->AddField("NUMER", 'C', 10, 0);
    table.reset();
    auto bytes = ReadBytes(dir.Path("a.dbf"));
    bytes.pop_back();  // the end-of-file mark: the rows go there
    bytes[4] = 2;
    for (const std::string row : {"  1        ", "  2        "})  // deletion flag and NUMER
        bytes.insert(bytes.end(), row.begin(), row.end());
    bytes[at] = value;
    WriteBytes(dir.Path("a.dbf"), bytes);
    return TSimpleDBFile::CheckHeader(dir.Path("a.dbf")) ? "accepted" : "refused";
}

std::string Configuration(const TempDir& dir, const std::string& bytes) {
    WriteBytes(dir.Path("wsad.ini"), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    TBatchConfig config(dir.Path("wsad.ini"));
    config.ReadFieldRules("1000");
    return config.NoFile() && config.Rules().size() == 7 ? "defaults" : "read";
}

// The external table of a configuration in a damaged database: the connection result, then what
// two objects get from it.
std::string External(const TempDir& dir, AccessDamage damage) {
    const std::string database = WriteDamagedDatabase(dir.Path("baza.mdb"), damage);
    const std::string ini = "[1000]\r\n!EXTERNALTABLE=" + database + "!DateTest!IDCol=$A1\r\n";
    WriteBytes(dir.Path("wsad.ini"), std::vector<std::uint8_t>(ini.begin(), ini.end()));
    TBatchConfig config(dir.Path("wsad.ini"));
    config.ReadFieldRules("1000");
    const std::int32_t connected = config.ConnectExternalTable();
    const std::string first = config.LookupExternal({"1", "", "", "", "", ""}, "");
    const std::string second = config.LookupExternal({"2", "", "", "", "", ""}, "");
    return std::to_string(connected) + " [" + first + "] [" + second + "]";
}

const std::string kMismatch =
    "Indeks @/a.shx nie zgadza się z plikiem shp !\n\rDane wynikowe moga "
    "nie być poprawne !!!";

std::string Unnamed(const std::string& text, const std::string& dir) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(dir); at != std::string::npos; at = text.find(dir, from)) {
        out += text.substr(from, at - from) + "@";
        from = at + dir.size();
    }
    return out + text.substr(from);
}

}  // namespace

TEST(BadInput, EveryBrokenFileIsToldOnceAndReadNoFurtherThanItHolds) {
    struct Case {
        const char* file;
        std::function<std::string(const TempDir&)> read;
        std::string result;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"an index of 3 million entries for 1000 records: no more are read than the .shp holds",
         [](const TempDir& dir) {
             RawShapefile raw = Points(1000);
             for (int i = 0; i < 2999000; ++i) raw.Index(50);
             TShape shape;
             const std::int32_t result = shape.LoadShapeFile(Saved(dir, raw));
             return std::to_string(result) + ", " + std::to_string(shape.Records->Count()) +
                    ", lost " + std::to_string(shape.LoadCount.Lost) + " of " +
                    std::to_string(shape.LoadCount.Held);
         },
         "0, 2333, lost 2999000 of 3000000",
         {kMismatch, ReadErrors(1333, 1001)}},
        {"an index of 1000 entries all pointing outside the file",
         [](const TempDir& dir) {
             RawShapefile raw = Points(1000);
             raw.shx.resize(100);
             for (int i = 0; i < 1000; ++i) raw.Index(0x40000000);
             TShape shape;
             const std::int32_t result = shape.LoadShapeFile(Saved(dir, raw));
             return std::to_string(result) + ", " + std::to_string(shape.Records->Count());
         },
         "0, 1000",
         {ReadErrors(1000, 1)}},
        {"a record grown in place and written again at the end, its old bytes left",
         [](const TempDir& dir) {
             RawShapefile raw(3);
             raw.Add(Line(1, 2, {0}, 2));
             raw.Add(Content().I(3).Box().I(1).I(2).I(0).D(20).D(0).D(21).D(1).bytes);
             raw.Add(Content().I(3).Box().I(1).I(2).I(0).D(30).D(0).D(31).D(1).bytes);
             raw.Add(Content().I(3).Box().I(1).I(3).I(0).D(10).D(0).D(11).D(1).D(12).D(2).bytes);
             auto e = Entries(raw);
             SetEntries(raw, {e[3], e[1], e[2]});
             return LoadSummary(Saved(dir, raw));
         },
         "0, lost 0 of 3: 10 20 30",
         {}},
        {"an index cut short",
         [](const TempDir& dir) {
             const std::string shp = Saved(dir, Points(10));
             std::filesystem::resize_file(dir.Path("a.shx"), 100 + 6 * 8 + 3);
             return LoadSummary(shp);
         },
         "0, lost 4 of 10: 1 2 3 4 5 6",
         {kMismatch}},
        {"1 to 6 zero bytes of padding past the file length the header gives",
         [](const TempDir& dir) {
             std::string summaries;
             for (std::size_t padding = 1; padding <= 6; ++padding) {
                 const std::string shp = Saved(dir, Points(3));
                 std::vector<std::uint8_t> bytes = ReadBytes(shp);
                 bytes.resize(bytes.size() + padding, 0);
                 WriteBytes(shp, bytes);
                 summaries += LoadSummary(shp) + ";";
             }
             return summaries;
         },
         "0, lost 0 of 3: 1 2 3;0, lost 0 of 3: 1 2 3;0, lost 0 of 3: 1 2 3;"
         "0, lost 0 of 3: 1 2 3;0, lost 0 of 3: 1 2 3;0, lost 0 of 3: 1 2 3;",
         {}},
        {"an index reversed",
         [](const TempDir& dir) {
             RawShapefile raw = Points(3);
             auto e = Entries(raw);
             std::reverse(e.begin(), e.end());
             SetEntries(raw, e);
             return LoadSummary(Saved(dir, raw));
         },
         "0, lost 0 of 3: 3 2 1",
         {}},
        {"an index halved, its header made to agree",
         [](const TempDir& dir) {
             RawShapefile raw = Points(10);
             raw.shx.resize(100 + 5 * 8);
             return LoadSummary(Saved(dir, raw));
         },
         "0, lost 5 of 10: 1 2 3 4 5",
         {kMismatch}},
        {"an index of one entry repeated",
         [](const TempDir& dir) {
             RawShapefile raw(3);
             raw.Add(Line(1, 10, {0}, 10));
             for (int i = 0; i < 3; ++i) raw.Index(50);
             return LoadSummary(Saved(dir, raw));
         },
         "0, lost 3 of 4: 0 - - -",
         {ReadErrors(3, 2)}},
        {"a record of a type without a layout and an entry outside the file",
         [](const TempDir& dir) {
             RawShapefile raw = Points(1);
             raw.Add(Content().I(99).D(2).D(2).bytes);
             raw.Add(Content().I(1).D(3).D(3).bytes);
             raw.Index(0x40000000);
             return LoadSummary(Saved(dir, raw));
         },
         "0, lost 2 of 4: 1 - 3 -",
         {ReadError(4), "Błędny typ rekordu !"}},
        {"a PolyLineM whose records carry more values than its layout, after the measures",
         [](const TempDir& dir) {
             RawShapefile raw(23);
             for (int r = 0; r < 2; ++r) {
                 Content c;
                 c.I(23).Box().I(1).I(20).I(0);
                 for (int i = 0; i < 20; ++i) c.D(r).D(i);
                 for (int i = 0; i < 2 + 20; ++i) c.D(i);  // the measures
                 for (int i = 0; i < 22; ++i) c.D(-1);     // what another writer adds
                 raw.Add(c.bytes);
             }
             return LoadSummary(Saved(dir, raw));
         },
         "0, lost 0 of 2: 0 1",
         {}},
        {"a polygon file of null records, saved and loaded again",
         [](const TempDir& dir) {
             RawShapefile raw(5);
             for (int i = 0; i < 3; ++i) raw.Add(Content().I(0).bytes);
             TShape shape;
             shape.LoadShapeFile(Saved(dir, raw));
             TShape::SaveShapeAs(&shape, dir.Path("b.shp"));
             TShape again;
             const std::int32_t result = again.LoadShapeFile(dir.Path("b.shp"));
             return std::to_string(result) + ", type " + std::to_string(again.HeaderShapeType());
         },
         "0, type 5",
         {"Błędny typ 3 rekordów !", "Błędny typ 3 rekordów !"}},
        {"a sound dBase table, for comparison",
         [](const TempDir& dir) { return Table(dir, 0, 3); },
         "accepted",
         {}},
        {"a shapefile and its table that are pipes nobody writes to",
         [](const TempDir& dir) {
             for (const char* name : {"a.shp", "a.dbf"}) ::mkfifo(dir.Path(name).c_str(), 0600);
             TShape shape;
             platform::DbfTable table;
             try {
                 table.Open(dir.Path("a.dbf"), platform::DbfTable::Mode::ReadShared);
             } catch (const platform::DbfError&) {
                 return std::to_string(shape.LoadShapeFile(dir.Path("a.shp"))) + ", refused";
             }
             return std::string("opened");
         },
         std::to_string(kShapeFileMissing) + ", refused",
         {"Plik @/a.shp nie jest zwykłym plikiem: nie wczytano go"}},
        {"a dBase header length of 33 before a field descriptor",
         [](const TempDir& dir) { return Table(dir, 8, 33); },
         "refused",
         {"Plik DBF niezgodny ze standardem dBase III+\n\rNiepoprawna dlugosc naglowka <33>"}},
        {"a dBase record length shorter than its fields",
         [](const TempDir& dir) { return Table(dir, 10, 5); },
         "refused",
         {"Plik DBF niezgodny ze standardem dBase III+\n\rNiepoprawna dlugosc rekordu <5>"}},
        {"a dBase record count beyond the file",
         [](const TempDir& dir) { return Table(dir, 4, 3); },
         "refused",
         {"Plik DBF niezgodny ze standardem dBase III+\n\rNiepoprawna liczba rekordow <3>"}},
        {"a batch configuration of random bytes",
         [](const TempDir& dir) {
             std::string bytes;
             for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919 + 13) % 251);
             return Configuration(dir, bytes);
         },
         "defaults",
         {"Plik konfiguracji @/wsad.ini nie jest plikiem tekstowym - przyjęto ustawienia "
          "domyślne"}},
        {"a batch configuration of NUL bytes",
         [](const TempDir& dir) { return Configuration(dir, std::string(1000, '\0')); },
         "defaults",
         {"Plik konfiguracji @/wsad.ini nie jest plikiem tekstowym - przyjęto ustawienia "
          "domyślne"}},
        {"a batch configuration above 1 MB",
         [](const TempDir& dir) {
             std::string text = "[1000]\r\n";
             while (text.size() <= (1u << 20)) text += "POLE=!C10:0$A1\r\n";
             return Configuration(dir, text);
         },
         "defaults",
         {"Plik konfiguracji @/wsad.ini jest za duży (ponad 1 MB) - przyjęto ustawienia "
          "domyślne"}},
        {"a batch configuration that is a pipe nobody writes to",
         [](const TempDir& dir) {
             ::mkfifo(dir.Path("wsad.ini").c_str(), 0600);
             return TBatchConfig(dir.Path("wsad.ini")).NoFile() ? "defaults" : "read";
         },
         "defaults",
         {"Plik konfiguracji @/wsad.ini nie jest zwykłym plikiem - przyjęto ustawienia "
          "domyślne"}},
        {"an external database without a usage map in its catalogue",
         [](const TempDir& dir) { return External(dir, AccessDamage::Crash); },
         "-1 [] []",
         {"Blad polaczenia @/baza.mdb"}},
        {"an external database with a damaged property block",
         [](const TempDir& dir) { return External(dir, AccessDamage::EndlessMemory); },
         "-1 [] []",
         {"Blad polaczenia @/baza.mdb"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        TempDir dir;
        QuietUi();
        EXPECT_EQ(c.read(dir), c.result);
        std::vector<std::string> messages;
        for (const std::string& m : MessageTexts())
            messages.push_back(Unnamed(m, dir.Dir().string()));
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(ProgressNesting(), 0);
    }
}
