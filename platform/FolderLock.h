#pragma once

#include <string>

// Exclusive locks on open files and folders (flock): a run holds one on its journal for as long
// as it writes in a folder, which tells others that it is alive wherever it runs (another
// process namespace, a container, or, where the file system passes locks on, another machine),
// and one on the folder while it puts files in place there, so that one writer at a time does.
// A lock goes with the process that holds it, however that process ends.
namespace platform {

enum class LockState { Held, Busy, Unsupported };

// Takes the lock of the open file or folder at once if it is free.
LockState TryLock(int fd);

// Takes the lock of a folder (a descriptor), waiting while another writer holds it; after a few
// seconds of waiting says so, naming the folder.
LockState LockFolder(int fd, const std::string& folderName);

void Unlock(int fd);

}  // namespace platform
