#include "platform/FileJournal.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <map>
#include <unordered_map>

#include "platform/Cp1250.h"
#include "platform/IniNames.h"

namespace platform {
namespace {

// The first line of a journal: the format's name and its version. Version 3 lacks the kind of each
// backup and the changed-backup record; version 2 noted no identities.
constexpr std::string_view kMagic = "KESTREL JOURNAL ";
constexpr int kVersion = 4;
constexpr int kOldestReadable = 3;
constexpr int kEarlier = 2;
constexpr std::string_view kJournalPrefix = ".~";
constexpr std::string_view kJournalExtension = ".journal";
constexpr std::size_t kTokenLength = 16;
constexpr char kTemporary = 'T';
constexpr char kRenames = 'R';
constexpr char kBackup = 'B';
constexpr char kUndo = 'U';
constexpr std::string_view kLinked = "L";
constexpr std::string_view kMoved = "M";
constexpr char kDone = 'D';

bool IsTokenText(std::string_view text) {
    if (text.size() != kTokenLength) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// A name of an entry of the folder itself.
bool BareName(std::string_view name) {
    return !name.empty() && name.size() <= NAME_MAX && name != "." && name != ".." &&
           name.find('/') == std::string_view::npos;
}

// The serial number after the token's mark in a temporary's name; nothing when the mark is not
// there.
std::optional<unsigned long> SerialOf(std::string_view name, std::string_view token) {
    std::string mark = ".~";
    mark.append(token).push_back('-');
    const std::size_t at = name.rfind(mark);
    if (at == std::string_view::npos || at == 0 || name.front() != '.') return std::nullopt;
    std::size_t i = at + mark.size();
    const std::size_t first = i;
    unsigned long serial = 0;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9' && i - first < 18)
        serial = serial * 10 + static_cast<unsigned long>(name[i++] - '0');
    if (i == first || (name[first] == '0' && i - first > 1)) return std::nullopt;
    // What follows is the target's extension, if any.
    if (i < name.size() && name[i] != '.') return std::nullopt;
    return serial;
}

// A file of a kind that sets of files are made of: a layer's .shp, .shx, .dbf and style file; a
// MAP file with its link table and settings file.
bool SetKind(std::string_view name) {
    static constexpr std::string_view kKinds[] = {".shp", ".shx", ".dbf", ".tpi", ".map", ".cc"};
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot == 0) return false;
    for (std::string_view kind : kKinds)
        if (IniNamesEqual(name.substr(dot), kind)) return true;
    return false;
}

// A temporary or backup made for `target` by the run of the token.
bool MadeFor(std::string_view name, std::string_view target, std::string_view token) {
    const std::optional<unsigned long> serial = SerialOf(name, token);
    return serial && name == TemporaryName(target, token, *serial);
}

// The stem of a name (before its extension), folded for a comparison without regard to case.
std::string FoldedStem(std::string_view name) {
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return IniFoldName(Utf8ToCp1250(name));
}

void AppendField(std::string& record, std::string_view field) {
    record.append(field).push_back('\0');
}

// Reads the records of a journal one field at a time.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}
    bool AtEnd() const { return text_.empty(); }
    char Type() {
        const char c = text_.front();
        text_.remove_prefix(1);
        return c;
    }
    std::optional<std::string_view> Field() {
        const std::size_t end = text_.find('\0');
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view field = text_.substr(0, end);
        text_.remove_prefix(end + 1);
        return field;
    }
    std::optional<unsigned long> Number(unsigned long limit) {
        const std::optional<std::string_view> field = Field();
        if (!field || field->empty() || field->size() > 9 ||
            (field->size() > 1 && (*field)[0] == '0'))
            return std::nullopt;
        unsigned long n = 0;
        for (char c : *field) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + static_cast<unsigned long>(c - '0');
        }
        return n <= limit ? std::optional<unsigned long>(n) : std::nullopt;
    }
    std::optional<FileIdentity> Identity() {
        const std::optional<std::string_view> field = Field();
        FileIdentity identity;
        if (!field || !FileIdentity::FromText(*field, identity)) return std::nullopt;
        return identity;
    }

  private:
    std::string_view text_;
};

// The kind of a backup as a journal gives it: empty without a backup.
std::string_view KindText(const JournalRename& rename) {
    if (rename.backup.empty()) return {};
    return rename.renamed ? kMoved : kLinked;
}

