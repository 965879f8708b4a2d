#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileCalls.h"

// The files of a set that a reader takes together (a shapefile's .shp, .shx, .dbf and style
// file): opened under the shared lock of their folder, so never half of a set a writer is putting
// in place there, and held open for as long as the pin lives. Meanwhile every opening of one of
// them for reading opens that very file, whatever has taken its name since; where the process
// cannot reopen an open file (no /proc), an opening that would find another file is refused. A
// pin taken while another holds a file takes the same file.
namespace platform {

class PinnedFiles {
  public:
    // Pins the files of those system names that are there.
    explicit PinnedFiles(const std::vector<std::string>& names);
    ~PinnedFiles();
    PinnedFiles(const PinnedFiles&) = delete;
    PinnedFiles& operator=(const PinnedFiles&) = delete;

    // What the pinned file of that system name is (absent when none is pinned).
    FileIdentity Identity(std::string_view name) const;

    // Opens the pinned file of that operating-system name for reading: the descriptor, or -1 with
    // errno set; nothing when no such file is pinned.
    static std::optional<int> Open(const std::string& osName, int flags);

  private:
    std::vector<std::pair<std::string, int>> files_;  // operating-system names and descriptors
};

}  // namespace platform
