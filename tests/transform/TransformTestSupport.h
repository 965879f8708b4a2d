#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "transform/TransformUnits.h"

// The transformation module loaded once per test program, as the library's start-up does.
class TransformUnitsEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { InitializeTransformUnits(); }
    void TearDown() override { FinalizeTransformUnits(); }
};

inline constexpr double kDeg = std::numbers::pi / 180.0;
// Metres on the ground per radian of latitude, near enough for tolerances.
inline constexpr double kMetresPerRadian = 6371000.0;

struct Point3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

// A folder of its own for one test, removed afterwards.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrel-transform-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

// PROJ's cs2cs, the outside oracle of the geodesy.
inline bool ProjAvailable() {
    return std::system("cs2cs >/dev/null 2>&1 </dev/null") == 0 ||
           std::system("command -v cs2cs >/dev/null 2>&1") == 0;
}

// Converts points with cs2cs between two CRS given as PROJ understands them (EPSG codes keep
// their authority axis order: latitude first, northing first). Fails the test when PROJ is
// missing or answers badly.
inline std::vector<Point3> Cs2cs(const std::string& from, const std::string& to,
                                 const std::vector<Point3>& points) {
    std::vector<Point3> result;
    if (!ProjAvailable()) {
        ADD_FAILURE() << "PROJ's cs2cs is missing: install proj-bin (scripts/packages.txt)";
        return result;
    }
    ScratchDir dir;
    {
        std::ofstream in(dir / "in.txt");
        in.precision(17);
        for (const Point3& p : points) in << p.x << ' ' << p.y << ' ' << p.z << '\n';
    }
    const std::string command = "cs2cs -f %.10f '" + from + "' '" + to + "' '" + (dir / "in.txt") +
                                "' > '" + (dir / "out.txt") + "' 2>'" + (dir / "err.txt") + "'";
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "cs2cs failed: " << command;
        return result;
    }
    std::ifstream out(dir / "out.txt");
    std::string line;
    while (std::getline(out, line)) {
        std::istringstream fields(line);
        Point3 p;
        if (fields >> p.x >> p.y >> p.z) result.push_back(p);
    }
    if (result.size() != points.size()) {
        ADD_FAILURE() << "cs2cs gave " << result.size() << " points for " << points.size();
        result.clear();
    }
    return result;
}

// Runs points through PROJ's cct with an operation given as PROJ arguments (angles in degrees,
// longitude first, as cct takes them).
inline std::vector<Point3> Cct(const std::string& operation, const std::vector<Point3>& points) {
    std::vector<Point3> result;
    ScratchDir dir;
    {
        std::ofstream in(dir / "in.txt");
        in.precision(17);
        for (const Point3& p : points) in << p.x << ' ' << p.y << ' ' << p.z << " 0\n";
    }
    const std::string command = "cct -d 10 " + operation + " < '" + (dir / "in.txt") + "' > '" +
                                (dir / "out.txt") + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        ADD_FAILURE() << "cct failed (is proj-bin installed?): " << command;
        return result;
    }
    std::ifstream out(dir / "out.txt");
    std::string line;
    while (std::getline(out, line)) {
        std::istringstream fields(line);
        Point3 p;
        if (fields >> p.x >> p.y >> p.z) result.push_back(p);
    }
    if (result.size() != points.size()) result.clear();
    return result;
}

// Points across Poland: latitude, longitude in degrees, ellipsoidal height.
inline const std::vector<Point3>& PolishPointsDeg() {
    static const std::vector<Point3> points = {
        {49.30, 19.95, 900.0}, {50.06, 19.94, 220.0}, {52.23, 21.01, 110.0}, {54.35, 18.65, 10.0},
        {53.43, 14.55, 30.0},  {51.11, 17.03, 120.0}, {53.13, 23.16, 150.0}, {50.04, 22.00, 200.0},
        {52.40, 16.92, 80.0},  {54.10, 22.93, 170.0}, {50.30, 23.90, 250.0}, {51.25, 15.10, 200.0},
    };
    return points;
}
