#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

// The platform's own index of the names in a folder, for finding a file whatever the case of its
// name without reading the whole folder at every look-up: a folder is read once and read again
// only when something else has changed it. The platform's writers change folders through the
// functions below, which keep an index they find current also current after the change. Every
// name here is the operating system's (UTF-8); only the platform's file layer uses this.
namespace platform {

// The entry of the folder (empty for the current one) whose name equals `wanted` (a system
// name) without regard to case; of several, the first in byte order; empty when there is none.
std::string FindCaseless(const std::string& folder, std::string_view wanted);

// open(2) of a file that may be created; the descriptor or -1 (errno set).
int CreateEntry(const std::string& name, int flags, mode_t mode);
// rename(2), unlink(2) and mkdir(2); false with errno set.
bool RenameEntry(const std::string& from, const std::string& to);
bool RemoveEntry(const std::string& name);
bool MakeFolder(const std::string& name);

}  // namespace platform
