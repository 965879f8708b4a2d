#include "plugin/ShapeFromObjects.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <span>
#include <vector>

#include "model/FormatSettings.h"
#include "model/PlaneGeometry.h"
#include "platform/NumberText.h"
#include "plugin/ConversionSettings.h"

namespace {

// Distance within which two vertices of an area outline are one.
constexpr double kRingTolerance = 1e-8;

const TPunkt* PointOf(const TElement* e) {
    return static_cast<const TNumer*>(e)->PointRef;
}

TShpPoint Place(double x, double y, bool swap) {
    return swap ? TShpPoint{y, x} : TShpPoint{x, y};
}

TShpPoint Place(const TPunkt* p, bool swap) {
    return Place(p->X, p->Y, swap);
}

std::unique_ptr<TSHPRecord> NewRecord(std::int32_t type, std::unique_ptr<TSHPGeometry> geometry) {
    auto record = std::make_unique<TSHPRecord>();
    record->ShapeType = type;
    record->Geometry = std::move(geometry);
    return record;
}

std::unique_ptr<TSHPRecord> NullRecord() {
    return NewRecord(0, std::make_unique<TSHPNullRecord>());
}

std::unique_ptr<TSHPRecord> PointRecord(const TObiekt& object, bool swap) {
    if (!object.HasVertices()) return NullRecord();
    auto point = std::make_unique<TSHPPointRecord>();
    const TShpPoint p = Place(PointOf(object.Vertices->First()), swap);
    point->X = p.X;
    point->Y = p.Y;
    return NewRecord(1, std::move(point));
}

// Every vertex in order; parts start at 0 and after every vertex other than the first and the
// last whose point's flag byte is below 12 (a point that ends a line in the MAP file).
std::unique_ptr<TSHPRecord> LineRecord(const TObiekt& object, bool parted, bool swap) {
    auto line = std::make_unique<TSHPArcRecord>();
    const std::int32_t n = object.Vertices ? object.Vertices->Count() : 0;
    std::vector<std::int32_t> starts{0};
    std::vector<TShpPoint> points;
    points.reserve(static_cast<std::size_t>(n));
    std::int32_t i = 0;
    for (const TElement* e = n > 0 ? object.Vertices->First() : nullptr; e != nullptr;
         e = e->GetNext(), ++i) {
        const TPunkt* p = PointOf(e);
        points.push_back(Place(p, swap));
        if (parted && i > 0 && e->GetNext() != nullptr && p->Flags < 12) starts.push_back(i + 1);
    }
    line->Resize(static_cast<std::int32_t>(starts.size()),
                 static_cast<std::int32_t>(points.size()));
    for (std::size_t k = 0; k < starts.size(); ++k) line->Parts[k] = starts[k];
    line->Points = std::move(points);
    return NewRecord(3, std::move(line));
}

struct RingSpan {
    std::size_t begin, end;  // points [begin, end)
    double minX, minY, maxX, maxY;
};

// Twice the signed area of the ring, closed from its last point to its first: positive when it
// runs counter-clockwise with X to the right and Y up.
double SignedArea2(std::span<const TShpPoint> ring) {
    double sum = 0;
    for (std::size_t i = 0; i < ring.size(); ++i) {
        const TShpPoint& a = ring[i];
        const TShpPoint& b = ring[(i + 1) % ring.size()];
        sum += a.X * b.Y - b.X * a.Y;
    }
    return sum;
}

// 1 inside the ring, -1 outside, 0 on its outline.
int PointInRing(const TShpPoint& p, std::span<const TShpPoint> ring) {
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const TShpPoint& a = ring[i];
        const TShpPoint& b = ring[j];
        const double cross = (b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X);
        if (cross == 0 && std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) &&
            std::min(a.Y, b.Y) <= p.Y && p.Y <= std::max(a.Y, b.Y))
            return 0;
        if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X)
            inside = !inside;
    }
    return inside ? 1 : -1;
}

