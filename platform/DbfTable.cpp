#include "platform/DbfTable.h"

#include <fcntl.h>
#include <shapefil.h>
#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <vector>

#include "platform/Cp1250.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/IniNames.h"
#include "platform/NumberText.h"
#include "platform/OsError.h"

namespace platform {
namespace {

// The component's messages (UTF-8 here, Windows-1250 in the exceptions).
constexpr const char* kCannotOpen = "Nie można otworzyć tabeli ";
constexpr const char* kBadHeader = "Nagłówek tabeli jest uszkodzony: ";
constexpr const char* kNotOpen = "Tabela nie jest otwarta";
constexpr const char* kReadOnly = "Tabela jest otwarta tylko do odczytu: ";
constexpr const char* kNotAppending = "Nie dodano wiersza do tabeli ";
constexpr const char* kNoField = "Brak pola ";
constexpr const char* kBadValue = "Nieprawidłowa wartość pola ";
constexpr const char* kReadError = "Błąd odczytu tabeli ";
constexpr const char* kWriteError = "Błąd zapisu tabeli ";

[[noreturn]] void Fail(const char* what, std::string_view detail) {
    throw DbfError(Utf8ToCp1250(what) + std::string(detail));
}

void SilentError(const char*) {}

// Posted rows are written in blocks of about the first size; a table opened for reading is read
// in blocks of about the second.
constexpr std::size_t kWriteBlockBytes = std::size_t{1} << 20;
constexpr std::size_t kReadBlockBytes = 256 * 1024;
constexpr char kEndOfFile = 0x1A;

// One file shapelib opens through the hooks below: its stream, whether it is written, and the
// first error of a write, flush or close, which shapelib itself would not pass on.
struct HookFile {
    FILE* stream = nullptr;
    bool writing = false;
    int error = 0;
};

// The files of one table. The table is opened through the platform's files (FileSystem.h), whatever
// the case of its name; the hooks hand its descriptor to shapelib when it asks for the table, and
// no other file (shapelib's code-page file is not used).
struct HookFiles {
    std::vector<std::unique_ptr<HookFile>> files;
    int table = -1;  // the table's descriptor, until shapelib takes it

