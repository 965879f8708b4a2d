#include "model/RegistryStrings.h"

#include "platform/Registry.h"

void RegReadString(std::string_view Key, std::string_view ValueName, std::string_view Default,
                   std::string& Value) {
    Value.clear();
    platform::RegistryKey key;
    if (key.OpenKey(Key, true)) {
        if (auto text = key.ReadString(ValueName)) Value = std::move(*text);
        key.CloseKey();
    }
    if (Value.empty()) Value = std::string(Default);
}

bool RegWriteString(std::string_view Key, std::string_view ValueName, std::string_view Value) {
    platform::RegistryKey key;
    // The result reports a failed write, so a caller can tell the value was not remembered.
    const bool written = key.OpenKey(Key, true) && key.WriteString(ValueName, Value);
    key.CloseKey();
    return written;
}
