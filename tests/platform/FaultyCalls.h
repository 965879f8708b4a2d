#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <functional>
#include <new>
#include <string>

#include "platform/FileCalls.h"

// Failures injected through the table of file calls (FileCalls.h): the `at`-th call of a kind,
// counted from 0 (or every call from it on), fails with an error, writes only part of its data,
// throws as an allocation that fails would, ends the process at once as if it were killed, stops
// it (SIGSTOP), or lets `meddle` act first, as somebody else would meanwhile, and say whether the
// call then fails (a write then writes part of its data); the process may be ended at a later call
// of the kind too, as a run killed while it undoes what failed. `only` picks the calls counted by
// the name they make or act on (a rename's or link's new name; none for calls on a descriptor). The
// process's own calls otherwise.
struct Fault {
    enum class Call {
        Any,
        Rename,
        Link,
        Unlink,
        FolderFlush,
        FileFlush,
        Write,
        Truncate,
        Open,
        Stat,
        Chmod,
        Place  // a rename or a link: a name given to a file
    };
    enum class Action { Fail, Short, Throw, End, Stop, Meddle };
    Call call = Call::Any;
    int at = 0;
    Action action = Action::Fail;
    int error = EIO;
    bool every = false;
    int endAt = -1;
    std::function<bool(const std::string& name)> only = {};
    std::function<bool(Call call, const std::string& name)> meddle = {};
};

namespace faulty {

inline std::atomic<bool> armed{false};
inline Fault fault;
inline std::atomic<int> counted{0};
inline std::atomic<bool> full{false};       // a write cut short: the disk is full from then on
inline std::atomic<bool> noUnnamed{false};  // the file system makes no unnamed files

// True when this call is to fail with errno set; the other actions are taken here.
inline bool Due(Fault::Call call, const char* name = nullptr) {
    const bool placing = call == Fault::Call::Rename || call == Fault::Call::Link;
    if (!armed || (fault.call != Fault::Call::Any && fault.call != call &&
                   (fault.call != Fault::Call::Place || !placing)))
        return false;
    if (fault.only && (name == nullptr || !fault.only(name))) return false;
    const int n = counted++;
    if (n == fault.endAt) ::_exit(0);
    if (n < fault.at || (n > fault.at && !fault.every)) return false;
    switch (fault.action) {
        case Fault::Action::End:
            ::_exit(0);
        case Fault::Action::Stop:
            ::raise(SIGSTOP);
            return false;
        case Fault::Action::Throw:
            throw std::bad_alloc();
        case Fault::Action::Meddle:
            if (!fault.meddle(call, name != nullptr ? name : "")) return false;
            errno = fault.error;
            return true;
        default:
            errno = fault.error;
            return true;
    }
}

inline int Openat(int a, const char* b, int c, mode_t d) {
    if (noUnnamed && (c & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return Due(Fault::Call::Open, b) ? -1 : ::openat(a, b, c, d);
}
inline int Fstatat(int a, const char* b, struct stat* c, int d) {
    return Due(Fault::Call::Stat, b) ? -1 : ::fstatat(a, b, c, d);
}
inline int Fchmod(int a, mode_t b) {
    return Due(Fault::Call::Chmod) ? -1 : ::fchmod(a, b);
}
inline int Renameat(int a, const char* b, int c, const char* d) {
    return Due(Fault::Call::Rename, d) ? -1 : ::renameat(a, b, c, d);
}
inline int Linkat(int a, const char* b, int c, const char* d, int e) {
    return Due(Fault::Call::Link, d) ? -1 : ::linkat(a, b, c, d, e);
}
inline int Unlinkat(int a, const char* b, int c) {
    return Due(Fault::Call::Unlink, b) ? -1 : ::unlinkat(a, b, c);
}
inline int Fsync(int fd) {
    return Due(Fault::Call::FolderFlush) ? -1 : ::fsync(fd);
}
inline int Fdatasync(int fd) {
    return Due(Fault::Call::FileFlush) ? -1 : ::fdatasync(fd);
}
inline int Syncfs(int fd) {
    return Due(Fault::Call::FileFlush) ? -1 : ::syncfs(fd);
}
inline ssize_t Write(int fd, const void* data, std::size_t size) {
    if (full) {
        errno = fault.error;
        return -1;
    }
    if (!Due(Fault::Call::Write)) return ::write(fd, data, size);
    // Part of the data, then the disk is full.
    if (fault.action != Fault::Action::Short && fault.action != Fault::Action::Meddle) return -1;
    full = true;
    return size > 1 ? ::write(fd, data, size / 2) : -1;
}
inline int Ftruncate(int fd, off_t size) {
    return Due(Fault::Call::Truncate) ? -1 : ::ftruncate(fd, size);
}

inline const platform::FileCalls kTable = {Openat, Fstatat,   Fchmod, Renameat, Linkat,   Unlinkat,
                                           Fsync,  Fdatasync, Syncfs, Write,    Ftruncate};

}  // namespace faulty

// Puts the fault in place for the calls from now on.
inline void Inject(const Fault& fault) {
    faulty::armed = false;
    faulty::fault = fault;
    faulty::counted = 0;
    faulty::full = false;
    platform::UseFileCalls(&faulty::kTable);
    faulty::armed = true;
}

// The process's own calls again (but for unnamed files, while they are refused); how many calls
// of the fault's kind were made meanwhile.
inline int ClearFault() {
    faulty::armed = false;
    faulty::full = false;
    platform::UseFileCalls(faulty::noUnnamed ? &faulty::kTable : nullptr);
    return faulty::counted;
}

// Counts the calls of a kind without failing any.
inline void CountCalls(Fault::Call call) {
    Inject(Fault{call, 1 << 30});
}

// Makes the file system refuse unnamed files (O_TMPFILE), as many network and FUSE file systems
// do, or stop refusing them.
inline void RefuseUnnamedFiles(bool refuse) {
    faulty::noUnnamed = refuse;
    ClearFault();
}

// A fault that lets `meddle` act at every call of the kind (Any: every call) and fail those it
// says, with `error`.
inline Fault Meddling(Fault::Call call, int error,
                      std::function<bool(Fault::Call call, const std::string& name)> meddle) {
    return Fault{call, 0, Fault::Action::Meddle, error, true, -1, {}, std::move(meddle)};
}

// A fault that fails every file put under a name ending in `suffix` (a rename's or link's new
// name; compared without regard to case), as a full disk would when the file is finished.
inline Fault FailFilesEndingIn(const std::string& suffix, int error = ENOSPC) {
    return Fault{Fault::Call::Place,
                 0,
                 Fault::Action::Fail,
                 error,
                 true,
                 -1,
                 [suffix](const std::string& name) {
                     if (name.size() < suffix.size()) return false;
                     for (std::size_t i = 0; i < suffix.size(); ++i)
                         if (std::tolower(static_cast<unsigned char>(
                                 name[name.size() - suffix.size() + i])) !=
                             std::tolower(static_cast<unsigned char>(suffix[i])))
                             return false;
                     return true;
                 }};
}
