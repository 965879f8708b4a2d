#pragma once

#include <string>
#include <string_view>

// String values of the current user's registry, for callers that want a value or a default.
// Key paths use "\" and lie below HKEY_CURRENT_USER.

// Value := the string value ValueName of Key, or Default when it is missing, empty, not a string
// or the key cannot be opened. The key is created when missing, as opening it for writing would.
void RegReadString(std::string_view Key, std::string_view ValueName, std::string_view Default,
                   std::string& Value);

// Stores Value as the string value ValueName of Key, creating the key when missing. False when
// the registry cannot be written.
bool RegWriteString(std::string_view Key, std::string_view ValueName, std::string_view Value);
