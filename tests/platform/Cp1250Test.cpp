#include "platform/Cp1250.h"

#include <gtest/gtest.h>

#include "platform/ShortString.h"

using namespace platform;

TEST(Cp1250, EveryPolishLetterHasItsByteAndRoundTrips) {
    const std::string letters = Utf8ToCp1250("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    EXPECT_EQ(letters, "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF");
    EXPECT_EQ(Cp1250ToUtf8(letters), "ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
}

TEST(Cp1250, AllBytesRoundTripThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
}

TEST(Cp1250, MissingAndBrokenCharactersBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1250("a\xE2\x82"), "a??");  // cut sequence
    EXPECT_EQ(Utf8ToCp1250("\xFF"
                           "b"),
              "?b");                     // stray byte
    EXPECT_EQ(Utf8ToCp1250("日"), "?");  // not in the code page
    EXPECT_EQ(Utf8ToCp1250("Błąd €"),
              "B\xB3\xB9"
              "d \x80");
}

TEST(Cp1250, ExactConversionRefusesWhatItCannotHold) {
    EXPECT_EQ(Utf8ToCp1250Exact("Łódź €"),
              "\xA3\xF3"
              "d\x9F \x80");
    EXPECT_EQ(Utf8ToCp1250Exact(""), "");
    for (const char* bad : {"日", "a\xE2\x82", "\xFF", "\xC0\x80", "\xED\xA0\x80"})
        EXPECT_FALSE(Utf8ToCp1250Exact(bad)) << bad;
}

TEST(ShortString, CutKeepsAtMostTheLimit) {
    EXPECT_EQ(Cut("ABCDEFGHIJKL", kPointNameMax), "ABCDEFGHIJ");
    EXPECT_EQ(Cut("4101X", kCodeMax), "4101");
    EXPECT_EQ(Cut("abc", kAttributeMax), "abc");
    EXPECT_EQ(Cut(std::string(300, 'x')).size(), 255u);
}
