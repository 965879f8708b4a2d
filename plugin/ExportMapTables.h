#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/Obiekt.h"
#include "shape/BatchConfig.h"

// The attribute tables (.dbf) of the MAP to shapefile export: the plain fields chosen in the
// attribute choice, or the fields that a batch configuration's rules define.
//
// A table is written in full in the current file set (platform/FileSet.h), with the shapefile
// beside it, and takes the old table's place only with it, so a failure never leaves a
// half-written table, or a new shapefile beside an old table. While it is written the shared
// progress window ("Budowanie pliku dbf", 1 to the layer's record count, step 1) advances once
// for every object of the map examined.

// Advances the shared progress window as that many ProgressStep calls would, in time that does
// not grow with the count.
void ProgressAdvance(std::int64_t count);

// One row: the object and its TPID, its 1-based position in the map's object list; in a batch
// table, the configuration whose rules (those of the object's code) fill the row.
struct TExportRow {
    const TObiekt* Object;
    std::int32_t TPID;
    TBatchConfig* Batch = nullptr;
};

// A field of the table as the dBase header gets it.
struct TExportField {
    std::string Name;
    char Type = 'C';
    std::int32_t Length = 0;
    std::int32_t Decimals = 0;
};

// True when two field lists make the same table (names compared without regard to case, as the
// table component finds them).
bool SameFields(const std::vector<TExportField>& a, const std::vector<TExportField>& b);

// The plain fields present under ConversionSettings.ATB and DbfAttributeChoice, in table
// order; FA only when withFA (the per-code export).
std::vector<TExportField> PlainFields(bool withFA);

// Writes the plain table. `examined` is the number of map objects the row walk examines (the
// whole map), which the progress window advances by; `recordCount` is its range. False when the
// table could not be written (the user has been told, and the current file set has failed).
bool WritePlainTable(const std::string& dbfName, std::span<const TExportRow> rows,
                     std::int32_t recordCount, std::int32_t examined, bool withFA);

// The batch fields of one object code: the configuration's rules for the code (read into it),
// then TPID when its option says so.
std::vector<TExportField> BatchFields(TBatchConfig& config, std::string_view code);

// Writes a batch table with those fields; each row is filled by the rules of its own
// configuration, whose external table is connected first.
bool WriteBatchTable(const std::string& dbfName, const std::vector<TExportField>& fields,
                     std::span<const TExportRow> rows, std::int32_t recordCount,
                     std::int32_t examined);

// The date of a packed file date and time (date in the high 16 bits: years since 1980, month,
// day; time in the low 16: hours, minutes, seconds / 2) as YYYY-MM-DD; nothing when the date or
// the time is not a valid one.
std::optional<std::string> PackedDateText(std::uint32_t packed);

// The date that a text gives under a date picture (the order of its d, M and y), as YYYY-MM-DD:
// three numbers separated by any non-digits, or two (day and month in the picture's order) for
// the current year; a year below 100 lies in 2000-2099. Nothing when it is no valid date.
std::optional<std::string> DateFromText(std::string_view text, std::string_view picture);
