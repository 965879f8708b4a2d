#include "platform/AccessTable.h"

#include "platform/AccessDatabase.h"
#include "platform/Cp1250.h"
#include "platform/IniNames.h"
#include "platform/NumberText.h"

namespace platform {
namespace {

// The table's messages (UTF-8 here, Windows-1250 in the exceptions).
constexpr const char* kNotConnected = "Brak połączenia z bazą danych";
constexpr const char* kNoTable = "Brak tabeli ";
constexpr const char* kNotOpen = "Tabela nie jest otwarta";
constexpr const char* kNoColumn = "Brak kolumny ";
constexpr const char* kBadValue = "Nieprawidłowa wartość dla kolumny ";

[[noreturn]] void Fail(const char* what, std::string_view detail) {
    throw AccessError(Utf8ToCp1250(what) + std::string(detail));
}

}  // namespace

AccessTable::AccessTable(AccessConnection& connection) : connection_(connection) {}

AccessTable::~AccessTable() = default;

void AccessTable::Open() {
    Close();
    AccessConnection::Handle* db = connection_.Database();
    if (db == nullptr) Fail(kNotConnected, "");
    auto columns = db->Columns(tableName_);
    if (!columns) Fail(kNoTable, tableName_ + " (" + connection_.DatabasePath() + ")");
    for (auto& c : *columns) columns_.push_back({std::move(c.name), c.numeric});
    active_ = true;
}

void AccessTable::Close() {
    active_ = false;
    columns_.clear();
    rows_ = AccessRows();
    loaded_ = false;
    filtered_ = false;
    filterColumn_ = -1;
    filterValue_.clear();
    current_ = 0;
    eof_ = true;
}

void AccessTable::Require() const {
    if (!active_) Fail(kNotOpen, "");
}

void AccessTable::SetFilter(std::string_view column, std::string_view value) {
    Require();
    int index = FieldIndex(column);
    if (index < 0) Fail(kNoColumn, column);
    if (columns_[static_cast<std::size_t>(index)].numeric && !StrToFloatStrict(IniTrim(value)))
        Fail(kBadValue, std::string(column) + ": " + std::string(value));
    filtered_ = true;
    filterColumn_ = index;
    filterValue_ = std::string(value);
    loaded_ = false;
}

void AccessTable::ClearFilter() {
    Require();
    filtered_ = false;
    filterColumn_ = -1;
    filterValue_.clear();
    loaded_ = false;
}

void AccessTable::Load() {
    if (loaded_) return;
    rows_ = AccessRows();
    AccessConnection::Handle* db = connection_.Database();
    if (db == nullptr) Fail(kNotConnected, "");
    auto rows = db->Rows(tableName_, filtered_ ? filterColumn_ : -1, filterValue_);
    if (!rows) Fail(kNoTable, tableName_ + " (" + connection_.DatabasePath() + ")");
    // Rows of another number of columns are not this table's (it changed since it was opened).
    if (rows->Columns() == columns_.size()) rows_ = std::move(*rows);
    loaded_ = true;
    current_ = 0;
    eof_ = rows_.Count() == 0;
}

int AccessTable::RecordCount() {
    Require();
    Load();
    return static_cast<int>(rows_.Count());
}

void AccessTable::First() {
    Require();
    Load();
    current_ = 0;
    eof_ = rows_.Count() == 0;
}

void AccessTable::Next() {
    Require();
    Load();
    if (current_ + 1 < rows_.Count()) {
        ++current_;
    } else {
        eof_ = true;
    }
}

bool AccessTable::Eof() {
    Require();
    Load();
    return eof_;
}

const std::string& AccessTable::FieldName(int index) const {
    if (index < 0 || index >= FieldCount()) Fail(kNoColumn, std::to_string(index));
    return columns_[static_cast<std::size_t>(index)].name;
}

int AccessTable::FieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        if (IniNamesEqual(columns_[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

std::string AccessTable::FieldText(int index) {
    FieldName(index);
    Require();
    Load();
    if (current_ >= rows_.Count()) return {};
    return std::string(rows_.Value(current_, static_cast<std::size_t>(index)));
}

std::string AccessTable::FieldText(std::string_view name) {
    int index = FieldIndex(name);
    if (index < 0) Fail(kNoColumn, name);
    return FieldText(index);
}

}  // namespace platform
