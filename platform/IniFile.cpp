#include "platform/IniFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/IniProfileText.h"
#include "platform/NumberText.h"

namespace platform {
namespace {

// Reads a whole file of at most `limit` bytes; nothing when it cannot be read or is larger.
std::optional<std::string> ReadWholeFile(const std::string& name, std::size_t limit,
                                         bool& missing) {
    missing = false;
    int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        missing = (errno == ENOENT);
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) > limit) {
        ::close(fd);
        return std::nullopt;
    }
    std::string text;
    char buffer[8192];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0 || text.size() + static_cast<std::size_t>(got) > limit) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return text;
}

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t put = ::write(fd, data.data(), data.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

// Writes the text to a temporary file beside `name` and renames it over `name`.
bool ReplaceFile(const std::string& name, std::string_view text) {
    std::string pattern = name + ".XXXXXX";
    std::vector<char> path(pattern.begin(), pattern.end());
    path.push_back('\0');
    int fd = ::mkstemp(path.data());
    if (fd < 0) return false;
    struct stat old {};
    mode_t mode = 0644;
    if (::stat(name.c_str(), &old) == 0) mode = old.st_mode & 07777;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = std::rename(path.data(), name.c_str()) == 0;
    if (!ok) ::unlink(path.data());
    return ok;
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

bool IniFile::WriteStrings(const std::vector<IniWrite>& writes) {
    std::optional<std::string> text = Load();
    if (!text) return false;
    for (const IniWrite& write : writes) {
        std::optional<std::string> changed =
            IniProfileWrite(*text, write.section, write.key, write.value);
        if (!changed) return false;
        text = std::move(changed);
    }
    return ReplaceFile(fileName_, *text);
}

bool IniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
    return WriteString(section, key, std::to_string(value));
}

}  // namespace platform
