#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Length limits of the system's short strings, and the one helper that enforces them.
namespace platform {

inline constexpr std::size_t kShortStringMax = 255;  // texts, file names, codes before cutting
inline constexpr std::size_t kAttributeMax = 85;     // object attributes A1..A6, ID, KR
inline constexpr std::size_t kPointNameMax = 10;     // point names
inline constexpr std::size_t kCodeMax = 4;           // object and symbol codes

// The first `limit` bytes of `text` (the whole text when it is shorter).
inline std::string Cut(std::string_view text, std::size_t limit = kShortStringMax) {
    return std::string(text.substr(0, limit));
}

// Whether `text` fits a short string of `limit` bytes whole.
inline bool Fits(std::string_view text, std::size_t limit = kShortStringMax) {
    return text.size() <= limit;
}

// File and folder names are never cut: a cut name names another file. True when `name` fits a
// short string; otherwise a message box naming it, and false.
bool NameFits(std::string_view name);

}  // namespace platform
