#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/FileCalls.h"

// Files that belong together (a shapefile's .shp, .shx and .dbf; a MAP file and its link table)
// are written inside one FileSet: the finished replacements (ReplacementFile.h) wait in the set
// and are put in place together by Commit, after all of them are complete, under the lock of
// their folders and behind a journal (FolderJournal.h), so a run killed while the files are put
// in place leaves a set that the next writer in that folder finishes or undoes, and two runs
// writing into one folder leave every set whole from one of them.
namespace platform {

class FolderJournal;

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

    // Puts every file of the set in place: 0, or the error number when the set failed or a
    // rename failed; then nothing was put in place. A set inside another returns the error so
    // far; the outer one commits. A member of a set of sets hands its files on to that set and
    // returns 0, or the error that failed it (its files are dropped).
    std::int32_t Commit();
    // Of a set of sets: true when the member file of that name (an operating-system name, the
    // target's or the one asked for) could not be put in place by a Commit so far.
    bool Unplaced(std::string_view osName) const;
    // Of a set of sets: true when such a member file's old file could not be given back, since
    // somebody changed a file of the member while it was put in place: it is left as it is.
    bool Unrestored(std::string_view osName) const;

    // The outermost set open on this thread, or nullptr.
    static FileSet* Current();

    // Removes the file of that system name when the set is put in place (an older companion that
    // the new set no longer has); nothing happens to it when the set fails. A link is removed
    // itself, never what it leads to.
    void Remove(std::string_view name);

    // Used by the writers. Takes a finished temporary file (a bare name in the folder of the
    // journal, with its identity) for its target (an operating-system name); `alias` is the name
    // the target was asked for when a link led elsewhere. A file the set held for the same target
    // before is removed.
    void Adopt(std::shared_ptr<FolderJournal> folder, std::string temporary, FileIdentity written,
               std::string target, std::string alias);
    // The temporary file held for that operating-system name, or nullptr.
    const std::string* Held(std::string_view osName) const;
    // True when the operating-system name is one of the set's temporary files.
    bool HoldsTemporary(std::string_view osName) const;
    // Opens the temporary file held for that operating-system name (or the temporary of that
    // name) with open(2)'s flags, through its folder and only while it is still the file the set
    // holds: the descriptor, or -1 with errno set; nothing when the set holds no such file.
    std::optional<int> OpenHeld(std::string_view osName, int flags) const;

  private:
    struct Entry {
        std::shared_ptr<FolderJournal> folder;
        std::string temporary;  // a bare name in the folder; empty when the target is removed
        std::string target;     // absolute operating-system names, "." and ".." resolved
        std::string alias;
        std::string held;  // the temporary's name
        FileIdentity written;
        int member = 0;
    };
    // The entry holding a temporary for that name, or nullptr.
    const Entry* Holding(std::string_view osName) const;
    void Discard();
    // Keeps the entry, in place of one for the same target (whose temporary file goes); Keep
    // first makes a file given to a set of sets directly a member of its own.
    void Hold(Entry entry);
    void Keep(Entry entry);
    // Puts the entries in place; 0 or the error, the files of the members that failed noted
    // in unplaced_.
    std::int32_t PutInPlace();

    Kind kind_ = Kind::Files;
    FileSet* outer_ = nullptr;   // the outermost set or member, when this one is inside it
    FileSet* parent_ = nullptr;  // the set of sets, when this one is a member of it
    std::vector<Entry> entries_;
    // The entries by target and by the name asked for (the first entry of a name), so that a
    // set of sets holding thousands of files finds one at once.
    std::unordered_map<std::string, std::size_t> byName_;
    std::vector<std::string> unplaced_;    // set of sets: targets a Commit failed to put in place
    std::vector<std::string> unrestored_;  // of those, the ones not given back their old files
    int members_ = 0;                      // set of sets: members whose files wait
    std::int32_t error_ = 0;
    bool done_ = false;
};

}  // namespace platform
