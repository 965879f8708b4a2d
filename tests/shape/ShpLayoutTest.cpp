// Byte layouts of every shape type, and files that read back to the same bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "ShapeTestUtil.h"
#include "shape/ShpIo.h"

using namespace shapetest;

namespace {

// Content lengths in bytes, shape type included, straight from the format's layout table.
std::int64_t ExpectedContent(std::int32_t type, std::int64_t P, std::int64_t N) {
    switch (type) {
        case 0:
            return 4;
        case 1:
            return 20;
        case 21:
            return 28;
        case 11:
            return 36;
        case 8:
            return 40 + 16 * N;
        case 28:
            return 56 + 24 * N;
        case 18:
            return 72 + 32 * N;
        case 3:
        case 5:
            return 44 + 4 * P + 16 * N;
        case 23:
        case 25:
            return 60 + 4 * P + 24 * N;
        case 13:
        case 15:
            return 76 + 4 * P + 32 * N;
        case 31:
            return 76 + 8 * P + 32 * N;
    }
    return -1;
}

constexpr std::int32_t kAllTypes[] = {0, 1, 21, 11, 8, 28, 18, 3, 23, 13, 5, 25, 15, 31};

std::int32_t BE(const std::vector<std::uint8_t>& b, std::size_t at) {
    return GetBE32(b.data() + at);
}
std::int32_t LE(const std::vector<std::uint8_t>& b, std::size_t at) {
    return GetLE32(b.data() + at);
}
double D(const std::vector<std::uint8_t>& b, std::size_t at) {
    return GetLEDouble(b.data() + at);
}

}  // namespace

TEST(ShpLayout, EveryTypeHasTheContentLengthOfItsLayout) {
    QuietUi();
    for (std::int32_t type : kAllTypes) {
        SCOPED_TRACE(type);
        const bool multi = FamilyOf(type) == ShapeFamily::MultiPoint;
        const bool parted =
            FamilyOf(type) == ShapeFamily::Line || FamilyOf(type) == ShapeFamily::Polygon;
        const std::int32_t P = parted ? 2 : 0;
        const std::int32_t N = parted ? 10 : multi ? 4 : type == 0 ? 0 : 1;
        TempDir dir;
        TShape shape;
        shape.Records->AddRecord(MakeRecord(type, parted ? 2 : 1, parted ? 5 : 4, 1));
        shape.Records->AddRecord(MakeRecord(type, parted ? 2 : 1, parted ? 5 : 4, 2));
        shape.RebuildHeader();
        shape.SaveShapeFile(dir.Path("a.shp"));
        const auto shp = ReadBytes(dir.Path("a.shp"));
        const auto shx = ReadBytes(dir.Path("a.shx"));
        const std::int64_t content = ExpectedContent(type, P, N);
        ASSERT_EQ(static_cast<std::int64_t>(shp.size()), 100 + 2 * (8 + content));
        ASSERT_EQ(shx.size(), 116u);
        EXPECT_EQ(BE(shp, 0), 9994);
        EXPECT_EQ(BE(shp, 24), static_cast<std::int32_t>(shp.size() / 2));
        EXPECT_EQ(LE(shp, 28), 1000);
        EXPECT_EQ(LE(shp, 32), type);
        EXPECT_EQ(BE(shx, 24), 58);
        EXPECT_EQ(0, std::memcmp(shp.data() + 28, shx.data() + 28, 72));
        for (int r = 0; r < 2; ++r) {
            const std::size_t at = 100 + static_cast<std::size_t>(r) * (8 + content);
            EXPECT_EQ(BE(shp, at), r + 1);
            EXPECT_EQ(BE(shp, at + 4), content / 2);
            EXPECT_EQ(LE(shp, at + 8), type);
            EXPECT_EQ(BE(shx, 100 + 8 * r), static_cast<std::int32_t>(at / 2));
            EXPECT_EQ(BE(shx, 104 + 8 * r), content / 2);
        }
        // Reading the files and writing them again gives the same bytes (a file of null shapes
        // is refused by type).
        if (type == 0) continue;
        TShape again;
        ASSERT_EQ(TShape::OpenShape(&again, dir.Path("a.shp")), 0);
        ASSERT_EQ(again.Records->Count(), 2);
        EXPECT_EQ(Describe(again), Describe(shape));
        TShape::SaveShapeAs(&again, dir.Path("b.shp"));
        EXPECT_EQ(ReadBytes(dir.Path("b.shp")), shp);
        EXPECT_EQ(ReadBytes(dir.Path("b.shx")), shx);
    }
    EXPECT_TRUE(MessageTexts().empty());
}

