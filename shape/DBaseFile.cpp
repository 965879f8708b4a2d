#include "shape/DBaseFile.h"

#include <algorithm>
#include <cstring>

#include "platform/ShortString.h"
#include "shape/ShapeTexts.h"

namespace {

void PutLE16(std::uint8_t* p, std::int32_t v) {
    p[0] = static_cast<std::uint8_t>(v & 0xFF);
    p[1] = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

void PutLE32u(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

std::int16_t GetLE16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

std::uint32_t GetLE32u(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

std::unique_ptr<TSimpleDBFile> TSimpleDBFile::CreateNew(const std::string& fileName,
                                                        std::int32_t version,
                                                        std::int32_t declaredFieldCount,
                                                        std::int32_t recordCount,
                                                        std::int32_t recordLength) {
    std::unique_ptr<TSimpleDBFile> f(new TSimpleDBFile());
    f->fileName_ = platform::ChangeFileExt(fileName, ".dbf");
    f->declaredFields_ = declaredFieldCount;
    f->recordCount_ = recordCount;
    f->recordLength_ = recordLength + 1;
    f->version_ = version;
    // The new table replaces an older one of that name only once it is complete (or with the
    // other files of the current file set), so a failure never leaves half a table behind.
    if (!f->file_.Open(f->fileName_, platform::BinaryFile::Mode::CreateAlways)) {
        f->error_ = static_cast<std::int32_t>(f->file_.LastError());
        return f;
    }
    std::uint8_t* h = f->header_.data();
    f->header_.fill(0);
    h[0] = static_cast<std::uint8_t>(version);
    h[1] = 99;  // last update 1999-12-31, whatever the date
    h[2] = 12;
    h[3] = 31;
    PutLE32u(h + 4, static_cast<std::uint32_t>(recordCount));
    PutLE16(h + 8, 32 * declaredFieldCount + 33);
    PutLE16(h + 10, f->recordLength_);
    h[29] = 0;  // language byte
    f->open_ = true;
    f->Written(f->file_.Write(h, 32));
    return f;
}

std::unique_ptr<TSimpleDBFile> TSimpleDBFile::OpenExisting(const std::string& fileName,
                                                           std::int32_t& fieldCount,
                                                           std::int32_t& recordCount,
                                                           std::int32_t& recordLength) {
    fieldCount = 0;
    recordCount = 0;
    recordLength = 0;
    std::unique_ptr<TSimpleDBFile> f(new TSimpleDBFile());
    // A name cut short would be another file's: one that does not fit is not opened.
    f->fileName_ = fileName;
    if (!platform::Fits(fileName) || !platform::FileExists(f->fileName_)) return f;
    if (!f->file_.Open(f->fileName_, platform::BinaryFile::Mode::ReadWrite)) return f;
    f->header_.fill(0);
    f->file_.Read(f->header_.data(), 32);
    recordLength = GetLE16(f->header_.data() + 10);
    recordCount = static_cast<std::int32_t>(GetLE32u(f->header_.data() + 4));
    fieldCount = (GetLE16(f->header_.data() + 8) - 33) / 32;
    f->open_ = true;
    return f;
}

void TSimpleDBFile::Written(bool ok) {
    if (!ok && error_ == 0) error_ = static_cast<std::int32_t>(file_.LastError());
}

bool TSimpleDBFile::Complete() const {
    return !open_ && error_ == 0 && declaredFields_ > 0 && fieldsWritten_ == declaredFields_;
}

TSimpleDBFile::~TSimpleDBFile() {
    CloseFile();
}

void TSimpleDBFile::CloseFile() {
    if (open_ && !file_.Close() && error_ == 0)
        error_ = static_cast<std::int32_t>(file_.LastError());
    open_ = false;
}

bool TSimpleDBFile::AddField(const std::string& name, char type, std::uint8_t length,
                             std::uint8_t decimals) {
    if (!open_) return false;
    ++fieldsWritten_;
    descriptor_.fill(0);
    std::memcpy(descriptor_.data(), name.data(), std::min<std::size_t>(name.size(), 11));
    descriptor_[11] = static_cast<std::uint8_t>(type);
    descriptor_[16] = length;
    descriptor_[17] = decimals;
    Written(file_.Write(descriptor_.data(), descriptor_.size()));
    if (fieldsWritten_ == declaredFields_) {
        const std::uint8_t terminator = 0x0D;
        const std::uint8_t endOfFile = 0x1A;
        Written(file_.Write(&terminator, 1));
        Written(file_.Write(&endOfFile, 1));
        CloseFile();
    }
    return true;
}

bool TSimpleDBFile::ReadFieldDescriptor(TDBFFieldDescriptor& descriptor) {
    if (!open_) return false;
    // A descriptor cut short by the end of the file is completed with zeros.
    descriptor.fill(0);
    file_.Read(descriptor.data(), descriptor.size());
    return true;
}

bool TSimpleDBFile::CheckHeader(const std::string& fileName) {
    platform::BinaryFile file;
    if (!file.Open(fileName, platform::BinaryFile::Mode::Read)) return true;
    const std::int64_t size = file.Size();
    std::uint8_t header[32] = {};
    const std::size_t got = file.Read(header, sizeof header);
    const std::int32_t headerLength = static_cast<std::uint16_t>(GetLE16(header + 8));
    const std::int32_t recordLength = static_cast<std::uint16_t>(GetLE16(header + 10));
    const std::uint32_t recordCount = GetLE32u(header + 4);
    std::string reason;
    // The descriptors fill the header up to the terminator, which ends it.
    const std::int32_t fields = (headerLength - 33) / 32;
    std::int64_t fieldsLength = 0;
    bool layout = got == sizeof header && headerLength >= 33 && headerLength <= size;
    for (std::int32_t i = 0; layout && i <= fields; ++i) {
        TDBFFieldDescriptor d{};
        file.Read(d.data(), i < fields ? d.size() : 1);
        layout = (d[0] == 0x0D) == (i == fields);
        const bool numeric = d[11] == 'N' || d[11] == 'F';
        if (i < fields) fieldsLength += d[16] + (numeric ? 0 : 256 * d[17]);
    }
    if (!layout) {
        reason = shapetexts::DbfBadHeaderLength(headerLength);
    } else if (recordLength < 1 + fieldsLength) {
        reason = shapetexts::DbfBadRecordLength(recordLength);
    } else if (headerLength + static_cast<std::int64_t>(recordCount) * recordLength > size) {
        reason = shapetexts::DbfBadRecordCount(recordCount);
    }
    if (reason.empty()) return true;
    shapetexts::Show(shapetexts::DbfNotStandard(reason));
    return false;
}

bool TSimpleDBFile::CheckFieldDescriptor(const TDBFFieldDescriptor& descriptor) {
    const char* raw = reinterpret_cast<const char*>(descriptor.data());
    const std::string name(raw, strnlen(raw, 11));
    const char type = static_cast<char>(descriptor[11]);
    const int length = descriptor[16];
    std::string reason;
    switch (type) {
        case 'C':
            if (length > 254) reason = shapetexts::DbfTooLong(type, name);
            break;
        case 'D':
            if (length != 8) reason = shapetexts::DbfBadLength(type, name);
            break;
        case 'F':
        case 'N':
            if (length > 20) reason = shapetexts::DbfBadLength(type, name);
            break;
        case 'L':
            if (length != 1) reason = shapetexts::DbfBadLength(type, name);
            break;
        case 'G':
        case 'M':
        case 'P':
            break;
        default:
            reason = shapetexts::DbfUndefinedType(type, name);
            break;
    }
    if (!reason.empty()) shapetexts::Show(shapetexts::DbfNotStandard(reason));
    return true;
}
