#pragma once

#include <string>
#include <string_view>

// Space trimming of short strings. Only the space character counts; tabs and other blanks stay.

// Drops the leading spaces; a text of length 0 or 1 comes back unchanged, so a single space stays.
std::string TrimLeadingSpaces(std::string_view Text);
// Drops the trailing spaces; a text of length 0 or 1 comes back unchanged.
std::string TrimTrailingSpaces(std::string_view Text);
// Turns every run of spaces into one space.
std::string CollapseSpaces(std::string_view Text);
// CollapseSpaces, then TrimTrailingSpaces, then TrimLeadingSpaces. Spaces only give one space.
std::string TrimText(std::string_view Text);
