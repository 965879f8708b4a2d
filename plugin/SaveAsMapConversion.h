#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class TShape;
class TListaPKT;
class TListaObi;
class TBatchConfig;

// What the shapefile to MAP conversion works on: the server's open shapefile and map.
struct ShapeToMapTarget {
    TShape& Shape;
    TListaPKT& Points;
    TListaObi& Objects;
    std::string& FileName;                    // the server's MAP file name
    const TBatchConfig* Batch;                // the attached batch configuration, or nullptr
    std::function<bool()> WriteFileSettings;  // the ".cc" writer; false: not written (reported)
};

// Converts the shapefile into map objects and points, copies the dBase table when asked (the one
// the shape holds from its loading, TShape::LoadedTable, when it holds one), writes the ".cc"
// file and the version 7 MAP file, all put in place together (platform/FileSet.h).
// Mode 1: no file-name dialog, and the dBase table is transferred whatever the settings say.
// True when the MAP file was written with every record of the shapefile; failures are shown to
// the user and keep the older files. Records that could not be read leave a MAP file of those
// that could, and false after a message with the counts.
bool ConvertShapeToMap(ShapeToMapTarget& target, std::string_view mapName, std::int32_t mode);

// The MAP generator's version text: the version / 100, two decimals, current separator.
std::string MapVersionText(double libraryVersion);
