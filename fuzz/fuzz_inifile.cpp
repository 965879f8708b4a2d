// Reads arbitrary bytes as INI text, both ways the system does (in memory and as a private
// profile), and writes a key into it: reading must never fail, and a key written must read back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/IniMemoryFile.h"
#include "platform/IniNames.h"
#include "platform/IniProfileText.h"

namespace {

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return std::string(value.substr(1, value.size() - 2));
    return std::string(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(32);
    const std::string key = input.ConsumeRandomLengthString(32);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    platform::IniMemoryFile memory = platform::IniMemoryFile::FromText(text);
    memory.ReadString(section, key, "");
    memory.ReadInteger(section, key, 0);
    memory.SectionExists(section);
    for (const std::string& line : memory.ReadSectionValues(section)) {
        if (line.empty()) std::abort();  // empty lines are dropped
    }

    platform::IniProfileRead(text, section, key);
    platform::IniProfileHasSection(text, section);
    std::optional<std::string> written = platform::IniProfileWrite(text, section, key, value);
    if (written) {
        std::optional<std::string> back = platform::IniProfileRead(*written, section, key);
        if (!back || *back != Unquote(platform::IniTrim(value))) std::abort();
        if (!platform::IniProfileHasSection(*written, section)) std::abort();
    }
    return 0;
}
