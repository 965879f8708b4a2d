#pragma once

// The one scratch file through which a fuzz target hands its input to a file reader, as the host
// would hand over a file. Made once per run and removed when the fuzzer exits.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class FuzzInputFile {
  public:
    explicit FuzzInputFile(const char* prefix) : path_(std::string("/tmp/") + prefix + "_XXXXXX") {
        const int fd = ::mkstemp(path_.data());
        if (fd >= 0) ::close(fd);
    }
    ~FuzzInputFile() { ::unlink(path_.c_str()); }
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    // Replaces the file's bytes with the input; false when it cannot be written.
    bool Write(const std::uint8_t* data, std::size_t size) const {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        if (f == nullptr) return false;
        const bool ok = std::fwrite(data, 1, size, f) == size;
        return std::fclose(f) == 0 && ok;
    }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};
