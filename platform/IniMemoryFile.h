#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// An INI file read whole into memory once (the batch configuration), like the toolkit's
// in-memory INI component: every line is trimmed of blanks; empty lines and comments (';') are
// dropped; "[name]" starts a section; in a section every other line is kept in file order, a
// line with '=' as key, '=' and value with the blanks around the first '=' removed, any other
// line as it stands. Lines before the first section are dropped. Sections and keys compare
// without regard to case; texts are Windows-1250 bytes, passed through unchanged.
namespace platform {

class IniMemoryFile {
  public:
    // Files above this size are not read and give an empty image.
    static constexpr std::size_t kMaxFileSize = 16u << 20;

    // Reads the file; a missing or unreadable file gives an empty image.
    explicit IniMemoryFile(const std::string& fileName);
    // The image of an INI text already in memory.
    static IniMemoryFile FromText(std::string_view text);

    // The value of the first key of that name in the section, or `defaultValue`.
    std::string ReadString(std::string_view section, std::string_view key,
                           std::string_view defaultValue) const;
    // The value as a whole decimal number (blanks around it allowed), else `defaultValue`.
    std::int32_t ReadInteger(std::string_view section, std::string_view key,
                             std::int32_t defaultValue) const;
    bool SectionExists(std::string_view section) const;
    // The lines of the section in file order, as described above; empty for a missing section.
    // A section that occurs more than once gives the lines of all its occurrences.
    std::vector<std::string> ReadSectionValues(std::string_view section) const;

  private:
    struct Section {
        std::string name;
        std::vector<std::string> lines;
        // Folded key -> the first of its lines, so that a section of thousands of keys (one per
        // object code) answers a look-up without reading them all.
        std::unordered_map<std::string, std::size_t> keys;
    };
    // The value of the first line of the key in the section, or nullptr.
    const std::string* Value(std::string_view section, std::string_view key,
                             std::string_view& value) const;

    IniMemoryFile() = default;
    void Parse(std::string_view text);
    const Section* Find(std::string_view section) const;

    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> index_;  // folded name -> position in sections_
};

}  // namespace platform
