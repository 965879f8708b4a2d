#include "platform/PinnedFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "platform/FileCalls.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"

namespace platform {
namespace {

// Every pinned file of the process by its name, the latest pin first.
struct Pins {
    std::mutex lock;
    std::multimap<std::string, int> files;
    std::atomic<bool> any{false};
};

Pins& All() {
    static Pins pins;
    return pins;
}

}  // namespace

PinnedFiles::PinnedFiles(const std::vector<std::string>& names) {
    std::vector<std::string> osNames;
    std::set<std::string> folders;
    for (const std::string& name : names) {
        if (name.empty()) continue;
        osNames.push_back(NormalizedPath(OsName(name), OsCurrentFolder()));
        folders.insert(SplitOsName(osNames.back()).first);
    }
    Pins& all = All();
    std::vector<std::unique_ptr<FolderReadLock>> locks;
    for (const std::string& folder : folders)
        locks.push_back(std::make_unique<FolderReadLock>(folder));
    std::lock_guard<std::mutex> guard(all.lock);
    for (const std::string& osName : osNames) {
        // A file pinned already (a pin inside another) stays the same file.
        const auto pinned = all.files.equal_range(osName);
        std::int32_t error = 0;
        const int fd = pinned.first != pinned.second
                           ? ::fcntl(std::prev(pinned.second)->second, F_DUPFD_CLOEXEC, 0)
                           : OpenOsFileDescriptor(osName, O_RDONLY, error, true);
        if (fd >= 0) files_.emplace_back(osName, fd);
    }
    for (const auto& [osName, fd] : files_) all.files.emplace(osName, fd);
    all.any = !all.files.empty();
}

PinnedFiles::~PinnedFiles() {
    Pins& all = All();
    std::lock_guard<std::mutex> guard(all.lock);
    for (const auto& file : files_) {
        auto [first, last] = all.files.equal_range(file.first);
        const auto it = std::find_if(
            first, last, [&file](const auto& pin) { return pin.second == file.second; });
        if (it != last) all.files.erase(it);
        ::close(file.second);
    }
    all.any = !all.files.empty();
}

FileIdentity PinnedFiles::Identity(std::string_view name) const {
    const std::string osName = NormalizedPath(OsName(name), OsCurrentFolder());
    for (const auto& [pinned, fd] : files_)
        if (pinned == osName) return FileIdentity::Of(fd);
    return {};
}

std::optional<int> PinnedFiles::Open(const std::string& osName, int flags) {
    Pins& all = All();
    if ((flags & O_ACCMODE) != O_RDONLY || !all.any) return std::nullopt;
    const std::string name = NormalizedPath(osName, OsCurrentFolder());
    std::lock_guard<std::mutex> guard(all.lock);
    const auto [first, last] = all.files.equal_range(name);
    if (first == last) return std::nullopt;
    const int pinned = std::prev(last)->second;
    const std::string self = "/proc/self/fd/" + std::to_string(pinned);
    const int fd = ::open(self.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) return fd;
    // No way to reopen it: the name, as long as it still holds the pinned file.
    const FileIdentity held = FileIdentity::Of(pinned);
    return OpenWithoutWaiting(AT_FDCWD, name, flags, [&held](const struct stat& st) {
        return held.SameFile(FileIdentity::Of(st));
    });
}

}  // namespace platform
