// Sets of files put in place together, their journals, and recovery after a run that died.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>
#include <random>

#include "FaultyCalls.h"
#include "SetFiles.h"
#include "TempFolder.h"
#include "TwoWriters.h"
#include "platform/BinaryFile.h"
#include "platform/FileJournal.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"

using namespace platform;

namespace {

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
    // A member one of whose files cannot take its place (a folder there) keeps its old files and
    // is told by name.
    TempFolder::WriteBytes(dir / "d.dbf", "old");
    {
        FileSet sets(FileSet::Kind::Sets);
        {
            FileSet d;
            ASSERT_TRUE(Replace(dir / "d.dbf", "new"));
            ASSERT_TRUE(Replace(dir / "d.shx", "new"));
            EXPECT_EQ(d.Commit(), 0);
        }
        std::filesystem::create_directory(dir / "d.shx");
        TempFolder::WriteBytes(dir / "d.shx/inside", "x");
        Snapshot before = Take(dir.Path());
        std::erase_if(before, [](const auto& entry) { return entry.first.starts_with('.'); });
        EXPECT_NE(sets.Commit(), 0);
        EXPECT_TRUE(sets.Unplaced(dir / "d.shx"));
        EXPECT_TRUE(sets.Unplaced(dir / "d.dbf"));
        EXPECT_FALSE(sets.Unplaced(dir / "a.shp"));
        EXPECT_EQ(Take(dir.Path()), before);
    }
}

// A rename that fails while a set is put in place: the run undoes what it put in place, and a
// run killed while it undoes that leaves the old set to the next run. A run killed while it puts
// the set in place: a run that only reads changes nothing, the next run writing there finishes
// the set. With the new file (a.tpi) last and first.
TEST(FileSet, AFailedOrInterruptedCommitLeavesTheSetWholeAndNothingForLaterRuns) {
    for (const std::vector<std::string>& names :
         {std::vector<std::string>{"a.shp", "a.shx", "a.dbf", "a.tpi"},
          std::vector<std::string>{"a.tpi", "a.shp", "a.shx"}}) {
        for (int step = 0; step < static_cast<int>(names.size()); ++step) {
            const std::string trial = names.front() + " " + std::to_string(step);
            TempFolder dir;
            for (const std::string& name : names)
                if (name != "a.tpi") TempFolder::WriteBytes(dir / name, "old");
            const Snapshot before = Take(dir.Path());
            Inject(Fault{Fault::Call::Rename, step});
            EXPECT_NE(WriteSet(dir.Path(), names, "new"), 0) << trial;
            ClearFault();
            EXPECT_EQ(Take(dir.Path()), before) << trial;
            if (step > 0) {
                // Killed at the first rename of the undo.
                Spawn([&] {
                    Inject(Fault{Fault::Call::Rename, step, Fault::Action::Fail, EIO, false, step + 1});
                    WriteSet(dir.Path(), names, "new");
                });
                ::wait(nullptr);
                ASSERT_EQ(WriteSet(dir.Path(), {"b.shp"}, "b"), 0);
                Snapshot now = Take(dir.Path());
                EXPECT_EQ(now["b.shp"], "b");
                now.erase("b.shp");
                EXPECT_EQ(now, before) << trial;
                std::filesystem::remove(dir / "b.shp");
            }

            EXPECT_EQ(ExitOf(Spawn([&] {
                          Inject(Fault{Fault::Call::Rename, step, Fault::Action::End});
                          WriteSet(dir.Path(), names, "new");
                      })),
                      0);
            const Snapshot left = Take(dir.Path());
            EXPECT_EQ(ExitOf(Spawn([&] {
                          BinaryFile in;
                          char c;
                          if (!in.Open(dir / "a.shp", BinaryFile::Mode::Read) ||
                              in.Read(&c, 1) != 1)
                              ::_exit(1);
                      })),
                      0);
            EXPECT_EQ(Take(dir.Path()), left) << trial;
            ASSERT_EQ(WriteSet(dir.Path(), {"b.shp"}, "b"), 0);
            for (const std::string& name : names)
                EXPECT_EQ(TempFolder::ReadBytes(dir / name), "new") << trial << name;
            EXPECT_EQ(dir.EntryCount(), names.size() + 1) << trial;
        }
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
                      Inject(Fault{Fault::Call::Rename, 1, Fault::Action::End});
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
            if (stop) Inject(Fault{Fault::Call::Rename, kLayers, Fault::Action::Stop});
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

