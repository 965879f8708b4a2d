#pragma once

#include <cstdlib>
#include <string>

// Written MAP files against recorded ones (tests/data/): the file name, date and user lines
// differ from run to run, so only their start is kept; KESTREL_RECORD_EXPECTED=1 asks a test to
// write its recorded files instead of comparing (after a deliberate change of the output).
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

}  // namespace recordedmap
