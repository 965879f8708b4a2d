#pragma once

// The polyline shapefile the shapefile benchmarks share: 10,000 two-part records of 100
// vertices each (1,000,000 vertices), written as .shp and .shx.
#include <cmath>
#include <memory>
#include <string>

#include "shape/Shape.h"

namespace bench {

inline constexpr int kRecords = 10000;
inline constexpr int kVerticesPerRecord = 100;

inline void WritePolylineShapefile(const std::string& shp) {
    TShape shape;
    for (int r = 0; r < kRecords; ++r) {
        auto record = std::make_unique<TSHPRecord>();
        record->ShapeType = 3;
        auto line = std::make_unique<TSHPArcRecord>();
        line->Resize(2, kVerticesPerRecord);
        line->Parts[1] = kVerticesPerRecord / 2;
        for (int i = 0; i < kVerticesPerRecord; ++i) {
            line->Points[static_cast<std::size_t>(i)] = {
                500000.0 + r * 3.0 + std::cos(i * 0.1) * 50.0,
                5800000.0 + (r % 100) * 40.0 + i * 0.37};
        }
        record->Geometry = std::move(line);
        shape.Records->AddRecord(std::move(record));
    }
    shape.RebuildHeader();
    shape.SaveShapeFile(shp);
}

}  // namespace bench
