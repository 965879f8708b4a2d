// The geometry half of the shapefile to MAP conversion: records become map objects whose
// vertices are points of their own.
#include <memory>
#include <string>

#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "model/Obiekt.h"
#include "model/PlaneGeometry.h"
#include "platform/ShortString.h"
#include "plugin/ConversionSettings.h"
#include "shape/Shape.h"

namespace {

// A vertex after which the line goes on, and one at which it breaks.
constexpr std::uint8_t kVertexGoesOn = kPointFromFile | kPointLineGoesOn;  // 12
constexpr std::uint8_t kVertexBreaks = kPointFromFile;                     // 4

// Two parts of a line closer than this (in the record's units) run on as one line.
constexpr double kJoinDistance = 0.001;

std::string CodeText(std::int32_t setting) {
    return platform::Cut(std::to_string(setting), platform::kCodeMax);
}

class ObjectBuilder {
  public:
    ObjectBuilder(TListaPKT& points, TListaObi& objects, bool mark, bool swapAxes)
        : points_(points), objects_(objects), mark_(mark), swap_(swapAxes) {}

    // Creates the object and appends it to the list at once; vertices follow through Add*.
    // Objects, points and vertices are made in the map's own storage.
    void NewObject(const std::string& code, std::int32_t lineNo) {
        std::unique_ptr<TObiekt> object = objects_.NewObject(code, lineNo);
        if (mark_) object->SetFlags(kObjectMarked);
        current_ = object.get();
        objects_.AddObject(std::move(object));
    }

    // A vertex at a shapefile point (X easting, Y northing).
    TPunkt* AddShpPoint(const TShpPoint& p, int flags, float h = 0.0f) {
        return swap_ ? AddPoint(p.Y, p.X, flags, h) : AddPoint(p.X, p.Y, flags, h);
    }
    TPunkt* AddNoData() { return AddPoint(0.0, 0.0, kVertexGoesOn, 0.0f); }

  private:
    TPunkt* AddPoint(double x, double y, int flags, float h) {
        TPunkt* point = points_.AddNewPoint({}, static_cast<std::uint8_t>(flags), x, y, h);
        current_->Vertices->Add(objects_.NewVertex(point));
        return point;
    }

