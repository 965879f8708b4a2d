// Loading with its result codes and messages, saving, the walks and the circular searches.
#include <gtest/gtest.h>

#include "RawShapefile.h"
#include "ShapeTestUtil.h"
#include "shape/ProgressFormShared.h"

using namespace shapetest;

namespace {

std::vector<std::uint8_t> PointContent(std::int32_t type, double x, double y) {
    return Content().I(type).D(x).D(y).bytes;
}

}  // namespace

TEST(ShapeFile, ResultCodesForMissingFilesTypesAndVersions) {
    TempDir dir;
    QuietUi();
    TShape shape;
    EXPECT_EQ(shape.LoadShapeFile(dir.Path("missing.shp")), kShapeFileMissing);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_EQ(shape.State, 0);

    RawShapefile nullType(0);
    nullType.Add(Content().I(0).bytes);
    nullType.Save(dir.Path("t0.shp"));
    EXPECT_EQ(shape.LoadShapeFile(dir.Path("t0.shp")), kShapeUnsupportedType);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Nieobslugiwany typ danych 0 !"});
    EXPECT_EQ(GetBE32(shape.Header.data()), 9994);  // the bytes as read
    EXPECT_EQ(shape.Records->Count(), 0);

    QuietUi();
    RawShapefile badVersion(1, 999);
    badVersion.Add(PointContent(1, 1, 2));
    badVersion.Save(dir.Path("v.shp"));
    EXPECT_EQ(shape.LoadShapeFile(dir.Path("v.shp")), kShapeWrongVersion);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Nieobsługiwana wersja 999 pliku " +
                                                       dir.Path("v.shp") + " !"});
    EXPECT_EQ(shape.Records->Count(), 0);

    QuietUi();
    // Without its index the load stops at once, with a message naming the index.
    RawShapefile good(1);
    good.Add(PointContent(1, 1, 2));
    good.Save(dir.Path("noindex.shp"));
    std::filesystem::remove(dir.Path("noindex.shx"));
    EXPECT_EQ(shape.LoadShapeFile(dir.Path("noindex.shp")), kShapeFileMissing);
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("Brak pliku indeksu"), std::string::npos);
    EXPECT_EQ(shape.Records->Count(), 0);
    EXPECT_EQ(ProgressNesting(), 0);
}

TEST(ShapeFile, LoadKeepsEveryIndexedRecordAndStopsWithTheIndex) {
    TempDir dir;
    QuietUi();
    RawShapefile raw(1);
    raw.Add(PointContent(1, 1, 2));
    raw.Add(Content().I(0).bytes);        // a null record: another type than the file's
    raw.Add(PointContent(8, 0, 0));       // an unsupported... no: a multipoint header
    raw.Add(Content().I(77).D(1).bytes);  // a type without a layout
    raw.Add(PointContent(1, 5, 6));
    raw.shx.resize(raw.shx.size() - 8);  // the index misses the last record
    raw.Save(dir.Path("a.shp"));
    TShape shape;
    ASSERT_EQ(TShape::OpenShape(&shape, dir.Path("a.shp")), 0);
    EXPECT_EQ(shape.State, 1);
    EXPECT_EQ(shape.FileName, dir.Path("a.shp"));
    ASSERT_EQ(shape.Records->Count(), 4);
    TSHPRecord* r = shape.Records->FirstRecord();
    EXPECT_EQ(r->RecordNumber, 1);  // native after reading
    EXPECT_EQ(r->ContentLength, 10);
    EXPECT_EQ(static_cast<TSHPPointRecord*>(r->Geometry.get())->Y, 2);
    r = static_cast<TSHPRecord*>(r->GetNext());
    EXPECT_EQ(r->ShapeType, 0);
    r = static_cast<TSHPRecord*>(r->GetNext());
    EXPECT_EQ(r->ShapeType, 8);  // cut short: read failure, record kept
    r = static_cast<TSHPRecord*>(r->GetNext());
    EXPECT_EQ(r->ShapeType, 77);
    EXPECT_EQ(r->Geometry, nullptr);
    // Each fault is told once for the whole load; the record the index misses makes it a
    // mismatch of the two files.
    EXPECT_EQ(MessageTexts(),
              (std::vector<std::string>{
                  "Indeks " + dir.Path("a.shx") +
                      " nie zgadza się z plikiem shp !\n\rDane wynikowe moga nie być poprawne !!!",
                  "Błąd odczytu rekordu numer 3\n\rProszę usunąć błąd w danych źródłowych !!!\n\r"
                  "Dane wynikowe moga nie być poprawne !!!",
                  "Błędny typ 3 rekordów !"}));
    EXPECT_EQ(ProgressNesting(), 0);
}

