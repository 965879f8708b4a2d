#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileCalls.h"

// The files of a set that a reader takes together (a shapefile's .shp, .shx, .dbf and style
// file): opened under the shared lock of their folder, so never half of a set a writer is putting
// in place there, and held open for as long as the pin lives; a name that held no file then is
// held as missing. Holding changes nothing for anybody else: only while a Reading of the pin
// lives does every opening of one of its names for reading, in the whole process, open the pinned
// file (or find none, for a name held as missing), whatever has taken the name since. So a set
// may be held for long (a loaded layer's) while a deliberate opening of the same names outside
// the reading sees the files there now. Where the process cannot reopen an open file (no /proc),
// an opening that would find another file is refused. A pin taken during another's reading takes
// the files that reading gives.
namespace platform {

class PinnedFiles {
  public:
    // Pins the files of those system names, each as present or missing.
    explicit PinnedFiles(const std::vector<std::string>& names);
    ~PinnedFiles();
    PinnedFiles(const PinnedFiles&) = delete;
    PinnedFiles& operator=(const PinnedFiles&) = delete;

    // A pin of those of this pin's files that the names give (the same files, held on their
    // own), without the folder's lock again.
    std::unique_ptr<PinnedFiles> Part(const std::vector<std::string>& names) const;

    // What the pinned file of that system name is: the file opened, looked at through its
    // descriptor; absent when the name was held as missing or is none of this pin's.
    FileIdentity Identity(std::string_view name) const;

    // While it lives, the process reads the pin's names through the pin (nothing without one).
    class Reading {
      public:
        explicit Reading(const PinnedFiles* pin);
        ~Reading();
        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

      private:
        std::vector<std::pair<std::string, int>> registered_;  // names and descriptors
    };

    // Opens the file a reading gives for that system name (as given) or its operating-system
    // name: the descriptor, or -1 with errno set (ENOENT for a name held as missing); nothing
    // when no reading gives either name or the opening is not for reading.
    static std::optional<int> Open(std::string_view name, const std::string& osName, int flags);

  private:
    struct File {
        std::string given;  // the name as the system gave it, made absolute
        std::string os;     // the operating-system name it was found under, made absolute
        int fd = -1;        // -1: held as missing
    };
    PinnedFiles() = default;
    const File* Find(std::string_view name) const;

    std::vector<File> files_;
};

}  // namespace platform
