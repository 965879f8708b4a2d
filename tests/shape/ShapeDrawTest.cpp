// Drawing a whole shape on a recording context, snapping, identification with the object
// description, and labels from the attribute table.
#include <gtest/gtest.h>

#include "DisplayFixture.h"
#include "platform/Cp1250.h"
#include "platform/DeviceContext.h"
#include "shape/UObjPar.h"

using namespace displaytest;
using platform::DcOp;
using platform::DcRect;

namespace {

const TWorldWindow kWindow{0, 0, 100, 100};  // N 0..100, E 0..100
const DcRect kScreen{0, 0, 200, 100};

std::vector<platform::DcCall> CallsOf(platform::HDC dc, DcOp op) {
    std::vector<platform::DcCall> out;
    for (const auto& c : platform::RecordingOf(dc)->Calls())
        if (c.op == op) out.push_back(c);
    return out;
}

std::unique_ptr<TSHPRecord> Square(double x0, double y0, double side) {
    return shapetest::MakePolygon(
        {{{x0, y0}, {x0, y0 + side}, {x0 + side, y0 + side}, {x0 + side, y0}, {x0, y0}}});
}

std::vector<std::unique_ptr<TSHPRecord>> Records(std::unique_ptr<TSHPRecord> a,
                                                 std::unique_ptr<TSHPRecord> b = nullptr,
                                                 std::unique_ptr<TSHPRecord> c = nullptr) {
    std::vector<std::unique_ptr<TSHPRecord>> v;
    for (auto* r : {&a, &b, &c})
        if (*r) v.push_back(std::move(*r));
    return v;
}

using ShapeDrawTest = DisplayTest;

}  // namespace

TEST_F(ShapeDrawTest, DrawsRecordsThenMarksThenLabelsInsideTheClipAndRestoresTheContext) {
    auto shape = ShapeOf(Records(Point(50, 25), Line({{{10, 10}, {90, 10}}}), Null()));
    shape->Markowanie = true;
    shape->Etykiety = true;
    shape->Records->FirstRecord()->Label = "A";
    static_cast<TSHPRecord*>(shape->Records->FirstRecord()->GetNext())->Label = "B";
    static_cast<TSHPRecord*>(shape->Records->Last())->Label = "never drawn";

    const platform::HDC dc = platform::CreateRecordingDC();
    const DcRect hostClip{1, 2, 3, 4};
    platform::SelectClipRect(dc, &hostClip);
    const std::size_t objects = platform::GdiObjectCount();

    EXPECT_EQ(TShape::PaintShape(shape.get(), dc, kWindow, kScreen, 7, 9), 0);

    const auto clips = CallsOf(dc, DcOp::SelectClipRect);
    ASSERT_EQ(clips.size(), 3u);
    EXPECT_EQ(clips[1].rect, (DcRect{0, 0, 199, 99}));
    EXPECT_EQ(clips[2].rect, hostClip);  // the host's clipping is back
    EXPECT_TRUE(platform::StateOf(dc).clipped);

    const auto texts = CallsOf(dc, DcOp::TextOut);
    ASSERT_EQ(texts.size(), 3u);
    // The symbol, half its height (11 pixels for 8 points) below the point: centred on it.
    EXPECT_EQ(texts[0].text, "{");
    EXPECT_EQ(texts[0].points[0], (platform::DcPoint{100, 80}));
    EXPECT_EQ(texts[0].state.font.name, "Wingdings");
    EXPECT_EQ(texts[0].state.textAlign, platform::TA_CENTER | platform::TA_BOTTOM);
    EXPECT_EQ(texts[0].state.bkMode, platform::TRANSPARENT);
    EXPECT_TRUE(texts[0].state.clipped);
    // Labels on the centre of each record's box, black, in Arial of the symbol font's size.
    EXPECT_EQ(texts[1].text, "A");
    EXPECT_EQ(texts[1].points[0], (platform::DcPoint{100, 75}));
    EXPECT_EQ(texts[2].text, "B");
    EXPECT_EQ(texts[2].points[0], (platform::DcPoint{100, 90}));
    EXPECT_EQ(texts[2].state.font.name, "Arial");
    EXPECT_EQ(texts[2].state.font.height, texts[0].state.font.height);
    EXPECT_EQ(texts[2].state.textColor, 0u);

    const auto lines = CallsOf(dc, DcOp::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].points, (std::vector<platform::DcPoint>{{20, 90}, {180, 90}}));
    EXPECT_EQ(lines[0].state.pen.color, 0x808080u);

    // One mark per vertex, white outline, filled with the area brush.
    const auto marks = CallsOf(dc, DcOp::Ellipse);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].rect, (DcRect{97, 72, 103, 78}));
    EXPECT_EQ(marks[2].rect, (DcRect{177, 87, 183, 93}));
    EXPECT_EQ(marks[0].state.pen.color, 0xFFFFFFu);
    EXPECT_EQ(marks[0].state.pen.style, platform::PS_SOLID);
    EXPECT_EQ(marks[0].state.brush.color, 0xC0C0C0u);

    // Every pen, brush and font made for the drawing is gone again.
    EXPECT_EQ(platform::GdiObjectCount(), objects);
    // The walk ended on the last record.
    EXPECT_EQ(shape->Records->CurrentItem(), shape->Records->Last());
    platform::DeleteDC(dc);
}

