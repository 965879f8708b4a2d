#include "platform/FolderJournal.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>

#include "platform/FileJournal.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"

namespace platform {
namespace {

// The journals of this process, one per folder while the run writes there.
struct Journals {
    std::mutex lock;
    pid_t process = 0;
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

// What recovery did, and why a journal found in a folder is left as it is.
constexpr std::string_view kFinished = "dokończono przerwany zapis plików w folderze ";
constexpr std::string_view kUndone =
    "wycofano przerwany zapis plików, wróciły ich poprzednie wersje, w folderze ";
constexpr std::string_view kChanged =
    "wymienione w nim pliki nie są już takie, jakie zostawił przerwany zapis, więc ich nie "
    "zmieniono: ";
constexpr std::string_view kEarlier =
    "zapisała go wcześniejsza wersja programu, która nie notowała, jakie to pliki, więc "
    "niczego w nim nie wykonano";
constexpr std::string_view kItsFiles = "; wymienia pliki: ";
constexpr std::string_view kDelete = " (usuń dziennik, gdy pliki są w porządku)";
constexpr std::string_view kDeleteWith =
    "; gdy pliki są w porządku, usuń dziennik razem z jego plikami tymczasowymi: ";
constexpr std::string_view kUnflushed =
    "pliki są na miejscu, ale system plików nie potwierdził ich zapisu na dysku (następny zapis "
    "sprawdzi je ponownie) w folderze ";
constexpr std::string_view kLeftAlone = "pozostawiono bez zmian dziennik zapisu ";
constexpr std::string_view kNoLocks =
    "system plików nie ma blokad, po których można poznać, czy jego program jeszcze działa";
constexpr std::string_view kNotRegular = "nie jest zwykłym plikiem";
constexpr std::string_view kOtherOwner = "należy do innego użytkownika";
constexpr std::string_view kTooLarge = "jest za duży";
constexpr std::string_view kCannotOpen = "nie można go otworzyć";
constexpr std::string_view kNotOurs = "nie jest dziennikiem, który mógł zapisać ten program";
constexpr std::string_view kNotRestored = "nie udało się uporządkować plików, które wymienia";

// Says once in a process why a journal of a folder is left as it is.
void LeftAlone(const std::string& journal, std::string_view why) {
    static std::mutex lock;
    static std::set<std::string> said;
    std::lock_guard<std::mutex> guard(lock);
    if (said.insert(journal).second) {
        std::string text(kLeftAlone);
        text.append(journal).append(": ").append(why);
        FileNotice(text);
    }
}

// Folders whose entries the file system did not confirm on the disk.
std::atomic<int> unconfirmed{0};

void Unconfirmed(const std::string& folder) {
    ++unconfirmed;
    FileNotice(std::string(kUnflushed) + folder);
}

// The names, the first few of a long list with how many there are.
std::string NameList(const std::vector<std::string>& names) {
    constexpr std::size_t kShown = 12;
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i)
        text.append(i > 0 ? ", " : "").append(names[i]);
    if (names.size() > kShown)
        text.append(" … (razem ").append(std::to_string(names.size())).append(")");
    return text;
}

// What to delete with a journal left for the person: the hidden files it names that are there.
std::string DeleteWith(const std::vector<std::string>& hidden) {
    return hidden.empty() ? std::string(kDelete) : std::string(kDeleteWith) + NameList(hidden);
}

// Says which files of a folder something happened to.
void Tell(std::string_view what, const std::string& folder, const std::vector<std::string>& names) {
    if (names.empty()) return;
    FileNotice(std::string(what) + folder + ": " + NameList(names));
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
        all.folders.clear();
    }
    // A journal that must stay for a later run takes no more of this process's work.
    std::shared_ptr<FolderJournal> previous;
    if (auto it = all.folders.find({st.st_dev, st.st_ino}); it != all.folders.end()) {
        previous = it->second.lock();
        if (previous && !previous->stuck_ && !previous->unflushed_) return previous;
    }
    const int fd = ::open(osFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0) ::close(fd);
        return nullptr;
    }
    const std::string name =
        osFolder.starts_with('/') ? osFolder : OsCurrentFolder() + "/" + osFolder;
    std::shared_ptr<FolderJournal> journal(new FolderJournal(fd, name, st.st_dev, st.st_ino));
    if (!journal->Start()) return nullptr;
    journal->previous_ = previous;
    all.folders[{st.st_dev, st.st_ino}] = journal;
    return journal;
}

FolderJournal::FolderJournal(int fd, std::string folder, dev_t device, ino_t inode)
    : fd_(fd), folder_(std::move(folder)), device_(device), inode_(inode) {}

