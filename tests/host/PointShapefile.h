#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

// A point shapefile (.shp and .shx) with one record per (X, Y), written byte by byte.
inline void WritePointShapefile(const std::string& shpPath,
                                const std::vector<std::pair<double, double>>& points) {
    auto be32 = [](std::string& s, std::size_t at, std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(u >> (24 - 8 * i));
    };
    auto le32 = [](std::string& s, std::size_t at, std::int32_t v) {
        const auto u = static_cast<std::uint32_t>(v);
        for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(u >> (8 * i));
    };
    auto leDouble = [](std::string& s, std::size_t at, double v) {
        std::uint64_t u;
        std::memcpy(&u, &v, sizeof u);
        for (int i = 0; i < 8; ++i) s[at + i] = static_cast<char>(u >> (8 * i));
    };
    std::string shp(100, '\0'), shx(100, '\0');
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto [x, y] = points[i];
        if (i == 0 || x < minX) minX = x;
        if (i == 0 || y < minY) minY = y;
        if (i == 0 || x > maxX) maxX = x;
        if (i == 0 || y > maxY) maxY = y;
        const std::size_t at = shp.size();
        shp.resize(at + 28);
        be32(shp, at, static_cast<std::int32_t>(i + 1));
        be32(shp, at + 4, 10);  // content length in 16-bit words
        le32(shp, at + 8, 1);
        leDouble(shp, at + 12, x);
        leDouble(shp, at + 20, y);
        const std::size_t entry = shx.size();
        shx.resize(entry + 8);
        be32(shx, entry, static_cast<std::int32_t>(at / 2));
        be32(shx, entry + 4, 10);
    }
    for (std::string* s : {&shp, &shx}) {
        be32(*s, 0, 9994);
        be32(*s, 24, static_cast<std::int32_t>(s->size() / 2));
        le32(*s, 28, 1000);
        le32(*s, 32, 1);
        leDouble(*s, 36, minX);
        leDouble(*s, 44, minY);
        leDouble(*s, 52, maxX);
        leDouble(*s, 60, maxY);
    }
    std::ofstream(shpPath, std::ios::binary) << shp;
    std::ofstream(shpPath.substr(0, shpPath.size() - 4) + ".shx", std::ios::binary) << shx;
}
