#include "platform/FileSet.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <ctime>
#include <mutex>
#include <optional>
#include <set>

#include "platform/FileSystem.h"
#include "platform/FolderIndex.h"
#include "platform/IniNames.h"
#include "platform/OsError.h"

namespace platform {
namespace {

constexpr std::string_view kJournalMagic = "KESTREL FILE SET 1\n";
constexpr std::string_view kJournalEnd = "END\n";
constexpr std::string_view kJournalExtension = ".journal";
constexpr std::size_t kTagLength = 6;
constexpr int kMaxLinks = 40;

thread_local FileSet* currentSet = nullptr;

// The test hook of FailReplacementsForTest.
struct InjectedFailure {
    std::mutex lock;
    std::string suffix;
    std::int32_t error = 0;
};
InjectedFailure& Injected() {
    static InjectedFailure injected;
    return injected;
}
std::atomic<int> endInCommit{0};

std::int32_t InjectedError(const std::string& target) {
    InjectedFailure& injected = Injected();
    std::lock_guard<std::mutex> guard(injected.lock);
    if (injected.suffix.empty() || target.size() < injected.suffix.size()) return 0;
    const std::string_view end =
        std::string_view(target).substr(target.size() - injected.suffix.size());
    return IniNamesEqual(end, injected.suffix) ? injected.error : 0;
}

// The operating-system name made absolute and free of "." and ".." parts, so that one file has
// one name in the set and in the journal.
std::string Absolute(const std::string& os) {
    std::string full;
    if (os.empty() || os.front() != '/') {
        char buffer[PATH_MAX];
        if (::getcwd(buffer, sizeof buffer) != nullptr) full.append(buffer).append("/");
    }
    full += os;
    std::string result;
    result.reserve(full.size());
    for (std::size_t pos = 0; pos <= full.size();) {
        std::size_t slash = full.find('/', pos);
        if (slash == std::string::npos) slash = full.size();
        const std::string_view part = std::string_view(full).substr(pos, slash - pos);
        if (part == "..") {
            const std::size_t cut = result.find_last_of('/');
            if (cut != std::string::npos) result.resize(cut);
        } else if (!part.empty() && part != ".") {
            result.append("/").append(part);
        }
        pos = slash + 1;
    }
    return result.empty() ? "/" : result;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool ProcessRuns(long pid) {
    if (pid <= 0 || pid > INT_MAX) return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

std::string Tag() {
    static std::atomic<unsigned long> counter{0};
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    unsigned long value = (counter++ * 2654435761ul) ^ static_cast<unsigned long>(::time(nullptr)) ^
                          (static_cast<unsigned long>(::getpid()) << 16);
    std::string tag;
    for (std::size_t i = 0; i < kTagLength; ++i) {
        tag += kDigits[value % 36];
        value /= 36;
    }
    return tag;
}

// "<process>-<tag>" at the start of `text`; the process number, or -1 when it is not there. `rest`
// is what follows.
long ProcessAndTag(std::string_view text, std::string_view& rest) {
    std::size_t i = 0;
    long pid = 0;
    while (i < text.size() && i < 10 && text[i] >= '0' && text[i] <= '9')
        pid = pid * 10 + (text[i++] - '0');
    if (i == 0 || i >= text.size() || text[i] != '-') return -1;
    ++i;
    if (text.size() < i + kTagLength) return -1;
    for (std::size_t k = 0; k < kTagLength; ++k) {
        const char c = text[i + k];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) return -1;
    }
    rest = text.substr(i + kTagLength);
    return pid;
}

// The process that made a temporary file of that name, or -1 when the name is no temporary's.
long TemporaryOwner(std::string_view name) {
    if (name.size() < 2 || name.front() != '.') return -1;
    const std::size_t mark = name.rfind(".~");
    if (mark == std::string_view::npos || mark == 0) return -1;
    std::string_view rest;
    const long pid = ProcessAndTag(name.substr(mark + 2), rest);
    if (pid < 0) return -1;
    // What follows is the target's extension, if any.
    if (!rest.empty() && (rest.front() != '.' || rest.find('.', 1) != std::string_view::npos))
        return -1;
    return pid;
}

// The process that wrote a journal of that name, or -1 when the name is no journal's.
long JournalOwner(std::string_view name) {
    if (!name.starts_with(".~")) return -1;
    std::string_view rest;
    const long pid = ProcessAndTag(name.substr(2), rest);
    return pid >= 0 && rest == kJournalExtension ? pid : -1;
}

// A new, empty file beside the target, named as a temporary of this process.
int CreateTemporary(const std::string& target, std::string& temporary, int& err) {
    const auto [folder, name] = SplitOsName(target);
    std::string stem = name;
    std::string extension;
    const std::size_t dot = name.find_last_of('.');
    // The extension is kept, so that a table stays a ".dbf"; one with a '~' in it would make
    // the name look like another process's temporary.
    if (dot != std::string::npos && dot > 0 && name.find('~', dot) == std::string::npos) {
        stem = name.substr(0, dot);
        extension = name.substr(dot);
    }
    const std::string owner = std::to_string(::getpid());
    // The temporary's name stays within the longest file name the system takes.
    const std::size_t fixed = 1 + 2 + owner.size() + 1 + kTagLength + extension.size();
    if (fixed + stem.size() > NAME_MAX) stem.resize(fixed < NAME_MAX ? NAME_MAX - fixed : 0);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "/." + stem + ".~" + owner + "-" + Tag() + extension;
        const int fd = CreateEntry(temporary, O_RDWR | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) return fd;
        if (errno != EEXIST) break;
    }
    err = errno;
    temporary.clear();
    return -1;
}

// The file a link leads to, followed through every link; the name itself when it is none.
std::string FollowLinks(std::string os) {
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat st {};
        if (::lstat(os.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return os;
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) +
                                 1);
        const ssize_t n = ::readlink(os.c_str(), buffer.data(), buffer.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return os;
        std::string link(buffer.data(), static_cast<std::size_t>(n));
        os = link.front() == '/' ? link : SplitOsName(os).first + "/" + link;
    }
    return os;
}

std::string JournalText(const std::vector<std::pair<std::string, std::string>>& renames) {
    std::string text(kJournalMagic);
    text += std::to_string(renames.size()) + "\n";
    for (const auto& [from, to] : renames) {
        text += from;
        text += '\0';
        text += to;
        text += '\0';
    }
    text += kJournalEnd;
    return text;
}

// The renames of a complete journal; nothing when it is cut short or not a journal at all.
std::optional<std::vector<std::pair<std::string, std::string>>> ParseJournal(
    std::string_view text) {
    if (!text.starts_with(kJournalMagic) || !text.ends_with(kJournalEnd)) return std::nullopt;
    text.remove_prefix(kJournalMagic.size());
    text.remove_suffix(kJournalEnd.size());
    const std::size_t newline = text.find('\n');
    if (newline == std::string_view::npos || newline == 0 || newline > 9) return std::nullopt;
    std::size_t count = 0;
    for (char c : text.substr(0, newline)) {
        if (c < '0' || c > '9') return std::nullopt;
        count = count * 10 + static_cast<std::size_t>(c - '0');
    }
    text.remove_prefix(newline + 1);
    std::vector<std::pair<std::string, std::string>> renames;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t a = text.find('\0');
        if (a == std::string_view::npos) return std::nullopt;
        const std::size_t b = text.find('\0', a + 1);
        if (b == std::string_view::npos) return std::nullopt;
        renames.emplace_back(std::string(text.substr(0, a)),
                             std::string(text.substr(a + 1, b - a - 1)));
        text.remove_prefix(b + 1);
    }
    if (!text.empty()) return std::nullopt;
    return renames;
}

// The text of a journal; nothing when it cannot be read or is far larger than any journal.
std::optional<std::string> ReadJournal(const std::string& name) {
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> text = ReadFromDescriptor(fd, std::size_t{1} << 24);
    ::close(fd);
    return text;
}

// Puts every file of a journal in place that is still waiting: a rename that was done already
// left no temporary behind.
void RollForward(const std::vector<std::pair<std::string, std::string>>& renames) {
    std::set<std::string> folders;
    for (const auto& [from, to] : renames) {
        struct stat st {};
        if (from.empty()) {
            if (RemoveEntry(to)) folders.insert(SplitOsName(to).first);
        } else if (::lstat(from.c_str(), &st) == 0 && RenameEntry(from, to)) {
            folders.insert(SplitOsName(to).first);
        }
    }
    for (const std::string& folder : folders) SyncFolder(folder);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
ReplacementFile::~ReplacementFile() {
    Abandon();
}

std::int32_t ReplacementFile::Create(std::string_view name) {
    Abandon();
    if (name.empty()) return kErrorPathNotFound;
    name_ = OsName(name);
    target_ = FollowLinks(name_);
    struct stat st {};
    mode_t mode = 0;
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    if (exists) {
        // A folder, a device or a read-only file is not replaced, as Windows would not open it
        // for writing; for the file's owner, too.
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 ||
            ::access(target_.c_str(), W_OK) != 0)
            return kErrorAccessDenied;
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    TidyFolder(SplitOsName(target_).first);
    int err = 0;
    fd_ = CreateTemporary(target_, temporary_, err);
    if (fd_ < 0) return err == ENOENT ? kErrorPathNotFound : OsErrorFromErrno(err);
    ::fchmod(fd_, mode);
    if (exists && ::fchown(fd_, st.st_uid, st.st_gid) != 0) {
        // Only the owner's own groups can be given away; the file then belongs to the writer.
    }
    return 0;
}

void ReplacementFile::Abandon() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) RemoveEntry(temporary_);
    temporary_.clear();
}

