#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/BinaryFile.h"

using TDBFFieldDescriptor = std::array<std::uint8_t, 32>;

// The dBase III file header, and nothing more: creates an empty table (header, field
// descriptors, terminator, end-of-file mark) or opens one and hands out its field descriptors.
// It never reads or writes a record.
class TSimpleDBFile {
  public:
    // Writes a new table named like `fileName` with the extension ".dbf". `recordLength` is the
    // sum of the field lengths; the deletion flag is added. The file is complete, and closed,
    // after `declaredFieldCount` calls of AddField; it replaces an older table of that name only
    // then (platform/FileSet.h), so until then the older one stays whole.
    static std::unique_ptr<TSimpleDBFile> CreateNew(const std::string& fileName,
                                                    std::int32_t version,
                                                    std::int32_t declaredFieldCount,
                                                    std::int32_t recordCount,
                                                    std::int32_t recordLength);
    // Opens a table (the name as given) and reads its header; the outputs stay 0 when it cannot.
    // The file stays open, and kept from other writers, until the object is destroyed.
    static std::unique_ptr<TSimpleDBFile> OpenExisting(const std::string& fileName,
                                                       std::int32_t& fieldCount,
                                                       std::int32_t& recordCount,
                                                       std::int32_t& recordLength);
    ~TSimpleDBFile();
    TSimpleDBFile(const TSimpleDBFile&) = delete;
    TSimpleDBFile& operator=(const TSimpleDBFile&) = delete;

    // Names longer than 11 characters are cut to 11.
    bool AddField(const std::string& name, char type, std::uint8_t length, std::uint8_t decimals);
    bool ReadFieldDescriptor(TDBFFieldDescriptor& descriptor);
    // Warns about a descriptor outside the dBase III+ limits; true in every case.
    bool CheckFieldDescriptor(const TDBFFieldDescriptor& descriptor);
    // Whether a table's header agrees with itself and with the file: its length with the field
    // descriptors and their terminator, the record length with the fields, the record count with
    // the file's size. When it does not, the rows would be read from the wrong bytes: the table is
    // refused with the dBase III+ warning and the reason. A file that cannot be read passes (its
    // opening reports it).
    static bool CheckHeader(const std::string& fileName);

    bool IsOpen() const { return open_; }
    // A created table: every declared field written and the file closed without an error.
    bool Complete() const;
    // The first error of creating, writing or closing the file (a Windows error number), 0 when
    // none.
    std::int32_t Error() const { return error_; }
    const std::string& FileName() const { return fileName_; }
    const std::array<std::uint8_t, 32>& HeaderBuffer() const { return header_; }

  private:
    TSimpleDBFile() = default;
    void CloseFile();
    void Written(bool ok);

    platform::BinaryFile file_;
    std::string fileName_;
    bool open_ = false;
    std::int32_t error_ = 0;
    std::int32_t version_ = 0;
    std::int32_t declaredFields_ = 0;
    std::int32_t fieldsWritten_ = 0;
    std::int32_t recordCount_ = 0;
    std::int32_t recordLength_ = 0;
    std::array<std::uint8_t, 32> header_{};
    std::array<std::uint8_t, 32> descriptor_{};
};
