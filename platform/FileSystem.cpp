#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <vector>

#include "platform/BinaryFile.h"
#include "platform/Cp1250.h"
#include "platform/FileSet.h"
#include "platform/FolderIndex.h"
#include "platform/IniNames.h"
#include "platform/OsError.h"
#include "platform/PinnedFiles.h"

namespace platform {
namespace {

thread_local std::uint32_t lastOsError = 0;

std::string Join(const std::string& folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    std::string joined = folder;
    if (joined.back() != '/') joined += '/';
    joined.append(name);
    return joined;
}

// Splits at '/', dropping empty parts; `absolute` tells whether the name began with '/'.
std::vector<std::string_view> Components(std::string_view name, bool& absolute) {
    absolute = !name.empty() && name.front() == '/';
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos <= name.size()) {
        std::size_t slash = name.find('/', pos);
        if (slash == std::string_view::npos) slash = name.size();
        if (slash > pos) parts.push_back(name.substr(pos, slash - pos));
        pos = slash + 1;
    }
    return parts;
}

}  // namespace

std::string OsName(std::string_view name) {
    std::string direct = Cp1250ToUtf8(name);
    struct stat st {};
    if (direct.empty() || ::lstat(direct.c_str(), &st) == 0) return direct;

    bool absolute = false;
    const std::vector<std::string_view> parts = Components(name, absolute);
    std::string result = absolute ? "/" : "";
    bool walking = true;  // every component so far exists
    for (std::string_view part : parts) {
        std::string candidate = Join(result, Cp1250ToUtf8(part));
        if (walking && part != "." && part != ".." && ::lstat(candidate.c_str(), &st) != 0) {
            const std::string found = FindCaseless(result, part);
            if (found.empty()) {
                walking = false;
            } else {
                candidate = Join(result, found);
            }
        }
        result = std::move(candidate);
    }
    if (!result.empty() && name.back() == '/' && result.back() != '/') result += '/';
    return result;
}

std::string OsNameToOpen(std::string_view name) {
    const FileSet* set = FileSet::Current();
    // A file the set holds under the name as given needs no look-up in the folder.
    if (set != nullptr) {
        if (const std::string* held = set->Held(Cp1250ToUtf8(name))) return *held;
    }
    std::string os = OsName(name);
    if (set != nullptr) {
        if (const std::string* held = set->Held(os)) return *held;
    }
    return os;
}

std::pair<std::string, std::string> SplitOsName(std::string_view osName) {
    const std::size_t slash = osName.find_last_of('/');
    if (slash == std::string_view::npos) return {".", std::string(osName)};
    return {slash == 0 ? "/" : std::string(osName.substr(0, slash)),
            std::string(osName.substr(slash + 1))};
}

std::string ChangeFileExt(std::string_view name, std::string_view ext) {
    const std::size_t slash = name.find_last_of("/\\");
    const std::size_t dot = name.find_last_of('.');
    std::size_t stem = name.size();
    if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash))
        stem = dot;
    std::string result(name.substr(0, stem));
    result.append(ext);
    return result;
}

std::string ExpandFileName(std::string_view name) {
    return NormalizedPath(name, GetCurrentDirectory());
}

std::string NormalizedPath(std::string_view name, std::string_view base) {
    std::string full(name);
    if ((full.empty() || full.front() != '/') && !base.empty())
        full = Join(std::string(base), full);
    bool absolute = false;
    std::vector<std::string_view> kept;
    for (std::string_view part : Components(full, absolute)) {
        if (part == ".") continue;
        if (part == "..") {
            if (!kept.empty() && kept.back() != "..") {
                kept.pop_back();
            } else if (!absolute) {
                kept.push_back(part);
            }
            continue;
        }
        kept.push_back(part);
    }
    std::string result = absolute ? "/" : "";
    for (std::string_view part : kept) result = Join(result, part);
    return result.empty() ? "." : result;
}

std::string OsCurrentFolder() {
    std::vector<char> buffer(4096);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) return buffer.data();
        if (errno != ERANGE || buffer.size() > (1u << 20)) return {};
        buffer.resize(buffer.size() * 2);
    }
}

namespace {

// The kernel's rule for links in shared folders such as /tmp: a link in a sticky folder that
// anyone may write is followed only for its owner or the folder's.
bool MayFollow(const std::string& link, const struct stat& linkInfo) {
    struct stat folder {};
    if (::stat(SplitOsName(link).first.c_str(), &folder) != 0) return false;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    return !shared || linkInfo.st_uid == ::geteuid() || linkInfo.st_uid == folder.st_uid;
}

}  // namespace

std::optional<std::string> FollowLinks(std::string osName, std::string* refusal) {
    constexpr int kMaxLinks = 40;
    const auto refuse = [&](std::string_view why) -> std::optional<std::string> {
        if (refusal != nullptr) *refusal = why;
        return std::nullopt;
    };
    for (int i = 0; i < kMaxLinks; ++i) {
        struct stat st {};
        if (::lstat(osName.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return osName;
        if (!MayFollow(osName, st))
            return refuse(
                "prowadzi przez dowiązanie symboliczne " + osName +
                " w folderze, w którym każdy może zapisywać (z bitem sticky), a należy ono do "
                "innego użytkownika niż uruchamiający program i właściciel folderu; system nie "
                "podąża za takim dowiązaniem");
        std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : PATH_MAX) +
                                 1);
        const ssize_t n = ::readlink(osName.c_str(), buffer.data(), buffer.size());
        if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) return osName;
        std::string link(buffer.data(), static_cast<std::size_t>(n));
        osName = link.front() == '/' ? link : SplitOsName(osName).first + "/" + link;
    }
    // A loop of links, as the kernel refuses it.
    return refuse("prowadzi przez dowiązania symboliczne, które tworzą pętlę");
}