    int FirstError() const {
        for (const auto& file : files)
            if (file->error != 0) return file->error;
        return 0;
    }
};

thread_local HookFiles* opening = nullptr;

bool EndsWithDbf(std::string_view name) {
    return name.size() >= 4 && IniNamesEqual(name.substr(name.size() - 4), ".dbf");
}

HookFile* FileOf(SAFile file) {
    return reinterpret_cast<HookFile*>(file);
}

void Note(HookFile* file, int err) {
    if (file->error == 0) file->error = err != 0 ? err : EIO;
}

SAFile HookOpen(const char* name, const char* access) {
    if (opening == nullptr || opening->table < 0 || !EndsWithDbf(name)) return nullptr;
    FILE* stream = ::fdopen(opening->table, access);
    if (stream == nullptr) return nullptr;
    opening->table = -1;
    std::setvbuf(stream, nullptr, _IOFBF, 1 << 16);
    auto file = std::make_unique<HookFile>();
    file->stream = stream;
    file->writing = std::strpbrk(access, "wa+") != nullptr;
    opening->files.push_back(std::move(file));
    return reinterpret_cast<SAFile>(opening->files.back().get());
}

SAOffset HookRead(void* data, SAOffset size, SAOffset count, SAFile file) {
    return std::fread(data, size, count, FileOf(file)->stream);
}

SAOffset HookWrite(void* data, SAOffset size, SAOffset count, SAFile file) {
    HookFile* f = FileOf(file);
    const SAOffset written = std::fwrite(data, size, count, f->stream);
    if (written != count) Note(f, errno);
    return written;
}

SAOffset HookSeek(SAFile file, SAOffset offset, int whence) {
    return static_cast<SAOffset>(
        ::fseeko(FileOf(file)->stream, static_cast<off_t>(offset), whence));
}

SAOffset HookTell(SAFile file) {
    return static_cast<SAOffset>(::ftello(FileOf(file)->stream));
}

int HookFlush(SAFile file) {
    HookFile* f = FileOf(file);
    const int result = std::fflush(f->stream);
    if (result != 0) Note(f, errno);
    return result;
}

// A failure to write out what the stream still holds is noted like a failed write.
int HookClose(SAFile file) {
    HookFile* f = FileOf(file);
    if (f->stream == nullptr) return 0;
    if (f->writing) {
        if (std::fflush(f->stream) != 0) Note(f, errno);
    }
    const int result = std::fclose(f->stream);
    if (result != 0 && f->writing) Note(f, errno);
    f->stream = nullptr;
    return result;
}

// The component removes no file.
int HookRemove(const char*) {
    return -1;
}

std::string_view TrimBlanks(std::string_view text) {
    std::size_t b = text.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    std::size_t e = text.find_last_not_of(' ');
    return text.substr(b, e - b + 1);
}

bool IsNumeric(char type) {
    return type == 'N' || type == 'F';
}

// The text right-aligned in `width`, or nothing when it is longer.
std::optional<std::string> RightAligned(const std::string& text, int width) {
    if (text.size() > static_cast<std::size_t>(width)) return std::nullopt;
    return std::string(static_cast<std::size_t>(width) - text.size(), ' ') + text;
}

std::optional<std::string> FormatNumber(double value, const DbfFieldDef& field) {
    if (!std::isfinite(value)) return std::nullopt;
    int decimals = field.decimals < 0 ? 0 : field.decimals;
    if (decimals > 100 || std::fabs(value) >= 1e100) return std::nullopt;
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text(buffer);
    if (text == "-0" || text.find_first_not_of("-0.") == std::string::npos) {
        if (text.front() == '-') text.erase(0, 1);  // no negative zero
    }
    return RightAligned(text, field.length);
}

bool LeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

// YYYYMMDD or YYYY-MM-DD of a real calendar date, as YYYYMMDD.
std::optional<std::string> DateDigits(std::string_view text) {
    std::string digits;
    if (text.size() == 8) {
        digits = std::string(text);
    } else if (text.size() == 10 && text[4] == '-' && text[7] == '-') {
        digits = std::string(text.substr(0, 4)) + std::string(text.substr(5, 2)) +
                 std::string(text.substr(8, 2));
    } else {
        return std::nullopt;
    }
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
    }
    int year = std::stoi(digits.substr(0, 4));
    int month = std::stoi(digits.substr(4, 2));
    int day = std::stoi(digits.substr(6, 2));
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || month < 1 || month > 12 || day < 1) return std::nullopt;
    int last = kDays[month - 1] + ((month == 2 && LeapYear(year)) ? 1 : 0);
    if (day > last) return std::nullopt;
    return digits;
}

}  // namespace

struct DbfTable::Handle {
    DBFHandle dbf = nullptr;
    HookFiles files;

    // Closes the table; the first error of its files, 0 when none.
    int Close() {
        if (dbf != nullptr) DBFClose(dbf);
        dbf = nullptr;
        for (const auto& file : files.files) HookClose(reinterpret_cast<SAFile>(file.get()));
        return files.FirstError();
    }
    ~Handle() { Close(); }
};

DbfTable::DbfTable() = default;

DbfTable::~DbfTable() {
    try {
        Close();
    } catch (...) {
        // A row that cannot be written is lost with the table; Close reports it to callers
        // that close explicitly.
    }
}

