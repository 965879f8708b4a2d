#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ReplacementFile.h"

// Text files of the host, byte for byte (no re-encoding). Names are the system's (FileSystem.h).
// Errors are Windows-style numbers (OsError.h); 0 means success.
namespace platform {

// Reads a file line by line. A line ends with CR LF, LF alone or CR alone; a line longer than the
// line buffer is cut and the rest of it skipped, so memory stays bounded whatever the bytes.
class TextFileReader {
  public:
    static constexpr std::size_t kLineMax = 255;

    TextFileReader() = default;
    ~TextFileReader();
    TextFileReader(const TextFileReader&) = delete;
    TextFileReader& operator=(const TextFileReader&) = delete;

    // Opens for reading with shared access; returns the error number. Anything but a regular
    // file (a folder, a device, a pipe) is refused at once, never waited for, with
    // kErrorAccessDenied.
    std::int32_t Open(const std::string& path);
    // True when no line is left (or the file is not open, or a read failed).
    bool Eof();
    // Reads the next line into `line` (at most kLineMax bytes, without its end). False when no line
    // is left or a read failed (see Error).
    bool ReadLine(std::string& line);
    // ReadLine without a copy: `line` shows the bytes in the reader's buffer and stays valid
    // until the next read or Close.
    bool ReadLineView(std::string_view& line);
    // The first read error, 0 when none.
    std::int32_t Error() const { return error_; }
    // Closes; returns the error number of the close.
    std::int32_t Close();

    // Bounds for input that may never end (a file that grows while it is read, a line of
    // garbage): no more than `bytes` of the file are read, and a line whose end has not come
    // after `lineBytes` ends the reading. Reaching either makes the file
    // look as if it ended there (the line reached is not returned); LimitReached says which.
    // Both are unbounded until set, after Open.
    enum class Limit { None, Bytes, Line };
    void SetLimits(std::uint64_t bytes, std::uint64_t lineBytes);
    Limit LimitReached() const { return limit_; }

  private:
    // Reads more after the unread bytes, which move to the front of the buffer; false at the end
    // of the file, at a limit or on an error.
    bool Fill();
    // A CR that ended the last line at the end of the buffer: a LF after it belongs to it.
    void SkipPendingLf();
    bool SkipRestOfLine();
    // Ends the reading at a limit: nothing more is read. Returns false.
    bool Stop(Limit limit);

    int fd_ = -1;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool pendingLf_ = false;
    Limit limit_ = Limit::None;
    std::int32_t error_ = 0;
    std::uint64_t consumed_ = 0;  // bytes read from the file so far
    std::uint64_t byteLimit_ = UINT64_MAX;
    std::uint64_t lineLimit_ = UINT64_MAX;
    std::string cutLine_;  // the kept start of a line longer than kLineMax
};

// Writes a text file as the replacement of its target (ReplacementFile.h): the new text takes the
// target's place only on a successful Close, so a failed write never destroys the old file, and
// on failure the temporary file is removed. Lines end with CR LF.
class TextFileWriter {
  public:
    TextFileWriter() = default;
    // Abandons an unclosed file: the temporary file is removed and the target left as it was.
    ~TextFileWriter();
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;

    // Creates (or will replace) `path`; returns the error number.
    std::int32_t Create(const std::string& path);
    void Write(std::string_view text);
    void WriteLine(std::string_view text) {
        Write(text);
        Write("\r\n");
    }
    // The first write error so far, 0 when none.
    std::int32_t Error() const { return error_; }
    // Flushes, closes and puts the file in place (or hands it to the current file set); returns
    // the first error of the whole writing.
    std::int32_t Close();
    // Removes the temporary file without touching the target.
    void Abandon();

  private:
    void Flush();

    ReplacementFile file_;
    std::string buffer_;
    std::int32_t error_ = 0;
};

}  // namespace platform
