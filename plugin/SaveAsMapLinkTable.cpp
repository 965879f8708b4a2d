#include "plugin/SaveAsMapLinkTable.h"

#include <algorithm>
#include <cstring>

#include "platform/BinaryFile.h"
#include "plugin/AttributeChoice.h"

namespace {

constexpr std::uint8_t kTpidLength = 10;

}  // namespace

std::string FileNameOnly(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string LinkTableName(std::string_view mapName) {
    return platform::ChangeFileExt(FolderOf(mapName) + "map_" + FileNameOnly(mapName), ".dbf");
}

std::string DescriptorName(const TDBFFieldDescriptor& descriptor) {
    const char* raw = reinterpret_cast<const char*>(descriptor.data());
    return std::string(raw, strnlen(raw, 11));
}

bool ReadLinkTableLayout(const std::string& sourceName, LinkTableLayout& layout) {
    layout = LinkTableLayout{};
    std::int32_t fieldCount = 0, recordCount = 0, recordLength = 0;
    auto source = TSimpleDBFile::OpenExisting(sourceName, fieldCount, recordCount, recordLength);
    if (!source->IsOpen() || fieldCount < 0 || recordLength < 1) return false;
    layout.RecordLength = recordLength - 1;
    std::int32_t fieldsLength = 0;
    layout.Fields.reserve(static_cast<std::size_t>(fieldCount));
    for (std::int32_t i = 0; i < fieldCount; ++i) {
        TDBFFieldDescriptor descriptor{};
        source->ReadFieldDescriptor(descriptor);
        source->CheckFieldDescriptor(descriptor);
        if (layout.TpidIndex < 0 && DescriptorName(descriptor) == kTpidField) layout.TpidIndex = i;
        fieldsLength += descriptor[16] +
                        (descriptor[11] == 'N' || descriptor[11] == 'F' ? 0 : 256 * descriptor[17]);
        layout.Fields.push_back(descriptor);
    }
    return fieldsLength <= layout.RecordLength;
}

void LinkTableLayoutFromFields(const std::vector<platform::DbfFieldDef>& fields,
                               LinkTableLayout& layout) {
    layout = LinkTableLayout{};
    std::int32_t unused = 0;
    const auto checker = TSimpleDBFile::OpenExisting("", unused, unused, unused);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const platform::DbfFieldDef& f = fields[i];
        TDBFFieldDescriptor d{};
        std::memcpy(d.data(), f.name.data(), std::min<std::size_t>(f.name.size(), 11));
        d[11] = static_cast<std::uint8_t>(f.type);
        d[16] = static_cast<std::uint8_t>(f.length & 0xFF);
        // Text fields longer than 255 keep the high byte of their length where decimals go.
        const bool numeric = f.type == 'N' || f.type == 'F';
        d[17] = static_cast<std::uint8_t>(numeric ? f.decimals : (f.length >> 8) & 0xFF);
        checker->CheckFieldDescriptor(d);
        if (layout.TpidIndex < 0 && f.name == kTpidField)
            layout.TpidIndex = static_cast<std::int32_t>(i);
        layout.RecordLength += f.length;
        layout.Fields.push_back(d);
    }
}

bool CreateLinkTable(const std::string& fileName, const LinkTableLayout& layout) {
    const bool addTpid = layout.TpidIndex < 0;
    const auto fields = static_cast<std::int32_t>(layout.Fields.size()) + (addTpid ? 1 : 0);
    const std::int32_t recordLength = layout.RecordLength + (addTpid ? kTpidLength : 0);
    if (recordLength > 0xFFFF - 1 || 32 * fields + 33 > 0x7FFF) return false;
    auto table = TSimpleDBFile::CreateNew(fileName, 3, fields, 0, recordLength);
    if (!table->IsOpen()) return false;
    for (const TDBFFieldDescriptor& d : layout.Fields)
        table->AddField(DescriptorName(d), static_cast<char>(d[11]), d[16], d[17]);
    if (addTpid) table->AddField(std::string(kTpidField), 'N', kTpidLength, 0);
    return table->Complete();
}
