#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/ReplacementFile.h"

// Binary files as the system uses them: reading with shared access, writing by create-always
// as the replacement of the target (ReplacementFile.h): the new content takes the target's place
// only when the file is closed after every write succeeded, so a failed write never destroys the
// old file. Names are the system's (FileSystem.h). Reads and writes are buffered; positions are
// absolute byte offsets.
namespace platform {

class BinaryFile {
  public:
    enum class Mode {
        Read,          // existing file, shared read access
        ReadWrite,     // existing file, exclusive
        CreateAlways,  // new content replaces the file on a successful Close (ReplacementFile.h)
        CreateNew,     // fails when the file exists; written in place
    };

    BinaryFile() = default;
    // Closes the file; a CreateAlways file not closed explicitly is discarded.
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    bool Open(const std::string& name, Mode mode);
    bool IsOpen() const { return fd_ >= 0; }
    // Windows error number of the last failure (0 when none).
    std::uint32_t LastError() const { return error_; }

    // Reads up to `count` bytes at the position and advances it; returns the bytes read.
    std::size_t Read(void* data, std::size_t count);
    // Writes `count` bytes at the position; false once any write failed.
    bool Write(const void* data, std::size_t count);
    bool Seek(std::int64_t offset);
    std::int64_t Tell() const { return pos_; }
    std::int64_t Size();
    // Bytes between the position and the end of the file (0 past the end).
    std::int64_t Remaining();
    // Writes out what is buffered; false once any write failed.
    bool Flush();
    // Flushes and closes. For CreateAlways the new content then replaces the target (or waits in
    // the current file set), unless a write failed, in which case it is removed and the old file
    // stays. True when all went well.
    bool Close();

  private:
    void Fail(int err);
    void Discard();

    int fd_ = -1;
    Mode mode_ = Mode::Read;
    ReplacementFile replacement_;  // CreateAlways: the file being written
    std::uint32_t error_ = 0;
    bool failed_ = false;
    std::int64_t pos_ = 0;
    std::int64_t size_ = 0;  // size of the file as the OS has it (writes pending not counted)
    std::vector<char> readBuf_;
    std::int64_t readStart_ = 0;
    std::size_t readLen_ = 0;
    std::vector<char> writeBuf_;
    std::int64_t writeStart_ = 0;
};

}  // namespace platform
