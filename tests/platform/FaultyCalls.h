#pragma once

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <new>

#include "platform/FileCalls.h"

// Failures injected through the table of file calls (FileCalls.h): the `at`-th call of a kind,
// counted from 0 (or every call from it on), fails with an error, writes only part of its data,
// throws as an allocation that fails would, ends the process at once as if it were killed, or
// stops it (SIGSTOP); the process may be ended at a later call of the kind too, as a run killed
// while it undoes what failed. The process's own calls otherwise.
struct Fault {
    enum class Call { Any, Rename, Link, Unlink, FolderFlush, FileFlush, Write, Truncate };
    enum class Action { Fail, Short, Throw, End, Stop };
    Call call = Call::Any;
    int at = 0;
    Action action = Action::Fail;
    int error = EIO;
    bool every = false;
    int endAt = -1;
};

namespace faulty {

inline std::atomic<bool> armed{false};
inline Fault fault;
inline std::atomic<int> counted{0};
inline std::atomic<bool> full{false};  // a write cut short: the disk is full from then on

// True when this call is to fail with errno set; the other actions are taken here.
inline bool Due(Fault::Call call) {
    if (!armed || (fault.call != Fault::Call::Any && fault.call != call)) return false;
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
        default:
            errno = fault.error;
            return true;
    }
}

inline int Renameat(int a, const char* b, int c, const char* d) {
    return Due(Fault::Call::Rename) ? -1 : ::renameat(a, b, c, d);
}
inline int Linkat(int a, const char* b, int c, const char* d, int e) {
    return Due(Fault::Call::Link) ? -1 : ::linkat(a, b, c, d, e);
}
inline int Unlinkat(int a, const char* b, int c) {
    return Due(Fault::Call::Unlink) ? -1 : ::unlinkat(a, b, c);
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
    if (fault.action != Fault::Action::Short) return -1;
    full = true;
    return size > 1 ? ::write(fd, data, size / 2) : -1;
}
inline int Ftruncate(int fd, off_t size) {
    return Due(Fault::Call::Truncate) ? -1 : ::ftruncate(fd, size);
}

inline const platform::FileCalls kTable = {Renameat,  Linkat, Unlinkat, Fsync,
                                           Fdatasync, Syncfs, Write,    Ftruncate};

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

// The process's own calls again; how many calls of the fault's kind were made meanwhile.
inline int ClearFault() {
    faulty::armed = false;
    faulty::full = false;
    platform::UseFileCalls(nullptr);
    return faulty::counted;
}

// Counts the calls of a kind without failing any.
inline void CountCalls(Fault::Call call) {
    Inject(Fault{call, 1 << 30});
}
