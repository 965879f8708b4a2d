// A polyline shapefile of 1,000,000 vertices in 10,000 two-part records with a small dBase table,
// converted to a MAP file by the server (open, then place 11), against ogr2ogr converting the
// same shapefile to CSV with its geometry as WKT. Run:
//   build/bench/bench_shp2map --benchmark_min_time=2
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/GeneratedShapefile.h"
#include "model/TextHandles.h"
#include "platform/FormBackend.h"
#include "platform/UiService.h"
#include "plugin/ConversionSettings.h"
#include "plugin/KWZArcView.h"
#include "shape/Shape.h"

namespace {

using bench::kRecords;
using bench::kVerticesPerRecord;

// The generated files, made once per run in a folder of their own.
struct Data {
    std::filesystem::path dir;
    std::string shp;

    Data() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "bench-shp2map-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        shp = (dir / "lines.shp").string();
        platform::UiService::Headless()->SetEcho(false);
        platform::FormService::Headless()->SetEcho(false);
        bench::WritePolylineShapefile(shp);
        bench::WriteLineTable(shp);
    }
    ~Data() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string Out(const char* name) const { return (dir / name).string(); }
};

Data& TheData() {
    static Data data;
    return data;
}

// Opens the shapefile in a new server and converts it; mode 1 also writes the link table.
void Convert(benchmark::State& state, std::int32_t mode) {
    Data& d = TheData();
    ConversionSettings.INI = true;  // settings from per-file INI: no ".cc" file is written
    ConversionSettings.BTA = false;
    ConversionSettings.Arc = 4100;
    const HostTextHandle shp = StrToGlobal(d.shp);
    const HostTextHandle map = StrToGlobal(d.Out("lines.map"));
    for (auto _ : state) {
        TKWZArcView server;
        if (server.OpenFile(shp) != 0) state.SkipWithError("open failed");
        server.SaveAsMap(map, mode);
        if (server.Points->Count() != kRecords * kVerticesPerRecord)
            state.SkipWithError("conversion failed");
    }
    platform::GlobalFree(shp);
    platform::GlobalFree(map);
    state.SetItemsProcessed(state.iterations() * kRecords * kVerticesPerRecord);
}

void BM_ShapefileToMap(benchmark::State& state) {
    Convert(state, 0);
}
BENCHMARK(BM_ShapefileToMap)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShapefileToMapWithLinkTable(benchmark::State& state) {
    Convert(state, 1);
}
BENCHMARK(BM_ShapefileToMapWithLinkTable)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Ogr2OgrToCsv(benchmark::State& state) {
    Data& d = TheData();
    const std::string csv = d.Out("lines.csv");
    const std::string command = "ogr2ogr -f CSV -lco GEOMETRY=AS_WKT -overwrite '" + csv + "' '" +
                                d.shp + "' >/dev/null 2>&1";
    for (auto _ : state) {
        std::filesystem::remove(csv);
        if (std::system(command.c_str()) != 0) state.SkipWithError("ogr2ogr failed");
    }
    state.SetItemsProcessed(state.iterations() * kRecords * kVerticesPerRecord);
}
BENCHMARK(BM_Ogr2OgrToCsv)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
