// Names at the operating system's boundary, replacements and file sets.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <random>

#include "TempFolder.h"
#include "TwoWriters.h"
#include "platform/BinaryFile.h"
#include "platform/Cp1250.h"
#include "platform/FileJournal.h"
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

// Writes the files (names in the folder) with the text in one set; the result of its Commit.
std::int32_t WriteSet(const std::string& folder, const std::vector<std::string>& names,
                      const std::string& text) {
    FileSet set;
    for (const std::string& name : names)
        if (!Replace(folder + "/" + name, text)) return -1;
    return set.Commit();
}

// Every entry of a folder with what it holds (where a link leads; the size and start of a large
// file).
using Snapshot = std::map<std::string, std::string>;
Snapshot Take(const std::string& folder) {
    Snapshot entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string& what = entries[entry.path().filename()];
        if (entry.is_symlink()) {
            what = "link to " + std::filesystem::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file() && entry.file_size() > (1u << 20)) {
            what = std::to_string(entry.file_size()) + " bytes";
        } else if (entry.is_regular_file()) {
            what = TempFolder::ReadBytes(entry.path());
        }
    }
    return entries;
}

// The name of the journal a run left in the folder.
std::string JournalIn(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (!JournalTokenOf(entry.path().filename().string()).empty())
            return entry.path().filename();
    return {};
}

void Substitute(const std::string& file, const std::string& from, const std::string& to) {
    std::string bytes = TempFolder::ReadBytes(file);
    for (std::size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at))
        bytes.replace(at, from.size(), to);
    TempFolder::WriteBytes(file, bytes);
}