TEST(ShapeFile, LoadingInsideAnotherOperationReusesItsProgressWindow) {
    TempDir dir;
    QuietUi();
    RawShapefile raw(1);
    raw.Add(PointContent(1, 1, 2));
    raw.Save(dir.Path("p.shp"));
    ProgressOpen(0, 10, 1, "outer");
    ProgressShow();
    const TFProgressFormShared* outer = ProgressForm();
    TShape shape;
    ASSERT_EQ(shape.LoadShapeFile(dir.Path("p.shp")), 0);
    ASSERT_EQ(ProgressForm(), outer);
    EXPECT_EQ(ProgressNesting(), 1);
    const auto& state = outer->Window.State();
    EXPECT_EQ(state.caption, "Odczyt pliku");
    EXPECT_EQ(state.max, 128);
    EXPECT_FALSE(state.visible);
    EXPECT_EQ(state.cursor, platform::crDefault);
    ProgressClose();
    EXPECT_EQ(ProgressForm(), nullptr);
}

TEST(ShapeFile, FindObjectAtCirclesThroughOverlappingPolygons) {
    TempDir dir;
    QuietUi();
    TShape made;
    made.Records->AddRecord(MakePolygon({{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}}));
    made.Records->AddRecord(MakePolygon({{{5, 5}, {15, 5}, {15, 15}, {5, 15}, {5, 5}}}));
    made.Records->AddRecord(MakeRecord(1, 1, 1, 0));
    made.RebuildHeader();
    made.SaveShapeFile(dir.Path("o.shp"));
    TShape shape;
    ASSERT_EQ(shape.LoadShapeFile(dir.Path("o.shp")), 0);
    TSHPRecords& records = *shape.Records;
    EXPECT_EQ(records.MarkedIndex(), 0);
    ASSERT_TRUE(records.FindObjectAt(7, 7, 0));
    EXPECT_EQ(records.MarkedIndex(), 1);
    ASSERT_TRUE(records.FindObjectAt(7, 7, 0));
    EXPECT_EQ(records.MarkedIndex(), 2);
    ASSERT_TRUE(records.FindObjectAt(7, 7, 0));
    EXPECT_EQ(records.MarkedIndex(), 1);
    EXPECT_FALSE(records.FindObjectAt(100, 100, 0));
    EXPECT_EQ(records.MarkedValid(), 0);
    EXPECT_EQ(records.MarkedIndex(), 0);

    // Snapping finds the point record (N 2000.25, E 1000.5) and leaves Marked where it started.
    double n = 0, e = 0;
    ASSERT_TRUE(records.SnapToVertex(n, e, 2000, 1000, 1));
    EXPECT_EQ(n, 2000.25);
    EXPECT_EQ(e, 1000.5);
    EXPECT_EQ(records.CurrentRecord(), records.Last());
    ASSERT_TRUE(records.SnapToVertex(n, e, 2000, 1000, 1));
    EXPECT_EQ(records.CurrentRecord(), records.Last());
    EXPECT_EQ(records.MarkedRecord(), records.FirstRecord());
    EXPECT_FALSE(records.SnapToVertex(n, e, -50, -50, 1));

    TSHPRecords none;
    EXPECT_FALSE(none.FindObjectAt(0, 0, 1));
    EXPECT_FALSE(none.SnapToVertex(n, e, 0, 0, 1));
}