void DbfTable::Open(const std::string& fileName, Mode mode) {
    Close();
    const std::string osName = OsNameToOpen(fileName);
    std::int32_t error = 0;
    // A table the current set holds is opened through its folder, as the very file written.
    const int fd =
        EndsWithDbf(fileName)
            ? OpenFileDescriptor(fileName, mode == Mode::Append ? O_RDWR : O_RDONLY, error, true)
            : -1;
    if (fd < 0) Fail(kCannotOpen, fileName);

    SAHooks hooks;
    SASetupDefaultHooks(&hooks);
    hooks.FOpen = HookOpen;
    hooks.FRead = HookRead;
    hooks.FWrite = HookWrite;
    hooks.FSeek = HookSeek;
    hooks.FTell = HookTell;
    hooks.FFlush = HookFlush;
    hooks.FClose = HookClose;
    hooks.Remove = HookRemove;
    hooks.Error = SilentError;
    auto handle = std::make_unique<Handle>();
    handle->files.table = fd;
    opening = &handle->files;
    handle->dbf = DBFOpenLL(osName.c_str(), mode == Mode::Append ? "rb+" : "rb", &hooks);
    opening = nullptr;
    if (handle->files.table >= 0) ::close(handle->files.table);
    if (handle->dbf == nullptr) Fail(kCannotOpen, fileName);

    // The field layout as the header gives it; every field must lie inside the record.
    std::vector<DbfFieldDef> fields;
    std::vector<int> offsets;
    const int count = DBFGetFieldCount(handle->dbf);
    const int recordLength = handle->dbf->nRecordLength;
    int offset = 1;
    for (int i = 0; i < count; ++i) {
        char name[XBASE_FLDNAME_LEN_READ + 1] = {};
        int width = 0;
        int decimals = 0;
        DBFGetFieldInfo(handle->dbf, i, name, &width, &decimals);
        DbfFieldDef field;
        field.name = name;
        field.type = DBFGetNativeFieldType(handle->dbf, i);
        field.length = width;
        field.decimals = decimals;
        if (width <= 0 || offset + width > recordLength) Fail(kBadHeader, fileName);
        offsets.push_back(offset);
        offset += width;
        fields.push_back(std::move(field));
    }
    if (recordLength <= 0 || DBFGetRecordCount(handle->dbf) < 0) Fail(kBadHeader, fileName);

    if (mode == Mode::Append) {
        // Appending changes the table today; shapelib writes this date with the record count.
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        DBFSetLastModifiedDate(handle->dbf, local.tm_year, local.tm_mon + 1, local.tm_mday);
    }

    handle_ = std::move(handle);
    fileName_ = fileName;
    osName_ = osName;
    mode_ = mode;
    fields_ = std::move(fields);
    offsets_ = std::move(offsets);
    recordLength_ = recordLength;
    First();
}

void DbfTable::Close() {
    if (!handle_) return;
    struct Closer {
        DbfTable* table;
        ~Closer() {
            table->handle_.reset();
            table->fields_.clear();
            table->offsets_.clear();
            table->row_.clear();
            table->pending_.clear();
            table->pendingRows_ = 0;
            table->current_ = -1;
            table->eof_ = true;
            table->appending_ = false;
            table->block_.clear();
            table->blockFirst_ = table->blockRows_ = 0;
        }
    } closer{this};
    if (appending_) Post();
    WritePending();
    // The rows and the header reach the file only now: a full disk shows here.
    if (handle_->Close() != 0) WriteFailed();
}

void DbfTable::WriteFailed() const {
    // A table written for a file set spoils the set: the old table stays.
    if (FileSet* set = FileSet::Current(); set != nullptr && set->HoldsTemporary(osName_))
        set->Fail(kErrorWriteFault);
    Fail(kWriteError, fileName_);
}

int DbfTable::RecordCount() const {
    return handle_ ? DBFGetRecordCount(handle_->dbf) + pendingRows_ : 0;
}

const DbfFieldDef& DbfTable::Field(int index) const {
    if (index < 0 || index >= FieldCount()) Fail(kNoField, std::to_string(index));
    return fields_[static_cast<std::size_t>(index)];
}

