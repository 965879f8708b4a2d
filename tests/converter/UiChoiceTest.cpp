// Which user interface the converter runs with, and what it does when the window cannot start.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ConverterFixture.h"
#include "converter/UiChoice.h"

namespace {

struct ChoiceCase {
    std::vector<std::string> parameters;
    const char* forced;
    bool display;
    UiChoice expected;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) {
    *out << c.parameters.size() << " parameters, KESTREL_UI " << (c.forced ? c.forced : "unset")
         << (c.display ? ", a display" : ", no display");
}

class UiChoiceTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(UiChoiceTest, FollowsTheVariableThenTheBatchThenTheDisplay) {
    const ChoiceCase& c = GetParam();
    EXPECT_EQ(ChooseUi(c.parameters, c.forced, c.display), c.expected);
}

const std::vector<std::string> kBatch{"map=a.map", "cfg=b.ini", "shpdir=out", "action=map2shp"};
// Everything but the folder: no conversion runs, so a person gets the window.
const std::vector<std::string> kIncomplete{"map=a.map", "cfg=b.ini", "action=map2shp"};

INSTANTIATE_TEST_SUITE_P(Cases, UiChoiceTest,
                         ::testing::Values(ChoiceCase{{}, nullptr, true, UiChoice::Window},
                                           ChoiceCase{{}, nullptr, false, UiChoice::Headless},
                                           ChoiceCase{kBatch, nullptr, true, UiChoice::Headless},
                                           ChoiceCase{kIncomplete, nullptr, true, UiChoice::Window},
                                           ChoiceCase{kBatch, "qt", false, UiChoice::Window},
                                           ChoiceCase{{}, "headless", true, UiChoice::Headless},
                                           ChoiceCase{{}, "", false, UiChoice::Headless},
                                           ChoiceCase{{}, "nonsense", true, UiChoice::Window}));

using WindowStartTest = ConverterTest;

// The copy of the program beside no libraries has no window back end either.
TEST_F(WindowStartTest, AForcedWindowThatCannotStartIsAnError) {
    const ProgramRun run =
        RunInFolder(scratch.Path(), "env KESTREL_UI=qt '" KESTREL_NOLIB_BIN "/pontra'");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("cannot show windows"), std::string::npos) << run.output;
}

TEST_F(WindowStartTest, WithoutTheWindowBackEndTheProgramRunsHeadless) {
    const ProgramRun run =
        RunInFolder(scratch.Path(), "env -u KESTREL_UI DISPLAY=:0 '" KESTREL_NOLIB_BIN "/pontra'");
    EXPECT_NE(run.output.find("running without windows"), std::string::npos) << run.output;
    // Headless, a command line without a conversion has nothing to do: the usage text.
    EXPECT_EQ(run.status, 2) << run.output;
}

}  // namespace
