#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/KWZPrototypTP.h"
#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "model/Symbols.h"
#include "shape/Shape.h"

// The MAP to shapefile export: one shapefile set (.shp, .shx, .dbf) per object code from 1000
// to 5999, or one set for the whole map, under ConversionSettings and the attribute choice.

// The parts of a server object the export reads and changes.
struct TMapExport {
    TListaPKT* Points;
    TListaObi* Objects;
    std::unique_ptr<TShape>& Shape;       // replaced by each layer written; holds the last one
    std::unique_ptr<TListaSYM>& Symbols;  // filled from the symbol file when names come from it
    bool BatchLoaded;
    const std::string& BatchFile;
    std::string& OutputFolder;  // keeps a folder chosen in the dialog
    const std::string& MapFileName;
};

// Deletes every object of kind 4 or 5 with at most one vertex; returns how many.
std::int32_t DropSinglePointObjects(TListaObi& Objects);
std::int32_t DropSinglePointObjects(TKWZPrototypTP& Server);
// Gives every object of kind 5 with more than one vertex whose last vertex is not its first
// the kind 4; returns how many.
std::int32_t DemoteUnclosedPolygons(TListaObi& Objects);
std::int32_t DemoteUnclosedPolygons(TKWZPrototypTP& Server);

// The whole export: preparation, then the per-code or the one-file export. Problems reach the
// user as message boxes; every way out leaves the default cursor and KNW as it was. True when the
// export wrote what it should: at least one shapefile set, and every set it began (each set's
// .shp, .shx, style file and table are put in place together, or not at all). A map without an
// object to export, and a set whose name does not fit a short string, fail with a message.
bool ExportMapFiles(const TMapExport& Job);

// The two exports on their own, without the preparation (the cursor is left to the caller).
// Per code, codes that share a layer name share its set when their records and tables agree (a
// name that would leave the output folder is refused); a code that does not fit is written under
// its own number, with a message.
bool ExportPerCode(const TMapExport& Job);
bool ExportOneFile(const TMapExport& Job);
