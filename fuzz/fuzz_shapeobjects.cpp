// A shapefile converted into map objects, as saving it as a MAP file does. One input is a .shp
// and its .shx: the first four bytes (little-endian) give the length of the .shp part, the rest
// after it is the .shx; the input's length chooses joined or split lines, the axis order and
// marking. Every object must name a record of the file, in record order, and every vertex must be
// a point of its own.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "model/Obiekt.h"
#include "platform/UiService.h"
#include "plugin/ConversionSettings.h"
#include "shape/Shape.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-shpobj");
    platform::UiService::Headless()->SetEcho(false);
    platform::UiService::Headless()->ClearMessages();
    const unsigned options = static_cast<unsigned>(size % 8);
    const std::string shp = folder.WriteShapefile(data, size);
    if (shp.empty()) return 0;

    TShape shape;
    if (shape.LoadShapeFile(shp) != 0) return 0;
    ConversionSettings.RozbijajArc = (options & 1) != 0;
    TListaPKT points;
    TListaObi objects;
    const std::int32_t result =
        shape.ShapeToObjects(points, objects, (options & 4) != 0, (options & 2) != 0);
    const std::int32_t records = shape.Records->Count();
    Check(result == (records == 0 ? -1 : 0));
    std::int32_t previous = 1;
    std::int64_t vertices = 0;
    for (auto* o = static_cast<TObiekt*>(objects.First()); o != nullptr;
         o = static_cast<TObiekt*>(o->GetNext())) {
        Check(o->LineNo >= previous && o->LineNo <= records);
        Check(o->Code.size() <= 4);
        previous = o->LineNo;
        vertices += o->Vertices ? o->Vertices->Count() : 0;
    }
    Check(vertices == points.Count());
    return 0;
}
