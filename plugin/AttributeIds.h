#pragma once

#include <cstdint>

// Attribute ids of map objects, as TObiekt's attribute setter and getter number them.
namespace attr {

inline constexpr std::int32_t A1 = 1;
inline constexpr std::int32_t A2 = 2;
inline constexpr std::int32_t A3 = 3;
inline constexpr std::int32_t A4 = 11;
inline constexpr std::int32_t A5 = 12;
inline constexpr std::int32_t A6 = 13;
inline constexpr std::int32_t ID = 20;
inline constexpr std::int32_t TX = 4;
inline constexpr std::int32_t KR = 5;
inline constexpr std::int32_t DT = 6;
inline constexpr std::int32_t MP = 7;
inline constexpr std::int32_t FA = 8;

}  // namespace attr
