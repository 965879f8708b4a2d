#include "platform/BinaryFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace platform {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// Writes everything, retrying after interruptions and short writes.
bool WriteAllAt(int fd, const char* data, std::size_t count, std::int64_t offset) {
    while (count > 0) {
        const ssize_t n = ::pwrite(fd, data, count, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        data += n;
        count -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

// Reads up to count bytes; stops early only at the end of the file or on an error.
ssize_t ReadAllAt(int fd, char* data, std::size_t count, std::int64_t offset) {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, data + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return done > 0 ? static_cast<ssize_t>(done) : -1;
        }
        if (n == 0) break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace

BinaryFile::~BinaryFile() {
    if (fd_ < 0) return;
    if (mode_ == Mode::CreateAlways) {
        Discard();
    } else {
        Close();
    }
}

bool BinaryFile::Open(const std::string& name, Mode mode) {
    if (fd_ >= 0) Close();
    mode_ = mode;
    error_ = 0;
    failed_ = false;
    pos_ = 0;
    readLen_ = 0;
    writeBuf_.clear();
    if (mode == Mode::CreateAlways) {
        error_ = static_cast<std::uint32_t>(replacement_.Create(name));
        if (error_ != 0) return false;
        fd_ = replacement_.Descriptor();
        size_ = 0;
        return true;
    }
    std::int32_t error = 0;
    int fd = -1;
    switch (mode) {
        case Mode::Read:
            fd = OpenFileDescriptor(name, O_RDONLY, error, true);
            break;
        case Mode::ReadWrite:
            fd = OpenFileDescriptor(name, O_RDWR, error, true);
            break;
        case Mode::CreateNew:
        case Mode::CreateAlways:
            fd = OpenFileDescriptor(name, O_RDWR | O_CREAT | O_EXCL, error);
            break;
    }
    if (fd < 0) {
        error_ = static_cast<std::uint32_t>(error);
        return false;
    }
    if (mode == Mode::Read || mode == Mode::ReadWrite) {
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            error_ = kErrorAccessDenied;
            ::close(fd);
            return false;
        }
        // Readers share the file; a writer in place keeps it to itself.
        const int lock = (mode == Mode::Read ? LOCK_SH : LOCK_EX) | LOCK_NB;
        if (::flock(fd, lock) != 0) {
            error_ = kErrorSharingViolation;
            ::close(fd);
            return false;
        }
        size_ = st.st_size;
    } else {
        ::flock(fd, LOCK_EX | LOCK_NB);
        size_ = 0;
    }
    fd_ = fd;
    return true;
}

void BinaryFile::Fail(int err) {
    failed_ = true;
    error_ = static_cast<std::uint32_t>(OsErrorFromErrno(err));
}

std::size_t BinaryFile::Read(void* data, std::size_t count) {
    if (fd_ < 0 || count == 0) return 0;
    if (!writeBuf_.empty() && !Flush()) return 0;
    char* out = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < count) {
        if (readLen_ > 0 && pos_ >= readStart_ &&
            pos_ < readStart_ + static_cast<std::int64_t>(readLen_)) {
            const std::size_t at = static_cast<std::size_t>(pos_ - readStart_);
            const std::size_t n = std::min(count - done, readLen_ - at);
            std::memcpy(out + done, readBuf_.data() + at, n);
            done += n;
            pos_ += static_cast<std::int64_t>(n);
            continue;
        }
        const std::size_t want = count - done;
        if (want >= kBufferSize) {
            const ssize_t n = ReadAllAt(fd_, out + done, want, pos_);
            if (n < 0) {
                error_ = static_cast<std::uint32_t>(OsErrorFromErrno(errno));
                break;
            }
            done += static_cast<std::size_t>(n);
            pos_ += n;
            break;
        }
        // A small file gets a buffer of its own size.
        const std::size_t capacity =
            mode_ == Mode::Read
                ? static_cast<std::size_t>(std::clamp<std::int64_t>(size_, 16, kBufferSize))
                : kBufferSize;
        if (readBuf_.size() < capacity) readBuf_.resize(capacity);
        const ssize_t n = ReadAllAt(fd_, readBuf_.data(), capacity, pos_);
        if (n < 0) {
            error_ = static_cast<std::uint32_t>(OsErrorFromErrno(errno));
            readLen_ = 0;
            break;
        }
        readStart_ = pos_;
        readLen_ = static_cast<std::size_t>(n);
        if (n == 0) break;
    }
    return done;
}

bool BinaryFile::Write(const void* data, std::size_t count) {
    if (fd_ < 0 || mode_ == Mode::Read || failed_) return false;
    if (count == 0) return true;
    readLen_ = 0;
    if (!writeBuf_.empty() && pos_ != writeStart_ + static_cast<std::int64_t>(writeBuf_.size())) {
        if (!Flush()) return false;
    }
    if (writeBuf_.empty()) writeStart_ = pos_;
    const char* in = static_cast<const char*>(data);
    if (writeBuf_.size() + count > kBufferSize) {
        if (!Flush()) return false;
        if (count >= kBufferSize) {
            if (!WriteAllAt(fd_, in, count, pos_)) {
                Fail(errno);
                return false;
            }
            pos_ += static_cast<std::int64_t>(count);
            size_ = std::max(size_, pos_);
            return true;
        }
        writeStart_ = pos_;
    }
    if (writeBuf_.capacity() < kBufferSize) writeBuf_.reserve(kBufferSize);
    writeBuf_.insert(writeBuf_.end(), in, in + count);
    pos_ += static_cast<std::int64_t>(count);
    return true;
}

bool BinaryFile::Flush() {
    if (writeBuf_.empty()) return !failed_;
    const bool ok = WriteAllAt(fd_, writeBuf_.data(), writeBuf_.size(), writeStart_);
    if (!ok) Fail(errno);
    size_ = std::max(size_, writeStart_ + static_cast<std::int64_t>(writeBuf_.size()));
    writeBuf_.clear();
    return ok;
}

bool BinaryFile::Seek(std::int64_t offset) {
    if (fd_ < 0 || offset < 0) return false;
    pos_ = offset;
    return true;
}

std::int64_t BinaryFile::Size() {
    if (fd_ < 0) return 0;
    if (mode_ == Mode::Read) return size_;
    return std::max(size_, writeStart_ + static_cast<std::int64_t>(writeBuf_.size()));
}

std::int64_t BinaryFile::Remaining() {
    return std::max<std::int64_t>(0, Size() - pos_);
}

void BinaryFile::Discard() {
    writeBuf_.clear();
    if (mode_ == Mode::CreateAlways) {
        replacement_.Abandon();
    } else {
        ::close(fd_);
    }
    fd_ = -1;
}

bool BinaryFile::Close() {
    if (fd_ < 0) return false;
    bool ok = Flush();
    if (mode_ == Mode::CreateAlways) {
        if (!ok) {
            Discard();
            return false;
        }
        fd_ = -1;
        const std::int32_t error = replacement_.Finish();
        if (error != 0) {
            failed_ = true;
            error_ = static_cast<std::uint32_t>(error);
            return false;
        }
        return true;
    }
    if (::close(fd_) != 0 && ok) {
        Fail(errno);
        ok = false;
    }
    fd_ = -1;
    return ok;
}

}  // namespace platform
