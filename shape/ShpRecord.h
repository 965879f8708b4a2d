#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/HeapText.h"
#include "model/Lista.h"
#include "model/MapArena.h"
#include "platform/BinaryFile.h"
#include "platform/Canvas.h"
#include "shape/ShpGeometry.h"

// Which set of operations serves a shape type.
enum class ShapeFamily { Unsupported, Null, Point, MultiPoint, Line, Polygon };
ShapeFamily FamilyOf(std::int32_t shapeType);
// The geometry class for a type (TSHPNullRecord for 0); nullptr for a type without a layout.
// Made in `storage` when one is given, which it must not outlive.
std::unique_ptr<TSHPGeometry> NewGeometryFor(std::int32_t shapeType, MapArena* storage = nullptr);

// One record of a shapefile. After reading, RecordNumber and ContentLength are native integers;
// the layout pass of the record list turns them and the index fields into big-endian file order.
class TSHPRecord : public TArenaElement<TSHPRecord> {
  public:
    std::int32_t RecordNumber = 0;
    std::int32_t ContentLength = 0;  // 16-bit words
    std::int32_t ShapeType = 0;
    bool ReadFailed = false;  // loaded from bytes that hold no readable record: no map object
    std::unique_ptr<TSHPGeometry> Geometry;
    std::int32_t IndexOffset = 0;  // 16-bit words
    std::int32_t IndexLength = 0;
    HeapText Label;  // at most 255 characters

    // Reads the record at the file's position, taking no byte at or past `end`: 0 read, 255
    // unsupported shape type (no geometry). Throws ShapeReadError when the record cannot be read;
    // its geometry is then empty. The geometry is made in `storage`.
    std::int32_t ReadShapeRecord(platform::BinaryFile& main, std::int64_t end, MapArena* storage);
    // Whether the record has a geometry of its family without points (points never count).
    bool EmptyGeometry() const;
    // Writes the record header and geometry to the main file and the index entry; always 0.
    std::int32_t WriteShapeRecord(platform::BinaryFile& main, platform::BinaryFile& index);
    bool DrawShapeRecord(platform::TCanvas& canvas, const TWorldWindow& window,
                         std::string_view symbol, const platform::DcRect& screen);

    // The geometry when it serves this record's family (never for null records), else nullptr.
    TSHPShapeGeometry* Shape() const;
    bool IsNull() const { return ShapeType == 0; }
    // Whether the geometry is written with its own layout; a record without one is written as
    // a null shape.
    bool WritesOwnLayout() const;
    // Content length in bytes as it is written, shape type included.
    std::int64_t LayoutBytes() const;
};
