#include "shape/BatchConfig.h"

#include <map>
#include <optional>

#include "platform/AccessConnection.h"
#include "platform/AccessTable.h"
#include "platform/BinaryFile.h"
#include "platform/FileSystem.h"
#include "platform/IniMemoryFile.h"
#include "platform/IniNames.h"
#include "platform/ShortString.h"
#include "shape/BatchConfigTexts.h"

namespace {

constexpr std::string_view kOptions = "OPCJE";
constexpr std::string_view kLayers = "WARSTWY";
constexpr std::string_view kReplacements = "ZAMIANA";
constexpr std::string_view kExternalTable = "EXTERNALTABLE";

// The database password the connection string carries. The Access reader here opens the
// database without it; it is kept so that the connection string reads as the users' tools
// write it.
constexpr std::string_view kDatabasePassword = "mapka";

// The rules of a configuration without a file: every attribute and the text as 255 characters.
constexpr std::string_view kDefaultRules[][2] = {
    {"A1", "!C255:0$A1"}, {"A2", "!C255:0$A2"}, {"A3", "!C255:0$A3"},  {"A4", "!C255:0$A4"},
    {"A5", "!C255:0$A5"}, {"A6", "!C255:0$A6"}, {"TX", "!C255:0$TXT"},
};

// No real configuration comes near this size.
constexpr std::int64_t kMaxFileSize = 1 << 20;

// Text as configurations hold it: no NUL byte, and control characters (other than line ends, tabs,
// form feeds and the end-of-file mark) at most one in twenty.
bool LooksLikeText(std::string_view bytes) {
    std::size_t controls = 0;
    for (unsigned char c : bytes) {
        if (c == 0) return false;
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1A) ++controls;
    }
    return controls * 20 <= bytes.size();
}

// The file's bytes (none when it cannot be read), or nothing at all, with the message shown, when
// it is no batch configuration.
std::optional<std::string> ReadConfiguration(const std::string& name) {
    platform::BinaryFile file;
    if (!file.Open(name, platform::BinaryFile::Mode::Read)) return std::string();  // unreadable
    const std::int64_t size = file.Size();
    if (size > kMaxFileSize) {
        batchtexts::Show(batchtexts::TooLarge(name));
        return std::nullopt;
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (static_cast<std::int64_t>(file.Read(bytes.data(), bytes.size())) != size ||
        !LooksLikeText(bytes)) {
        batchtexts::Show(batchtexts::NotText(name));
        return std::nullopt;
    }
    return bytes;
}

// Closes the external table on every path out of a query.
class TableCloser {
  public:
    explicit TableCloser(platform::AccessTable& table) : table_(table) {}
    ~TableCloser() { table_.Close(); }
    TableCloser(const TableCloser&) = delete;
    TableCloser& operator=(const TableCloser&) = delete;

  private:
    platform::AccessTable& table_;
};

}  // namespace

// Connections by database path; one that was lost is opened afresh.
class TBatchConfig::Connections {
  public:
    std::shared_ptr<platform::AccessConnection> Connect(const std::string& database) {
        std::shared_ptr<platform::AccessConnection>& held = open_[database];
        if (held && held->Connected()) return held;
        held.reset();
        auto connection = std::make_shared<platform::AccessConnection>();
        connection->SetConnectionString(BatchConnectionString(database));
        connection->Open();
        held = connection;
        return connection;
    }

  private:
    std::map<std::string, std::shared_ptr<platform::AccessConnection>> open_;
};

