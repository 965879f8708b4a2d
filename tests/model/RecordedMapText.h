#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// Written files against recorded ones (tests/data/): the file name, date and user lines of a MAP
// file differ from run to run, so only their start is kept; other files are recorded by their
// checksum. KESTREL_RECORD_EXPECTED=1 asks a test to write its recorded files instead of
// comparing (after a deliberate change of the output).
namespace recordedmap {

inline bool Recording() {
    const char* flag = std::getenv("KESTREL_RECORD_EXPECTED");
    return flag != nullptr && std::string(flag) == "1";
}

inline std::string Stable(const std::string& bytes) {
    std::string out;
    std::size_t at = 0;
    for (int line = 0; at < bytes.size(); ++line) {
        std::size_t end = bytes.find("\r\n", at);
        end = end == std::string::npos ? bytes.size() : end + 2;
        if (line == 2)
            out += ";plik->\r\n";
        else if (line == 3)
            out += ";\r\n";
        else if (line == 4)
            out += ";Operator:\r\n";
        else
            out.append(bytes, at, end - at);
        at = end;
    }
    return out;
}

// The bytes' 64-bit FNV-1a sum in hex; in a dBase table (`dbase`) the date of the last update
// counts as zeros.
inline std::string Checksum(std::string bytes, bool dbase) {
    if (dbase && bytes.size() > 3) bytes[1] = bytes[2] = bytes[3] = 0;
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

}  // namespace recordedmap