std::int32_t ReplacementFile::Finish() {
    if (fd_ < 0) return kErrorInvalidParameter;
    std::int32_t error = InjectedError(target_);
    if (::close(fd_) != 0 && error == 0) error = OsErrorFromErrno(errno);
    fd_ = -1;
    FileSet* set = FileSet::Current();
    if (error == 0 && set != nullptr) {
        set->Adopt(std::move(temporary_), target_, name_);
        temporary_.clear();
        return 0;
    }
    if (error == 0 && !RenameEntry(temporary_, target_)) error = OsErrorFromErrno(errno);
    if (error != 0) {
        RemoveEntry(temporary_);
        if (set != nullptr) set->Fail(error);
    }
    temporary_.clear();
    return error;
}

// ---------------------------------------------------------------------------------------------
FileSet::FileSet(Kind kind) : kind_(kind) {
    if (currentSet == nullptr) {
        currentSet = this;
        return;
    }
    kind_ = Kind::Files;
    if (currentSet->kind_ == Kind::Sets) {
        // A member: the writers hand their files to it while it is open.
        parent_ = currentSet;
        currentSet = this;
    } else {
        outer_ = currentSet;
    }
}

FileSet::~FileSet() {
    if (outer_ != nullptr) return;
    Discard();
    currentSet = parent_;
}

