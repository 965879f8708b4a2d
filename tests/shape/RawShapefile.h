#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "ShapeTestUtil.h"
#include "shape/ShpIo.h"

namespace shapetest {

// Builds .shp and .shx bytes by hand, faults included.
struct RawShapefile {
    std::vector<std::uint8_t> shp, shx;

    explicit RawShapefile(std::int32_t type, std::int32_t version = 1000) {
        shp.assign(100, 0);
        PutBE32(shp.data(), 9994);
        PutLE32(shp.data() + 28, version);
        PutLE32(shp.data() + 32, type);
        shx = shp;
    }
    // Content bytes, shape type first; the content length and index entry follow from them
    // unless given.
    void Add(const std::vector<std::uint8_t>& content, std::int32_t contentWords = -1,
             std::int32_t indexWords = -1) {
        const auto offset = static_cast<std::int32_t>(shp.size() / 2);
        std::uint8_t head[8];
        PutBE32(head, static_cast<std::int32_t>(shx.size() - 100) / 8 + 1);
        PutBE32(head + 4,
                contentWords >= 0 ? contentWords : static_cast<std::int32_t>(content.size() / 2));
        shp.insert(shp.end(), head, head + 8);
        shp.insert(shp.end(), content.begin(), content.end());
        Index(indexWords >= 0 ? indexWords : offset);
    }
    void Index(std::int32_t offsetWords, std::int32_t lengthWords = 0) {
        std::uint8_t entry[8];
        PutBE32(entry, offsetWords);
        PutBE32(entry + 4, lengthWords);
        shx.insert(shx.end(), entry, entry + 8);
    }
    void Save(const std::string& shpPath) const {
        std::vector<std::uint8_t> s = shp, x = shx;
        PutBE32(s.data() + 24, static_cast<std::int32_t>(s.size() / 2));
        PutBE32(x.data() + 24, static_cast<std::int32_t>(x.size() / 2));
        WriteBytes(shpPath, s);
        WriteBytes(shpPath.substr(0, shpPath.size() - 4) + ".shx", x);
    }
};

// Little-endian content builder.
struct Content {
    std::vector<std::uint8_t> bytes;
    Content& I(std::int32_t v) {
        std::uint8_t b[4];
        PutLE32(b, v);
        bytes.insert(bytes.end(), b, b + 4);
        return *this;
    }
    Content& D(double v) {
        std::uint8_t b[8];
        PutLEDouble(b, v);
        bytes.insert(bytes.end(), b, b + 8);
        return *this;
    }
    Content& Box() { return D(0).D(0).D(1).D(1); }
};

}  // namespace shapetest
