#include "platform/Registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <system_error>

#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/ReplacementFile.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

std::mutex& StoreMutex() {
    static std::mutex mutex;
    return mutex;
}

// A registry of the system's few keys is a few kilobytes; anything beyond this is not one.
constexpr std::uintmax_t kRegistryFileMax = 4 * 1024 * 1024;

enum class LoadState { Loaded, Missing, Unusable };

struct Loaded {
    LoadState state = LoadState::Unusable;
    RegistryDocument document;
};

// One line on stderr per file and fault in a run.
void WarnOnce(const fs::path& file, const char* what,
              const char* outcome = "ustawienia nie są ani czytane, ani zapisywane") {
    static std::set<std::string> warned;  // guarded by StoreMutex
    const std::string line =
        "kestrel: plik ustawień " + file.string() + " " + what + "; " + outcome + "\n";
    if (!warned.insert(line).second) return;
    std::fputs(line.c_str(), stderr);
}

// Reads and parses the registry file; the caller holds StoreMutex.
Loaded Load(const fs::path& file) {
    Loaded result;
    if (file.empty()) return result;
    std::int32_t error = 0;
    const int fd = OpenOsFileDescriptor(file.string(), O_RDONLY, error, true);
    if (fd < 0) {
        if (error == kErrorFileNotFound || error == kErrorPathNotFound) {
            result.state = LoadState::Missing;
        } else {
            WarnOnce(file, "nie daje się odczytać");
        }
        return result;
    }
    struct stat info {};
    const bool known = ::fstat(fd, &info) == 0;
    const bool tooLarge = known && static_cast<std::uintmax_t>(info.st_size) > kRegistryFileMax;
    const std::optional<std::string> text =
        known && !tooLarge ? ReadFromDescriptor(fd, kRegistryFileMax) : std::nullopt;
    ::close(fd);
    if (tooLarge) {
        WarnOnce(file, "jest za duży");
        return result;
    }
    if (!text) {
        WarnOnce(file, "nie daje się odczytać");  // also when it grew too large while being read
        return result;
    }
    auto document = RegistryDocument::Parse(*text);
    if (!document) {
        WarnOnce(file, "nie jest plikiem ustawień");
        return result;
    }
    result.state = LoadState::Loaded;
    result.document = std::move(*document);
    return result;
}

// A file without a write permission for anyone: the user made the settings read-only, and they
// stay so also for root, whom the kernel would let write them. A link counts as what it leads to.
bool MarkedReadOnly(const fs::path& file) {
    struct stat info {};
    return ::stat(file.c_str(), &info) == 0 && (info.st_mode & 0222) == 0;
}

// Writes the document as the replacement of `file` (ReplacementFile.h), making its folder when
// there is none. A file that cannot be written (a read-only one, say) is left as it is, and said
// so once.
bool Save(const fs::path& file, const RegistryDocument& document) {
    std::error_code ec;
    if (file.has_parent_path()) fs::create_directories(file.parent_path(), ec);
    if (!MarkedReadOnly(file) && ReplaceFileContents(file.string(), document.Format()) == 0)
        return true;
    WarnOnce(file, "nie daje się zapisać", "ustawienia nie zostały zapisane");
    return false;
}

}  // namespace

fs::path RegistryFilePath() {
    if (const char* file = std::getenv("KESTREL_REGISTRY_FILE"); file && *file) return file;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) {
        return fs::path(config) / "kestrel" / "registry.reg";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return fs::path(home) / ".config" / "kestrel" / "registry.reg";
    }
    return {};
}

bool RegistryKey::OpenKey(std::string_view path, bool canCreate) {
    CloseKey();
    const auto normalized = NormalizeKeyPath(path);
    if (!normalized) return false;
    const fs::path file = RegistryFilePath();
    std::lock_guard lock(StoreMutex());
    Loaded loaded = Load(file);
    if (loaded.state == LoadState::Unusable) return false;
    if (!loaded.document.HasKey(*normalized)) {
        if (!canCreate) return false;
        loaded.document.CreateKey(*normalized);
        if (!Save(file, loaded.document)) return false;
    }
    open_ = true;
    path_ = *normalized;
    return true;
}

void RegistryKey::CloseKey() {
    open_ = false;
    path_.clear();
}

std::optional<RegistryValue> RegistryKey::Read(std::string_view name) const {
    if (!open_) return std::nullopt;
    std::lock_guard lock(StoreMutex());
    const Loaded loaded = Load(RegistryFilePath());
    if (loaded.state != LoadState::Loaded) return std::nullopt;
    const RegistryValue* value = loaded.document.FindValue(path_, name);
    if (!value) return std::nullopt;
    return *value;
}

bool RegistryKey::Write(RegistryValue value) {
    if (!open_) return false;
    const fs::path file = RegistryFilePath();
    std::lock_guard lock(StoreMutex());
    Loaded loaded = Load(file);
    if (loaded.state == LoadState::Unusable) return false;
    loaded.document.SetValue(path_, std::move(value));
    return Save(file, loaded.document);
}

RegValueType RegistryKey::GetDataType(std::string_view name) const {
    const auto value = Read(name);
    return value ? value->type : RegValueType::None;
}

std::optional<std::uint32_t> RegistryKey::ReadDword(std::string_view name) const {
    const auto value = Read(name);
    if (!value || value->type != RegValueType::Dword) return std::nullopt;
    return value->dword;
}

std::optional<std::string> RegistryKey::ReadString(std::string_view name) const {
    auto value = Read(name);
    if (!value || value->type != RegValueType::String) return std::nullopt;
    return std::move(value->text);
}

bool RegistryKey::WriteDword(std::string_view name, std::uint32_t value) {
    return Write(RegistryValue{std::string(name), RegValueType::Dword, value, {}});
}

bool RegistryKey::WriteString(std::string_view name, std::string_view value) {
    return Write(RegistryValue{std::string(name), RegValueType::String, 0, std::string(value)});
}

}  // namespace platform
