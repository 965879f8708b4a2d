// The MAP to shapefile export per code: a generated map of 1,000,000 vertices in 100,000
// objects over 100 codes (50 line codes 4xxx, 50 area codes 5xxx, 10 vertices each), written
// as 100 shapefile sets with the full attribute table; against ogr2ogr writing the same
// geometry (with KOD and TPID) from GeoJSON files (one for the lines, one for the areas) to
// shapefiles. A second map spreads 100,000 objects over 5,000 codes. Run:
//   build/bench/bench_export --benchmark_min_time=1
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "platform/UiService.h"
#include "plugin/ConversionSettings.h"
#include "plugin/ExportMapFiles.h"

namespace {

constexpr int kObjects = 100000;
constexpr int kVertices = 10;

std::string MakeFolder(const char* stem) {
    std::string pattern = (std::filesystem::temp_directory_path() / stem).string();
    return ::mkdtemp(pattern.data());
}

// A map of kObjects objects of kVertices vertices over `codes` codes, half lines and half
// closed areas, and the same features as two GeoJSON files.
struct Map {
    std::unique_ptr<TListaPKT> points = std::make_unique<TListaPKT>();
    std::unique_ptr<TListaObi> objects = std::make_unique<TListaObi>();
    std::string dir = MakeFolder("bench-export-XXXXXX");

    explicit Map(int codes, bool geojson) {
        platform::UiService::Headless()->SetEcho(false);
        std::FILE* lines = geojson ? std::fopen((dir + "/lines.geojson").c_str(), "w") : nullptr;
        std::FILE* areas = geojson ? std::fopen((dir + "/areas.geojson").c_str(), "w") : nullptr;
        for (std::FILE* f : {lines, areas})
            if (f) std::fputs("{\"type\":\"FeatureCollection\",\"features\":[\n", f);
        bool firstLine = true, firstArea = true;
        for (int i = 0; i < kObjects; ++i) {
            const int c = i % codes;
            const bool area = c % 2 == 1;
            const int code = (area ? 5000 : 4000) + c / 2;
            auto object =
                std::make_unique<TObiekt>(std::to_string(code), "", "", "", "", "", "", "", 0);
            const double n0 = 5500000.0 + (i % 1000) * 20.0;
            const double e0 = 7400000.0 + (i / 1000) * 20.0;
            std::string coords;
            for (int k = 0; k < kVertices; ++k) {
                double n = n0, e = e0;
                if (!area || k < kVertices - 1) {
                    n += std::round(std::cos(k * 0.6) * 500.0) / 100.0;
                    e += std::round(std::sin(k * 0.6) * 500.0) / 100.0;
                }
                if (area && k == kVertices - 1) {
                    // Close the ring on the first point itself.
                    object->Vertices->Add(std::make_unique<TNumer>(
                        static_cast<TNumer*>(object->Vertices->First())->PointRef));
                    n = static_cast<TNumer*>(object->Vertices->First())->PointRef->X;
                    e = static_cast<TNumer*>(object->Vertices->First())->PointRef->Y;
                } else {
                    points->AddPoint(std::make_unique<TPunkt>("", 12, n, e, 0.0f));
                    object->Vertices->Add(std::make_unique<TNumer>(points->CurrentPoint()));
                }
                char pair[64];
                std::snprintf(pair, sizeof pair, "%s[%.2f,%.2f]", k ? "," : "", e, n);
                coords += pair;
            }
            objects->AddObject(std::move(object));
            if (!geojson) continue;
            std::FILE* f = area ? areas : lines;
            bool& first = area ? firstArea : firstLine;
            std::fprintf(f,
                         "%s{\"type\":\"Feature\",\"properties\":{\"KOD\":\"%d\",\"TPID\":%d},"
                         "\"geometry\":{\"type\":\"%s\",\"coordinates\":%s%s%s]}}\n",
                         first ? "" : ",", code, i + 1, area ? "Polygon" : "LineString",
                         area ? "[[" : "[", coords.c_str(), area ? "]" : "");
            first = false;
        }
        for (std::FILE* f : {lines, areas}) {
            if (!f) continue;
            std::fputs("]}\n", f);
            std::fclose(f);
        }
    }
    ~Map() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

void Settings() {
    ConversionSettings = TConversionSettings{};
    ConversionSettings.KNW = true;
    ConversionSettings.ATB = true;
    ConversionSettings._4XXX = 1;
    ConversionSettings._5XXX = 1;
    ConversionSettings.PLKODY = 3;
}

void Export(benchmark::State& state, Map& map) {
    Settings();
    std::unique_ptr<TShape> shape = std::make_unique<TShape>();
    std::unique_ptr<TListaSYM> symbols = std::make_unique<TListaSYM>();
    const std::string none;
    for (auto _ : state) {
        std::string folder = map.dir + "/out";
        std::filesystem::create_directories(folder);
        ExportMapFiles(TMapExport{map.points.get(), map.objects.get(), shape, symbols, false, none,
                                  folder, none});
        state.PauseTiming();
        std::filesystem::remove_all(folder);
        state.ResumeTiming();
    }
    state.counters["vertices/s"] = benchmark::Counter(
        static_cast<double>(kObjects) * kVertices * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}

void BM_ExportPerCode100Codes(benchmark::State& state) {
    static Map map(100, true);
    Export(state, map);
}
BENCHMARK(BM_ExportPerCode100Codes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Ogr2ogrSameGeometry(benchmark::State& state) {
    static Map map(100, true);
    for (auto _ : state) {
        const std::string out = map.dir + "/ogr";
        state.PauseTiming();
        std::filesystem::create_directories(out);
        state.ResumeTiming();
        const int status = std::system(("ogr2ogr -f 'ESRI Shapefile' " + out + "/lines.shp " +
                                        map.dir + "/lines.geojson && ogr2ogr -f 'ESRI Shapefile' " +
                                        out + "/areas.shp " + map.dir + "/areas.geojson")
                                           .c_str());
        if (status != 0) state.SkipWithError("ogr2ogr failed");
        state.PauseTiming();
        std::filesystem::remove_all(out);
        state.ResumeTiming();
    }
    state.counters["vertices/s"] = benchmark::Counter(
        static_cast<double>(kObjects) * kVertices * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Ogr2ogrSameGeometry)->Unit(benchmark::kMillisecond)->UseRealTime();

// The cost of the export does not grow with the number of codes examined.
void BM_ExportPerCode5000Codes(benchmark::State& state) {
    static Map map(5000, false);
    Export(state, map);
}
BENCHMARK(BM_ExportPerCode5000Codes)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
