#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>

// The few system calls that put files in place and keep their journals, through one table: the
// program uses the operating system's own, and tests put in their own to make any one of them fail
// (a full disk, a folder that cannot be flushed, a run killed at a given rename) without a hook
// in the code that does the work.
namespace platform {

struct FileCalls {
    int (*openat)(int folder, const char* name, int flags, mode_t mode);
    int (*fstatat)(int folder, const char* name, struct stat* st, int flags);
    int (*fchmod)(int fd, mode_t mode);
    int (*renameat)(int fromFolder, const char* from, int toFolder, const char* to);
    int (*linkat)(int fromFolder, const char* from, int toFolder, const char* to, int flags);
    int (*unlinkat)(int folder, const char* name, int flags);
    int (*fsync)(int fd);
    int (*fdatasync)(int fd);
    int (*syncfs)(int fd);
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*ftruncate)(int fd, off_t size);
};

// The table in use.
const FileCalls& Calls();
// The operating system's calls.
const FileCalls& SystemFileCalls();
// Puts another table in use (it must outlive its use); the one it replaces.
const FileCalls* UseFileCalls(const FileCalls* calls);

// Flushes a folder's entries to the disk; file systems that cannot flush a folder (network and
// shared folders, some FUSE file systems) refuse with EINVAL or ENOTSUP, which counts as done.
// 0 or errno.
int FlushFolder(int folder);
// Writes the whole text through the table's write; false with errno set when it cannot.
bool WriteAll(int fd, std::string_view text);
// The same through the given write, going on after interruptions and short writes.
bool WriteThrough(ssize_t (*write)(int, const void*, std::size_t), int fd, std::string_view text);

// What identifies a file's content as one run saw it: the device and inode, the size and the
// modification time in nanoseconds. Nobody can give another file the same one by naming it, and
// any change of the content changes it.
struct FileIdentity {
    enum class State { Absent, Present, Unknown };
    State state = State::Absent;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t seconds = 0;
    std::int64_t nanoseconds = 0;

    bool Present() const { return state == State::Present; }
    // The same file, whatever its content now.
    bool SameFile(const FileIdentity& other) const {
        return Present() && other.Present() && device == other.device && inode == other.inode;
    }
    bool Absent() const { return state == State::Absent; }
    // Two identities match when both are absent or both present and the same; an unknown one
    // matches none.
    bool Matches(const FileIdentity& other) const;
    // Of the entry of a folder (a link itself, not what it leads to), or of an open file.
    static FileIdentity At(int folder, const std::string& name);
    static FileIdentity Of(int fd);
    static FileIdentity Of(const struct stat& st);
    // As a journal keeps it: empty when absent; nothing for text that is no identity.
    std::string Text() const;
    static bool FromText(std::string_view text, FileIdentity& identity);
};

}  // namespace platform
