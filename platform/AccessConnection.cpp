#include "platform/AccessConnection.h"

#include "platform/AccessDatabase.h"
#include "platform/AccessProtocol.h"
#include "platform/Cp1250.h"
#include "platform/FileSystem.h"
#include "platform/IniNames.h"

namespace platform {
namespace {

// The connection's messages (UTF-8 here, Windows-1250 in the exceptions).
constexpr const char* kNoDataSource = "Brak nazwy bazy danych w opisie połączenia";
constexpr const char* kCannotOpen = "Nie można otworzyć bazy danych ";
constexpr const char* kNotConnected = "Brak połączenia z bazą danych";
constexpr const char* kNotRegular = ": nie jest zwykłym plikiem";

[[noreturn]] void Fail(const char* what, std::string_view detail) {
    throw AccessError(Utf8ToCp1250(what) + std::string(detail));
}

}  // namespace

std::string ConnectionStringValue(std::string_view text, std::string_view property) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t eq = text.find('=', pos);
        std::size_t semi = text.find(';', pos);
        if (eq == std::string_view::npos) break;
        if (semi != std::string_view::npos && semi < eq) {  // a part without '='
            pos = semi + 1;
            continue;
        }
        std::string_view name = IniTrim(text.substr(pos, eq - pos));
        std::size_t i = eq + 1;
        while (i < text.size() && text[i] == ' ') ++i;
        std::string value;
        if (i < text.size() && text[i] == '"') {
            for (++i; i < text.size(); ++i) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        value.push_back('"');
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                value.push_back(text[i]);
            }
            semi = text.find(';', i);
        } else {
            semi = text.find(';', i);
            std::size_t stop = semi == std::string_view::npos ? text.size() : semi;
            value = std::string(IniTrim(text.substr(i, stop - i)));
        }
        if (IniNamesEqual(name, property)) return value;
        if (semi == std::string_view::npos) break;
        pos = semi + 1;
    }
    return {};
}

AccessConnection::Handle::Handle(const std::string& databasePath,
                                 const AccessWorkerSettings& settings)
    : path(databasePath), worker(settings) {
    const std::string reply =
        worker.Call(access::Request(access::Operation::Open).Text(path).Bytes());
    if (!Answer(reply, access::ReadOpened)) worker.Abandon();
}

template <class Body>
std::optional<Body> AccessConnection::Handle::Answer(const std::string& reply,
                                                     Body (*read)(access::MessageReader&)) {
    access::Status status = access::Status::Failed;
    try {
        access::MessageReader in(reply);
        status = access::ReadStatus(in);
        if (status == access::Status::Ok) return read(in);
        in.End();
    } catch (const access::ProtocolError&) {
        worker.Abandon();
    }
    // The database file changed under the connection and no longer opens.
    if (status == access::Status::CannotOpen) Fail(kCannotOpen, path);
    return std::nullopt;
}

std::vector<std::string> AccessConnection::Handle::Tables() {
    auto names =
        Answer(worker.Call(access::Request(access::Operation::Tables).Bytes()), access::ReadTables);
    if (!names) worker.Abandon();  // no table is missing from a listing
    return std::move(*names);
}

std::optional<std::vector<AccessColumnInfo>> AccessConnection::Handle::Columns(
    const std::string& table) {
    return Answer(worker.Call(access::Request(access::Operation::Columns).Text(table).Bytes()),
                  access::ReadColumns);
}

std::optional<AccessRows> AccessConnection::Handle::Rows(const std::string& table, int keyColumn,
                                                         std::string_view key) {
    return Answer(
        worker.Call(
            access::Request(access::Operation::Rows).Text(table).Int(keyColumn).Text(key).Bytes()),
        access::ReadRows);
}

AccessConnection::AccessConnection() = default;
AccessConnection::~AccessConnection() = default;

void AccessConnection::SetConnectionString(std::string connectionString) {
    connectionString_ = std::move(connectionString);
}

void AccessConnection::Open() {
    Close();
    std::string path = ConnectionStringValue(connectionString_, "Data Source");
    if (path.empty()) Fail(kNoDataSource, "");
    // The worker is never given a folder, a device or a pipe, which it could only wait on.
    if (NotRegularFile(path)) Fail(kCannotOpen, path + Utf8ToCp1250(kNotRegular));
    handle_ = std::make_unique<Handle>(path, settings_);
    path_ = std::move(path);
}

void AccessConnection::Close() {
    handle_.reset();
    path_.clear();
}

bool AccessConnection::Connected() const {
    return handle_ != nullptr && handle_->Serving();
}

std::vector<std::string> AccessConnection::TableNames() {
    if (!Connected()) Fail(kNotConnected, "");
    return handle_->Tables();
}

}  // namespace platform
