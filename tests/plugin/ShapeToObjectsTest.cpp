// Records of every family turned into map objects and points.
#include <gtest/gtest.h>

#include <cmath>

#include "SaveAsMapFixture.h"
#include "plugin/ConversionSettings.h"

using namespace saveasmaptest;

namespace {

constexpr std::uint8_t kOn = 12;    // the line goes on after the vertex
constexpr std::uint8_t kBreak = 4;  // the line breaks after the vertex

class ShapeToObjectsTest : public ::testing::Test {
  protected:
    void SetUp() override { DefaultConversionSettings(); }

    // Converts the records with the axes swapped, as the conversion does.
    std::vector<Object> Convert(std::vector<std::unique_ptr<TSHPRecord>> records, bool swap = true,
                                bool mark = false) {
        auto shape = MakeShape(std::move(records));
        EXPECT_EQ(shape->ShapeToObjects(points, objects, mark, swap), 0);
        return Objects(objects);
    }
    template <class... R>
    static std::vector<std::unique_ptr<TSHPRecord>> List(R... records) {
        std::vector<std::unique_ptr<TSHPRecord>> v;
        (v.push_back(std::move(records)), ...);
        return v;
    }
    // (x, y, flags) of the vertices in shapefile order (X easting) from the swapped map points.
    static std::vector<std::tuple<double, double, int>> Run(const Object& o) {
        std::vector<std::tuple<double, double, int>> out;
        for (const Vertex& v : o.vertices) out.emplace_back(v.y, v.x, v.flags);
        return out;
    }

    TListaPKT points;
    TListaObi objects;
};

using V = std::vector<std::tuple<double, double, int>>;

TEST_F(ShapeToObjectsTest, NoRecordsAddsNothing) {
    auto shape = MakeShape({});
    objects.AddObject(std::make_unique<TObiekt>("1000", "", "", "", "", "", "", "", 1));
    EXPECT_EQ(shape->ShapeToObjects(points, objects, false, true), -1);
    EXPECT_EQ(objects.Count(), 1);
    EXPECT_EQ(points.Count(), 0);
}

TEST_F(ShapeToObjectsTest, PointsTakeTheirCodeAxesHeightAndRecordNumber) {
    ConversionSettings.Point = 1234;
    const auto got = Convert(List(PointRecord(1, 500000, 300000), PointRecord(11, 1, 2, 12.5),
                                  PointRecord(21, 3, 4, 7), NullRecord()));
    ASSERT_EQ(got.size(), 4u);
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].code, "1234");
        EXPECT_EQ(got[i].lineNo, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(got[i].flags, 3);
        ASSERT_EQ(got[i].vertices.size(), 1u);
    }
    EXPECT_EQ(got[0].vertices[0].x, 300000);  // northing first
    EXPECT_EQ(got[0].vertices[0].y, 500000);
    EXPECT_EQ(got[0].vertices[0].flags, kOn);
    EXPECT_EQ(got[1].vertices[0].h, 12.5f);
    EXPECT_EQ(got[1].vertices[0].flags, kOn | kPointHasHeight);  // the height goes to the file
    EXPECT_EQ(got[2].vertices[0].h, 0.0f);                       // a measure is no height
    EXPECT_EQ(got[2].vertices[0].flags, kOn);
    EXPECT_EQ(got[3].vertices[0].x, 0);  // null record: one point at the origin
    EXPECT_EQ(got[3].vertices[0].y, 0);
    EXPECT_EQ(got[3].vertices[0].flags, kOn);
    EXPECT_EQ(points.Count(), 4);
}

TEST_F(ShapeToObjectsTest, WithoutSwapAndWithMarkAndLongCode) {
    ConversionSettings.Point = 123456;
    const auto got = Convert(List(PointRecord(1, 500000, 300000)), false, true);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].code, "1234");
    EXPECT_EQ(got[0].flags, 3 | kObjectMarked);
    EXPECT_EQ(got[0].vertices[0].x, 500000);
    EXPECT_EQ(got[0].vertices[0].y, 300000);
}

TEST_F(ShapeToObjectsTest, AppendsBehindObjectsAlreadyThere) {
    objects.AddObject(std::make_unique<TObiekt>("9999", "", "", "", "", "", "", "", 7));
    const auto got = Convert(List(PointRecord(1, 1, 2)));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].code, "9999");
    EXPECT_EQ(got[1].lineNo, 1);
}

