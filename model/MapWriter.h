#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "model/Obiekt.h"
#include "platform/TextFile.h"

// Writes MAP lines of one version: the text is built in a buffer of its own, numbers by integer
// arithmetic, and handed to the file in large pieces. Fixed numbers take the decimal separator
// given, which the caller has set for the process while it writes.
class MapWriter {
  public:
    static constexpr std::size_t kPieceBytes = 256 * 1024;

    MapWriter(platform::TextFileWriter& file, std::int32_t version, char separator);

    // The header line of the version and the comment lines: generator, file name, date and time,
    // user, a rule.
    void Header(std::string_view generator, std::string_view versionText,
                std::string_view fileName);
    // An object's header line, its text line (version 3, classes 6 and 7), attribute, vector and
    // point lines.
    void Object(const TObiekt& object);
    // The end line, and everything to the file.
    void End();
    // The file's first write error so far.
    std::int32_t Error() const { return file_.Error(); }

  private:
    // Room for `bytes` more at the end of the buffer, which goes to the file first when full.
    char* Room(std::size_t bytes) {
        if (used_ + bytes > kPieceBytes) Flush();
        return buffer_.get() + used_;
    }
    void Put(std::string_view text);
    void Put(char c) { *Room(1) = c, ++used_; }
    // Puts the text with its line ends turned into blanks, right-aligned in `width`.
    void PutOneLine(std::string_view text, std::size_t width = 0);
    void EndLine() { Put("\r\n"); }
    void Flush();
    void Attribute(std::string_view key, std::string_view value);
    void Number(std::string_view key, std::int32_t value);
    void Point(const TPunkt& point);
    void LongPoint(const TPunkt& point);
    void Fixed(double value, int decimals, int width);
    void Coordinate(double value);

    platform::TextFileWriter& file_;
    const std::int32_t version_;
    const char separator_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::string number_;  // the few numbers that take the long way
};