    TListaPKT& points_;
    TListaObi& objects_;
    bool mark_;
    bool swap_;
    TObiekt* current_ = nullptr;
};

struct FamilyCodes {
    std::string point, line, area, multipoint;
};

void PointRecord(ObjectBuilder& b, const TSHPRecord& record, const std::string& code,
                 std::int32_t n) {
    const auto* g = dynamic_cast<const TSHPPointRecord*>(record.Geometry.get());
    if (!record.IsNull() && g == nullptr) return;
    b.NewObject(code, n);
    if (g == nullptr || g->FirstXIsNaN) {
        b.AddNoData();
        return;
    }
    // A PointZ's height is flagged as there, so that the MAP file keeps it.
    if (const auto* z = dynamic_cast<const TSHPPointZRecord*>(g)) {
        b.AddShpPoint({g->X, g->Y}, kVertexGoesOn | kPointHasHeight, static_cast<float>(z->Z));
    } else {
        b.AddShpPoint({g->X, g->Y}, kVertexGoesOn);
    }
}

void MultiPointRecord(ObjectBuilder& b, const TSHPMultiPointRecord& g, const std::string& code,
                      std::int32_t n) {
    b.NewObject(code, n);
    const std::int32_t count = g.PointCount();
    for (std::int32_t i = 0; i < count; ++i) {
        if (g.FirstXIsNaN) {
            b.AddNoData();
        } else {
            b.AddShpPoint(g.Points[static_cast<std::size_t>(i)], kVertexGoesOn);
        }
    }
}

// One object per record; parts whose ends lie within the join distance run on as one line,
// the others break at the end of the part.
void JoinedLine(ObjectBuilder& b, const TSHPPartedRecord& g, const std::string& code,
                std::int32_t n) {
    b.NewObject(code, n);
    if (g.FirstXIsNaN) {
        b.AddNoData();
        return;
    }
    const std::int32_t parts = g.PartCount();
    bool pending = false;
    TShpPoint endPoint;
    TPunkt* endVertex = nullptr;
    for (std::int32_t k = 0; k < parts; ++k) {
        std::int32_t start = 0, end = 0;
        g.PartRange(k, start, end);
        const bool breaksAtEnd = parts > 1 && k < parts - 1;
        for (std::int32_t i = start; i < end; ++i) {
            const TShpPoint& p = g.Points[static_cast<std::size_t>(i)];
            const bool lastOfPart = breaksAtEnd && i == end - 1;
            if (pending) {
                pending = false;
                if (Hypot(p.X - endPoint.X, p.Y - endPoint.Y) <= kJoinDistance) {
                    // A dropped point that ends a part of its own leaves the break where it was.
                    if (lastOfPart) {
                        pending = true;
                    } else {
                        endVertex->Flags = kVertexGoesOn;
                    }
                    continue;
                }
            }
            if (lastOfPart) {
                endVertex = b.AddShpPoint(p, kVertexBreaks);
                endPoint = p;
                pending = true;
            } else {
                b.AddShpPoint(p, kVertexGoesOn);
            }
        }
    }
}

// One object per part.
void SplitLine(ObjectBuilder& b, const TSHPPartedRecord& g, const std::string& code,
               std::int32_t n) {
    const std::int32_t parts = g.PartCount();
    for (std::int32_t k = 0; k < parts; ++k) {
        b.NewObject(code, n);
        if (g.FirstXIsNaN) {
            b.AddNoData();
            continue;
        }
        std::int32_t start = 0, end = 0;
        g.PartRange(k, start, end);
        for (std::int32_t i = start; i < end; ++i)
            b.AddShpPoint(g.Points[static_cast<std::size_t>(i)], kVertexGoesOn);
    }
}

// One object per record: every ring closed, and after each ring but the first a return to the
// record's first point, so that the rings hang together as one vertex run. A ring without
// points is passed over.
void Area(ObjectBuilder& b, const TSHPPartedRecord& g, const std::string& code, std::int32_t n) {
    b.NewObject(code, n);
    if (g.FirstXIsNaN) {
        b.AddNoData();
        return;
    }
    const TShpPoint anchor = g.PointCount() > 0 ? g.Points[0] : TShpPoint{};
    const std::int32_t parts = g.PartCount();
    bool firstRing = true;
    for (std::int32_t k = 0; k < parts; ++k) {
        std::int32_t start = 0, end = 0;
        g.PartRange(k, start, end);
        if (end <= start) continue;
        const TShpPoint ringStart = g.Points[static_cast<std::size_t>(start)];
        const TShpPoint ringEnd = g.Points[static_cast<std::size_t>(end - 1)];
        const bool closed = ringEnd.X == ringStart.X && ringEnd.Y == ringStart.Y;
        for (std::int32_t i = start; i < end; ++i) {
            const bool closing = closed && i == end - 1;
            b.AddShpPoint(g.Points[static_cast<std::size_t>(i)],
                          closing ? kVertexBreaks : kVertexGoesOn);
        }
        if (!closed) b.AddShpPoint(ringStart, kVertexBreaks);
        if (!firstRing) b.AddShpPoint(anchor, kVertexBreaks);
        firstRing = false;
    }
}

void RecordToObjects(ObjectBuilder& b, const TSHPRecord& record, const FamilyCodes& codes,
                     std::int32_t n) {
    switch (FamilyOf(record.ShapeType)) {
        case ShapeFamily::Null:
        case ShapeFamily::Point:
            PointRecord(b, record, codes.point, n);
            return;
        case ShapeFamily::MultiPoint:
            if (const auto* g = dynamic_cast<const TSHPMultiPointRecord*>(record.Geometry.get()))
                MultiPointRecord(b, *g, codes.multipoint, n);
            return;
        case ShapeFamily::Line:
            if (const auto* g = dynamic_cast<const TSHPPartedRecord*>(record.Geometry.get())) {
                if (ConversionSettings.RozbijajArc) {
                    SplitLine(b, *g, codes.line, n);
                } else {
                    JoinedLine(b, *g, codes.line, n);
                }
            }
            return;
        case ShapeFamily::Polygon:
            if (const auto* g = dynamic_cast<const TSHPPartedRecord*>(record.Geometry.get()))
                Area(b, *g, codes.area, n);
            return;
        case ShapeFamily::Unsupported:
            return;
    }
}

}  // namespace

// A record whose geometry is missing (other than a null record's) or that could not be read
// gives nothing, like a record of an unsupported type; the record counter still counts it, so
// LineNo stays the record number.
std::int32_t TShape::ShapeToObjects(TListaPKT& Points, TListaObi& Objects, bool Mark,
                                    bool SwapAxes) {
    if (!Records || Records->Count() == 0) return -1;
    Records->GoFirst();
    const FamilyCodes codes{CodeText(ConversionSettings.Point), CodeText(ConversionSettings.Arc),
                            CodeText(ConversionSettings.Polygon),
                            CodeText(ConversionSettings.Multipoint)};
    ObjectBuilder builder(Points, Objects, Mark, SwapAxes);
    std::int32_t n = 1;
    for (;;) {
        if (const TSHPRecord* record = Records->CurrentRecord(); record && !record->ReadFailed)
            RecordToObjects(builder, *record, codes, n);
        if (!Records->Next()) break;
        ++n;
    }
    return 0;
}
