#include "platform/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <string_view>
#include <thread>

#include "platform/FileJournal.h"

namespace platform {
namespace {

// A writer or reader waiting longer than this says so.
constexpr std::chrono::seconds kPatience{3};
constexpr std::string_view kWaiting = "czekam, aż inny program skończy zapis w folderze ";

LockState Take(int fd, int how) {
    for (;;) {
        if (::flock(fd, how) == 0) return LockState::Held;
        if (errno == EINTR) continue;
        return errno == EWOULDBLOCK ? LockState::Busy : LockState::Unsupported;
    }
}

// Takes the lock, trying again while another holds it.
LockState Wait(int fd, int how, const std::string& folderName) {
    LockState state = Take(fd, how | LOCK_NB);
    if (state != LockState::Busy) return state;
    const auto start = std::chrono::steady_clock::now();
    auto pause = std::chrono::milliseconds(1);
    bool said = false;
    while ((state = Take(fd, how | LOCK_NB)) == LockState::Busy) {
        if (!said && std::chrono::steady_clock::now() - start >= kPatience) {
            FileNotice(std::string(kWaiting) + folderName);
            said = true;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    return state;
}

}  // namespace

LockState TryLock(int fd) {
    return Take(fd, LOCK_EX | LOCK_NB);
}

LockState LockFolder(int fd, const std::string& folderName) {
    return Wait(fd, LOCK_EX, folderName);
}

void Unlock(int fd) {
    ::flock(fd, LOCK_UN);
}

FolderReadLock::FolderReadLock(const std::string& osFolder) {
    fd_ = ::open(osFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0 && Wait(fd_, LOCK_SH, osFolder) != LockState::Held) {
        ::close(fd_);
        fd_ = -1;
    }
}

FolderReadLock::~FolderReadLock() {
    if (fd_ >= 0) ::close(fd_);  // the lock goes with it
}

}  // namespace platform
