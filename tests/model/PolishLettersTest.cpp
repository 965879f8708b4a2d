#include "model/PolishLetters.h"

#include <gtest/gtest.h>

#include "model/FormatSettings.h"
#include "platform/NumberText.h"

namespace {

std::string Convert(std::string_view text, int from, int to) {
    std::string result;
    ConvertPolishLetters(text, from, to, result);
    return result;
}

}  // namespace

TEST(PolishLetters, ConvertsBetweenPages) {
    const std::string lodz =
        "\xA3\xF3"
        "d\x9F";  // Łódź in Windows 1250
    EXPECT_EQ(Convert(lodz, 3, 4), "Lodz");
    EXPECT_EQ(Convert(lodz, 3, 2),
              "\x9D\xA2"
              "d\xAB");
    // Mazovia to its other variant swaps the two z letters of each case.
    EXPECT_EQ(Convert("\xA6\xA7\xA1\xA0", 1, 5), "\xA7\xA6\xA0\xA1");
    // A converted byte is never converted again.
    EXPECT_EQ(Convert("\xA6\xA7", 1, 5), "\xA7\xA6");
}

TEST(PolishLetters, UnknownBytesAndPlainSourcePassUnchanged) {
    EXPECT_EQ(Convert("\x80\x81\xFFx", 3, 4), "\x80\x81\xFFx");
    EXPECT_EQ(Convert("Lodz \xB9", 4, 3), "Lodz \xB9");
    EXPECT_EQ(Convert("\xB9", 3, 3), "\xB9");
    // Page numbers without a row leave the text alone.
    EXPECT_EQ(Convert("\xB9", 0, 4), "\xB9");
    EXPECT_EQ(Convert("\xB9", 3, 7), "\xB9");
}

TEST(FormatSettings, SetsTheProcessWideSeparator) {
    const char saved = GlobalNumberFormat.GetDecimalSeparator();
    GlobalNumberFormat.SetDecimalSeparator(',');
    EXPECT_EQ(platform::FormatFixed(1.3, 2), "1,30");
    GlobalNumberFormat.SetDecimalSeparator('.');
    EXPECT_EQ(GlobalNumberFormat.GetDecimalSeparator(), '.');
    EXPECT_EQ(platform::FormatFixed(1.3, 2), "1.30");
    GlobalNumberFormat.SetDecimalSeparator(saved);
}
