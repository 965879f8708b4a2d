// Shapefile records built from map objects.
#include <bit>
#include <charconv>
#include <cmath>
#include <iomanip>
#include <random>
#include <sstream>

#include "ExportTestSupport.h"
#include "model/FormatSettings.h"
#include "plugin/ShapeFromObjects.h"

namespace {

using Points = std::vector<TShpPoint>;

const TSHPPartedRecord& Parted(const TSHPRecord& r) {
    return dynamic_cast<const TSHPPartedRecord&>(*r.Geometry);
}

std::vector<std::int32_t> Starts(const TSHPRecord& r) {
    const auto& g = Parted(r);
    return {g.Parts.begin(), g.Parts.begin() + g.NumParts};
}

class ExportRecordsTest : public ExportTest {};

TEST_F(ExportRecordsTest, GeometryFollowsKindAndSettingsWithAxesSwapped) {
    TObiekt* point = Add("1000", {{100, 200}, {101, 201}});
    TObiekt* kind2 = Add("2100", {{1, 2}, {3, 4}, {5, 6}});
    TObiekt* kind3 = Add("3100", {{7, 8}, {9, 10}});
    TObiekt* kind5 = Add("5100", {{0, 0}, {0, 5}, {5, 5}});
    EXPECT_EQ(GeometryOfObject(*Add("7000", {{1, 1}})), ObjectGeometry::None);
    EXPECT_EQ(GeometryOfObject(*Add("", {{1, 1}})), ObjectGeometry::None);
    EXPECT_EQ(GeometryOfObject(*Add("A100", {{1, 1}})), ObjectGeometry::None);

    auto r = RecordFromObject(*point, GeometryOfObject(*point), true);
    ASSERT_EQ(r->ShapeType, 1);
    const auto& p = dynamic_cast<const TSHPPointRecord&>(*r->Geometry);
    EXPECT_EQ(p.X, 200);  // easting first
    EXPECT_EQ(p.Y, 100);
    r = RecordFromObject(*point, GeometryOfObject(*point), false);
    EXPECT_EQ(dynamic_cast<const TSHPPointRecord&>(*r->Geometry).X, 100);

    ConversionSettings._2XXX = 0;
    EXPECT_EQ(RecordFromObject(*kind2, GeometryOfObject(*kind2), true)->ShapeType, 1);
    ConversionSettings._2XXX = 1;
    r = RecordFromObject(*kind2, GeometryOfObject(*kind2), true);
    ASSERT_EQ(r->ShapeType, 3);
    EXPECT_EQ(Starts(*r), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(Parted(*r).Points.size(), 3u);
    EXPECT_EQ(Parted(*r).Points[2].X, 6);
    ConversionSettings._3XXX = 1;
    EXPECT_EQ(RecordFromObject(*kind3, GeometryOfObject(*kind3), true)->ShapeType, 3);
    ConversionSettings._5XXX = 0;
    r = RecordFromObject(*kind5, GeometryOfObject(*kind5), true);
    EXPECT_EQ(r->ShapeType, 3);
    EXPECT_EQ(Parted(*r).Points.size(), 3u);
    ConversionSettings._5XXX = 1;
    EXPECT_EQ(RecordFromObject(*kind5, GeometryOfObject(*kind5), true)->ShapeType, 5);
}

TEST_F(ExportRecordsTest, LinePartsStartAfterInnerVerticesThatEndALine) {
    // Flags below 12 end a part; the first and the last vertex never split.
    TObiekt* line = Add("4100", {{0, 0, 4}, {1, 0}, {2, 0, 4}, {3, 0}, {4, 0, 4}, {5, 0, 4}});
    auto r = RecordFromObject(*line, ObjectGeometry::PartedLine, true);
    EXPECT_EQ(Starts(*r), (std::vector<std::int32_t>{0, 3, 5}));
    EXPECT_EQ(Parted(*r).NumPoints, 6);

    // The same part starts as the coordinate text of the line.
    std::string starts, coords;
    std::int32_t count = 0;
    EXPECT_EQ(line->BuildLineCoordText(starts, coords, count), 3);
    EXPECT_EQ(starts, "0,3,5,");
}

// The rings and coordinates of an area come out as its outline text gives them, each ring in its
// order or, to run the way the format prescribes, reversed; a last ring that does not close gets
// its first point again at its end.
TEST_F(ExportRecordsTest, PolygonMatchesTheAreaOutlineText) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-1e7, 1e7);
    for (int round = 0; round < 200; ++round) {
        // Rings of random points, each closed, with link vertices back to the first ring.
        std::vector<V> vertices;
        const int rings = 1 + round % 4;
        V first{};
        for (int ring = 0; ring < rings; ++ring) {
            const V start{coordinate(random) / 3.0, coordinate(random) / 7.0};
            if (ring == 0) first = start;
            vertices.push_back(start);
            for (int k = 0; k < 2 + round % 3; ++k)
                vertices.push_back({coordinate(random) / 11.0, coordinate(random)});
            vertices.push_back(start);
            if (ring > 0 && round % 2 == 0) vertices.push_back(first);
        }
        if (round % 5 == 0) vertices.pop_back();  // an outline that does not close
        TObiekt* area = Add("5100", vertices);

        std::string starts, coords;
        std::int32_t count = 0;
        const std::int32_t parts = area->BuildAreaCoordText(starts, coords, count);
        auto r = RecordFromObject(*area, ObjectGeometry::Polygon, true);
        ASSERT_EQ(r->ShapeType, 5);
        const auto& g = Parted(*r);
        ASSERT_EQ(g.NumParts, parts);
        std::string expectedStarts;
        for (std::int32_t s : Starts(*r)) expectedStarts += std::to_string(s) + ",";
        EXPECT_EQ(expectedStarts, starts);
        std::istringstream text(coords);
        std::vector<std::pair<double, double>> expected;
        for (std::string pair; std::getline(text, pair, ';');) {
            const std::size_t comma = pair.find(',');
            expected.emplace_back(std::stod(pair.substr(comma + 1)),
                                  std::stod(pair.substr(0, comma)));
        }
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(count));
        std::vector<std::int32_t> bounds = Starts(*r);
        if (expected.back() != expected[static_cast<std::size_t>(bounds.back())])
            expected.push_back(expected[static_cast<std::size_t>(bounds.back())]);
        ASSERT_EQ(expected.size(), g.Points.size());
        bounds.push_back(g.NumPoints);
        for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
            const auto b = static_cast<std::ptrdiff_t>(bounds[k]);
            const auto e = static_cast<std::ptrdiff_t>(bounds[k + 1]);
            std::vector<std::pair<double, double>> ring;
            for (auto i = b; i < e; ++i)
                ring.emplace_back(g.Points[static_cast<std::size_t>(i)].X,
                                  g.Points[static_cast<std::size_t>(i)].Y);
            std::vector<std::pair<double, double>> want(expected.begin() + b, expected.begin() + e);
            std::vector<std::pair<double, double>> reversed(want.rbegin(), want.rend());
            EXPECT_TRUE(ring == want || ring == reversed) << round << " ring " << k;
        }
    }
}

