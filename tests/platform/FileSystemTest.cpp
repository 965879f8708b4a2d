// Names at the operating system's boundary, replacements and file sets.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TempFolder.h"
#include "platform/BinaryFile.h"
#include "platform/Cp1250.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

using namespace platform;

namespace {

std::string Cp(const std::string& utf8) {
    return Utf8ToCp1250(utf8);
}

bool Replace(const std::string& name, const std::string& text) {
    TextFileWriter out;
    if (out.Create(name) != 0) return false;
    out.Write(text);
    return out.Close() == 0;
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

TEST(FileSet, FilesTakeTheirPlacesTogetherOrNotAtAll) {
    TempFolder dir;
    for (const char* name : {"w.shp", "w.shx", "w.dbf", "w.cc"})
        TempFolder::WriteBytes(dir / name, "old");
    {
        FileSet set;
        ASSERT_TRUE(Replace(dir / "w.shp", "new"));
        ASSERT_TRUE(Replace(dir / "W.SHX", "new"));
        EXPECT_EQ(TempFolder::ReadBytes(dir / "w.shp"), "old");
        // The set's operation reads what it has written.
        BinaryFile in;
        ASSERT_TRUE(in.Open(dir / "w.shx", BinaryFile::Mode::Read));
        char text[3];
        EXPECT_EQ(in.Read(text, 3), 3u);
        EXPECT_EQ(std::string(text, 3), "new");
    }  // not committed: thrown away
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.shp"), "old");
    EXPECT_EQ(dir.EntryCount(), 4u);
    {
        FileSet set;
        ASSERT_TRUE(Replace(dir / "w.shp", "new"));
        FileSet inner;  // part of the outer set
        set.Fail(kErrorDiskFull);
        EXPECT_EQ(inner.Commit(), kErrorDiskFull);
        EXPECT_EQ(set.Commit(), kErrorDiskFull);
    }
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.shp"), "old");
    {
        FileSet set;
        ASSERT_TRUE(Replace(dir / "w.shp", "new"));
        ASSERT_TRUE(Replace(dir / "w.shx", "new"));
        set.Remove(dir / "w.cc");
        EXPECT_EQ(set.Commit(), 0);
    }
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.shp"), "new");
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.shx"), "new");
    EXPECT_FALSE(std::filesystem::exists(dir / "w.cc"));
    EXPECT_EQ(dir.EntryCount(), 3u);

    // A file that cannot be written in full fails the whole set.
    FailReplacementsForTest(".DBF", kErrorDiskFull);
    {
        FileSet set;
        ASSERT_TRUE(Replace(dir / "w.shp", "newer"));
        EXPECT_FALSE(Replace(dir / "w.dbf", "newer"));
        EXPECT_EQ(set.Commit(), kErrorDiskFull);
    }
    FailReplacementsForTest("", 0);
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.shp"), "new");
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.dbf"), "old");
    EXPECT_EQ(dir.EntryCount(), 3u);
}

// The members of a set of sets are all or nothing each on its own; their files wait in the set
// of sets (where later members find them) and are put in place a group at a time.
TEST(FileSet, MembersOfASetOfSetsStandOrFallEachOnTheirOwn) {
    TempFolder dir;
    for (const char* name : {"a.shp", "a.shx", "b.shp"}) TempFolder::WriteBytes(dir / name, "old");
    {
        FileSet sets(FileSet::Kind::Sets);
        {
            FileSet a;
            ASSERT_TRUE(Replace(dir / "a.shp", "new"));
            ASSERT_TRUE(Replace(dir / "a.shx", "new"));
            EXPECT_EQ(a.Commit(), 0);
        }
        {
            FileSet b;
            ASSERT_TRUE(Replace(dir / "b.shp", "new"));
            b.Fail(kErrorDiskFull);
            EXPECT_EQ(b.Commit(), kErrorDiskFull);
        }
        EXPECT_EQ(TempFolder::ReadBytes(dir / "a.shp"), "old");
        {
            FileSet c;
            BinaryFile in;
            ASSERT_TRUE(in.Open(dir / "a.shx", BinaryFile::Mode::Read));
            char text[3];
            EXPECT_EQ(in.Read(text, 3), 3u);
            EXPECT_EQ(std::string(text, 3), "new");
        }
        EXPECT_EQ(sets.Commit(), 0);
    }
    EXPECT_EQ(TempFolder::ReadBytes(dir / "a.shp"), "new");
    EXPECT_EQ(TempFolder::ReadBytes(dir / "a.shx"), "new");
    EXPECT_EQ(TempFolder::ReadBytes(dir / "b.shp"), "old");
    EXPECT_EQ(dir.EntryCount(), 3u);

    // A group is put in place as soon as it is complete.
    {
        FileSet sets(FileSet::Kind::Sets);
        for (int i = 0; i < FileSet::kMembersPerJournal; ++i) {
            FileSet member;
            ASSERT_TRUE(Replace(dir / ("m" + std::to_string(i)), "m"));
            ASSERT_EQ(member.Commit(), 0);
        }
        EXPECT_EQ(TempFolder::ReadBytes(dir / "m0"), "m");
    }
    // A file that cannot take its place is told by name.
    {
        FileSet sets(FileSet::Kind::Sets);
        {
            FileSet d;
            ASSERT_TRUE(Replace(dir / "d.shp", "new"));
            EXPECT_EQ(d.Commit(), 0);
        }
        std::filesystem::create_directory(dir / "d.shp");
        TempFolder::WriteBytes(dir / "d.shp/inside", "x");
        EXPECT_NE(sets.Commit(), 0);
        EXPECT_TRUE(sets.Unplaced(dir / "d.shp"));
        EXPECT_FALSE(sets.Unplaced(dir / "a.shp"));
    }
}

// A run killed while it writes, or while it puts a set in place: the next run in the folder
// removes what the first one left half done, or finishes the set it had begun to put in place.
TEST(FileSet, WhatAKilledRunLeftIsPutInOrderByTheNextRun) {
    TempFolder dir;
    for (const char* name : {"a.shp", "a.shx", "a.dbf", "b.shp"})
        TempFolder::WriteBytes(dir / name, "old");
    auto killedRun = [&](int filesInPlace, bool commit) {
        const pid_t child = ::fork();
        if (child == 0) {
            BreakCommitForTest(filesInPlace, true);
            FileSet set;
            for (const char* name : {"a.shp", "a.shx", "a.dbf"}) Replace(dir / name, "new");
            if (commit) set.Commit();
            ::_exit(0);  // killed before the set was put in place
        }
        int status = 0;
        ::waitpid(child, &status, 0);
    };
    killedRun(0, false);
    killedRun(2, true);
    EXPECT_EQ(TempFolder::ReadBytes(dir / "a.dbf"), "old");  // the second run's last file waits
    EXPECT_GT(dir.EntryCount(), 4u);

    // Touching the folder puts it in order: the second run's set is whole, the first's gone.
    BinaryFile in;
    ASSERT_TRUE(in.Open(dir / "b.shp", BinaryFile::Mode::Read));
    for (const char* name : {"a.shp", "a.shx", "a.dbf"})
        EXPECT_EQ(TempFolder::ReadBytes(dir / name), "new") << name;
    EXPECT_EQ(dir.EntryCount(), 4u);
}
