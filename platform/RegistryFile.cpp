#include "platform/RegistryFile.h"

#include <algorithm>
#include <cstdio>

namespace platform {
namespace {

constexpr std::string_view kRoot = "HKEY_CURRENT_USER";
constexpr std::string_view kHeaders[] = {"REGEDIT4", "Windows Registry Editor Version 5.00"};

// Upper case of a Windows-1250 byte: ASCII letters and the accented letters of the code page.
unsigned char FoldByte(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c != 0xF7 && c != 0xFF) return static_cast<unsigned char>(c - 0x20);
    switch (c) {
        case 0x9A:
            return 0x8A;  // š
        case 0x9C:
            return 0x8C;  // ś
        case 0x9D:
            return 0x8D;  // ť
        case 0x9E:
            return 0x8E;  // ž
        case 0x9F:
            return 0x8F;  // ź
        case 0xB3:
            return 0xA3;  // ł
        case 0xB9:
            return 0xA5;  // ą
        case 0xBA:
            return 0xAA;  // ş
        case 0xBE:
            return 0xBC;  // ľ
        case 0xBF:
            return 0xAF;  // ż
        default:
            return c;
    }
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldByte(static_cast<unsigned char>(x)) ==
                      FoldByte(static_cast<unsigned char>(y));
           });
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string_view TrimLeft(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    return s;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted text at the start of `s` (which begins with a quote); on success removes it
// from `s`.
std::optional<std::string> TakeQuoted(std::string_view& s) {
    std::string out;
    std::size_t i = 1;
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return out;
        }
        if (c != '\\') {
            out.push_back(c);
            ++i;
            continue;
        }
        if (i + 1 >= s.size()) return std::nullopt;
        const char e = s[i + 1];
        if (e == '\\' || e == '"') {
            out.push_back(e);
            i += 2;
        } else if (e == 'x' && i + 3 < s.size() && HexDigit(s[i + 2]) >= 0 &&
                   HexDigit(s[i + 3]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(s[i + 2]) * 16 + HexDigit(s[i + 3])));
            i += 4;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::string Quote(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\\' || c == '"') {
            out.push_back('\\');
            out.push_back(c);
        } else if (u < 0x20 || u == 0x7F) {
            char buf[5];
            std::snprintf(buf, sizeof buf, "\\x%02X", u);
            out += buf;
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
    return out;
}

bool StartsWithFolded(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

// A value line: "name"=data or @=data. nullopt when the line is not one.
std::optional<RegistryValue> ParseValueLine(std::string_view line) {
    RegistryValue value;
    if (line.starts_with('@')) {
        line.remove_prefix(1);
    } else if (line.starts_with('"')) {
        auto name = TakeQuoted(line);
        if (!name) return std::nullopt;
        value.name = std::move(*name);
    } else {
        return std::nullopt;
    }
    line = TrimLeft(line);
    if (!line.starts_with('=')) return std::nullopt;
    line = TrimLeft(line.substr(1));

    if (line.starts_with('"')) {
        std::string_view rest = line;
        auto text = TakeQuoted(rest);
        if (text && rest.empty()) {
            value.type = RegValueType::String;
            value.text = std::move(*text);
            return value;
        }
    } else if (StartsWithFolded(line, "dword:")) {
        const std::string_view digits = line.substr(6);
        if (!digits.empty() && digits.size() <= 8 &&
            std::all_of(digits.begin(), digits.end(), [](char c) { return HexDigit(c) >= 0; })) {
            std::uint32_t n = 0;
            for (const char c : digits) n = n * 16 + static_cast<std::uint32_t>(HexDigit(c));
            value.type = RegValueType::Dword;
            value.dword = n;
            return value;
        }
    }
    value.type = RegValueType::Other;
    value.text = std::string(line);
    return value;
}

std::string FormatValue(const RegistryValue& value) {
    std::string out = value.name.empty() ? "@" : Quote(value.name);
    out.push_back('=');
    switch (value.type) {
        case RegValueType::String:
            out += Quote(value.text);
            break;
        case RegValueType::Dword: {
            char buf[16];
            std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<unsigned>(value.dword));
            out += buf;
            break;
        }
        default:
            out += value.text;
            break;
    }
    return out;
}

// The key path of a section header "[HKEY_CURRENT_USER\...]"; nullopt for any other header.
std::optional<std::string> SectionPath(std::string_view line) {
    if (!line.starts_with('[') || !line.ends_with(']') || line.size() < 2) return std::nullopt;
    std::string_view inner = line.substr(1, line.size() - 2);
    if (!StartsWithFolded(inner, kRoot)) return std::nullopt;
    inner.remove_prefix(kRoot.size());
    if (inner.empty()) return std::string();
    if (!inner.starts_with('\\')) return std::nullopt;
    inner.remove_prefix(1);
    if (inner.empty() || inner.ends_with('\\')) return std::nullopt;
    return NormalizeKeyPath(inner);
}

}  // namespace

std::string FoldRegistryName(std::string_view name) {
    std::string out(name);
    for (char& c : out) c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
    return out;
}

