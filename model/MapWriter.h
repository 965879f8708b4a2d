#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/Obiekt.h"
#include "platform/TextFile.h"

// Writes MAP lines of one version: the text is built in memory, numbers by integer arithmetic,
// and handed to the file in large pieces. Fixed numbers take the decimal separator given, which
// the caller has set for the process while it writes.
class MapWriter {
  public:
    // Text waiting for the file beyond this is worth a write.
    static constexpr std::size_t kPieceBytes = 256 * 1024;

    MapWriter(platform::TextFileWriter& file, std::int32_t version, char separator)
        : file_(file), version_(version), separator_(separator) {}

    // The header line of the version and the comment lines: generator, file name, date and time,
    // user, a rule.
    void Header(std::string_view generator, std::string_view versionText,
                std::string_view fileName);
    // An object's header line, its text line (version 3, classes 6 and 7), attribute, vector and
    // point lines.
    void Object(const TObiekt& object);
    std::size_t Pending() const { return out_.size(); }
    // Hands the text built so far to the file; returns the file's first error.
    std::int32_t Flush();
    // The end line, and everything to the file.
    void End();

  private:
    void EndLine() { out_ += "\r\n"; }
    void Attribute(std::string_view key, std::string_view value);
    void Number(std::string_view key, std::int32_t value);
    void Point(const TPunkt& point);
    void LongPoint(const TPunkt& point);
    void Coordinate(double value);

    platform::TextFileWriter& file_;
    const std::int32_t version_;
    const char separator_;
    std::string out_;
};
