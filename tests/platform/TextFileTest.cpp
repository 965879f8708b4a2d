#include "platform/TextFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/OsError.h"
#include "tests/platform/TempFolder.h"

using namespace platform;

namespace {

std::vector<std::string> ReadAll(const std::string& path) {
    TextFileReader reader;
    EXPECT_EQ(reader.Open(path), 0);
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line)) lines.push_back(line);
    EXPECT_EQ(reader.Error(), 0);
    EXPECT_EQ(reader.Close(), 0);
    return lines;
}

}  // namespace

TEST(TextFileReader, EveryLineEndCountsAndLongLinesAreCut) {
    TempFolder dir;
    const std::string bytes =
        std::string("a\r\nb\nc\rd\r\r\n") + std::string(1000, 'x') + "\ny" + std::string("\0z", 2);
    TempFolder::WriteBytes(dir / "f.txt", bytes);
    const auto lines = ReadAll(dir / "f.txt");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[2], "c");
    EXPECT_EQ(lines[3], "d");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], std::string(255, 'x'));
    EXPECT_EQ(lines[6], std::string("y\0z", 3));  // NUL bytes are kept, the last line needs no end
}

TEST(TextFileReader, LineEndSplitAcrossTheBuffer) {
    TempFolder dir;
    TempFolder::WriteBytes(dir / "f.txt", std::string(64 * 1024 - 1, 'a') + "\r\nb\r\n");
    const auto lines = ReadAll(dir / "f.txt");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], "b");
}

// Bounds for input that may never end: the reading stops at them and says which one it met.
TEST(TextFileReader, LimitsStopTheReading) {
    TempFolder dir;
    const std::string bytes = "ab\r\ncd\r\n" + std::string(3000, 'x') + "\r\nend";
    TempFolder::WriteBytes(dir / "f.txt", bytes);
    using Limit = TextFileReader::Limit;
    const std::vector<std::string> all = {"ab", "cd", std::string(255, 'x'), "end"};
    const struct {
        std::uint64_t bytes, line;
        std::vector<std::string> lines;
        Limit limit;
    } cases[] = {
        {UINT64_MAX, UINT64_MAX, all, Limit::None},
        {bytes.size(), UINT64_MAX, all, Limit::None},  // nothing lies beyond the bound
        {6, UINT64_MAX, {"ab"}, Limit::Bytes},         // a line cut by the bound is dropped
        {bytes.size() - 1, 3000, {"ab", "cd", std::string(255, 'x')}, Limit::Bytes},
        {UINT64_MAX, 2999, {"ab", "cd"}, Limit::Line},
    };
    for (const auto& c : cases) {
        TextFileReader reader;
        ASSERT_EQ(reader.Open(dir / "f.txt"), 0);
        reader.SetLimits(c.bytes, c.line);
        std::vector<std::string> lines;
        std::string_view line;
        while (reader.ReadLineView(line)) lines.emplace_back(line);
        EXPECT_EQ(lines, c.lines) << c.bytes << " " << c.line;
        EXPECT_EQ(reader.LimitReached(), c.limit) << c.bytes << " " << c.line;
        EXPECT_TRUE(reader.Eof());
    }
}

TEST(TextFileReader, EmptyFileAndOpenErrors) {
    TempFolder dir;
    TempFolder::WriteBytes(dir / "empty", "");
    EXPECT_TRUE(ReadAll(dir / "empty").empty());
    TextFileReader reader;
    EXPECT_EQ(reader.Open(dir / "missing"), kErrorFileNotFound);
    EXPECT_EQ(reader.Open(dir / "no/such/file"), kErrorPathNotFound);
    EXPECT_EQ(reader.Open(dir.Path()), kErrorAccessDenied);
    std::string line = "old";
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.Eof());
}

TEST(TextFileWriter, ReplacesTheTargetOnlyOnClose) {
    TempFolder dir;
    const std::string target = dir / "out.map";
    TempFolder::WriteBytes(target, "old");
    {
        TextFileWriter writer;
        ASSERT_EQ(writer.Create(target), 0);
        writer.WriteLine("new");
        EXPECT_EQ(TempFolder::ReadBytes(target), "old");
        EXPECT_EQ(writer.Close(), 0);
    }
    EXPECT_EQ(TempFolder::ReadBytes(target), "new\r\n");
    {
        TextFileWriter abandoned;
        ASSERT_EQ(abandoned.Create(target), 0);
        abandoned.WriteLine("lost");
    }
    EXPECT_EQ(TempFolder::ReadBytes(target), "new\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);  // no temporary file left behind
}

TEST(TextFileWriter, CreateErrors) {
    TempFolder dir;
    TextFileWriter writer;
    EXPECT_EQ(writer.Create(dir / "missing/out.map"), kErrorPathNotFound);
    EXPECT_EQ(writer.Create(dir.Path()), kErrorAccessDenied);
    EXPECT_EQ(writer.Create(""), kErrorPathNotFound);
}

TEST(TextFileWriter, FailedWriteKeepsTheOldFile) {
    TempFolder dir;
    const std::string target = dir / "out.map";
    TempFolder::WriteBytes(target, "old");
    // A file-size limit makes the writes fail the way a full disk does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    TextFileWriter writer;
    ASSERT_EQ(writer.Create(target), 0);
    for (int i = 0; i < 10000; ++i) writer.WriteLine("0123456789");
    const std::int32_t result = writer.Close();
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(result, kErrorDiskFull);
    EXPECT_EQ(TempFolder::ReadBytes(target), "old");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(OsError, MapsErrnoToWindowsNumbers) {
    EXPECT_EQ(OsErrorFromErrno(0), 0);
    EXPECT_EQ(OsErrorFromErrno(ENOENT), 2);
    EXPECT_EQ(OsErrorFromErrno(EACCES), 5);
    EXPECT_EQ(OsErrorFromErrno(ENOSPC), 112);
    EXPECT_EQ(OsErrorFromErrno(EBUSY), 32);
    EXPECT_EQ(OsErrorFromErrno(ENAMETOOLONG), 206);
}
