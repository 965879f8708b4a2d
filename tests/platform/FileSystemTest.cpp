// Names at the operating system's boundary and replacements of single files.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "SetFiles.h"
#include "TempFolder.h"
#include "TwoWriters.h"
#include "platform/BinaryFile.h"
#include "platform/Cp1250.h"
#include "platform/FileJournal.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

using namespace platform;

namespace {

std::string Cp(const std::string& utf8) {
    return Utf8ToCp1250(utf8);
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st.st_mode;
}

}  // namespace

TEST(FileSystem, NamesAreWindows1250InsideUtf8OnDiskAndFoundWhateverTheirCase) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "Wyniki ćwiczeń");
    TempFolder::WriteBytes(dir / "Wyniki ćwiczeń/LAB.SHP", "old");
    const std::string folder = Cp(dir.Path() + "/wyniki ĆWICZEŃ");

    EXPECT_TRUE(DirectoryExists(folder));
    EXPECT_TRUE(FileExists(folder + "/lab.shp"));
    EXPECT_EQ(OsName(folder + "/Lab.Shp"), dir / "Wyniki ćwiczeń/LAB.SHP");
    // A file that is there is replaced under its own name; a new one takes the name given.
    ASSERT_TRUE(Replace(folder + "/lab.shp", "new"));
    ASSERT_TRUE(Replace(folder + Cp("/Łąka.dbf"), "x"));
    EXPECT_EQ(TempFolder::ReadBytes(dir / "Wyniki ćwiczeń/LAB.SHP"), "new");
    EXPECT_TRUE(std::filesystem::exists(dir / "Wyniki ćwiczeń/Łąka.dbf"));
    // Renamed by someone else right after the system's own change to the folder: still found.
    std::filesystem::rename(dir / "Wyniki ćwiczeń/Łąka.dbf", dir / "Wyniki ćwiczeń/ŁĄKA.DBF");
    EXPECT_EQ(OsName(folder + Cp("/łąka.dbf")), dir / "Wyniki ćwiczeń/ŁĄKA.DBF");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "Wyniki ćwiczeń"), {}), 2);
    EXPECT_EQ(Utf8ToCp1250Exact(dir / "Wyniki ćwiczeń"), Cp(dir / "Wyniki ćwiczeń"));
    EXPECT_FALSE(Utf8ToCp1250Exact("日本"));

    EXPECT_TRUE(CreateDirectory(folder + Cp("/Żółw")));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Wyniki ćwiczeń/Żółw"));
    EXPECT_TRUE(SameFile(folder + "/LAB.shp", Cp(dir / "Wyniki ćwiczeń/LAB.SHP")));
    EXPECT_TRUE(SameFile(folder + "/nowy.map", folder + "/../" + Cp("Wyniki ćwiczeń/NOWY.MAP")));
    EXPECT_EQ(ExpandFileName("/a/./b/../c.shp"), "/a/c.shp");
    // A temporary file's name beside the longest name a folder takes: cut to fit, between
    // characters.
    std::string longest;
    while (longest.size() + 2 <= 251) longest += "ł";
    const std::string temporary = TemporaryName(longest + ".dbf", "0123456789abcdef", 17);
    EXPECT_LE(temporary.size(), 255u);
    EXPECT_TRUE(Utf8ToCp1250Exact(temporary)) << temporary;
    EXPECT_TRUE(temporary.ends_with(".~0123456789abcdef-17.dbf"));
}

TEST(FileSystem, AReplacementKeepsPermissionsFollowsLinksAndSparesReadOnlyFiles) {
    TempFolder dir;
    TempFolder::WriteBytes(dir / "a.dbf", "old");
    ::chmod((dir / "a.dbf").c_str(), 0640);
    ASSERT_TRUE(Replace(dir / "a.dbf", "new"));
    EXPECT_EQ(ModeOf(dir / "a.dbf") & 07777, 0640u);

    std::filesystem::create_directory(dir / "real");
    TempFolder::WriteBytes(dir / "real/t.shp", "old");
    std::filesystem::create_symlink("real/t.shp", dir / "link.shp");
    ASSERT_TRUE(Replace(dir / "link.shp", "new"));
    EXPECT_TRUE(S_ISLNK(ModeOf(dir / "link.shp")));
    EXPECT_EQ(TempFolder::ReadBytes(dir / "real/t.shp"), "new");

    // Read-only, even for its owner (and for root): refused, as Windows refuses it.
    TempFolder::WriteBytes(dir / "ro.shx", "old");
    ::chmod((dir / "ro.shx").c_str(), 0444);
    TextFileWriter out;
    EXPECT_EQ(out.Create(dir / "ro.shx"), kErrorAccessDenied);
    EXPECT_EQ(out.Create(dir / "real"), kErrorAccessDenied);
    EXPECT_EQ(out.Create(dir / "none/x.map"), kErrorPathNotFound);
    EXPECT_EQ(TempFolder::ReadBytes(dir / "ro.shx"), "old");
    EXPECT_EQ(dir.EntryCount(), 4u);  // no temporary file left
}

// Another process creates files while this one looks for them by other cases of their names and
// changes the folder itself (a replacement begun and given up): none is missed.
TEST(FileSystem, LookupsWhileAnotherProcessCreatesFilesMissNone) {
    TempFolder dir;
    TempFolder::WriteBytes(dir / "own.txt", "own");
    int made[2];
    ASSERT_EQ(::pipe(made), 0);
    const pid_t maker = Spawn([&] {
        for (int i = 0; i < 3000; ++i) {
            const int fd =
                ::open((dir / std::string("F").append(std::to_string(i)).append(".DAT")).c_str(),
                       O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
            if (fd < 0 || ::close(fd) != 0 || ::write(made[1], &i, sizeof i) != sizeof i)
                ::_exit(1);
        }
    });
    ::close(made[1]);
    int i = 0;
    int missed = 0;
    while (::read(made[0], &i, sizeof i) == sizeof i) {
        TextFileWriter own;
        own.Create(dir / "own.txt");
        own.Abandon();
        if (!FileExists(dir / std::string("f").append(std::to_string(i)).append(".dat"))) ++missed;
    }
    ::close(made[0]);
    EXPECT_EQ(ExitOf(maker), 0);
    EXPECT_EQ(missed, 0);
}
