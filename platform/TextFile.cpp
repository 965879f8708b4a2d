#include "platform/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/FileSystem.h"
#include "platform/OsError.h"

namespace platform {
namespace {

constexpr std::size_t kReadBuffer = 128 * 1024;
constexpr std::size_t kWriteBuffer = 64 * 1024;

std::int32_t CloseFd(int& fd) {
    if (fd < 0) return 0;
    const int rc = ::close(fd);
    fd = -1;
    return rc == 0 ? 0 : OsErrorFromErrno(errno);
}

// The first CR or LF in [from, to), or `to`: sixteen or eight bytes at a time where the
// processor or the byte order allows.
const char* FindLineEnd(const char* from, const char* to) {
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    while (to - from >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
        if (mask != 0) return from + std::countr_zero(mask);
        from += 16;
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        constexpr std::uint64_t kHighs = 0x8080808080808080ull;
        while (to - from >= 8) {
            std::uint64_t word;
            std::memcpy(&word, from, sizeof word);
            const std::uint64_t cr = word ^ (kOnes * '\r');
            const std::uint64_t lf = word ^ (kOnes * '\n');
            // A byte of `cr` or `lf` that is zero sets its high bit here; only bits above the
            // first such byte can be set wrongly, so the lowest set bit is exact.
            const std::uint64_t hits = (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs;
            if (hits != 0) return from + (std::countr_zero(hits) >> 3);
            from += 8;
        }
    }
    while (from < to && *from != '\r' && *from != '\n') ++from;
    return from;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
TextFileReader::~TextFileReader() {
    Close();
}

std::int32_t TextFileReader::Open(const std::string& path) {
    Close();
    error_ = 0;
    atEnd_ = pendingLf_ = false;
    limit_ = Limit::None;
    consumed_ = 0;
    byteLimit_ = lineLimit_ = UINT64_MAX;
    std::int32_t error = 0;
    const int fd = OpenFileDescriptor(path, O_RDONLY, error, true);
    if (fd < 0) return error;
    fd_ = fd;
    buffer_ = std::make_unique_for_overwrite<char[]>(kReadBuffer);
    return 0;
}

void TextFileReader::SetLimits(std::uint64_t bytes, std::uint64_t lineBytes) {
    byteLimit_ = bytes;
    lineLimit_ = lineBytes;
}

bool TextFileReader::Fill() {
    if (fd_ < 0 || atEnd_ || error_ != 0) return false;
    char* data = buffer_.get();
    if (pos_ > 0) {
        std::memmove(data, data + pos_, end_ - pos_);
        end_ -= pos_;
        pos_ = 0;
    }
    char probe;
    char* into = data + end_;
    std::size_t room = kReadBuffer - end_;
    if (consumed_ >= byteLimit_) {
        // At the limit: one byte more says whether the file goes on beyond it.
        into = &probe;
        room = 1;
    } else {
        room = static_cast<std::size_t>(std::min<std::uint64_t>(room, byteLimit_ - consumed_));
    }
    for (;;) {
        const ssize_t n = ::read(fd_, into, room);
        if (n > 0 && into == &probe) return Stop(Limit::Bytes);
        if (n > 0) {
            end_ += static_cast<std::size_t>(n);
            consumed_ += static_cast<std::uint64_t>(n);
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

bool TextFileReader::Stop(Limit limit) {
    limit_ = limit;
    atEnd_ = true;
    pendingLf_ = false;
    pos_ = end_ = 0;
    return false;
}

void TextFileReader::SkipPendingLf() {
    if (!pendingLf_) return;
    pendingLf_ = false;
    if (pos_ >= end_ && !Fill()) return;
    if (buffer_[pos_] == '\n') ++pos_;
}

bool TextFileReader::Eof() {
    SkipPendingLf();
    return pos_ >= end_ && !Fill();
}

bool TextFileReader::ReadLine(std::string& line) {
    std::string_view view;
    const bool read = ReadLineView(view);
    line.assign(view);
    return read;
}

bool TextFileReader::ReadLineView(std::string_view& line) {
    line = {};
    SkipPendingLf();
    if (pos_ >= end_ && !Fill()) return false;
    std::size_t scanned = pos_;  // no line end before this
    for (;;) {
        const char* data = buffer_.get();
        const char* found = FindLineEnd(data + scanned, data + end_);
        if (found != data + end_) {
            const auto at = static_cast<std::size_t>(found - data);
            if (at - pos_ > lineLimit_) return Stop(Limit::Line);
            line = {data + pos_, std::min(at - pos_, kLineMax)};
            pos_ = at + 1;
            if (*found == '\r') {
                if (pos_ == end_)
                    pendingLf_ = true;  // the LF after it, if any, is in the next piece
                else if (data[pos_] == '\n')
                    ++pos_;
            }
            return true;
        }
        if (end_ - pos_ > kLineMax) {
            cutLine_.assign(data + pos_, kLineMax);
            if (!SkipRestOfLine()) return false;
            line = cutLine_;
            return true;
        }
        const std::size_t kept = end_ - pos_;
        if (!Fill()) {
            if (error_ != 0 || limit_ != Limit::None || pos_ >= end_) return false;
            line = {buffer_.get() + pos_, std::min(end_ - pos_, kLineMax)};  // no line end
            pos_ = end_;
            return true;
        }
        scanned = pos_ + kept;
    }
}

// Skips a long line from its unread bytes in the buffer to its end, whose LF after a CR is left
// to SkipPendingLf. False on a read error or a limit; true also at the end of the file.
bool TextFileReader::SkipRestOfLine() {
    std::uint64_t length = 0;
    for (;;) {
        const char* data = buffer_.get();
        const char* found = FindLineEnd(data + pos_, data + end_);
        length += static_cast<std::uint64_t>(found - (data + pos_));
        if (length > lineLimit_) return Stop(Limit::Line);
        if (found != data + end_) {
            pos_ = static_cast<std::size_t>(found - data) + 1;
            pendingLf_ = *found == '\r';
            return true;
        }
        pos_ = end_;
        if (!Fill()) return error_ == 0 && limit_ == Limit::None;
    }
}

std::int32_t TextFileReader::Close() {
    buffer_.reset();
    pos_ = end_ = 0;
    cutLine_.clear();
    cutLine_.shrink_to_fit();
    return CloseFd(fd_);
}

// ---------------------------------------------------------------------------------------------
TextFileWriter::~TextFileWriter() {
    Abandon();
}

std::int32_t TextFileWriter::Create(const std::string& path) {
    Abandon();
    error_ = 0;
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
    if (error_ == 0 && !WriteToDescriptor(file_.Descriptor(), buffer_))
        error_ = OsErrorFromErrno(errno);
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
