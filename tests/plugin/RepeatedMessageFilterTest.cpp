#include "plugin/RepeatedMessageFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsFixture.h"

namespace {

using RepeatedMessageFilterTest = SettingsTest;

TEST_F(RepeatedMessageFilterTest, BoxesOfTheTextAreShownOncePerScope) {
    platform::HeadlessUi* const installed = boxes;
    platform::HeadlessForms* const forms = ui;
    {
        RepeatedMessageFilter once("A");
        EXPECT_EQ(platform::MessageBox(0, "A", "", platform::MB_OK), platform::IDOK);
        EXPECT_EQ(platform::MessageBox(0, "B", "", platform::MB_OK), platform::IDOK);
        // Unseen, a repeat gets the default button of its own style.
        EXPECT_EQ(platform::MessageBox(0, "A", "", platform::MB_YESNO | platform::MB_DEFBUTTON2),
                  platform::IDNO);
        EXPECT_EQ(platform::MessageBox(0, "B", "", platform::MB_OK), platform::IDOK);
        EXPECT_EQ(once.Requests(), 2);
        EXPECT_EQ(platform::FormService::Headless(), forms);
    }
    EXPECT_EQ(platform::UiService::Headless(), installed);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"A", "B", "B"}));
    // Outside the scope every box is shown again.
    platform::MessageBox(0, "A", "", platform::MB_OK);
    EXPECT_EQ(Messages().size(), 4u);
}

}  // namespace
