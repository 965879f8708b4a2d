#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

// A read-only connection to an external Access (Jet 3 or Jet 4) database, opened from an ADO
// connection string of the Jet provider. Only "Data Source" matters: the database is read
// without its password, and nothing is ever written. Failures throw AccessError with a
// Windows-1250 message naming the database.
namespace platform {

class AccessError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
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

    // Opens the database named by "Data Source" (closing one opened before).
    void Open();
    void Close();
    bool Connected() const { return handle_ != nullptr; }
    // The "Data Source" of the open database.
    const std::string& DatabasePath() const { return path_; }

    struct Handle;
    // The open database; for AccessTable.
    Handle* Database() const { return handle_.get(); }

  private:
    std::string connectionString_;
    std::string path_;
    std::unique_ptr<Handle> handle_;
};

}  // namespace platform
