#include "shape/ShpRecord.h"

#include "shape/ShpIo.h"

ShapeFamily FamilyOf(std::int32_t shapeType) {
    switch (shapeType) {
        case 0:
            return ShapeFamily::Null;
        case 1:
        case 11:
        case 21:
            return ShapeFamily::Point;
        case 8:
        case 18:
        case 28:
            return ShapeFamily::MultiPoint;
        case 3:
        case 13:
        case 23:
            return ShapeFamily::Line;
        case 5:
        case 15:
        case 25:
        case 31:
            return ShapeFamily::Polygon;
        default:
            return ShapeFamily::Unsupported;
    }
}

namespace {

template <class Geometry>
std::unique_ptr<TSHPGeometry> Make(MapArena* storage) {
    if (storage != nullptr) return MakeInArena<Geometry>(*storage);
    return std::make_unique<Geometry>();
}

}  // namespace

std::unique_ptr<TSHPGeometry> NewGeometryFor(std::int32_t shapeType, MapArena* storage) {
    switch (shapeType) {
        case 0:
            return Make<TSHPNullRecord>(storage);
        case 1:
            return Make<TSHPPointRecord>(storage);
        case 21:
            return Make<TSHPPointMRecord>(storage);
        case 11:
            return Make<TSHPPointZRecord>(storage);
        case 8:
            return Make<TSHPMultiPointRecord>(storage);
        case 28:
            return Make<TSHPMultiPointMRecord>(storage);
        case 18:
            return Make<TSHPMultiPointZRecord>(storage);
        case 3:
            return Make<TSHPArcRecord>(storage);
        case 23:
            return Make<TSHPPolyLineMRecord>(storage);
        case 13:
            return Make<TSHPPolyLineZRecord>(storage);
        case 5:
            return Make<TSHPPolygonRecord>(storage);
        case 25:
            return Make<TSHPPolygonMRecord>(storage);
        case 15:
            return Make<TSHPPolygonZRecord>(storage);
        case 31:
            return Make<TSHPMultiPatchRecord>(storage);
        default:
            return nullptr;
    }
}

std::int32_t TSHPRecord::ReadShapeRecord(platform::BinaryFile& main, std::int64_t end,
                                         MapArena* storage) {
    ShpReader in(main, end);
    std::uint8_t head[12];
    Geometry.reset();
    Label.clear();
    in.Bytes(head, sizeof head);
    RecordNumber = GetBE32(head);
    ContentLength = GetBE32(head + 4);
    ShapeType = GetLE32(head + 8);
    Geometry = NewGeometryFor(ShapeType, storage);
    if (!Geometry) return 255;
    try {
        Geometry->ReadGeometry(in, static_cast<std::int64_t>(ContentLength) * 2);
    } catch (...) {
        // The record keeps an empty geometry of its class: counts and arrays agree.
        Geometry->Clear();
        throw;
    }
    if (auto* shape = dynamic_cast<TSHPShapeGeometry*>(Geometry.get())) shape->CurrentVertex = 1;
    return 0;
}

bool TSHPRecord::EmptyGeometry() const {
    const auto* shape = dynamic_cast<const TSHPShapeGeometry*>(Geometry.get());
    return shape != nullptr && FamilyOf(ShapeType) != ShapeFamily::Point &&
           FamilyOf(ShapeType) != ShapeFamily::Null && shape->VertexCount() <= 0;
}

bool TSHPRecord::WritesOwnLayout() const {
    return Geometry && Geometry->NativeShapeType() == ShapeType;
}

std::int64_t TSHPRecord::LayoutBytes() const {
    return WritesOwnLayout() ? Geometry->ContentBytes() : 4;
}

std::int32_t TSHPRecord::WriteShapeRecord(platform::BinaryFile& main, platform::BinaryFile& index) {
    // A record whose type has no layout of its own (or whose geometry is missing) goes out as a
    // null shape, so the content length always agrees with the bytes written.
    const bool own = WritesOwnLayout();
    std::uint8_t head[12];
    PutLE32(head, RecordNumber);
    PutLE32(head + 4, ContentLength);
    PutLE32(head + 8, own ? ShapeType : 0);
    main.Write(head, sizeof head);
    std::uint8_t entry[8];
    PutLE32(entry, IndexOffset);
    PutLE32(entry + 4, IndexLength);
    index.Write(entry, sizeof entry);
    if (own) Geometry->WriteGeometry(main);
    return 0;
}

TSHPShapeGeometry* TSHPRecord::Shape() const {
    const ShapeFamily family = FamilyOf(ShapeType);
    if (!Geometry || family == ShapeFamily::Null || family == ShapeFamily::Unsupported)
        return nullptr;
    if (FamilyOf(Geometry->NativeShapeType()) != family) return nullptr;
    return static_cast<TSHPShapeGeometry*>(Geometry.get());
}

bool TSHPRecord::DrawShapeRecord(platform::TCanvas& canvas, const TWorldWindow& window,
                                 std::string_view symbol, const platform::DcRect& screen) {
    if (TSHPShapeGeometry* shape = Shape()) shape->DrawGeometry(canvas, window, symbol, screen);
    return true;
}
