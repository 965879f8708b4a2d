#include "platform/ReplacementFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "platform/FileJournal.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/FolderJournal.h"
#include "platform/OsError.h"

namespace platform {
namespace {

// Errors of fchmod on a file system that keeps no modes.
bool KeepsNoModes(int err) {
    return err == ENOSYS || err == ENOTSUP || err == EOPNOTSUPP || err == EPERM;
}

}  // namespace

ReplacementFile::~ReplacementFile() {
    Abandon();
}

std::int32_t ReplacementFile::Create(std::string_view name) {
    if (name.empty()) {
        Abandon();
        return kErrorPathNotFound;
    }
    return CreateForOsName(OsName(name));
}

std::int32_t ReplacementFile::CreateForOsName(const std::string& osName) {
    Abandon();
    if (osName.empty()) return kErrorPathNotFound;
    name_ = osName;
    std::string refusal;
    const std::optional<std::string> target = FollowLinks(osName, &refusal);
    if (!target) {
        // The caller's message names the file; this says why it was not written.
        FileNotice("nie zapisano pliku " + osName + ": " + refusal);
        return kErrorAccessDenied;
    }
    target_ = *target;
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists) {
        // A folder, a device or a read-only file is not replaced, as Windows would not open it
        // for writing; for the file's owner, too.
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 ||
            ::access(target_.c_str(), W_OK) != 0)
            return kErrorAccessDenied;
    }
    const auto [folder, entry] = SplitOsName(target_);
    folder_ = FolderJournal::Of(folder);
    // A new file gets what the process's mask leaves of rw for all; a replacement, the old
    // file's permissions, given once it is the writer's alone.
    if (folder_) fd_ = folder_->Create(entry, exists ? 0600 : 0666, temporary_);
    int err = errno;
    if (fd_ >= 0 && exists) {
        if (::fchown(fd_, st.st_uid, st.st_gid) != 0) {
            // Only the owner's own groups can be given away; the file then belongs to the writer.
        }
        // A file system that keeps no modes (FAT, some network and FUSE ones) refuses them:
        // the new file then has what every file there has.
        if (Calls().fchmod(fd_, st.st_mode & 07777) != 0 && !KeepsNoModes(errno)) {
            err = errno;
            Abandon();
            return OsErrorFromErrno(err);
        }
    }
    if (fd_ < 0) {
        folder_.reset();
        temporary_.clear();
        return err == ENOENT ? kErrorPathNotFound : OsErrorFromErrno(err);
    }
    return 0;
}

void ReplacementFile::Abandon() {
    if (fd_ >= 0) {
        if (folder_) folder_->Discard(temporary_, FileIdentity::Of(fd_));
        ::close(fd_);
    } else if (folder_) {
        folder_->Discard(temporary_, written_);
    }
    fd_ = -1;
    folder_.reset();
    temporary_.clear();
    written_ = {};
}

std::int32_t ReplacementFile::Finish() {
    if (fd_ < 0) return kErrorInvalidParameter;
    std::int32_t error = 0;
    const std::string entry = SplitOsName(target_).second;
    if (const int err = folder_->Publish(fd_, entry, temporary_, written_); err != 0)
        error = OsErrorFromErrno(err);
    if (::close(fd_) != 0 && error == 0) error = OsErrorFromErrno(errno);
    fd_ = -1;
    FileSet* set = FileSet::Current();
    if (error == 0 && set != nullptr) {
        set->Adopt(std::move(folder_), std::move(temporary_), written_, target_, name_);
        folder_.reset();
        temporary_.clear();
        return 0;
    }
    if (error == 0) {
        const CommitOutcome outcome =
            CommitFiles({SetFile{folder_, temporary_, written_, entry, 0}});
        error = OsErrorFromErrno(outcome.error);
        // Put in place, or removed by the commit.
        if (outcome.failed.empty()) temporary_.clear();
    }
    if (error != 0 && set != nullptr) set->Fail(error);
    Abandon();
    return error;
}

std::int32_t ReplaceFileContents(const std::string& osName, std::string_view bytes) {
    ReplacementFile file;
    if (const std::int32_t error = file.CreateForOsName(osName); error != 0) return error;
    if (!WriteToDescriptor(file.Descriptor(), bytes)) return OsErrorFromErrno(errno);
    return file.Finish();
}

}  // namespace platform
