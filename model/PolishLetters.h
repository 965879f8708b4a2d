#pragma once

#include <string>
#include <string_view>

// The 18 Polish letters in the six code pages that the host's files and dBase tables use.
// Pages: 1 Mazovia, 2 Latin 2 (852), 3 Windows 1250, 4 plain letters, 5 Mazovia with the two
// z letters the other way round, 6 ISO 8859-2.
inline constexpr int kPageMazovia = 1;
inline constexpr int kPageLatin2 = 2;
inline constexpr int kPageWindows1250 = 3;
inline constexpr int kPagePlain = 4;
inline constexpr int kPageMazovia2 = 5;
inline constexpr int kPageIso88592 = 6;

// Converts the Polish letters of Text from page FromPage to page ToPage; every other byte is
// copied unchanged. A page number outside 1..6 leaves the text unchanged.
void ConvertPolishLetters(std::string_view Text, int FromPage, int ToPage, std::string& Result);
