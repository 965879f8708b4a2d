#include "platform/BinaryFile.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <numeric>

using namespace platform;

namespace {

struct Folder {
    std::filesystem::path dir;
    Folder() {
        std::string p = (std::filesystem::temp_directory_path() / "kestrel-bin-XXXXXX").string();
        dir = ::mkdtemp(p.data());
    }
    ~Folder() { std::filesystem::remove_all(dir); }
    std::string Path(const char* name) const { return (dir / name).string(); }
};

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(BinaryFile, CreateAlwaysReplacesTheFileOnlyWhenClosed) {
    Folder f;
    const std::string name = f.Path("a.bin");
    std::ofstream(name) << "old";
    {
        BinaryFile out;
        ASSERT_TRUE(out.Open(name, BinaryFile::Mode::CreateAlways));
        EXPECT_TRUE(out.Write("new content", 11));
        EXPECT_EQ(Slurp(name), "old");
        // Not closed: the new content is thrown away with the temporary file.
    }
    EXPECT_EQ(Slurp(name), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir), {}), 1);
    BinaryFile out;
    ASSERT_TRUE(out.Open(name, BinaryFile::Mode::CreateAlways));
    std::vector<char> big(200000);
    std::iota(big.begin(), big.end(), 0);
    EXPECT_TRUE(out.Write("x", 1));
    EXPECT_TRUE(out.Write(big.data(), big.size()));
    EXPECT_EQ(out.Size(), 200001);
    EXPECT_TRUE(out.Close());
    const std::string written = Slurp(name);
    ASSERT_EQ(written.size(), 200001u);
    EXPECT_EQ(written[0], 'x');
    EXPECT_EQ(written[200000], big[199999]);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir), {}), 1);

    BinaryFile missingFolder;
    EXPECT_FALSE(missingFolder.Open(f.Path("none/a.bin"), BinaryFile::Mode::CreateAlways));
    EXPECT_EQ(missingFolder.LastError(), kErrorPathNotFound);
}

TEST(BinaryFile, BufferedReadsFollowSeeksAndStopAtTheEnd) {
    Folder f;
    const std::string name = f.Path("r.bin");
    {
        std::ofstream out(name, std::ios::binary);
        for (int i = 0; i < 100000; ++i) out.put(static_cast<char>(i % 251));
    }
    BinaryFile in;
    ASSERT_TRUE(in.Open(name, BinaryFile::Mode::Read));
    EXPECT_EQ(in.Size(), 100000);
    unsigned char b[4];
    ASSERT_EQ(in.Read(b, 4), 4u);
    EXPECT_EQ(b[3], 3);
    ASSERT_TRUE(in.Seek(90000));
    ASSERT_EQ(in.Read(b, 1), 1u);
    EXPECT_EQ(b[0], 90000 % 251);
    EXPECT_EQ(in.Tell(), 90001);
    EXPECT_EQ(in.Remaining(), 9999);
    ASSERT_TRUE(in.Seek(99998));
    EXPECT_EQ(in.Read(b, 4), 2u);
    EXPECT_EQ(in.Remaining(), 0);
    ASSERT_TRUE(in.Seek(200000));
    EXPECT_EQ(in.Read(b, 4), 0);
    EXPECT_FALSE(in.Seek(-1));
    EXPECT_FALSE(in.Write(b, 1));

    // Shared readers; an exclusive writer in place is kept out meanwhile.
    BinaryFile second;
    EXPECT_TRUE(second.Open(name, BinaryFile::Mode::Read));
    BinaryFile writer;
    EXPECT_FALSE(writer.Open(name, BinaryFile::Mode::ReadWrite));
    EXPECT_EQ(writer.LastError(), kErrorSharingViolation);

    BinaryFile missing;
    EXPECT_FALSE(missing.Open(f.Path("none.bin"), BinaryFile::Mode::Read));
    EXPECT_EQ(missing.LastError(), kErrorFileNotFound);
}

TEST(BinaryFile, CreateNewRefusesAnExistingFileAndCopyKeepsOrReplaces) {
    Folder f;
    std::ofstream(f.Path("a")) << "AAA";
    BinaryFile n;
    EXPECT_FALSE(n.Open(f.Path("a"), BinaryFile::Mode::CreateNew));
    EXPECT_EQ(n.LastError(), kErrorFileExists);
    std::ofstream(f.Path("b")) << "B";
    EXPECT_FALSE(CopyFile(f.Path("a"), f.Path("b"), true));
    EXPECT_EQ(LastOsError(), kErrorFileExists);
    EXPECT_EQ(Slurp(f.Path("b")), "B");
    EXPECT_TRUE(CopyFile(f.Path("a"), f.Path("b"), false));
    EXPECT_EQ(Slurp(f.Path("b")), "AAA");
    EXPECT_FALSE(CopyFile(f.Path("zzz"), f.Path("c"), false));
    EXPECT_FALSE(FileExists(f.Path("c")));
    EXPECT_TRUE(DeleteFile(f.Path("b")));
    EXPECT_FALSE(DeleteFile(f.Path("b")));
    EXPECT_EQ(LastOsError(), kErrorFileNotFound);
}

TEST(BinaryFile, ErrorNumbersAndExtensions) {
    EXPECT_EQ(OsErrorFromErrno(0), 0);
    EXPECT_EQ(OsErrorFromErrno(ENOENT), kErrorFileNotFound);
    EXPECT_EQ(OsErrorFromErrno(EACCES), kErrorAccessDenied);
    EXPECT_EQ(OsErrorFromErrno(ENOSPC), kErrorDiskFull);
    EXPECT_EQ(OsErrorFromErrno(EEXIST), kErrorFileExists);
    EXPECT_EQ(OsErrorFromErrno(EXDEV), kErrorGenFailure);
    EXPECT_EQ(ChangeFileExt("dir.v1/plik.shp", ".shx"), "dir.v1/plik.shx");
    EXPECT_EQ(ChangeFileExt("dir.v1/plik", ".dbf"), "dir.v1/plik.dbf");
    EXPECT_EQ(ChangeFileExt("a.b.c", ""), "a.b");
    EXPECT_EQ(ChangeFileExt("C:\\mapy.x\\w", ".tpi"), "C:\\mapy.x\\w.tpi");
}
