#include "shape/BatchConvers.h"

#include <algorithm>
#include <optional>

#include "platform/NumberText.h"
#include "platform/ShortString.h"

namespace {

// A whole number that fits a dBase descriptor byte, or nothing.
std::optional<std::int32_t> DescriptorByte(std::string_view text) {
    std::optional<std::int32_t> value = platform::StrToIntStrict(text);
    if (!value || *value < 0 || *value > 255) return std::nullopt;
    return value;
}

}  // namespace

TBatchConvers::TBatchConvers(std::string_view fieldName, std::string_view fieldTemplate)
    : fieldName_(platform::Cut(fieldName)), template_(platform::Cut(fieldTemplate)) {
    ParseHead();
}

void TBatchConvers::ParseHead() {
    const std::size_t start = template_.find('!');
    if (start == std::string::npos) return;
    std::size_t stop = template_.find_first_of("#$", start);
    if (stop == std::string::npos) stop = template_.size();
    const std::string head = template_.substr(start, stop - start);
    template_.erase(start, stop - start);

    if (head.size() >= 2) fieldType_ = head[1];
    const std::string_view rest =
        std::string_view(head).substr(std::min<std::size_t>(2, head.size()));
    const std::size_t colon = rest.find(':');
    if (colon == std::string_view::npos) return;
    if (auto length = DescriptorByte(rest.substr(0, colon))) length_ = *length;
    if (auto decimals = DescriptorByte(rest.substr(colon + 1))) decimals_ = *decimals;
}

void TBatchConvers::GetFieldDef(std::string& fieldName, char& fieldType, std::int32_t& length,
                                std::int32_t& decimals) const {
    fieldName = fieldName_;
    fieldType = fieldType_;
    length = length_;
    decimals = decimals_;
}

std::string TBatchConvers::Expand(const TBatchAttributes& attributes, std::string_view text) const {
    std::string result;
    std::size_t start = template_.find_first_of("#$");
    while (start != std::string::npos) {
        const std::size_t next = template_.find_first_of("#$", start + 1);
        const std::size_t stop = next == std::string::npos ? template_.size() : next;
        result += ExpandBatchToken(std::string_view(template_).substr(start, stop - start),
                                   attributes, text);
        start = next;
    }
    return result;
}

std::string ExpandBatchToken(std::string_view token, const TBatchAttributes& attributes,
                             std::string_view text) {
    if (token.empty()) return {};
    const std::string_view body = token.substr(1);
    if (token.front() == '#') {
        std::optional<std::int32_t> code = platform::StrToIntStrict(body);
        if (!code) return {};
        return std::string(1, static_cast<char>(static_cast<unsigned char>(*code % 256 + 256)));
    }
    if (token.front() != '$') return {};

    const std::size_t dot = body.find('.');
    const std::string_view source = body.substr(0, dot);
    std::string_view value;
    if (source == "TXT") {
        value = text;
    } else if (source.size() == 2 && source[0] == 'A' && source[1] >= '1' && source[1] <= '6') {
        value = attributes[static_cast<std::size_t>(source[1] - '1')];
    } else {
        return {};
    }
    if (dot == std::string_view::npos) return std::string(value);
    return BatchKeyedValue(value, body.substr(dot + 1));
}

std::string BatchKeyedValue(std::string_view value, std::string_view key) {
    std::string marker;
    marker.reserve(key.size() + 2);
    marker.append(" ").append(key).append("=");
    const std::size_t at = value.find(marker);
    if (at == std::string_view::npos) return {};
    std::string_view rest = value.substr(at + marker.size());
    if (!rest.empty() && rest.front() == '[') {
        rest.remove_prefix(1);
        return std::string(rest.substr(0, rest.find(']')));
    }
    return std::string(rest.substr(0, rest.find(' ')));
}