// Makes every name the renames of a run's journal give to a.shx, and the temporary they name, one
// for `target`.
void Retarget(const std::string& folder, const std::string& journal, const std::string& target) {
    const std::string path = folder + "/" + journal;
    const std::string token = JournalTokenOf(journal);
    const std::string mark = ".a.~" + token + "-";
    std::string bytes = TempFolder::ReadBytes(path);
    const std::size_t renames = bytes.find(std::string("\0R", 2));
    for (std::size_t at = bytes.find(mark, renames); at != std::string::npos;
         at = bytes.find(mark, at + 1)) {
        const std::string name = bytes.substr(at, bytes.find('\0', at) - at);
        if (!name.ends_with(".shx")) continue;
        const std::string other =
            TemporaryName(target, token, std::stoul(name.substr(mark.size())));
        if (std::filesystem::exists(folder + "/" + name)) {
            std::filesystem::create_directories(
                std::filesystem::path(folder + "/" + other).parent_path());
            std::filesystem::rename(folder + "/" + name, folder + "/" + other);
        }
        bytes.replace(at, name.size(), other);
    }
    bytes.replace(bytes.find(std::string("\0a.shx\0", 7), renames), 7,
                  std::string(1, '\0') + target + '\0');
    TempFolder::WriteBytes(path, bytes);
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

// A rename that fails while a set is put in place: the run undoes what it put in place. A run
// killed there: a run that only reads changes nothing, the next run writing there finishes the
// set.
TEST(FileSet, AFailedOrInterruptedCommitLeavesTheSetWholeAndNothingForLaterRuns) {
    const std::vector<std::string> names = {"a.shp", "a.shx", "a.dbf", "a.tpi"};
    for (std::size_t step = 0; step < names.size(); ++step) {
        TempFolder dir;
        for (std::size_t i = 0; i + 1 < names.size(); ++i)
            TempFolder::WriteBytes(dir / names[i], "old");  // a.tpi is new
        const Snapshot before = Take(dir.Path());
        BreakCommitForTest(static_cast<int>(step), CommitBreak::Fail);
        EXPECT_NE(WriteSet(dir.Path(), names, "new"), 0) << step;
        EXPECT_EQ(Take(dir.Path()), before) << step;

        EXPECT_EQ(ExitOf(Spawn([&] {
                      BreakCommitForTest(static_cast<int>(step), CommitBreak::End);
                      WriteSet(dir.Path(), names, "new");
                  })),
                  0);
        const Snapshot left = Take(dir.Path());
        EXPECT_EQ(ExitOf(Spawn([&] {
                      BinaryFile in;
                      char c;
                      if (!in.Open(dir / "a.shp", BinaryFile::Mode::Read) || in.Read(&c, 1) != 1)
                          ::_exit(1);
                  })),
                  0);
        EXPECT_EQ(Take(dir.Path()), left) << step;
        ASSERT_EQ(WriteSet(dir.Path(), {"b.shp"}, "b"), 0);
        for (const std::string& name : names)
            EXPECT_EQ(TempFolder::ReadBytes(dir / name), "new") << step << name;
        EXPECT_EQ(dir.EntryCount(), names.size() + 1) << step;
    }
}

// A journal that breaks a rule is said once by name and left as it is, with everything it names,
// in the folder and outside it; so are files that merely look like a run's. The run does its own
// work.
TEST(FileSet, AJournalThatBreaksARuleIsLeftAloneAndTheRunDoesItsOwnWork) {
    using Spoil = std::function<void(const std::string& folder, const std::string& outside,
                                     const std::string& journal)>;
    const std::vector<std::pair<std::string, Spoil>> cases = {
        {"absolute path",
         [&](auto& folder, auto& outside, auto& journal) {
             Retarget(folder, journal, outside + "/victim.shx");
         }},
        {"..",
         [&](auto& folder, auto& outside, auto& journal) {
             Retarget(folder, journal,
                      "../" + std::filesystem::path(outside).filename().string() + "/victim.shx");
         }},
        {"a file of a kind no set writes",
         [&](auto& folder, auto&, auto& journal) { Retarget(folder, journal, "notes.txt"); }},
        {"a target its temporary was not made for",
         [&](auto& folder, auto&, auto& journal) {
             Substitute(folder + "/" + journal, std::string("\0a.shx\0", 7),
                        std::string("\0notes.shp\0", 11));
         }},
        {"a temporary without the token",
         [&](auto& folder, auto&, auto& journal) {
             const std::string token = JournalTokenOf(journal);
             for (const auto& [name, bytes] : Take(folder)) {
                 if (!name.starts_with(".a.~") || name.find(token) == std::string::npos) continue;
                 std::string other = name;
                 other.replace(other.find(token), token.size(), "0123456789abcdef");
                 std::filesystem::rename(folder + "/" + name, folder + "/" + other);
                 Substitute(folder + "/" + journal, name, other);
             }
         }},
        {"link",
         [&](auto& folder, auto& outside, auto& journal) {
             std::filesystem::rename(folder + "/" + journal, outside + "/" + journal);
             std::filesystem::create_symlink(outside + "/" + journal, folder + "/" + journal);
         }},
        {"another owner",
         [&](auto& folder, auto&, auto& journal) {
             ASSERT_EQ(::chown((folder + "/" + journal).c_str(), 65534, 65534), 0);
         }},
        {"truncated",
         [&](auto& folder, auto&, auto& journal) {
             const std::string path = folder + "/" + journal;
             std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
         }},
        {"oversized",
         [&](auto& folder, auto&, auto& journal) {
             std::filesystem::resize_file(folder + "/" + journal, std::uintmax_t{1} << 30);
         }},
        {"binary",
         [&](auto& folder, auto&, auto& journal) {
             const std::string path = folder + "/" + journal;
             std::string noise(std::filesystem::file_size(path), '\0');
             std::mt19937 random(18);
             for (char& c : noise) c = static_cast<char>(random());
             TempFolder::WriteBytes(path, noise);
         }},
    };
    for (const auto& [what, spoil] : cases) {
        if (what == "another owner" && ::geteuid() != 0) continue;  // only root gives files away
        TempFolder dir;
        TempFolder outside;
        TempFolder::WriteBytes(outside / "victim.shx", "victim");
        for (const char* name : {"a.shp", "a.shx", "a.dbf"})
            TempFolder::WriteBytes(dir / name, "old");
        TempFolder::WriteBytes(dir / "notes.txt", "notes");
        TempFolder::WriteBytes(dir / "notes.shp", "notes");
        TempFolder::WriteBytes(dir / ".plan.~2024-backup.txt", "plan");
        TempFolder::WriteBytes(dir / ".~1999-backup.journal", "backup");
        ASSERT_EQ(ExitOf(Spawn([&] {
                      BreakCommitForTest(1, CommitBreak::End);
                      WriteSet(dir.Path(), {"a.shp", "a.shx", "a.dbf"}, "new");
                  })),
                  0);
        const std::string journal = JournalIn(dir.Path());
        ASSERT_FALSE(journal.empty()) << what;
        spoil(dir.Path(), outside.Path(), journal);
        const Snapshot in = Take(dir.Path());
        const Snapshot out = Take(outside.Path());

        ::testing::internal::CaptureStderr();
        EXPECT_EQ(WriteSet(dir.Path(), {"b.shp", "b.shx"}, "b"), 0) << what;
        EXPECT_EQ(WriteSet(dir.Path(), {"c.shp", "c.shx"}, "c"), 0) << what;
        const std::string said = ::testing::internal::GetCapturedStderr();
        Snapshot now = Take(dir.Path());
        for (const char* name : {"b.shp", "b.shx", "c.shp", "c.shx"}) {
            EXPECT_EQ(now[name], std::string(1, name[0])) << what;
            now.erase(name);
        }
        EXPECT_EQ(now, in) << what;
        EXPECT_EQ(Take(outside.Path()), out) << what;
        const std::string named = dir / journal;
        const std::size_t first = said.find(named);
        EXPECT_NE(first, std::string::npos) << what << said;
        EXPECT_EQ(said.find(named, first + 1), std::string::npos) << what << said;
    }
}

// Two runs putting the same layers in place in one folder: each layer's files all come from one
// of them. A run stopped half-way through putting its layers in place keeps the other waiting;
// runs started 0 to 50 ms apart leave whole layers too.
TEST(FileSet, TwoRunsWritingIntoOneFolderLeaveEverySetWholeFromOneOfThem) {
    constexpr int kLayers = 40;
    TempFolder dir;
    auto start = [&dir](bool first, bool stop) {
        return Spawn([&dir, first, stop] {
            if (stop) BreakCommitForTest(kLayers, CommitBreak::Stop);
            const std::string mark = first ? "A" : "B";
            FileSet sets(FileSet::Kind::Sets);
            for (int i = 0; i < kLayers; ++i) {
                // The runs go through the layers in opposite orders.
                const std::string layer = std::to_string(first ? i : kLayers - 1 - i);
                FileSet member;
                for (const char* ext : {".shp", ".shx", ".dbf"})
                    if (!Replace(dir / (layer + ext), mark + layer)) ::_exit(1);
                if (member.Commit() != 0) ::_exit(1);
            }
            ::_exit(sets.Commit() == 0 ? 0 : 1);
        });
    };
    auto empty = [&dir] {
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            std::filesystem::remove(entry.path());
    };
    auto expectWhole = [&dir](const std::string& trial) {
        for (int i = 0; i < kLayers; ++i) {
            const std::string layer = std::to_string(i);
            const std::string shp = TempFolder::ReadBytes(dir / (layer + ".shp"));
            EXPECT_TRUE(shp == "A" + layer || shp == "B" + layer) << trial << " " << shp;
            EXPECT_EQ(TempFolder::ReadBytes(dir / (layer + ".shx")), shp) << trial;
            EXPECT_EQ(TempFolder::ReadBytes(dir / (layer + ".dbf")), shp) << trial;
        }
        EXPECT_EQ(dir.EntryCount(), 3u * kLayers) << trial;
    };
    RaceTwoWriters(start, empty, expectWhole);
}

// A run whose files wait in a folder while another run puts its own in place there: the waiting
// files are not touched, and the first run puts them in place afterwards.
TEST(FileSet, ALiveRunsFilesAreLeftAloneByAnotherRun) {
    TempFolder dir;
    int ready[2];
    int go[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(go), 0);
    const pid_t live = Spawn([&] {
        FileSet set;
        char c = Replace(dir / "x.shp", "live") && Replace(dir / "x.shx", "live") ? 1 : 0;
        if (::write(ready[1], &c, 1) != 1 || ::read(go[0], &c, 1) != 1 || set.Commit() != 0)
            ::_exit(1);
    });
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 1);
    EXPECT_EQ(WriteSet(dir.Path(), {"y.shp", "y.shx"}, "other"), 0);
    ASSERT_EQ(::write(go[1], &c, 1), 1);
    EXPECT_EQ(ExitOf(live), 0);
    for (int fd : {ready[0], ready[1], go[0], go[1]}) ::close(fd);
    EXPECT_EQ(TempFolder::ReadBytes(dir / "x.shp"), "live");
    EXPECT_EQ(TempFolder::ReadBytes(dir / "x.shx"), "live");
    EXPECT_EQ(dir.EntryCount(), 4u);
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
        if (!FileExists(dir / ("f" + std::to_string(i) + ".dat"))) ++missed;
    }
    ::close(made[0]);
    EXPECT_EQ(ExitOf(maker), 0);
    EXPECT_EQ(missed, 0);
}
