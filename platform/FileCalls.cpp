#include "platform/FileCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>

namespace platform {
namespace {

int OpenAt(int folder, const char* name, int flags, mode_t mode) {
    return ::openat(folder, name, flags, mode);
}

const FileCalls kSystem = {
    OpenAt,  ::fstatat,   ::fchmod, ::renameat, ::linkat,    ::unlinkat,
    ::fsync, ::fdatasync, ::syncfs, ::write,    ::ftruncate,
};

std::atomic<const FileCalls*> inUse{&kSystem};

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
    return WriteThrough(Calls().write, fd, text);
}

bool WriteThrough(ssize_t (*write)(int, const void*, std::size_t), int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = write(fd, text.data(), text.size());
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
    if (Calls().fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0) return Of(st);
    return errno == ENOENT ? FileIdentity{} : Unknown();
}

FileIdentity FileIdentity::Of(const struct stat& st) {
    FileIdentity identity;
    identity.state = State::Present;
    identity.device = static_cast<std::uint64_t>(st.st_dev);
    identity.inode = static_cast<std::uint64_t>(st.st_ino);
    identity.size = static_cast<std::uint64_t>(st.st_size);
    identity.seconds = st.st_mtim.tv_sec;
    identity.nanoseconds = st.st_mtim.tv_nsec;
    return identity;
}

FileIdentity FileIdentity::Of(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 ? Of(st) : Unknown();
}

std::string FileIdentity::Text() const {
    if (state != State::Present) return {};
    return std::to_string(device) + ' ' + std::to_string(inode) + ' ' + std::to_string(size) + ' ' +
           std::to_string(seconds) + ' ' + std::to_string(nanoseconds);
}

namespace {

// A number in plain decimal, without blanks or leading zeros; `at` moves past it.
template <typename Number>
bool ReadNumber(const char*& at, const char* end, Number& number) {
    const char* digits = at != end && *at == '-' ? at + 1 : at;
    if (digits == end || *digits < '0' || *digits > '9' ||
        (*digits == '0' && digits + 1 != end && digits[1] >= '0' && digits[1] <= '9'))
        return false;
    const auto [next, error] = std::from_chars(at, end, number);
    at = next;
    return error == std::errc();
}

}  // namespace

bool FileIdentity::FromText(std::string_view text, FileIdentity& identity) {
    identity = FileIdentity{};
    if (text.empty()) return true;
    // Five numbers apart by one blank; only the seconds may be negative (a time before 1970).
    const char* at = text.data();
    const char* const end = at + text.size();
    const auto blank = [&] { return at != end && *at++ == ' '; };
    FileIdentity read;
    read.state = State::Present;
    if (!ReadNumber(at, end, read.device) || !blank() || !ReadNumber(at, end, read.inode) ||
        !blank() || !ReadNumber(at, end, read.size) || !blank() ||
        !ReadNumber(at, end, read.seconds) || !blank() || !ReadNumber(at, end, read.nanoseconds) ||
        at != end || read.nanoseconds < 0 || read.nanoseconds > 999'999'999)
        return false;
    identity = read;
    return true;
}

}  // namespace platform
