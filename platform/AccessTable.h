#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AccessConnection.h"
#include "platform/AccessRows.h"

// One table of an external Access database, read-only: open by name, optionally filtered by a
// key column equal to a value, read row by row with column names and text values.
//
// Texts are Windows-1250 (the database's own text is converted; a character the code page
// lacks becomes "?"). Dates read as YYYY-MM-DD HH:MM:SS, or YYYY-MM-DD for columns formatted as
// short dates; an empty (NULL) value reads as empty text. Names of tables and columns, and the
// filter's text comparison, disregard case, as the database engine does.
namespace platform {

class AccessTable {
  public:
    explicit AccessTable(AccessConnection& connection);
    ~AccessTable();
    AccessTable(const AccessTable&) = delete;
    AccessTable& operator=(const AccessTable&) = delete;

    void SetTableName(std::string name) { tableName_ = std::move(name); }
    const std::string& TableName() const { return tableName_; }

    // Opens the named table of the connection's database and goes to its first row; throws
    // AccessError when the connection is closed or the table does not exist.
    void Open();
    void Close();
    bool Active() const { return active_; }

    // Keeps only the rows whose column equals the value and goes to the first of them. A
    // number column needs a number; a missing column or an unusable value throws AccessError
    // and leaves the filter off.
    void SetFilter(std::string_view column, std::string_view value);
    void ClearFilter();

    int RecordCount();
    void First();
    void Next();  // on the last row sets Eof and stays there
    bool Eof();

    int FieldCount() const { return static_cast<int>(columns_.size()); }
    const std::string& FieldName(int index) const;
    int FieldIndex(std::string_view name) const;  // -1 when missing
    // The current row's value as text; empty when there is no current row.
    std::string FieldText(int index);
    std::string FieldText(std::string_view name);

  private:
    struct Column {
        std::string name;
        bool numeric = false;
    };

    void Require() const;
    // Reads the rows that pass the filter, at the first use after Open or a change of the filter,
    // and goes to the first of them.
    void Load();

    AccessConnection& connection_;
    std::string tableName_;
    bool active_ = false;
    std::vector<Column> columns_;
    bool filtered_ = false;
    int filterColumn_ = -1;
    std::string filterValue_;
    bool loaded_ = false;
    AccessRows rows_;
    std::size_t current_ = 0;
    bool eof_ = true;
};

}  // namespace platform
