#include "platform/TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/FileSystem.h"
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
    std::int32_t error = 0;
    const int fd = OpenFileDescriptor(path, O_RDONLY, error);
    if (fd < 0) return error;
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
    const std::int32_t error = file_.Create(path);
    if (error != 0) return error;
    buffer_.clear();
    buffer_.reserve(kWriteBuffer);
    return 0;
}

void TextFileWriter::Write(std::string_view text) {
    if (!file_.IsOpen()) {
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
        const ssize_t n = ::write(file_.Descriptor(), buffer_.data() + done, buffer_.size() - done);
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
    if (!file_.IsOpen()) return error_;
    Flush();
    if (error_ == 0) {
        error_ = file_.Finish();
    } else {
        file_.Abandon();
    }
    buffer_.clear();
    buffer_.shrink_to_fit();
    return error_;
}

void TextFileWriter::Abandon() {
    file_.Abandon();
    buffer_.clear();
}

}  // namespace platform
