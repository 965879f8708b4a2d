#include "plugin/SaveAsMapLinkTable.h"

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

std::string LinkTableWorkName(std::string_view linkName) {
    return platform::ChangeFileExt(linkName, "") + ".~tmp.dbf";
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
    return platform::FileExists(table->FileName());
}
