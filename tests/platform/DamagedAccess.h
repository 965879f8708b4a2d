#pragma once

#include <cstddef>
#include <string>

#include "tests/platform/ScratchFolder.h"

// Damaged copies of the fixture databases, as offices receive them: the first bytes of a real
// database with one byte changed. mdbtools crashes in its catalogue reader on the first, takes
// memory without end on the second and never ends on the third.
enum class AccessDamage { Crash, EndlessMemory, EndlessLoop };

inline std::string WriteDamagedDatabase(const std::string& path, AccessDamage damage) {
    struct Recipe {
        const char* fixture;
        std::size_t keep;
        std::size_t at;
        char value;
    };
    static const Recipe kRecipes[] = {
        {"nwind.mdb", 25600, 4131, 45},
        {"DateTestDatabase.mdb", 98304, 71075, 0},
        {"DateTestDatabase.mdb", 98304, 71837, 7},
    };
    const Recipe& r = kRecipes[static_cast<int>(damage)];
    std::string bytes = ReadBytes(std::string(KESTREL_SOURCE_DIR "/tests/data/access/") + r.fixture)
                            .substr(0, r.keep);
    bytes[r.at] = r.value;
    WriteBytes(path, bytes);
    return path;
}