// A backup that may stand in a rename: made for its target by the token's run, of an old file.
bool SoundBackup(const JournalRename& rename, std::string_view kind, std::string_view token) {
    if (rename.backup.empty()) return kind.empty();
    return (kind == kLinked || kind == kMoved) && MadeFor(rename.backup, rename.target, token) &&
           rename.before.Present();
}

// One rename of a record, checked on its own: nothing when it breaks a rule. Before version 4 a
// backup's kind is not given; it is taken as a link, the kind that never leaves the target
// absent, so that an absent target is never taken for a half-way rename.
std::optional<JournalRename> ReadRename(Reader& in, std::string_view token, int version) {
    const std::optional<unsigned long> member = in.Number(INT_MAX);
    const std::optional<std::string_view> temporary = in.Field();
    const std::optional<FileIdentity> written = in.Identity();
    const std::optional<std::string_view> target = in.Field();
    const std::optional<FileIdentity> before = in.Identity();
    const std::optional<std::string_view> backup = in.Field();
    if (!member || !temporary || !written || !target || !before || !backup || !BareName(*target))
        return std::nullopt;
    std::optional<std::string_view> kind = backup->empty() ? std::string_view() : kLinked;
    if (version >= 4) kind = in.Field();
    if (!kind) return std::nullopt;
    if (temporary->empty()) {
        // A removal: of a file that was there, of a kind sets hold, and never with a new file.
        if (!SetKind(*target) || !before->Present() || !written->Absent()) return std::nullopt;
    } else if (!MadeFor(*temporary, *target, token) || !written->Present()) {
        return std::nullopt;
    }
    JournalRename rename{std::string(*temporary), *written,
                         std::string(*target),    *before,
                         std::string(*backup),    static_cast<int>(*member),
                         *kind == kMoved};
    if (!SoundBackup(rename, *kind, token)) return std::nullopt;
    return rename;
}

// Every name a set gives, each once.
bool NamesOnce(const std::vector<JournalRename>& renames) {
    std::set<std::string_view> names;
    for (const JournalRename& rename : renames)
        for (const std::string* name : {&rename.temporary, &rename.target, &rename.backup})
            if (!name->empty() && !names.insert(*name).second) return false;
    return true;
}

// The renames of one record, checked: nothing when one breaks a rule.
std::optional<std::vector<JournalRename>> ReadRenames(Reader& in, std::string_view token,
                                                      int version) {
    const std::optional<unsigned long> count = in.Number(kJournalLimit);
    if (!count) return std::nullopt;
    std::vector<JournalRename> renames;
    std::set<std::string> stems;  // of the files the set puts in place
    for (unsigned long i = 0; i < *count; ++i) {
        std::optional<JournalRename> rename = ReadRename(in, token, version);
        if (!rename) return std::nullopt;
        if (!rename->temporary.empty()) stems.insert(FoldedStem(rename->target));
        renames.push_back(std::move(*rename));
    }
    if (!NamesOnce(renames)) return std::nullopt;
    // A file is removed only as the companion of a file the set puts in place.
    for (const JournalRename& rename : renames)
        if (rename.temporary.empty() && !stems.contains(FoldedStem(rename.target)))
            return std::nullopt;
    return renames;
}

// The version of a journal of that token from its first lines, and where its records start.
std::optional<int> VersionOf(std::string_view text, std::string_view token, std::size_t& start) {
    if (!IsTokenText(token) || !text.starts_with(kMagic)) return std::nullopt;
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos || end != kMagic.size() + 1) return std::nullopt;
    const char digit = text[kMagic.size()];
    if (digit < '0' || digit > '9') return std::nullopt;
    const std::string_view rest = text.substr(end + 1);
    if (!rest.starts_with(token) || rest.size() == token.size() || rest[token.size()] != '\n')
        return std::nullopt;
    start = end + 1 + token.size() + 1;
    return digit - '0';
}

}  // namespace

std::string NewJournalToken() {
    unsigned char bytes[kTokenLength / 2] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // No random source: the clock and the process stand in.
        auto mixed = static_cast<unsigned long long>(
                         std::chrono::steady_clock::now().time_since_epoch().count()) ^
                     (static_cast<unsigned long long>(::getpid()) << 40);
        for (unsigned char& b : bytes) {
            mixed = mixed * 6364136223846793005ull + 1442695040888963407ull;
            b = static_cast<unsigned char>(mixed >> 56);
        }
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string token;
    for (unsigned char b : bytes) {
        token += kDigits[b >> 4];
        token += kDigits[b & 15];
    }
    return token;
}

