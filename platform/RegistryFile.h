#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The text form of the current user's registry: a ".reg"-style file in the ANSI form, whose texts
// are Windows-1250 bytes.
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Lumatek\Pixora\Folder]
//   "Folder"="/home/ala/mapy"
//   "Count"=dword:0000002a
//
// In strings and value names, "\\" is a backslash, "\"" a quote and "\xHH" a byte below 0x20.
// Key and value names compare case-insensitively (ASCII and the Windows-1250 letters).
//
// Damage handling: a file whose first non-blank line is not a registry header is not a registry
// file at all and Parse rejects it (the caller then neither reads nor writes it). Inside a
// registry file every line that cannot be read is kept verbatim in its place and written back
// unchanged: a section with an unreadable header or another root than HKEY_CURRENT_USER keeps all
// its lines, a garbled line in a section stays beside the values that can be read, and a value of a
// type the system does not use (hex: and the like) keeps its data text. Rewriting such a file
// therefore never holds less than it did. Blank lines are not kept; duplicate sections of one
// key are merged, and of two values of the same name in one key the later wins, as on import.
namespace platform {

enum class RegValueType { None, String, Dword, Other };

struct RegistryValue {
    std::string name;  // "" is the key's default value, "@" in the file
    RegValueType type = RegValueType::None;
    std::uint32_t dword = 0;
    std::string text;  // String: the value's bytes; Other: the data after "=" as in the file
};

// Comparison form of a key or value name.
std::string FoldRegistryName(std::string_view name);

// A key path below HKEY_CURRENT_USER with "\" between its names, without leading or trailing
// "\"; nullopt when a name is empty or holds a control character. "" is the root itself.
std::optional<std::string> NormalizeKeyPath(std::string_view path);

class RegistryDocument {
  public:
    // nullopt when the text is not a registry file. An empty text is an empty registry.
    static std::optional<RegistryDocument> Parse(std::string_view text);
    std::string Format() const;

    // The key exists, or a key below it does; the root always exists.
    bool HasKey(std::string_view normalizedPath) const;
    void CreateKey(std::string_view normalizedPath);
    const RegistryValue* FindValue(std::string_view normalizedPath, std::string_view name) const;
    // Replaces a value of the same name in place or appends it; creates the key when missing.
    void SetValue(std::string_view normalizedPath, RegistryValue value);

    std::size_t ValueCount() const;
    // Lines kept verbatim because they could not be read.
    std::size_t VerbatimLineCount() const;

  private:
    struct Entry {
        bool verbatim = false;
        std::string line;  // verbatim lines only
        RegistryValue value;
    };
    struct Section {
        bool readable = true;
        std::string path;    // readable sections: the normalized key path
        std::string header;  // unreadable sections: the header line as read
        std::vector<Entry> entries;
        std::unordered_map<std::string, std::size_t> valueIndex;  // folded name -> entry
    };

    Section* FindSection(std::string_view normalizedPath);
    const Section* FindSection(std::string_view normalizedPath) const;
    Section& AddSection(Section section);
    static void PutValue(Section& section, RegistryValue value);

    std::string header_ = "REGEDIT4";
    std::vector<std::string> preamble_;  // unreadable lines before the first section
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // folded path -> readable section
};

}  // namespace platform
