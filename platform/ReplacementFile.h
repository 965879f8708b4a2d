#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FileCalls.h"

// The one way a file is replaced. The new content is written in full to a temporary file beside
// the target and put in place by a rename only when it is complete and on the disk, so a failed
// or interrupted write leaves the old file whole. The target's permissions are kept; a read-only
// target is not replaced (access denied); a link is followed where the kernel would follow it
// (FollowLinks) and its target replaced. Inside a file set (FileSet.h) the finished file waits for
// the set; otherwise it is put in place at once, under the folder's lock (FolderJournal.h). A
// temporary file a run leaves behind is named in its journal and removed by the next writer in
// the folder while it is still that file.
namespace platform {

class FolderJournal;

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
    // The same for the target of an operating-system name.
    std::int32_t CreateForOsName(const std::string& osName);
    bool IsOpen() const { return fd_ >= 0; }
    int Descriptor() const { return fd_; }

    // Closes the file; then hands it to the current file set, or, when there is none, puts it in
    // place. 0 or the error number; after an error the temporary file is gone, the target is as
    // it was and the current set has failed.
    std::int32_t Finish();
    // Removes the temporary file; the target stays as it was.
    void Abandon();

  private:
    int fd_ = -1;
    std::shared_ptr<FolderJournal> folder_;
    std::string name_;       // the target as named, before links were followed
    std::string target_;     // the file replaced
    std::string temporary_;  // a bare name in the target's folder; empty while it has none
    FileIdentity written_;   // the temporary once written in full
};

// Replaces the file of that operating-system name by `bytes` as a whole; 0 or the error number.
std::int32_t ReplaceFileContents(const std::string& osName, std::string_view bytes);

}  // namespace platform
