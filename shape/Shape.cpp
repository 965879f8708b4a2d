#include "shape/Shape.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <map>
#include <vector>

#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/PinnedFiles.h"
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

constexpr std::int64_t kHeaderBytes = 100;
// A record header and a shape type: no record takes less.
constexpr std::int64_t kSmallestRecord = 12;
// The type of a record the index names but the main file does not hold.
constexpr std::int32_t kNoRecord = -1;

// What went wrong while loading, told once when the load ends.
struct LoadReport {
    bool indexMismatch = false;
    std::int64_t entries = 0;  // index entries, those past what the main file can hold included
    std::int64_t failed = 0;
    std::int64_t firstFailed = 0;
    std::int64_t wrongType = 0;
    std::vector<std::int32_t> emptyTypes;  // types with records without points, as first met

    void Failed(std::int64_t number) {
        if (failed++ == 0) firstFailed = number;
    }
    void Empty(std::int32_t shapeType) {
        if (std::find(emptyTypes.begin(), emptyTypes.end(), shapeType) == emptyTypes.end())
            emptyTypes.push_back(shapeType);
    }
    void Show(const std::string& indexName) const {
        if (indexMismatch) shapetexts::Show(shapetexts::IndexMismatch(indexName));
        if (failed > 0) shapetexts::Show(shapetexts::RecordsReadError(failed, firstFailed));
        if (wrongType > 0) shapetexts::Show(shapetexts::WrongRecordTypes(wrongType));
        for (std::int32_t t : emptyTypes) shapetexts::Show(shapetexts::EmptyGeometry(t));
    }
};

// The byte ranges of the main file that the records read so far have taken.
class RecordExtents {
  public:
    // Where a record starting at `offset` has to end: the start of the next record taken, or the
    // file's end; `offset` itself when the offset lies in a record taken or outside the records.
    std::int64_t FreeUpTo(std::int64_t offset, std::int64_t size) const {
        if (offset < kHeaderBytes || offset >= size) return offset;
        auto next = taken_.lower_bound(offset);
        if (next != taken_.begin() && std::prev(next)->second > offset) return offset;
        return next == taken_.end() ? size : next->first;
    }
    // Records that meet are held as one range, so a file read in order takes one entry.
    void Take(std::int64_t from, std::int64_t to) {
        auto next = taken_.lower_bound(from);
        if (next != taken_.end() && next->first == to) {
            to = next->second;
            next = taken_.erase(next);
        }
        if (next != taken_.begin() && std::prev(next)->second == from) {
            std::prev(next)->second = to;
        } else {
            taken_.emplace_hint(next, from, to);
        }
    }

  private:
    std::map<std::int64_t, std::int64_t> taken_;  // start -> end
};

// The byte offsets the index gives, as many as it holds and its header announces, and never more
// than the main file has room for. Anything else about the index is a mismatch to report.
std::vector<std::int64_t> ReadIndex(platform::BinaryFile& index, std::int32_t indexWords,
                                    std::int64_t mainSize, LoadReport& report) {
    const std::int64_t bytes = index.Size() - kHeaderBytes;
    const std::int64_t present = bytes / 8;
    const std::int64_t announced = (static_cast<std::int64_t>(indexWords) * 2 - kHeaderBytes) / 8;
    const std::int64_t room = std::max<std::int64_t>(mainSize - kHeaderBytes, 0) / kSmallestRecord;
    // Entries past the announced ones are not the index's; an announcement of none, or of more
    // than there are, is the header's fault, and the entries present count.
    std::int64_t count = announced > 0 && announced < present ? announced : present;
    report.indexMismatch = announced != present || bytes % 8 != 0 || count > room;
    report.entries = count;
    count = std::min(count, room);
    std::vector<std::int64_t> offsets;
    offsets.reserve(static_cast<std::size_t>(count));
    index.Seek(kHeaderBytes);
    std::uint8_t entry[8];
    for (std::int64_t i = 0; i < count && index.Read(entry, sizeof entry) == sizeof entry; ++i)
        offsets.push_back(static_cast<std::int64_t>(GetBE32(entry)) * 2);
    return offsets;
}

