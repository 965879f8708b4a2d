#pragma once

// The library's version number; the about box shows it divided by 100.
inline constexpr double LibraryVersion = 2.19;
