#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shape/BatchConvers.h"

namespace platform {
class IniMemoryFile;
class AccessConnection;
class AccessTable;
}  // namespace platform

// A batch-configuration file in memory: it steers the export of a map to shapefiles.
//   [OPCJE]    TPID=1 adds the TPID field to each table; PL= the Polish letter standard
//   [WARSTWY]  code=layer (file) name
//   [ZAMIANA]  code=code to use instead
//   [<code>]   field=head and template (one dBase field rule, see TBatchConvers), and
//              !EXTERNALTABLE=database!table!key field=key template ("$A1".."$A5", else A6)
// The file is read once, at construction. Without the file every lookup gives its input or its
// default and the rules are the seven default ones.
//
// An export of many object codes reads the file once and gives each code a configuration of its
// own with ForAnotherCode: the same image, its own rules, external table and query cache, so each
// code's lookups answer as a configuration read for it alone would. Those configurations share
// the connections to external databases, one per database: one worker serves the export.
class TBatchConfig {
  public:
    explicit TBatchConfig(std::string_view fileName);
    ~TBatchConfig();
    TBatchConfig(const TBatchConfig&) = delete;
    TBatchConfig& operator=(const TBatchConfig&) = delete;

    // A configuration of the same file image, without rules, external table or query cache; its
    // connections are this one's while this one lives.
    std::unique_ptr<TBatchConfig> ForAnotherCode() const;

    std::int32_t ReadOptionTPID(std::int32_t defaultValue) const;
    std::int32_t ReadOptionPL(std::int32_t defaultValue) const;
    // The [WARSTWY] value for the code, else the code.
    std::string GetLayerName(std::string_view code) const;
    // The [ZAMIANA] value for the code, else the code.
    std::string GetReplacementCode(std::string_view code) const;

    // Adds the rules of the object code's section, in file order, and takes the external table
    // from its EXTERNALTABLE line.
    void ReadFieldRules(std::string_view objectCode);
    const std::vector<TBatchConvers>& Rules() const { return rules_; }

    // Connects to the external database, when one is named: 0, or -1 after a failure, which
    // it shows as "Blad polaczenia " and the path (a folder, a device or a pipe in the database's
    // place, never handed to the reader, as such).
    std::int32_t ConnectExternalTable();
    // The external row of the object (its key taken from the attribute the key template
    // names), or the text when there is no external table.
    std::string LookupExternal(const TBatchAttributes& attributes, std::string_view text);
    // " NAME=[value]" for every column of every row whose key field equals the id; the last
    // answer is kept, so the same id in a row asks the table once.
    std::string QueryExternalRow(std::string_view id);

    bool NoFile() const { return noFile_; }
    // The whole file, or nullptr when it does not exist; the conversion to a map reads its own
    // sections from it.
    const platform::IniMemoryFile* IniImage() const { return ini_.get(); }
    const std::string& Database() const { return database_; }
    const std::string& Table() const { return table_; }
    const std::string& KeyField() const { return keyField_; }
    const std::string& KeyTemplate() const { return keyTemplate_; }
    const std::string& LastId() const { return lastId_; }
    const std::string& LastResult() const { return lastResult_; }

  private:
    class Connections;
    TBatchConfig() = default;

    void ReadExternalTableLine(std::string_view value);
    // Opens the table, filters it by the id and collects the matching rows; false when the
    // filter refuses the id.
    bool ReadExternalRows(const std::string& id, std::string& result);

    std::shared_ptr<const platform::IniMemoryFile> ini_;
    bool noFile_ = false;
    std::vector<TBatchConvers> rules_;
    std::string database_;
    std::string table_;
    std::string keyField_;
    std::string keyTemplate_;
    std::string lastId_;
    std::string lastResult_;
    // The open connections by database, owned by the configuration read from the file.
    std::shared_ptr<Connections> connections_;
    std::weak_ptr<Connections> sharedConnections_;  // those of the configuration it came from
    std::shared_ptr<platform::AccessConnection> connection_;
    std::unique_ptr<platform::AccessTable> externalTable_;  // bound to connection_
    // Set once the external table has failed and the user has been told; later queries give
    // nothing without asking the database again.
    bool externalFailed_ = false;
};

// The connection string of the external database: the Jet provider's properties with the path
// as "Data Source" (quoted when it holds ';', '"' or blanks at its ends).
std::string BatchConnectionString(std::string_view databasePath);