// The records that follow one another from `from` to the file's end by the lengths in their
// headers. Before `declared`, the file length the header gives, a header that cannot be one, or
// bytes too few for any record, end the count as its last record; from there on the records
// have ended, and such bytes are padding: only a record header that can be one counts, as a
// record (cut short when the file ends within it).
std::int64_t RecordsFrom(platform::BinaryFile& main, std::int64_t from, std::int64_t size,
                         std::int64_t declared) {
    std::int64_t count = 0;
    for (std::int64_t at = from; at < size; ++count) {
        const std::int64_t broken = at < declared ? count + 1 : count;
        std::uint8_t head[8];
        main.Seek(at);
        if (at + 8 > size || main.Read(head, sizeof head) != sizeof head) return broken;
        const std::int64_t content = static_cast<std::int64_t>(GetBE32(head + 4)) * 2;
        if (content < 4) return broken;
        if (at + kSmallestRecord > size) return count + 1;
        at += 8 + content;
    }
    return count;
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
    // A name that holds no shapefile it could load gets no style file of its own; one that says
    // this shape's style already (the file saved with it), or one kept, is left as it is.
    if (!notLoaded_ && !keepStyleFile_) WriteStyle(true);
}

std::int32_t TShape::FreeShape(std::unique_ptr<TShape>& shape) {
    shape.reset();
    return 0;
}

std::int32_t TShape::OpenShape(TShape* shape, const std::string& name, bool holdTable) {
    if (shape == nullptr) return -1;
    shape->table_.reset();
    // A name cut short would open another file, and the style file would follow it.
    if (!platform::NameFits(name)) {
        shape->notLoaded_ = true;
        return kShapeFileMissing;
    }
    // The files are read as one whole set, never half of one another program is putting in place.
    const platform::PinnedFiles files(SetFileNames(name));
    std::int32_t result = kShapeLoaded;
    {
        const platform::PinnedFiles::Reading reading(&files);
        result = shape->LoadShapeFile(name);
        shape->notLoaded_ = result != kShapeLoaded;
        shape->FileName = name;
        shape->ReadStyleFile();
        shape->ReadLabelsFromDbf();
    }
    // Only the table is read again later, by the conversions: the rest of the set is let go.
    if (holdTable && result == kShapeLoaded)
        shape->table_ = files.Part({platform::ChangeFileExt(name, ".dbf")});
    return result;
}

std::vector<std::string> TShape::SetFileNames(const std::string& name) {
    if (name.empty()) return {};
    return {name, platform::ChangeFileExt(name, ".shx"), platform::ChangeFileExt(name, ".dbf"),
            platform::ChangeFileExt(name, ".tpi")};
}

std::int32_t TShape::HeaderShapeType() const {
    return GetLE32(Header.data() + 32);
}

std::int32_t TShape::HeaderVersion() const {
    return GetLE32(Header.data() + 28);
}

