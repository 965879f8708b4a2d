#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/RegistryFile.h"

// The current user's registry (HKEY_CURRENT_USER), kept in one ".reg"-style text file
// (RegistryFile.h). Every read parses the file afresh and every write replaces it as a whole
// (ReplacementFile.h), so a failed write leaves the old file in place.
// Writes within the process are serialised; the store is not locked against other processes.
//
// A file that is not a registry file (RegistryDocument::Parse rejects it) is left untouched:
// reads fail, so callers fall back to their defaults, and writes fail; a line on stderr names the
// file once per process. A file that cannot be written (a read-only one) is read, and a line on
// stderr says once per process that the settings were not saved.
namespace platform {

// The registry file: $KESTREL_REGISTRY_FILE when set, else $XDG_CONFIG_HOME/kestrel/registry.reg,
// else ~/.config/kestrel/registry.reg. Empty when none of them can be made out.
std::filesystem::path RegistryFilePath();

// One open key, as the registry component of the system's toolkit offers it. Key paths use "\"
// and lie below HKEY_CURRENT_USER ("Software\Lumatek\..."); names are case-insensitive.
class RegistryKey {
  public:
    // Opens the key; with canCreate a missing key is created and stored. False for a path that is
    // not a valid key path, a missing key without canCreate, or a registry that cannot be read or
    // (when creating) written.
    bool OpenKey(std::string_view path, bool canCreate);
    void CloseKey();
    bool IsOpen() const { return open_; }
    const std::string& CurrentPath() const { return path_; }

    // None when the value is missing or no key is open.
    RegValueType GetDataType(std::string_view name) const;
    bool ValueExists(std::string_view name) const {
        return GetDataType(name) != RegValueType::None;
    }
    // nullopt when the value is missing or of another type.
    std::optional<std::uint32_t> ReadDword(std::string_view name) const;
    std::optional<std::string> ReadString(std::string_view name) const;

    // False when no key is open or the registry cannot be written.
    bool WriteDword(std::string_view name, std::uint32_t value);
    bool WriteString(std::string_view name, std::string_view value);

  private:
    std::optional<RegistryValue> Read(std::string_view name) const;
    bool Write(RegistryValue value);

    bool open_ = false;
    std::string path_;
};

}  // namespace platform
