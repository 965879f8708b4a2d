#pragma once

#include <sys/types.h>

#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

// A run's writes in one folder (FileJournal.h): the folder held open, the run's journal there,
// made with the first temporary file and locked for as long as the run has files in the folder,
// and the putting in place of sets under the folder's lock. Before it puts anything in place, a
// run finishes or undoes by their journals what dead runs left in the folder; a journal whose
// lock it cannot take belongs to a live run and is left alone. Where the file system has no
// locks, nothing is recovered, and a message says which journal was left.
namespace platform {

class FolderJournal {
  public:
    // The run's journal in the folder of that operating-system name, shared while anything of
    // the run waits there; made, with its file, when there is none. nullptr (errno set) when the
    // folder cannot be written.
    static std::shared_ptr<FolderJournal> Of(const std::string& osFolder);
    // Removes the journal's file, unless something it names is still to be done.
    ~FolderJournal();
    FolderJournal(const FolderJournal&) = delete;
    FolderJournal& operator=(const FolderJournal&) = delete;

    // The folder's operating-system name (absolute), and its descriptor.
    const std::string& Folder() const { return folder_; }
    int Descriptor() const { return fd_; }

    // A new, empty temporary file for the target (a bare name of the folder), named in the
    // journal: its descriptor, or -1 with errno set. `temporary` gets its bare name.
    int CreateTemporary(std::string_view target, std::string& temporary);
    // Removes a temporary file that is not to be put in place.
    void Discard(const std::string& temporary);

  private:
    friend class FolderCommit;
    FolderJournal(int fd, std::string folder, dev_t device, ino_t inode, std::string token);
    bool Start();
    // Appends a record to the journal; with `sync` it reaches the disk before this returns.
    bool Note(const std::string& record, bool sync);
    // Finishes or undoes what dead runs left in the folder; the folder is locked.
    void TidyLocked();
    void Recover(const std::string& name, const std::string& token);

    std::mutex lock_;  // one thread of the process at a time
    int fd_ = -1;
    int journalFd_ = -1;
    std::string folder_;
    dev_t device_ = 0;
    ino_t inode_ = 0;
    std::string token_;
    bool locks_ = true;   // the file system has locks
    bool stuck_ = false;  // a set could not be undone, or its renames not flushed: the journal
                          // stays for the next run
    std::set<std::string> live_;  // temporaries that wait
};

// One file of a set: the new file's temporary (empty when the target goes) and the target, bare
// names of the folder; the files of one member are put in place or not at all.
struct SetFile {
    std::shared_ptr<FolderJournal> folder;
    std::string temporary;
    std::string target;
    int member = 0;
};

// Puts the files in place: every folder locked, what dead runs left finished first, the
// temporaries on the disk before the journal and the journal before the first rename, the
// folders flushed afterwards. A member that cannot be put in place whole is undone before this
// returns. The first error (errno, 0 when none) and the members that failed.
struct CommitOutcome {
    int error = 0;
    std::set<int> failed;
};
CommitOutcome CommitFiles(const std::vector<SetFile>& files);

}  // namespace platform
