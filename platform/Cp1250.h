#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1250, the code page of every text inside the system, and UTF-8, the code page of the
// source literals and of everything shown to people.
namespace platform {

// UTF-8 to Windows-1250; a character the code page lacks becomes "?".
std::string Utf8ToCp1250(std::string_view utf8);

// The same without guessing: nothing when the text is no valid UTF-8 or holds a character the
// code page lacks. Names coming from the operating system and the command line go through it.
std::optional<std::string> Utf8ToCp1250Exact(std::string_view utf8);

// Windows-1250 to UTF-8; the five unassigned bytes become the C1 controls of the same value.
std::string Cp1250ToUtf8(std::string_view text);

}  // namespace platform