int DbfTable::FieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        if (IniNamesEqual(fields_[i].name, name)) return static_cast<int>(i);
    }
    return -1;
}

int DbfTable::IndexOf(std::string_view name) const {
    int index = FieldIndex(name);
    if (index < 0) Fail(kNoField, name);
    return index;
}

void DbfTable::ReadBlock(int row) {
    const auto length = static_cast<std::size_t>(recordLength_);
    const std::size_t wanted = std::min(std::max<std::size_t>(kReadBlockBytes / length, 1),
                                        static_cast<std::size_t>(RecordCount() - row));
    block_.resize(wanted * length);
    FILE* stream = FileOf(handle_->dbf->fp)->stream;
    const auto offset = static_cast<off_t>(handle_->dbf->nHeaderLength) +
                        static_cast<off_t>(row) * static_cast<off_t>(length);
    std::size_t got = 0;
    if (::fseeko(stream, offset, SEEK_SET) == 0)
        got = std::fread(block_.data(), 1, block_.size(), stream);
    blockFirst_ = row;
    blockRows_ = static_cast<int>(got / length);
    if (blockRows_ == 0) Fail(kReadError, fileName_);
}

void DbfTable::LoadRow(int row) {
    if (mode_ == Mode::ReadShared) {
        if (row < blockFirst_ || row >= blockFirst_ + blockRows_) ReadBlock(row);
        row_.assign(block_.data() + static_cast<std::size_t>(row - blockFirst_) *
                                        static_cast<std::size_t>(recordLength_),
                    static_cast<std::size_t>(recordLength_));
        current_ = row;
        return;
    }
    WritePending();
    const char* tuple = DBFReadTuple(handle_->dbf, row);
    if (tuple == nullptr) Fail(kReadError, fileName_);
    // shapelib reuses its buffer on the next read: keep our own copy.
    row_.assign(tuple, static_cast<std::size_t>(recordLength_));
    current_ = row;
}

void DbfTable::First() {
    if (!handle_) Fail(kNotOpen, "");
    if (appending_) Post();
    if (RecordCount() == 0) {
        current_ = -1;
        row_.clear();
        eof_ = true;
        return;
    }
    LoadRow(0);
    eof_ = false;
}

void DbfTable::Next() {
    if (!handle_) Fail(kNotOpen, "");
    if (appending_) Post();
    if (current_ + 1 < RecordCount()) {
        LoadRow(current_ + 1);
        eof_ = false;
    } else {
        eof_ = true;
    }
}

std::string DbfTable::FieldText(int index) const {
    const DbfFieldDef& field = Field(index);
    if (row_.empty()) return {};
    std::string_view raw = std::string_view(row_).substr(
        static_cast<std::size_t>(offsets_[static_cast<std::size_t>(index)]),
        static_cast<std::size_t>(field.length));
    if (IsNumeric(field.type)) {
        // Other writers fill an empty number with asterisks.
        std::string_view trimmed = TrimBlanks(raw);
        return trimmed.find_first_not_of('*') == std::string_view::npos ? std::string()
                                                                        : std::string(trimmed);
    }
    if (field.type == 'D') {
        std::string_view trimmed = TrimBlanks(raw);  // an empty date may be written as zeros
        return trimmed == "00000000" ? std::string() : std::string(trimmed);
    }
    std::size_t end = raw.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(raw.substr(0, end + 1));
}

std::string DbfTable::FieldText(std::string_view name) const {
    return FieldText(IndexOf(name));
}

void DbfTable::Append() {
    if (!handle_) Fail(kNotOpen, "");
    if (mode_ != Mode::Append) Fail(kReadOnly, fileName_);
    if (appending_) Post();
    row_.assign(static_cast<std::size_t>(recordLength_), ' ');
    appending_ = true;
}

void DbfTable::RequireAppending(int index) const {
    Field(index);
    if (!handle_) Fail(kNotOpen, "");
    if (!appending_) Fail(kNotAppending, fileName_);
}

