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
#include "platform/FolderJournal.h"
#include "platform/ReplacementFile.h"

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

// The group runs twice: with temporaries made unnamed where the file system allows, and with
// named ones throughout, as on a file system without unnamed files.
class FileSets : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override { RefuseUnnamedFiles(GetParam()); }
    void TearDown() override { RefuseUnnamedFiles(false); }
};
INSTANTIATE_TEST_SUITE_P(Temporaries, FileSets, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Named" : "Unnamed";
                         });

TEST_P(FileSets, FilesTakeTheirPlacesTogetherOrNotAtAll) {
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

    // A file that cannot be written in full fails the whole set (when it is finished, or where
    // temporaries are named from the start, when it takes its place).
    Inject(FailFilesEndingIn(".DBF"));
    {
        FileSet set;
        ASSERT_TRUE(Replace(dir / "w.shp", "newer"));
        EXPECT_EQ(Replace(dir / "w.dbf", "newer"), GetParam());
        EXPECT_EQ(set.Commit(), kErrorDiskFull);
    }
    ClearFault();
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.shp"), "new");
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.dbf"), "old");
    EXPECT_EQ(dir.EntryCount(), 3u);

    // A file that cannot be looked at is not taken for one that is not there: the set fails.
    Inject(Fault{Fault::Call::Stat, 0, Fault::Action::Fail, EIO, true, -1,
                 [](const std::string& name) { return name == "w.shp"; }});
    EXPECT_NE(WriteSet(dir.Path(), {"w.shx", "w.shp"}, "newer"), 0);
    ClearFault();
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.shp"), "new");
    EXPECT_EQ(TempFolder::ReadBytes(dir / "w.shx"), "new");
    EXPECT_EQ(dir.EntryCount(), 3u);
}

