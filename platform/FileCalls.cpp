#include "platform/FileCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>

namespace platform {
namespace {

const FileCalls kSystem = {
    ::renameat, ::linkat, ::unlinkat, ::fsync, ::fdatasync, ::syncfs, ::write, ::ftruncate,
};

std::atomic<const FileCalls*> inUse{&kSystem};

FileIdentity FromStat(const struct stat& st) {
    FileIdentity identity;
    identity.state = FileIdentity::State::Present;
    identity.device = static_cast<std::uint64_t>(st.st_dev);
    identity.inode = static_cast<std::uint64_t>(st.st_ino);
    identity.size = static_cast<std::uint64_t>(st.st_size);
    identity.seconds = st.st_mtim.tv_sec;
    identity.nanoseconds = st.st_mtim.tv_nsec;
    return identity;
}

FileIdentity Unknown() {
    FileIdentity identity;
    identity.state = FileIdentity::State::Unknown;
    return identity;
}

}  // namespace

const FileCalls& Calls() {
    return *inUse.load();
}

const FileCalls& SystemFileCalls() {
    return kSystem;
}

const FileCalls* UseFileCalls(const FileCalls* calls) {
    return inUse.exchange(calls != nullptr ? calls : &kSystem);
}

int FlushFolder(int folder) {
    if (Calls().fsync(folder) == 0) return 0;
    const int err = errno;
    return err == EINVAL || err == ENOTSUP || err == EOPNOTSUPP ? 0 : err;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = Calls().write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = ENOSPC;  // nothing written and no error given: the disk is full
        if (n <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool FileIdentity::Matches(const FileIdentity& other) const {
    if (state == State::Unknown || other.state == State::Unknown) return false;
    if (state != other.state) return false;
    return state == State::Absent ||
           (device == other.device && inode == other.inode && size == other.size &&
            seconds == other.seconds && nanoseconds == other.nanoseconds);
}

FileIdentity FileIdentity::At(int folder, const std::string& name) {
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return FromStat(st);
    return errno == ENOENT ? FileIdentity{} : Unknown();
}

FileIdentity FileIdentity::Of(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? FromStat(st) : Unknown();
}

std::string FileIdentity::Text() const {
    if (state != State::Present) return {};
    return std::to_string(device) + ' ' + std::to_string(inode) + ' ' + std::to_string(size) + ' ' +
           std::to_string(seconds) + ' ' + std::to_string(nanoseconds);
}

bool FileIdentity::FromText(std::string_view text, FileIdentity& identity) {
    identity = FileIdentity{};
    if (text.empty()) return true;
    // Five numbers apart by one blank, in plain decimal: no blanks or leading zeros besides, and a
    // sign only on the seconds (a time before 1970).
    std::int64_t numbers[5] = {};
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (int i = 0; i < 5; ++i) {
        if (i > 0 && (at == end || *at++ != ' ')) return false;
        const char* digits = i == 3 && at != end && *at == '-' ? at + 1 : at;
        if (digits == end || *digits < '0' || *digits > '9' ||
            (*digits == '0' && digits + 1 != end && digits[1] != ' '))
            return false;
        if (i == 3) {
            const auto [next, error] = std::from_chars(at, end, numbers[i]);
            if (error != std::errc()) return false;
            at = next;
        } else {
            std::uint64_t n = 0;
            const auto [next, error] = std::from_chars(at, end, n);
            if (error != std::errc()) return false;
            numbers[i] = static_cast<std::int64_t>(n);
            if (i < 3) (i == 0 ? identity.device : i == 1 ? identity.inode : identity.size) = n;
            at = next;
        }
    }
    if (at != end || numbers[4] < 0 || numbers[4] > 999'999'999) return false;
    identity.state = State::Present;
    identity.seconds = numbers[3];
    identity.nanoseconds = numbers[4];
    return true;
}

}  // namespace platform