std::string JournalName(std::string_view token) {
    std::string name(kJournalPrefix);
    name.append(token).append(kJournalExtension);
    return name;
}

std::string JournalTokenOf(std::string_view name) {
    if (!name.starts_with(kJournalPrefix) || !name.ends_with(kJournalExtension)) return {};
    name.remove_prefix(kJournalPrefix.size());
    name.remove_suffix(kJournalExtension.size());
    return IsTokenText(name) ? std::string(name) : std::string();
}

std::string TemporaryName(std::string_view target, std::string_view token, unsigned long serial) {
    std::string_view stem = target;
    std::string_view extension;
    const std::size_t dot = target.find_last_of('.');
    // The extension is kept, so that a table stays a ".dbf".
    if (dot != std::string_view::npos && dot > 0 &&
        target.find('~', dot) == std::string_view::npos) {
        stem = target.substr(0, dot);
        extension = target.substr(dot);
    }
    std::string suffix = ".~";
    suffix.append(token).push_back('-');
    suffix.append(std::to_string(serial)).append(extension);
    const std::size_t room = NAME_MAX > suffix.size() + 1 ? NAME_MAX - suffix.size() - 1 : 0;
    if (stem.size() > room) {
        // Cut before a character's first byte, never inside a UTF-8 character.
        std::size_t cut = room;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem = stem.substr(0, cut);
    }
    std::string name = ".";
    name.append(stem).append(suffix);
    return name;
}

std::string JournalHeader(std::string_view token) {
    std::string header(kMagic);
    header.append(std::to_string(kVersion)).push_back('\n');
    header.append(token).push_back('\n');
    return header;
}

std::string TemporaryRecord(const JournalTemporary& temporary) {
    std::string record(1, kTemporary);
    AppendField(record, temporary.name);
    AppendField(record, temporary.written.Text());
    return record;
}

std::string RenamesRecord(const std::vector<JournalRename>& renames) {
    std::string record(1, kRenames);
    AppendField(record, std::to_string(renames.size()));
    for (const JournalRename& rename : renames) {
        AppendField(record, std::to_string(rename.member));
        AppendField(record, rename.temporary);
        AppendField(record, rename.written.Text());
        AppendField(record, rename.target);
        AppendField(record, rename.before.Text());
        AppendField(record, rename.backup);
        AppendField(record, KindText(rename));
    }
    return record;
}

std::string BackupRecord(std::size_t index, const JournalRename& rename) {
    std::string record(1, kBackup);
    AppendField(record, std::to_string(index));
    AppendField(record, rename.backup);
    AppendField(record, KindText(rename));
    return record;
}

std::string UndoRecord(int member) {
    std::string record(1, kUndo);
    AppendField(record, std::to_string(member));
    return record;
}

std::string DoneRecord() {
    return std::string(1, kDone);
}

bool AppendRecord(int fd, off_t& size, std::string_view record, bool sync) {
    if (!WriteAll(fd, record)) {
        const int err = errno;
        // A record cut short would make the whole journal unreadable: it goes again.
        Calls().ftruncate(fd, size);
        errno = err;
        return false;
    }
    size += static_cast<off_t>(record.size());
    return !sync || Calls().fdatasync(fd) == 0;
}

