#pragma once

#include <cstdint>
#include <string_view>

// The one place where operating-system errors (errno) become the Windows-style error numbers that
// the system's file operations return and show.
namespace platform {

enum : std::int32_t {
    kErrorSuccess = 0,
    kErrorFileNotFound = 2,
    kErrorPathNotFound = 3,
    kErrorTooManyOpenFiles = 4,
    kErrorAccessDenied = 5,
    kErrorNotEnoughMemory = 8,
    kErrorInvalidData = 13,
    kErrorWriteProtect = 19,
    kErrorWriteFault = 29,
    kErrorReadFault = 30,
    kErrorGenFailure = 31,
    kErrorSharingViolation = 32,
    kErrorHandleEof = 38,
    kErrorHandleDiskFull = 39,
    kErrorFileExists = 80,
    kErrorInvalidParameter = 87,
    kErrorDiskFull = 112,
    kErrorInvalidName = 123,
    kErrorAlreadyExists = 183,
    kErrorFilenameTooLong = 206,
};

// errno to the Windows-style number; 0 stays 0.
std::int32_t OsErrorFromErrno(int err);

// The same for an error of opening `path`: a missing file whose folder exists is "file not found",
// a missing folder on the way is "path not found".
std::int32_t OsErrorForPath(int err, std::string_view path);

}  // namespace platform
