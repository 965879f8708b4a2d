#include "platform/PinnedFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <iterator>
#include <map>
#include <mutex>
#include <optional>
#include <set>

#include "platform/Cp1250.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"

namespace platform {
namespace {

// The files the readings of the process give, by name, the latest reading's last. A value is a
// descriptor, or minus the error of a name held as missing.
struct Readings {
    std::mutex lock;
    std::multimap<std::string, int> files;
    std::atomic<bool> any{false};
};

Readings& All() {
    static Readings readings;
    return readings;
}

// What the latest reading gives for one of the names; the caller holds the lock.
std::optional<int> Latest(const Readings& all, const std::string& given, const std::string& os) {
    for (const std::string* name : {&given, &os}) {
        const auto [first, last] = all.files.equal_range(*name);
        if (first != last) return std::prev(last)->second;
    }
    return std::nullopt;
}

std::string GivenName(std::string_view name, const std::string& current) {
    return NormalizedPath(Cp1250ToUtf8(name), current);
}

// Another descriptor of a held file, or minus the error (of the holding or of the duplicate).
int Duplicate(int held) {
    if (held < 0) return held;
    const int fd = ::fcntl(held, F_DUPFD_CLOEXEC, 0);
    return fd >= 0 ? fd : -errno;
}

// A regular file opened for reading, never waiting on it; minus the error when it cannot be.
int OpenRegular(const std::string& osName) {
    const int fd = OpenWithoutWaiting(AT_FDCWD, osName, O_RDONLY,
                                      [](const struct stat& st) { return S_ISREG(st.st_mode); });
    return fd >= 0 ? fd : -errno;
}

}  // namespace

PinnedFiles::PinnedFiles(const std::vector<std::string>& names) {
    const std::string current = OsCurrentFolder();
    std::set<std::string> folders;
    for (const std::string& name : names) {
        if (name.empty()) continue;
        files_.push_back(
            {GivenName(name, current), NormalizedPath(OsName(name), current), -ENOENT});
        folders.insert(SplitOsName(files_.back().os).first);
    }
    std::vector<std::unique_ptr<FolderReadLock>> locks;
    for (const std::string& folder : folders)
        locks.push_back(std::make_unique<FolderReadLock>(folder));
    Readings& all = All();
    for (File& file : files_) {
        std::optional<int> read;
        if (all.any) {
            const std::lock_guard<std::mutex> guard(all.lock);
            read = Latest(all, file.given, file.os);
            if (read) file.fd = Duplicate(*read);
        }
        if (!read) file.fd = OpenRegular(file.os);
    }
}

PinnedFiles::~PinnedFiles() {
    for (const File& file : files_)
        if (file.fd >= 0) ::close(file.fd);
}

std::unique_ptr<PinnedFiles> PinnedFiles::Part(const std::vector<std::string>& names) const {
    std::unique_ptr<PinnedFiles> part(new PinnedFiles());
    for (const std::string& name : names) {
        const File* file = Find(name);
        if (file != nullptr) part->files_.push_back({file->given, file->os, Duplicate(file->fd)});
    }
    return part;
}

const PinnedFiles::File* PinnedFiles::Find(std::string_view name) const {
    const std::string current = OsCurrentFolder();
    const std::string given = GivenName(name, current);
    for (const File& file : files_)
        if (file.given == given) return &file;
    const std::string os = NormalizedPath(OsName(name), current);
    for (const File& file : files_)
        if (file.os == os) return &file;
    return nullptr;
}

FileIdentity PinnedFiles::Identity(std::string_view name) const {
    const File* file = Find(name);
    return file != nullptr && file->fd >= 0 ? FileIdentity::Of(file->fd) : FileIdentity{};
}

PinnedFiles::Reading::Reading(const PinnedFiles* pin) {
    if (pin == nullptr) return;
    for (const File& file : pin->files_) {
        registered_.emplace_back(file.given, file.fd);
        if (file.os != file.given) registered_.emplace_back(file.os, file.fd);
    }
    Readings& all = All();
    const std::lock_guard<std::mutex> guard(all.lock);
    for (const auto& [name, fd] : registered_) all.files.emplace(name, fd);
    all.any = !all.files.empty();
}

PinnedFiles::Reading::~Reading() {
    Readings& all = All();
    const std::lock_guard<std::mutex> guard(all.lock);
    for (auto entry = registered_.rbegin(); entry != registered_.rend(); ++entry) {
        const auto [first, last] = all.files.equal_range(entry->first);
        auto latest = last;
        for (auto file = first; file != last; ++file)
            if (file->second == entry->second) latest = file;
        if (latest != last) all.files.erase(latest);
    }
    all.any = !all.files.empty();
}

std::optional<int> PinnedFiles::Open(std::string_view name, const std::string& osName, int flags) {
    Readings& all = All();
    if ((flags & O_ACCMODE) != O_RDONLY || !all.any) return std::nullopt;
    const std::string current = OsCurrentFolder();
    const std::string given = GivenName(name, current);
    const std::string os = NormalizedPath(osName, current);
    int pinned = -1;
    {
        const std::lock_guard<std::mutex> guard(all.lock);
        const std::optional<int> read = Latest(all, given, os);
        if (!read) return std::nullopt;
        // Its own descriptor, so that the file stays open whoever ends a reading meanwhile.
        pinned = Duplicate(*read);
    }
    if (pinned < 0) {
        errno = -pinned;
        return -1;
    }
    // A file description of its own, with its own position: the pinned file opened again.
    const std::string self = "/proc/self/fd/" + std::to_string(pinned);
    int fd = ::open(self.c_str(), flags | O_CLOEXEC);
    if (fd < 0) {
        // No way to reopen it: the name, as long as it still holds the pinned file.
        const FileIdentity held = FileIdentity::Of(pinned);
        fd = OpenWithoutWaiting(AT_FDCWD, os, flags, [&held](const struct stat& st) {
            return held.SameFile(FileIdentity::Of(st));
        });
    }
    const int error = errno;
    ::close(pinned);
    errno = error;
    return fd;
}

}  // namespace platform
