#pragma once

// Inside the platform only: the open Access database behind an AccessConnection, read by its
// worker process.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AccessConnection.h"
#include "platform/AccessProtocol.h"
#include "platform/AccessWorker.h"

namespace platform {

// Every call throws AccessConnectionLost when the worker fails (it is ended then), and
// AccessError when the database cannot be read.
struct AccessConnection::Handle {
    Handle(const std::string& path, const AccessWorkerSettings& settings);

    std::vector<std::string> Tables();
    // The columns of the table (names in Windows-1250), or nothing when there is no such table.
    std::optional<std::vector<AccessColumnInfo>> Columns(const std::string& table);
    // The rows of the table, their values as Windows-1250 texts in column order: all of them,
    // or, with a key column, those whose value equals the key (as a number in a number column,
    // without regard to case otherwise). Nothing when there is no such table.
    std::optional<AccessRows> Rows(const std::string& table, int keyColumn, std::string_view key);
    bool Serving() const { return worker.Running(); }

    std::string path;
    AccessWorker worker;

  private:
    // The body of an answer with the Ok status, read by `read`, or nothing for NoTable; throws
    // AccessError when the database no longer opens, and ends the worker on an answer that breaks
    // the protocol.
    template <class Body>
    std::optional<Body> Answer(const std::string& reply, Body (*read)(access::MessageReader&));
};

}  // namespace platform
