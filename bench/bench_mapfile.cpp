// Throughput of the MAP writer and reader on a generated map of 100,000 objects and 1,000,000
// points, next to a plain `cat` of the same file, and the memory a read map holds per point.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "model/MapFile.h"
#include "platform/UiService.h"

namespace {

constexpr int kObjects = 100000;
constexpr int kPointsPerObject = 10;

struct MapLists {
    std::unique_ptr<TListaPKT> points;
    std::unique_ptr<TListaObi> objects;
};

MapLists Generate() {
    MapLists map;
    NewMapLists(map.points, map.objects);
    for (int i = 0; i < kObjects; ++i) {
        auto object = std::make_unique<TObiekt>(i % 2 ? "4101" : "5002", "atrybut", "", "", "", "",
                                                "", "", 0);
        object->SetAttribute(kAttrID, "ID-" + std::to_string(i));
        TObiekt& o = *object;
        map.objects->AddObject(std::move(object));
        for (int j = 0; j < kPointsPerObject; ++j) {
            const double x = 5700000.0 + i * 1.25 + j * 0.125;
            const double y = 7400000.0 + i * 0.75 - j * 0.375;
            auto p = std::make_unique<TPunkt>("P" + std::to_string(j), j % 3 ? 15 : 12, x, y,
                                              static_cast<float>(j));
            TPunkt* raw = p.get();
            map.points->AddPoint(std::move(p));
            o.Vertices->Add(std::make_unique<TNumer>(raw));
        }
    }
    return map;
}

std::string FilePath() {
    return (std::filesystem::temp_directory_path() /
            ("bench_mapfile_" + std::to_string(::getpid()) + ".map"))
        .string();
}

void Quiet() {
    platform::UiService::Headless()->SetEcho(false);
}

void BM_WriteMapFile(benchmark::State& state) {
    Quiet();
    const MapLists map = Generate();
    const std::string path = FilePath();
    std::int32_t result = 0;
    for (auto _ : state) {
        WriteMapFile("bench", "1.30", 7, path, false, map.points.get(), map.objects.get(), result);
    }
    const auto bytes = static_cast<double>(std::filesystem::file_size(path));
    state.counters["MB/s"] = benchmark::Counter(
        bytes * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
    state.counters["file_MB"] = bytes / 1e6;
    state.counters["result"] = result;
}

void EnsureFile(const std::string& path) {
    if (std::filesystem::exists(path)) return;
    const MapLists map = Generate();
    std::int32_t result = 0;
    WriteMapFile("bench", "1.30", 7, path, false, map.points.get(), map.objects.get(), result);
}

void BM_ReadMapFile(benchmark::State& state) {
    Quiet();
    const std::string path = FilePath();
    EnsureFile(path);
    const auto bytes = static_cast<double>(std::filesystem::file_size(path));
    double bytesPerPoint = 0;
    std::int32_t result = 0;
    for (auto _ : state) {
        MapLists map;
        NewMapLists(map.points, map.objects);
        const std::size_t before = mallinfo2().uordblks;
        ReadMapFile(path, false, *map.points, *map.objects, result);
        const std::size_t after = mallinfo2().uordblks;
        bytesPerPoint = static_cast<double>(after - before) / map.points->Count();
        state.PauseTiming();
        map = {};
        state.ResumeTiming();
    }
    state.counters["MB/s"] = benchmark::Counter(
        bytes * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
    state.counters["bytes_per_point"] = bytesPerPoint;
    state.counters["result"] = result;
}

// The floor: the operating system's own copy of the same file.
void BM_CatToDevNull(benchmark::State& state) {
    const std::string path = FilePath();
    EnsureFile(path);
    const auto bytes = static_cast<double>(std::filesystem::file_size(path));
    const std::string command = "cat '" + path + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("cat failed");
    }
    state.counters["MB/s"] = benchmark::Counter(
        bytes * static_cast<double>(state.iterations()) / 1e6, benchmark::Counter::kIsRate);
}

void BM_Cleanup(benchmark::State& state) {
    for (auto _ : state) std::filesystem::remove(FilePath());
}

}  // namespace

BENCHMARK(BM_WriteMapFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadMapFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CatToDevNull)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Cleanup)->Iterations(1);
