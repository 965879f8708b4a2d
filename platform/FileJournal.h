#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// The journal of one run's writes in one folder: a hidden file ".~<token>.journal" there, where
// the token is the run's own random one. It names the run's temporary files as they are made
// and, when a set of files is put in place, every rename of the set, so that a run killed
// meanwhile leaves what the next writer in the folder needs to finish or undo the set and to
// remove the temporaries.
//
// What a folder holds is outside input, journals included. A journal names entries of its own
// folder only, by bare names (no '/', no "." or ".."); every temporary and backup it names
// carries its token, and is the name TemporaryName gives for the target it stands for; every
// target is of a kind a set of files holds (.shp, .shx, .dbf, .tpi, .map, .cc), and a removed one
// shares its stem with a file the set puts in place. A journal that breaks any rule is never acted
// on, and no file is removed because its name merely looks like a temporary's.
namespace platform {

// One file of a set being put in place.
struct JournalRename {
    std::string temporary;  // the new file; empty when the target is removed
    std::string target;
    std::string backup;  // a link to the target's old file while the set is put in place; empty
                         // when there is no old file or no need to keep it
    int member = 0;      // the entries of one member are put in place or undone together
};

// What a journal asks for.
struct Journal {
    std::vector<std::string> temporaries;  // made by the run, maybe still there
    std::vector<JournalRename> renames;    // the set being put in place; empty when none
    std::set<int> undone;                  // members of that set being undone
    bool done = false;                     // the set is in place
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
// name with a dot before it and the token and serial number before its extension, shortened to
// the longest name a folder takes.
std::string TemporaryName(std::string_view target, std::string_view token, unsigned long serial);

// The records of a journal, written one after another as the run goes.
std::string JournalHeader(std::string_view token);
std::string TemporaryRecord(std::string_view temporary);
std::string RenamesRecord(const std::vector<JournalRename>& renames);
std::string UndoRecord(int member);
std::string DoneRecord();

// The journal of that token read from its text and checked against every rule; nothing when it
// breaks one (cut short, too large, not a journal, names outside its rules).
std::optional<Journal> ParseJournal(std::string_view text, std::string_view token);

// The renames of a set inside a folder (a descriptor). PlaceEntry keeps the old file as the
// backup, then puts the temporary in the target's place (or removes the target); 0 or errno.
// UndoEntry brings the old file back (or removes the new one where there was none); false when
// that fails.
int PlaceEntry(int folder, const JournalRename& entry);
bool UndoEntry(int folder, const JournalRename& entry);

// Finishes what a dead run's journal asks for in the folder: the set it was putting in place is
// put in place, or the members being undone are undone (also a member that cannot be put in
// place, noted first in the journal `journalFd`), the backups and temporaries it names are
// removed and the folder is flushed. False when something could not be done; the journal then
// stays.
bool ReplayJournal(int folder, int journalFd, const Journal& journal);

// Says something about the files of a folder to the person running the program.
void FileNotice(std::string_view text);

}  // namespace platform
