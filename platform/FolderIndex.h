#pragma once

#include <string>
#include <string_view>

// The platform's own index of the names in a folder, for finding a file whatever the case of its
// name without reading the whole folder at every look-up. It never answers "there is none" for a
// file that is there: on a local file system the kernel tells the index of every change to the
// folder (inotify), whoever makes it, and the index takes each change as it comes; elsewhere, or
// when the kernel cannot tell, a look-up that finds nothing reads the folder again. Every name
// here is the operating system's (UTF-8); only the platform's file layer uses this.
namespace platform {

// The entry of the folder (empty for the current one) whose name equals `wanted` (a system
// name) without regard to case; of several, the first in byte order; empty when there is none.
std::string FindCaseless(const std::string& folder, std::string_view wanted);

}  // namespace platform
