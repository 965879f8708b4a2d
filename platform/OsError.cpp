#include "platform/OsError.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

namespace platform {

std::int32_t OsErrorFromErrno(int err) {
    switch (err) {
        case 0:
            return 0;
        case ENOENT:
            return kErrorFileNotFound;
        case ENOTDIR:
            return kErrorPathNotFound;
        case EMFILE:
        case ENFILE:
            return kErrorTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EISDIR:
            return kErrorAccessDenied;
        case ENOMEM:
            return kErrorNotEnoughMemory;
        case EROFS:
            return kErrorWriteProtect;
        case EIO:
            return kErrorReadFault;
        case EBUSY:
        case ETXTBSY:
        case EWOULDBLOCK:
            return kErrorSharingViolation;
        case EEXIST:
            return kErrorFileExists;
        case EINVAL:
        case EBADF:
            return kErrorInvalidParameter;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return kErrorDiskFull;
        case ENAMETOOLONG:
            return kErrorFilenameTooLong;
        case EILSEQ:
            return kErrorInvalidName;
        default:
            return kErrorGenFailure;
    }
}

std::int32_t OsErrorForPath(int err, std::string_view path) {
    if (err != ENOENT) return OsErrorFromErrno(err);
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos || slash == 0) return kErrorFileNotFound;
    struct stat st {};
    const std::string folder(path.substr(0, slash));
    if (::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return kErrorFileNotFound;
    return kErrorPathNotFound;
}

}  // namespace platform
