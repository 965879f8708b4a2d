#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileCalls.h"

// The journal of one run's writes in one folder: a hidden file ".~<token>.journal" there, where
// the token is the run's own random one. It names the run's temporary files as they are written
// and, when a set of files is put in place, every rename of the set, each with the identity of
// every file it touches as the run saw it (FileCalls.h): so that a run killed meanwhile leaves
// what the next writer in the folder needs to finish or undo the set and to remove the
// temporaries, and so that the next writer does so only where the folder still holds exactly what
// the dead run left.
//
// What a folder holds is outside input, journals included. A journal names entries of its own
// folder only, by bare names (no '/', no "." or ".."); every temporary and backup it names
// carries its token, and is the name TemporaryName gives for the target it stands for; a removed
// file is of a kind a set of files holds (.shp, .shx, .dbf, .tpi, .map, .cc) and shares its stem
// with a file the set puts in place. A journal that breaks any rule is never acted on. Recovery
// then acts on a file only while it still has the identity the journal gives it, its device and
// inode among them. What guards the person's files is where a journal comes from, not secrecy: a
// journal is read only when it belongs to the user running the program (FolderJournal.h), and a
// journal brought from anywhere else (an archive, a copy, another folder) cannot hold the device
// and inode numbers this folder's files were given when they were made. A change a person made
// after the run died always wins.
namespace platform {

// One file of a set being put in place.
struct JournalRename {
    std::string temporary;  // the new file; empty when the target is removed
    FileIdentity written;   // the new file as written and flushed
    std::string target;
    FileIdentity before;   // the target before the set (absent when there was none)
    std::string backup;    // the target's old file while the set is put in place; empty when
                           // there is no old file or no need to keep it
    int member = 0;        // the entries of one member are put in place or undone together
    bool renamed = false;  // the backup is the old file moved away, not a second link to it (a
                           // file system without links): the target is then absent meanwhile
};

// One set put in place.
struct JournalSet {
    std::vector<JournalRename> renames;
    std::set<int> undone;  // members being undone
    bool done = false;     // the set is in place
};

// A temporary file the run made: its identity once it was made (absent when the run died
// before it could note it).
struct JournalTemporary {
    std::string name;
    FileIdentity written;
};

// What a journal asks for.
struct Journal {
    std::vector<JournalTemporary> temporaries;
    std::vector<JournalSet> sets;
    std::string token;
    unsigned long lastSerial = 0;  // the highest serial number of the names it gives
};

// A journal of an earlier version of the program, which noted no identities: nothing in it can
// be acted on, but the person can be told what it names.
struct EarlierJournal {
    std::vector<std::string> files;   // the files its sets put in place or removed
    std::vector<std::string> hidden;  // its temporaries and backups
};

// A journal may be no larger.
constexpr std::size_t kJournalLimit = std::size_t{16} << 20;

// A new random token.
std::string NewJournalToken();
// The name of the journal of that token, and the token of a journal's name (empty when the name
// is no journal's).
std::string JournalName(std::string_view token);
std::string JournalTokenOf(std::string_view name);
// The name of a temporary file beside `target` (a bare name) carrying the token: the target's
// name with a dot before it and the token and serial number before its extension, shortened (on
// a character's boundary) to the longest name a folder takes.
std::string TemporaryName(std::string_view target, std::string_view token, unsigned long serial);

// The records of a journal, written one after another as the run goes.
std::string JournalHeader(std::string_view token);
std::string TemporaryRecord(const JournalTemporary& temporary);
std::string RenamesRecord(const std::vector<JournalRename>& renames);
// The backup of the rename at that place of the latest set changed (its name was taken, or the
// file system has no links); noted before that backup is made.
std::string BackupRecord(std::size_t index, const JournalRename& rename);
std::string UndoRecord(int member);
std::string DoneRecord();

// Appends a record to the journal open as `fd`, `size` bytes long so far, and with `sync` waits
// until it is on the disk. A record that cannot be written in full is cut off again, so that the
// journal stays readable; false with errno set when it was not written (or not flushed).
bool AppendRecord(int fd, off_t& size, std::string_view record, bool sync);

// The journal of that token read from its text and checked against every rule; nothing when it
// breaks one (cut short, too large, not a journal, names outside its rules). An empty journal, made
// by a run killed before it wrote anything, names nothing.
std::optional<Journal> ParseJournal(std::string_view text, std::string_view token);
// The same for a journal of an earlier version; nothing when it is none.
std::optional<EarlierJournal> ParseEarlierJournal(std::string_view text, std::string_view token);

// How a backup of a set's old file is made: a fresh name for it when the one planned is taken,
// and the note of the changed backup in the journal (on the disk before it is used).
struct BackupPlan {
    std::function<std::string(const JournalRename&)> freshName;
    std::function<bool(const JournalRename&)> note;
};

// The renames of a set inside a folder (a descriptor). PlaceEntry keeps the old file as the
// backup, under a name nothing else has, then puts the temporary in the target's place (or
// removes the target); 0 or errno. RestoreEntry brings the old file back in place of the run's
// new one (or removes the new one where there was none), only while the target is still the
// run's file and the backup still the old one; 0 or errno (ESTALE when either is another file).
int PlaceEntry(int folder, JournalRename& entry, const BackupPlan& plan);
int RestoreEntry(int folder, const JournalRename& entry);
// Removes the entry's backup when it is still the target's old file. Each of these is 0 when the
// file is gone (or was not there), ESTALE when another file has its name, or errno.
int DropBackup(int folder, const JournalRename& entry);
// Removes a file of the folder when it still has that identity.
int RemoveIfStill(int folder, const std::string& name, const FileIdentity& identity);
// Removes a file the run made (a temporary) while it is still that file, whatever it holds now.
int RemoveIfSame(int folder, const std::string& name, const FileIdentity& identity);

// What a recovery did and left, by the names of the folder's entries.
struct Recovery {
    bool complete = true;               // every step it took succeeded; otherwise the journal stays
    bool flushed = true;                // the folder's entries reached the disk afterwards
    std::vector<std::string> finished;  // targets a dead run's set put in place
    std::vector<std::string> undone;    // targets given their old files back
    std::vector<std::string> left;      // files left as they are: changed since, or unknown
    std::vector<std::string> hidden;    // the run's temporaries and backups still there
};

// Finishes what a dead run's journal (open as `journalFd`, `journalSize` bytes long, where an undo
// or a changed backup is noted first) asks for
// in the folder: per member of each set, the set is put in place when every file is still as the
// run left it, or undone when that is asked or the only way back, or else left entirely as it
// is; the temporaries and backups it names are removed while they are still the run's; a journal
// found in order is marked done; then the folder is flushed.
Recovery ReplayJournal(int folder, int journalFd, off_t journalSize, const Journal& journal);

// Says something about the files of a folder to the person running the program.
void FileNotice(std::string_view text);

}  // namespace platform
