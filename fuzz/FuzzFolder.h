#pragma once

// A scratch folder for the files a fuzz target hands to the system's readers, as the host would
// hand over a shapefile with its companions. Made once per run, removed with everything in it
// when the fuzzer exits.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

class FuzzFolder {
  public:
    explicit FuzzFolder(const char* prefix) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) != nullptr) dir_ = pattern;
    }
    ~FuzzFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    std::string Path(const std::string& name) const { return dir_ + "/" + name; }
    // Replaces the named file's bytes; returns its path, or empty when they could not be written.
    std::string Write(const std::string& name, const std::uint8_t* data, std::size_t size) const {
        const std::string path = Path(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        out.close();
        return out ? path : std::string();
    }

    // A .shp and its .shx from one input: the first four bytes (little-endian) give the length of
    // the .shp part, the rest after it is the .shx. The path of the .shp, or empty for an input
    // too short to say or a .shp that could not be written.
    std::string WriteShapefile(const std::uint8_t* data, std::size_t size) const {
        if (size < 4) return {};
        std::uint32_t shpLength = 0;
        std::memcpy(&shpLength, data, 4);
        data += 4;
        size -= 4;
        shpLength = static_cast<std::uint32_t>(shpLength % (size + 1));
        Write("in.shx", data + shpLength, size - shpLength);
        return Write("in.shp", data, shpLength);
    }

  private:
    std::string dir_;
};
