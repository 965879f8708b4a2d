#include "platform/StringResources.h"

#include "platform/Cp1250.h"

namespace platform {

StringTable::StringTable(std::initializer_list<std::pair<unsigned, std::string_view>> utf8Texts) {
    for (const auto& [id, text] : utf8Texts) texts_[id] = Utf8ToCp1250(text);
}

std::string StringTable::Load(unsigned id, std::size_t bufferSize) const {
    const auto it = texts_.find(id);
    if (it == texts_.end() || bufferSize == 0) return {};
    return it->second.substr(0, bufferSize - 1);
}

std::string FormatText(std::string_view format, std::initializer_list<std::string_view> args) {
    std::string result;
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == 's') {
                if (next != args.end()) result.append(*next++);
                ++i;
                continue;
            }
            if (format[i + 1] == '%') {
                result += '%';
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return result;
}

}  // namespace platform
