#pragma once

// Inside the platform only: the open Access database behind an AccessConnection, on mdbtools.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/AccessConnection.h"

namespace platform {

struct AccessColumnInfo {
    std::string name;  // Windows-1250
    bool numeric = false;
};

struct AccessConnection::Handle {
    explicit Handle(const std::string& path);  // throws AccessError
    ~Handle();
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    // The columns of the table (name in Windows-1250), or nothing when there is no such table.
    std::optional<std::vector<AccessColumnInfo>> Columns(const std::string& table);
    // Hands every row of the table, its values as Windows-1250 texts in column order, to `row`.
    // False when there is no such table.
    bool Scan(const std::string& table, const std::function<void(std::vector<std::string>&&)>& row);

    void* mdb = nullptr;  // the MdbHandle (its type is an unnamed struct of mdbtools)
};

}  // namespace platform
