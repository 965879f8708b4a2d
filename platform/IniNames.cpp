#include "platform/IniNames.h"

namespace platform {

unsigned char IniUpperCp1250(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    switch (c) {
        case 0x9A:  // š
        case 0x9C:  // ś
        case 0x9D:  // ť
        case 0x9E:  // ž
        case 0x9F:  // ź
            return static_cast<unsigned char>(c - 0x10);
        case 0xB3:  // ł
            return 0xA3;
        case 0xB9:  // ą
            return 0xA5;
        case 0xBE:  // ľ
            return 0xBC;
        case 0xBF:  // ż
            return 0xAF;
        default:
            break;
    }
    // à..ţ map to À..Ţ, except ÷ (0xF7), which is no letter.
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    return c;
}

std::string IniFoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) c = static_cast<char>(IniUpperCp1250(static_cast<unsigned char>(c)));
    return folded;
}

bool IniNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (IniUpperCp1250(static_cast<unsigned char>(a[i])) !=
            IniUpperCp1250(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string_view IniTrim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(begin, end - begin);
}

}  // namespace platform
