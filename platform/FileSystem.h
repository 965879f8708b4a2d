#pragma once

#include <sys/stat.h>
#include <cstddef>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// The one place where a file name meets the operating system. Inside the system a name is
// Windows-1250 text like every other; the operating system's names are UTF-8. Every operation
// here takes the system's name, converts it, and finds each folder and file that exists whatever
// the case of its name, as the original platform's file system did: an exact match first, then
// one that differs only in the case of its letters (Windows-1250 letters, Polish ones included).
// A name that matches nothing is taken as given, so a new file gets the name it was given. A name
// coming from the operating system becomes the system's through Utf8ToCp1250Exact (Cp1250.h).
//
// While a file set (FileSet.h) is open on the thread, a file it holds ready for a target stands
// in for that target when the target is opened or looked for: the set's operation reads what it
// has written.
namespace platform {

// The operating system's name of a system name, each existing component found as above.
std::string OsName(std::string_view name);
// The same, with a file the current file set holds for that target in its place.
std::string OsNameToOpen(std::string_view name);
// An operating-system name split into its folder ("." when it names none, "/" for an entry of the
// root) and its last component.
std::pair<std::string, std::string> SplitOsName(std::string_view osName);

// The name with its extension replaced (or added); the extension includes its dot.
std::string ChangeFileExt(std::string_view name, std::string_view ext);
// The name made absolute against the current folder, with "." and ".." resolved by the text.
std::string ExpandFileName(std::string_view name);
// The one normaliser of names, for system and operating-system names alike: a relative name is
// taken inside `base` (when there is one), and "." and ".." are resolved by the text.
std::string NormalizedPath(std::string_view name, std::string_view base);
// The current folder as an operating-system name; empty when it cannot be found.
std::string OsCurrentFolder();
// The file a link (an operating-system name) leads to, followed through every link as the kernel
// follows one; the name itself when it is none. Nothing when a link lies in a sticky folder that
// anyone may write and belongs to neither the running user nor the folder's owner: somebody
// else's link there could lead the program to any file it may write, so it is not followed; nor
// is a loop of links. `refusal`, when given, then gets why, in words for the person.
std::optional<std::string> FollowLinks(std::string osName, std::string* refusal = nullptr);

// True for an existing regular file (or one the current file set holds for that name).
bool FileExists(std::string_view name);
// True for an existing folder.
bool DirectoryExists(std::string_view name);
// What a name stands for: nothing, a regular file, a folder, or something else (a device, a pipe,
// a socket), which reading might never end.
enum class FileKind { Missing, Regular, Directory, Other };
FileKind KindOfFile(std::string_view name);
// True when something other than a regular file (a folder, a device, a pipe, a socket) has the
// name: what a reader refuses without opening it for reading.
bool NotRegularFile(std::string_view name);
// True when both names lead to the same existing file, or, for files not there yet, to the same
// place.
bool SameFile(std::string_view a, std::string_view b);
// True for an existing file that may be opened for writing.
bool FileWritable(std::string_view name);
// True when files can be created in the folder (the current folder for an empty name).
bool FolderWritable(std::string_view name);
// True when nothing has the name because it, or a folder on its way, is not there; false when
// something has it, or a file stands where a folder should, or a folder cannot be searched.
bool NameMissing(std::string_view name);

// Removes a file; false (with LastOsError set) when it cannot.
bool DeleteFile(std::string_view name);
// Copies a file byte for byte as a replacement of the target (ReplacementFile.h); with failIfExists
// an existing target is left alone and the copy fails.
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists);
// Creates one folder; true when it exists afterwards.
bool CreateDirectory(std::string_view name);
// The current folder as a system name; a name Windows-1250 cannot hold keeps "?" for the
// characters it lacks. Empty when it cannot be found.
std::string GetCurrentDirectory();

// The Windows error number of the last failed free file function on this thread.
std::uint32_t LastOsError();
void SetLastOsError(std::uint32_t error);

// Writes all of the data to the descriptor, going on after interruptions and short writes; false
// with errno set when it cannot.
bool WriteToDescriptor(int fd, std::string_view data);
// Reads the descriptor to its end; nothing on a read error or when it holds more than `limit`
// bytes.
std::optional<std::string> ReadFromDescriptor(int fd, std::size_t limit);

// Opens an entry of a folder (a descriptor, or AT_FDCWD for a path) without waiting, so that a
// pipe or a device in a file's place cannot hold the program up, and keeps it only when `accept`
// takes what was opened: an ordinary descriptor, or -1 with errno set (EACCES for a file refused).
int OpenWithoutWaiting(int folder, const std::string& name, int flags,
                       const std::function<bool(const struct stat&)>& accept);

// Opens a file by its system name with open(2)'s flags (a file the current file set holds for that
// name in its place); the descriptor, or -1 with `error` set to the Windows error number. With
// `regularOnly` anything but a regular file (a folder, a device, a pipe) is refused at once, never
// waited for: for files that must be read whole or written in place.
int OpenFileDescriptor(std::string_view name, int flags, std::int32_t& error,
                       bool regularOnly = false);
// The same for an operating-system name.
int OpenOsFileDescriptor(const std::string& osName, int flags, std::int32_t& error,
                         bool regularOnly = false);

}  // namespace platform