// A vertex that repeats the one before it is one vertex; a ring closes on its start only after
// three distinct points, and a ring after the first ends before the link vertex back at the first
// ring's start. A ring without three distinct points in the written coordinates is left out and
// an open one closed; an area whose outline lacks three distinct points is a null shape, as
// RecordTypeOf says beforehand.
TEST_F(ExportRecordsTest, RingsOfOutlinesWithRepeatedOrTooFewPoints) {
    const std::vector<V> square = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
    auto with = [&](std::vector<V> tail) {
        tail.insert(tail.begin(), square.begin(), square.end());
        return tail;
    };
    const struct {
        std::vector<V> vertices;
        std::vector<std::int32_t> starts;  // empty: a null shape
        std::int32_t points;
    } cases[] = {
        {with({{4, 4}, {4, 6}, {6, 6}}), {0, 5}, 9},  // an open hole
        {with({{4, 4}, {4, 6}, {6, 6}, {4, 4}, {0, 0}, {20, 20}, {20, 30}, {30, 30}}),
         {0, 5, 9},
         13},  // a link vertex, then an open ring
        {with({{20, 20}}), {0}, 5},
        {with({{4, 4}, {6, 6}, {4, 4}}), {0}, 5},
        {{{0, 0}, {0, 10}}, {}, 0},
        {{{0, 0}, {0, 10}, {0, 0}}, {}, 0},
        {{{5, 5}, {5, 5}, {5, 5}, {5, 5}}, {}, 0},
        // Two places 4e-8 apart, the same in 15 digits.
        {{{0, 55123450.12345678}, {0, 55123450.12345682}, {10, 0}}, {}, 0},
        {{{0, 0}, {0, 0}, {0, 10}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}, {0}, 5},
        {{{0, 0}, {0, 0}, {0, 10}, {10, 10}, {0, 0}}, {0}, 4},  // a doubled start
        {{{0, 0}, {1e-9, 0}, {0, 10}, {10, 10}, {0, 0}}, {0}, 4},
        {{{0, 0}, {0, 0}, {0, 10}, {0, 10}, {0, 0}, {0, 0}}, {}, 0},
        {{{0, 0}, {0, 10}, {0, 0}, {10, 10}, {10, 0}, {0, 0}}, {0}, 6},  // back at the start early
        // A hole with a doubled start, and one with a doubled vertex, each before its link.
        {with({{4, 4}, {4, 4}, {4, 6}, {6, 6}, {4, 4}, {0, 0}}), {0, 5}, 9},
        {with({{7, 7}, {7, 8}, {7, 8}, {8, 8}, {7, 7}, {0, 0}, {2, 2}, {2, 3}, {3, 3}, {2, 2}}),
         {0, 5, 9},
         13},
        // A hole left open before its link vertex, then another hole.
        {with({{4, 4}, {4, 6}, {6, 6}, {0, 0}, {7, 7}, {7, 8}, {8, 8}, {7, 7}, {0, 0}}),
         {0, 5, 9},
         13},
        {with({{4, 4}, {4, 6}, {6, 6}, {0, 0}}), {0, 5}, 9},
        // Holes through the first ring's start, back at their own start after it.
        {with({{4, 4}, {0, 0}, {6, 4}, {4, 4}, {0, 0}}), {0, 5}, 9},
        {with({{2, 5}, {5, 8}, {8, 5}, {0, 0}, {5, 2}, {2, 5}, {0, 0}}), {0, 5}, 11},
        // A ring outside the first that ends at the first ring's start: no hole, no link.
        {with({{-5, 0}, {-5, -5}, {0, -5}, {0, 0}}), {0, 5}, 10},
    };
    for (const auto& c : cases) {
        const TObiekt* area = Add("5100", c.vertices);
        auto r = RecordFromObject(*area, ObjectGeometry::Polygon, true);
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(RecordTypeOf(*area, ObjectGeometry::Polygon), r->ShapeType);
        EXPECT_EQ(r->ShapeType, c.starts.empty() ? 0 : 5);
        if (c.starts.empty()) continue;
        EXPECT_EQ(Starts(*r), c.starts);
        EXPECT_EQ(Parted(*r).NumPoints, c.points);
    }
}