bool FileExists(std::string_view name) {
    if (name.empty()) return false;
    struct stat st {};
    return ::stat(OsNameToOpen(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view name) {
    if (name.empty()) return false;
    struct stat st {};
    return ::stat(OsName(name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

FileKind KindOfFile(std::string_view name) {
    struct stat st {};
    if (name.empty() || ::stat(OsNameToOpen(name).c_str(), &st) != 0) return FileKind::Missing;
    if (S_ISREG(st.st_mode)) return FileKind::Regular;
    return S_ISDIR(st.st_mode) ? FileKind::Directory : FileKind::Other;
}

bool NotRegularFile(std::string_view name) {
    const FileKind kind = KindOfFile(name);
    return kind == FileKind::Directory || kind == FileKind::Other;
}

bool SameFile(std::string_view a, std::string_view b) {
    struct stat sa {};
    struct stat sb {};
    const bool hasA = ::stat(OsName(a).c_str(), &sa) == 0;
    const bool hasB = ::stat(OsName(b).c_str(), &sb) == 0;
    if (hasA && hasB) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    if (hasA || hasB) return false;
    return IniNamesEqual(ExpandFileName(a), ExpandFileName(b));
}

bool FileWritable(std::string_view name) {
    const std::string os = OsNameToOpen(name);
    struct stat st {};
    return ::stat(os.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(os.c_str(), W_OK) == 0;
}

bool FolderWritable(std::string_view name) {
    const std::string os = OsName(name.empty() ? std::string_view(".") : name);
    struct stat st {};
    return ::stat(os.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(os.c_str(), W_OK | X_OK) == 0;
}

bool NameMissing(std::string_view name) {
    struct stat st {};
    return !name.empty() && ::stat(OsName(name).c_str(), &st) != 0 && errno == ENOENT;
}

bool DeleteFile(std::string_view name) {
    if (::unlink(OsName(name).c_str()) == 0) return true;
    lastOsError = static_cast<std::uint32_t>(OsErrorFromErrno(errno));
    return false;
}

bool CopyFile(std::string_view from, std::string_view to, bool failIfExists) {
    if (failIfExists && FileExists(to)) {
        lastOsError = kErrorFileExists;
        return false;
    }
    BinaryFile in;
    if (!in.Open(std::string(from), BinaryFile::Mode::Read)) {
        lastOsError = in.LastError();
        return false;
    }
    BinaryFile out;
    if (!out.Open(std::string(to), BinaryFile::Mode::CreateAlways)) {
        lastOsError = out.LastError();
        return false;
    }
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const std::size_t n = in.Read(buffer.data(), buffer.size());
        if (n == 0) break;
        if (!out.Write(buffer.data(), n)) break;
    }
    if (in.LastError() != 0) {
        lastOsError = in.LastError();
        return false;  // out is discarded by its destructor
    }
    if (!out.Close()) {
        lastOsError = out.LastError();
        return false;
    }
    return true;
}

bool CreateDirectory(std::string_view name) {
    if (name.empty()) return false;
    const std::string os = OsName(name);
    if (::mkdir(os.c_str(), 0777) != 0 && errno != EEXIST) {
        lastOsError = static_cast<std::uint32_t>(OsErrorForPath(errno, os));
        return false;
    }
    return DirectoryExists(name);
}

std::string GetCurrentDirectory() {
    return Utf8ToCp1250(OsCurrentFolder());
}

std::uint32_t LastOsError() {
    return lastOsError;
}

void SetLastOsError(std::uint32_t error) {
    lastOsError = error;
}

bool WriteToDescriptor(int fd, std::string_view data) {
    return WriteThrough(::write, fd, data);
}

std::optional<std::string> ReadFromDescriptor(int fd, std::size_t limit) {
    std::string text;
    char buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 || text.size() + static_cast<std::size_t>(n) > limit) return std::nullopt;
        if (n == 0) return text;
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

int OpenFileDescriptor(std::string_view name, int flags, std::int32_t& error, bool regularOnly) {
    error = 0;
    if (name.empty()) {
        error = kErrorPathNotFound;
        return -1;
    }
    // A file the current set holds for the name, or one of a set a reader has taken, stands in.
    const FileSet* set = FileSet::Current();
    std::optional<int> fd;
    if (set != nullptr) fd = set->OpenHeld(Cp1250ToUtf8(name), flags);
    const std::string osName = fd ? std::string() : OsName(name);
    if (!fd && set != nullptr) fd = set->OpenHeld(osName, flags);
    if (!fd) fd = PinnedFiles::Open(name, osName, flags);
    if (!fd) return OpenOsFileDescriptor(osName, flags, error, regularOnly);
    if (*fd < 0) error = OsErrorFromErrno(errno);
    return *fd;
}

int OpenWithoutWaiting(int folder, const std::string& name, int flags,
                       const std::function<bool(const struct stat&)>& accept) {
    const int fd = ::openat(folder, name.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !accept(st) ||
        ((flags & O_NONBLOCK) == 0 &&
         ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)) {
        ::close(fd);
        errno = EACCES;
        return -1;
    }
    return fd;
}

int OpenOsFileDescriptor(const std::string& osName, int flags, std::int32_t& error,
                         bool regularOnly) {
    error = 0;
    const int fd =
        regularOnly ? OpenWithoutWaiting(AT_FDCWD, osName, flags,
                                         [](const struct stat& st) { return S_ISREG(st.st_mode); })
                    : ::open(osName.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) error = OsErrorForPath(errno, osName);
    return fd;
}

}  // namespace platform
