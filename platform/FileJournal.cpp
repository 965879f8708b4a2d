#include "platform/FileJournal.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>

#include "platform/Cp1250.h"
#include "platform/FileSystem.h"
#include "platform/IniNames.h"

namespace platform {
namespace {

constexpr std::string_view kMagic = "KESTREL JOURNAL 2\n";
constexpr std::string_view kJournalPrefix = ".~";
constexpr std::string_view kJournalExtension = ".journal";
constexpr std::size_t kTokenLength = 16;
constexpr char kTemporary = 'T';
constexpr char kRenames = 'R';
constexpr char kUndo = 'U';
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
    const std::string mark = ".~" + std::string(token) + "-";
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

// Reads the records of a journal one field at a time.
class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}
    bool AtEnd() const { return text_.empty(); }
    std::optional<char> Type() {
        if (text_.empty()) return std::nullopt;
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
        if (!field || field->empty() || field->size() > 9) return std::nullopt;
        unsigned long n = 0;
        for (char c : *field) {
            if (c < '0' || c > '9') return std::nullopt;
            n = n * 10 + static_cast<unsigned long>(c - '0');
        }
        return n <= limit ? std::optional<unsigned long>(n) : std::nullopt;
    }

  private:
    std::string_view text_;
};

// The renames of one record, checked: nothing when one breaks a rule.
std::optional<std::vector<JournalRename>> ReadRenames(Reader& in, std::string_view token) {
    const std::optional<unsigned long> count = in.Number(kJournalLimit);
    if (!count) return std::nullopt;
    std::vector<JournalRename> renames;
    std::set<std::string> stems;  // of the files the set renames
    for (unsigned long i = 0; i < *count; ++i) {
        const std::optional<unsigned long> member = in.Number(INT_MAX);
        const std::optional<std::string_view> temporary = in.Field();
        const std::optional<std::string_view> target = in.Field();
        const std::optional<std::string_view> backup = in.Field();
        if (!member || !temporary || !target || !backup || !BareName(*target) || !SetKind(*target))
            return std::nullopt;
        if (!temporary->empty() && !MadeFor(*temporary, *target, token)) return std::nullopt;
        if (!backup->empty() && !MadeFor(*backup, *target, token)) return std::nullopt;
        if (!temporary->empty()) stems.insert(FoldedStem(*target));
        renames.push_back(JournalRename{std::string(*temporary), std::string(*target),
                                        std::string(*backup), static_cast<int>(*member)});
    }
    // A file is removed only as the companion of a file the set puts in place.
    for (const JournalRename& rename : renames)
        if (rename.temporary.empty() && !stems.contains(FoldedStem(rename.target)))
            return std::nullopt;
    return renames;
}

