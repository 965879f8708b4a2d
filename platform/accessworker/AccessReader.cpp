#include "platform/accessworker/AccessReader.h"

#include <fcntl.h>
#include <mdbtools.h>
#include <unistd.h>

#include "platform/Cp1250.h"
#include "platform/FileSystem.h"
#include "platform/accessworker/AccessCatalogue.h"

namespace platform {
namespace {

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

AccessReader::AccessReader(const std::string& path) : path_(path), osFileName_(OsName(path)) {
    // Opened without waiting and kept only when it is a regular file, so that a pipe or a device
    // in the database's place cannot hold the worker up; mdbtools reads the very file opened.
    std::int32_t error = 0;
    const int fd = OpenOsFileDescriptor(osFileName_, O_RDONLY, error, true);
    if (fd < 0) Fail(kCannotOpen, path);
    const std::string opened = "/proc/self/fd/" + std::to_string(fd);
    MdbHandle* handle = mdb_open(opened.c_str(), MDB_NOFLAGS);
    ::close(fd);
    if (handle == nullptr) Fail(kCannotOpen, path);
    mdb_set_date_fmt(handle, "%Y-%m-%d %H:%M:%S");
    mdb_set_shortdate_fmt(handle, "%Y-%m-%d");
    if (!ReadTableCatalogue(handle)) {
        mdb_close(handle);
        Fail(kCannotOpen, path);
    }
    mdb_ = handle;
}

AccessReader::~AccessReader() {
    if (mdb_ != nullptr) mdb_close(Mdb(mdb_));
}

std::vector<std::string> AccessReader::Tables() {
    MdbHandle* handle = Mdb(mdb_);
    std::vector<std::string> names;
    for (unsigned i = 0; i < handle->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(handle->catalog, i));
        if (entry->object_type == MDB_TABLE && !mdb_is_system_table(entry))
            names.push_back(Utf8ToCp1250(entry->object_name));
    }
    if (names.size() > access::kMaxTables) Fail(kCannotOpen, path_);
    return names;
}

std::optional<std::vector<AccessColumnInfo>> AccessReader::Columns(const std::string& table) {
    TableDef t(Mdb(mdb_), table);
    if (t.def == nullptr) return std::nullopt;
    if (t.def->num_cols > access::kMaxColumns) Fail(kCannotOpen, path_);
    std::vector<AccessColumnInfo> columns;
    for (unsigned i = 0; i < t.def->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t.def->columns, i));
        columns.push_back({Utf8ToCp1250(col->name), IsNumericType(col->col_type)});
    }
    return columns;
}

bool AccessReader::Scan(const std::string& table,
                        const std::function<void(std::vector<std::string>&&)>& row) {
    MdbHandle* handle = Mdb(mdb_);
    TableDef t(handle, table);
    if (t.def == nullptr) return false;
    if (!WalkableTable(*t.def)) Fail(kCannotOpen, path_);
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

}  // namespace platform
