#include "platform/IniMemoryFile.h"

#include "platform/BinaryFile.h"
#include "platform/IniNames.h"
#include "platform/NumberText.h"

namespace platform {

IniMemoryFile::IniMemoryFile(const std::string& fileName) {
    BinaryFile in;
    if (!in.Open(fileName, BinaryFile::Mode::Read)) return;
    const std::int64_t size = in.Size();
    if (size <= 0 || static_cast<std::uint64_t>(size) > kMaxFileSize) return;
    std::string text(static_cast<std::size_t>(size), '\0');
    if (in.Read(text.data(), text.size()) != text.size()) return;
    Parse(text);
}

IniMemoryFile IniMemoryFile::FromText(std::string_view text) {
    IniMemoryFile file;
    file.Parse(text);
    return file;
}

void IniMemoryFile::Parse(std::string_view text) {
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t stop = text.find_first_of("\r\n", pos);
        if (stop == std::string_view::npos) stop = text.size();
        std::string_view line = IniTrim(text.substr(pos, stop - pos));
        pos = stop + 1;
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
            std::string_view name = IniTrim(line.substr(1, line.size() - 2));
            auto [it, added] = index_.try_emplace(IniFoldName(name), sections_.size());
            if (added) sections_.push_back(Section{std::string(name), {}, {}});
            current = &sections_[it->second];
            continue;
        }
        if (current == nullptr) continue;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            current->lines.emplace_back(line);
        } else {
            std::string kept(IniTrim(line.substr(0, eq)));
            current->keys.try_emplace(IniFoldName(kept), current->lines.size());
            kept.append("=").append(IniTrim(line.substr(eq + 1)));
            current->lines.push_back(std::move(kept));
        }
    }
}

const IniMemoryFile::Section* IniMemoryFile::Find(std::string_view section) const {
    auto it = index_.find(IniFoldName(section));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

const std::string* IniMemoryFile::Value(std::string_view section, std::string_view key,
                                        std::string_view& value) const {
    const Section* s = Find(section);
    if (s == nullptr) return nullptr;
    auto it = s->keys.find(IniFoldName(key));
    if (it == s->keys.end()) return nullptr;
    const std::string& line = s->lines[it->second];
    value = std::string_view(line).substr(line.find('=') + 1);
    return &line;
}

std::string IniMemoryFile::ReadString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
    std::string_view value;
    return std::string(Value(section, key, value) ? value : defaultValue);
}

std::int32_t IniMemoryFile::ReadInteger(std::string_view section, std::string_view key,
                                        std::int32_t defaultValue) const {
    std::string_view value;
    if (!Value(section, key, value)) return defaultValue;
    return StrToIntStrict(value).value_or(defaultValue);
}

bool IniMemoryFile::SectionExists(std::string_view section) const {
    return Find(section) != nullptr;
}

std::vector<std::string> IniMemoryFile::ReadSectionValues(std::string_view section) const {
    const Section* s = Find(section);
    return s == nullptr ? std::vector<std::string>() : s->lines;
}

}  // namespace platform
