// The MAP reader and writer on generated maps (bench/GeneratedMap.h): throughput, time per point
// and memory the read map holds per point, from 10,000 to 5,000,000 points (the growth table:
// both should stay flat), with a plain read of the same file by `cat` in the same run. Run:
//   build/bench/bench_mapfile
// Whole-process figures come from bench/map_tool timed from outside beside cat.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/GeneratedMap.h"
#include "platform/UiService.h"

namespace {

// The generated files, one per size, made once per run in a folder of their own.
class Files {
  public:
    Files() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "bench-mapfile-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
        platform::UiService::Headless()->SetEcho(false);
    }
    ~Files() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& Map(int points) {
        auto [at, made] = maps_.try_emplace(points, (dir_ / (std::to_string(points) + ".map")));
        if (made) bench::WriteGeneratedMap(points, at->second);
        return at->second;
    }
    std::string Out() const { return (dir_ / "out.map").string(); }

  private:
    std::filesystem::path dir_;
    std::map<int, std::string> maps_;
};

Files& Data() {
    static Files files;
    return files;
}

// Bytes the heap holds, the large blocks it maps on their own included.
std::size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Bytes and points per second; both stay flat down the growth table when time grows linearly.
void Rates(benchmark::State& state, double bytes, double points) {
    const auto runs = static_cast<double>(state.iterations());
    state.counters["MB/s"] = benchmark::Counter(bytes * runs / 1e6, benchmark::Counter::kIsRate);
    state.counters["Mpoints/s"] =
        benchmark::Counter(points * runs / 1e6, benchmark::Counter::kIsRate);
}

// The read alone: making the empty lists, measuring the heap and freeing the map are left out
// (the whole-process figures have them). A read before the timed ones leaves the heap with the
// pages a map of the size takes, so that every size is timed alike: otherwise a size timed in
// one run (the largest) would pay for fresh pages that the others, timed in several, reuse.
void BM_ReadMapFile(benchmark::State& state) {
    const auto points = static_cast<int>(state.range(0));
    const std::string& path = Data().Map(points);
    double bytesPerPoint = 0;
    std::int32_t result = 0;
    {
        bench::MapLists warm;
        ReadMapFile(path, false, *warm.points, *warm.objects, result);
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto map = std::make_unique<bench::MapLists>();
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        ReadMapFile(path, false, *map->points, *map->objects, result);
        state.PauseTiming();
        bytesPerPoint = static_cast<double>(HeapInUse() - before) / map->points->Count();
        map.reset();
        state.ResumeTiming();
    }
    Rates(state, static_cast<double>(std::filesystem::file_size(path)), points);
    state.counters["bytes/point"] = bytesPerPoint;
    if (result != 0) state.SkipWithError("the read failed");
}

// Writes the map as a read left it in memory (the host's map after loading, the copy's map).
void BM_WriteMapFile(benchmark::State& state) {
    const auto points = static_cast<int>(state.range(0));
    bench::MapLists map;
    std::int32_t result = 0;
    ReadMapFile(Data().Map(points), false, *map.points, *map.objects, result);
    const std::string path = Data().Out();
    for (auto _ : state) {
        WriteMapFile("bench", "1.30", 7, path, false, map.points.get(), map.objects.get(), result);
    }
    Rates(state, static_cast<double>(std::filesystem::file_size(path)), points);
    if (result != 0) state.SkipWithError("the write failed");
}

// The peers: the operating system's own read of the same file, and its copy of it.
void Cat(benchmark::State& state, const std::string& to) {
    const std::string& path = Data().Map(static_cast<int>(state.range(0)));
    const std::string command = "cat '" + path + "' > '" + to + "'";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("cat failed");
    }
    Rates(state, static_cast<double>(std::filesystem::file_size(path)),
          static_cast<double>(state.range(0)));
}
void BM_CatToDevNull(benchmark::State& state) {
    Cat(state, "/dev/null");
}
void BM_CatToFile(benchmark::State& state) {
    Cat(state, Data().Out());
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int points : {10000, 100000, 1000000, 5000000}) b->Arg(points);
    b->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

BENCHMARK(BM_ReadMapFile)->Apply(Sizes);
BENCHMARK(BM_WriteMapFile)->Apply(Sizes);
BENCHMARK(BM_CatToDevNull)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CatToFile)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
