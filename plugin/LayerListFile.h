#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/LayerList.h"

// The layer list file (".spr"): Windows-1250 text, one line per layer in drawing order, each
// the full .shp name, ';' and 1 (visible) or 0 (hidden), lines ended by CR LF.

struct LayerListEntry {
    std::string FileName;
    bool Visible = true;
    bool operator==(const LayerListEntry&) const = default;
};

// Most lines one list file brings in; the rest of a longer file is left out (a file of
// garbage must not create layers without end).
inline constexpr std::size_t kLayerListMaxLines = 10000;

// One line (already cut to 255 characters by the reader):
// - with a ';': the name is the text before the first ';', and the layer is hidden only when
//   the rest is the integer 0 (a rest that is no integer counts as 1, visible);
// - without a ';': the whole line names the file, visible (the user listed a shapefile);
// - empty or blank: no layer (nullopt).
std::optional<LayerListEntry> ParseLayerListLine(std::string_view line);

// The line written for a layer: name;1 or name;0.
std::string FormatLayerListLine(std::string_view fileName, bool visible);

struct LayerListReadResult {
    std::int32_t Error = 0;  // the operating system's error number; 0 when read to the end
    std::vector<LayerListEntry> Entries;
    bool Truncated = false;  // more than kLayerListMaxLines lines: the rest was left out
};

// Reads a whole list file. On an error no entries are returned.
LayerListReadResult ReadLayerListFile(const std::string& fileName);

// Writes the list's layers in list order, replacing the file only once all of it is written;
// returns the error number (0 success).
std::int32_t WriteLayerListFile(const std::string& fileName, const TLayerList& list);
