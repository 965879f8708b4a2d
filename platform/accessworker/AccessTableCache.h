#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/AccessRows.h"
#include "platform/accessworker/AccessReader.h"

// The worker's copy of the tables it was asked about. The first question about a table reads it
// whole; every later one, and every lookup by key, is answered from memory through an index of
// the key column. When the database file changes, the database is opened again and the copies
// are dropped.
namespace platform {

class AccessTableCache {
  public:
    // Opens the database; throws AccessError when it cannot.
    explicit AccessTableCache(const std::string& path);

    struct Table {
        std::vector<AccessColumnInfo> columns;
        AccessRows rows;
    };

    // Every call first checks that the file is still the one read (AccessError when it changed
    // and can no longer be opened).
    std::vector<std::string> Tables();
    // The table, read when not held yet; nullptr when there is no such table.
    const Table* Find(const std::string& name);
    // The numbers of the rows whose key column equals the key, in table order: compared as numbers
    // in a number column, without regard to case otherwise. Every row for a column of -1.
    std::vector<std::uint32_t> Select(const std::string& name, int column, std::string_view key);

  private:
    struct Held {
        Table table;
        std::unordered_map<int, std::unordered_map<std::string, std::vector<std::uint32_t>>> text;
        std::unordered_map<int, std::unordered_map<double, std::vector<std::uint32_t>>> numbers;
    };

    void Refresh();
    Held* Hold(const std::string& name);

    std::string path_;
    std::unique_ptr<AccessReader> reader_;
    struct stat identity_ {};
    std::unordered_map<std::string, std::unique_ptr<Held>> tables_;
};

}  // namespace platform