int FolderJournal::LinkUnnamed(int fd, const std::string& name) const {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (Calls().linkat(AT_FDCWD, self.c_str(), fd_, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno == EEXIST) return EEXIST;
    // Without /proc: the file itself, which a privileged process may link.
    return Calls().linkat(fd, "", fd_, name.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

bool FolderJournal::Start() {
    // Every journal has a token of its own, so that one left for a later run never takes more.
    token_ = NewJournalToken();
    const std::string name = JournalName(token_);
    const std::string header = JournalHeader(token_);
    // Made under the folder's lock, so that nobody takes the new journal for a dead run's, and,
    // where the file system allows, written and locked before it shows in the folder, so that a
    // run killed meanwhile leaves no empty journal. Temporaries are then made the same way.
    const LockState folderLock = LockFolder(fd_, folder_);
    locks_ = folderLock != LockState::Unsupported;
    int err = 0;
    journalFd_ = Calls().openat(fd_, ".", O_TMPFILE | O_RDWR | O_APPEND | O_CLOEXEC, 0600);
    if (journalFd_ >= 0) {
        if (locks_ && TryLock(journalFd_) == LockState::Unsupported) locks_ = false;
        if (!WriteAll(journalFd_, header) || LinkUnnamed(journalFd_, name) != 0) {
            ::close(journalFd_);
            journalFd_ = -1;
        }
    }
    if (journalFd_ < 0) {
        // No unnamed files here, or no way to link one (no /proc): named files throughout.
        unnamed_ = false;
        journalFd_ = ::openat(fd_, name.c_str(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_APPEND | O_CLOEXEC, 0600);
        if (journalFd_ >= 0) {
            if (locks_ && TryLock(journalFd_) == LockState::Unsupported) locks_ = false;
            if (!WriteAll(journalFd_, header)) {
                err = errno;
                ::unlinkat(fd_, name.c_str(), 0);
                ::close(journalFd_);
                journalFd_ = -1;
            }
        } else {
            err = errno;
        }
    }
    size_ = static_cast<off_t>(header.size());
    if (folderLock == LockState::Held) Unlock(fd_);
    errno = err;
    return journalFd_ >= 0;
}

FolderJournal::~FolderJournal() {
    if (journalFd_ >= 0) {
        if (live_.empty() && !stuck_ && !unflushed_) {
            // Only while the name is still the journal this run wrote.
            const std::string name = JournalName(token_);
            if (FileIdentity::At(fd_, name).SameFile(FileIdentity::Of(journalFd_)))
                Calls().unlinkat(fd_, name.c_str(), 0);
        }
        ::close(journalFd_);
    }
    if (fd_ >= 0) ::close(fd_);
}

bool FolderJournal::Note(const std::string& record, bool sync) {
    if (AppendRecord(journalFd_, size_, record, sync)) return true;
    const int err = errno;
    // A record cut short and not cut off again leaves a journal nobody can read: it stays.
    struct stat st {};
    if (::fstat(journalFd_, &st) != 0 || st.st_size != size_) stuck_ = true;
    errno = err;
    return false;
}

int FolderJournal::Create(std::string_view target, mode_t mode, std::string& temporary) {
    std::lock_guard<std::mutex> guard(lock_);
    temporary.clear();
    if (unnamed_) {
        const int fd = Calls().openat(fd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
        if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)) return fd;
        unnamed_ = false;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName(target, token_, ++serials);
        // Named in the journal first, so that a run killed at once leaves nothing the journal
        // misses, and then with the file's identity, before anything is written into it: the
        // next run knows the file as the run's own by its device and inode alone.
        if (!Note(TemporaryRecord(JournalTemporary{name, {}}), false)) return -1;
        const int fd = Calls().openat(fd_, name.c_str(),
                                      O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return -1;
        live_.insert(name);
        const FileIdentity made = FileIdentity::Of(fd);
        if (!made.Present() || !Note(TemporaryRecord(JournalTemporary{name, made}), false)) {
            const int err = errno;
            Drop(name, made);
            ::close(fd);
            errno = err;
            return -1;
        }
        temporary = std::move(name);
        return fd;
    }
    errno = EEXIST;
    return -1;
}

int FolderJournal::Publish(int fd, std::string_view target, std::string& temporary,
                           FileIdentity& written) {
    std::lock_guard<std::mutex> guard(lock_);
    written = FileIdentity::Of(fd);
    if (!written.Present()) return errno != 0 ? errno : EIO;
    if (!temporary.empty())
        return Note(TemporaryRecord(JournalTemporary{temporary, written}), false) ? 0 : errno;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = TemporaryName(target, token_, ++serials);
        // Named in the journal, with what it holds, before it shows in the folder.
        if (!Note(TemporaryRecord(JournalTemporary{name, written}), false)) return errno;
        const int err = LinkUnnamed(fd, name);
        if (err == 0) {
            live_.insert(name);
            temporary = std::move(name);
            return 0;
        }
        if (err != EEXIST) return err;
    }
    return EEXIST;
}

void FolderJournal::Renote(const std::string& temporary, FileIdentity& written) {
    std::lock_guard<std::mutex> guard(lock_);
    const FileIdentity now = FileIdentity::At(fd_, temporary);
    if (!now.SameFile(written) || now.Matches(written)) return;
    written = now;
    Note(TemporaryRecord(JournalTemporary{temporary, written}), false);
}

void FolderJournal::Discard(const std::string& temporary, const FileIdentity& written) {
    if (temporary.empty()) return;
    std::lock_guard<std::mutex> guard(lock_);
    Drop(temporary, written);
}

void FolderJournal::Drop(const std::string& temporary, const FileIdentity& written) {
    // The run's own file, whatever it was given since: its content may have grown.
    if (temporary.empty()) return;
    if (FileIdentity::At(fd_, temporary).SameFile(written) &&
        Calls().unlinkat(fd_, temporary.c_str(), 0) != 0 && errno != ENOENT)
        return;  // the journal names it for the next run
    live_.erase(temporary);
}

int FolderJournal::OpenTemporary(const std::string& temporary, const FileIdentity& written,
                                 int flags) const {
    return OpenWithoutWaiting(fd_, temporary, flags | O_NOFOLLOW, [&](const struct stat& st) {
        return written.SameFile(FileIdentity::Of(st));
    });
}

void FolderJournal::TidyLocked() {
    // The previous journal's set is in place: once the folder is flushed, it is done.
    if (std::shared_ptr<FolderJournal> previous = previous_.lock()) {
        std::lock_guard<std::mutex> guard(previous->lock_);
        if (previous->unflushed_ && !previous->stuck_ && FlushFolder(fd_) == 0 &&
            (!previous->open_ || previous->Note(DoneRecord(), false))) {
            previous->unflushed_ = false;
            previous->open_ = false;
        }
    }
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
        const std::optional<EarlierJournal> earlier =
            text && !journal ? ParseEarlierJournal(*text, token) : std::nullopt;
        if (earlier) {
            std::vector<std::string> hidden;
            for (const std::string& file : earlier->hidden)
                if (!FileIdentity::At(fd_, file).Absent()) hidden.push_back(file);
            std::string why(kEarlier);
            if (!earlier->files.empty()) why.append(kItsFiles).append(NameList(earlier->files));
            LeftAlone(path, why + DeleteWith(hidden));
        } else if (!journal) {
            LeftAlone(path, kNotOurs);
        } else {
            const Recovery done =
                ReplayJournal(fd_, fd, static_cast<off_t>(text->size()), *journal);
            Tell(kFinished, folder_, done.finished);
            Tell(kUndone, folder_, done.undone);
            if (!done.complete) {
                LeftAlone(path, kNotRestored);
            } else if (!done.flushed) {
                // In order, but not known to be on the disk: kept, and checked again later.
                Unconfirmed(folder_);
            } else if (!done.left.empty()) {
                // Files changed since the run died, or a journal nobody here wrote: it stays, for
                // the person to look at, with everything it names.
                LeftAlone(path,
                          std::string(kChanged) + NameList(done.left) + DeleteWith(done.hidden));
            } else if (FileIdentity::At(fd_, name).SameFile(FileIdentity::Of(fd))) {
                Calls().unlinkat(fd_, name.c_str(), 0);
            }
        }
    } else if (lock == LockState::Unsupported) {
        LeftAlone(path, kNoLocks);
    }
    ::close(fd);  // a live run's journal (busy) is not touched
}

// ---------------------------------------------------------------------------------------------
FolderGuard::FolderGuard(FolderJournal& folder) : folder_(folder), lock_(folder.lock_) {
    if (folder_.locks_ && LockFolder(folder_.fd_, folder_.folder_) == LockState::Unsupported)
        folder_.locks_ = false;
}

FolderGuard::~FolderGuard() {
    if (folder_.locks_) Unlock(folder_.fd_);
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
    // Left by an error part-way: whatever the journals name stays for the next run.
    ~FolderCommit() {
        if (!completed_)
            for (FolderJournal* folder : noted_) folder->stuck_ = true;
    }
    FolderCommit(const FolderCommit&) = delete;
    FolderCommit& operator=(const FolderCommit&) = delete;

    CommitOutcome Run() {
        std::vector<std::unique_ptr<FolderGuard>> guards;
        for (FolderJournal* folder : folders_)
            guards.push_back(std::make_unique<FolderGuard>(*folder));
        for (FolderJournal* folder : folders_) folder->TidyLocked();
        Plan();
        if (!MakeDurable()) {
            Fail(errno);
            for (const SetFile& file : files_) outcome_.failed.insert(file.member);
            for (int member : outcome_.failed) Abandon(member);
        } else {
            Place();
        }
        Flush();
        Clean();
        completed_ = true;
        return outcome_;
    }

  private:
    void Fail(int err) {
        if (outcome_.error == 0) outcome_.error = err != 0 ? err : EIO;
    }

    // The renames, each with what its files are now. A member of several files needs the
    // journal, and the old file of each of its targets is kept as a backup while it is put in
    // place, so that it can be undone half-way; one rename alone is all or nothing.
    void Plan() {
        std::vector<std::pair<JournalRename, FolderJournal*>> planned;
        for (const SetFile& file : files_) {
            const int folder = file.folder->fd_;
            JournalRename rename{file.temporary,
                                 file.written,
                                 file.target,
                                 FileIdentity::At(folder, file.target),
                                 "",
                                 file.member};
            if (rename.temporary.empty() && rename.before.Absent()) continue;  // nothing to remove
            bool sound = rename.before.state != FileIdentity::State::Unknown;
            if (!rename.temporary.empty()) {
                // The run's own file, with what it holds now that it is complete.
                const FileIdentity now = FileIdentity::At(folder, rename.temporary);
                sound = sound && now.SameFile(rename.written);
                rename.written = now;
            }
            if (!sound) {
                Fail(ESTALE);
                outcome_.failed.insert(file.member);
            }
            planned.emplace_back(std::move(rename), file.folder.get());
        }
        std::map<int, int> sizes;
        for (auto& [rename, folder] : planned) {
            if (outcome_.failed.contains(rename.member)) continue;
            renames_.push_back(std::move(rename));
            owners_.push_back(folder);
            ++sizes[renames_.back().member];
        }
        placed_.assign(renames_.size(), false);
        for (std::size_t i = 0; i < renames_.size(); ++i) {
            JournalRename& rename = renames_[i];
            if (sizes[rename.member] < 2) continue;
            journaled_ = true;
            if (!rename.before.Present()) continue;
            rename.backup = TemporaryName(rename.target, owners_[i]->token_, ++serials);
            rename.renamed = !owners_[i]->links_;
        }
    }

    // The temporaries reach the disk, then the journals naming the renames. A few files are
    // flushed one by one, with their folders; for more, one flush of the whole file system is
    // far quicker than one for each file (a layer of a large export has four).
    bool MakeDurable() {
        const FileCalls& calls = Calls();
        if (renames_.size() <= kFewFiles) {
            for (std::size_t i = 0; i < renames_.size(); ++i) {
                const JournalRename& rename = renames_[i];
                if (rename.temporary.empty() || outcome_.failed.contains(rename.member)) continue;
                const int fd =
                    owners_[i]->OpenTemporary(rename.temporary, rename.written, O_RDONLY);
                const bool flushed = fd >= 0 && calls.fdatasync(fd) == 0;
                const int err = errno;
                if (fd >= 0) ::close(fd);
                errno = err;
                if (!flushed) return false;
            }
            for (FolderJournal* folder : folders_)
                if ((errno = FlushFolder(folder->fd_)) != 0) return false;
        } else {
            std::vector<dev_t> flushed;
            for (FolderJournal* folder : folders_) {
                if (std::find(flushed.begin(), flushed.end(), folder->device_) != flushed.end())
                    continue;
                if (calls.syncfs(folder->fd_) != 0) return false;
                flushed.push_back(folder->device_);
            }
        }
        if (!journaled_) return true;
        indexes_.assign(renames_.size(), 0);
        for (FolderJournal* folder : folders_) {
            std::vector<JournalRename> own;
            for (std::size_t i = 0; i < renames_.size(); ++i) {
                if (owners_[i] != folder) continue;
                indexes_[i] = own.size();
                own.push_back(renames_[i]);
            }
            if (own.empty()) continue;
            // A record that is not on the disk is undone like the rest, once noted.
            const bool written = folder->Note(RenamesRecord(own), false);
            if (written) {
                noted_.push_back(folder);
                folder->open_ = true;
            }
            if (!written || Calls().fdatasync(folder->journalFd_) != 0) return false;
        }
        return true;
    }

    void Place() {
        for (std::size_t i = 0; i < renames_.size(); ++i) {
            const int member = renames_[i].member;
            if (outcome_.failed.contains(member)) continue;
            FolderJournal* folder = owners_[i];
            // A backup whose name somebody else took gets another; one that cannot be a link is
            // the old file moved away, in this folder from now on. Either is noted first.
            const BackupPlan plan{[folder](const JournalRename& e) {
                                      return TemporaryName(e.target, folder->token_, ++serials);
                                  },
                                  [this, folder, i](const JournalRename& e) {
                                      if (e.renamed) folder->links_ = false;
                                      return folder->Note(BackupRecord(indexes_[i], e), true);
                                  }};
            touched_.insert(folder);
            const int err = PlaceEntry(folder->fd_, renames_[i], plan);
            if (err == 0) {
                placed_[i] = true;
                continue;
            }
            Fail(err);
            outcome_.failed.insert(member);
            Abandon(member);
        }
    }

    // Undoes what the run put in place of a member, noted first in the journals of its folders.
    void Abandon(int member) {
        if (!abandoned_.insert(member).second) return;
        std::set<FolderJournal*> told;
        for (std::size_t i = 0; i < renames_.size(); ++i) {
            FolderJournal* folder = owners_[i];
            if (renames_[i].member != member || !told.insert(folder).second) continue;
            if (std::find(noted_.begin(), noted_.end(), folder) == noted_.end()) continue;
            if (!folder->Note(UndoRecord(member), true)) folder->stuck_ = true;
        }
        for (std::size_t i = renames_.size(); i-- > 0;) {
            const JournalRename& rename = renames_[i];
            if (rename.member != member) continue;
            FolderJournal* owner = owners_[i];
            const int folder = owner->fd_;
            // Only the run's own new file gives way, and only to the target's old file: where
            // either was changed meanwhile, the target stays as it is, and the run says so.
            const bool movedAway = rename.renamed &&
                                   FileIdentity::At(folder, rename.target).Absent() &&
                                   FileIdentity::At(folder, rename.backup).Matches(rename.before);
            if (!placed_[i] && !movedAway) {
                // Nothing put in place: at most a second link to the old file, which goes.
                if (DropBackup(folder, rename) != 0) owner->stuck_ = true;
                continue;
            }
            const int err = RestoreEntry(folder, rename);
            placed_[i] = false;
            touched_.insert(owner);
            if (err != 0) {
                owner->stuck_ = true;
                outcome_.unrestored.insert(member);
            }
        }
    }

    // Renames that may not have reached the disk keep the journal for a later commit or run,
    // which checks them again; the run says so.
    void Flush() {
        for (FolderJournal* folder : folders_) {
            if (!touched_.contains(folder) || FlushFolder(folder->fd_) == 0) continue;
            folder->unflushed_ = true;
            Unconfirmed(folder->folder_);
        }
    }

    // Backups of what is in place go, and temporaries of what is not; the journals say so.
    void Clean() {
        // A backup that stays is left to the next run, with the journal that names it.
        for (std::size_t i = 0; i < renames_.size(); ++i)
            if (!outcome_.failed.contains(renames_[i].member) &&
                DropBackup(owners_[i]->fd_, renames_[i]) != 0)
                owners_[i]->stuck_ = true;
        for (const SetFile& file : files_) {
            if (outcome_.failed.contains(file.member)) {
                file.folder->Drop(file.temporary, file.written);
            } else {
                file.folder->live_.erase(file.temporary);
            }
        }
        for (FolderJournal* folder : noted_) {
            if (folder->stuck_ || folder->unflushed_) continue;
            if (folder->Note(DoneRecord(), false)) {
                folder->open_ = false;
            } else {
                folder->stuck_ = true;
            }
        }
    }

    const std::vector<SetFile>& files_;
    std::vector<FolderJournal*> folders_;
    std::vector<JournalRename> renames_;
    std::vector<FolderJournal*> owners_;  // the folder of each rename
    std::vector<bool> placed_;            // renames this run has put in place
    std::vector<std::size_t> indexes_;    // of each rename in its folder's record
    std::vector<FolderJournal*> noted_;   // the folders whose journals name the renames
    std::set<FolderJournal*> touched_;    // the folders where renames were made
    std::set<int> abandoned_;
    bool journaled_ = false;
    bool completed_ = false;
    CommitOutcome outcome_;
};

int UnconfirmedFlushes() {
    return unconfirmed;
}

CommitOutcome CommitFiles(const std::vector<SetFile>& files) {
    if (files.empty()) return {};
    return FolderCommit(files).Run();
}

}  // namespace platform