// Rounding to 15 digits gives what the text of 15 significant digits read back gives: on
// coordinates, exact halves of the 15th digit (ties go to the even digit), their neighbours,
// powers of ten, negative numbers and every magnitude.
TEST_F(ExportRecordsTest, RoundingTo15DigitsAgreesWithTheText) {
    auto byText = [](double v) {
        char text[64];
        const auto end =
            std::to_chars(text, text + sizeof text, v, std::chars_format::scientific, 14);
        double back = 0;
        std::from_chars(text, end.ptr, back);
        return back;
    };
    std::vector<double> values = {
        0.1 + 0.2,         5512345.67,        1e15, 1e14, 1e-300, 4.9e-324, 1.7e308,
        999999999999999.5, 99999999999999.95, 0.5,  2.5};
    // 16 significant digits ending in 5 that a double holds exactly: ties at the 15th digit.
    for (std::int64_t n : {100000000000000LL, 123456789012345LL, 999999999999998LL}) {
        for (double part : {0.5, 0.25, 0.75, 0.125})
            for (int step : {0, 1, 2, 3}) values.push_back(static_cast<double>(n + step) + part);
        values.push_back(static_cast<double>(n) / 8 + 0.0625);
    }
    for (int e = -30; e <= 40; ++e) {
        const double p = std::pow(10.0, e);
        values.insert(values.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300)});
    }
    std::mt19937_64 random(14);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-40, 45);
    std::uniform_int_distribution<std::int64_t> cents(0, 99999999999LL);
    for (int i = 0; i < 200000; ++i) {
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
        values.push_back(static_cast<double>(cents(random)) / 100 + 5000000);
    }
    const std::size_t count = values.size();
    for (std::size_t i = 0; i < count; ++i) {
        values.push_back(-values[i]);
        values.push_back(std::nextafter(values[i], 0.0));
        values.push_back(std::nextafter(values[i], 1e308));
    }
    std::size_t wrong = 0;
    for (double v : values) {
        if (std::bit_cast<std::uint64_t>(RoundTo15Digits(v)) !=
            std::bit_cast<std::uint64_t>(byText(v))) {
            if (++wrong <= 5) ADD_FAILURE() << std::setprecision(17) << v;
        }
    }
    EXPECT_EQ(wrong, 0u);
}

