#include "shape/Shape.h"

#include <algorithm>
#include <limits>

#include "platform/FileSet.h"
#include "platform/ShortString.h"
#include "shape/ProgressFormShared.h"
#include "shape/ShapeTexts.h"
#include "shape/ShpIo.h"

namespace {

constexpr std::int32_t kFileCode = 9994;
constexpr std::int32_t kVersion = 1000;

bool SupportedFileType(std::int32_t type) {
    switch (type) {
        case 1:
        case 3:
        case 5:
        case 8:
        case 11:
        case 13:
        case 15:
        case 18:
        case 21:
        case 23:
        case 25:
        case 28:
        case 31:
            return true;
        default:
            return false;
    }
}

std::int32_t Held(std::int64_t v) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(v, 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::int32_t FileSizeOf(platform::BinaryFile& file) {
    return Held(file.Size());
}

TShape::TShape()
    : Records(std::make_unique<TSHPRecords>()),
      SymbolFont(std::make_unique<platform::TFont>()),
      LinePen(std::make_unique<platform::TPen>()),
      AreaBrush(std::make_unique<platform::TBrush>()) {
    SymbolFont->Name = "Wingdings";
    SymbolFont->Charset = platform::DEFAULT_CHARSET;
    LinePen->Color = 0x808080;
    AreaBrush->Color = 0xC0C0C0;
    AreaBrush->Style = platform::BS_SOLID;
}

TShape::~TShape() {
    // A shapefile that is not there gets no style file of its own.
    if (!missing_) WriteStyleFile();
}

std::int32_t TShape::FreeShape(std::unique_ptr<TShape>& shape) {
    shape.reset();
    return 0;
}

std::int32_t TShape::OpenShape(TShape* shape, const std::string& name) {
    if (shape == nullptr) return -1;
    const std::int32_t result = shape->LoadShapeFile(name);
    shape->missing_ = result == kShapeFileMissing && !platform::FileExists(name);
    shape->FileName = platform::Cut(name);
    shape->ReadStyleFile();
    shape->ReadLabelsFromDbf();
    return result;
}

std::int32_t TShape::HeaderShapeType() const {
    return GetLE32(Header.data() + 32);
}

std::int32_t TShape::HeaderVersion() const {
    return GetLE32(Header.data() + 28);
}

std::int32_t TShape::LoadShapeFile(const std::string& name) {
    platform::BinaryFile main;
    if (!main.Open(name, platform::BinaryFile::Mode::Read)) return kShapeFileMissing;
    // Without its index the records cannot be found: the load ends here, both files closed.
    const std::string indexName = platform::ChangeFileExt(name, ".shx");
    platform::BinaryFile index;
    if (!index.Open(indexName, platform::BinaryFile::Mode::Read)) {
        shapetexts::Show(shapetexts::MissingIndex(indexName));
        return kShapeFileMissing;
    }

    const std::int64_t size = main.Size();
    Header.fill(0);
    const std::size_t indexHead = index.Read(Header.data(), Header.size());
    const std::size_t mainHead = main.Read(Header.data(), Header.size());
    // A header cut short holds no type or version to go by.
    if (mainHead < Header.size() || indexHead < Header.size()) {
        shapetexts::Show(shapetexts::BadHeader(mainHead < Header.size() ? name : indexName));
        return kShapeWrongVersion;
    }

    const std::int32_t type = HeaderShapeType();
    if (!SupportedFileType(type)) {
        shapetexts::Show(shapetexts::UnsupportedType(type));
        return kShapeUnsupportedType;
    }
    // File code and file length in native order; the code is not checked.
    PutLE32(Header.data(), GetBE32(Header.data()));
    PutLE32(Header.data() + 24, GetBE32(Header.data() + 24));
    if (HeaderVersion() != kVersion) return kShapeWrongVersion;

    laidOut_ = false;
    ProgressOpen(0, Held(size), 1, shapetexts::ProgressLoading());
    ProgressShow();
    std::int64_t position = main.Tell();
    // Records may not overlap: an index entry pointing back into a record read already, or
    // outside the file, names no record. This bounds what the records hold by the file's size.
    std::int64_t readUpTo = position;
    std::int32_t k = 0;
    while (position != size) {
        ProgressSetPosition(Held(position));
        auto record = std::make_unique<TSHPRecord>();
        std::uint8_t entry[8];
        if (index.Read(entry, sizeof entry) != sizeof entry) break;
        const std::int64_t offset = static_cast<std::int64_t>(GetBE32(entry)) * 2;
        bool typeChecked = true;
        if (offset < readUpTo || offset > size - 8) {
            shapetexts::Show(shapetexts::RecordReadError(k + 1));
            typeChecked = false;
        } else {
            main.Seek(offset);
            bool read = true;
            try {
                record->ReadShapeRecord(main);
            } catch (const ShapeReadError&) {
                read = false;
            } catch (const std::bad_alloc&) {
                read = false;
            }
            if (!read) shapetexts::Show(shapetexts::RecordReadError(k + 1));
            position = main.Tell();
            // A record read in full owns its bytes; of a failed one only the header counts, so
            // that it cannot take the next record's bytes with it.
            readUpTo = std::max(readUpTo, read ? position : offset + 8);
        }
        if (typeChecked && record->ShapeType != type)
            shapetexts::Show(shapetexts::WrongRecordType());
        // Every index entry keeps its record, so record i stays aligned with row i of the
        // attribute table.
        Records->AddRecord(std::move(record));
        ++k;
    }
    ProgressClose();
    State = 1;
    return kShapeLoaded;
}

std::int32_t TShape::RebuildHeader() {
    Header.fill(0);
    PutBE32(Header.data(), kFileCode);
    PutLE32(Header.data() + 28, kVersion);
    std::int32_t type = 0;
    for (TSHPRecord* r = Records->FirstRecord(); r != nullptr;
         r = static_cast<TSHPRecord*>(r->GetNext())) {
        if (!r->IsNull()) {
            type = r->ShapeType;
            break;
        }
    }
    PutLE32(Header.data() + 32, type);
    const std::int64_t total = Records->LayoutRecords();
    PutBE32(Header.data() + 24, static_cast<std::int32_t>((total + 100) / 2));
    double box[4] = {0, 0, 0, 0};
    Records->GetBox(box[0], box[1], box[2], box[3]);
    for (int i = 0; i < 4; ++i) PutLEDouble(Header.data() + 36 + 8 * i, box[i]);
    laidOut_ = true;
    return 0;
}

std::int32_t TShape::SaveShapeFile(const std::string& name) {
    if (name.empty()) {
        shapetexts::Show(shapetexts::EmptyFileName());
        return 0;
    }
    if (Records->Count() == 0) return 0;
    // Records straight from a file still hold native numbers and no index fields: lay them
    // out first, or the files would be written with a corrupt header and index.
    if (!laidOut_) RebuildHeader();
    ProgressOpen(0, Records->Count(), 1, shapetexts::ProgressSaving());
    ProgressShow();
    // The .shp, the .shx and the style file take the old ones' places together, and only when
    // all are written in full; inside a larger set (the table beside them) they wait for it.
    platform::FileSet set;
    platform::BinaryFile main;
    platform::BinaryFile index;
    const std::string indexName = platform::ChangeFileExt(name, ".shx");
    std::int32_t error = 0;
    if (main.Open(name, platform::BinaryFile::Mode::CreateAlways) &&
        index.Open(indexName, platform::BinaryFile::Mode::CreateAlways)) {
        main.Write(Header.data(), Header.size());
        // The index gets its own file length; the shape's header keeps the main file's, so that
        // saving again writes the same files.
        std::array<std::uint8_t, 100> indexHeader = Header;
        PutBE32(
            indexHeader.data() + 24,
            static_cast<std::int32_t>((8 * static_cast<std::int64_t>(Records->Count()) + 100) / 2));
        index.Write(indexHeader.data(), indexHeader.size());
        for (TSHPRecord* r = Records->FirstRecord(); r != nullptr;
             r = static_cast<TSHPRecord*>(r->GetNext())) {
            ProgressStep();
            r->WriteShapeRecord(main, index);
        }
        if (!main.Close()) error = static_cast<std::int32_t>(main.LastError());
        if (!index.Close() && error == 0) error = static_cast<std::int32_t>(index.LastError());
        if (error != 0) shapetexts::Show(shapetexts::WriteError(name));
    } else {
        error = static_cast<std::int32_t>(main.IsOpen() ? index.LastError() : main.LastError());
        shapetexts::Show(shapetexts::WriteError(main.IsOpen() ? indexName : name));
    }
    if (error != 0) set.Fail(error);
    WriteStyleFile();
    // A failure of the style file, or of a file written before in the set, is said here.
    const std::int32_t committed = set.Commit();
    if (error == 0 && committed != 0) shapetexts::Show(shapetexts::WriteError(name));
    ProgressClose();
    return error != 0 ? error : committed;
}

std::int32_t TShape::SaveShapeAs(TShape* shape, const std::string& name) {
    if (shape == nullptr) return 255;
    shape->RebuildHeader();
    // A transformed shape takes its attribute table along, in one set with the .shp and .shx;
    // an older table under the new name is replaced, as the .shp and .shx are.
    platform::FileSet set;
    if (shape->State == 3)
        platform::CopyFile(platform::ChangeFileExt(shape->FileName, ".dbf"),
                           platform::ChangeFileExt(name, ".dbf"), false);
    const std::int32_t saved = shape->SaveShapeFile(name);
    const bool outermost = platform::FileSet::Current() == &set;
    const std::int32_t committed = set.Commit();
    if (saved == 0 && committed != 0 && outermost) shapetexts::Show(shapetexts::WriteError(name));
    return saved != 0 ? saved : committed;
}

bool TShape::GoFirstVertex() {
    return Records && Records->GoFirstVertex();
}

bool TShape::NextVertex() {
    return Records && Records->NextVertex();
}

bool TShape::GetCurrentVertex(double& X, double& Y) {
    return Records && Records->GetCurrentVertex(X, Y);
}

bool TShape::SetCurrentVertex(double X, double Y) {
    return Records && Records->SetCurrentVertex(X, Y);
}
