#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A read-only connection to an external Access (Jet 3 or Jet 4) database, opened from an ADO
// connection string of the Jet provider. Only "Data Source" matters: the database is read
// without its password, and nothing is ever written. Failures throw AccessError with a
// Windows-1250 message naming the database.
//
// The database is read in a worker process of its own, started by Open and ended by Close: a
// damaged file that crashes, hangs or exhausts the reader there ends the worker, never the
// program. The worker is held to the limits of AccessWorkerSettings; when it dies, stops
// answering or answers garbage, the call throws AccessConnectionLost and the connection is
// closed.
namespace platform {

class AccessError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The worker reading the database failed; the connection is closed.
class AccessConnectionLost : public AccessError {
  public:
    using AccessError::AccessError;
};

// How the worker process is started and held in bounds.
struct AccessWorkerSettings {
    std::size_t memoryBytes = std::size_t{512} << 20;  // the most memory it may take
    int cpuSeconds = 120;                              // processor time over its whole life
    std::chrono::milliseconds replyTimeout{30000};     // wall-clock wait for each answer
    std::uint32_t maxReplyBytes = 64u << 20;           // the longest answer taken
    // The worker program; empty for the one installed beside the platform library.
    std::string program;
};

// The value of a property of a connection string ("name=value" pairs separated by ';', names
// compared without regard to case, a value in double quotes with "" standing for one quote);
// empty when the property is missing.
std::string ConnectionStringValue(std::string_view connectionString, std::string_view property);

class AccessConnection {
  public:
    AccessConnection();
    ~AccessConnection();
    AccessConnection(const AccessConnection&) = delete;
    AccessConnection& operator=(const AccessConnection&) = delete;

    void SetConnectionString(std::string connectionString);
    const std::string& ConnectionString() const { return connectionString_; }
    // Applies from the next Open.
    void SetWorkerSettings(AccessWorkerSettings settings) { settings_ = std::move(settings); }

    // Opens the database named by "Data Source" (closing one opened before). A folder, a device
    // or a pipe in its place is refused before a worker is started.
    void Open();
    // Ends the worker; nothing is left running.
    void Close();
    // Open, with its worker still serving.
    bool Connected() const;
    // The "Data Source" of the open database.
    const std::string& DatabasePath() const { return path_; }
    // The names of the database's tables, in catalogue order.
    std::vector<std::string> TableNames();

    struct Handle;
    // The open database, or nullptr; for AccessTable.
    Handle* Database() const { return handle_.get(); }

  private:
    std::string connectionString_;
    std::string path_;
    AccessWorkerSettings settings_;
    std::unique_ptr<Handle> handle_;
};

}  // namespace platform