std::string BatchConnectionString(std::string_view databasePath) {
    std::string source(databasePath);
    const bool quote = source.find_first_of(";\"") != std::string::npos ||
                       (!source.empty() && (source.front() == ' ' || source.back() == ' '));
    if (quote) {
        std::string quoted = "\"";
        for (char c : source) {
            quoted += c;
            if (c == '"') quoted += '"';
        }
        source = quoted + "\"";
    }
    std::string s;
    s.append("Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=")
        .append(source)
        .append(";Mode=Share Deny None;Extended Properties=\"\";Persist Security Info=False;")
        .append("Jet OLEDB:System database=\"\";Jet OLEDB:Registry Path=\"\";")
        .append("Jet OLEDB:Database Password=")
        .append(kDatabasePassword)
        .append(";Jet OLEDB:Engine Type=4;Jet OLEDB:Database Locking Mode=0;")
        .append("Jet OLEDB:Global Partial Bulk Ops=2;Jet OLEDB:Global Bulk Transactions=1;")
        .append("Jet OLEDB:New Database Password=\"\";Jet OLEDB:Create System Database=False;")
        .append("Jet OLEDB:Encrypt Database=False;")
        .append("Jet OLEDB:Don't Copy Locale on Compact=False;")
        .append("Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False");
    return s;
}

// A missing file gives the defaults without a word; anything else that is no configuration (a
// folder, a device or a pipe in the file's place, binary bytes, a size no configuration has)
// gives them with a message.
TBatchConfig::TBatchConfig(std::string_view fileName)
    : connections_(std::make_shared<Connections>()) {
    const std::string name = platform::Cut(fileName);
    const platform::FileKind kind = platform::KindOfFile(name);
    if (kind == platform::FileKind::Missing) {
        noFile_ = true;
        return;
    }
    // Anything but a regular file is never opened for reading: reading it might not end.
    std::optional<std::string> text;
    if (kind == platform::FileKind::Regular) {
        text = ReadConfiguration(name);
    } else {
        batchtexts::Show(batchtexts::NotRegular(name));
    }
    if (!text) {
        noFile_ = true;
        return;
    }
    ini_ =
        std::make_shared<const platform::IniMemoryFile>(platform::IniMemoryFile::FromText(*text));
}

std::unique_ptr<TBatchConfig> TBatchConfig::ForAnotherCode() const {
    std::unique_ptr<TBatchConfig> config(new TBatchConfig());
    config->ini_ = ini_;
    config->noFile_ = noFile_;
    config->sharedConnections_ = connections_ ? connections_ : sharedConnections_.lock();
    return config;
}

// The table is bound to the connection, so it goes first.
TBatchConfig::~TBatchConfig() {
    externalTable_.reset();
    connection_.reset();
}

std::int32_t TBatchConfig::ReadOptionTPID(std::int32_t defaultValue) const {
    return noFile_ ? defaultValue : ini_->ReadInteger(kOptions, "TPID", defaultValue);
}

std::int32_t TBatchConfig::ReadOptionPL(std::int32_t defaultValue) const {
    return noFile_ ? defaultValue : ini_->ReadInteger(kOptions, "PL", defaultValue);
}

std::string TBatchConfig::GetLayerName(std::string_view code) const {
    const std::string key = platform::Cut(code);
    return noFile_ ? key : platform::Cut(ini_->ReadString(kLayers, key, key));
}

std::string TBatchConfig::GetReplacementCode(std::string_view code) const {
    const std::string key = platform::Cut(code);
    return noFile_ ? key : platform::Cut(ini_->ReadString(kReplacements, key, key));
}

void TBatchConfig::ReadFieldRules(std::string_view objectCode) {
    if (noFile_) {
        for (const auto& rule : kDefaultRules) rules_.emplace_back(rule[0], rule[1]);
        return;
    }
    for (const std::string& line : ini_->ReadSectionValues(platform::Cut(objectCode))) {
        if (line.empty()) continue;
        const std::size_t eq = line.find('=');
        if (line.front() == '!') {
            const std::string_view body = std::string_view(line).substr(1);
            const std::size_t bodyEq = body.find('=');
            if (platform::IniFoldName(body.substr(0, bodyEq)) == kExternalTable) {
                ReadExternalTableLine(bodyEq == std::string_view::npos ? std::string_view()
                                                                       : body.substr(bodyEq + 1));
            }
            continue;
        }
        if (eq == std::string::npos) continue;
        const std::string_view text(line);
        rules_.emplace_back(text.substr(0, eq), text.substr(eq + 1));
    }
}

