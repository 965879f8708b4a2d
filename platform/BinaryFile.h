#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Binary files as the system uses them: reading with shared access, writing by create-always
// through a temporary file that replaces the target only when it is closed after every write
// succeeded, so a failed write never destroys the old file. Reads and writes are buffered;
// positions are absolute byte offsets.
namespace platform {

// Windows-style error numbers for the OS errors the system reports.
enum : std::uint32_t {
    kErrorSuccess = 0,
    kErrorFileNotFound = 2,
    kErrorPathNotFound = 3,
    kErrorTooManyOpenFiles = 4,
    kErrorAccessDenied = 5,
    kErrorNotEnoughMemory = 8,
    kErrorWriteProtect = 19,
    kErrorSharingViolation = 32,
    kErrorHandleDiskFull = 39,
    kErrorFileExists = 80,
    kErrorInvalidParameter = 87,
    kErrorDiskFull = 112,
    kErrorInvalidName = 123,
    kErrorAlreadyExists = 183,
    kErrorFilenameTooLong = 206,
    kErrorGenFailure = 31,
};

// The Windows error number for an errno value (ERROR_GEN_FAILURE for anything unmapped).
std::uint32_t WindowsErrorFromErrno(int err);

// The name with its extension replaced (or added); the extension includes its dot.
std::string ChangeFileExt(std::string_view name, std::string_view ext);

bool FileExists(const std::string& name);
// Removes a file; false (with LastOsError set) when it cannot.
bool DeleteFile(const std::string& name);
// Copies a file byte for byte through a temporary file; with failIfExists an existing target is
// left alone and the copy fails.
bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);
// The Windows error number of the last failed free file function on this thread.
std::uint32_t LastOsError();

class BinaryFile {
  public:
    enum class Mode {
        Read,          // existing file, shared read access
        ReadWrite,     // existing file, exclusive
        CreateAlways,  // new content replaces the file on a successful Close
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
    // Flushes and closes. For CreateAlways the temporary file then replaces the target, unless a
    // write failed, in which case it is removed and the old file stays. True when all went well.
    bool Close();

  private:
    void Fail(int err);
    void Discard();

    int fd_ = -1;
    Mode mode_ = Mode::Read;
    std::string name_;
    std::string tempName_;
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
