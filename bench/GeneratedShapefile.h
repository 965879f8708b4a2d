#pragma once

// The polyline shapefile the shapefile benchmarks share: two-part records of 100 vertices each
// (10,000 records, 1,000,000 vertices, unless told otherwise), written as .shp and .shx, and the
// small dBase table beside it that the conversion to MAP copies.
#include <cmath>
#include <memory>
#include <string>

#include "platform/DbfTable.h"
#include "platform/FileSystem.h"
#include "shape/DBaseFile.h"
#include "shape/Shape.h"
#include "shape/ShpIo.h"

namespace bench {

inline constexpr int kRecords = 10000;
inline constexpr int kVerticesPerRecord = 100;

inline void WritePolylineShapefile(const std::string& shp, int records = kRecords) {
    TShape shape;
    for (int r = 0; r < records; ++r) {
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

// A shapefile of `records` records of one kind: points (type 1), or null records in a file of
// points.
inline void WritePointShapefile(const std::string& shp, int records, bool nulls) {
    TShape shape;
    for (int r = 0; r < records; ++r) {
        auto record = std::make_unique<TSHPRecord>();
        record->ShapeType = nulls ? 0 : 1;
        record->Geometry = NewGeometryFor(record->ShapeType);
        if (!nulls) {
            auto& point = static_cast<TSHPPointRecord&>(*record->Geometry);
            point.X = 500000.0 + r * 0.5;
            point.Y = 5800000.0 + r * 0.25;
        }
        shape.Records->AddRecord(std::move(record));
    }
    shape.RebuildHeader();
    if (nulls) PutLE32(shape.Header.data() + 32, 1);  // a file of points holding no point
    shape.SaveShapeFile(shp);
}

// The table beside the shapefile: a number and a name per record.
inline void WriteLineTable(const std::string& shp, int records = kRecords) {
    const std::string dbf = platform::ChangeFileExt(shp, ".dbf");
    {
        auto table = TSimpleDBFile::CreateNew(dbf, 3, 2, 0, 30);
        table->AddField("NR", 'N', 10, 0);
        table->AddField("NAZWA", 'C', 20, 0);
    }
    platform::DbfTable rows;
    rows.Open(dbf, platform::DbfTable::Mode::Append);
    for (int r = 0; r < records; ++r) {
        rows.Append();
        rows.SetFieldInteger(0, r + 1);
        rows.SetFieldText(1, "droga " + std::to_string(r + 1));
    }
    rows.Close();
}

}  // namespace bench
