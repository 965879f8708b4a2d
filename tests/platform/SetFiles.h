#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "platform/FileCalls.h"
#include "platform/FileJournal.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/TextFile.h"

// Writing files through replacements and sets, and looking at what a folder holds afterwards.

inline bool Replace(const std::string& name, const std::string& text) {
    platform::TextFileWriter out;
    if (out.Create(name) != 0) return false;
    out.Write(text);
    return out.Close() == 0;
}

// Writes the files (names in the folder) with the text in one set; the result of its Commit.
inline std::int32_t WriteSet(const std::string& folder, const std::vector<std::string>& names,
                             const std::string& text) {
    platform::FileSet set;
    for (const std::string& name : names)
        if (!Replace(folder + "/" + name, text)) return -1;
    return set.Commit();
}

// Every entry of a folder with what it holds (where a link leads; the size and start of a large
// file).
using Snapshot = std::map<std::string, std::string>;
inline Snapshot Take(const std::string& folder) {
    Snapshot entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string& what = entries[entry.path().filename()];
        if (entry.is_symlink()) {
            what = "link to " + std::filesystem::read_symlink(entry.path()).string();
        } else if (entry.is_regular_file() && entry.file_size() > (1u << 20)) {
            what = std::to_string(entry.file_size()) + " bytes";
        } else if (entry.is_regular_file()) {
            what = TempFolder::ReadBytes(entry.path());
        } else if (entry.is_directory()) {
            what = "folder";
        }
    }
    return entries;
}

// The name of the journal a run left in the folder.
inline std::string JournalIn(const std::string& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (!platform::JournalTokenOf(entry.path().filename().string()).empty())
            return entry.path().filename();
    return {};
}

// What a run sees of a file (its link itself, when it is one).
inline platform::FileIdentity Seen(const std::string& path) {
    const auto [folder, name] = platform::SplitOsName(path);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const platform::FileIdentity identity = platform::FileIdentity::At(fd, name);
    ::close(fd);
    return identity;
}