TEST(ShapeFile, VertexWalkSkipsNullRecordsAndRewritesEveryPoint) {
    TShape shape;
    shape.Records->AddRecord(MakeRecord(1, 1, 1, 0));
    shape.Records->AddRecord(MakeRecord(0, 0, 0, 0));
    shape.Records->AddRecord(MakeRecord(1, 1, 1, 1));
    shape.Records->AddRecord(MakeRecord(3, 2, 2, 0));
    std::vector<double> xs;
    int nullSteps = 0;
    ASSERT_TRUE(shape.GoFirstVertex());
    do {
        double x = 0, y = 0;
        if (shape.GetCurrentVertex(x, y)) {
            xs.push_back(x);
            EXPECT_TRUE(shape.SetCurrentVertex(x + 1, y));
        } else {
            ++nullSteps;
            EXPECT_EQ(x, 0);
            EXPECT_TRUE(shape.SetCurrentVertex(1, 1));  // true for a null record
        }
    } while (shape.NextVertex());
    EXPECT_EQ(xs.size(), 2u + 4);
    EXPECT_EQ(nullSteps, 1);
    EXPECT_EQ(xs[0], 1000.5);
    EXPECT_EQ(xs[1], 1001.5);
    EXPECT_EQ(static_cast<TSHPPointRecord*>(shape.Records->FirstRecord()->Geometry.get())->X,
              1001.5);
    EXPECT_EQ(shape.Records->CurrentRecord(), shape.Records->Last());

    TSHPRecords empty;
    EXPECT_TRUE(empty.GoFirstVertex());
    EXPECT_FALSE(empty.NextVertex());
    double x = 5, y = 5;
    EXPECT_FALSE(empty.GetCurrentVertex(x, y));
    EXPECT_FALSE(empty.SetCurrentVertex(x, y));
}

TEST(ShapeFile, SaveAsOfATransformedShapeTakesTheAttributeTableAlong) {
    TempDir dir;
    QuietUi();
    TShape shape;
    shape.Records->AddRecord(MakeRecord(1, 1, 1, 0));
    shape.FileName = dir.Path("src.shp");
    WriteBytes(dir.Path("src.dbf"), {3, 1, 2, 3});
    WriteBytes(dir.Path("dst.dbf"), {9});
    EXPECT_EQ(TShape::SaveShapeAs(&shape, dir.Path("dst.shp")), 0);
    EXPECT_EQ(ReadBytes(dir.Path("dst.dbf")), std::vector<std::uint8_t>{9});
    shape.State = 3;
    EXPECT_EQ(TShape::SaveShapeAs(&shape, dir.Path("dst.shp")), 0);
    EXPECT_EQ(ReadBytes(dir.Path("dst.dbf")), (std::vector<std::uint8_t>{3, 1, 2, 3}));
    EXPECT_EQ(shape.FileName, dir.Path("src.shp"));
    EXPECT_TRUE(std::filesystem::exists(dir.Path("dst.shx")));
}

TEST(ShapeFile, SavingAfterLoadingLaysTheRecordsOutFirst) {
    TempDir dir;
    QuietUi();
    TShape made;
    for (int i = 0; i < 3; ++i) made.Records->AddRecord(MakeRecord(13, 2, 3, i));
    made.RebuildHeader();
    made.SaveShapeFile(dir.Path("a.shp"));
    TShape shape;
    ASSERT_EQ(shape.LoadShapeFile(dir.Path("a.shp")), 0);
    shape.SaveShapeFile(dir.Path("b.shp"));
    EXPECT_EQ(ReadBytes(dir.Path("b.shp")), ReadBytes(dir.Path("a.shp")));
    EXPECT_EQ(ReadBytes(dir.Path("b.shx")), ReadBytes(dir.Path("a.shx")));
}

TEST(ShapeFile, AFailedSaveSaysSoAndKeepsTheOldFiles) {
    TempDir dir;
    QuietUi();
    TShape shape;
    shape.Records->AddRecord(MakeRecord(1, 1, 1, 0));
    shape.RebuildHeader();
    shape.SaveShapeFile(dir.Path("no-such-folder/x.shp"));
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_NE(MessageTexts()[0].find("Błąd zapisu pliku"), std::string::npos);
    EXPECT_EQ(ProgressNesting(), 0);
    // The index name is taken by a folder: the main file must not be replaced either.
    WriteBytes(dir.Path("y.shp"), {1, 2, 3});
    std::filesystem::create_directory(dir.Path("y.shx"));
    shape.SaveShapeFile(dir.Path("y.shp"));
    EXPECT_EQ(ReadBytes(dir.Path("y.shp")), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Dir()), {}), 2);
}
