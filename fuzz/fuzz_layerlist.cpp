// Feeds arbitrary bytes to the layer-list reader through a file, and every line to the line parser;
// a parsed line written back must parse to the same entry.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzFolder.h"
#include "plugin/LayerListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-layerlist");
    const std::string path = folder.Write("input", data, size);
    if (path.empty()) return 0;

    const LayerListReadResult read = ReadLayerListFile(path);
    if (read.Entries.size() > kLayerListMaxLines) __builtin_trap();

    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto entry = ParseLayerListLine(text.substr(0, 255));
    if (entry && entry->FileName.find(';') == std::string::npos && !entry->FileName.empty()) {
        const auto again = ParseLayerListLine(FormatLayerListLine(entry->FileName, entry->Visible));
        if (!again || again->Visible != entry->Visible) __builtin_trap();
    }
    return 0;
}
