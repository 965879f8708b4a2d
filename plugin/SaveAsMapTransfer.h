#pragma once

#include <cstdint>
#include <string>

class TListaObi;
class TBatchConfig;

// The dBase half of the shapefile to MAP conversion: the link table beside the MAP file, one row
// per map object, and the paired dBase fields copied into the objects' attributes.
struct DbfTransferJob {
    TListaObi& Objects;
    std::string SourceName;         // the shapefile's dBase table
    std::string ShapeName;          // the shapefile (its name picks the batch section)
    std::string MapName;            // the MAP file the link table goes beside
    const TBatchConfig* Batch;      // the attached batch configuration, or nullptr
    std::int32_t ShapeRecordCount;  // records of the shapefile, for the row count check
};

// Runs the transfer, the link table written in the current file set (platform/FileSet.h). False
// when the call must end without writing anything more: a table could not be opened, or the link
// table could not be created or written in full (the user has been told, the set has failed and
// any older link table stays).
bool TransferDbf(const DbfTransferJob& job);
