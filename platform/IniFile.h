#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniProfileText.h"

// A Windows private-profile INI file (the style and settings files beside a shapefile): every
// read looks into the file as it is now, every write changes one key and keeps every other
// section, key, comment and line byte for byte (IniProfileText.h has the rules). Texts are
// Windows-1250 bytes, passed through unchanged; the file name is the system's (FileSystem.h).
// Anything but a regular file in the file's place (a folder, a device, a pipe) is never waited
// for: it counts as a file that cannot be read, so reads give their defaults and writes fail.
namespace platform {

class IniFile {
  public:
    // Files above this size are not read (reads give defaults, writes fail) so that a stray
    // huge file cannot exhaust memory; real profile files are a few kilobytes.
    static constexpr std::size_t kMaxFileSize = 16u << 20;

    explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}

    const std::string& FileName() const { return fileName_; }

    // GetPrivateProfileString: the value, or `defaultValue` when the file, the section or the
    // key is missing or the file cannot be read.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The value as a whole decimal number (blanks around it allowed), else `defaultValue`.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    bool SectionExists(std::string_view section) const;

    // WritePrivateProfileString: sets the key, creating the file and the section when missing.
    // The new content replaces the old as a whole (ReplacementFile.h), so a failed write leaves the
    // old file whole. False when the names or the value cannot stand in an INI line or the file
    // cannot be read or written.
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);
    bool WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    // The same for many keys in order, with one replacement of the file: all of them or none.
    // With keepSame, a file that holds those values already is not written again.
    bool WriteStrings(const std::vector<IniWrite>& writes, bool keepSame = false);

  private:
    // The file's text: empty for a missing file, nothing when it exists but cannot be read.
    std::optional<std::string> Load() const;

    std::string fileName_;
};

}  // namespace platform