// True when the points lie inside the ring: the first of them that is not on its outline is
// inside it.
bool PointsInside(std::span<const TShpPoint> points, std::span<const TShpPoint> ring) {
    for (const TShpPoint& p : points) {
        const int where = PointInRing(p, ring);
        if (where != 0) return where > 0;
    }
    return false;
}

// True when ring `inner` lies inside ring `outer`.
bool RingInside(std::span<const TShpPoint> inner, const RingSpan& innerBox,
                std::span<const TShpPoint> outer, const RingSpan& outerBox) {
    if (innerBox.minX < outerBox.minX || innerBox.maxX > outerBox.maxX ||
        innerBox.minY < outerBox.minY || innerBox.maxY > outerBox.maxY)
        return false;
    return PointsInside(inner, outer);
}

// Outer rings clockwise and holes counter-clockwise in easting/northing, as readers of
// shapefiles expect, whatever way the map runs them. A ring inside an odd number of the others
// is a hole. With `eastingFirst` false the points are northing first, which mirrors the sense.
void OrientRings(const std::vector<std::int32_t>& starts, std::vector<TShpPoint>& points,
                 bool eastingFirst) {
    std::vector<RingSpan> rings;
    for (std::size_t k = 0; k < starts.size(); ++k) {
        RingSpan ring{
            static_cast<std::size_t>(starts[k]),
            k + 1 < starts.size() ? static_cast<std::size_t>(starts[k + 1]) : points.size(),
            0,
            0,
            0,
            0};
        if (ring.end <= ring.begin) continue;
        ring.minX = ring.maxX = points[ring.begin].X;
        ring.minY = ring.maxY = points[ring.begin].Y;
        for (std::size_t i = ring.begin; i < ring.end; ++i) {
            ring.minX = std::min(ring.minX, points[i].X);
            ring.maxX = std::max(ring.maxX, points[i].X);
            ring.minY = std::min(ring.minY, points[i].Y);
            ring.maxY = std::max(ring.maxY, points[i].Y);
        }
        rings.push_back(ring);
    }
    auto span = [&](const RingSpan& r) {
        return std::span<const TShpPoint>(points).subspan(r.begin, r.end - r.begin);
    };
    std::vector<bool> hole(rings.size(), false);
    for (std::size_t k = 0; k < rings.size(); ++k) {
        for (std::size_t j = 0; j < rings.size(); ++j) {
            if (j != k && RingInside(span(rings[k]), rings[k], span(rings[j]), rings[j]))
                hole[k] = !hole[k];
        }
    }
    for (std::size_t k = 0; k < rings.size(); ++k) {
        const double area = SignedArea2(span(rings[k])) * (eastingFirst ? 1 : -1);
        const bool clockwise = area < 0;
        if (area != 0 && clockwise == hole[k])
            std::reverse(points.begin() + static_cast<std::ptrdiff_t>(rings[k].begin),
                         points.begin() + static_cast<std::ptrdiff_t>(rings[k].end));
    }
}

// The written coordinates of two points are the same.
bool SamePlace(const TShpPoint& a, const TShpPoint& b) {
    return a.X == b.X && a.Y == b.Y;
}

// Whether the ring has three points of which no two are in the same place.
bool HasThreeDistinctPoints(std::span<const TShpPoint> ring) {
    if (ring.size() < 3) return false;
    const auto second = std::find_if(
        ring.begin(), ring.end(), [&](const TShpPoint& p) { return !SamePlace(p, ring.front()); });
    return std::any_of(second, ring.end(), [&](const TShpPoint& p) {
        return !SamePlace(p, ring.front()) && !SamePlace(p, *second);
    });
}

// A vertex of the area outline: the map point's coordinates and the place it is written at.
struct OutlineVertex {
    double x, y;
    TShpPoint at;
};

// Two vertices are one when they lie within kRingTolerance or are written at the same place.
bool SameVertex(const OutlineVertex& a, const OutlineVertex& b) {
    return Hypot(a.x - b.x, a.y - b.y) <= kRingTolerance || SamePlace(a.at, b.at);
}

