#pragma once

#include <cstdint>

#include "model/KWZPrototyp.h"

// One call: the MAP file named by the first handle becomes one shapefile of geographic
// coordinates named by the second; SourceSystem is the outside library's number of the MAP
// file's coordinate system. The conversion settings are the library's own, with every attribute
// field, one file for all objects, closed polygons and no symbol-file names forced for the length
// of the call and put back whatever happens. The handles stay the caller's. 0 when the shapefile
// was written, -1 when it was not (the reason was shown to the user).
std::int32_t KonwersjaPlikuShpMap(KwzHandle MapName, KwzHandle ShpName, std::int32_t SourceSystem);