TEST_F(ExportRecordsTest, ObjectsWithoutVerticesKeepTheirPlace) {
    auto* empty = Add("1000", {});
    auto* line = Add("4100", {});
    auto* area = Add("5100", {});
    auto* kind2 = Add("2100", {});
    EXPECT_EQ(RecordFromObject(*empty, GeometryOfObject(*empty), true)->ShapeType, 0);
    EXPECT_EQ(RecordFromObject(*line, GeometryOfObject(*line), true)->ShapeType, 0);
    EXPECT_EQ(RecordFromObject(*area, GeometryOfObject(*area), true)->ShapeType, 0);
    ConversionSettings._2XXX = 1;
    auto r = RecordFromObject(*kind2, GeometryOfObject(*kind2), true);
    EXPECT_EQ(r->ShapeType, 3);
    EXPECT_EQ(Parted(*r).NumPoints, 0);
}

TEST_F(ExportRecordsTest, ObjectsToShapeAppendsMarkedObjectsAndRebuildsTheHeader) {
    Add("4100", {{10, 20}, {11, 21}})->SetFlags(kObjectMarked);
    Add("1000", {{1, 2}});
    Add("7000", {{1, 2}})->SetFlags(kObjectMarked);
    Add("5100", {{0, 0}, {0, 5}, {5, 5}, {0, 0}})->SetFlags(kObjectMarked);

    TShape empty;
    EXPECT_EQ(empty.ObjectsToShape(nullptr, objects.get(), false, true), -1);
    EXPECT_EQ(empty.Records->Count(), 0);
    EXPECT_EQ(empty.State, 0);

    std::unique_ptr<TShape> built;
    GlobalNumberFormat.SetDecimalSeparator(',');
    EXPECT_EQ(BuildShapeFromObjects(built, points.get(), objects.get(), true, true), 0);
    ASSERT_TRUE(built);
    EXPECT_EQ(built->Records->Count(), 2);
    EXPECT_EQ(built->State, 2);
    EXPECT_EQ(built->HeaderShapeType(), 3);  // the first record's type
    EXPECT_EQ(GlobalNumberFormat.GetDecimalSeparator(), '.');
    // Appends after the records already there.
    EXPECT_EQ(built->ObjectsToShape(points.get(), objects.get(), false, true), 0);
    EXPECT_EQ(built->Records->Count(), 5);
}

}  // namespace
