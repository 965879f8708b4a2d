#pragma once

// glib first: mdbtools.h includes it inside extern "C", where its C++ parts cannot be declared.
#include <glib.h>
#include <mdbtools.h>

#include <string_view>

// Guards around mdbtools for a damaged database. mdbtools trusts the lengths and links the file
// holds: a table without a usage map crashes its page walk, and a property block whose records
// claim no length makes it loop or take memory without end. These checks read the same bytes
// first and refuse what mdbtools could not get through.
namespace platform {

// A table whose data pages mdbtools can walk: it has a usage map of a kind it knows.
bool WalkableTable(const MdbTableDef& table);

// Whether mdbtools can turn the block into properties: every record and every name and value in
// it has a length that moves on and stays inside the block, and every value names a known name,
// each name once in a record.
bool SoundPropertyBlock(std::string_view block);

// Reads the tables of the catalogue into the handle as mdb_read_catalog(mdb, MDB_TABLE) does,
// their properties (column formats) included, with the catalogue table's page walk and every
// property block checked first. False, with nothing read, when the catalogue does not hold
// together.
bool ReadTableCatalogue(MdbHandle* mdb);

}  // namespace platform
