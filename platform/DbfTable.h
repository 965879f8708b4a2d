#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// The dBase table component: one dBase III table opened by its full file name (a system name,
// FileSystem.h), read row by row or extended by appended rows. The header (field layout) is never
// rewritten: the system writes new, empty tables with its own header writer and then appends the
// rows here; only the record count and the date of the last change are updated. Every failure
// throws DbfError with a Windows-1250 message naming the table or the field.
//
// Texts of fields, read and written: C is left-aligned and blank-padded (reading drops the
// trailing blanks), N and F right-aligned numbers with "." (reading drops the blanks), D eight
// digits YYYYMMDD; any other type is read and written as text like C. A field of blanks reads
// as empty text, and so do a number of asterisks and a date of zeros (empty values of other
// writers). Rows marked deleted are read like the others, so rows stay paired with the
// records of their shapefile.
namespace platform {

class DbfError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct DbfFieldDef {
    std::string name;  // as in the header, up to 11 bytes
    char type = 'C';   // dBase type letter
    int length = 0;
    int decimals = 0;
};

class DbfTable {
  public:
    enum class Mode {
        ReadShared,  // read-only, others may read and write the file meanwhile
        Append,      // read and append rows
    };

    DbfTable();
    ~DbfTable();  // closes; a row still being appended is posted, a failure is swallowed
    DbfTable(const DbfTable&) = delete;
    DbfTable& operator=(const DbfTable&) = delete;

    // Opens the table (the name ends in ".dbf" or ".DBF") and goes to the first row.
    void Open(const std::string& fileName, Mode mode);
    // Posts a row still being appended, then closes; the table is closed even when that fails.
    // Throws when a row, the header or the file's close could not be written (a table written
    // for the current file set then fails the set, FileSet.h).
    void Close();
    bool Active() const { return handle_ != nullptr; }
    const std::string& FileName() const { return fileName_; }

    int RecordCount() const;
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    const DbfFieldDef& Field(int index) const;
    // The position of the field of that name (compared without regard to case), or -1.
    int FieldIndex(std::string_view name) const;

    // Rows: First goes to the first row; Next to the following one, or, on the last row, sets
    // Eof and stays there. Both post a row still being appended. An empty table is at Eof.
    void First();
    void Next();
    bool Eof() const { return eof_; }
    // 0-based number of the current row; -1 when there is none.
    int RecNo() const { return current_; }

    // The current row's field as text (above); empty when there is no current row.
    std::string FieldText(int index) const;
    std::string FieldText(std::string_view name) const;

    // Starts a new row of blanks at the end (posting a row still being appended); the fields
    // are set with SetField* and the row is written by Post, First, Next or Close.
    void Append();
    // Text into a C field (cut to its length); a number with "." into N or F (must fit its
    // length, rounded to its decimals); YYYYMMDD or YYYY-MM-DD into D; empty text blanks the
    // field. Anything else throws and leaves the field as it was.
    void SetFieldText(int index, std::string_view text);
    void SetFieldText(std::string_view name, std::string_view text);
    // An integer into N or F, or as decimal text into C.
    void SetFieldInteger(int index, std::int64_t value);
    void SetFieldInteger(std::string_view name, std::int64_t value);
    // Adds the appended row at the end of the table; it becomes the current row. Rows are
    // gathered in memory and written in large blocks (at the latest by Close, or before a row is
    // read), so a failed write may show at a later Post or at Close.
    void Post();
    bool Appending() const { return appending_; }

  private:
    struct Handle;

    void LoadRow(int row);
    // Reads the rows from `row` on into the block (a table opened for reading only).
    void ReadBlock(int row);
    void RequireAppending(int index) const;
    int IndexOf(std::string_view name) const;
    void Put(int index, std::string_view bytes);
    [[noreturn]] void WriteFailed() const;
    // Writes the rows posted since the last block after the table's last row.
    void WritePending();

    std::unique_ptr<Handle> handle_;
    std::string fileName_;
    std::string osName_;
    Mode mode_ = Mode::ReadShared;
    std::vector<DbfFieldDef> fields_;
    std::vector<int> offsets_;  // byte offset of each field in a row
    std::string row_;           // the current or appended row, deletion flag first
    int recordLength_ = 0;
    std::string pending_;  // posted rows not yet in the file, one after another
    int pendingRows_ = 0;
    int current_ = -1;
    bool eof_ = true;
    bool appending_ = false;
    // A table opened for reading takes its rows from blocks of the record area read at once,
    // rather than a seek and a read per row.
    std::vector<char> block_;
    int blockFirst_ = 0;
    int blockRows_ = 0;
};

}  // namespace platform