std::optional<Journal> ParseJournal(std::string_view text, std::string_view token) {
    // Made, but killed before its first line was written: it names nothing.
    if (text.empty() && IsTokenText(token)) return Journal{{}, {}, std::string(token), 0};
    std::size_t start = 0;
    const std::optional<int> version = VersionOf(text, token, start);
    if (text.size() > kJournalLimit || !version || *version < kOldestReadable ||
        *version > kVersion)
        return std::nullopt;
    Reader in(text.substr(start));
    Journal journal;
    journal.token = std::string(token);
    std::unordered_map<std::string, std::size_t> temporaries;  // by name, where in the journal
    const auto serialOf = [&](const std::string& name) {
        if (!name.empty())
            journal.lastSerial = std::max(journal.lastSerial, *SerialOf(name, token));
    };
    while (!in.AtEnd()) {
        // Undo, backup and done records are of the latest set, while it is not done.
        JournalSet* open =
            journal.sets.empty() || journal.sets.back().done ? nullptr : &journal.sets.back();
        switch (in.Type()) {
            case kTemporary: {
                const std::optional<std::string_view> name = in.Field();
                const std::optional<FileIdentity> written = in.Identity();
                if (!name || !written || !BareName(*name) || !SerialOf(*name, token))
                    return std::nullopt;
                // Named when made and again as it was written: the latest identity holds.
                const auto [at, fresh] =
                    temporaries.try_emplace(std::string(*name), journal.temporaries.size());
                if (fresh) {
                    journal.temporaries.push_back(JournalTemporary{at->first, *written});
                } else {
                    journal.temporaries[at->second].written = *written;
                }
                serialOf(at->first);
                break;
            }
            case kRenames: {
                std::optional<std::vector<JournalRename>> renames =
                    ReadRenames(in, token, *version);
                if (!renames) return std::nullopt;
                for (const JournalRename& rename : *renames) {
                    serialOf(rename.temporary);
                    serialOf(rename.backup);
                }
                journal.sets.push_back(JournalSet{std::move(*renames), {}, false});
                break;
            }
            case kBackup: {
                const std::optional<unsigned long> index = in.Number(kJournalLimit);
                const std::optional<std::string_view> backup = in.Field();
                const std::optional<std::string_view> kind = in.Field();
                if (*version < 4 || open == nullptr || !index || !backup || !kind ||
                    *index >= open->renames.size())
                    return std::nullopt;
                JournalRename& rename = open->renames[*index];
                if (rename.backup.empty()) return std::nullopt;
                rename.backup = std::string(*backup);
                rename.renamed = *kind == kMoved;
                if (!SoundBackup(rename, *kind, token) || !NamesOnce(open->renames))
                    return std::nullopt;
                serialOf(rename.backup);
                break;
            }
            case kUndo: {
                const std::optional<unsigned long> member = in.Number(INT_MAX);
                if (open == nullptr || !member) return std::nullopt;
                open->undone.insert(static_cast<int>(*member));
                break;
            }
            case kDone:
                if (open == nullptr) return std::nullopt;
                open->done = true;
                break;
            default:
                return std::nullopt;
        }
    }
    return journal;
}

std::optional<EarlierJournal> ParseEarlierJournal(std::string_view text, std::string_view token) {
    std::size_t start = 0;
    if (text.size() > kJournalLimit || VersionOf(text, token, start) != kEarlier)
        return std::nullopt;
    // Temporaries "T name"; sets "R count (member temporary target backup)..."; "U member"; "D".
    Reader in(text.substr(start));
    EarlierJournal journal;
    std::set<std::string> seen;
    const auto add = [&](std::vector<std::string>& list, std::string_view name, bool hidden) {
        if (name.empty()) return true;
        if (!BareName(name) || (hidden && !SerialOf(name, token))) return false;
        if (seen.insert(std::string(name)).second) list.emplace_back(name);
        return true;
    };
    while (!in.AtEnd()) {
        switch (in.Type()) {
            case kTemporary: {
                const std::optional<std::string_view> name = in.Field();
                if (!name || !add(journal.hidden, *name, true)) return std::nullopt;
                break;
            }
            case kRenames: {
                const std::optional<unsigned long> count = in.Number(kJournalLimit);
                if (!count) return std::nullopt;
                for (unsigned long i = 0; i < *count; ++i) {
                    const std::optional<unsigned long> member = in.Number(INT_MAX);
                    const std::optional<std::string_view> temporary = in.Field();
                    const std::optional<std::string_view> target = in.Field();
                    const std::optional<std::string_view> backup = in.Field();
                    if (!member || !temporary || !target || !backup || target->empty() ||
                        !add(journal.hidden, *temporary, true) ||
                        !add(journal.files, *target, false) || !add(journal.hidden, *backup, true))
                        return std::nullopt;
                }
                break;
            }
            case kUndo:
                if (!in.Number(INT_MAX)) return std::nullopt;
                break;
            case kDone:
                break;
            default:
                return std::nullopt;
        }
    }
    return journal;
}

