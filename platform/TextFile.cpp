#include "platform/TextFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/OsError.h"

namespace platform {
namespace {

constexpr std::size_t kReadBuffer = 64 * 1024;
constexpr std::size_t kWriteBuffer = 64 * 1024;

std::int32_t CloseFd(int& fd) {
    if (fd < 0) return 0;
    const int rc = ::close(fd);
    fd = -1;
    return rc == 0 ? 0 : OsErrorFromErrno(errno);
}

// Permissions for a new file: what the process's file-creation mask allows.
mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
TextFileReader::~TextFileReader() {
    Close();
}

std::int32_t TextFileReader::Open(const std::string& path) {
    Close();
    error_ = 0;
    atEnd_ = false;
    pos_ = end_ = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return OsErrorForPath(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return kErrorAccessDenied;
    }
    fd_ = fd;
    buffer_.resize(kReadBuffer);
    return 0;
}

bool TextFileReader::Fill() {
    if (fd_ < 0 || atEnd_ || error_ != 0) return false;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
        if (n > 0) {
            pos_ = 0;
            end_ = static_cast<std::size_t>(n);
            return true;
        }
        if (n == 0) {
            atEnd_ = true;
            return false;
        }
        if (errno == EINTR) continue;
        error_ = OsErrorFromErrno(errno);
        return false;
    }
}

bool TextFileReader::Eof() {
    return pos_ >= end_ && !Fill();
}

int TextFileReader::PeekByte() {
    if (Eof()) return -1;
    return static_cast<unsigned char>(buffer_[pos_]);
}

bool TextFileReader::ReadLine(std::string& line) {
    line.clear();
    if (Eof()) return false;
    for (;;) {
        if (pos_ >= end_ && !Fill()) return error_ == 0;  // last line without an end
        const char* data = buffer_.data();
        std::size_t i = pos_;
        while (i < end_ && data[i] != '\n' && data[i] != '\r') ++i;
        if (line.size() < kLineMax) {
            const std::size_t room = kLineMax - line.size();
            line.append(data + pos_, std::min(room, i - pos_));
        }
        if (i == end_) {
            pos_ = end_;
            continue;
        }
        const char terminator = data[i];
        pos_ = i + 1;
        if (terminator == '\r' && PeekByte() == '\n') ++pos_;
        return error_ == 0;
    }
}

std::int32_t TextFileReader::Close() {
    buffer_.clear();
    buffer_.shrink_to_fit();
    pos_ = end_ = 0;
    return CloseFd(fd_);
}

// ---------------------------------------------------------------------------------------------
TextFileWriter::~TextFileWriter() {
    Abandon();
}

std::int32_t TextFileWriter::Create(const std::string& path) {
    Abandon();
    error_ = 0;
    if (path.empty()) return kErrorPathNotFound;
    struct stat st {};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode)) return kErrorAccessDenied;
    if (exists && ::access(path.c_str(), W_OK) != 0) return OsErrorFromErrno(errno);

    const std::size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) return kErrorAccessDenied;
    std::string temp =
        (slash == std::string::npos ? std::string() : folder) + "." + name + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        // The folder of the target is missing: Windows calls that "path not found".
        return errno == ENOENT ? kErrorPathNotFound : OsErrorFromErrno(errno);
    }
    ::fchmod(fd, exists ? (st.st_mode & 07777) : NewFileMode());
    fd_ = fd;
    path_ = path;
    tempPath_ = std::move(temp);
    buffer_.clear();
    buffer_.reserve(kWriteBuffer);
    return 0;
}

void TextFileWriter::Write(std::string_view text) {
    if (fd_ < 0) {
        if (error_ == 0) error_ = kErrorInvalidParameter;
        return;
    }
    if (error_ != 0) return;
    buffer_.append(text);
    if (buffer_.size() >= kWriteBuffer) Flush();
}

void TextFileWriter::Flush() {
    std::size_t done = 0;
    while (done < buffer_.size() && error_ == 0) {
        const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            error_ = OsErrorFromErrno(n < 0 ? errno : ENOSPC);
        }
    }
    buffer_.clear();
}

std::int32_t TextFileWriter::Close() {
    if (fd_ < 0) return error_;
    Flush();
    const std::int32_t closeError = CloseFd(fd_);
    if (error_ == 0) error_ = closeError;
    if (error_ == 0 && ::rename(tempPath_.c_str(), path_.c_str()) != 0)
        error_ = OsErrorFromErrno(errno);
    if (error_ != 0) ::unlink(tempPath_.c_str());
    tempPath_.clear();
    buffer_.clear();
    buffer_.shrink_to_fit();
    return error_;
}

void TextFileWriter::Abandon() {
    if (fd_ < 0) return;
    CloseFd(fd_);
    ::unlink(tempPath_.c_str());
    tempPath_.clear();
    buffer_.clear();
}

}  // namespace platform
