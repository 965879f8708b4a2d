// The shared progress window and its nesting count.
#include <gtest/gtest.h>

#include "shape/ProgressFormShared.h"

TEST(ProgressForm, NestedOpensShareOneWindowUntilTheLastClose) {
    ASSERT_EQ(ProgressForm(), nullptr);
    const int created = platform::ProgressWindow::CreatedCount();
    ProgressOpen(0, 10, 1, "pierwszy");
    ASSERT_NE(ProgressForm(), nullptr);
    const auto& s = ProgressForm()->Window.State();
    EXPECT_EQ(s.width, 224);
    EXPECT_EQ(s.height, 39);
    EXPECT_FALSE(s.visible);
    ProgressShow();
    EXPECT_TRUE(s.visible);
    EXPECT_EQ(s.cursor, platform::crHourGlass);
    EXPECT_EQ(s.repaints, 1);
    ProgressSetPosition(7);
    ProgressOpen(0, 5, 1, "drugi");
    EXPECT_EQ(platform::ProgressWindow::CreatedCount(), created + 1);
    EXPECT_EQ(platform::ProgressWindow::Live().size(), 1u);
    EXPECT_EQ(ProgressNesting(), 2);
    EXPECT_EQ(s.caption, "drugi");
    EXPECT_EQ(s.max, 5);
    EXPECT_EQ(s.position, 0);
    EXPECT_TRUE(s.visible);
    ProgressClose();
    ASSERT_NE(ProgressForm(), nullptr);
    EXPECT_FALSE(s.visible);
    EXPECT_EQ(s.cursor, platform::crDefault);
    EXPECT_EQ(s.caption, "drugi");  // the outer caption is not restored
    ProgressClose();
    EXPECT_EQ(ProgressForm(), nullptr);
    EXPECT_EQ(ProgressNesting(), 0);
    EXPECT_TRUE(platform::ProgressWindow::Live().empty());
    ProgressOpen(0, 3, 1, "trzeci");
    EXPECT_EQ(platform::ProgressWindow::CreatedCount(), created + 2);
    ProgressStep();
    ProgressStep();
    EXPECT_EQ(ProgressForm()->Window.State().position, 2);
    ProgressStep();
    ProgressStep();  // past the maximum the bar starts again
    EXPECT_EQ(ProgressForm()->Window.State().position, 1);
    ProgressSetPosition(99);
    EXPECT_EQ(ProgressForm()->Window.State().position, 3);
    ProgressClose();
    ProgressClose();  // an extra close leaves the count at 0
    EXPECT_EQ(ProgressNesting(), 0);
}