TEST_F(ShapeDrawTest, NothingToDrawWithoutAShapeOrWithoutRecords) {
    const platform::HDC dc = platform::CreateRecordingDC();
    EXPECT_EQ(TShape::PaintShape(nullptr, dc, kWindow, kScreen, 0, 0), -1);
    EXPECT_TRUE(platform::RecordingOf(dc)->Calls().empty());

    TShape empty;
    empty.Markowanie = true;
    empty.Etykiety = true;
    EXPECT_EQ(TShape::PaintShape(&empty, dc, kWindow, kScreen, 0, 0), 0);
    for (DcOp op : {DcOp::TextOut, DcOp::Ellipse, DcOp::LineTo, DcOp::Polygon, DcOp::SetPixel})
        EXPECT_TRUE(CallsOf(dc, op).empty());
    EXPECT_FALSE(platform::StateOf(dc).clipped);
    platform::DeleteDC(dc);
}

TEST_F(ShapeDrawTest, SnappingReturnsTheVertexNorthingFirstAndCyclesThroughTheRecords) {
    auto shape = ShapeOf(Records(Line({{{10, 20}, {30, 40}}}), Point(30, 40), Point(99, 99)));
    double n = 7, e = 7;
    EXPECT_FALSE(shape->SnapToVertex(1, 1, 0.5, n, e));
    EXPECT_EQ(n, 7);
    EXPECT_EQ(e, 7);

    // The failed search went round to where it started, the first record: the next one starts
    // with the second.
    EXPECT_TRUE(shape->SnapToVertex(40.5, 30, 1, n, e));
    EXPECT_EQ(n, 40);
    EXPECT_EQ(e, 30);
    EXPECT_EQ(shape->Records->CurrentItem(), shape->Records->First()->GetNext());
    EXPECT_TRUE(shape->SnapToVertex(40.5, 30, 1, n, e));
    EXPECT_EQ(shape->Records->CurrentItem(), shape->Records->First());
    EXPECT_TRUE(shape->SnapToVertex(40.5, 30, 1, n, e));
    EXPECT_EQ(shape->Records->CurrentItem(), shape->Records->First()->GetNext());

    TShape empty;
    EXPECT_FALSE(empty.SnapToVertex(0, 0, 100, n, e));
}

TEST_F(ShapeDrawTest, IdentifyCyclesThroughOverlappingAreasFromTheRecordAfterTheCurrentOne) {
    auto shape = ShapeOf(Records(Square(0, 0, 10), Square(5, 5, 10), Square(50, 50, 1)));
    TSHPRecords& records = *shape->Records;
    records.GoFirst();
    EXPECT_TRUE(shape->Identify(false, 7, 7, 0));
    EXPECT_EQ(records.MarkedRecord(), records.First()->GetNext());
    EXPECT_TRUE(shape->Identify(false, 7, 7, 0));
    EXPECT_EQ(records.MarkedRecord(), records.First());
    // Nothing there: no mark, no window.
    EXPECT_FALSE(shape->Identify(true, 30, 30, 100));
    EXPECT_EQ(records.MarkedValid(), 0);
    EXPECT_TRUE(ui->Forms().empty());
    // A hit without showing opens nothing either.
    EXPECT_TRUE(shape->Identify(false, 50.5, 50.5, 0));
    EXPECT_TRUE(ui->Forms().empty());

    TShape empty;
    EXPECT_FALSE(empty.Identify(true, 0, 0, 100));
}

TEST_F(ShapeDrawTest, ObjectInfoListsNumberTypeCountsAndTheRecordsAttributeRow) {
    const std::string shp = Path("dzialki.shp");
    auto holed = shapetest::MakePolygon({{{20, 20}, {20, 30}, {30, 30}, {30, 20}, {20, 20}},
                                         {{22, 22}, {22, 24}, {24, 24}, {24, 22}, {22, 22}}});
    auto shape = ShapeOf(Records(Square(0, 0, 10), std::move(holed)), shp);
    WriteTable(shp, {"NAZWA", "KOD_DZIALKI_X"},
               {{"pierwsza", "11"}, {platform::Utf8ToCp1250("druga łąka"), "22"}});

    std::vector<std::string> shown;
    ui->QueueForm<TFObjPar>([&](TFObjPar& f) {
        shown = f.ListBox1.Items();
        EXPECT_TRUE(f.Button1.Click());
    });
    EXPECT_TRUE(shape->Identify(true, 23, 23, 0));  // in the hole: still inside the outer ring
    ASSERT_EQ(ui->Forms().size(), 1u);
    EXPECT_EQ(platform::Cp1250ToUtf8(ui->Forms()[0].caption), "Parametry obiektu ArcView");
    EXPECT_EQ(ui->Forms()[0].result, platform::mrCancel);
    std::vector<std::string> utf8;
    for (const auto& s : shown) utf8.push_back(platform::Cp1250ToUtf8(s));
    EXPECT_EQ(utf8, (std::vector<std::string>{
                        "Numer obiektu 2", "Typ: Wielokat", "Typ: Powierzchnie",
                        "Łączna liczba punktów         10", "Liczba powierzchni składowych 2",
                        "NAZWA = druga łąka", "KOD_DZIALKI = 22"}));
}

