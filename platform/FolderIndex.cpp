#include "platform/FolderIndex.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Cp1250.h"
#include "platform/IniNames.h"

namespace platform {
namespace {

// Folders indexed at one time; more start the index afresh.
constexpr std::size_t kFolders = 16;
constexpr std::uint32_t kChanges =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_ONLYDIR;
constexpr int kNoNotices = -2;

// File systems whose folders the kernel reports every change of, wherever it was made: the
// local ones. A network file system's folder changes on other machines unseen.
bool Local(int fd) {
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0) return false;
    static constexpr unsigned long kLocal[] = {
        0xEF53,     0x58465342, 0x9123683E, 0x01021994, 0x858458F6, 0xF2F52010, 0x3153464A,
        0x52654973, 0x794C7630, 0x2FC12FC1, 0xCA451A4E, 0x4D44,     0x2011BAB0, 0x7366746E,
        0x482B,     0x3434,     0x73717368, 0x9660,     0x15013346, 0xE0F5E1E2};
    const auto type = static_cast<unsigned long>(fs.f_type) & 0xFFFFFFFFul;
    return std::find(std::begin(kLocal), std::end(kLocal), type) != std::end(kLocal);
}

struct Index {
    int watch = -1;      // the kernel's notices of the folder; -1 when there are none
    timespec changed{};  // without notices: the folder's time of change when it was read
    // Names folded to upper case -> the entries of that name, in byte order.
    std::unordered_map<std::string, std::vector<std::string>> names;
};

// A folder is known by its device and inode, so that every name of it (relative, absolute,
// through a link) finds the one index.
using FolderId = std::pair<dev_t, ino_t>;

struct Indexes {
    std::mutex lock;
    pid_t process = 0;
    int notices = -1;  // the inotify instance; -1 before it is made, kNoNotices when there is none
    std::map<FolderId, Index> folders;
    std::unordered_map<int, FolderId> watched;
};

Indexes& All() {
    static Indexes indexes;
    return indexes;
}

// The folded system name of an entry; nothing for a name Windows-1250 cannot hold, which no
// system name can match.
std::optional<std::string> Folded(std::string_view entry) {
    std::optional<std::string> system = Utf8ToCp1250Exact(entry);
    if (system) *system = IniFoldName(*system);
    return system;
}

void Add(Index& index, const std::string& entry) {
    const std::optional<std::string> key = Folded(entry);
    if (!key) return;
    std::vector<std::string>& names = index.names[*key];
    const auto at = std::lower_bound(names.begin(), names.end(), entry);
    if (at == names.end() || *at != entry) names.insert(at, entry);
}

void Drop(Index& index, const std::string& entry) {
    const std::optional<std::string> key = Folded(entry);
    if (!key) return;
    auto it = index.names.find(*key);
    if (it == index.names.end()) return;
    std::erase(it->second, entry);
    if (it->second.empty()) index.names.erase(it);
}

// Forgets every index; the kernel's notices start afresh too.
void Forget(Indexes& all) {
    if (all.notices >= 0) ::close(all.notices);
    all.notices = -1;
    all.folders.clear();
    all.watched.clear();
}

// Takes every change the kernel has told of so far into the indexes.
void TakeNotices(Indexes& all) {
    alignas(inotify_event) char buffer[64 * 1024];
    while (all.notices >= 0) {
        const ssize_t n = ::read(all.notices, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n < 0 && errno != EAGAIN) Forget(all);
            return;
        }
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            // Notices lost: nothing the indexes hold can be trusted.
            if ((event->mask & IN_Q_OVERFLOW) != 0) return Forget(all);
            const auto watch = all.watched.find(event->wd);
            if (watch == all.watched.end()) continue;
            const auto folder = all.folders.find(watch->second);
            if ((event->mask & (IN_DELETE_SELF | IN_IGNORED | IN_UNMOUNT)) != 0 ||
                folder == all.folders.end()) {
                if (folder != all.folders.end()) all.folders.erase(folder);
                all.watched.erase(watch);
                continue;
            }
            if (event->len == 0) continue;
            const std::string name(event->name);
            if ((event->mask & (IN_CREATE | IN_MOVED_TO)) != 0) {
                Add(folder->second, name);
            } else if ((event->mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
                Drop(folder->second, name);
            }
        }
    }
}

// Reads the folder into a new index, watched by the kernel's notices where they tell of every
// change (asked for before the reading, so that no change between goes unseen).
Index* Read(Indexes& all, const std::string& key, const FolderId& id) {
    const int fd = ::open(key.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || FolderId(st.st_dev, st.st_ino) != id) {
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    if (all.folders.size() >= kFolders) Forget(all);
    if (all.notices == -1) {
        all.notices = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (all.notices < 0) all.notices = kNoNotices;
    }
    Index index;
    index.changed = st.st_mtim;
    if (all.notices >= 0 && Local(fd)) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        index.watch = ::inotify_add_watch(all.notices, self.c_str(), kChanges);
        if (index.watch < 0) index.watch = ::inotify_add_watch(all.notices, key.c_str(), kChanges);
    }
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return nullptr;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") Add(index, name);
    }
    ::closedir(dir);
    if (index.watch >= 0) all.watched[index.watch] = id;
    all.folders.insert_or_assign(id, std::move(index));
    // Changes made while the folder was read.
    TakeNotices(all);
    const auto it = all.folders.find(id);
    return it == all.folders.end() ? nullptr : &it->second;
}

}  // namespace

std::string FindCaseless(const std::string& folder, std::string_view wanted) {
    const std::string key = folder.empty() ? "." : folder;
    const std::string folded = IniFoldName(wanted);
    Indexes& all = All();
    std::lock_guard<std::mutex> guard(all.lock);
    // A child process has notices of its own: its parent reads the ones they shared.
    if (all.process != ::getpid()) {
        all.process = ::getpid();
        Forget(all);
    }
    TakeNotices(all);
    struct stat st {};
    if (::stat(key.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
    const FolderId id(st.st_dev, st.st_ino);
    auto it = all.folders.find(id);
    Index* index = it == all.folders.end() ? nullptr : &it->second;
    bool fresh = false;
    if (index != nullptr && index->watch < 0 &&
        (index->changed.tv_sec != st.st_mtim.tv_sec ||
         index->changed.tv_nsec != st.st_mtim.tv_nsec))
        index = nullptr;
    for (int round = 0; round < 2; ++round) {
        if (index == nullptr) {
            index = Read(all, key, id);
            fresh = true;
            if (index == nullptr) return {};
        }
        auto found = index->names.find(folded);
        if (found != index->names.end()) {
            struct stat entry {};
            const std::string name = found->second.front();
            if (::lstat((key + "/" + name).c_str(), &entry) == 0) return name;
        } else if (index->watch >= 0 || fresh) {
            // Every change told: there is none.
            return {};
        }
        // Gone, or not seen yet: the folder is read again.
        TakeNotices(all);
        all.folders.erase(id);
        index = nullptr;
    }
    return {};
}

}  // namespace platform
