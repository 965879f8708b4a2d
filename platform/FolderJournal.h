#pragma once

#include <sys/types.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileCalls.h"

// A run's writes in one folder (FileJournal.h): the folder held open, the run's journal there,
// made with the first temporary file and locked for as long as the run has files in the folder,
// and the putting in place of sets under the folder's lock. Before it puts anything in place, a
// run finishes or undoes by their journals what dead runs left in the folder, wherever the files
// are still as those runs left them; a journal whose lock it cannot take belongs to a live run
// and is left alone. Where the file system has no locks, nothing is recovered, and a message says
// which journal was left.
namespace platform {

class FolderJournal {
  public:
    // The run's journal in the folder of that operating-system name, shared while anything of
    // the run waits there; made, with its file, when there is none (or when the one there must
    // stay for a later run). nullptr (errno set) when the folder cannot be written.
    static std::shared_ptr<FolderJournal> Of(const std::string& osFolder);
    // Removes the journal's file, unless something it names is still to be done.
    ~FolderJournal();
    FolderJournal(const FolderJournal&) = delete;
    FolderJournal& operator=(const FolderJournal&) = delete;

    // The folder's operating-system name (absolute), and its descriptor.
    const std::string& Folder() const { return folder_; }
    int Descriptor() const { return fd_; }

    // A new, empty temporary file in the folder, made with `mode` (the process's umask applies):
    // its descriptor, or -1 with errno set. Where the file system allows, it has no name until
    // Publish gives it one, so that a run killed while writing leaves nothing; otherwise
    // `temporary` gets its name at once, and the journal names it first.
    int Create(std::string_view target, mode_t mode, std::string& temporary);
    // Gives the written temporary (open as `fd`) for the target its name in the folder, unless it
    // has one, and notes it in the journal with its identity; 0 or errno.
    int Publish(int fd, std::string_view target, std::string& temporary, FileIdentity& written);
    // Notes what a published temporary holds now, when it was written again since (`written` is
    // brought up to date), so that a later run's recovery knows it.
    void Renote(const std::string& temporary, FileIdentity& written);
    // Removes a temporary file that is not to be put in place, while it is still that file.
    void Discard(const std::string& temporary, const FileIdentity& written);
    // Opens a temporary file the run published, when it is still that file; -1 with errno set
    // otherwise. Never follows a link.
    int OpenTemporary(const std::string& temporary, const FileIdentity& written, int flags) const;

  private:
    friend class FolderCommit;
    friend class FolderGuard;
    FolderJournal(int fd, std::string folder, dev_t device, ino_t inode);
    bool Start();
    // Appends a record to the journal; with `sync` it reaches the disk before this returns. A
    // record that cannot be written in full is cut off again.
    bool Note(const std::string& record, bool sync);
    // Finishes or undoes what dead runs left in the folder, and what this process's previous
    // journal there could not: the folder is locked.
    void TidyLocked();
    void Recover(const std::string& name, const std::string& token);
    int LinkUnnamed(int fd, const std::string& name) const;
    // Discard with the journal's lock held.
    void Drop(const std::string& temporary, const FileIdentity& written);

    std::mutex lock_;  // one thread of the process at a time
    int fd_ = -1;
    int journalFd_ = -1;
    std::string folder_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::string token_;
    off_t size_ = 0;       // of the journal, as written in full
    bool locks_ = true;    // the file system has locks
    bool unnamed_ = true;  // temporaries are made without a name and linked when written
    bool links_ = true;    // the file system makes a second link to a file
    std::atomic<bool> unflushed_{false};     // a set is in place, but the folder was not flushed
    bool open_ = false;                      // the journal's last set has no done record yet
    std::weak_ptr<FolderJournal> previous_;  // the folder's journal before, kept for a later run
    std::atomic<bool> stuck_{
        false};                   // a set could not be undone, or its renames not flushed, or the
                                  // journal not written: the journal stays for the
                                  // next run, and this process goes on with another
    std::set<std::string> live_;  // temporaries that wait
};

// Holds one folder's lock in the process (its mutex) and among processes (its file lock) for as
// long as it lives, however the work under it ends.
class FolderGuard {
  public:
    explicit FolderGuard(FolderJournal& folder);
    ~FolderGuard();
    FolderGuard(const FolderGuard&) = delete;
    FolderGuard& operator=(const FolderGuard&) = delete;

  private:
    FolderJournal& folder_;
    std::unique_lock<std::mutex> lock_;
};

// One file of a set: the new file's temporary (empty when the target goes) with its identity
// and the target, bare names of the folder; the files of one member are put in place or not at
// all.
struct SetFile {
    std::shared_ptr<FolderJournal> folder;
    std::string temporary;
    FileIdentity written;
    std::string target;
    int member = 0;
};

// Puts the files in place: every folder locked, what dead runs left finished first, the
// temporaries on the disk before the journal and the journal before the first rename, the
// folders flushed afterwards. A member that cannot be put in place whole is undone before this
// returns, as far as its files are still the run's: a file somebody changed meanwhile stays as it
// is. The first error (errno, 0 when none) and the members that failed. Files in place in a
// folder the file system then would not flush are no failure: a message names the folder, its
// journal stays to be checked again, and UnconfirmedFlushes counts it.
struct CommitOutcome {
    int error = 0;
    std::set<int> failed;
    std::set<int> unrestored;  // failed members whose old files could not all be given back
};
CommitOutcome CommitFiles(const std::vector<SetFile>& files);

// How many times in this process files were put in place, or found in order, in a folder whose
// entries the file system then did not confirm on the disk.
int UnconfirmedFlushes();

}  // namespace platform