// The members of a set of sets are all or nothing each on its own; their files wait in the set
// of sets (where later members find them) and are put in place a group at a time.
TEST_P(FileSets, MembersOfASetOfSetsStandOrFallEachOnTheirOwn) {
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
        {
            // A record of the journal cut short by a full disk is cut off again: the journal
            // reads on, with every record before it.
            FileSet b;
            const std::string journal = JournalIn(dir.Path());
            const std::optional<Journal> before =
                ParseJournal(TempFolder::ReadBytes(dir / journal), JournalTokenOf(journal));
            ASSERT_TRUE(before);
            Inject(Fault{Fault::Call::Write, 0, Fault::Action::Short, ENOSPC});
            EXPECT_FALSE(Replace(dir / "b.shx", "new"));
            ClearFault();
            b.Commit();
            const std::optional<Journal> after =
                ParseJournal(TempFolder::ReadBytes(dir / journal), JournalTokenOf(journal));
            ASSERT_TRUE(after);
            EXPECT_EQ(after->temporaries.size(), before->temporaries.size());
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
    std::filesystem::remove_all(dir / "d.shx");

    // A table whose rows are written after its header, as a layer's are: the journal knows the
    // grown file once the member is done, a member that fails leaves nothing, and so does a run
    // killed while it writes the rows.
    const auto table = [&](const std::string& name, bool fail) {
        FileSet member;
        if (!Replace(dir / name, "header")) return false;
        BinaryFile rows;
        if (!rows.Open(dir / name, BinaryFile::Mode::ReadWrite) || !rows.Seek(6) ||
            !rows.Write("rows", 4) || !rows.Close())
            return false;
        if (fail) member.Fail(kErrorDiskFull);
        return member.Commit() == 0;
    };
    {
        FileSet sets(FileSet::Kind::Sets);
        ASSERT_TRUE(table("e.dbf", false));
        const std::string journal = JournalIn(dir.Path());
        const std::optional<Journal> noted =
            ParseJournal(TempFolder::ReadBytes(dir / journal), JournalTokenOf(journal));
        ASSERT_TRUE(noted);
        const JournalTemporary& last = noted->temporaries.back();
        EXPECT_TRUE(Seen(dir / last.name).Matches(last.written));
        EXPECT_EQ(TempFolder::ReadBytes(dir / last.name), "headerrows");
        EXPECT_FALSE(table("f.dbf", true));
        for (const auto& [name, bytes] : Take(dir.Path()))
            EXPECT_FALSE(name.starts_with(".f.")) << name;
        EXPECT_EQ(sets.Commit(), 0);
    }
    EXPECT_EQ(TempFolder::ReadBytes(dir / "e.dbf"), "headerrows");
    EXPECT_FALSE(std::filesystem::exists(dir / "f.dbf"));
    const std::size_t entries = dir.EntryCount();
    ASSERT_EQ(ExitOf(Spawn([&] {
                  FileSet sets(FileSet::Kind::Sets);
                  table("g.dbf", false);
                  ::_exit(0);
              })),
              0);
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(WriteSet(dir.Path(), {"h.shp"}, "h"), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(dir.EntryCount(), entries + 1);
}

// A rename that fails while a set is put in place: the run undoes what it put in place, and a
// run killed while it undoes that leaves the old set to the next run. A run killed while it puts
// the set in place: a run that only reads changes nothing, the next run writing there finishes
// the set. With the new file (a.tpi) last and first.
TEST_P(FileSets, AFailedOrInterruptedCommitLeavesTheSetWholeAndNothingForLaterRuns) {
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
                    Inject(Fault{Fault::Call::Rename, step, Fault::Action::Fail, EIO, false,
                                 step + 1});
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
            EXPECT_EQ(
                ExitOf(Spawn([&] {
                    BinaryFile in;
                    char c;
                    if (!in.Open(dir / "a.shp", BinaryFile::Mode::Read) || in.Read(&c, 1) != 1)
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

// What somebody else does in the folder while a run puts a set in place (a file put under a name
// the run is about to use, a file of the set replaced) is left as they did it: a backup is only
// made under a name nothing has, and when a later file of the set fails, the run gives back only
// what is still its own, says which files it could not give back, and leaves its journal, which
// names the hidden files, for the person.
TEST_P(FileSets, TheUndoOfARunGivesBackOnlyWhatIsStillItsOwn) {
    // Somebody's file given a name in the folder meanwhile, through the calls the test does not
    // count.
    const auto put = [](const std::string& path, const std::string& bytes) {
        TempFolder::WriteBytes(path + ".put", bytes);
        std::filesystem::rename(path + ".put", path);
    };
    struct Case {
        std::string what;
        // Acts at a rename or a link of the commit (the n-th of its kind); true fails the call.
        std::function<bool(const std::string& folder, Fault::Call call, int n,
                           const std::string& name)>
            meddle;
        Snapshot expected;  // the visible files afterwards
        bool unrestored;
    };
    const Snapshot old = {{"a.shp", "old"}, {"a.shx", "old"}, {"a.dbf", "old"}};
    const Snapshot placed = {{"a.shp", "new"}, {"a.shx", "new"}, {"a.dbf", "new"}};
    const std::vector<Case> cases = {
        {"a file under the name of the first backup",
         [&](const std::string& folder, Fault::Call call, int n, const std::string& name) {
             if (call == Fault::Call::Link && n == 0) put(folder + "/" + name, "somebody's");
             return false;
         },
         placed, false},
        {"a file under the name of the first backup, then a failure",
         [&](const std::string& folder, Fault::Call call, int n, const std::string& name) {
             if (call == Fault::Call::Link && n == 0) put(folder + "/" + name, "somebody's");
             return call == Fault::Call::Rename && n == 2;
         },
         old, false},
        {"the first file of the set replaced, then a failure",
         [&](const std::string& folder, Fault::Call call, int n, const std::string&) {
             if (call != Fault::Call::Rename || n != 1) return false;
             put(folder + "/a.shp", "somebody's");
             return true;
         },
         {{"a.shp", "somebody's"}, {"a.shx", "old"}, {"a.dbf", "old"}},
         true},
        {"the backup of the first file replaced, then a failure",
         [&](const std::string& folder, Fault::Call call, int n, const std::string&) {
             if (call != Fault::Call::Rename || n != 1) return false;
             for (const auto& [name, bytes] : Take(folder))
                 if (name.starts_with(".a.~") && name.ends_with(".shp") && bytes == "old")
                     put(folder + "/" + name, "somebody's");
             return true;
         },
         {{"a.shp", "new"}, {"a.shx", "old"}, {"a.dbf", "old"}},
         true},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        for (const auto& [name, bytes] : old) TempFolder::WriteBytes(dir / name, bytes);
        std::int32_t result = 0;
        bool unrestored = false;
        ::testing::internal::CaptureStderr();
        {
            FileSet set;
            for (const char* name : {"a.shp", "a.shx", "a.dbf"})
                ASSERT_TRUE(Replace(dir / name, "new"));
            std::map<Fault::Call, int> seen;
            Inject(
                Meddling(Fault::Call::Place, EIO, [&](Fault::Call call, const std::string& name) {
                    return c.meddle(dir.Path(), call, seen[call]++, name);
                }));
            result = set.Commit();
            ClearFault();
            unrestored = set.Unrestored(dir / "a.shp");
        }
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(result == 0, c.expected == placed) << c.what;
        EXPECT_EQ(unrestored, c.unrestored) << c.what;
        Snapshot now = Take(dir.Path());
        Snapshot hidden = now;
        std::erase_if(now, [](const auto& entry) { return entry.first.starts_with('.'); });
        std::erase_if(hidden, [](const auto& entry) { return !entry.first.starts_with('.'); });
        EXPECT_EQ(now, c.expected) << c.what;
        // Somebody's file is still there, under its own name.
        const bool meddled = c.what.find("backup") != std::string::npos;
        EXPECT_EQ(std::count_if(hidden.begin(), hidden.end(),
                                [](const auto& entry) { return entry.second == "somebody's"; }),
                  meddled ? 1 : 0)
            << c.what;
        // The next run leaves everything as it is, and names what the person may delete.
        const Snapshot before = Take(dir.Path());
        ::testing::internal::CaptureStderr();
        ASSERT_EQ(WriteSet(dir.Path(), {"b.shp"}, "b"), 0) << c.what;
        const std::string said = ::testing::internal::GetCapturedStderr();
        Snapshot after = Take(dir.Path());
        after.erase("b.shp");
        EXPECT_EQ(after, before) << c.what;
        EXPECT_EQ(JournalIn(dir.Path()).empty(), !c.unrestored) << c.what;
        if (c.unrestored) {
            for (const auto& [name, bytes] : hidden) {
                if (JournalTokenOf(name).empty()) {
                    EXPECT_NE(said.find(name), std::string::npos) << c.what << said;
                }
            }
        }
    }
}

// The journal reaches the disk before anything it names is done: a rename record or an undo
// record that cannot be flushed keeps the set as it was, and the journal for the next run. A set
// whose folder cannot be flushed afterwards is in place but not known to be on the disk: the run
// says so and counts it, but only for a folder where it put something in place; so does a run
// that finishes a dead run's set. A record of recovery cut short is cut off again.
TEST_P(FileSets, WhatTheJournalSaysIsOnTheDiskFirst) {
    const std::vector<std::string> names = {"a.shp", "a.shx", "a.dbf"};
    struct Case {
        std::string what;
        // Decides, call by call while the set is put in place, which call fails.
        std::function<bool(Fault::Call call)> fails;
        bool placed;
        bool journalStays;
        bool told;  // the folder is named as not flushed
    };
    // The first call of a kind after the first of another.
    const auto after = [](Fault::Call first, Fault::Call then) {
        auto state = std::make_shared<int>(0);
        return [=](Fault::Call call) {
            if (*state == 1 && call == then) return ++*state == 2;
            if (*state == 0 && call == first) *state = 1;
            return false;
        };
    };
    const auto flush = [](Fault::Call call) {
        return call == Fault::Call::FileFlush || call == Fault::Call::FolderFlush;
    };
    const std::vector<Case> cases = {
        {"the rename record not flushed", after(Fault::Call::Write, Fault::Call::FileFlush), false,
         false, false},
        {"the undo record not flushed",
         [seen = std::make_shared<int>(0)](Fault::Call call) {
             if (call == Fault::Call::Rename) return ++*seen == 2;
             return *seen >= 2 && call == Fault::Call::FileFlush;
         },
         false, true, false},
        {"no flush at all", flush, false, false, false},
        {"the folder not flushed after the renames",
         after(Fault::Call::Rename, Fault::Call::FolderFlush), true, true, true},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        for (const std::string& name : names) TempFolder::WriteBytes(dir / name, "old");
        const int unconfirmed = UnconfirmedFlushes();
        std::int32_t result = 0;
        ::testing::internal::CaptureStderr();
        {
            FileSet set;
            for (const std::string& name : names) ASSERT_TRUE(Replace(dir / name, "new"));
            Inject(Meddling(Fault::Call::Any, EIO,
                            [&](Fault::Call call, const std::string&) { return c.fails(call); }));
            result = set.Commit();
            ClearFault();
        }
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(result == 0, c.placed) << c.what;
        for (const std::string& name : names)
            EXPECT_EQ(TempFolder::ReadBytes(dir / name), c.placed ? "new" : "old") << c.what;
        EXPECT_EQ(JournalIn(dir.Path()).empty(), !c.journalStays) << c.what;
        EXPECT_EQ(said.find(dir.Path()) != std::string::npos, c.told) << c.what << said;
        EXPECT_EQ(UnconfirmedFlushes(), unconfirmed + (c.told ? 1 : 0)) << c.what;
        // The next run finds everything in order and leaves nothing behind.
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(WriteSet(dir.Path(), {"b.shp"}, "b"), 0) << c.what;
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << c.what;
        EXPECT_EQ(dir.EntryCount(), names.size() + 1) << c.what;
    }

    // A dead run's set finished by a run whose folder flush then fails: told and counted, the
    // journal kept until a run sees the folder flushed. A record of recovery cut short by a full
    // disk (an undo, where the set cannot be finished) is cut off again.
    for (const bool cutShort : {false, true}) {
        TempFolder dir;
        for (const std::string& name : names) TempFolder::WriteBytes(dir / name, "old");
        ASSERT_EQ(ExitOf(Spawn([&] {
                      Inject(Fault{Fault::Call::Rename, 1, Fault::Action::End});
                      WriteSet(dir.Path(), names, "new");
                  })),
                  0);
        const int unconfirmed = UnconfirmedFlushes();
        ::testing::internal::CaptureStderr();
        bool renameFailed = false;
        Inject(Meddling(Fault::Call::Any, ENOSPC, [&](Fault::Call call, const std::string& name) {
            if (!cutShort) return call == Fault::Call::FolderFlush;
            if (call == Fault::Call::Rename && name.starts_with("a.")) {
                renameFailed = true;
                return true;
            }
            return renameFailed && call == Fault::Call::Write;
        }));
        WriteSet(dir.Path(), {"b.shp"}, "b");
        ClearFault();
        const std::string said = ::testing::internal::GetCapturedStderr();
        const std::string journal = JournalIn(dir.Path());
        ASSERT_FALSE(journal.empty()) << cutShort;
        EXPECT_TRUE(ParseJournal(TempFolder::ReadBytes(dir / journal), JournalTokenOf(journal)))
            << cutShort;
        EXPECT_EQ(UnconfirmedFlushes(), unconfirmed + (cutShort ? 0 : 1)) << said;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(WriteSet(dir.Path(), {"b.shp"}, "b"), 0);
        ::testing::internal::GetCapturedStderr();
        const std::string shp = TempFolder::ReadBytes(dir / "a.shp");
        for (const std::string& name : names)
            EXPECT_EQ(TempFolder::ReadBytes(dir / name), shp) << cutShort;
        EXPECT_EQ(dir.EntryCount(), names.size() + 1) << cutShort;
    }
}

// A journal that breaks a rule is said once by name and left as it is, with everything it names,
// in the folder and outside it; so are files that merely look like a run's. The run does its own
// work.
TEST_P(FileSets, AJournalThatBreaksARuleIsLeftAloneAndTheRunDoesItsOwnWork) {
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
        {"of an earlier version",
         [&](auto& folder, auto&, auto& journal) {
             // The same journal as that version wrote it, without identities.
             const std::string path = folder + "/" + journal;
             const std::string token = JournalTokenOf(journal);
             const std::optional<Journal> read = ParseJournal(TempFolder::ReadBytes(path), token);
             ASSERT_TRUE(read);
             std::string text = "KESTREL JOURNAL 2\n" + token + "\n";
             const auto field = [&](const std::string& value) { text += value + '\0'; };
             for (const JournalTemporary& temporary : read->temporaries) {
                 text += 'T';
                 field(temporary.name);
             }
             for (const JournalSet& set : read->sets) {
                 text += 'R';
                 field(std::to_string(set.renames.size()));
                 for (const JournalRename& rename : set.renames) {
                     field(std::to_string(rename.member));
                     field(rename.temporary);
                     field(rename.target);
                     field(rename.backup);
                 }
             }
             TempFolder::WriteBytes(path, text);
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
        // An earlier version's journal is told as such, with the files it names and the hidden
        // ones to delete with it.
        if (what == "of an earlier version") {
            EXPECT_NE(said.find("wcześniejsza wersja"), std::string::npos) << said;
            for (const auto& [name, bytes] : in) {
                if (name.starts_with(".a.") || name == "a.shx") {
                    EXPECT_NE(said.find(name), std::string::npos) << name << said;
                }
            }
        }
    }
}

// Two runs putting the same layers in place in one folder: each layer's files all come from one
// of them. A run stopped half-way through putting its layers in place keeps the other waiting;
// runs started 0 to 50 ms apart leave whole layers too.
TEST_P(FileSets, TwoRunsWritingIntoOneFolderLeaveEverySetWholeFromOneOfThem) {
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
TEST_P(FileSets, ALiveRunsFilesAreLeftAloneByAnotherRun) {
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

namespace {

constexpr std::string_view kPlanted = "0123456789abcdef";

std::string Made(const std::string& target, unsigned long serial) {
    return TemporaryName(target, kPlanted, serial);
}

// What somebody who did not write a file could know of it: all but its time to the nanosecond.
FileIdentity Guessed(const std::string& path) {
    FileIdentity identity = Seen(path);
    identity.nanoseconds = (identity.nanoseconds + 1) % 1'000'000'000;
    return identity;
}

// What a copy or an archive of the folder could tell of a file: all but the inode it was given
// here when it was made.
FileIdentity Copied(const std::string& path) {
    FileIdentity identity = Seen(path);
    identity.inode += 1;
    return identity;
}

// Puts a journal of the planted token with these records in the folder; its name.
std::string Plant(const std::string& folder, const std::string& records) {
    const std::string name = JournalName(kPlanted);
    TempFolder::WriteBytes(folder + "/" + name, JournalHeader(kPlanted) + records);
    return name;
}

// A run that writes its own files into the folder: they are there, nothing else changed, and the
// journal was named on standard error once.
void ExpectOnlyItsOwnWork(const std::string& folder, const std::string& journal,
                          const std::string& trial) {
    const Snapshot before = Take(folder);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(WriteSet(folder, {"own.shp", "own.shx"}, "own"), 0) << trial;
    EXPECT_EQ(WriteSet(folder, {"own.shp", "own.shx"}, "own"), 0) << trial;
    const std::string said = ::testing::internal::GetCapturedStderr();
    Snapshot now = Take(folder);
    for (const char* name : {"own.shp", "own.shx"}) {
        EXPECT_EQ(now[name], "own") << trial;
        now.erase(name);
    }
    EXPECT_EQ(now, before) << trial;
    const std::string named = folder + "/" + journal;
    const std::size_t first = said.find(named);
    EXPECT_NE(first, std::string::npos) << trial << said;
    EXPECT_EQ(said.find(named, first + 1), std::string::npos) << trial << said;
}

}  // namespace

// Journals planted in a folder in the very form a run writes, naming the folder's own files:
// nothing they name is touched, since only the run that wrote a file knows its identity.
TEST_P(FileSets, APlantedJournalCannotChangeAFileItDidNotWrite) {
    using Plan = std::function<std::string(const std::string& folder)>;
    const auto path = [](const std::string& folder, const std::string& name) {
        return folder + "/" + name;
    };
    const std::vector<std::pair<std::string, Plan>> cases = {
        {"undo entry: new files to go",
         [&](const std::string& f) {
             return RenamesRecord({{Made("victim.shp", 1),
                                    Guessed(path(f, "victim.shp")),
                                    "victim.shp",
                                    {},
                                    "",
                                    0},
                                   {Made("victim.dbf", 2),
                                    Guessed(path(f, "victim.dbf")),
                                    "victim.dbf",
                                    {},
                                    "",
                                    0}}) +
                    UndoRecord(0);
         }},
        {"removal entries beside a planted temporary",
         [&](const std::string& f) {
             TempFolder::WriteBytes(path(f, Made("notes.map", 1)), "planted");
             return RenamesRecord({{Made("notes.map", 1), Seen(path(f, Made("notes.map", 1))),
                                    "notes.map", Guessed(path(f, "notes.map")), "", 0},
                                   {"", {}, "notes.dbf", Guessed(path(f, "notes.dbf")), "", 0},
                                   {"", {}, "notes.cc", Guessed(path(f, "notes.cc")), "", 0}});
         }},
        {"missing temporaries",
         [&](const std::string& f) {
             return RenamesRecord(
                 {{Made("survey.map", 1), Guessed(path(f, "survey.map")), "survey.map", {}, "", 0},
                  {Made("survey.cc", 2), Guessed(path(f, "survey.map")), "survey.cc", {}, "", 0}});
         }},
        {"planted temporary and backup, undone",
         [&](const std::string& f) {
             TempFolder::WriteBytes(path(f, Made("notes.map", 1)), "planted");
             TempFolder::WriteBytes(path(f, Made("notes.map", 2)), "planted backup");
             return RenamesRecord(
                        {{Made("notes.map", 1), Seen(path(f, Made("notes.map", 1))), "notes.map",
                          Seen(path(f, Made("notes.map", 2))), Made("notes.map", 2), 0},
                         {"", {}, "notes.cc", Guessed(path(f, "notes.cc")), "", 0}}) +
                    UndoRecord(0);
         }},
        {"a set in place whose backup is a file it does not know",
         [&](const std::string& f) {
             TempFolder::WriteBytes(path(f, Made("victim.shp", 2)), "somebody's");
             return RenamesRecord(
                        {{Made("victim.shp", 1), Guessed(path(f, "victim.shp")), "victim.shp",
                          Guessed(path(f, Made("victim.shp", 2))), Made("victim.shp", 2), 0},
                         {Made("victim.dbf", 3),
                          Guessed(path(f, "victim.dbf")),
                          "victim.dbf",
                          {},
                          "",
                          0}}) +
                    DoneRecord();
         }},
        {"a temporary named as a copy of the folder would: all but its inode",
         [&](const std::string& f) {
             TempFolder::WriteBytes(path(f, Made("victim.shp", 3)), "victim.shp");
             return TemporaryRecord(
                 {Made("victim.shp", 3), Copied(path(f, Made("victim.shp", 3)))});
         }},
    };
    for (const auto& [what, plan] : cases) {
        TempFolder dir;
        for (const char* name :
             {"victim.shp", "victim.dbf", "survey.map", "notes.map", "notes.dbf", "notes.cc"})
            TempFolder::WriteBytes(dir / name, name);
        const std::string journal = Plant(dir.Path(), plan(dir.Path()));
        ExpectOnlyItsOwnWork(dir.Path(), journal, what);
    }

    // A real run's journal, linked in from the folder where it died.
    TempFolder elsewhere;
    TempFolder dir;
    for (const TempFolder* folder : {&elsewhere, &dir})
        for (const char* name : {"a.shp", "a.shx", "a.dbf"})
            TempFolder::WriteBytes(*folder / name, "old");
    ASSERT_EQ(ExitOf(Spawn([&] {
                  Inject(Fault{Fault::Call::Rename, 1, Fault::Action::End});
                  WriteSet(elsewhere.Path(), {"a.shp", "a.shx", "a.dbf"}, "new");
              })),
              0);
    const std::string journal = JournalIn(elsewhere.Path());
    ASSERT_EQ(::link((elsewhere / journal).c_str(), (dir / journal).c_str()), 0);
    ExpectOnlyItsOwnWork(dir.Path(), journal, "linked in");
}

// Journals a run could have left but for one thing no run writes, beside which the person's file
// is named with its true identity: that rule alone keeps the file.
TEST_P(FileSets, EachRuleOfAJournalAloneKeepsThePersonsFile) {
    using Break = std::function<std::string(const std::string& folder, JournalRename& placed)>;
    const std::vector<std::pair<std::string, Break>> cases = {
        {"the person's file as a temporary",
         [](const std::string& f, JournalRename&) {
             return RenamesRecord({{"notes.shp", Seen(f + "/notes.shp"), "a.dbf", {}, "", 0}});
         }},
        {"the person's file as a backup",
         [](const std::string& f, JournalRename& placed) {
             placed.before = Seen(f + "/notes.shp");
             placed.backup = "notes.shp";
             return std::string();
         }},
        {"the person's file removed with a set it does not belong to",
         [](const std::string& f, JournalRename&) {
             return RenamesRecord({{"", {}, "notes.shp", Seen(f + "/notes.shp"), "", 0}});
         }},
        {"the person's file as a temporary made",
         [](const std::string& f, JournalRename&) {
             return TemporaryRecord({"notes.shp", Seen(f + "/notes.shp")});
         }},
        {"the person's file of a kind no set holds removed with the set",
         [](const std::string& f, JournalRename&) {
             TempFolder::WriteBytes(f + "/a.txt", "the person's");
             const std::string made = Made("a.dbf", 9);
             TempFolder::WriteBytes(f + "/" + made, "new");
             return RenamesRecord({{made, Seen(f + "/" + made), "a.dbf", {}, "", 0},
                                   {"", {}, "a.txt", Seen(f + "/a.txt"), "", 0}});
         }},
        {"a temporary's time given with a whole second in its nanoseconds",
         [](const std::string& f, JournalRename&) {
             const std::string made = Made("a.dbf", 7);
             TempFolder::WriteBytes(f + "/" + made, "the person's");
             FileIdentity identity = Seen(f + "/" + made);
             identity.seconds -= 1;
             identity.nanoseconds += 1'000'000'000;
             return TemporaryRecord({made, identity});
         }},
    };
    for (const auto& [what, spoil] : cases) {
        TempFolder dir;
        TempFolder::WriteBytes(dir / "notes.shp", "the person's");
        // A set a dead run put in place whole, as its journal says.
        TempFolder::WriteBytes(dir / "a.shp", "new");
        TempFolder::WriteBytes(dir / "a.shx", "new");
        JournalRename placed{Made("a.shp", 1), Seen(dir / "a.shp"), "a.shp", {}, "", 0};
        const JournalRename other{Made("a.shx", 2), Seen(dir / "a.shx"), "a.shx", {}, "", 0};
        const std::string extra = spoil(dir.Path(), placed);
        std::string records = RenamesRecord({placed, other});
        // A second set, or a temporary of the first.
        records += extra.starts_with('T') ? extra : DoneRecord() + extra;
        const std::string journal = Plant(dir.Path(), records);
        ExpectOnlyItsOwnWork(dir.Path(), journal, what);
    }
}

// A run killed while it puts five layers in place, after which the person edits one layer in
// place, deletes another, replaces a file of the third, deletes a file of the fourth (the very
// file the run was replacing when it died there) and puts other files in the place of the
// backups of the fifth: at whichever rename it died, the next run in the folder leaves every file
// as the person left it, and a deleted file does not come back.
TEST_P(FileSets, AfterACrashThePersonsChangesWin) {
    const std::vector<std::string> layers = {"x", "y", "z", "w", "v"};
    const std::vector<std::string> kinds = {".shp", ".shx", ".dbf"};
    const int renames = static_cast<int>(layers.size() * kinds.size());
    for (int step = 0; step < renames; ++step) {
        TempFolder dir;
        for (const std::string& layer : layers)
            for (const std::string& kind : kinds)
                TempFolder::WriteBytes(dir / (layer + kind), "old");
        ASSERT_EQ(ExitOf(Spawn([&] {
                      Inject(Fault{Fault::Call::Rename, step, Fault::Action::End});
                      FileSet sets(FileSet::Kind::Sets);
                      for (const std::string& layer : layers) {
                          FileSet member;
                          for (const std::string& kind : kinds)
                              Replace(dir / (layer + kind), "new");
                          member.Commit();
                      }
                      sets.Commit();
                  })),
                  0);
        std::ofstream(dir / "x.dbf", std::ios::app) << " edited";
        for (const std::string& kind : kinds) std::filesystem::remove(dir / ("y" + kind));
        TempFolder::WriteBytes(dir / "mine", "mine");
        std::filesystem::rename(dir / "mine", dir / "z.shp");
        // Of w, the very file the run was replacing when it died, where it died in w.
        std::filesystem::remove(dir / ("w" + kinds[step % kinds.size()]));
        // Of v, its backups (the hidden links to its old files), where it died in v or after.
        bool backups = false;
        for (const auto& [name, bytes] : Take(dir.Path())) {
            if (!name.starts_with(".v.~") || bytes != "old") continue;
            TempFolder::WriteBytes(dir / "mine", "mine");
            std::filesystem::rename(dir / "mine", dir / name);
            backups = true;
        }
        // An untouched v is finished by the next run.
        const auto untouched = [&](Snapshot entries) {
            if (!backups)
                std::erase_if(entries, [](const auto& e) { return e.first.find("v.") < 2; });
            return entries;
        };
        const Snapshot changed = untouched(Take(dir.Path()));

        ::testing::internal::CaptureStderr();
        ASSERT_EQ(WriteSet(dir.Path(), {"own.shp"}, "own"), 0);
        ::testing::internal::GetCapturedStderr();
        Snapshot now = untouched(Take(dir.Path()));
        now.erase("own.shp");
        EXPECT_EQ(now, changed) << step;
    }
}

// Links as the kernel treats them: somebody else's link in a shared sticky folder is not
// followed; a stale member that is a link goes as a link; a member linked into another folder is
// finished there by the next run that writes there.
TEST_P(FileSets, LinksAreTreatedAsTheKernelTreatsThem) {
    TempFolder dir;
    TempFolder outside;
    TempFolder::WriteBytes(outside / "important.doc", "important");
    if (::geteuid() == 0) {  // only root gives a link away
        const std::string shared = dir / "shared";
        std::filesystem::create_directory(shared);
        ::chmod(shared.c_str(), 01777);
        std::filesystem::create_symlink(outside / "important.doc", shared + "/4000.shp");
        ASSERT_EQ(::lchown((shared + "/4000.shp").c_str(), 65534, 65534), 0);
        TextFileWriter out;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(out.Create(shared + "/4000.shp"), kErrorAccessDenied);
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("sticky"), std::string::npos);
        EXPECT_EQ(Take(outside.Path()), (Snapshot{{"important.doc", "important"}}));
        std::filesystem::remove_all(shared);
    }
    // A loop of links leads nowhere: refused, said why, and left as it is.
    std::filesystem::create_symlink("loop2.shp", dir / "loop1.shp");
    std::filesystem::create_symlink("loop1.shp", dir / "loop2.shp");
    {
        ::testing::internal::CaptureStderr();
        EXPECT_NE(WriteSet(dir.Path(), {"loop1.shp"}, "new"), 0);
        EXPECT_NE(::testing::internal::GetCapturedStderr().find("pętlę"), std::string::npos);
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "loop1.shp"));
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "loop2.shp"));
        std::filesystem::remove(dir / "loop1.shp");
        std::filesystem::remove(dir / "loop2.shp");
    }

    std::filesystem::create_symlink(outside / "important.doc", dir / "a.dbf");
    {
        FileSet set;
        ASSERT_TRUE(Replace(dir / "a.shp", "new"));
        set.Remove(dir / "a.dbf");
        ASSERT_EQ(set.Commit(), 0);
    }
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "a.dbf"));
    EXPECT_EQ(Take(outside.Path()), (Snapshot{{"important.doc", "important"}}));

    TempFolder::WriteBytes(outside / "index.bin", "old");
    std::filesystem::create_symlink(outside / "index.bin", dir / "a.shx");
    TempFolder::WriteBytes(dir / "a.dbf", "old");
    ASSERT_EQ(ExitOf(Spawn([&] {
                  Inject(Fault{Fault::Call::Rename, 1, Fault::Action::End});
                  WriteSet(dir.Path(), {"a.shp", "a.shx", "a.dbf"}, "newer");
              })),
              0);
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(WriteSet(dir.Path(), {"b.shp"}, "b"), 0);
    ASSERT_EQ(WriteSet(outside.Path(), {"b.bin"}, "b"), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr().find("pozostawiono"), std::string::npos);
    for (const std::string name : {"a.shp", "a.shx", "a.dbf"})
        EXPECT_EQ(TempFolder::ReadBytes(dir / name), "newer") << name;
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "a.shx"));
    EXPECT_EQ(dir.EntryCount(), 4u);
    EXPECT_EQ(outside.EntryCount(), 3u);
}

// A failure at each call a commit makes (an error, a write cut short, an exception thrown) or a
// run ended there: whatever journal is left can be read, the set is whole afterwards, old or new,
// and the next commit, in the same process or the next run, succeeds. Folders that cannot be
// flushed and links that cannot be made are no failure.
TEST_P(FileSets, AFailureAtEveryStepLeavesTheSetWholeAndTheNextCommitWorks) {
    const std::vector<std::string> names = {"a.shp", "a.shx", "a.dbf", "a.tpi"};
    auto prepare = [&](const TempFolder& dir) {
        for (std::size_t i = 0; i + 1 < names.size(); ++i)
            TempFolder::WriteBytes(dir / names[i], "old");
    };
    auto expectWhole = [&](const TempFolder& dir, const std::string& trial, bool killed) {
        const std::string journal = JournalIn(dir.Path());
        if (!journal.empty()) {
            EXPECT_TRUE(ParseJournal(TempFolder::ReadBytes(dir / journal), JournalTokenOf(journal)))
                << trial;
        }
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(WriteSet(dir.Path(), {"b.shp", "b.shx"}, "b"), 0) << trial;
        const std::string said = ::testing::internal::GetCapturedStderr();
        const std::string shp = TempFolder::ReadBytes(dir / "a.shp");
        EXPECT_TRUE(shp == "old" || shp == "new") << trial;
        for (const std::string& name : names) {
            if (name != "a.tpi" || shp == "new") {
                EXPECT_EQ(TempFolder::ReadBytes(dir / name), shp) << trial << name;
            }
        }
        Snapshot left = Take(dir.Path());
        std::erase_if(left, [](const auto& entry) { return !entry.first.starts_with('.'); });
        if (GetParam() && killed && !left.empty()) {
            // A named temporary made by a run killed before it could note which file it is
            // stays, empty, with the journal, both named for the person.
            EXPECT_EQ(left.size(), 2u) << trial;
            for (const auto& [name, bytes] : left) {
                EXPECT_NE(said.find(name), std::string::npos) << trial << said;
                if (JournalTokenOf(name).empty()) {
                    EXPECT_EQ(bytes, "") << trial;
                }
            }
        } else {
            EXPECT_TRUE(left.empty()) << trial << ::testing::PrintToString(left);
        }
        EXPECT_EQ(dir.EntryCount(),
                  (shp == "new" ? names.size() : names.size() - 1) + 2 + left.size())
            << trial;
    };
    auto count = [&](Fault::Call call) {
        TempFolder dir;
        prepare(dir);
        CountCalls(call);
        EXPECT_EQ(WriteSet(dir.Path(), names, "new"), 0);
        return ClearFault();
    };
    const int calls = count(Fault::Call::Any);
    const int renames = count(Fault::Call::Rename);
    for (const Fault::Action action :
         {Fault::Action::Fail, Fault::Action::Short, Fault::Action::Throw, Fault::Action::End}) {
        // An exception comes from the work between the calls: thrown at a rename.
        const bool thrown = action == Fault::Action::Throw;
        for (int at = 0; at < (thrown ? renames : calls); ++at) {
            const std::string trial =
                std::to_string(static_cast<int>(action)) + " at " + std::to_string(at);
            const Fault fault{thrown ? Fault::Call::Rename : Fault::Call::Any, at, action,
                              action == Fault::Action::Fail ? EIO : ENOSPC};
            TempFolder dir;
            prepare(dir);
            if (action == Fault::Action::End) {
                ASSERT_EQ(ExitOf(Spawn([&] {
                              Inject(fault);
                              WriteSet(dir.Path(), names, "new");
                          })),
                          0);
            } else {
                ::testing::internal::CaptureStderr();
                Inject(fault);
                try {
                    WriteSet(dir.Path(), names, "new");
                } catch (const std::bad_alloc&) {
                }
                ClearFault();
                ::testing::internal::GetCapturedStderr();
            }
            expectWhole(dir, trial, action == Fault::Action::End);
        }
    }

    // A journal that must stay for a later run (the folder's entries could not be flushed) takes
    // no more work, even while the process holds files in that folder: the next commit there
    // finishes with a journal of its own and tidies the kept one once the process lets it go.
    {
        TempFolder dir;
        prepare(dir);
        ReplacementFile waiting;
        ASSERT_EQ(waiting.Create(dir / "w.shp"), 0);
        Inject(Fault{Fault::Call::FolderFlush, 1});  // after the renames
        ::testing::internal::CaptureStderr();
        const int unconfirmed = UnconfirmedFlushes();
        EXPECT_EQ(WriteSet(dir.Path(), names, "new"), 0);
        EXPECT_EQ(UnconfirmedFlushes(), unconfirmed + 1);
        EXPECT_NE(::testing::internal::GetCapturedStderr().find(dir.Path()), std::string::npos);
        ClearFault();
        // Not marked done: the next run checks the set again.
        const std::string journal = JournalIn(dir.Path());
        const std::optional<Journal> kept =
            ParseJournal(TempFolder::ReadBytes(dir / journal), JournalTokenOf(journal));
        ASSERT_TRUE(kept && !kept->sets.empty());
        EXPECT_FALSE(kept->sets.back().done);
        EXPECT_EQ(WriteSet(dir.Path(), {"a.shp", "a.shx"}, "newer"), 0);
        waiting.Abandon();
        EXPECT_EQ(WriteSet(dir.Path(), {"b.shp"}, "b"), 0);
        EXPECT_EQ(Take(dir.Path()), (Snapshot{{"a.shp", "newer"},
                                              {"a.shx", "newer"},
                                              {"a.dbf", "new"},
                                              {"a.tpi", "new"},
                                              {"b.shp", "b"}}));
    }

    // Where a folder cannot be flushed, or an unnamed file cannot be linked (no /proc), or no
    // file linked at all, or files keep no modes, the run goes on without.
    for (const Fault& fault :
         {Fault{Fault::Call::FolderFlush, 0, Fault::Action::Fail, EINVAL, true},
          Fault{Fault::Call::Link, 0, Fault::Action::Fail, ENOENT, true},
          Fault{Fault::Call::Link, 0, Fault::Action::Fail, EPERM, true},
          Fault{Fault::Call::Chmod, 0, Fault::Action::Fail, ENOSYS, true},
          Fault{Fault::Call::Chmod, 0, Fault::Action::Fail, EOPNOTSUPP, true},
          Fault{Fault::Call::Chmod, 0, Fault::Action::Fail, EPERM, true}}) {
        TempFolder dir;
        prepare(dir);
        Inject(fault);
        EXPECT_EQ(WriteSet(dir.Path(), names, "new"), 0);
        EXPECT_EQ(WriteSet(dir.Path(), names, "new"), 0);
        ClearFault();
        EXPECT_EQ(dir.EntryCount(), names.size());
        expectWhole(dir, "going on without", false);
    }
}
