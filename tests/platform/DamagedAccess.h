#pragma once

#include <cstddef>
#include <fstream>
#include <iterator>
#include <string>

// Damaged copies of the fixture databases, as offices receive them: the first bytes of a real
// database with one byte changed. mdbtools crashes in its catalogue reader on the first (no usage
// map), takes memory without end on the second and never ends on the third (property records of
// no length); the Access reader refuses all three.
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
    std::ifstream in(std::string(KESTREL_SOURCE_DIR "/tests/data/access/") + r.fixture,
                     std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    bytes.resize(r.keep);
    bytes[r.at] = r.value;
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}