TEST_F(ShapeDrawTest, ObjectInfoOfALineAndOfARecordPastTheLastRow) {
    const std::string shp = Path("drogi.shp");
    auto shape =
        ShapeOf(Records(Line({{{0, 0}, {10, 0}}}), Line({{{0, 5}, {5, 5}, {10, 5}}})), shp);
    WriteTable(shp, {"NR"}, {{"1"}});
    std::vector<std::string> shown;
    ui->QueueForm<TFObjPar>([&](TFObjPar& f) { shown = f.ListBox1.Items(); });
    EXPECT_TRUE(shape->Identify(true, 5, 5, 0.1));
    std::vector<std::string> utf8;
    for (const auto& s : shown) utf8.push_back(platform::Cp1250ToUtf8(s));
    EXPECT_EQ(utf8, (std::vector<std::string>{"Numer obiektu 2", "Typ: Linia",
                                              "Łączna liczba punktów   3",
                                              "Liczba linii składowych 1", "NR = 1"}));
}

TEST_F(ShapeDrawTest, ObjectInfoWithoutItsTableShowsTheErrorAndNoWindow) {
    auto shape = ShapeOf(Records(Point(1, 1)), Path("bez_tabeli.shp"));
    EXPECT_TRUE(shape->Identify(true, 1, 1, 0.5));
    EXPECT_TRUE(ui->Forms().empty());
    const auto messages = shapetest::MessageTexts();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("bez_tabeli.dbf"), std::string::npos) << messages[0];
}

TEST_F(ShapeDrawTest, LabelsPairRowsWithRecordsAndKeepTheLastRowForTheRest) {
    const std::string shp = Path("punkty.shp");
    auto shape = ShapeOf(Records(Point(1, 1), Null(), Point(3, 3)), shp);
    WriteTable(shp, {"ID", "OPIS"}, {{"1", "jeden"}, {"2", "dwa"}});
    shape->ReadLabelsFromDbf();  // labels off: nothing read
    EXPECT_EQ(Labels(*shape), (std::vector<std::string>{"", "", ""}));

    shape->Etykiety = true;
    shape->NumerPola = 1;
    shape->ReadLabelsFromDbf();
    EXPECT_EQ(Labels(*shape), (std::vector<std::string>{"jeden", "dwa", "dwa"}));
    EXPECT_EQ(shape->Records->CurrentItem(), shape->Records->Last());

    for (std::int32_t field : {-1, 2}) {
        shape->NumerPola = field;
        shape->ReadLabelsFromDbf();
        EXPECT_EQ(Labels(*shape), (std::vector<std::string>{"error", "error", "error"}));
    }
    EXPECT_TRUE(shapetest::MessageTexts().empty());
}

TEST_F(ShapeDrawTest, LabelsWithoutATableAreReportedAndLeftAsTheyWere) {
    auto shape = ShapeOf(Records(Point(1, 1)), Path("brak.shp"));
    shape->Etykiety = true;
    shape->NumerPola = 0;
    shape->Records->FirstRecord()->Label = "stara";
    EXPECT_NO_THROW(shape->ReadLabelsFromDbf());
    EXPECT_EQ(Labels(*shape), std::vector<std::string>{"stara"});
    EXPECT_EQ(shapetest::MessageTexts().size(), 1u);
}

TEST_F(ShapeDrawTest, OpeningAShapefileReadsItsStyleAndLabels) {
    const std::string shp = Path("warstwa.shp");
    {
        auto written = ShapeOf(Records(Point(1, 1), Point(2, 2)), shp);
        written->Etykiety = true;
        written->NumerPola = 1;
        written->SaveShapeFile(shp);  // writes the style file too
    }
    WriteTable(shp, {"A", "B"}, {{"a1", "b1"}, {"a2", "b2"}});
    TShape opened;
    EXPECT_EQ(TShape::OpenShape(&opened, shp), kShapeLoaded);
    EXPECT_TRUE(opened.Etykiety);
    EXPECT_EQ(opened.NumerPola, 1);
    EXPECT_EQ(Labels(opened), (std::vector<std::string>{"b1", "b2"}));
}
