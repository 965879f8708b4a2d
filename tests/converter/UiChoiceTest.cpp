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

struct StartCase {
    const char* env;
    int status;
    std::string said;
};

// The copy of the program beside no libraries has no window back end either; what it says is
// Polish and names the library it looked for.
TEST_F(WindowStartTest, WhatTheProgramSaysWhenTheWindowCannotStart) {
    const std::string library = KESTREL_NOLIB_BIN "/libplatform-qt.so";
    const StartCase cases[] = {
        {"KESTREL_UI=qt", 1, "Nie można pokazać okien: brak pliku " + library},
        {"-u KESTREL_UI DISPLAY=:0", 2, "brak pliku " + library + "; program działa bez okien"},
        // Headless, a command line without a conversion has nothing to do: the usage text.
        {"-u DISPLAY -u WAYLAND_DISPLAY KESTREL_UI=okno", 2,
         "Nieznana wartość KESTREL_UI (dozwolone qt i headless), wybór jak bez niej: okno"},
    };
    for (const StartCase& c : cases) {
        const ProgramRun run = RunInFolder(
            scratch.Path(), std::string("env ") + c.env + " '" KESTREL_NOLIB_BIN "/pontra'");
        EXPECT_EQ(run.status, c.status) << c.env << run.output;
        EXPECT_NE(run.output.find("pontra: " + c.said + "\n"), std::string::npos) << run.output;
    }
}

}  // namespace