// Whether the vertices seen so far hold three of which no two are one.
class DistinctVertices {
  public:
    explicit DistinctVertices(const OutlineVertex& first) : first_(&first) {}
    void Add(const OutlineVertex& v) {
        if (three_ || SameVertex(v, *first_)) return;
        if (second_ == nullptr) {
            second_ = &v;
        } else if (!SameVertex(v, *second_)) {
            three_ = true;
        }
    }
    bool Three() const { return three_; }

  private:
    const OutlineVertex* first_;
    const OutlineVertex* second_ = nullptr;
    bool three_ = false;
};

// The outline's vertices, a vertex that is one with the vertex before it left out.
std::vector<OutlineVertex> OutlineOf(const TObiekt& object, bool swap) {
    std::vector<OutlineVertex> outline;
    outline.reserve(static_cast<std::size_t>(object.Vertices->Count()));
    for (const TElement* e = object.Vertices->First(); e != nullptr; e = e->GetNext()) {
        const TPunkt* p = PointOf(e);
        const OutlineVertex v{p->X, p->Y,
                              Place(RoundTo15Digits(p->X), RoundTo15Digits(p->Y), swap)};
        if (outline.empty() || !SameVertex(v, outline.back())) outline.push_back(v);
    }
    return outline;
}

// Whether the ring begun at `start` comes back to its start after vertex `at` before the outline
// reaches the first ring's start again.
bool ReturnsToStart(std::span<const OutlineVertex> outline, std::size_t at, std::size_t start) {
    for (std::size_t k = at + 1; k < outline.size() && !SameVertex(outline[k], outline[0]); ++k) {
        if (SameVertex(outline[k], outline[start])) return true;
    }
    return false;
}

struct AreaRings {
    std::vector<std::int32_t> starts;
    std::vector<TShpPoint> points;
};

// The rings of the area outline. The map holds the first ring closed, then each further ring
// closed and followed by a link vertex back at the first ring's start. A vertex that is one with
// the vertex before it is left out. A ring ends at the first vertex back at its start once it
// holds three distinct vertices, and the next vertex opens a new ring; from the second ring on,
// the vertex after a ring's closing vertex is the link and is left out. A hole left open ends
// before its link: a further ring of three distinct vertices inside the first ring that meets
// the first ring's start, and does not come back to its own start before the first ring's start
// comes again. A further ring outside the first may pass through its start. A first ring that
// never closes takes the whole outline. Coordinates take the 15 significant digits of the outline
// text. A ring whose last point is not its first gets the first again at its end; a ring without
// three distinct points encloses nothing and is left out.
AreaRings RingsOfArea(const TObiekt& object, bool swap) {
    AreaRings rings;
    if (!object.HasVertices()) return rings;
    const std::vector<OutlineVertex> outline = OutlineOf(object, swap);
    std::vector<TShpPoint> first;
    std::vector<TShpPoint> ring;
    for (std::size_t begin = 0; begin < outline.size();) {
        const bool further = begin > 0;
        ring.assign(1, outline[begin].at);
        DistinctVertices distinct(outline[begin]);
        std::size_t next = outline.size();
        for (std::size_t j = begin + 1; j < outline.size(); ++j) {
            const OutlineVertex& v = outline[j];
            if (distinct.Three() && SameVertex(v, outline[begin])) {
                ring.push_back(v.at);
                next = further && j + 1 < outline.size() ? j + 2 : j + 1;
                break;
            }
            if (further && distinct.Three() && SameVertex(v, outline[0]) &&
                !ReturnsToStart(outline, j, begin) && PointsInside(ring, first)) {
                next = j + 1;
                break;
            }
            ring.push_back(v.at);
            distinct.Add(v);
        }
        if (!further) first = ring;
        begin = next;
        if (!HasThreeDistinctPoints(ring)) continue;
        rings.starts.push_back(static_cast<std::int32_t>(rings.points.size()));
        rings.points.insert(rings.points.end(), ring.begin(), ring.end());
        if (!SamePlace(ring.back(), ring.front())) rings.points.push_back(ring.front());
    }
    return rings;
}

