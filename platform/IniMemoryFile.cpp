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
            if (added) sections_.push_back(Section{std::string(name), {}});
            current = &sections_[it->second];
            continue;
        }
        if (current == nullptr) continue;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) {
            current->lines.emplace_back(line);
        } else {
            std::string kept(IniTrim(line.substr(0, eq)));
            kept.append("=").append(IniTrim(line.substr(eq + 1)));
            current->lines.push_back(std::move(kept));
        }
    }
}

const IniMemoryFile::Section* IniMemoryFile::Find(std::string_view section) const {
    auto it = index_.find(IniFoldName(section));
    return it == index_.end() ? nullptr : &sections_[it->second];
}

std::string IniMemoryFile::ReadString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
    const Section* s = Find(section);
    if (s == nullptr) return std::string(defaultValue);
    for (const std::string& line : s->lines) {
        std::size_t eq = line.find('=');
        if (eq != std::string::npos && IniNamesEqual(std::string_view(line).substr(0, eq), key))
            return line.substr(eq + 1);
    }
    return std::string(defaultValue);
}

std::int32_t IniMemoryFile::ReadInteger(std::string_view section, std::string_view key,
                                        std::int32_t defaultValue) const {
    const Section* s = Find(section);
    if (s == nullptr) return defaultValue;
    for (const std::string& line : s->lines) {
        std::size_t eq = line.find('=');
        if (eq != std::string::npos && IniNamesEqual(std::string_view(line).substr(0, eq), key))
            return StrToIntStrict(std::string_view(line).substr(eq + 1)).value_or(defaultValue);
    }
    return defaultValue;
}

bool IniMemoryFile::SectionExists(std::string_view section) const {
    return Find(section) != nullptr;
}

std::vector<std::string> IniMemoryFile::ReadSectionValues(std::string_view section) const {
    const Section* s = Find(section);
    return s == nullptr ? std::vector<std::string>() : s->lines;
}

}  // namespace platform
