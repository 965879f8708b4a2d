#include "platform/FileSet.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/FileSystem.h"
#include "platform/FolderJournal.h"
#include "platform/OsError.h"

namespace platform {
namespace {

thread_local FileSet* currentSet = nullptr;

std::string Absolute(std::string_view os) {
    return NormalizedPath(os, OsCurrentFolder());
}

}  // namespace

FileSet::FileSet(Kind kind) : kind_(kind) {
    if (currentSet == nullptr) {
        currentSet = this;
        return;
    }
    kind_ = Kind::Files;
    if (currentSet->kind_ == Kind::Sets) {
        // A member: the writers hand their files to it while it is open.
        parent_ = currentSet;
        currentSet = this;
    } else {
        outer_ = currentSet;
    }
}

FileSet::~FileSet() {
    if (outer_ != nullptr) return;
    Discard();
    currentSet = parent_;
}

FileSet* FileSet::Current() {
    return currentSet;
}

void FileSet::Fail(std::int32_t error) {
    if (outer_ != nullptr) return outer_->Fail(error);
    if (error_ == 0) error_ = error != 0 ? error : kErrorGenFailure;
}

std::int32_t FileSet::Error() const {
    return outer_ != nullptr ? outer_->Error() : error_;
}

void FileSet::Discard() {
    for (const Entry& entry : entries_)
        if (!entry.temporary.empty()) entry.folder->Discard(entry.temporary, entry.written);
    entries_.clear();
    byName_.clear();
}

void FileSet::Remove(std::string_view name) {
    if (outer_ != nullptr) return outer_->Remove(name);
    const std::string os = OsName(name);
    struct stat st {};
    if (::lstat(os.c_str(), &st) != 0) return;
    Entry entry;
    entry.target = Absolute(os);
    entry.alias = entry.target;
    entry.folder = FolderJournal::Of(SplitOsName(entry.target).first);
    if (!entry.folder) return Fail(OsErrorFromErrno(errno));
    Keep(std::move(entry));
}

void FileSet::Adopt(std::shared_ptr<FolderJournal> folder, std::string temporary,
                    FileIdentity written, std::string target, std::string alias) {
    if (outer_ != nullptr)
        return outer_->Adopt(std::move(folder), std::move(temporary), written, std::move(target),
                             std::move(alias));
    Entry entry;
    entry.held = folder->Folder() + "/" + temporary;
    entry.written = written;
    entry.folder = std::move(folder);
    entry.temporary = std::move(temporary);
    entry.target = Absolute(target);
    entry.alias = Absolute(alias);
    Keep(std::move(entry));
}

void FileSet::Keep(Entry entry) {
    // A file given to a set of sets outside its members stands on its own.
    if (kind_ == Kind::Sets) entry.member = members_++;
    Hold(std::move(entry));
}

void FileSet::Hold(Entry entry) {
    // Found by its target, by the name it was asked for, and by its temporary's own name.
    if (auto it = byName_.find(entry.target); it != byName_.end()) {
        Entry& held = entries_[it->second];
        if (held.target == entry.target) {
            if (!held.temporary.empty()) held.folder->Discard(held.temporary, held.written);
            byName_.erase(held.held);
            byName_.try_emplace(entry.alias, it->second);
            if (!entry.held.empty()) byName_.try_emplace(entry.held, it->second);
            held = std::move(entry);
            return;
        }
    }
    byName_.try_emplace(entry.target, entries_.size());
    byName_.try_emplace(entry.alias, entries_.size());
    if (!entry.held.empty()) byName_.try_emplace(entry.held, entries_.size());
    entries_.push_back(std::move(entry));
}

const FileSet::Entry* FileSet::Holding(std::string_view osName) const {
    if (outer_ != nullptr) return outer_->Holding(osName);
    if (!entries_.empty()) {
        if (auto it = byName_.find(Absolute(osName)); it != byName_.end()) {
            const Entry& entry = entries_[it->second];
            if (!entry.temporary.empty()) return &entry;
        }
    }
    // A member's files stand for the files its set of sets holds.
    return parent_ != nullptr ? parent_->Holding(osName) : nullptr;
}

const std::string* FileSet::Held(std::string_view osName) const {
    const Entry* entry = Holding(osName);
    return entry != nullptr ? &entry->held : nullptr;
}

std::optional<int> FileSet::OpenHeld(std::string_view osName, int flags) const {
    const Entry* entry = Holding(osName);
    if (entry == nullptr) return std::nullopt;
    return entry->folder->OpenTemporary(entry->temporary, entry->written, flags);
}

bool FileSet::HoldsTemporary(std::string_view osName) const {
    const Entry* entry = Holding(osName);
    return entry != nullptr && entry->held == Absolute(osName);
}

bool FileSet::Unplaced(std::string_view osName) const {
    const std::string name = Absolute(osName);
    return std::find(unplaced_.begin(), unplaced_.end(), name) != unplaced_.end();
}

bool FileSet::Unrestored(std::string_view osName) const {
    const std::string name = Absolute(osName);
    return std::find(unrestored_.begin(), unrestored_.end(), name) != unrestored_.end();
}

std::int32_t FileSet::Commit() {
    if (outer_ != nullptr) return outer_->Error();
    if (done_) return error_;
    done_ = true;
    if (error_ != 0) {
        Discard();
        return error_;
    }
    if (parent_ != nullptr) {
        for (Entry& entry : entries_) {
            // What the member's operation wrote into its files since, for a later run's recovery.
            if (!entry.temporary.empty()) entry.folder->Renote(entry.temporary, entry.written);
            entry.member = parent_->members_;
            parent_->Hold(std::move(entry));
        }
        entries_.clear();
        byName_.clear();
        if (++parent_->members_ >= kMembersPerJournal) parent_->PutInPlace();
        return 0;
    }
    const std::int32_t error = PutInPlace();
    if (kind_ == Kind::Sets) return unplaced_.empty() ? 0 : (error != 0 ? error : kErrorWriteFault);
    error_ = error;
    return error_;
}

std::int32_t FileSet::PutInPlace() {
    members_ = 0;
    std::vector<SetFile> files;
    for (const Entry& entry : entries_)
        files.push_back(SetFile{entry.folder, entry.temporary, entry.written,
                                SplitOsName(entry.target).second, entry.member});
    const CommitOutcome outcome = CommitFiles(files);
    for (const Entry& entry : entries_) {
        if (!outcome.failed.contains(entry.member)) continue;
        unplaced_.push_back(entry.target);
        unplaced_.push_back(entry.alias);
        if (!outcome.unrestored.contains(entry.member)) continue;
        unrestored_.push_back(entry.target);
        unrestored_.push_back(entry.alias);
    }
    entries_.clear();
    byName_.clear();
    return OsErrorFromErrno(outcome.error);
}

}  // namespace platform