TEST_F(ShapeToObjectsTest, MultipointIsOneObjectWithAVertexPerPoint) {
    ConversionSettings.Multipoint = 4200;
    const auto got = Convert(List(MultiPointRecord(8, {{1, 2}, {3, 4}, {5, 6}}),
                                  MultiPointRecord(28, {}), MultiPointRecord(18, {{7, 8}})));
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].code, "4200");
    EXPECT_EQ(Run(got[0]), (V{{1, 2, kOn}, {3, 4, kOn}, {5, 6, kOn}}));
    EXPECT_TRUE(got[1].vertices.empty());
    EXPECT_EQ(got[1].lineNo, 2);
    EXPECT_EQ(Run(got[2]), (V{{7, 8, kOn}}));
}

TEST_F(ShapeToObjectsTest, JoinedLineRunsOnAcrossAGapUpToOneMillimetre) {
    ConversionSettings.Arc = 4321;
    const auto got = Convert(List(PartedRecord(3, {{{0, 0}, {10, 0}}, {{10.0005, 0}, {20, 0}}}),
                                  PartedRecord(3, {{{0, 0}, {10, 0}}, {{10.002, 0}, {20, 0}}})));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].code, "4321");
    EXPECT_EQ(Run(got[0]), (V{{0, 0, kOn}, {10, 0, kOn}, {20, 0, kOn}}));
    EXPECT_EQ(Run(got[1]), (V{{0, 0, kOn}, {10, 0, kBreak}, {10.002, 0, kOn}, {20, 0, kOn}}));
    EXPECT_EQ(points.Count(), 7);  // a dropped start makes no point
}

TEST_F(ShapeToObjectsTest, JoinedLineEdgeCases) {
    const auto got = Convert(List(
        // exactly one millimetre away, and three parts where only the second gap is closed
        PartedRecord(13, {{{0, 0}, {1, 0}}, {{1.001, 0}, {2, 0}}}),
        PartedRecord(23, {{{0, 0}, {1, 0}}, {{5, 0}, {6, 0}}, {{6, 0}, {7, 0}}}),
        // a one-point part that lies on the end before it keeps the break
        PartedRecord(3, {{{0, 0}, {1, 0}}, {{1, 0}}, {{9, 0}, {10, 0}}}),
        // a record without parts
        PartedRecord(3, {})));
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(Run(got[0]), (V{{0, 0, kOn}, {1, 0, kOn}, {2, 0, kOn}}));
    EXPECT_EQ(Run(got[1]), (V{{0, 0, kOn}, {1, 0, kBreak}, {5, 0, kOn}, {6, 0, kOn}, {7, 0, kOn}}));
    EXPECT_EQ(Run(got[2]), (V{{0, 0, kOn}, {1, 0, kBreak}, {9, 0, kOn}, {10, 0, kOn}}));
    EXPECT_TRUE(got[3].vertices.empty());
}

TEST_F(ShapeToObjectsTest, SplitLineGivesAnObjectPerPart) {
    ConversionSettings.RozbijajArc = true;
    const auto got = Convert(List(PartedRecord(3, {{{0, 0}, {10, 0}}, {{10.0005, 0}, {20, 0}}}),
                                  PartedRecord(3, {}), PartedRecord(13, {{{1, 1}, {2, 2}}})));
    ASSERT_EQ(got.size(), 3u);  // the record without parts gives nothing
    EXPECT_EQ(got[0].lineNo, 1);
    EXPECT_EQ(got[1].lineNo, 1);
    EXPECT_EQ(Run(got[0]), (V{{0, 0, kOn}, {10, 0, kOn}}));
    EXPECT_EQ(Run(got[1]), (V{{10.0005, 0, kOn}, {20, 0, kOn}}));
    EXPECT_EQ(got[2].lineNo, 3);
}

