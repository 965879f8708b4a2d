#pragma once

#include <string>
#include <string_view>

#include "platform/UiService.h"

// The folder chooser of the library, through the UI service, and the one that remembers the last
// folder chosen in the registry. Paths are passed to the file system byte for byte.

// Registry place of the remembered folder.
inline constexpr std::string_view kFolderRegistryKey = "Software\\Lumatek\\Pixora\\Folder";
inline constexpr std::string_view kFolderRegistryValue = "Folder";

// True when Path names an existing folder; an empty path names none.
bool DirectoryExistsWrap(std::string_view Path);

// The chooser's callback: once the chooser is shown (BFFM_INITIALIZED) it selects the folder
// passed as Data, when there is one. Always 0.
int BrowseSelectCallback(platform::FolderDialog& Dialog, unsigned Message, std::string_view Data);

// Shows the chooser with Caption, below Root (empty: the whole file system), opening on Folder
// when that exists (otherwise Folder is cleared first). True and Folder := the chosen folder when
// one was chosen; false when cancelled, Folder keeping its (possibly cleared) value.
bool BrowseForFolder(std::string_view Caption, std::string_view Root, std::string& Folder);

// BrowseForFolder that starts, when Folder is empty, at the remembered folder or else at the
// current directory, and remembers the folder chosen. Cancelled: false and Folder empty.
bool ChooseFolder(platform::WindowHandle Owner, std::string_view Caption, std::string& Folder);
