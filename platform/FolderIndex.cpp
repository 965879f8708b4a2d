#include "platform/FolderIndex.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <map>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/Cp1250.h"
#include "platform/FileSystem.h"
#include "platform/IniNames.h"

namespace platform {
namespace {

// Folders indexed at one time; more start the index afresh.
constexpr std::size_t kFolders = 16;

struct Index {
    dev_t device = 0;
    ino_t inode = 0;
    timespec changed{};
    // Names folded to upper case -> the entries of that name, in byte order.
    std::unordered_map<std::string, std::vector<std::string>> names;
};

// A folder is known by its device and inode, so that every name of it (relative, absolute,
// through a link) finds the one index and every change through any name keeps it current.
using FolderId = std::pair<dev_t, ino_t>;

struct Indexes {
    std::mutex lock;
    std::map<FolderId, Index> folders;
};

Indexes& All() {
    static Indexes indexes;
    return indexes;
}

bool Current(const Index& index, const struct stat& st) {
    return index.device == st.st_dev && index.inode == st.st_ino &&
           index.changed.tv_sec == st.st_mtim.tv_sec && index.changed.tv_nsec == st.st_mtim.tv_nsec;
}

void Stamp(Index& index, const struct stat& st) {
    index.device = st.st_dev;
    index.inode = st.st_ino;
    index.changed = st.st_mtim;
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
    names.insert(std::lower_bound(names.begin(), names.end(), entry), entry);
}

void Drop(Index& index, const std::string& entry) {
    const std::optional<std::string> key = Folded(entry);
    if (!key) return;
    auto it = index.names.find(*key);
    if (it == index.names.end()) return;
    std::erase(it->second, entry);
    if (it->second.empty()) index.names.erase(it);
}

std::string FolderKey(const std::string& folder) {
    return folder.empty() ? "." : folder;
}

// A change the process makes to a folder: the index, when it was current before the change,
// takes the change and stays current.
class Change {
  public:
    explicit Change(const std::string& folder) : folder_(folder) {
        valid_ = ::stat(folder_.c_str(), &before_) == 0;
    }
    // The entries added (true) and removed (false) by the change.
    void Done(std::initializer_list<std::pair<std::string, bool>> entries) {
        const int saved = errno;
        struct stat after {};
        const bool stamped = valid_ && ::stat(folder_.c_str(), &after) == 0;
        Indexes& all = All();
        std::lock_guard<std::mutex> guard(all.lock);
        auto it = all.folders.find(FolderId(before_.st_dev, before_.st_ino));
        if (it != all.folders.end()) {
            if (stamped && Current(it->second, before_)) {
                for (const auto& [entry, added] : entries) {
                    if (added) {
                        Add(it->second, entry);
                    } else {
                        Drop(it->second, entry);
                    }
                }
                Stamp(it->second, after);
            } else {
                all.folders.erase(it);
            }
        }
        errno = saved;
    }

  private:
    std::string folder_;
    struct stat before_ {};
    bool valid_ = false;
};

}  // namespace

std::string FindCaseless(const std::string& folder, std::string_view wanted) {
    const std::string key = FolderKey(folder);
    const std::string folded = IniFoldName(wanted);
    Indexes& all = All();
    std::lock_guard<std::mutex> guard(all.lock);
    // A name found must still be there: a change within the folder's last time stamp may have
    // taken it away. The second round reads the folder afresh.
    for (int round = 0; round < 2; ++round) {
        struct stat st {};
        if (::stat(key.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {};
        const FolderId id(st.st_dev, st.st_ino);
        auto it = all.folders.find(id);
        if (round > 0 || it == all.folders.end() || !Current(it->second, st)) {
            DIR* dir = ::opendir(key.c_str());
            if (dir == nullptr) return {};
            Index index;
            Stamp(index, st);
            while (const dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") Add(index, name);
            }
            ::closedir(dir);
            if (it == all.folders.end() && all.folders.size() >= kFolders) all.folders.clear();
            it = all.folders.insert_or_assign(id, std::move(index)).first;
        }
        auto found = it->second.names.find(folded);
        if (found == it->second.names.end()) return {};
        struct stat entry {};
        const std::string name = found->second.front();
        if (::lstat((key + "/" + name).c_str(), &entry) == 0) return name;
    }
    return {};
}

int CreateEntry(const std::string& name, int flags, mode_t mode) {
    const auto [folder, entry] = SplitOsName(name);
    Change change(folder);
    const int fd = ::open(name.c_str(), flags | O_CLOEXEC, mode);
    if (fd >= 0) change.Done({{entry, true}});
    return fd;
}

bool RenameEntry(const std::string& from, const std::string& to) {
    const auto [fromFolder, fromEntry] = SplitOsName(from);
    const auto [toFolder, toEntry] = SplitOsName(to);
    Change source(fromFolder);
    std::optional<Change> target;
    if (toFolder != fromFolder) target.emplace(toFolder);
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    if (target) {
        source.Done({{fromEntry, false}});
        target->Done({{toEntry, true}});
    } else {
        source.Done({{fromEntry, false}, {toEntry, true}});
    }
    return true;
}

bool RemoveEntry(const std::string& name) {
    const auto [folder, entry] = SplitOsName(name);
    Change change(folder);
    if (::unlink(name.c_str()) != 0) return false;
    change.Done({{entry, false}});
    return true;
}

bool MakeFolder(const std::string& name) {
    const auto [folder, entry] = SplitOsName(name);
    Change change(folder);
    if (::mkdir(name.c_str(), 0777) != 0) return false;
    change.Done({{entry, true}});
    return true;
}

}  // namespace platform
