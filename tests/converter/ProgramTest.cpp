// The program itself, run as a user runs it, next to the fake library, next to none, and with
// the library found in the current folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "ConverterFixture.h"

namespace {

struct ProgramRun {
    int status = -1;
    std::string output;  // stdout and stderr
};

// Runs `program` with `arguments` (already quoted for the shell) in `folder`, without input; a
// program that waits gets killed after 30 seconds and fails the test.
ProgramRun RunProgram(const std::string& program, const std::string& folder,
                      const std::string& arguments) {
    const std::string command =
        "cd '" + folder + "' && timeout 30 '" + program + "' " + arguments + " </dev/null 2>&1";
    ProgramRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

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
