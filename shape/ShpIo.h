#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/BinaryFile.h"

// Byte-order helpers and the checked reader that record and geometry reading share.

static_assert(std::endian::native == std::endian::little,
              "shapefile records are read and written straight from little-endian memory");

// A record that cannot be read as its layout says: too short, counts too large, parts out of order.
class ShapeReadError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The four bytes reversed: converts between big-endian file fields and native integers.
inline std::int32_t SwapInt32(std::int32_t value) {
    return static_cast<std::int32_t>(__builtin_bswap32(static_cast<std::uint32_t>(value)));
}

inline std::int32_t GetLE32(const std::uint8_t* p) {
    std::int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
inline void PutLE32(std::uint8_t* p, std::int32_t v) {
    std::memcpy(p, &v, 4);
}
inline std::int32_t GetBE32(const std::uint8_t* p) {
    return SwapInt32(GetLE32(p));
}
inline void PutBE32(std::uint8_t* p, std::int32_t v) {
    PutLE32(p, SwapInt32(v));
}
inline double GetLEDouble(const std::uint8_t* p) {
    double v;
    std::memcpy(&v, p, 8);
    return v;
}
inline void PutLEDouble(std::uint8_t* p, double v) {
    std::memcpy(p, &v, 8);
}

// Reads whole fields or throws ShapeReadError; knows how many bytes the record may still take (up
// to the end of the file or a given offset), so that counts are checked before anything is
// allocated for them.
class ShpReader {
  public:
    ShpReader(platform::BinaryFile& file, std::int64_t end) : file_(file), end_(end) {}

    void Bytes(void* data, std::size_t count) {
        if (static_cast<std::int64_t>(count) > Left() || file_.Read(data, count) != count)
            throw ShapeReadError("record truncated");
    }
    std::int32_t Int32() {
        std::int32_t v;
        Bytes(&v, 4);
        return v;
    }
    double Double() {
        double v;
        Bytes(&v, 8);
        return v;
    }
    // Throws unless `count` bytes are still there to be read.
    void Require(std::int64_t count) {
        if (count < 0 || count > Left()) throw ShapeReadError("counts exceed the file");
    }

  private:
    std::int64_t Left() { return std::min(file_.Remaining(), end_ - file_.Tell()); }

    platform::BinaryFile& file_;
    std::int64_t end_;
};