// The area's rings, turned the way the format prescribes; a null shape for an area without a
// ring, which keeps its row in the table.
std::unique_ptr<TSHPRecord> PolygonRecord(const TObiekt& object, bool swap) {
    AreaRings rings = RingsOfArea(object, swap);
    if (rings.starts.empty()) return NullRecord();
    OrientRings(rings.starts, rings.points, swap);
    auto polygon = std::make_unique<TSHPPolygonRecord>();
    polygon->Resize(static_cast<std::int32_t>(rings.starts.size()),
                    static_cast<std::int32_t>(rings.points.size()));
    for (std::size_t k = 0; k < rings.starts.size(); ++k) polygon->Parts[k] = rings.starts[k];
    polygon->Points = std::move(rings.points);
    return NewRecord(5, std::move(polygon));
}

// The shape type of the geometry, for an object with the vertices it needs.
std::int32_t ShapeTypeOf(ObjectGeometry geometry) {
    switch (geometry) {
        case ObjectGeometry::Point:
            return 1;
        case ObjectGeometry::Line:
        case ObjectGeometry::PartedLine:
            return 3;
        case ObjectGeometry::Polygon:
            return 5;
        case ObjectGeometry::None:
            break;
    }
    return 0;
}

// Appends the records and returns the shape type of the first object's geometry (0 when none
// was exported): the type of the layer also when all its records are null shapes.
template <class Each>
std::int32_t AppendRecords(TShape& shape, bool swap, Each&& each) {
    // The builders of the coordinate texts leave the decimal separator at '.'; the records of
    // kinds 4 and 5 come from those texts, so the separator ends up the same.
    bool textBuilt = false;
    std::int32_t type = 0;
    each([&](const TObiekt& object) {
        const ObjectGeometry geometry = GeometryOfObject(object);
        if (geometry == ObjectGeometry::None) return;
        if (geometry == ObjectGeometry::PartedLine || geometry == ObjectGeometry::Polygon)
            textBuilt = true;
        if (type == 0) type = ShapeTypeOf(geometry);
        shape.Records->AddRecord(RecordFromObject(object, geometry, swap));
    });
    if (textBuilt) GlobalNumberFormat.SetDecimalSeparator('.');
    return type;
}

}  // namespace

namespace {

using platform::number_text::kExactPowers;
constexpr int kLargestExactPower = static_cast<int>(std::size(kExactPowers)) - 1;

// Through the text of 15 significant digits and back: the definition the arithmetic below keeps
// to, used for magnitudes whose scale is no exact power of ten.
double RoundTo15DigitsByText(double value) {
    char text[64];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, 14);
    double result = value;
    std::from_chars(text, written.ptr, result);
    return result;
}

// The integer nearest to the exact value p + error, ties to even, where p is that value
// correctly rounded and below 2^52 (so p - nearest is exact), and only error's sign is known
// exactly. Only a p half-way between two integers can be tipped by the error.
double NearestInteger(double p, double error) {
    const double nearest = std::nearbyint(p);  // ties to even
    const double fraction = p - nearest;
    if (fraction == 0.5 && error > 0) return nearest + 1;
    if (fraction == -0.5 && error < 0) return nearest - 1;
    return nearest;
}

}  // namespace

// The value scaled by a power of ten so that its 15 digits stand before the point, rounded to
// an integer, scaled back: both scalings are single correctly rounded operations on exact
// operands, as the text conversions are, and the rounding error of the first is carried
// exactly (fma) to settle the halves.
double RoundTo15Digits(double value) {
    if (!std::isfinite(value) || value == 0) return value;
    const double magnitude = std::fabs(value);
    int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int k = 14 - exponent;
        if (k > kLargestExactPower || k < -kLargestExactPower) break;
        const double scale = kExactPowers[k >= 0 ? k : -k];
        double scaled = 0;
        double error = 0;
        if (k >= 0) {
            scaled = magnitude * scale;
            error = std::fma(magnitude, scale, -scaled);
        } else {
            scaled = magnitude / scale;
            error = std::fma(-scaled, scale, magnitude);  // the remainder, of the error's sign
        }
        // log10 may miss the exponent by one next to a power of ten. 1e15 itself is right for
        // either exponent: it stands for the next power of ten.
        if (scaled > 1e15) {
            ++exponent;
            continue;
        }
        if (scaled < 1e14) {
            --exponent;
            continue;
        }
        const double digits = NearestInteger(scaled, error);
        return std::copysign(k >= 0 ? digits / scale : digits * scale, value);
    }
    return RoundTo15DigitsByText(value);
}

