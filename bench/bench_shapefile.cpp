// Loading and saving a polyline shapefile of 1,000,000 vertices in 10,000 records, against
// copying the same file with ogr2ogr and with cat. Run:
//   build/bench/bench_shapefile --benchmark_min_time=2
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/GeneratedShapefile.h"
#include "platform/UiService.h"
#include "shape/Shape.h"

namespace {

using bench::kRecords;
using bench::kVerticesPerRecord;

// The generated file, made once per run in a folder of its own.
struct Data {
    std::filesystem::path dir;
    std::string shp;

    Data() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "bench-shp-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        shp = (dir / "lines.shp").string();
        platform::UiService::Headless()->SetEcho(false);
        bench::WritePolylineShapefile(shp);
    }
    ~Data() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    std::string Out(const char* name) const { return (dir / name).string(); }
    std::int64_t Bytes() const {
        return static_cast<std::int64_t>(std::filesystem::file_size(shp) +
                                         std::filesystem::file_size(dir / "lines.shx"));
    }
};

Data& TheData() {
    static Data data;
    return data;
}

void RemoveShapefile(const std::string& shp) {
    for (const char* ext : {".shp", ".shx", ".dbf", ".prj", ".cpg"})
        std::filesystem::remove(std::filesystem::path(shp).replace_extension(ext));
}

void BM_LoadAndSave(benchmark::State& state) {
    Data& d = TheData();
    const std::string out = d.Out("ours.shp");
    for (auto _ : state) {
        TShape shape;
        if (shape.LoadShapeFile(d.shp) != 0 || shape.Records->Count() != kRecords)
            state.SkipWithError("load failed");
        shape.SaveShapeFile(out);
    }
    state.SetBytesProcessed(state.iterations() * d.Bytes());
}

void BM_LoadOnly(benchmark::State& state) {
    Data& d = TheData();
    for (auto _ : state) {
        TShape shape;
        benchmark::DoNotOptimize(shape.LoadShapeFile(d.shp));
    }
    state.SetBytesProcessed(state.iterations() * d.Bytes());
}

void BM_Ogr2OgrCopy(benchmark::State& state) {
    Data& d = TheData();
    const std::string out = d.Out("ogr.shp");
    const std::string command = "ogr2ogr -f \"ESRI Shapefile\" '" + out + "' '" + d.shp + "'";
    for (auto _ : state) {
        state.PauseTiming();
        RemoveShapefile(out);
        state.ResumeTiming();
        if (std::system(command.c_str()) != 0) state.SkipWithError("ogr2ogr failed");
    }
    state.SetBytesProcessed(state.iterations() * d.Bytes());
}

void BM_CatCopy(benchmark::State& state) {
    Data& d = TheData();
    const std::string in = d.shp.substr(0, d.shp.size() - 4);
    const std::string out = d.Out("cat");
    const std::string command =
        "cat '" + in + ".shp' > '" + out + ".shp' && cat '" + in + ".shx' > '" + out + ".shx'";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("cat failed");
    state.SetBytesProcessed(state.iterations() * d.Bytes());
}

}  // namespace

BENCHMARK(BM_LoadAndSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Ogr2OgrCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CatCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
