// Points per second through the transformation dispatcher for a few pairs, and the same points
// through PROJ's cct (one process over a file, start-up included) for comparison; both in wall
// time, so the ratio of the two items_per_second of one pair compares them.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

#include "transform/TransformDispatcher.h"
#include "transform/TransformUnits.h"

namespace {

constexpr double kDeg = std::numbers::pi / 180.0;
constexpr int kPoints = 20000;

struct Units {
    Units() { InitializeTransformUnits(); }
    ~Units() { FinalizeTransformUnits(); }
};

// Latitude and longitude in degrees across Poland, and their 1992 and 1965 zone 1 coordinates.
struct Points {
    std::vector<double> lat, lon, x92, y92, x65, y65;
    Points() {
        static Units units;
        for (int i = 0; i < kPoints; ++i) {
            const double la = 49.5 + 5.0 * ((i * 7919) % kPoints) / kPoints;
            const double lo = 14.5 + 9.0 * ((i * 104729) % kPoints) / kPoints;
            lat.push_back(la);
            lon.push_back(lo);
            double x = 0, y = 0, h = 0;
            TransformPoint(MakeTransformCode(csWgs84Blh, csPuwg1992), 0, 0, 5, la * kDeg, lo * kDeg,
                           0, &x, &y, &h);
            x92.push_back(x);
            y92.push_back(y);
            TransformPoint(MakeTransformCode(csWgs84Blh, cs1965), 1, 0, 0, la * kDeg, lo * kDeg, 0,
                           &x, &y, &h);
            x65.push_back(x);
            y65.push_back(y);
        }
    }
};

const Points& P() {
    static const Points points;
    return points;
}

void Dispatch(benchmark::State& state, int source, int target, double zone65, double zoneCode,
              bool geographicIn) {
    const Points& p = P();
    const std::vector<double>& a = geographicIn ? p.lat : (source == cs1965 ? p.x65 : p.x92);
    const std::vector<double>& b = geographicIn ? p.lon : (source == cs1965 ? p.y65 : p.y92);
    const double scale = geographicIn ? kDeg : 1.0;
    for (auto _ : state) {
        for (int i = 0; i < kPoints; ++i) {
            double x = 0, y = 0, h = 0;
            TransformPoint(MakeTransformCode(source, target), zone65, 0, zoneCode, a[i] * scale,
                           b[i] * scale, 0, &x, &y, &h);
            benchmark::DoNotOptimize(x);
        }
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

// The same points through one cct process over a file.
void Cct(benchmark::State& state, const std::string& operation, int which) {
    if (std::system("command -v cct >/dev/null 2>&1") != 0) {
        state.SkipWithError("PROJ's cct is missing (proj-bin)");
        return;
    }
    const Points& p = P();
    const std::string dir = std::filesystem::temp_directory_path() / "kestrel-bench-transform";
    std::filesystem::create_directories(dir);
    {
        std::ofstream in(dir + "/in.txt");
        in.precision(12);
        for (int i = 0; i < kPoints; ++i) {
            if (which == 0) in << p.lon[i] << ' ' << p.lat[i] << " 0 0\n";
            if (which == 1) in << p.y92[i] << ' ' << p.x92[i] << " 0 0\n";
            if (which == 2) in << p.y65[i] << ' ' << p.x65[i] << " 0 0\n";
        }
    }
    const std::string command =
        "cct " + operation + " < " + dir + "/in.txt > " + dir + "/out.txt 2>/dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("cct failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
    std::filesystem::remove_all(dir);
}

const std::string k1992 = "+proj=tmerc +lon_0=19 +k=0.9993 +x_0=500000 +y_0=-5300000 +ellps=GRS80";
const std::string k2000z7 = "+proj=tmerc +lon_0=21 +k=0.999923 +x_0=7500000 +ellps=GRS80";
const std::string k65z1 =
    "+proj=sterea +lat_0=50.625 +lon_0=21.0833333333333 +k=0.9998 +x_0=4637000 +y_0=5467000 "
    "+ellps=krass";
const std::string kTowgs =
    "+proj=helmert +x=33.4 +y=-146.6 +z=-76.3 +rx=-0.359 +ry=-0.053 "
    "+rz=0.844 +s=-0.84 +convention=position_vector";

}  // namespace

BENCHMARK_CAPTURE(Dispatch, wgs84blh_to_1992, csWgs84Blh, csPuwg1992, 0.0, 5.0, true)
    ->UseRealTime();
BENCHMARK_CAPTURE(Cct, wgs84blh_to_1992, "+proj=pipeline +step " + k1992, 0)->UseRealTime();
BENCHMARK_CAPTURE(Dispatch, p1992_to_2000z7, csPuwg1992, csPuwg2000, 0.0, 3.0, false)
    ->UseRealTime();
BENCHMARK_CAPTURE(Cct, p1992_to_2000z7, "+proj=pipeline +step +inv " + k1992 + " +step " + k2000z7,
                  1)
    ->UseRealTime();
BENCHMARK_CAPTURE(Dispatch, p1965z1_to_1992, cs1965, csPuwg1992, 1.0, 5.0, false)->UseRealTime();
BENCHMARK_CAPTURE(Cct, p1965z1_to_1992,
                  "+proj=pipeline +step +inv " + k65z1 + " +step +proj=cart +ellps=krass +step " +
                      kTowgs + " +step +inv +proj=cart +ellps=GRS80 +step " + k1992,
                  2)
    ->UseRealTime();
