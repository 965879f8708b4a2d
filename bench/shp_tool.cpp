// The generated polyline shapefile (bench/GeneratedShapefile.h) as files, for timing whole
// processes from outside:
//   shp_tool generate VERTICES FILE.shp   writes FILE.shp, .shx and .dbf (VERTICES a multiple of 100)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/GeneratedShapefile.h"
#include "platform/UiService.h"

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    const long vertices = argc == 4 ? std::atol(argv[2]) : 0;
    if (command != "generate" || vertices < bench::kVerticesPerRecord) {
        std::fprintf(stderr, "usage: shp_tool generate VERTICES FILE.shp\n");
        return 2;
    }
    platform::UiService::Headless()->SetEcho(false);
    const int records = static_cast<int>(vertices / bench::kVerticesPerRecord);
    bench::WritePolylineShapefile(argv[3], records);
    bench::WriteLineTable(argv[3], records);
    return 0;
}
