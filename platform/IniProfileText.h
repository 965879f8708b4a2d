#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of a Windows private-profile INI file, read and changed one key at a time the way
// GetPrivateProfileString and WritePrivateProfileString do it. Lines end in CR LF, LF or CR.
// A line whose first non-blank character is '[' starts a section named by the text up to the
// next ']'; within a section, a line holding '=' that is no comment (';') is a key, named by
// the text before the first '=' and valued by the text after it, both without blanks at their
// ends; a value enclosed in a pair of double or single quotes loses them. Sections and keys
// compare without regard to case, and the names asked for lose their blanks at both ends too;
// the first section and the first key of a name count.
namespace platform {

// The value of the key, or nothing when the section or the key is missing.
std::optional<std::string> IniProfileRead(std::string_view text, std::string_view section,
                                          std::string_view key);

// True when the text has a section of that name.
bool IniProfileHasSection(std::string_view text, std::string_view section);

// The text with the key set to the value: an existing key line is rewritten in place, a new key
// goes after the last line of its section, a new section goes at the end. Every other byte stays
// as it was; new lines end like the text's first line (CR LF when it has none). Nothing when the
// names or the value cannot stand in an INI line: an empty section or key, a CR, LF or NUL in
// any of them, ']' in the section, '=' in the key, or a key beginning with ';' or '['.
std::optional<std::string> IniProfileWrite(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value);

// One key to set by IniFile::WriteStrings.
struct IniWrite {
    std::string section;
    std::string key;
    std::string value;
};

// The text that the writes, one after another, make of an empty text: each section once, in the
// order of its first write, with its keys in the order of their first write and the last value
// given; nothing when one of the writes is refused.
std::optional<std::string> IniProfileCompose(const std::vector<IniWrite>& writes);

}  // namespace platform