std::optional<std::string> NormalizeKeyPath(std::string_view path) {
    while (path.starts_with('\\')) path.remove_prefix(1);
    while (path.ends_with('\\')) path.remove_suffix(1);
    if (path.find("\\\\") != std::string_view::npos) return std::nullopt;
    if (std::any_of(path.begin(), path.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
        return std::nullopt;
    }
    return std::string(path);
}

std::optional<RegistryDocument> RegistryDocument::Parse(std::string_view text) {
    RegistryDocument doc;
    bool headerSeen = false;
    Section* current = nullptr;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view raw = TrimRight(text.substr(pos, end - pos));
        pos = end + 1;
        const std::string_view line = TrimLeft(raw);
        if (line.empty()) continue;

        if (!headerSeen) {
            std::string_view first = line;
            if (first.starts_with("\xEF\xBB\xBF")) first.remove_prefix(3);  // a UTF-8 mark
            if (std::find(std::begin(kHeaders), std::end(kHeaders), first) == std::end(kHeaders)) {
                return std::nullopt;
            }
            doc.header_ = std::string(first);
            headerSeen = true;
            continue;
        }

        if (line.starts_with('[')) {
            const auto path = SectionPath(line);
            if (path) {
                current = doc.FindSection(*path);
                if (!current) current = &doc.AddSection(Section{true, *path, {}, {}, {}});
            } else {
                current = &doc.AddSection(Section{false, {}, std::string(raw), {}, {}});
            }
            continue;
        }

        if (!current) {
            doc.preamble_.emplace_back(raw);
            continue;
        }
        if (current->readable) {
            if (auto value = ParseValueLine(line)) {
                PutValue(*current, std::move(*value));
                continue;
            }
        }
        current->entries.push_back(Entry{true, std::string(raw), {}});
    }
    return doc;
}

std::string RegistryDocument::Format() const {
    std::string out = header_ + "\n\n";
    for (const auto& line : preamble_) out += line + "\n";
    if (!preamble_.empty()) out += "\n";
    for (const auto& section : sections_) {
        if (section.readable) {
            out += "[" + std::string(kRoot);
            if (!section.path.empty()) out += "\\" + section.path;
            out += "]\n";
        } else {
            out += section.header + "\n";
        }
        for (const auto& entry : section.entries) {
            out += entry.verbatim ? entry.line : FormatValue(entry.value);
            out += "\n";
        }
        out += "\n";
    }
    return out;
}

RegistryDocument::Section* RegistryDocument::FindSection(std::string_view normalizedPath) {
    const auto it = sectionIndex_.find(FoldRegistryName(normalizedPath));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

RegistryDocument::Section& RegistryDocument::AddSection(Section section) {
    if (section.readable) sectionIndex_.emplace(FoldRegistryName(section.path), sections_.size());
    sections_.push_back(std::move(section));
    return sections_.back();
}

const RegistryDocument::Section* RegistryDocument::FindSection(
    std::string_view normalizedPath) const {
    return const_cast<RegistryDocument*>(this)->FindSection(normalizedPath);
}

bool RegistryDocument::HasKey(std::string_view normalizedPath) const {
    if (normalizedPath.empty()) return true;
    for (const auto& section : sections_) {
        if (!section.readable) continue;
        const std::string_view path = section.path;
        if (SameName(path, normalizedPath)) return true;
        if (path.size() > normalizedPath.size() && path[normalizedPath.size()] == '\\' &&
            SameName(path.substr(0, normalizedPath.size()), normalizedPath)) {
            return true;
        }
    }
    return false;
}

void RegistryDocument::CreateKey(std::string_view normalizedPath) {
    if (!FindSection(normalizedPath)) {
        AddSection(Section{true, std::string(normalizedPath), {}, {}, {}});
    }
}

const RegistryValue* RegistryDocument::FindValue(std::string_view normalizedPath,
                                                 std::string_view name) const {
    const Section* section = FindSection(normalizedPath);
    if (!section) return nullptr;
    const auto it = section->valueIndex.find(FoldRegistryName(name));
    return it == section->valueIndex.end() ? nullptr : &section->entries[it->second].value;
}

void RegistryDocument::PutValue(Section& section, RegistryValue value) {
    const auto [it, added] =
        section.valueIndex.emplace(FoldRegistryName(value.name), section.entries.size());
    if (added) {
        section.entries.push_back(Entry{false, {}, std::move(value)});
        return;
    }
    RegistryValue& old = section.entries[it->second].value;
    value.name = std::move(old.name);  // the name keeps the case it was created with
    old = std::move(value);
}

void RegistryDocument::SetValue(std::string_view normalizedPath, RegistryValue value) {
    CreateKey(normalizedPath);
    PutValue(*FindSection(normalizedPath), std::move(value));
}

std::size_t RegistryDocument::ValueCount() const {
    std::size_t n = 0;
    for (const auto& section : sections_) {
        n += static_cast<std::size_t>(std::count_if(section.entries.begin(), section.entries.end(),
                                                    [](const Entry& e) { return !e.verbatim; }));
    }
    return n;
}

std::size_t RegistryDocument::VerbatimLineCount() const {
    std::size_t n = preamble_.size();
    for (const auto& section : sections_) {
        n += (section.readable ? 0 : 1) +
             static_cast<std::size_t>(std::count_if(section.entries.begin(), section.entries.end(),
                                                    [](const Entry& e) { return e.verbatim; }));
    }
    return n;
}

}  // namespace platform
