#include "platform/AccessConnection.h"

#include <mdbtools.h>
#include <sys/stat.h>

#include "platform/AccessDatabase.h"
#include "platform/Cp1250.h"
#include "platform/IniNames.h"

namespace platform {
namespace {

// The connection's messages (UTF-8 here, Windows-1250 in the exceptions).
constexpr const char* kNoDataSource = "Brak nazwy bazy danych w opisie połączenia";
constexpr const char* kCannotOpen = "Nie można otworzyć bazy danych ";

[[noreturn]] void Fail(const char* what, std::string_view detail) {
    throw AccessError(Utf8ToCp1250(what) + std::string(detail));
}

MdbHandle* Mdb(void* p) {
    return static_cast<MdbHandle*>(p);
}

bool IsNumericType(int type) {
    switch (type) {
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC:
        case MDB_COMPLEX:
            return true;
        default:
            return false;
    }
}

// Reads one table definition with its columns; freed by the destructor.
struct TableDef {
    MdbTableDef* def = nullptr;
    TableDef(MdbHandle* mdb, const std::string& name) {
        std::string utf8 = Cp1250ToUtf8(name);
        def = mdb_read_table_by_name(mdb, utf8.data(), MDB_TABLE);
        if (def != nullptr && mdb_read_columns(def) == nullptr) {
            mdb_free_tabledef(def);
            def = nullptr;
        }
    }
    ~TableDef() {
        if (def != nullptr) mdb_free_tabledef(def);
    }
    TableDef(const TableDef&) = delete;
    TableDef& operator=(const TableDef&) = delete;
};

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

AccessConnection::Handle::Handle(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) Fail(kCannotOpen, path);
    MdbHandle* handle = mdb_open(path.c_str(), MDB_NOFLAGS);
    if (handle == nullptr) Fail(kCannotOpen, path);
    mdb_set_date_fmt(handle, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(handle, "%Y-%m-%d");
    if (mdb_read_catalog(handle, MDB_TABLE) == nullptr) {
        mdb_close(handle);
        Fail(kCannotOpen, path);
    }
    mdb = handle;
}

AccessConnection::Handle::~Handle() {
    if (mdb != nullptr) mdb_close(Mdb(mdb));
}

std::optional<std::vector<AccessColumnInfo>> AccessConnection::Handle::Columns(
    const std::string& table) {
    TableDef t(Mdb(mdb), table);
    if (t.def == nullptr) return std::nullopt;
    std::vector<AccessColumnInfo> columns;
    for (unsigned i = 0; i < t.def->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t.def->columns, i));
        columns.push_back({Utf8ToCp1250(col->name), IsNumericType(col->col_type)});
    }
    return columns;
}

bool AccessConnection::Handle::Scan(const std::string& table,
                                    const std::function<void(std::vector<std::string>&&)>& row) {
    MdbHandle* handle = Mdb(mdb);
    TableDef t(handle, table);
    if (t.def == nullptr) return false;
    const unsigned count = t.def->num_cols;
    const std::size_t size = handle->bind_size;
    std::vector<std::vector<char>> values(count, std::vector<char>(size + 1, '\0'));
    std::vector<int> lengths(count, 0);
    for (unsigned i = 0; i < count; ++i) {
        mdb_bind_column(t.def, static_cast<int>(i + 1), values[i].data(), &lengths[i]);
    }
    mdb_rewind_table(t.def);
    while (mdb_fetch_row(t.def)) {
        std::vector<std::string> texts;
        texts.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            std::size_t n = lengths[i] < 0 ? 0 : static_cast<std::size_t>(lengths[i]);
            if (n > size) n = size;
            texts.push_back(Utf8ToCp1250(std::string_view(values[i].data(), n)));
        }
        row(std::move(texts));
    }
    return true;
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
    handle_ = std::make_unique<Handle>(path);
    path_ = std::move(path);
}

void AccessConnection::Close() {
    handle_.reset();
    path_.clear();
}

}  // namespace platform