FileSet* FileSet::Current() {
    return currentSet;
}

void FileSet::Fail(std::int32_t error) {
    if (outer_ != nullptr) return outer_->Fail(error);
    if (error_ == 0) error_ = error != 0 ? error : kErrorGenFailure;
}

std::int32_t FileSet::Error() const {
    return outer_ != nullptr ? outer_->Error() : error_;
}

void FileSet::Discard() {
    for (const Entry& entry : entries_)
        if (!entry.temporary.empty()) RemoveEntry(entry.temporary);
    entries_.clear();
    byName_.clear();
}

void FileSet::Remove(std::string_view name) {
    if (outer_ != nullptr) return outer_->Remove(name);
    const std::string os = OsName(name);
    struct stat st {};
    if (::lstat(os.c_str(), &st) != 0) return;
    Hold(Entry{"", Absolute(FollowLinks(os)), Absolute(os)});
}

void FileSet::Adopt(std::string temporary, std::string target, std::string alias) {
    if (outer_ != nullptr)
        return outer_->Adopt(std::move(temporary), std::move(target), std::move(alias));
    Hold(Entry{Absolute(temporary), Absolute(target), Absolute(alias)});
}

void FileSet::Hold(Entry entry) {
    if (auto it = byName_.find(entry.target); it != byName_.end()) {
        Entry& held = entries_[it->second];
        if (held.target == entry.target) {
            if (!held.temporary.empty()) RemoveEntry(held.temporary);
            byName_.try_emplace(entry.alias, it->second);
            held = std::move(entry);
            return;
        }
    }
    byName_.try_emplace(entry.target, entries_.size());
    byName_.try_emplace(entry.alias, entries_.size());
    entries_.push_back(std::move(entry));
}

const std::string* FileSet::Held(std::string_view osName) const {
    if (outer_ != nullptr) return outer_->Held(osName);
    if (!entries_.empty()) {
        if (auto it = byName_.find(Absolute(std::string(osName))); it != byName_.end()) {
            const Entry& entry = entries_[it->second];
            if (!entry.temporary.empty()) return &entry.temporary;
        }
    }
    // A member's files stand for the files its set of sets holds.
    return parent_ != nullptr ? parent_->Held(osName) : nullptr;
}

bool FileSet::HoldsTemporary(std::string_view osName) const {
    if (outer_ != nullptr) return outer_->HoldsTemporary(osName);
    const std::string name = Absolute(std::string(osName));
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& entry) {
        return !entry.temporary.empty() && entry.temporary == name;
    });
}

bool FileSet::Unplaced(std::string_view osName) const {
    const std::string name = Absolute(std::string(osName));
    return std::find(unplaced_.begin(), unplaced_.end(), name) != unplaced_.end();
}

