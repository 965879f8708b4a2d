#pragma once

#include <string_view>

namespace platform {
class IniMemoryFile;
}

// Takes the link options and the field pairs of a batch conversion from the batch configuration:
// the section named like the shapefile (file name with extension, no folder), or "DEFAULT" when
// the file has none. KOD (default "5000"), ATR, TPIDID and TXTLink come from that section; each
// slot's field is the value of the key named by its attribute number, in the section with the
// "DEFAULT" section's value as default. BTA is set. A missing file (nullptr) gives the defaults.
void ReadBatchLinkSettings(const platform::IniMemoryFile* ini, std::string_view shapeFileName);
