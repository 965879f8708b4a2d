// One input is a .shp and its .shx: the first four bytes (little-endian) give the length of the
// .shp part, the rest after it is the .shx. The load must end in order whatever the bytes; the
// records it keeps are then laid out, saved, walked, drawn and searched.
#include <cstdint>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "platform/Canvas.h"
#include "platform/UiService.h"
#include "shape/Shape.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-shp");
    static bool quiet = [] {
        platform::UiService::Headless()->SetEcho(false);
        return true;
    }();
    (void)quiet;
    platform::UiService::Headless()->ClearMessages();
    const std::string shp = folder.WriteShapefile(data, size);
    if (shp.empty()) return 0;

    TShape shape;
    if (TShape::OpenShape(&shape, shp) != 0) return 0;
    double n = 0, e = 0;
    shape.Records->FindObjectAt(1, 1, 1);
    shape.Records->SnapToVertex(n, e, 1, 1, 1);
    shape.Records->MarkedIndex();
    if (shape.GoFirstVertex()) {
        do {
            double x = 0, y = 0;
            if (shape.GetCurrentVertex(x, y)) shape.SetCurrentVertex(x, y);
        } while (shape.NextVertex());
    }
    const platform::HDC dc = platform::CreateRecordingDC();
    {
        platform::TCanvas canvas(dc);
        for (TSHPRecord* r = shape.Records->FirstRecord(); r != nullptr;
             r = static_cast<TSHPRecord*>(r->GetNext()))
            r->DrawShapeRecord(canvas, {0, 0, 100, 100}, "{", {0, 0, 640, 480});
    }
    platform::DeleteDC(dc);
    TShape::SaveShapeAs(&shape, folder.Path("out.shp"));
    return 0;
}
