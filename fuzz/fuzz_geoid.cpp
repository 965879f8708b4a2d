// The geoid table reader on arbitrary file contents: no crash, no allocation beyond the file.
#include <cstddef>
#include <cstdint>

#include "fuzz/FuzzInputFile.h"
#include "transform/GeoidTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzInputFile file("fuzz_geoid");
    if (!file.Write(data, size)) return 0;
    if (LoadGeoidFile(file.Path()) != 0) __builtin_trap();
    if (GeoidList.size() != size / kGeoidRecordSize) __builtin_trap();
    for (const TGeoidEntry& entry : GeoidList) {
        if (entry.Name.size() > 8) __builtin_trap();
    }
    DoneGeoid();
    return 0;
}
