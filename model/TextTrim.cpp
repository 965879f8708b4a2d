#include "model/TextTrim.h"

std::string TrimLeadingSpaces(std::string_view Text) {
    if (Text.size() <= 1) return std::string(Text);
    const std::size_t first = Text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(Text.substr(first));
}

std::string TrimTrailingSpaces(std::string_view Text) {
    if (Text.size() <= 1) return std::string(Text);
    const std::size_t last = Text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(Text.substr(0, last + 1));
}

std::string CollapseSpaces(std::string_view Text) {
    std::string result;
    result.reserve(Text.size());
    for (const char c : Text) {
        if (c == ' ' && !result.empty() && result.back() == ' ') continue;
        result.push_back(c);
    }
    return result;
}

std::string TrimText(std::string_view Text) {
    std::string result(Text);
    if (!result.empty()) result = CollapseSpaces(result);
    if (!result.empty()) result = TrimTrailingSpaces(result);
    if (!result.empty()) result = TrimLeadingSpaces(result);
    return result;
}
