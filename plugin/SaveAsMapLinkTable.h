#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DbfTable.h"
#include "shape/DBaseFile.h"

// The link table of a MAP file made from a shapefile: a copy of the shapefile's dBase fields,
// followed by the record-number field TPID when the source lacks one, beside the MAP file.

// The source table's fields as its header gives them.
struct LinkTableLayout {
    std::vector<TDBFFieldDescriptor> Fields;
    std::int32_t RecordLength = 0;  // without the deletion flag
    std::int32_t TpidIndex = -1;    // position of the field named exactly "TPID", else -1
};

// The link table's name: the MAP file's folder, "map_", its name, ".dbf".
std::string LinkTableName(std::string_view mapName);

// The file name without its folder.
std::string FileNameOnly(std::string_view path);
// The folder with its trailing separator; empty for a bare name.
std::string FolderOf(std::string_view path);

// Reads the source's field descriptors with the header reader and checks each (the check warns
// about fields outside the dBase III+ limits and lets them pass). False when the file cannot be
// opened or its header announces no room for the fields it lists.
bool ReadLinkTableLayout(const std::string& sourceName, LinkTableLayout& layout);

// The same layout taken from the fields the table component reads, for a source the header reader
// cannot open (it asks for write access, which a read-only table does not give); the fields are
// checked the same way.
void LinkTableLayoutFromFields(const std::vector<platform::DbfFieldDef>& fields,
                               LinkTableLayout& layout);

// Writes the empty link table under `fileName` (in the current file set, platform/FileSet.h): the
// source's fields with their names, types, lengths and decimals, then TPID (N, 10, 0) when the
// source has none. False when the file cannot be created or written.
bool CreateLinkTable(const std::string& fileName, const LinkTableLayout& layout);

// The name of a field descriptor: its first 11 bytes up to the first zero.
std::string DescriptorName(const TDBFFieldDescriptor& descriptor);