TEST(ShpLayout, PolyLineZFieldsSitWhereTheFormatPutsThem) {
    QuietUi();
    TempDir dir;
    TShape shape;
    shape.Records->AddRecord(MakeRecord(13, 1, 5, 3));
    auto* line = static_cast<TSHPPolyLineZRecord*>(shape.Records->FirstRecord()->Geometry.get());
    line->Resize(2, 5);
    line->Parts = {0, 2, 5};
    shape.RebuildHeader();
    shape.SaveShapeFile(dir.Path("z.shp"));
    const auto b = ReadBytes(dir.Path("z.shp"));
    ASSERT_EQ(b.size(), 100u + 8 + 244);
    const std::size_t c = 108;  // content
    EXPECT_EQ(BE(b, 104), 122);
    EXPECT_EQ(LE(b, c + 0), 13);
    EXPECT_EQ(D(b, c + 4), line->Box[0]);
    EXPECT_EQ(D(b, c + 28), line->Box[3]);
    EXPECT_EQ(LE(b, c + 36), 2);
    EXPECT_EQ(LE(b, c + 40), 5);
    EXPECT_EQ(LE(b, c + 44), 0);
    EXPECT_EQ(LE(b, c + 48), 2);
    EXPECT_EQ(D(b, c + 52), line->Points[0].X);
    EXPECT_EQ(D(b, c + 60), line->Points[0].Y);
    const std::size_t z = c + 52 + 80;
    EXPECT_EQ(D(b, z), line->ZMin);
    EXPECT_EQ(D(b, z + 8), line->ZMax);
    EXPECT_EQ(D(b, z + 16), line->ZValues[0]);
    const std::size_t m = z + 16 + 40;
    EXPECT_EQ(D(b, m), line->MMin);
    EXPECT_EQ(D(b, m + 16 + 32), line->MValues[4]);
    EXPECT_EQ(m + 16 + 40, b.size());
    // The header's box is the record's, Z and M ranges zero.
    EXPECT_EQ(D(b, 36), line->Box[0]);
    EXPECT_EQ(D(b, 60), line->Box[3]);
    for (std::size_t at = 68; at < 100; at += 8) EXPECT_EQ(D(b, at), 0.0);
}

TEST(ShpLayout, MultiPatchCarriesPartTypesAfterPartStarts) {
    QuietUi();
    TempDir dir;
    TShape shape;
    shape.Records->AddRecord(MakeRecord(31, 1, 5, 0));
    auto* made = static_cast<TSHPMultiPatchRecord*>(shape.Records->FirstRecord()->Geometry.get());
    made->Resize(2, 5);
    made->Parts = {0, 3, 5};
    made->PartTypes = {2, 3, 5};
    shape.RebuildHeader();
    shape.SaveShapeFile(dir.Path("p.shp"));
    const auto b = ReadBytes(dir.Path("p.shp"));
    ASSERT_EQ(b.size(), 100u + 8 + 252);
    EXPECT_EQ(LE(b, 108 + 44), 0);
    EXPECT_EQ(LE(b, 108 + 48), 3);
    EXPECT_EQ(LE(b, 108 + 52), 2);
    EXPECT_EQ(LE(b, 108 + 56), 3);
    TShape again;
    ASSERT_EQ(again.LoadShapeFile(dir.Path("p.shp")), 0);
    auto* patch = static_cast<TSHPMultiPatchRecord*>(again.Records->FirstRecord()->Geometry.get());
    EXPECT_EQ(patch->Parts, (std::vector<std::int32_t>{0, 3, 5}));
    EXPECT_EQ(patch->PartTypes, (std::vector<std::int32_t>{2, 3, 5}));
}

