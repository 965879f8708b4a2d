#pragma once

// Helpers of the transformation and one-call conversion tests: the outside library within
// reach, PROJ's cs2cs and GDAL's ogrinfo as oracles, and the points of files the library wrote.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace transformhost {

using Pair = std::pair<double, double>;

// While it lives the current folder is the build's binary folder, where the library looks for
// "lib32\Rumbo.dll" after the test program's own folder (which has none).
class RumboInReach {
  public:
    RumboInReach() : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(KESTREL_BIN_DIR);
    }
    ~RumboInReach() { std::filesystem::current_path(saved_); }
    RumboInReach(const RumboInReach&) = delete;
    RumboInReach& operator=(const RumboInReach&) = delete;

  private:
    std::filesystem::path saved_;
};

inline std::string RunCommand(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
    ::pclose(pipe);
    return output;
}

// Points through cs2cs between two EPSG systems, in the axis order of each system.
inline std::vector<Pair> Cs2cs(const std::string& from, const std::string& to,
                               const std::vector<Pair>& points, const std::string& dir) {
    const std::string in = dir + "/cs2cs-in.txt";
    {
        std::ofstream file(in);
        file.precision(17);
        for (const Pair& p : points) file << p.first << ' ' << p.second << " 0\n";
    }
    const std::string output =
        RunCommand("cs2cs -f %.12f " + from + " " + to + " '" + in + "' 2>&1");
    std::vector<Pair> result;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Pair p;
        if (fields >> p.first >> p.second) result.push_back(p);
    }
    EXPECT_EQ(result.size(), points.size()) << output;
    return result;
}

// The points of a point shapefile as ogrinfo reads them: (X, Y) of the file.
inline std::vector<Pair> OgrPoints(const std::string& shp) {
    const std::string output = RunCommand("ogrinfo -ro -al '" + shp + "' 2>&1");
    std::vector<Pair> points;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t at = line.find("POINT (");
        if (at == std::string::npos) continue;
        std::istringstream fields(line.substr(at + 7));
        Pair p;
        if (fields >> p.first >> p.second) points.push_back(p);
    }
    return points;
}

// The coordinates of the point lines ("P flag X Y ...") of a MAP file the library wrote.
inline std::vector<Pair> MapPoints(const std::string& map) {
    std::ifstream in(map, std::ios::binary);
    std::vector<Pair> points;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("P ", 0) != 0) continue;
        std::istringstream fields(line.substr(1));
        int flag = 0;
        Pair p;
        if (fields >> flag >> p.first >> p.second) points.push_back(p);
    }
    return points;
}

// A MAP file of point objects (code 1101), one per point, northing first.
inline std::string PointMap(const std::vector<Pair>& northEast) {
    std::ostringstream map;
    map.precision(17);
    map << ";ver=[ 5.00]\r\n";
    for (const Pair& p : northEast)
        map << "*1101 1 7 0\r\nP 0 " << p.first << ' ' << p.second << "\r\n";
    return map.str();
}

inline std::vector<Pair> Swapped(std::vector<Pair> points) {
    for (Pair& p : points) std::swap(p.first, p.second);
    return points;
}

}  // namespace transformhost