TEST_F(ShapeToObjectsTest, RingsAreClosedAndHangOnTheFirstPoint) {
    ConversionSettings.Polygon = 5555;
    const auto got =
        Convert(List(PartedRecord(5, {{{0, 0}, {0, 10}, {10, 10}, {0, 0}}}),  // closed
                     PartedRecord(25, {{{0, 0}, {0, 10}, {10, 10}}}),         // not closed
                     PartedRecord(15, {{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}},
                                       {{2, 2}, {4, 2}, {4, 4}, {2, 2}}}),  // outer ring and hole
                     PartedRecord(5, {})));
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0].code, "5555");
    EXPECT_EQ(Run(got[0]), (V{{0, 0, kOn}, {0, 10, kOn}, {10, 10, kOn}, {0, 0, kBreak}}));
    EXPECT_EQ(Run(got[1]), (V{{0, 0, kOn}, {0, 10, kOn}, {10, 10, kOn}, {0, 0, kBreak}}));
    EXPECT_EQ(Run(got[2]), (V{{0, 0, kOn},
                              {0, 10, kOn},
                              {10, 10, kOn},
                              {10, 0, kOn},
                              {0, 0, kBreak},
                              {2, 2, kOn},
                              {4, 2, kOn},
                              {4, 4, kOn},
                              {2, 2, kBreak},
                              {0, 0, kBreak}}));
    EXPECT_TRUE(got[3].vertices.empty());
}

TEST_F(ShapeToObjectsTest, UnclosedHoleGetsItsClosingPointBeforeTheAnchor) {
    const auto got = Convert(List(
        PartedRecord(5, {{{0, 0}, {0, 10}, {10, 0}, {0, 0}}, {{1, 1}, {2, 1}, {2, 2}}, {{5, 5}}})));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(Run(got[0]), (V{{0, 0, kOn},
                              {0, 10, kOn},
                              {10, 0, kOn},
                              {0, 0, kBreak},
                              {1, 1, kOn},
                              {2, 1, kOn},
                              {2, 2, kOn},
                              {1, 1, kBreak},
                              {0, 0, kBreak},
                              {5, 5, kBreak},  // a one-point ring is closed in itself
                              {0, 0, kBreak}}));
}

TEST_F(ShapeToObjectsTest, MultipatchIsAnArea) {
    const auto got = Convert(List(PartedRecord(31, {{{0, 0}, {0, 1}, {1, 1}, {0, 0}}})));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].code, "5100");
    EXPECT_EQ(got[0].vertices.size(), 4u);
}

TEST_F(ShapeToObjectsTest, NoDataMarkGivesOnePointAtTheOrigin) {
    auto area = PartedRecord(5, {{{NAN, 0}, {0, 10}, {10, 10}}});
    dynamic_cast<TSHPShapeGeometry*>(area->Geometry.get())->FirstXIsNaN = 1;
    auto multi = MultiPointRecord(8, {{1, 2}, {3, 4}});
    dynamic_cast<TSHPShapeGeometry*>(multi->Geometry.get())->FirstXIsNaN = 1;
    const auto got = Convert(List(std::move(area), std::move(multi)));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(Run(got[0]), (V{{0, 0, kOn}}));
    EXPECT_EQ(Run(got[1]), (V{{0, 0, kOn}, {0, 0, kOn}}));
}

TEST_F(ShapeToObjectsTest, UnsupportedRecordsGiveNothingButKeepTheNumbering) {
    auto odd = std::make_unique<TSHPRecord>();
    odd->ShapeType = 2;
    const auto got = Convert(List(PointRecord(1, 1, 1), std::move(odd), PointRecord(1, 2, 2)));
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].lineNo, 3);
}

TEST_F(ShapeToObjectsTest, EveryVertexHasAPointOfItsOwn) {
    const auto got = Convert(
        List(PartedRecord(5, {{{0, 0}, {0, 1}, {1, 1}, {0, 0}}, {{0, 0}, {1, 0}, {0, 0}}})));
    std::size_t vertices = 0;
    for (const Object& o : got) vertices += o.vertices.size();
    EXPECT_EQ(static_cast<std::size_t>(points.Count()), vertices);
    std::vector<const TPunkt*> refs;
    const auto* o = static_cast<const TObiekt*>(objects.First());
    for (const TElement* v = o->Vertices->First(); v != nullptr; v = v->GetNext())
        refs.push_back(static_cast<const TNumer*>(v)->PointRef);
    std::sort(refs.begin(), refs.end());
    EXPECT_EQ(std::adjacent_find(refs.begin(), refs.end()), refs.end());
}

}  // namespace
