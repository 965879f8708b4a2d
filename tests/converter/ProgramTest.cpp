// The program itself, run as a user runs it, next to the fake library, next to none, and with
// the library found in the current folder.
#include <gtest/gtest.h>
#include <string>
#include <tuple>

#include "ConverterFixture.h"

namespace {

const std::string kFakeProgram = KESTREL_FAKE_BIN "/pontra";
const std::string kLonelyProgram = KESTREL_NOLIB_BIN "/pontra";

}  // namespace

using ProgramTest = ConverterTest;

TEST_F(ProgramTest, ABatchRunConvertsAndEndsWithoutAUser) {
    const ProgramRun run = RunProgram(kFakeProgram, scratch.Path(),
                                      "map=a.map cfg=b.ini 'shpdir=c:\\out' action=map2shp");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(Calls(),
              (Lines{"load", "new|1", "1|14|LoadMap|a.map", "1|19|SetBatchConfig|b.ini|c:\\out|0|0",
                     "1|12|ExportMap", "delete|1", "unload"}));
}

TEST_F(ProgramTest, WithoutParametersAndWithoutAWindowTheUsageEndsTheRun) {
    // Nobody could use a window that cannot be shown: no display, or none forced.
    for (const std::string env :
         {"env -u DISPLAY -u WAYLAND_DISPLAY", "env KESTREL_UI=headless DISPLAY=:0"}) {
        const ProgramRun run = RunInFolder(scratch.Path(), env + " '" + kFakeProgram + "'");
        EXPECT_EQ(run.status, 2) << env << run.output;
        EXPECT_NE(run.output.find("Kod wyjścia"), std::string::npos) << env << run.output;
    }
    EXPECT_EQ(Calls(), (Lines{"load", "unload", "load", "unload"}));
}

TEST_F(ProgramTest, ArgumentsComeInUtf8AndReachTheLibraryInWindows1250) {
    const ProgramRun run =
        RunProgram(kFakeProgram, scratch.Path(), "MAP=Łódź.map CFG=b SHPDIR=o ACTION=MAP2SHP");
    EXPECT_EQ(run.status, 0) << run.output;
    const Lines calls = Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[2], "1|14|LoadMap|" + platform::Utf8ToCp1250("Łódź.map"));

    // A name the code page cannot hold, or bytes that are no UTF-8, convert nothing.
    for (const std::string bad : {"MAP=日本.map", "\"MAP=$(printf '\\243.map')\""}) {
        const ProgramRun refused =
            RunProgram(kFakeProgram, scratch.Path(), bad + " CFG=b SHPDIR=o ACTION=MAP2SHP");
        EXPECT_EQ(refused.status, 2) << refused.output;
        EXPECT_NE(refused.output.find("Windows-1250"), std::string::npos) << refused.output;
    }
    EXPECT_EQ(Calls().size(), calls.size());
}

TEST_F(ProgramTest, WithoutTheLibraryTheProgramStartsAndReportsTheMissingObject) {
    const ProgramRun run =
        RunProgram(kLonelyProgram, scratch.Path(), "MAP=a.map CFG=b.ini SHPDIR=out ACTION=MAP2SHP");
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(kCreateError), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(KESTREL_NOLIB_BIN "/lib32/Kestrel.so"), std::string::npos)
        << run.output;
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ProgramTest, HelpGoesToStandardOutputAndAUsageErrorToStandardError) {
    // The stream not looked at goes nowhere.
    for (const auto& [arguments, dropped, status] :
         {std::tuple{"--help", "2", 0}, std::tuple{"-h", "2", 0}, std::tuple{"", "1", 2}}) {
        const ProgramRun run = RunInFolder(
            scratch.Path(), std::string("env KESTREL_UI=headless sh -c '\"$0\" ") + arguments +
                                " " + dropped + ">/dev/null' '" + kFakeProgram + "'");
        EXPECT_EQ(run.status, status) << arguments << run.output;
        EXPECT_NE(run.output.find("Kod wyjścia"), std::string::npos) << arguments << run.output;
    }
}

TEST_F(ProgramTest, AMisspeltActionIsNamedAndNotSaidMissing) {
    const ProgramRun run =
        RunProgram(kFakeProgram, scratch.Path(), "MAP=a.map CFG=b SHPDIR=o ACTION=MAP2SH");
    EXPECT_EQ(run.status, 2) << run.output;
    EXPECT_NE(run.output.find("Nieznana akcja (dozwolone MAP2SHP i SHP2MAP): MAP2SH\n"),
              std::string::npos);
    EXPECT_EQ(run.output.find("brak:"), std::string::npos) << run.output;
}

TEST_F(ProgramTest, TheLibraryIsAlsoFoundInTheCurrentFolder) {
    const std::string map = scratch.Path("a.map");
    const ProgramRun run = RunProgram(kLonelyProgram, KESTREL_FAKE_BIN,
                                      "'MAP=" + map + "' CFG=b SHP=c ACTION=shp2map");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(Calls(), (Lines{"load", "new|1", "1|1|OpenFile|c", "1|19|SetBatchConfig|b|0|0|0",
                              "1|11|SaveAsMap|" + map + "|0", "delete|1", "unload"}));
}
