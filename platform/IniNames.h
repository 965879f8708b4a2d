#pragma once

#include <string>
#include <string_view>

// Names and lines of Windows INI text: sections and keys compare without regard to case, as
// Windows does for Windows-1250 text (Polish letters included); values are bytes as they stand.
namespace platform {

// The upper-case form of one Windows-1250 byte (letters only; every other byte is unchanged).
unsigned char IniUpperCp1250(unsigned char c);

// The name with every letter in upper case: names equal without regard to case fold alike.
std::string IniFoldName(std::string_view name);

// True when both names are equal without regard to case.
bool IniNamesEqual(std::string_view a, std::string_view b);

// The text without blanks and tabs at both ends.
std::string_view IniTrim(std::string_view text);

}  // namespace platform
