#include "model/TextTrim.h"

#include <gtest/gtest.h>

TEST(TextTrim, TrimTextCollapsesAndTrims) {
    EXPECT_EQ(TrimText("   a    b   "), "a b");
    EXPECT_EQ(TrimText("a b"), "a b");
    EXPECT_EQ(TrimText(""), "");
    EXPECT_EQ(TrimText(" "), " ");
    EXPECT_EQ(TrimText("     "), " ");   // collapsed to one space, which trimming keeps
    EXPECT_EQ(TrimText("\tx "), "\tx");  // only spaces count
}

TEST(TextTrim, SingleCharacterTextsAreKept) {
    EXPECT_EQ(TrimLeadingSpaces(" "), " ");
    EXPECT_EQ(TrimTrailingSpaces(" "), " ");
    EXPECT_EQ(TrimLeadingSpaces(""), "");
    EXPECT_EQ(TrimLeadingSpaces("   x"), "x");
    EXPECT_EQ(TrimLeadingSpaces("  "), "");
    EXPECT_EQ(TrimTrailingSpaces("x   "), "x");
    EXPECT_EQ(TrimTrailingSpaces("  "), "");
    EXPECT_EQ(TrimTrailingSpaces(" x y "), " x y");
}

TEST(TextTrim, CollapseKeepsOneSpaceOfEveryRun) {
    EXPECT_EQ(CollapseSpaces("  a   b c  "), " a b c ");
    EXPECT_EQ(CollapseSpaces("abc"), "abc");
    EXPECT_EQ(CollapseSpaces(""), "");
}