void TBatchConfig::ReadExternalTableLine(std::string_view value) {
    const std::size_t first = value.find('!');
    if (first == std::string_view::npos) return;
    database_ = platform::Cut(value.substr(0, first));
    std::string_view rest = value.substr(first + 1);
    const std::size_t second = rest.find('!');
    if (second != std::string_view::npos) {
        table_ = platform::Cut(rest.substr(0, second));
        rest = rest.substr(second + 1);
    }
    const std::size_t eq = rest.find('=');
    if (eq != std::string_view::npos) {
        keyField_ = platform::Cut(rest.substr(0, eq));
        keyTemplate_ = platform::Cut(rest.substr(eq + 1));
    }
}

std::int32_t TBatchConfig::ConnectExternalTable() {
    externalTable_.reset();
    connection_.reset();
    externalFailed_ = false;
    if (database_.empty()) return 0;
    if (platform::NotRegularFile(database_)) {
        batchtexts::Show(batchtexts::DatabaseNotRegular(database_));
        externalFailed_ = true;
        return -1;
    }
    std::shared_ptr<Connections> connections = sharedConnections_.lock();
    if (!connections) {
        if (!connections_) connections_ = std::make_shared<Connections>();
        connections = connections_;
    }
    try {
        connection_ = connections->Connect(database_);
        externalTable_ = std::make_unique<platform::AccessTable>(*connection_);
        return 0;
    } catch (const std::exception&) {
        batchtexts::Show(batchtexts::ConnectionFailed(database_));
        externalFailed_ = true;
        return -1;
    }
}

std::string TBatchConfig::LookupExternal(const TBatchAttributes& attributes,
                                         std::string_view text) {
    if (table_.empty()) return platform::Cut(text);
    std::size_t slot = 5;  // A6 unless the key template names A1 to A5
    for (std::size_t i = 0; i < 5; ++i) {
        if (keyTemplate_ == "$A" + std::to_string(i + 1)) slot = i;
    }
    return QueryExternalRow(attributes[slot]);
}

// A table that cannot be opened (no connection, no such table, an unreadable database) is
// reported once with the database component's message; the objects after it get no external
// values without asking again, and nothing escapes to the caller.
std::string TBatchConfig::QueryExternalRow(std::string_view requested) {
    if (table_.empty()) return {};
    std::string id = platform::Cut(requested);
    if (!id.empty() && id.front() == '\x04') id.erase(0, 1);
    if (id == lastId_) return lastResult_;
    if (externalFailed_) return {};
    if (!externalTable_) {  // ConnectExternalTable was not called, or had no database to open
        batchtexts::Show(batchtexts::ConnectionFailed(database_));
        externalFailed_ = true;
        return {};
    }
    std::string result;
    try {
        if (!ReadExternalRows(id, result)) return {};
    } catch (const platform::AccessConnectionLost&) {
        // The worker reading the database failed: as a connection that could not be made.
        batchtexts::Show(batchtexts::ConnectionFailed(database_));
        externalFailed_ = true;
        return {};
    } catch (const std::exception& error) {
        batchtexts::Show(error.what());
        externalFailed_ = true;
        return {};
    }
    lastId_ = id;
    lastResult_ = result;
    return result;
}

bool TBatchConfig::ReadExternalRows(const std::string& id, std::string& result) {
    platform::AccessTable& table = *externalTable_;
    table.SetTableName(table_);
    table.Open();
    TableCloser closer(table);
    try {
        table.SetFilter(keyField_, id);
    } catch (const std::exception&) {
        batchtexts::Show(batchtexts::BadRecordId(id));
        return false;
    }
    const int key = table.FieldIndex(keyField_);
    const int count = table.RecordCount();
    table.First();
    for (int row = 0; row < count; ++row) {
        if (table.FieldText(key) == id) {
            for (int column = 0; column < table.FieldCount(); ++column) {
                result.append(" ")
                    .append(platform::IniFoldName(table.FieldName(column)))
                    .append("=[")
                    .append(table.FieldText(column))
                    .append("]");
            }
        }
        table.Next();
    }
    return true;
}
