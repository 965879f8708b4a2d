#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/AccessDatabase.h"

// An Access database read in this process with mdbtools: the worker's reader, and the one the
// benchmarks compare it with. The damage mdbtools is known to trip over is refused first
// (AccessCatalogue.h); whatever else a damaged file does to mdbtools may still crash or exhaust
// this process, which is why only the worker uses it.
namespace platform {

class AccessReader {
  public:
    // Opens the database; throws AccessError when it cannot.
    explicit AccessReader(const std::string& path);
    ~AccessReader();
    AccessReader(const AccessReader&) = delete;
    AccessReader& operator=(const AccessReader&) = delete;

    // The name under which the database file is handed to the operating system.
    const std::string& OsFileName() const { return osFileName_; }
    // The user tables, in catalogue order. A database of more tables, and a table of more
    // columns, than the format allows is damaged: AccessError.
    std::vector<std::string> Tables();
    // The columns of the table (name in Windows-1250), or nothing when there is no such table.
    std::optional<std::vector<AccessColumnInfo>> Columns(const std::string& table);
    // Hands every row of the table, its values as Windows-1250 texts in column order, to `row`.
    // False when there is no such table; throws AccessError when its rows cannot be walked.
    bool Scan(const std::string& table, const std::function<void(std::vector<std::string>&&)>& row);

  private:
    std::string path_;
    std::string osFileName_;
    void* mdb_ = nullptr;  // the MdbHandle (its type is an unnamed struct of mdbtools)
};

}  // namespace platform
