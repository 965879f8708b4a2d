// A shapefile's display-style file (.tpi) as opening the shapefile reads it: every value taken
// must lie in the range the drawing can use, the values must survive writing and reading the file
// again, and a point and an area must draw with them.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "platform/Canvas.h"
#include "platform/DeviceContext.h"
#include "shape/Shape.h"
#include "shape/ShapeStyle.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

std::unique_ptr<TSHPRecord> Record(std::int32_t type) {
    auto record = std::make_unique<TSHPRecord>();
    record->ShapeType = type;
    record->Geometry = NewGeometryFor(type);
    if (auto* area = dynamic_cast<TSHPPolygonRecord*>(record->Geometry.get())) {
        area->Resize(1, 4);
        area->Points = {{0, 0}, {10, 0}, {10, 10}, {0, 0}};
    }
    return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-style");
    folder.Write("in.tpi", data, size);
    TShape shape;
    shape.FileName = folder.Path("in.shp");
    shape.ReadStyleFile();
    Check(shape.SymbolFont->Name.size() <= 31 && shape.Symbol.size() <= 255);
    Check(shape.SymbolFont->Size >= 1 && shape.SymbolFont->Size <= 1638);
    Check(shape.LinePen->Width >= 0 && shape.LinePen->Width <= 100);
    Check(shape.LinePen->Style >= 0 && shape.LinePen->Style < kPenStyleCount);
    const int brush = BrushStyleNumber(*shape.AreaBrush);
    Check(brush >= 0 && brush < kBrushStyleCount);

    // Written beside another shapefile and read back, the numbers and switches stay.
    std::error_code ignored;
    std::filesystem::remove(folder.Path("out.tpi"), ignored);
    shape.FileName = folder.Path("out.shp");
    shape.WriteStyleFile();
    TShape again;
    again.FileName = shape.FileName;
    again.ReadStyleFile();
    Check(again.SymbolFont->Size == shape.SymbolFont->Size);
    Check(again.SymbolFont->Color == shape.SymbolFont->Color);
    Check(*again.LinePen == *shape.LinePen && *again.AreaBrush == *shape.AreaBrush);
    Check(again.Markowanie == shape.Markowanie && again.Etykiety == shape.Etykiety);
    Check(again.NumerPola == shape.NumerPola);

    shape.Records->AddRecord(Record(1));
    shape.Records->AddRecord(Record(5));
    const platform::HDC dc = platform::CreateRecordingDC();
    shape.DrawShape(dc, {0, 0, 10, 10}, {0, 0, 64, 64}, 0, 0);
    platform::DeleteDC(dc);
    shape.FileName.clear();  // nothing more to write when it is freed
    again.FileName.clear();
    return 0;
}