std::int32_t FileSet::Commit() {
    if (outer_ != nullptr) return outer_->Error();
    if (done_) return error_;
    done_ = true;
    if (error_ != 0) {
        Discard();
        return error_;
    }
    if (parent_ != nullptr) {
        for (Entry& entry : entries_) parent_->Hold(std::move(entry));
        entries_.clear();
        byName_.clear();
        if (++parent_->members_ >= kMembersPerJournal) parent_->PutInPlace();
        return 0;
    }
    const std::int32_t error = PutInPlace();
    if (kind_ == Kind::Sets) return unplaced_.empty() ? 0 : (error != 0 ? error : kErrorWriteFault);
    error_ = error;
    return error_;
}

std::int32_t FileSet::PutInPlace() {
    members_ = 0;
    if (entries_.empty()) return 0;
    std::vector<std::pair<std::string, std::string>> renames;
    for (const Entry& entry : entries_) renames.emplace_back(entry.temporary, entry.target);
    auto unplacedFrom = [&](std::size_t first) {
        for (std::size_t i = first; i < entries_.size(); ++i) {
            unplaced_.push_back(entries_[i].target);
            unplaced_.push_back(entries_[i].alias);
        }
    };

    // One file needs no journal: its rename is all or nothing.
    std::string journal;
    const std::string folder = SplitOsName(renames.front().second).first;
    if (renames.size() > 1) {
        journal = folder + "/.~" + std::to_string(::getpid()) + "-" + Tag() +
                  std::string(kJournalExtension);
        const int fd = CreateEntry(journal, O_WRONLY | O_CREAT | O_EXCL, 0600);
        bool written = fd >= 0 && WriteToDescriptor(fd, JournalText(renames)) && ::fsync(fd) == 0;
        if (fd >= 0 && ::close(fd) != 0) written = false;
        if (!written) {
            const std::int32_t error = OsErrorFromErrno(errno != 0 ? errno : EIO);
            if (fd >= 0) RemoveEntry(journal);
            unplacedFrom(0);
            Discard();
            return error;
        }
        SyncFolder(folder);
    }
    for (std::size_t i = 0; i < renames.size(); ++i) {
        const auto& [from, to] = renames[i];
        const bool done = from.empty() ? RemoveEntry(to) : RenameEntry(from, to);
        if (!done && !(from.empty() && errno == ENOENT)) {
            const std::int32_t error = OsErrorFromErrno(errno);
            unplacedFrom(i);
            if (i == 0) {
                // Nothing is in place yet: the old set stays whole.
                if (!journal.empty()) RemoveEntry(journal);
                Discard();
            } else {
                // The journal stays: the next run in the folder puts the rest in place.
                entries_.clear();
                byName_.clear();
            }
            return error;
        }
        if (!journal.empty() && static_cast<int>(i) + 1 == endInCommit.load()) ::_exit(0);
    }
    entries_.clear();
    byName_.clear();
    if (!journal.empty()) RemoveEntry(journal);
    return 0;
}

// ---------------------------------------------------------------------------------------------
void TidyFolder(const std::string& osFolder) {
    static std::mutex lock;
    static std::set<std::string> tidied;
    const std::string folder = Absolute(osFolder);
    {
        std::lock_guard<std::mutex> guard(lock);
        if (!tidied.insert(folder).second) return;
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    std::vector<std::string> journals;
    std::vector<std::string> strays;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name.size() < 2 || name.front() != '.') continue;
        if (const long pid = JournalOwner(name); pid >= 0) {
            if (!ProcessRuns(pid)) journals.push_back(folder + "/" + std::string(name));
        } else if (const long owner = TemporaryOwner(name); owner >= 0) {
            if (!ProcessRuns(owner)) strays.push_back(folder + "/" + std::string(name));
        }
    }
    ::closedir(dir);
    // Sets that were being put in place are finished first, then what is left is thrown away.
    for (const std::string& journal : journals) {
        if (const auto text = ReadJournal(journal)) {
            if (const auto renames = ParseJournal(*text)) RollForward(*renames);
        }
        RemoveEntry(journal);
    }
    for (const std::string& stray : strays) RemoveEntry(stray);
}

void EndProcessInCommitForTest(int filesInPlace) {
    endInCommit = filesInPlace;
}

void FailReplacementsForTest(std::string_view suffix, std::int32_t error) {
    InjectedFailure& injected = Injected();
    std::lock_guard<std::mutex> guard(injected.lock);
    injected.suffix = std::string(suffix);
    injected.error = error;
}

}  // namespace platform
