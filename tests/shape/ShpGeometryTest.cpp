// Vertex walk, snapping, hit tests, boxes, the world-to-screen mapping and drawing.
#include <gtest/gtest.h>

#include <cmath>

#include "ShapeTestUtil.h"
#include "platform/Canvas.h"

using namespace shapetest;

namespace {

std::unique_ptr<TSHPArcRecord> MakeLine(const std::vector<TShpPoint>& points,
                                        const std::vector<std::int32_t>& starts) {
    auto line = std::make_unique<TSHPArcRecord>();
    line->Resize(static_cast<std::int32_t>(starts.size()),
                 static_cast<std::int32_t>(points.size()));
    for (std::size_t i = 0; i < starts.size(); ++i) line->Parts[i] = starts[i];
    line->Points = points;
    return line;
}

}  // namespace

TEST(ShpGeometry, VertexWalkStopsAtTheEndAndLeavesOutputsAlone) {
    TSHPMultiPointRecord mp;
    mp.Resize(2);
    mp.Points = {{1, 2}, {3, 4}};
    EXPECT_TRUE(mp.First());
    double x = 0, y = 0;
    EXPECT_TRUE(mp.GetVertex(x, y));
    EXPECT_EQ(x, 1);
    EXPECT_TRUE(mp.Next());
    EXPECT_TRUE(mp.SetVertex(30, 40));
    EXPECT_FALSE(mp.Next());
    x = y = -1;
    EXPECT_FALSE(mp.GetVertex(x, y));
    EXPECT_EQ(x, -1);
    EXPECT_FALSE(mp.SetVertex(9, 9));
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(mp.Next());
    EXPECT_EQ(mp.CurrentVertex, 3);
    EXPECT_EQ(mp.Points[1].X, 30);

    TSHPPointRecord p;
    EXPECT_TRUE(p.First());
    EXPECT_FALSE(p.Next());
    EXPECT_TRUE(p.SetVertex(5, 6));
    EXPECT_TRUE(p.GetVertex(x, y));
    EXPECT_EQ(y, 6);

    TSHPPolygonRecord polygon;
    polygon.Resize(1, 3);
    EXPECT_TRUE(polygon.SetVertexIndex(3));
    EXPECT_FALSE(polygon.SetVertexIndex(4));
    // A cursor before the first vertex would name no point.
    EXPECT_FALSE(polygon.SetVertexIndex(0));
    EXPECT_EQ(polygon.CurrentVertex, 3);
}

TEST(ShpGeometry, SnappingComparesHostOrderWithFileOrderAndIncludesTheTolerance) {
    TSHPMultiPointRecord mp;
    mp.Resize(2);
    mp.Points = {{10, 20}, {13, 24}};  // X easting, Y northing
    double n = 0, e = 0;
    // Query N 28, E 13 is 4 away from the second point (N 24, E 13).
    EXPECT_TRUE(mp.SnapVertex(n, e, 28, 13, 4.0));
    EXPECT_EQ(n, 24);
    EXPECT_EQ(e, 13);
    EXPECT_EQ(mp.CurrentVertex, 2);
    EXPECT_FALSE(mp.SnapVertex(n, e, 28, 13, 3.999));
    EXPECT_EQ(n, 24);  // the last vertex examined

    TSHPMultiPointRecord empty;
    n = e = -7;
    EXPECT_FALSE(empty.SnapVertex(n, e, 0, 0, 1e9));
    EXPECT_EQ(n, -7);
    EXPECT_FALSE(empty.HitTest(0, 0, 1e9));

    TSHPPointRecord p;
    p.X = 3;
    p.Y = 4;
    EXPECT_TRUE(p.HitTest(0, 0, 5));
    EXPECT_FALSE(p.HitTest(0, 0, 4.9));
}