std::int32_t TShape::LoadShapeFile(const std::string& name) {
    LoadCount = {};
    platform::BinaryFile main;
    if (!main.Open(name, platform::BinaryFile::Mode::Read)) {
        // A folder, a device or a pipe is refused as it is opened; the caller says a missing file.
        if (platform::NotRegularFile(name)) shapetexts::Show(shapetexts::NotRegularFile(name));
        return kShapeFileMissing;
    }
    const std::int64_t size = main.Size();
    Header.fill(0);
    // The main file's header first, so that a file that is no shapefile is told as such whatever
    // lies beside it. A header cut short holds no type or version to go by.
    if (main.Read(Header.data(), Header.size()) < Header.size()) {
        shapetexts::Show(shapetexts::BadHeader(name));
        return kShapeWrongVersion;
    }
    const std::int32_t type = HeaderShapeType();
    if (!SupportedFileType(type)) {
        shapetexts::Show(shapetexts::UnsupportedType(type));
        return kShapeUnsupportedType;
    }

    // Without its index the records cannot be found: the load ends here, both files closed.
    const std::string indexName = platform::ChangeFileExt(name, ".shx");
    platform::BinaryFile index;
    if (!index.Open(indexName, platform::BinaryFile::Mode::Read)) {
        shapetexts::Show(platform::NotRegularFile(indexName) ? shapetexts::NotRegularFile(indexName)
                                                             : shapetexts::MissingIndex(indexName));
        return kShapeFileMissing;
    }
    std::array<std::uint8_t, 100> indexHeader{};
    if (index.Read(indexHeader.data(), indexHeader.size()) < indexHeader.size()) {
        shapetexts::Show(shapetexts::BadHeader(indexName));
        return kShapeWrongVersion;
    }
    const std::int32_t indexWords = GetBE32(indexHeader.data() + 24);
    // File code and file length in native order; the code is not checked.
    PutLE32(Header.data(), GetBE32(Header.data()));
    PutLE32(Header.data() + 24, GetBE32(Header.data() + 24));
    if (HeaderVersion() != kVersion) {
        shapetexts::Show(shapetexts::UnsupportedVersion(name, HeaderVersion()));
        return kShapeWrongVersion;
    }

    laidOut_ = false;
    LoadReport report;
    const std::vector<std::int64_t> offsets = ReadIndex(index, indexWords, size, report);
    ProgressOpen(0, Held(size), 1, shapetexts::ProgressLoading());
    ProgressShow();
    // Records are read where the index puts them, in index order, so that record i stays paired
    // with row i of the attribute table. No byte of the main file belongs to two records, which
    // bounds what the records hold by the file's size.
    RecordExtents taken;
    std::int64_t bytesRead = 0;
    // Where the records read end by their headers, which may hold more than their layout takes.
    std::int64_t reached = kHeaderBytes;
    std::int64_t unreadable = 0;  // records of a type without a layout
    for (std::size_t k = 0; k < offsets.size(); ++k) {
        ProgressSetPosition(Held(kHeaderBytes + bytesRead));
        std::unique_ptr<TSHPRecord> record = Records->NewRecord();
        const std::int64_t offset = offsets[k];
        const std::int64_t end = taken.FreeUpTo(offset, size);
        if (end - offset < kSmallestRecord) {
            // The entry names no record: it keeps its place, without a type or geometry.
            record->ShapeType = kNoRecord;
            report.Failed(static_cast<std::int64_t>(k) + 1);
        } else {
            main.Seek(offset);
            bool read = true;
            try {
                if (record->ReadShapeRecord(main, end, &Records->Storage()) != 0) ++unreadable;
            } catch (const ShapeReadError&) {
                read = false;
            } catch (const std::bad_alloc&) {
                read = false;
            }
            if (read) {
                taken.Take(offset, main.Tell());
                bytesRead += main.Tell() - offset;
                const std::int64_t claimed =
                    offset + 8 + 2 * static_cast<std::int64_t>(record->ContentLength);
                reached = std::max(reached, std::clamp(claimed, main.Tell(), end));
                if (record->EmptyGeometry()) report.Empty(record->ShapeType);
            } else {
                record->ReadFailed = true;
                report.Failed(static_cast<std::int64_t>(k) + 1);
            }
            if (record->ShapeType != type) ++report.wrongType;
        }
        Records->AddRecord(std::move(record));
    }
    // Records after the last one read that no entry points to: the index was cut short, or a
    // record was added or left broken after it; bytes too few for a record are one, broken,
    // unless they lie past the file length the header gives.
    const std::int64_t lastOffset =
        offsets.empty() ? 0 : *std::max_element(offsets.begin(), offsets.end());
    std::int64_t unindexed = 0;
    if (reached < size && lastOffset < reached) {
        // A length shorter than the header itself gives none.
        const std::int64_t declared = static_cast<std::int64_t>(GetLE32(Header.data() + 24)) * 2;
        unindexed = RecordsFrom(main, reached, size, declared < kHeaderBytes ? size : declared);
        report.indexMismatch = unindexed > 0;
    }
    const std::int64_t unread = report.entries - static_cast<std::int64_t>(offsets.size());
    LoadCount.Held = report.entries + unindexed;
    LoadCount.Lost = unread + report.failed + unreadable + unindexed;
    ProgressClose();
    report.Show(indexName);
    State = 1;
    return kShapeLoaded;
}

std::int32_t TShape::RebuildHeader(std::int32_t declared) {
    // The type of the first record written with its own geometry; a shape of null records keeps
    // the type it was loaded with, so that its file loads again.
    const std::int32_t held = HeaderShapeType();
    std::int32_t type = SupportedFileType(held) ? held : SupportedFileType(declared) ? declared : 0;
    for (TSHPRecord* r = Records->FirstRecord(); r != nullptr;
         r = static_cast<TSHPRecord*>(r->GetNext())) {
        if (!r->IsNull() && r->WritesOwnLayout()) {
            type = r->ShapeType;
            break;
        }
    }
    Header.fill(0);
    PutBE32(Header.data(), kFileCode);
    PutLE32(Header.data() + 28, kVersion);
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
    if (!platform::NameFits(name)) return platform::kErrorFilenameTooLong;
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
    if (!platform::NameFits(name)) return platform::kErrorFilenameTooLong;
    shape->RebuildHeader();
    // A transformed shape takes its attribute table along, in one set with the .shp and .shx;
    // an older table under the new name is replaced, as the .shp and .shx are.
    platform::FileSet set;
    if (shape->State == 3) {
        // The table of the set the records were loaded from, whatever has taken its name since.
        const platform::PinnedFiles::Reading loaded(shape->table_.get());
        platform::CopyFile(platform::ChangeFileExt(shape->FileName, ".dbf"),
                           platform::ChangeFileExt(name, ".dbf"), false);
    }
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
