#pragma once

#include <string>

// Locks on open files and folders (flock): a run holds an exclusive one on its journal for as long
// as it writes in a folder, which tells others that it is alive wherever it runs (another process
// namespace, a container, or, where the file system passes locks on, another machine), and one on
// the folder while it puts files in place there, so that one writer at a time does. Readers hold a
// shared one on the folder while they open the files of a set, so that they never open half of
// one. A lock goes with the process that holds it, however that process ends.
namespace platform {

enum class LockState { Held, Busy, Unsupported };

// Takes the lock of the open file or folder at once if it is free.
LockState TryLock(int fd);

// Takes the lock of a folder (a descriptor), waiting while another holds it; after a few seconds
// of waiting says so, naming the folder.
LockState LockFolder(int fd, const std::string& folderName);

void Unlock(int fd);

// The shared lock of a folder (an operating-system name) for as long as it lives: taken at once
// when no writer holds the folder, after the writer otherwise; nothing where the folder cannot
// be opened or locked.
class FolderReadLock {
  public:
    explicit FolderReadLock(const std::string& osFolder);
    ~FolderReadLock();
    FolderReadLock(const FolderReadLock&) = delete;
    FolderReadLock& operator=(const FolderReadLock&) = delete;

  private:
    int fd_ = -1;
};

}  // namespace platform
