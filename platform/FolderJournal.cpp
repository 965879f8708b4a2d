#include "platform/FolderJournal.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>

#include "platform/FileJournal.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"

namespace platform {
namespace {

// The journals of this process, one per folder while the run writes there.
struct Journals {
    std::mutex lock;
    pid_t process = 0;
    std::string token;
    std::map<std::pair<dev_t, ino_t>, std::weak_ptr<FolderJournal>> folders;
};

Journals& All() {
    static Journals journals;
    return journals;
}

// Sets of up to this many files are flushed file by file.
constexpr std::size_t kFewFiles = 8;

// Serial numbers of temporaries and backups: every name is made once in a process.
std::atomic<unsigned long> serials{0};

// Why a journal found in a folder is left as it is.
constexpr std::string_view kLeftAlone = "pozostawiono bez zmian dziennik zapisu ";
constexpr std::string_view kNoLocks =
    "system plików nie ma blokad, po których można poznać, czy jego program jeszcze działa";
constexpr std::string_view kNotRegular = "nie jest zwykłym plikiem";
constexpr std::string_view kOtherOwner = "należy do innego użytkownika";
constexpr std::string_view kTooLarge = "jest za duży";
constexpr std::string_view kCannotOpen = "nie można go otworzyć";
constexpr std::string_view kNotOurs = "nie jest dziennikiem, który mógł zapisać ten program";
constexpr std::string_view kNotRestored = "nie udało się uporządkować plików, które wymienia";

// The test hook of BreakCommitForTest.
std::atomic<int> breakAfter{-1};
std::atomic<CommitBreak> breakHow{CommitBreak::Fail};

// Says once in a process why a journal of a folder is left as it is.
void LeftAlone(const std::string& journal, std::string_view why) {
    static std::mutex lock;
    static std::set<std::string> said;
    std::lock_guard<std::mutex> guard(lock);
    if (said.insert(journal).second)
        FileNotice(std::string(kLeftAlone) + journal + ": " + std::string(why));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
std::shared_ptr<FolderJournal> FolderJournal::Of(const std::string& osFolder) {
    struct stat st {};
    if (::stat(osFolder.c_str(), &st) != 0) return nullptr;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return nullptr;
    }
    Journals& all = All();
    std::lock_guard<std::mutex> guard(all.lock);
    // A child process starts afresh: its parent's journals are not its own.
    if (all.process != ::getpid()) {
        all.process = ::getpid();
        all.token = NewJournalToken();
        all.folders.clear();
    }
    if (auto it = all.folders.find({st.st_dev, st.st_ino}); it != all.folders.end()) {
        if (std::shared_ptr<FolderJournal> journal = it->second.lock()) return journal;
    }
    const int fd = ::open(osFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    const std::string name =
        osFolder.starts_with('/') ? osFolder : OsCurrentFolder() + "/" + osFolder;
    std::shared_ptr<FolderJournal> journal(
        new FolderJournal(fd, name, st.st_dev, st.st_ino, all.token));
    if (!journal->Start()) return nullptr;
    all.folders[{st.st_dev, st.st_ino}] = journal;
    return journal;
}

FolderJournal::FolderJournal(int fd, std::string folder, dev_t device, ino_t inode,
                             std::string token)
    : fd_(fd),
      folder_(std::move(folder)),
      device_(device),
      inode_(inode),
      token_(std::move(token)) {}

bool FolderJournal::Start() {
    // Made under the folder's lock, so that nobody takes the new journal for a dead run's, and,
    // where the file system allows, written and locked before it shows in the folder, so that a
    // run killed meanwhile leaves no empty journal.
    locks_ = LockFolder(fd_, folder_) != LockState::Unsupported;
    const std::string name = JournalName(token_);
    journalFd_ = ::openat(fd_, ".", O_TMPFILE | O_RDWR | O_APPEND | O_CLOEXEC, 0600);
    const bool unnamed = journalFd_ >= 0;
    if (!unnamed)
        journalFd_ = ::openat(fd_, name.c_str(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_APPEND | O_CLOEXEC, 0600);
    int err = errno;
    if (journalFd_ >= 0) {
        if (locks_ && TryLock(journalFd_) == LockState::Unsupported) locks_ = false;
        const std::string self = "/proc/self/fd/" + std::to_string(journalFd_);
        if (!Note(JournalHeader(token_), false) ||
            (unnamed &&
             ::linkat(AT_FDCWD, self.c_str(), fd_, name.c_str(), AT_SYMLINK_FOLLOW) != 0)) {
            err = errno;
            if (!unnamed) ::unlinkat(fd_, name.c_str(), 0);
            ::close(journalFd_);
            journalFd_ = -1;
        }
    }
    if (locks_) Unlock(fd_);
    errno = err;
    return journalFd_ >= 0;
}

FolderJournal::~FolderJournal() {
    if (journalFd_ >= 0) {
        if (live_.empty() && !stuck_) ::unlinkat(fd_, JournalName(token_).c_str(), 0);
        ::close(journalFd_);
    }
    if (fd_ >= 0) ::close(fd_);
}

bool FolderJournal::Note(const std::string& record, bool sync) {
    return WriteToDescriptor(journalFd_, record) && (!sync || ::fdatasync(journalFd_) == 0);
}

int FolderJournal::CreateTemporary(std::string_view target, std::string& temporary) {
    std::lock_guard<std::mutex> guard(lock_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName(target, token_, ++serials);
        // Named in the journal first: a run killed at once leaves nothing the journal misses.
        if (!Note(TemporaryRecord(name), false)) return -1;
        const int fd =
            ::openat(fd_, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            live_.insert(name);
            temporary = std::move(name);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

void FolderJournal::Discard(const std::string& temporary) {
    std::lock_guard<std::mutex> guard(lock_);
    if (::unlinkat(fd_, temporary.c_str(), 0) == 0 || errno == ENOENT) live_.erase(temporary);
}

void FolderJournal::TidyLocked() {
    const int copy = ::dup(fd_);
    DIR* dir = copy >= 0 ? ::fdopendir(copy) : nullptr;
    if (dir == nullptr) {
        if (copy >= 0) ::close(copy);
        return;
    }
    ::rewinddir(dir);
    std::vector<std::pair<std::string, std::string>> journals;
    while (const dirent* entry = ::readdir(dir)) {
        std::string token = JournalTokenOf(entry->d_name);
        if (!token.empty() && token != token_) journals.emplace_back(entry->d_name, token);
    }
    ::closedir(dir);
    for (const auto& [name, token] : journals) Recover(name, token);
}

void FolderJournal::Recover(const std::string& name, const std::string& token) {
    const std::string path = folder_ + "/" + name;
    if (!locks_) return LeftAlone(path, kNoLocks);
    struct stat st {};
    if (::fstatat(fd_, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return;
    if (!S_ISREG(st.st_mode)) return LeftAlone(path, kNotRegular);
    if (st.st_uid != ::geteuid()) return LeftAlone(path, kOtherOwner);
    if (static_cast<std::uint64_t>(st.st_size) > kJournalLimit) return LeftAlone(path, kTooLarge);
    const int fd = ::openat(fd_, name.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return LeftAlone(path, kCannotOpen);
    struct stat opened {};
    const LockState lock =
        ::fstat(fd, &opened) == 0 && opened.st_ino == st.st_ino ? TryLock(fd) : LockState::Busy;
    if (lock == LockState::Held) {
        const std::optional<std::string> text = ReadFromDescriptor(fd, kJournalLimit);
        const std::optional<Journal> journal = text ? ParseJournal(*text, token) : std::nullopt;
        if (!journal) {
            LeftAlone(path, kNotOurs);
        } else if (ReplayJournal(fd_, fd, *journal)) {
            ::unlinkat(fd_, name.c_str(), 0);
        } else {
            LeftAlone(path, kNotRestored);
        }
    } else if (lock == LockState::Unsupported) {
        LeftAlone(path, kNoLocks);
    }
    ::close(fd);  // a live run's journal (busy) is not touched
}

// ---------------------------------------------------------------------------------------------
// The putting in place of one set, over the folders it touches.
class FolderCommit {
  public:
    explicit FolderCommit(const std::vector<SetFile>& files) : files_(files) {
        for (const SetFile& file : files_) folders_.push_back(file.folder.get());
        std::sort(folders_.begin(), folders_.end(), [](FolderJournal* a, FolderJournal* b) {
            return std::pair(a->device_, a->inode_) < std::pair(b->device_, b->inode_);
        });
        folders_.erase(std::unique(folders_.begin(), folders_.end()), folders_.end());
    }

    CommitOutcome Run() {
        Lock();
        for (FolderJournal* folder : folders_) folder->TidyLocked();
        Plan();
        if (!MakeDurable()) {
            Fail(errno);
            for (const SetFile& file : files_) outcome_.failed.insert(file.member);
        } else {
            Place();
        }
        // Renames that may not have reached the disk keep the journal for the next run.
        for (FolderJournal* folder : folders_)
            if (::fsync(folder->fd_) != 0) folder->stuck_ = true;
        Clean();
        Unlock();
        return outcome_;
    }

  private:
    void Lock() {
        for (FolderJournal* folder : folders_) {
            folder->lock_.lock();
            if (folder->locks_ &&
                LockFolder(folder->fd_, folder->folder_) == LockState::Unsupported)
                folder->locks_ = false;
        }
    }
    void Unlock() {
        for (FolderJournal* folder : folders_) {
            if (folder->locks_) platform::Unlock(folder->fd_);
            folder->lock_.unlock();
        }
    }
    void Fail(int err) {
        if (outcome_.error == 0) outcome_.error = err != 0 ? err : EIO;
    }

    // The renames. A member of several files needs the journal, and the old file of each of its
    // targets is kept as a backup while it is put in place, so that it can be undone half-way;
    // one rename alone is all or nothing.
    void Plan() {
        std::map<int, int> sizes;
        std::vector<bool> exists;
        for (const SetFile& file : files_) {
            struct stat st {};
            const bool there =
                ::fstatat(file.folder->fd_, file.target.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
            if (file.temporary.empty() && !there) continue;  // nothing to remove
            renames_.push_back(JournalRename{file.temporary, file.target, "", file.member});
            owners_.push_back(file.folder.get());
            exists.push_back(there);
            ++sizes[file.member];
        }
        for (std::size_t i = 0; i < renames_.size(); ++i) {
            JournalRename& rename = renames_[i];
            if (sizes[rename.member] < 2) continue;
            journaled_ = true;
            if (exists[i])
                rename.backup = TemporaryName(rename.target, owners_[i]->token_, ++serials);
        }
    }

    // The temporaries reach the disk, then the journals naming the renames. A few files are
    // flushed one by one, with their folders; for more, one flush of the whole file system is
    // far quicker than one for each file (a layer of a large export has four).
    bool MakeDurable() {
        if (renames_.size() <= kFewFiles) {
            for (std::size_t i = 0; i < renames_.size(); ++i) {
                if (renames_[i].temporary.empty()) continue;
                const int fd = ::openat(owners_[i]->fd_, renames_[i].temporary.c_str(),
                                        O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
                const bool flushed = fd >= 0 && ::fdatasync(fd) == 0;
                if (fd >= 0) ::close(fd);
                if (!flushed) return false;
            }
            for (FolderJournal* folder : folders_)
                if (::fsync(folder->fd_) != 0) return false;
        } else {
            std::vector<dev_t> flushed;
            for (FolderJournal* folder : folders_) {
                if (std::find(flushed.begin(), flushed.end(), folder->device_) != flushed.end())
                    continue;
                if (::syncfs(folder->fd_) != 0) return false;
                flushed.push_back(folder->device_);
            }
        }
        if (!journaled_) return true;
        for (FolderJournal* folder : folders_) {
            std::vector<JournalRename> own;
            for (std::size_t i = 0; i < renames_.size(); ++i)
                if (owners_[i] == folder) own.push_back(renames_[i]);
            if (own.empty()) continue;
            if (!folder->Note(RenamesRecord(own), true)) return false;
            noted_.push_back(folder);
        }
        return true;
    }

    void Place() {
        int placed = 0;
        for (std::size_t i = 0; i < renames_.size(); ++i) {
            const int member = renames_[i].member;
            if (outcome_.failed.contains(member)) continue;
            int err = 0;
            if (journaled_ && placed == breakAfter.load()) {
                breakAfter = -1;
                if (breakHow == CommitBreak::End) ::_exit(0);
                if (breakHow == CommitBreak::Stop) ::raise(SIGSTOP);
                err =
                    breakHow == CommitBreak::Fail ? EIO : PlaceEntry(owners_[i]->fd_, renames_[i]);
            } else {
                err = PlaceEntry(owners_[i]->fd_, renames_[i]);
            }
            if (err == 0) {
                ++placed;
                continue;
            }
            Fail(err);
            outcome_.failed.insert(member);
            Undo(member);
        }
    }

    // Undoes a member, noted first in the journals of its folders.
    void Undo(int member) {
        std::set<FolderJournal*> noted;
        for (std::size_t i = 0; i < renames_.size(); ++i) {
            if (renames_[i].member != member || !journaled_ || !noted.insert(owners_[i]).second)
                continue;
            if (!owners_[i]->Note(UndoRecord(member), true)) owners_[i]->stuck_ = true;
        }
        for (std::size_t i = renames_.size(); i-- > 0;) {
            if (renames_[i].member == member && !UndoEntry(owners_[i]->fd_, renames_[i]))
                owners_[i]->stuck_ = true;
        }
    }

    // Backups of what is in place go, and temporaries of what is not; the journals say so.
    void Clean() {
        for (std::size_t i = 0; i < renames_.size(); ++i) {
            FolderJournal& folder = *owners_[i];
            const JournalRename& rename = renames_[i];
            if (outcome_.failed.contains(rename.member)) {
                if (!rename.temporary.empty()) ::unlinkat(folder.fd_, rename.temporary.c_str(), 0);
            } else if (!rename.backup.empty()) {
                ::unlinkat(folder.fd_, rename.backup.c_str(), 0);
            }
        }
        for (const SetFile& file : files_) file.folder->live_.erase(file.temporary);
        for (FolderJournal* folder : noted_)
            if (!folder->stuck_) folder->Note(DoneRecord(), false);
    }

    const std::vector<SetFile>& files_;
    std::vector<FolderJournal*> folders_;
    std::vector<JournalRename> renames_;
    std::vector<FolderJournal*> owners_;  // the folder of each rename
    std::vector<FolderJournal*> noted_;   // the folders whose journals name the renames
    bool journaled_ = false;
    CommitOutcome outcome_;
};

CommitOutcome CommitFiles(const std::vector<SetFile>& files) {
    if (files.empty()) return {};
    return FolderCommit(files).Run();
}

void BreakCommitForTest(int filesInPlace, CommitBreak how) {
    breakHow = how;
    breakAfter = filesInPlace;
}

}  // namespace platform
