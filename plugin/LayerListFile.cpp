#include "plugin/LayerListFile.h"

#include "platform/NumberText.h"
#include "platform/OsError.h"
#include "platform/ShortString.h"
#include "platform/TextFile.h"

std::optional<LayerListEntry> ParseLayerListLine(std::string_view line) {
    if (line.find_first_not_of(" \t") == std::string_view::npos) return std::nullopt;
    const std::size_t semicolon = line.find(';');
    if (semicolon == std::string_view::npos) return LayerListEntry{platform::Cut(line), true};
    const std::optional<std::int32_t> number = platform::StrToIntStrict(line.substr(semicolon + 1));
    return LayerListEntry{platform::Cut(line.substr(0, semicolon)), number.value_or(1) != 0};
}

std::string FormatLayerListLine(std::string_view fileName, bool visible) {
    std::string line(fileName);
    line += visible ? ";1" : ";0";
    return line;
}

LayerListReadResult ReadLayerListFile(const std::string& fileName) {
    LayerListReadResult result;
    platform::TextFileReader reader;
    result.Error = reader.Open(fileName);
    if (result.Error != 0) return result;
    std::string line;
    std::size_t lines = 0;
    while (reader.ReadLine(line)) {
        if (lines == kLayerListMaxLines) {
            result.Truncated = true;
            break;
        }
        ++lines;
        if (auto entry = ParseLayerListLine(line)) result.Entries.push_back(std::move(*entry));
    }
    result.Error = reader.Error();
    reader.Close();
    if (result.Error != 0) {
        result.Entries.clear();
        result.Truncated = false;
    }
    return result;
}

std::int32_t WriteLayerListFile(const std::string& fileName, const TLayerList& list) {
    platform::TextFileWriter writer;
    if (const std::int32_t error = writer.Create(fileName); error != 0) return error;
    for (int i = 0; i < list.Count(); ++i) {
        const TSHPLayer* layer = list.Objects(i);
        if (layer == nullptr) continue;
        writer.WriteLine(FormatLayerListLine(layer->FileName, layer->Visible));
    }
    // A failed writing removes its temporary file and leaves an existing list as it was.
    const std::int32_t error = writer.Close();
    if (error != 0) writer.Abandon();
    return error;
}
