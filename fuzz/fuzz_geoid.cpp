// The geoid table reader on arbitrary file contents: no crash, no allocation beyond the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "transform/GeoidTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-geoid");
    const std::string path = folder.Write("input", data, size);
    if (path.empty()) return 0;
    if (LoadGeoidFile(path) != 0) __builtin_trap();
    if (GeoidList.size() != size / kGeoidRecordSize) __builtin_trap();
    for (const TGeoidEntry& entry : GeoidList) {
        if (entry.Name.size() > 8) __builtin_trap();
    }
    DoneGeoid();
    return 0;
}