bool Exists(int folder, const std::string& name) {
    struct stat st {};
    return ::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

void RemoveIfThere(int folder, const std::string& name, bool& ok) {
    if (!name.empty() && ::unlinkat(folder, name.c_str(), 0) != 0 && errno != ENOENT) ok = false;
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
    return std::string(kJournalPrefix) + std::string(token) + std::string(kJournalExtension);
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
    const std::string suffix =
        ".~" + std::string(token) + "-" + std::to_string(serial) + std::string(extension);
    const std::size_t fixed = 1 + suffix.size();
    if (fixed + stem.size() > NAME_MAX)
        stem = stem.substr(0, fixed < NAME_MAX ? NAME_MAX - fixed : 0);
    std::string name = ".";
    name += stem;
    name += suffix;
    return name;
}

std::string JournalHeader(std::string_view token) {
    return std::string(kMagic) + std::string(token) + "\n";
}

std::string TemporaryRecord(std::string_view temporary) {
    std::string record(1, kTemporary);
    record.append(temporary).push_back('\0');
    return record;
}

std::string RenamesRecord(const std::vector<JournalRename>& renames) {
    std::string record(1, kRenames);
    record.append(std::to_string(renames.size())).push_back('\0');
    for (const JournalRename& rename : renames) {
        for (const std::string& field :
             {std::to_string(rename.member), rename.temporary, rename.target, rename.backup})
            record.append(field).push_back('\0');
    }
    return record;
}

std::string UndoRecord(int member) {
    std::string record(1, kUndo);
    record.append(std::to_string(member)).push_back('\0');
    return record;
}

std::string DoneRecord() {
    return std::string(1, kDone);
}

std::optional<Journal> ParseJournal(std::string_view text, std::string_view token) {
    const std::string header = JournalHeader(token);
    if (text.size() > kJournalLimit || !text.starts_with(header) || !IsTokenText(token))
        return std::nullopt;
    Reader in(text.substr(header.size()));
    Journal journal;
    bool open = false;  // a set is being put in place
    while (!in.AtEnd()) {
        switch (*in.Type()) {
            case kTemporary: {
                const std::optional<std::string_view> name = in.Field();
                if (!name || !BareName(*name) || !SerialOf(*name, token)) return std::nullopt;
                journal.temporaries.emplace_back(*name);
                break;
            }
            case kRenames: {
                if (open) return std::nullopt;
                std::optional<std::vector<JournalRename>> renames = ReadRenames(in, token);
                if (!renames) return std::nullopt;
                journal.renames = std::move(*renames);
                journal.undone.clear();
                journal.done = false;
                open = true;
                break;
            }
            case kUndo: {
                const std::optional<unsigned long> member = in.Number(INT_MAX);
                if (!open || !member) return std::nullopt;
                journal.undone.insert(static_cast<int>(*member));
                break;
            }
            case kDone:
                if (!open) return std::nullopt;
                journal.done = true;
                open = false;
                break;
            default:
                return std::nullopt;
        }
    }
    return journal;
}

int PlaceEntry(int folder, const JournalRename& entry) {
    const char* target = entry.target.c_str();
    struct stat old {};
    if (::fstatat(folder, target, &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(old.st_mode))
        return EISDIR;
    if (!entry.backup.empty() && ::linkat(folder, target, folder, entry.backup.c_str(), 0) != 0 &&
        errno != EEXIST && errno != ENOENT) {
        // A file system without links: the old file itself becomes the backup.
        if (::renameat(folder, target, folder, entry.backup.c_str()) != 0 && errno != ENOENT)
            return errno;
    }
    if (entry.temporary.empty())
        return ::unlinkat(folder, target, 0) == 0 || errno == ENOENT ? 0 : errno;
    return ::renameat(folder, entry.temporary.c_str(), folder, target) == 0 ? 0 : errno;
}

bool UndoEntry(int folder, const JournalRename& entry) {
    const char* target = entry.target.c_str();
    if (!entry.backup.empty()) {
        struct stat backup {};
        // No backup: it is back already, or the target was never touched.
        if (::fstatat(folder, entry.backup.c_str(), &backup, AT_SYMLINK_NOFOLLOW) != 0) return true;
        struct stat now {};
        if (::fstatat(folder, target, &now, AT_SYMLINK_NOFOLLOW) == 0 &&
            now.st_dev == backup.st_dev && now.st_ino == backup.st_ino)
            return ::unlinkat(folder, entry.backup.c_str(), 0) == 0 || errno == ENOENT;
        return ::renameat(folder, entry.backup.c_str(), folder, target) == 0;
    }
    // A new file where there was none: it goes again.
    if (!entry.temporary.empty() && !Exists(folder, entry.temporary))
        return ::unlinkat(folder, target, 0) == 0 || errno == ENOENT;
    return true;
}

bool ReplayJournal(int folder, int journalFd, const Journal& journal) {
    bool ok = true;
    std::set<int> undone = journal.undone;
    if (!journal.done) {
        for (const JournalRename& entry : journal.renames) {
            if (undone.contains(entry.member)) continue;
            // A temporary that is gone has taken its place already.
            if (!entry.temporary.empty() && !Exists(folder, entry.temporary)) continue;
            if (PlaceEntry(folder, entry) == 0) continue;
            // What cannot be put in place is undone with the rest of its member.
            if (!WriteToDescriptor(journalFd, UndoRecord(entry.member)) ||
                ::fdatasync(journalFd) != 0)
                return false;
            undone.insert(entry.member);
        }
        for (auto it = journal.renames.rbegin(); it != journal.renames.rend(); ++it)
            if (undone.contains(it->member) && !UndoEntry(folder, *it)) ok = false;
        if (!ok) return false;
    }
    for (const JournalRename& entry : journal.renames)
        RemoveIfThere(folder, undone.contains(entry.member) ? entry.temporary : entry.backup, ok);
    for (const std::string& temporary : journal.temporaries) RemoveIfThere(folder, temporary, ok);
    return ::fsync(folder) == 0 && ok;
}

void FileNotice(std::string_view text) {
    std::fprintf(stderr, "kestrel: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace platform
