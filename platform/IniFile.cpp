#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/FileSystem.h"
#include "platform/IniProfileText.h"
#include "platform/NumberText.h"
#include "platform/OsError.h"
#include "platform/ReplacementFile.h"

namespace platform {
namespace {

// Reads a whole file of at most `limit` bytes; nothing when it cannot be read or is larger. A
// folder, a device or a pipe in the file's place is refused as it is opened, never waited for.
std::optional<std::string> ReadWholeFile(const std::string& name, std::size_t limit,
                                         bool& missing) {
    missing = false;
    std::int32_t error = 0;
    const int fd = OpenFileDescriptor(name, O_RDONLY, error, true);
    if (fd < 0) {
        missing = error == kErrorFileNotFound || error == kErrorPathNotFound;
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || static_cast<std::uint64_t>(info.st_size) > limit) {
        ::close(fd);
        return std::nullopt;
    }
    std::optional<std::string> text = ReadFromDescriptor(fd, limit);
    ::close(fd);
    return text;
}

// Writes the text as the replacement of the file (ReplacementFile.h).
bool ReplaceFile(const std::string& name, std::string_view text) {
    return !name.empty() && ReplaceFileContents(OsName(name), text) == 0;
}

}  // namespace

std::optional<std::string> IniFile::Load() const {
    bool missing = false;
    std::optional<std::string> text = ReadWholeFile(fileName_, kMaxFileSize, missing);
    if (!text && missing) return std::string();
    return text;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    std::optional<std::string> text = Load();
    if (!text) return std::string(defaultValue);
    std::optional<std::string> value = IniProfileRead(*text, section, key);
    return value ? std::move(*value) : std::string(defaultValue);
}

std::int32_t IniFile::ReadInteger(std::string_view section, std::string_view key,
                                  std::int32_t defaultValue) const {
    std::optional<std::string> text = Load();
    if (!text) return defaultValue;
    std::optional<std::string> value = IniProfileRead(*text, section, key);
    if (!value) return defaultValue;
    return StrToIntStrict(*value).value_or(defaultValue);
}

bool IniFile::SectionExists(std::string_view section) const {
    std::optional<std::string> text = Load();
    return text && IniProfileHasSection(*text, section);
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::optional<std::string> text = Load();
    if (!text) return false;
    std::optional<std::string> changed = IniProfileWrite(*text, section, key, value);
    return changed && ReplaceFile(fileName_, *changed);
}

bool IniFile::WriteStrings(const std::vector<IniWrite>& writes, bool keepSame) {
    const std::optional<std::string> loaded = Load();
    if (!loaded) return false;
    // A new file, or one that holds just what the writes make of a new one (and so stays as it
    // is under them), is settled by composing the text once.
    if (loaded->empty() || keepSame) {
        const std::optional<std::string> composed = IniProfileCompose(writes);
        if (!composed) return false;
        if (loaded->empty()) return ReplaceFile(fileName_, *composed);
        if (*composed == *loaded) return true;
    }
    std::string text = *loaded;
    for (const IniWrite& write : writes) {
        std::optional<std::string> changed =
            IniProfileWrite(text, write.section, write.key, write.value);
        if (!changed) return false;
        text = std::move(*changed);
    }
    return (keepSame && text == *loaded) || ReplaceFile(fileName_, text);
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

}  // namespace platform