void DbfTable::Put(int index, std::string_view bytes) {
    const auto length = static_cast<std::size_t>(fields_[static_cast<std::size_t>(index)].length);
    char* cell = row_.data() + offsets_[static_cast<std::size_t>(index)];
    const std::size_t n = std::min(bytes.size(), length);
    std::memcpy(cell, bytes.data(), n);
    std::memset(cell + n, ' ', length - n);
}

void DbfTable::SetFieldText(int index, std::string_view text) {
    RequireAppending(index);
    const DbfFieldDef& field = fields_[static_cast<std::size_t>(index)];
    if (IsNumeric(field.type)) {
        std::string_view trimmed = TrimBlanks(text);
        if (trimmed.empty()) return Put(index, "");
        std::optional<double> value = StrToFloatStrict(trimmed);
        std::optional<std::string> cell;
        if (value) cell = FormatNumber(*value, field);
        if (!cell) Fail(kBadValue, field.name + ": " + std::string(text));
        return Put(index, *cell);
    }
    if (field.type == 'D') {
        std::string_view trimmed = TrimBlanks(text);
        if (trimmed.empty()) return Put(index, "");
        std::optional<std::string> digits = DateDigits(trimmed);
        if (!digits || field.length < 8) Fail(kBadValue, field.name + ": " + std::string(text));
        return Put(index, *digits);
    }
    Put(index, text);
}

void DbfTable::SetFieldText(std::string_view name, std::string_view text) {
    SetFieldText(IndexOf(name), text);
}

void DbfTable::SetFieldInteger(int index, std::int64_t value) {
    RequireAppending(index);
    const DbfFieldDef& field = fields_[static_cast<std::size_t>(index)];
    std::string digits = std::to_string(value);
    if (IsNumeric(field.type)) {
        if (field.decimals > 0) {
            digits += '.';
            digits.append(static_cast<std::size_t>(field.decimals), '0');
        }
        std::optional<std::string> cell = RightAligned(digits, field.length);
        if (!cell) Fail(kBadValue, field.name + ": " + std::to_string(value));
        return Put(index, *cell);
    }
    if (field.type == 'C') return Put(index, digits);
    Fail(kBadValue, field.name + ": " + std::to_string(value));
}

void DbfTable::SetFieldInteger(std::string_view name, std::int64_t value) {
    SetFieldInteger(IndexOf(name), value);
}

void DbfTable::Post() {
    if (!handle_) Fail(kNotOpen, "");
    if (!appending_) return;
    appending_ = false;
    const int row = RecordCount();
    pending_.append(row_);
    ++pendingRows_;
    current_ = row;
    eof_ = false;
    if (pending_.size() >= kWriteBlockBytes) WritePending();
}

// The rows go raw after the last one, through the table's own stream, followed by the end-of-file
// mark that shapelib puts after the last row; shapelib then counts them, and writes the record
// count and date into the header when the table is closed. Its buffer of the current row never
// holds a change: rows are written only here.
void DbfTable::WritePending() {
    if (pendingRows_ == 0) return;
    DBFHandle dbf = handle_->dbf;
    const SAOffset at = static_cast<SAOffset>(dbf->nHeaderLength) +
                        static_cast<SAOffset>(dbf->nRecordLength) * dbf->nRecords;
    if (dbf->bWriteEndOfFileChar) pending_.push_back(kEndOfFile);
    const bool written =
        dbf->sHooks.FSeek(dbf->fp, at, SEEK_SET) == 0 &&
        dbf->sHooks.FWrite(pending_.data(), 1, pending_.size(), dbf->fp) == pending_.size();
    pending_.clear();
    dbf->nRecords += pendingRows_;
    pendingRows_ = 0;
    dbf->nCurrentRecord = -1;
    dbf->bUpdated = 1;
    if (!written || handle_->files.FirstError() != 0) WriteFailed();
}

}  // namespace platform