TEST(ShpGeometry, LineIsHitOnSegmentsAndOnTheGapBetweenParts) {
    // Part 1 along northing 0 from E 0 to E 10, part 2 along northing 10 from E 10 to E 0.
    auto line = MakeLine({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {0, 2});
    EXPECT_TRUE(line->HitTest(0.5, 5, 1));
    EXPECT_FALSE(line->HitTest(3, 5, 1));
    // The straight gap from (E 10, N 0) to (E 10, N 10) joins the parts.
    EXPECT_TRUE(line->HitTest(5, 10.5, 1));
    // Beyond the segment's end the foot is off the segment.
    EXPECT_FALSE(line->HitTest(0, 14, 1));

    TSHPArcRecord empty;
    EXPECT_FALSE(empty.HitTest(0, 0, 100));
}

TEST(ShpGeometry, PolygonHitNeedsTheInsideOfTheBoxAndARing) {
    auto record = MakePolygon(
        {{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, {{3, 3}, {6, 3}, {6, 6}, {3, 6}, {3, 3}}});
    auto& polygon = static_cast<TSHPPolygonRecord&>(*record->Geometry);
    EXPECT_TRUE(polygon.HitTest(1, 1, 0));
    // Inside the hole: a hole is a ring of its own and is not subtracted.
    EXPECT_TRUE(polygon.HitTest(4, 4, 0));
    EXPECT_FALSE(polygon.HitTest(0, 5, 0));  // on the box's border
    EXPECT_FALSE(polygon.HitTest(11, 5, 0));
    EXPECT_EQ(polygon.Box[2], 10);  // refreshed by the test

    // An unclosed ring is closed on its first point; a concave notch is outside.
    auto notch = MakePolygon({{{0, 0}, {10, 0}, {10, 10}, {5, 2}, {0, 10}}});
    auto& u = static_cast<TSHPPolygonRecord&>(*notch->Geometry);
    EXPECT_TRUE(u.ContainsPoint(1, 5));
    EXPECT_FALSE(u.ContainsPoint(8, 5));
    EXPECT_TRUE(u.ContainsPoint(8, 9));
}

TEST(ShpGeometry, BoxesWidenWithMinOfAndMaxOf) {
    EXPECT_EQ(MinOf(1, 2), 1);
    EXPECT_EQ(MaxOf(1, 2), 2);
    EXPECT_EQ(MinOf(2, 2), 2);
    EXPECT_TRUE(std::isnan(MinOf(NAN, 1)));
    EXPECT_TRUE(std::isnan(MaxOf(1, NAN)));

    TSHPMultiPointRecord mp;
    double b[4] = {7, 7, 7, 7};
    EXPECT_FALSE(mp.ComputeBox(true, b[0], b[1], b[2], b[3]));
    EXPECT_EQ(b[0], 7);
    mp.Resize(3);
    mp.Points = {{5, 1}, {-2, 8}, {3, 3}};
    EXPECT_TRUE(mp.ComputeBox(false, b[0], b[1], b[2], b[3]));
    EXPECT_EQ(b[0], -2);
    EXPECT_EQ(b[1], 1);
    EXPECT_EQ(b[2], 7);
    EXPECT_EQ(b[3], 8);
    EXPECT_EQ(mp.Box, (std::array<double, 4>{-2, 1, 5, 8}));

    TSHPPointRecord p;
    p.X = 100;
    p.Y = -100;
    EXPECT_TRUE(p.ComputeBox(false, b[0], b[1], b[2], b[3]));
    EXPECT_EQ(b[2], 100);
    EXPECT_EQ(b[1], -100);
}

TEST(ShpGeometry, WorldToScreenRoundsHalvesToEvenAndHoldsExtremes) {
    std::int32_t sx = 0, sy = 0;
    WorldToScreen({0, 0, 100, 100}, {0, 0, 200, 100}, sx, sy, 25, 50);
    EXPECT_EQ(sx, 100);
    EXPECT_EQ(sy, 75);
    WorldToScreen({0, 0, 100, 100}, {10, 0, 210, 100}, sx, sy, 0.5, 0.25);  // 0.5 -> 0, 0.5 -> 0
    EXPECT_EQ(sx, 10);
    EXPECT_EQ(sy, 100);
    WorldToScreen({0, 0, 100, 100}, {0, 0, 200, 100}, sx, sy, 1.5, 0.75);  // 1.5 -> 2 both ways
    EXPECT_EQ(sx, 2);
    EXPECT_EQ(sy, 98);
    // A window without width and far points stay inside the int32 range.
    WorldToScreen({0, 0, 100, 0}, {0, 0, 200, 100}, sx, sy, 1e300, 5);
    EXPECT_EQ(sx, INT32_MAX);
    EXPECT_EQ(sy, 100 - INT32_MAX);
}

TEST(ShpGeometry, DrawingGoesToTheDeviceContextInScreenCoordinates) {
    const platform::HDC dc = platform::CreateRecordingDC();
    const std::size_t objectsBefore = platform::GdiObjectCount();
    {
        platform::TCanvas canvas(dc);
        canvas.Pen.Color = 0x0000FF;
        canvas.Font.Size = 12;  // 16 pixels
        const TWorldWindow window{0, 0, 100, 100};
        const platform::DcRect screen{0, 0, 100, 100};

        TSHPRecord point;
        point.ShapeType = 11;
        auto p = std::make_unique<TSHPPointZRecord>();
        p->X = 20;  // easting
        p->Y = 30;  // northing
        point.Geometry = std::move(p);
        EXPECT_TRUE(point.DrawShapeRecord(canvas, window, "{", screen));

        TSHPRecord line;
        line.ShapeType = 3;
        line.Geometry = MakeLine({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {0, 2});
        line.DrawShapeRecord(canvas, window, "{", screen);

        auto closed =
            MakePolygon({{{0, 0}, {10, 0}, {10, 10}, {0, 0}}, {{20, 20}, {30, 20}, {30, 30}}});
        closed->DrawShapeRecord(canvas, window, "{", screen);

        TSHPRecord multi;
        multi.ShapeType = 8;
        auto mp = std::make_unique<TSHPMultiPointRecord>();
        mp->Resize(1);
        mp->Points = {{50, 50}};
        multi.Geometry = std::move(mp);
        multi.DrawShapeRecord(canvas, window, "x", screen);

        TSHPRecord unsupported;
        unsupported.ShapeType = 99;
        EXPECT_TRUE(unsupported.DrawShapeRecord(canvas, window, "{", screen));
    }
    std::vector<platform::DcCall> drawn;
    for (const auto& c : platform::RecordingOf(dc)->Calls())
        if (c.op != platform::DcOp::SelectObject && c.op != platform::DcOp::SetTextColor)
            drawn.push_back(c);
    using platform::DcOp;
    using P = platform::DcPoint;
    ASSERT_EQ(drawn.size(), 1u + 4 + 2 + 2);
    EXPECT_EQ(drawn[0].op, DcOp::TextOut);
    EXPECT_EQ(drawn[0].points[0], (P{20, 70 + 8}));
    EXPECT_EQ(drawn[0].state.font.height, -16);
    EXPECT_EQ(drawn[1].op, DcOp::MoveTo);
    EXPECT_EQ(drawn[2].op, DcOp::LineTo);
    EXPECT_EQ(drawn[2].points[1], (P{10, 100}));
    EXPECT_EQ(drawn[3].op, DcOp::MoveTo);
    EXPECT_EQ(drawn[3].points[0], (P{10, 90}));
    EXPECT_EQ(drawn[4].op, DcOp::LineTo);
    // The closed ring keeps its 4 points, the open one gets its first point again.
    EXPECT_EQ(drawn[5].op, DcOp::Polygon);
    EXPECT_EQ(drawn[5].points.size(), 4u);
    EXPECT_EQ(drawn[6].points.size(), 4u);
    EXPECT_EQ(drawn[6].points.back(), (P{20, 80}));
    EXPECT_EQ(drawn[5].state.pen.color, 0x0000FFu);
    EXPECT_EQ(drawn[7].op, DcOp::TextOut);
    EXPECT_EQ(drawn[8].op, DcOp::SetPixel);
    EXPECT_EQ(drawn[8].points[0], (P{50, 50}));
    EXPECT_EQ(drawn[8].color, 0x0000FFu);
    // The canvas freed what it created.
    EXPECT_EQ(platform::GdiObjectCount(), objectsBefore);
    platform::DeleteDC(dc);
}

TEST(ShpGeometry, EmptyGeometriesAreAnnouncedByType) {
    QuietUi();
    TempDir dir;
    TShape shape;
    for (std::int32_t type : {3, 13, 23, 5, 15, 25, 31, 8, 18, 28, 1}) {
        auto r = std::make_unique<TSHPRecord>();
        r->ShapeType = type;
        r->Geometry = NewGeometryFor(type);
        shape.Records->AddRecord(std::move(r));
    }
    shape.RebuildHeader();
    shape.SaveShapeFile(dir.Path("e.shp"));
    TShape again;
    QuietUi();
    ASSERT_EQ(again.LoadShapeFile(dir.Path("e.shp")), 0);
    std::vector<std::string> announced;
    for (const auto& t : MessageTexts())
        if (!t.starts_with("Błędny typ")) announced.push_back(t);
    EXPECT_EQ(announced, (std::vector<std::string>{
                             "Obiekt ARC bez punktów", "Obiekt PolyLineZ bez punktów",
                             "Obiekt PolyLineM bez punktów", "Obiekt POLYGON bez punktów",
                             "Obiekt POLYGON bez punktów", "Obiekt POLYGON bez punktów",
                             "Obiekt MultiPatch bez punktów", "Obiekt MultiPoint bez punktów",
                             "Obiekt MultiPointZ bez punktów", "Obiekt MultiPointM bez punktów"}));
    // The empty polyline stays in its record and never snaps nor hits.
    TSHPRecord* first = again.Records->FirstRecord();
    ASSERT_NE(first->Shape(), nullptr);
    double n = 0, e = 0;
    EXPECT_FALSE(first->Shape()->SnapVertex(n, e, 0, 0, 1e9));
    EXPECT_FALSE(first->Shape()->HitTest(0, 0, 1e9));
}