TEST(ShpLayout, ThreePolygonsGiveTheWorkedFileAndIndexLengths) {
    QuietUi();
    TempDir dir;
    TShape shape;
    for (int i = 0; i < 3; ++i) shape.Records->AddRecord(MakeRecord(5, 1, 5, i));
    shape.RebuildHeader();
    shape.SaveShapeFile(dir.Path("t.shp"));
    const auto shp = ReadBytes(dir.Path("t.shp"));
    const auto shx = ReadBytes(dir.Path("t.shx"));
    EXPECT_EQ(BE(shp, 24), 254);
    EXPECT_EQ(BE(shx, 24), 62);
    EXPECT_EQ(BE(shx, 100), 50);
    EXPECT_EQ(BE(shx, 108), 118);
    EXPECT_EQ(BE(shx, 116), 186);
    // The shape keeps the main file's length: saving twice writes the same files.
    shape.SaveShapeFile(dir.Path("u.shp"));
    EXPECT_EQ(ReadBytes(dir.Path("u.shp")), shp);
}

TEST(ShpLayout, HeaderTakesTheFirstNonNullTypeAndTheUnionBox) {
    QuietUi();
    TShape shape;
    shape.Records->AddRecord(MakeRecord(0, 0, 0, 0));
    shape.Records->AddRecord(MakePolygon({{{1, 2}, {5, 2}, {5, 9}, {1, 2}}}));
    shape.Records->AddRecord(MakePolygon({{{-3, 4}, {0, 4}, {0, 6}, {-3, 4}}}));
    EXPECT_EQ(shape.Records->LayoutRecords(), (8 + 4) + 2 * (8 + 44 + 4 + 64));
    EXPECT_EQ(shape.Records->CurrentItem(), shape.Records->Last());
    shape.RebuildHeader();
    EXPECT_EQ(shape.HeaderShapeType(), 5);
    EXPECT_EQ(GetLEDouble(shape.Header.data() + 36), -3);
    EXPECT_EQ(GetLEDouble(shape.Header.data() + 44), 2);
    EXPECT_EQ(GetLEDouble(shape.Header.data() + 52), 5);
    EXPECT_EQ(GetLEDouble(shape.Header.data() + 60), 9);

    TShape empty;
    empty.Records->AddRecord(MakeRecord(0, 0, 0, 0));
    empty.RebuildHeader();
    EXPECT_EQ(empty.HeaderShapeType(), 0);
    EXPECT_EQ(GetLEDouble(empty.Header.data() + 36), 0.0);
}

TEST(ShpLayout, RecordWithoutLayoutIsWrittenAsNullShape) {
    QuietUi();
    TempDir dir;
    TShape shape;
    shape.Records->AddRecord(MakeRecord(1, 1, 1, 0));
    auto odd = std::make_unique<TSHPRecord>();
    odd->ShapeType = 99;
    shape.Records->AddRecord(std::move(odd));
    auto mismatched = std::make_unique<TSHPRecord>();
    mismatched->ShapeType = 1;
    mismatched->Geometry = std::make_unique<TSHPArcRecord>();
    shape.Records->AddRecord(std::move(mismatched));
    shape.RebuildHeader();
    shape.SaveShapeFile(dir.Path("n.shp"));
    const auto b = ReadBytes(dir.Path("n.shp"));
    ASSERT_EQ(b.size(), 100u + 28 + 12 + 12);
    EXPECT_EQ(BE(b, 128 + 4), 2);
    EXPECT_EQ(LE(b, 128 + 8), 0);
    EXPECT_EQ(LE(b, 140 + 8), 0);
}

TEST(ShpLayout, SavingNothingCreatesNoFiles) {
    QuietUi();
    TempDir dir;
    TShape shape;
    EXPECT_EQ(shape.SaveShapeFile(dir.Path("none.shp")), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("none.shp")));
    EXPECT_FALSE(std::filesystem::exists(dir.Path("none.shx")));
    EXPECT_EQ(shape.SaveShapeFile(""), 0);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Pusta nazwa pliku"});
    EXPECT_EQ(TShape::SaveShapeAs(nullptr, dir.Path("x.shp")), 255);
    EXPECT_EQ(TShape::OpenShape(nullptr, dir.Path("x.shp")), -1);
}
