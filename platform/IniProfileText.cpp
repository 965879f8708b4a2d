#include "platform/IniProfileText.h"

#include <algorithm>
#include <utility>

#include "platform/IniNames.h"

namespace platform {
namespace {

struct Line {
    std::size_t begin = 0;  // offset of the line in the text
    std::string_view body;  // without its line end
    std::string_view end;   // "\r\n", "\n", "\r" or empty at the end of the text
};

// Walks the lines of a text one by one.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {}

    bool Next(Line& line) {
        if (pos_ >= text_.size()) return false;
        std::size_t stop = text_.find_first_of("\r\n", pos_);
        if (stop == std::string_view::npos) stop = text_.size();
        std::size_t after = stop;
        if (after < text_.size()) {
            after += (text_[after] == '\r' && after + 1 < text_.size() && text_[after + 1] == '\n')
                         ? 2
                         : 1;
        }
        line.begin = pos_;
        line.body = text_.substr(pos_, stop - pos_);
        line.end = text_.substr(stop, after - stop);
        pos_ = after;
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// The section name of a header line, or nothing for any other line.
std::optional<std::string_view> SectionOf(std::string_view body) {
    std::string_view trimmed = IniTrim(body);
    if (trimmed.empty() || trimmed.front() != '[') return std::nullopt;
    trimmed.remove_prefix(1);
    std::size_t close = trimmed.find(']');
    if (close != std::string_view::npos) trimmed = trimmed.substr(0, close);
    return IniTrim(trimmed);
}

// The key part of a key line (untrimmed, before the first '='), or nothing for other lines.
std::optional<std::string_view> RawKeyOf(std::string_view body) {
    std::string_view trimmed = IniTrim(body);
    if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
    std::size_t eq = body.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return body.substr(0, eq);
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::string_view LineEndOf(std::string_view text) {
    std::size_t stop = text.find_first_of("\r\n");
    if (stop == std::string_view::npos) return "\r\n";
    if (text[stop] == '\r') {
        return (stop + 1 < text.size() && text[stop + 1] == '\n') ? "\r\n" : "\r";
    }
    return "\n";
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::optional<std::string> IniProfileRead(std::string_view text, std::string_view section,
                                          std::string_view key) {
    section = IniTrim(section);
    key = IniTrim(key);
    if (key.empty()) return std::nullopt;
    LineReader reader(text);
    Line line;
    bool inSection = false;
    bool seen = false;
    while (reader.Next(line)) {
        if (auto name = SectionOf(line.body)) {
            if (seen) return std::nullopt;  // only the first section of the name counts
            inSection = IniNamesEqual(*name, section);
            seen = inSection;
            continue;
        }
        if (!inSection) continue;
        auto raw = RawKeyOf(line.body);
        if (raw && IniNamesEqual(IniTrim(*raw), key)) {
            return std::string(Unquote(IniTrim(line.body.substr(raw->size() + 1))));
        }
    }
    return std::nullopt;
}

bool IniProfileHasSection(std::string_view text, std::string_view section) {
    section = IniTrim(section);
    LineReader reader(text);
    Line line;
    while (reader.Next(line)) {
        auto name = SectionOf(line.body);
        if (name && IniNamesEqual(*name, section)) return true;
    }
    return false;
}

namespace {

// Whether the names and the value can stand in an INI line (IniProfileWrite); the names are
// trimmed.
bool UsableWrite(std::string_view& section, std::string_view& key, std::string_view value) {
    if (IniTrim(section).empty() || IniTrim(key).empty()) return false;
    if (HasLineBreakOrNul(section) || HasLineBreakOrNul(key) || HasLineBreakOrNul(value))
        return false;
    if (section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos)
        return false;
    section = IniTrim(section);
    key = IniTrim(key);
    return key.front() != ';' && key.front() != '[';
}

}  // namespace

std::optional<std::string> IniProfileCompose(const std::vector<IniWrite>& writes) {
    struct Section {
        std::string_view name;
        std::vector<std::pair<std::string_view, std::string_view>> keys;
    };
    std::vector<Section> sections;
    for (const IniWrite& write : writes) {
        std::string_view section = write.section;
        std::string_view key = write.key;
        if (!UsableWrite(section, key, write.value)) return std::nullopt;
        auto s = std::find_if(sections.begin(), sections.end(),
                              [&](const Section& x) { return IniNamesEqual(x.name, section); });
        if (s == sections.end()) s = sections.insert(sections.end(), Section{section, {}});
        auto k = std::find_if(s->keys.begin(), s->keys.end(),
                              [&](const auto& x) { return IniNamesEqual(x.first, key); });
        if (k == s->keys.end()) {
            s->keys.emplace_back(key, write.value);
        } else {
            k->second = write.value;
        }
    }
    std::string text;
    for (const Section& s : sections) {
        text.append("[").append(s.name).append("]\r\n");
        for (const auto& [key, value] : s.keys)
            text.append(key).append("=").append(value).append("\r\n");
    }
    return text;
}

std::optional<std::string> IniProfileWrite(std::string_view text, std::string_view section,
                                           std::string_view key, std::string_view value) {
    if (!UsableWrite(section, key, value)) return std::nullopt;

    const std::string_view eol = LineEndOf(text);
    LineReader reader(text);
    Line line;
    bool inSection = false;
    bool found = false;
    std::size_t insertAt = 0;       // after the last non-blank line of the section
    bool insertNeedsBreak = false;  // that line is the last of the text and has no line end
    while (reader.Next(line)) {
        if (auto name = SectionOf(line.body)) {
            if (found) break;
            inSection = IniNamesEqual(*name, section);
            found = inSection;
            if (inSection) {
                insertAt = line.begin + line.body.size() + line.end.size();
                insertNeedsBreak = line.end.empty();
            }
            continue;
        }
        if (!inSection) continue;
        auto raw = RawKeyOf(line.body);
        if (raw && IniNamesEqual(IniTrim(*raw), key)) {
            std::string result(text.substr(0, line.begin));
            result.append(*raw).append("=").append(value);
            result.append(text.substr(line.begin + line.body.size()));
            return result;
        }
        if (!IniTrim(line.body).empty()) {
            insertAt = line.begin + line.body.size() + line.end.size();
            insertNeedsBreak = line.end.empty();
        }
    }

    std::string keyLine(key);
    keyLine.append("=").append(value).append(eol);
    if (found) {
        std::string result(text.substr(0, insertAt));
        if (insertNeedsBreak) result.append(eol);
        result.append(keyLine);
        result.append(text.substr(insertAt));
        return result;
    }
    std::string result(text);
    if (!result.empty() && result.back() != '\n' && result.back() != '\r') result.append(eol);
    result.append("[").append(section).append("]").append(eol).append(keyLine);
    return result;
}

}  // namespace platform