// ---------------------------------------------------------------------------------------------
namespace {

// How many names a backup tries before the set gives up: each taken one is somebody else's.
constexpr int kBackupAttempts = 100;

// Errors with which a file system without hard links refuses one.
bool NoLinksHere(int err) {
    return err == EPERM || err == ENOTSUP || err == EOPNOTSUPP || err == EMLINK || err == ENOSYS;
}

// Keeps the target's old file under the entry's backup name, one that nothing else has: a second
// link to it, or, where the file system has no links, the file itself moved there. A name that
// is taken (by anyone) is never used: the entry gets another, noted first. 0 or errno.
int KeepBackup(int folder, JournalRename& entry, const BackupPlan& plan) {
    if (entry.backup.empty()) return 0;
    const FileCalls& calls = Calls();
    for (int attempt = 0; attempt < kBackupAttempts; ++attempt) {
        const FileIdentity backup = FileIdentity::At(folder, entry.backup);
        // Kept already: a run finishing what a dead one began.
        if (backup.Matches(entry.before)) return 0;
        if (backup.Absent()) {
            const char* from = entry.target.c_str();
            const char* to = entry.backup.c_str();
            const int made = entry.renamed ? calls.renameat(folder, from, folder, to)
                                           : calls.linkat(folder, from, folder, to, 0);
            if (made == 0) return 0;
            const int err = errno;
            // Without a target there is nothing to keep.
            if (err == ENOENT && FileIdentity::At(folder, entry.target).Absent()) return 0;
            if (err != EEXIST && (entry.renamed || !(NoLinksHere(err) || err == ENOENT)))
                return err;
            if (err != EEXIST) {
                entry.renamed = true;
                if (!plan.note(entry)) return errno != 0 ? errno : EIO;
                continue;
            }
        } else if (backup.state == FileIdentity::State::Unknown) {
            return errno != 0 ? errno : EIO;
        }
        // Somebody else's file has the name: another one, noted before it is used.
        entry.backup = plan.freshName ? plan.freshName(entry) : std::string();
        if (entry.backup.empty()) return EEXIST;
        if (!plan.note(entry)) return errno != 0 ? errno : EIO;
    }
    return EEXIST;
}

}  // namespace