ObjectGeometry GeometryOfObject(const TObiekt& object) {
    if (object.Code.empty()) return ObjectGeometry::None;
    switch (object.Code[0]) {
        case '1':
            return ObjectGeometry::Point;
        case '2':
            return ConversionSettings._2XXX == 0 ? ObjectGeometry::Point : ObjectGeometry::Line;
        case '3':
            return ConversionSettings._3XXX == 0 ? ObjectGeometry::Point : ObjectGeometry::Line;
        case '4':
            return ObjectGeometry::PartedLine;
        case '5':
            return ConversionSettings._5XXX == 0 ? ObjectGeometry::Line : ObjectGeometry::Polygon;
        default:
            return ObjectGeometry::None;
    }
}

std::int32_t RecordTypeOf(const TObiekt& object, ObjectGeometry geometry) {
    switch (geometry) {
        case ObjectGeometry::Point:
        case ObjectGeometry::PartedLine:
            return object.HasVertices() ? ShapeTypeOf(geometry) : 0;
        case ObjectGeometry::Line:
            return ShapeTypeOf(geometry);
        case ObjectGeometry::Polygon:
            return RingsOfArea(object, false).starts.empty() ? 0 : ShapeTypeOf(geometry);
        case ObjectGeometry::None:
            break;
    }
    return 0;
}

std::unique_ptr<TSHPRecord> RecordFromObject(const TObiekt& object, ObjectGeometry geometry,
                                             bool SwapAxes) {
    switch (geometry) {
        case ObjectGeometry::Point:
            return PointRecord(object, SwapAxes);
        case ObjectGeometry::Line:
            return LineRecord(object, false, SwapAxes);
        case ObjectGeometry::PartedLine:
            if (!object.HasVertices()) return NullRecord();
            return LineRecord(object, true, SwapAxes);
        case ObjectGeometry::Polygon:
            return PolygonRecord(object, SwapAxes);
        case ObjectGeometry::None:
            break;
    }
    return nullptr;
}

void AppendObjectRecords(TShape& shape, std::span<TObiekt* const> objects, bool SwapAxes) {
    const std::int32_t type = AppendRecords(shape, SwapAxes, [&](auto&& add) {
        for (const TObiekt* object : objects) add(*object);
    });
    shape.State = 2;
    shape.RebuildHeader(type);
}

std::int32_t TShape::ObjectsToShape(TListaPKT* Points, TListaObi* Objects, bool OnlyMarked,
                                    bool SwapAxes) {
    std::int32_t result = -1;
    std::int32_t type = 0;
    if (Points != nullptr && Objects != nullptr) {
        type = AppendRecords(*this, SwapAxes, [&](auto&& add) {
            for (const TElement* e = Objects->First(); e != nullptr; e = e->GetNext()) {
                const auto* object = static_cast<const TObiekt*>(e);
                if (OnlyMarked && (object->GetFlags() & kObjectMarked) == 0) continue;
                add(*object);
            }
        });
        // The walk leaves the list's cursor on its last object.
        if (Objects->Count() > 0) Objects->GoLast();
        result = 0;
        State = 2;
    }
    RebuildHeader(type);
    return result;
}

std::int32_t BuildShapeFromObjects(std::unique_ptr<TShape>& Shape, TListaPKT* Points,
                                   TListaObi* Objects, bool OnlyMarked, bool SwapAxes) {
    if (!Shape) Shape = std::make_unique<TShape>();
    return Shape->ObjectsToShape(Points, Objects, OnlyMarked, SwapAxes);
}
