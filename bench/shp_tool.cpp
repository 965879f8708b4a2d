// The generated polyline shapefile (bench/GeneratedShapefile.h) as files, for timing whole
// processes from outside:
//   shp_tool generate VERTICES FILE.shp [lines|points|nulls]
// writes FILE.shp, .shx and .dbf: polylines of 100 vertices (VERTICES a multiple of 100), or one
// point, or one null record, per row of the table.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/GeneratedShapefile.h"
#include "platform/UiService.h"

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    const long vertices = argc == 4 || argc == 5 ? std::atol(argv[2]) : 0;
    const std::string kind = argc == 5 ? argv[4] : "lines";
    if (command != "generate" || vertices < bench::kVerticesPerRecord ||
        (kind != "lines" && kind != "points" && kind != "nulls")) {
        std::fprintf(stderr, "usage: shp_tool generate VERTICES FILE.shp [lines|points|nulls]\n");
        return 2;
    }
    platform::UiService::Headless()->SetEcho(false);
    const int records =
        static_cast<int>(kind == "lines" ? vertices / bench::kVerticesPerRecord : vertices);
    if (kind == "lines") {
        bench::WritePolylineShapefile(argv[3], records);
    } else {
        bench::WritePointShapefile(argv[3], records, kind == "nulls");
    }
    bench::WriteLineTable(argv[3], records);
    return 0;
}
