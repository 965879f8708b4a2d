#include "platform/AccessProtocol.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform::access {
namespace {

void PutU32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint32_t GetU32(const char* p) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(p[i])) << (8 * i);
    return v;
}

bool SendAll(int fd, const char* data, std::size_t count) {
    while (count > 0) {
        const ssize_t n = ::send(fd, data, count, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReceiveAll(int fd, char* data, std::size_t count) {
    while (count > 0) {
        const ssize_t n = ::read(fd, data, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

MessageWriter& MessageWriter::Byte(std::uint8_t value) {
    bytes_.push_back(static_cast<char>(value));
    return *this;
}

MessageWriter& MessageWriter::Int(std::int32_t value) {
    PutU32(bytes_, static_cast<std::uint32_t>(value));
    return *this;
}

MessageWriter& MessageWriter::Text(std::string_view text) {
    PutU32(bytes_, static_cast<std::uint32_t>(text.size()));
    bytes_.append(text);
    return *this;
}

MessageWriter Request(Operation operation) {
    MessageWriter request;
    request.Byte(static_cast<std::uint8_t>(operation));
    return request;
}

std::string_view MessageReader::Take(std::size_t count) {
    if (count > rest_.size()) throw ProtocolError("message too short");
    std::string_view taken = rest_.substr(0, count);
    rest_.remove_prefix(count);
    return taken;
}

std::uint8_t MessageReader::Byte() {
    return static_cast<std::uint8_t>(Take(1)[0]);
}

std::int32_t MessageReader::Int() {
    return static_cast<std::int32_t>(GetU32(Take(4).data()));
}

std::string MessageReader::Text() {
    return std::string(TextView());
}

std::string_view MessageReader::TextView() {
    const std::uint32_t length = GetU32(Take(4).data());
    return Take(length);
}

std::uint32_t MessageReader::Count(std::uint64_t itemBytes, std::uint32_t most) {
    const std::uint32_t count = GetU32(Take(4).data());
    if (count > most || (itemBytes == 0 ? count != 0 : count > rest_.size() / itemBytes))
        throw ProtocolError("count too large");
    return count;
}

void MessageReader::End() const {
    if (!rest_.empty()) throw ProtocolError("bytes after the message");
}

Status ReadStatus(MessageReader& in) {
    const auto status = static_cast<Status>(in.Byte());
    if (status != Status::Ok && status != Status::NoTable && status != Status::CannotOpen)
        throw ProtocolError("unexpected status");
    return status;
}

bool ReadOpened(MessageReader& in) {
    in.End();
    return true;
}

std::vector<std::string> ReadTables(MessageReader& in) {
    std::vector<std::string> names(in.Count(4, kMaxTables));  // a name takes at least its length
    for (std::string& name : names) name = in.Text();
    in.End();
    return names;
}

std::vector<AccessColumnInfo> ReadColumns(MessageReader& in) {
    // A name's length and the number flag.
    std::vector<AccessColumnInfo> columns(in.Count(5, kMaxColumns));
    for (AccessColumnInfo& column : columns) {
        column.name = in.Text();
        const std::uint8_t numeric = in.Byte();
        if (numeric > 1) throw ProtocolError("not a number flag");
        column.numeric = numeric == 1;
    }
    in.End();
    return columns;
}

AccessRows ReadRows(MessageReader& in) {
    const auto columns = static_cast<std::uint32_t>(in.Int());
    if (columns > kMaxColumns) throw ProtocolError("too many columns");
    // Every value takes at least its length; rows without values are refused by Count. The room
    // taken is what the rest of the reply can hold: the values' lengths and their bytes.
    const std::size_t values = std::size_t{in.Count(4 * std::uint64_t{columns})} * columns;
    AccessRows rows(columns);
    rows.Reserve(values, in.Left() - 4 * values);
    for (std::size_t i = 0; i < values; ++i) rows.Add(in.TextView());
    in.End();
    return rows;
}

std::uint32_t MessageLength(const char head[4]) {
    return GetU32(head);
}

bool SendMessage(int fd, std::string_view message) {
    std::string frame;
    frame.reserve(message.size() + 4);
    PutU32(frame, static_cast<std::uint32_t>(message.size()));
    frame.append(message);
    return SendAll(fd, frame.data(), frame.size());
}

std::optional<std::string> ReceiveMessage(int fd, std::uint32_t maxBytes) {
    char head[4];
    if (!ReceiveAll(fd, head, sizeof head)) return std::nullopt;
    const std::uint32_t length = MessageLength(head);
    if (length > maxBytes) return std::nullopt;
    std::string message(length, '\0');
    if (!ReceiveAll(fd, message.data(), length)) return std::nullopt;
    return message;
}

}  // namespace platform::access
