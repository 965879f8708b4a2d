#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// Writes that lose nothing. A file that replaces another is written in full to a temporary file
// beside its target and put in place by a rename only when it is complete, so a failed or
// interrupted write leaves the old file whole. The target's permissions are kept; a read-only
// target is not replaced (access denied); a link is followed and its target replaced.
//
// Files that belong together (a shapefile's .shp, .shx and .dbf; a MAP file and its link table)
// are written inside one FileSet: the finished temporaries wait in the set and are put in place
// together by Commit, after all of them are complete. Commit first writes a journal beside them,
// so a run killed while the files are put in place leaves a set that the next run in that folder
// finishes (the journal is written through to the disk before the first rename; the files
// themselves are not, which would make every layer wait for the disk). That run also removes
// temporary files a killed run left behind. Temporaries are
// named ".<name>.~<process>-<tag><extension>" and journals ".~<process>-<tag>.journal"; those of
// a process that still runs are left alone.
namespace platform {

// One file being written as the replacement of its target.
class ReplacementFile {
  public:
    ReplacementFile() = default;
    // Abandons a file not finished.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Creates the temporary file for the target of that system name; 0 or the Windows error
    // number: access denied for a read-only target, a folder or a device in its place, or a
    // folder that cannot be written; path not found for a missing folder.
    std::int32_t Create(std::string_view name);
    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }
    // The operating system's names of the file to be replaced and of the temporary file.
    const std::string& Target() const { return target_; }
    const std::string& Temporary() const { return temporary_; }

    // Closes the file; then hands it to the current file set, or, when there is none, puts it in
    // place. 0 or the error number; after an error the
    // temporary file is gone, the target is as it was and the current set has failed.
    std::int32_t Finish();
    // Removes the temporary file; the target stays as it was.
    void Abandon();

  private:
    int fd_ = -1;
    std::string name_;  // the target as named, before links were followed
    std::string target_;
    std::string temporary_;
};

// The files of one operation, put in place together. Sets nest: a set opened while another is
// open on the thread is part of that one, and the outermost set's Commit puts them all in place.
//
// A set of sets (Kind::Sets) gathers many operations, each of them all or nothing on its own:
// every set opened directly inside it is a member whose Commit fails or keeps only the member's
// files; the files of the members that succeeded wait in the set of sets and are put in place
// with one journal for a group of members (every kMembersPerJournal members, and at its Commit),
// so that many small sets (the layers of one export) do not each write and sync a journal.
class FileSet {
  public:
    enum class Kind { Files, Sets };
    static constexpr int kMembersPerJournal = 256;

    explicit FileSet(Kind kind = Kind::Files);
    // A set not committed removes its temporary files; every target stays as it was.
    ~FileSet();
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    // Marks the set as failed (the first error is kept): Commit will put nothing in place.
    void Fail(std::int32_t error);
    std::int32_t Error() const;

    // Puts every file of the set in place: 0, or the error number when the set failed (nothing
    // was put in place) or a rename failed (the journal left behind finishes the set on the next
    // run in that folder). A set inside another returns the error so far; the outer one commits.
    // A member of a set of sets hands its files on to that set and returns 0, or the error that
    // failed it (its files are dropped).
    std::int32_t Commit();
    // Of a set of sets: true when the member file of that name (an operating-system name, the
    // target's or the one asked for) could not be put in place by a Commit so far.
    bool Unplaced(std::string_view osName) const;

    // The outermost set open on this thread, or nullptr.
    static FileSet* Current();

    // Removes the file of that system name when the set is put in place (an older companion that
    // the new set no longer has); nothing happens to it when the set fails.
    void Remove(std::string_view name);

    // Used by the writers. Takes a finished temporary file for its target (operating-system
    // names); `alias` is the name the target was asked for when a link led elsewhere. A file the
    // set held for the same target before is removed.
    void Adopt(std::string temporary, std::string target, std::string alias);
    // The temporary file held for that operating-system name, or nullptr.
    const std::string* Held(std::string_view osName) const;
    // True when the operating-system name is one of the set's temporary files.
    bool HoldsTemporary(std::string_view osName) const;

  private:
    struct Entry {
        std::string temporary;
        std::string target;
        std::string alias;
    };
    void Discard();
    // Keeps the entry, in place of one for the same target (whose temporary file goes).
    void Hold(Entry entry);
    // Renames the entries into place behind a journal; 0 or the error, the entries left over
    // (not in place) noted in unplaced_.
    std::int32_t PutInPlace();

    Kind kind_ = Kind::Files;
    FileSet* outer_ = nullptr;   // the outermost set or member, when this one is inside it
    FileSet* parent_ = nullptr;  // the set of sets, when this one is a member of it
    std::vector<Entry> entries_;
    // The entries by target and by the name asked for (the first entry of a name), so that a
    // set of sets holding thousands of files finds one at once.
    std::unordered_map<std::string, std::size_t> byName_;
    std::vector<std::string> unplaced_;  // set of sets: targets a Commit failed to put in place
    int members_ = 0;                    // set of sets: members whose files wait
    std::int32_t error_ = 0;
    bool done_ = false;
};

// Finishes the file sets a killed run left in the folder (an operating-system name) and removes
// its stray temporary files; once per folder in a process.
void TidyFolder(const std::string& osFolder);

// For tests: every replacement whose target's name ends in `suffix` (compared without regard to
// case) fails with `error` when it is finished, as a full disk would make it fail. An empty
// suffix ends this.
void FailReplacementsForTest(std::string_view suffix, std::int32_t error);
// For tests: the process ends at once, as if it were killed, when the next set with a journal
// has put that many of its files in place (0 ends this).
void EndProcessInCommitForTest(int filesInPlace);

}  // namespace platform