int PlaceEntry(int folder, JournalRename& entry, const BackupPlan& plan) {
    const FileCalls& calls = Calls();
    const char* target = entry.target.c_str();
    struct stat old {};
    if (calls.fstatat(folder, target, &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(old.st_mode))
        return EISDIR;
    if (const int err = KeepBackup(folder, entry, plan); err != 0) return err;
    if (entry.temporary.empty())
        return calls.unlinkat(folder, target, 0) == 0 || errno == ENOENT ? 0 : errno;
    return calls.renameat(folder, entry.temporary.c_str(), folder, target) == 0 ? 0 : errno;
}

int RestoreEntry(int folder, const JournalRename& entry) {
    const FileCalls& calls = Calls();
    const FileIdentity target = FileIdentity::At(folder, entry.target);
    // The run's own new file, or nothing where the set removed the target or moved it away.
    const bool ours =
        target.Absent() ? entry.temporary.empty() || entry.renamed : target.Matches(entry.written);
    if (!ours) return ESTALE;
    if (!entry.before.Present())
        return calls.unlinkat(folder, entry.target.c_str(), 0) == 0 || errno == ENOENT ? 0 : errno;
    if (!FileIdentity::At(folder, entry.backup).Matches(entry.before)) return ESTALE;
    return calls.renameat(folder, entry.backup.c_str(), folder, entry.target.c_str()) == 0 ? 0
                                                                                           : errno;
}

namespace {

// Removes a file of the folder when what it is now passes `still`: 0 when it is gone (or was not
// there), ESTALE when another file has the name. A file that cannot be looked at is an error, so
// that whoever keeps the journal tries again.
template <typename Still>
int RemoveWhile(int folder, const std::string& name, Still&& still) {
    if (name.empty()) return 0;
    const FileIdentity now = FileIdentity::At(folder, name);
    if (now.state == FileIdentity::State::Unknown) return errno != 0 ? errno : EIO;
    if (now.Absent()) return 0;
    if (!still(now)) return ESTALE;
    return Calls().unlinkat(folder, name.c_str(), 0) == 0 || errno == ENOENT ? 0 : errno;
}

}  // namespace

int RemoveIfStill(int folder, const std::string& name, const FileIdentity& identity) {
    return RemoveWhile(folder, name,
                       [&](const FileIdentity& now) { return now.Matches(identity); });
}

int RemoveIfSame(int folder, const std::string& name, const FileIdentity& identity) {
    return RemoveWhile(folder, name,
                       [&](const FileIdentity& now) { return now.SameFile(identity); });
}

int DropBackup(int folder, const JournalRename& entry) {
    return RemoveIfStill(folder, entry.backup, entry.before);
}

namespace {

// What the folder holds of one rename now, against what the run recorded.
struct EntryNow {
    bool targetOld = false;     // the target is the file before the set (or absent as it was)
    bool targetNew = false;     // the target is the run's new file (or gone, for a removal)
    bool targetAbsent = false;  // nothing has the target's name
    bool backupOld = false;     // the backup is the old file
    bool backupClear = false;   // no backup, or the old file
    bool temporaryReady = false;

    bool Placed() const { return targetNew && backupClear; }
    // Half-way with a backup made by moving the old file, it waits under the backup's name alone
    // while the new one waits under the temporary's. A link never leaves the target absent: an
    // absent target there is one somebody deleted since.
    bool MovedAway(const JournalRename& e) const { return e.renamed && backupOld && targetAbsent; }
    bool CanPlace(const JournalRename& e) const {
        return Placed() || (backupClear && (targetOld || MovedAway(e)) &&
                            (e.temporary.empty() || temporaryReady));
    }
    // With the old file in the backup and nothing in the target's place, the new file is either
    // still to come (its temporary is there) or was removed by somebody since.
    bool CanRestore(const JournalRename& e) const {
        if (!backupClear) return false;
        if (targetOld) return true;
        if (!e.before.Present()) return targetNew;
        return backupOld && (targetNew || (MovedAway(e) && temporaryReady));
    }
};

EntryNow Look(int folder, const JournalRename& e) {
    EntryNow now;
    const FileIdentity target = FileIdentity::At(folder, e.target);
    now.targetOld = target.Matches(e.before);
    now.targetNew = e.temporary.empty() ? target.Absent() : target.Matches(e.written);
    now.targetAbsent = target.Absent();
    const FileIdentity backup =
        e.backup.empty() ? FileIdentity{} : FileIdentity::At(folder, e.backup);
    now.backupOld = backup.Present() && backup.Matches(e.before);
    now.backupClear = backup.Absent() || now.backupOld;
    now.temporaryReady =
        !e.temporary.empty() && FileIdentity::At(folder, e.temporary).Matches(e.written);
    return now;
}

class Replay {
  public:
    Replay(int folder, int journalFd, off_t journalSize, const Journal& journal)
        : folder_(folder),
          journalFd_(journalFd),
          size_(journalSize),
          journal_(journal),
          serial_(journal.lastSerial) {}

    Recovery Run() {
        for (std::size_t i = 0; i < journal_.sets.size(); ++i)
            Finish(journal_.sets[i], i + 1 == journal_.sets.size());
        // The run's own temporaries, whatever was written into them since they were noted.
        for (const JournalTemporary& temporary : journal_.temporaries)
            if (!handled_.contains(temporary.name))
                Remove(temporary.name, RemoveIfSame(folder_, temporary.name, temporary.written));
        // Everything in order: the journal says so, should the folder's flush fail below.
        if (!journal_.sets.empty() && !journal_.sets.back().done && result_.complete &&
            result_.left.empty())
            Step(AppendRecord(journalFd_, size_, DoneRecord(), false) ? 0 : errno);
        result_.flushed = !changed_ || FlushFolder(folder_) == 0;
        Hidden();
        return result_;
    }

  private:
    // A step that may have changed the folder; 0 or errno.
    void Step(int err) {
        changed_ = true;
        if (err != 0) result_.complete = false;
    }

    // The removal of a file of the run's; one another file has taken the name of is left.
    void Remove(const std::string& name, int err) {
        if (err != ESTALE) return Step(err);
        if (left_.insert(name).second) result_.left.push_back(name);
    }

    void Finish(const JournalSet& set, bool latest) {
        // A copy: a backup may change its name on the way.
        std::vector<JournalRename> renames = set.renames;
        std::map<int, std::vector<JournalRename*>> members;
        for (JournalRename& e : renames) members[e.member].push_back(&e);
        for (const auto& [member, entries] : members) {
            if (set.done) {
                Tidy(entries, !set.undone.contains(member));
            } else {
                FinishMember(renames, entries, set.undone.contains(member), latest);
            }
        }
    }

    void FinishMember(std::vector<JournalRename>& renames,
                      const std::vector<JournalRename*>& entries, bool undone, bool latest) {
        const auto all = [&](bool (EntryNow::*can)(const JournalRename&) const) {
            return std::all_of(entries.begin(), entries.end(), [&](const JournalRename* e) {
                return (Look(folder_, *e).*can)(*e);
            });
        };
        if (!undone && all(&EntryNow::CanPlace)) {
            if (Place(renames, entries, latest)) return Tidy(entries, true);
            // What cannot be put in place is undone with the rest of its member; only the latest
            // set takes records.
            if (!latest ||
                !AppendRecord(journalFd_, size_, UndoRecord(entries.front()->member), true)) {
                result_.complete = false;
                return;
            }
        }
        if (all(&EntryNow::CanRestore)) {
            for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
                const EntryNow now = Look(folder_, **it);
                if (now.targetOld) continue;
                Step(RestoreEntry(folder_, **it));
                result_.undone.push_back((*it)->target);
            }
            return Tidy(entries, false);
        }
        // Changed since the run died: left entirely as it is.
        for (const JournalRename* e : entries) {
            result_.left.push_back(e->target);
            for (const std::string* name : {&e->temporary, &e->backup}) {
                if (name->empty()) continue;
                handled_.insert(*name);
                if (!FileIdentity::At(folder_, *name).Absent() && left_.insert(*name).second)
                    result_.left.push_back(*name);
            }
        }
    }

    bool Place(std::vector<JournalRename>& renames, const std::vector<JournalRename*>& entries,
               bool latest) {
        BackupPlan plan;
        if (latest) {
            plan.freshName = [&](const JournalRename& e) {
                return TemporaryName(e.target, journal_.token, ++serial_);
            };
            plan.note = [&](const JournalRename& e) {
                changed_ = true;
                return AppendRecord(journalFd_, size_,
                                    BackupRecord(static_cast<std::size_t>(&e - renames.data()), e),
                                    true);
            };
        } else {
            plan.note = [](const JournalRename&) { return false; };
        }
        for (JournalRename* e : entries) {
            if (Look(folder_, *e).Placed()) continue;
            changed_ = true;
            if (PlaceEntry(folder_, *e, plan) != 0) return false;
            result_.finished.push_back(e->target);
        }
        return true;
    }

    // Removes the backups of a member in place, or the temporaries of one undone, while they are
    // still the run's; another file under such a name is left, and so is the journal.
    void Tidy(const std::vector<JournalRename*>& entries, bool inPlace) {
        for (const JournalRename* e : entries) {
            handled_.insert(e->temporary);
            handled_.insert(e->backup);
            if (!inPlace) Remove(e->temporary, RemoveIfSame(folder_, e->temporary, e->written));
            Remove(e->backup, RemoveIfStill(folder_, e->backup, e->before));
        }
    }

    // The run's temporaries and backups that are still there, for the person to delete with the
    // journal should it stay.
    void Hidden() {
        std::set<std::string> named;
        for (const JournalTemporary& temporary : journal_.temporaries) named.insert(temporary.name);
        for (const JournalSet& set : journal_.sets)
            for (const JournalRename& e : set.renames)
                for (const std::string* name : {&e.temporary, &e.backup})
                    if (!name->empty()) named.insert(*name);
        for (const std::string& name : handled_) named.insert(name);
        for (const std::string& name : named)
            if (!name.empty() && !FileIdentity::At(folder_, name).Absent())
                result_.hidden.push_back(name);
    }

    int folder_;
    int journalFd_;
    off_t size_;
    const Journal& journal_;
    unsigned long serial_;
    bool changed_ = false;  // something in the folder was changed
    Recovery result_;
    std::set<std::string> handled_;  // temporaries and backups the sets dealt with
    std::set<std::string> left_;
};

}  // namespace

Recovery ReplayJournal(int folder, int journalFd, off_t journalSize, const Journal& journal) {
    return Replay(folder, journalFd, journalSize, journal).Run();
}

void FileNotice(std::string_view text) {
    std::fprintf(stderr, "kestrel: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace platform
