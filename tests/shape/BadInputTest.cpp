// Damaged files: every fault is a message and an orderly load, never a crash, a hang or a huge
// allocation.
#include <gtest/gtest.h>

#include "RawShapefile.h"
#include "ShapeTestUtil.h"
#include "shape/ProgressFormShared.h"

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
