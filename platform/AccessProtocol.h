#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AccessRows.h"

// The messages between the Access layer and its worker process, over one stream socket that the
// worker finds as file descriptor kWorkerChannel. Every message is a 32-bit little-endian length
// and that many bytes. A request starts with its operation byte, a reply with its status byte;
// numbers are 32-bit little-endian, texts a 32-bit length and the bytes (Windows-1250).
namespace platform {

struct AccessColumnInfo {
    std::string name;  // Windows-1250
    bool numeric = false;
};

}  // namespace platform

namespace platform::access {

constexpr int kWorkerChannel = 3;
// No request is longer: a path, a table name and a key value of at most 255 characters each.
constexpr std::uint32_t kMaxRequestBytes = 1u << 16;
// The most a database holds: columns in a table, and objects (tables among them) in the database.
// A reply listing more breaks the protocol; the worker refuses such a database as damaged.
constexpr std::uint32_t kMaxColumns = 255;
constexpr std::uint32_t kMaxTables = 32768;

enum class Operation : std::uint8_t {
    Open = 1,     // path -> status
    Tables = 2,   // -> status, count, names
    Columns = 3,  // table -> status, count, (name, numeric flag) each
    Rows = 4,     // table, key column (-1 for every row), key -> status, columns, rows, texts
};

enum class Status : std::uint8_t {
    Ok = 0,
    CannotOpen = 1,  // the database cannot be opened
    NoTable = 2,     // no table of that name
    Failed = 3,      // the worker ran out of memory on the way
};

// A message that does not hold what its kind says.
class ProtocolError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class MessageWriter {
  public:
    MessageWriter& Byte(std::uint8_t value);
    MessageWriter& Int(std::int32_t value);
    MessageWriter& Text(std::string_view text);
    const std::string& Bytes() const { return bytes_; }

  private:
    std::string bytes_;
};

// A request for the operation, its texts and numbers to follow.
MessageWriter Request(Operation operation);

// Reads a message front to back; throws ProtocolError when it runs short.
class MessageReader {
  public:
    explicit MessageReader(std::string_view bytes) : rest_(bytes) {}
    std::uint8_t Byte();
    std::int32_t Int();
    std::string Text();
    // A text as it stands in the message.
    std::string_view TextView();
    // A count of items that each take at least `itemBytes` more bytes; refuses a count above
    // `most` or one the rest of the message cannot hold, so nothing is sized by a count that
    // lies. Items of no bytes cannot be counted by the bytes: then only a count of 0 is taken.
    std::uint32_t Count(std::uint64_t itemBytes,
                        std::uint32_t most = std::numeric_limits<std::uint32_t>::max());
    std::size_t Left() const { return rest_.size(); }
    // Refuses a message with bytes left after what its kind holds.
    void End() const;

  private:
    std::string_view Take(std::size_t count);
    std::string_view rest_;
};

// The replies as the program reads them. Each reads the whole reply and throws ProtocolError
// when it breaks the protocol: a status other than those the request may get, a count the bytes
// after it cannot hold or a database cannot have, bytes missing or left over. What is read thus
// takes about the length of the reply, itself bounded by the worker's reply limit.
//
// The status of a reply: Ok (its body follows), NoTable or CannotOpen; any other throws.
Status ReadStatus(MessageReader& in);
// The bodies after Ok. An opened database has none: true.
bool ReadOpened(MessageReader& in);
std::vector<std::string> ReadTables(MessageReader& in);
std::vector<AccessColumnInfo> ReadColumns(MessageReader& in);
// The rows, each with the values of every column, in column order. A table without columns has
// no rows.
AccessRows ReadRows(MessageReader& in);

// The length a message's first four bytes announce.
std::uint32_t MessageLength(const char head[4]);

// Blocking whole-message transfer, for the worker's side: false (or nothing) once the other end
// has gone or sent a length above `maxBytes`.
bool SendMessage(int fd, std::string_view message);
std::optional<std::string> ReceiveMessage(int fd, std::uint32_t maxBytes);

}  // namespace platform::access
