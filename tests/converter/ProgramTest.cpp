// The program itself, run as a user runs it, next to the fake library, next to none, and with
// the library found in the current folder.
#include <gtest/gtest.h>
#include <string>

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

TEST_F(ProgramTest, WithoutParametersTheWindowShowsAndTheProgramEnds) {
    const ProgramRun run = RunProgram(kFakeProgram, scratch.Path(), "");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(Calls(), (Lines{"load", "unload"}));
}

TEST_F(ProgramTest, ArgumentsArePassedOnAsTheirBytes) {
    // "Łódź.map" in Windows-1250.
    const ProgramRun run = RunProgram(kFakeProgram, scratch.Path(),
                                      "\"MAP=$(printf '\\243\\363d\\237.map')\" CFG=b SHPDIR=o "
                                      "ACTION=MAP2SHP");
    EXPECT_EQ(run.status, 0) << run.output;
    const Lines calls = Calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls[2], "1|14|LoadMap|" + platform::Utf8ToCp1250("Łódź.map"));
}

TEST_F(ProgramTest, WithoutTheLibraryTheProgramStartsAndReportsTheMissingObject) {
    const ProgramRun run =
        RunProgram(kLonelyProgram, scratch.Path(), "MAP=a.map CFG=b.ini SHPDIR=out ACTION=MAP2SHP");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(kCreateError), std::string::npos) << run.output;
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ProgramTest, TheLibraryIsAlsoFoundInTheCurrentFolder) {
    const std::string map = scratch.Path("a.map");
    const ProgramRun run = RunProgram(kLonelyProgram, KESTREL_FAKE_BIN,
                                      "'MAP=" + map + "' CFG=b SHP=c ACTION=shp2map");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(Calls(), (Lines{"load", "new|1", "1|1|OpenFile|c", "1|19|SetBatchConfig|b|0|0|0",
                              "1|11|SaveAsMap|" + map + "|0", "delete|1", "unload"}));
}
