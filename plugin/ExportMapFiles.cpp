#include "plugin/ExportMapFiles.h"

#include <unistd.h>

#include <array>
#include <span>
#include <vector>

#include "model/FolderChooser.h"
#include "model/PlaneGeometry.h"
#include "platform/BinaryFile.h"
#include "platform/Cursor.h"
#include "platform/ShortString.h"
#include "platform/SystemInfo.h"
#include "plugin/ConversionSettings.h"
#include "plugin/ExportMapTables.h"
#include "plugin/ExportMapTexts.h"
#include "plugin/ShapeFromObjects.h"
#include "plugin/UATB.h"

namespace {

constexpr std::int32_t kFirstCode = 1000;
constexpr std::int32_t kLastCode = 5999;
constexpr std::size_t kCodeCount = kLastCode - kFirstCode + 1;

char KindOf(const TObiekt& object) {
    return object.Code.empty() ? '\0' : object.Code[0];
}

// The code number of an object coded with exactly the four digits of a number from 1000 to
// 5999, else -1.
std::int32_t LayerCodeOf(const TObiekt& object) {
    const std::string& code = object.Code;
    if (code.size() != 4 || code[0] < '1' || code[0] > '5') return -1;
    std::int32_t number = 0;
    for (char c : code) {
        if (c < '0' || c > '9') return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}

// The default cursor on every way out of the export.
struct DefaultCursorAtEnd {
    ~DefaultCursorAtEnd() { platform::SetScreenCursor(platform::crDefault); }
};

// Batch exports are always per code: KNW is true for their length and put back afterwards.
class BatchKnw {
  public:
    explicit BatchKnw(bool batch) : batch_(batch), saved_(ConversionSettings.KNW) {
        if (batch_) ConversionSettings.KNW = true;
    }
    ~BatchKnw() {
        if (batch_) ConversionSettings.KNW = saved_;
    }
    BatchKnw(const BatchKnw&) = delete;
    BatchKnw& operator=(const BatchKnw&) = delete;

  private:
    bool batch_;
    bool saved_;
};

// Files can be created in the folder (the current folder for an empty name).
bool FolderWritable(const std::string& folder) {
    const std::string path = folder.empty() ? std::string(".") : folder;
    return platform::DirectoryExists(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

std::string LayerFileName(const std::string& folder, const std::string& layer) {
    return platform::Cut(folder.empty() ? layer + ".shp" : folder + "/" + layer + ".shp");
}

// One code's objects in list order, and the rows of its table.
struct CodeGroups {
    std::vector<std::int32_t> start = std::vector<std::int32_t>(kCodeCount + 1, 0);
    std::vector<TObiekt*> objects;
    std::vector<TExportRow> rows;

    std::span<TObiekt* const> Objects(std::size_t c) const {
        return std::span(objects).subspan(start[c], start[c + 1] - start[c]);
    }
    std::span<const TExportRow> Rows(std::size_t c) const {
        return std::span(rows).subspan(start[c], start[c + 1] - start[c]);
    }
};

// Sorts the objects by layer code in one counting pass, keeping list order within a code.
CodeGroups GroupByCode(TListaObi& objects) {
    CodeGroups groups;
    std::vector<std::int32_t> codes;
    codes.reserve(static_cast<std::size_t>(objects.Count()));
    for (const TElement* e = objects.First(); e != nullptr; e = e->GetNext()) {
        const std::int32_t code = LayerCodeOf(*static_cast<const TObiekt*>(e));
        codes.push_back(code);
        if (code >= 0) ++groups.start[static_cast<std::size_t>(code - kFirstCode) + 1];
    }
    for (std::size_t c = 0; c < kCodeCount; ++c) groups.start[c + 1] += groups.start[c];
    groups.objects.resize(static_cast<std::size_t>(groups.start[kCodeCount]));
    groups.rows.resize(groups.objects.size());
    std::vector<std::int32_t> next(groups.start.begin(), groups.start.end() - 1);
    std::int32_t tpid = 0;
    std::size_t i = 0;
    for (TElement* e = objects.First(); e != nullptr; e = e->GetNext(), ++i) {
        ++tpid;
        if (codes[i] < 0) continue;
        auto* object = static_cast<TObiekt*>(e);
        const auto at =
            static_cast<std::size_t>(next[static_cast<std::size_t>(codes[i] - kFirstCode)]++);
        groups.objects[at] = object;
        groups.rows[at] = {object, tpid};
    }
    return groups;
}

void SetMarks(std::span<TObiekt* const> objects, bool marked) {
    for (TObiekt* object : objects) {
        if (marked) {
            object->SetFlags(kObjectMarked);
        } else {
            object->ClearFlags(kObjectMarked);
        }
    }
}

}  // namespace

std::int32_t DropSinglePointObjects(TListaObi& Objects) {
    std::int32_t deleted = 0;
    Objects.GoFirst();
    TElement* e = Objects.CurrentItem();
    while (e != nullptr) {
        const auto* object = static_cast<const TObiekt*>(e);
        const char kind = KindOf(*object);
        const std::int32_t vertices = object->Vertices ? object->Vertices->Count() : 0;
        TElement* next = e->GetNext();
        if ((kind == '4' || kind == '5') && vertices <= 1) {
            Objects.DeleteObject();  // the cursor moves on to `next`
            ++deleted;
        } else {
            Objects.Next();
        }
        e = next;
    }
    return deleted;
}

std::int32_t DropSinglePointObjects(TKWZPrototypTP& Server) {
    return Server.Objects ? DropSinglePointObjects(*Server.Objects) : 0;
}

std::int32_t DemoteUnclosedPolygons(TListaObi& Objects) {
    std::int32_t changed = 0;
    for (TElement* e = Objects.First(); e != nullptr; e = e->GetNext()) {
        auto* object = static_cast<TObiekt*>(e);
        if (KindOf(*object) != '5' || !object->Vertices || object->Vertices->Count() <= 1) continue;
        const TPunkt* first = static_cast<const TNumer*>(object->Vertices->First())->PointRef;
        const TPunkt* last = static_cast<const TNumer*>(object->Vertices->Last())->PointRef;
        if (Hypot(last->X - first->X, last->Y - first->Y) > 0) {
            object->Code[0] = '4';
            ++changed;
        }
    }
    return changed;
}

std::int32_t DemoteUnclosedPolygons(TKWZPrototypTP& Server) {
    return Server.Objects ? DemoteUnclosedPolygons(*Server.Objects) : 0;
}

void ExportPerCode(const TMapExport& Job) {
    if (!Job.BatchLoaded && Job.OutputFolder.empty() &&
        !ChooseFolder(0, exporttexts::ChooseFolderCaption(), Job.OutputFolder))
        return;
    if (!FolderWritable(Job.OutputFolder)) {
        exporttexts::Show(exporttexts::FolderNotWritable(Job.OutputFolder));
        return;
    }
    if (Job.Objects == nullptr || Job.Objects->Count() == 0) return;
    TListaObi& objects = *Job.Objects;

    // Every code from 1000 to 5999 clears the marks of the whole map and marks its own
    // objects; the same marks come from clearing them once and marking each code's objects
    // only while its layer is written. The marks of 5999 stay.
    const CodeGroups groups = GroupByCode(objects);
    objects.ClearFlagsAll(kObjectMarked);
    const std::int32_t examined = objects.Count();
    for (std::size_t c = 0; c < kCodeCount; ++c) {
        const std::span<TObiekt* const> members = groups.Objects(c);
        if (members.empty()) continue;
        const std::string code = std::to_string(kFirstCode + static_cast<std::int32_t>(c));
        SetMarks(members, true);

        Job.Shape.reset();
        if (Job.BatchLoaded) {
            Job.Shape = std::make_unique<TShape>();
            Job.Shape->AttachBatchConfig(Job.BatchFile);
            ConversionSettings.PLKODY =
                Job.Shape->BatchConfig->ReadOptionPL(ConversionSettings.PLKODY);
        }
        if (Job.Points != nullptr) {
            if (!Job.Shape) Job.Shape = std::make_unique<TShape>();
            AppendObjectRecords(*Job.Shape, members, true);

            std::string layer = code;
            if (Job.BatchLoaded) {
                layer = Job.Shape->BatchConfig->GetLayerName(code);
            } else if (ConversionSettings.KorzystajZSym && Job.Symbols) {
                Job.Symbols->SymbolFileName(code, layer);
            }
            const std::string shpName = LayerFileName(Job.OutputFolder, layer);
            Job.Shape->FileName = shpName;
            Job.Shape->SaveShapeFile(shpName);
            if (!Job.BatchLoaded && !ConversionSettings.ATB) EditAttributesToDbf();
            const std::string dbfName = platform::ChangeFileExt(shpName, ".dbf");
            const std::int32_t records = Job.Shape->Records->Count();
            if (Job.BatchLoaded) {
                WriteBatchTable(dbfName, *Job.Shape->BatchConfig, code, groups.Rows(c), records,
                                examined);
            } else {
                WritePlainTable(dbfName, groups.Rows(c), records, examined, true);
            }
        }
        if (kFirstCode + static_cast<std::int32_t>(c) != kLastCode) SetMarks(members, false);
    }
}

void ExportOneFile(const TMapExport& Job) {
    // A fresh shape: records left from a shapefile opened before, or from an earlier export,
    // would go into the file without rows in its table.
    Job.Shape = std::make_unique<TShape>();
    if (BuildShapeFromObjects(Job.Shape, Job.Points, Job.Objects, false, true) != 0) return;
    std::vector<TExportRow> rows;
    std::int32_t tpid = 0;
    for (const TElement* e = Job.Objects->First(); e != nullptr; e = e->GetNext()) {
        const auto* object = static_cast<const TObiekt*>(e);
        ++tpid;
        if (GeometryOfObject(*object) != ObjectGeometry::None) rows.push_back({object, tpid});
    }
    // Nothing to export: no shapefile and no table.
    if (rows.empty()) return;
    const std::string shpName = platform::ChangeFileExt(Job.MapFileName, ".shp");
    Job.Shape->FileName = platform::Cut(shpName);
    Job.Shape->SaveShapeFile(Job.Shape->FileName);
    if (!ConversionSettings.ATB) EditAttributesToDbf();
    WritePlainTable(platform::ChangeFileExt(Job.MapFileName, ".dbf"), rows,
                    Job.Shape->Records->Count(), Job.Objects->Count(), false);
}

void ExportMapFiles(const TMapExport& Job) {
    DefaultCursorAtEnd cursorAtEnd;
    platform::SetScreenCursor(platform::crHourGlass);
    if (ConversionSettings.U45 && Job.Objects) DropSinglePointObjects(*Job.Objects);
    if (ConversionSettings.Z54 && Job.Objects) DemoteUnclosedPolygons(*Job.Objects);
    if (ConversionSettings.KorzystajZSym) {
        std::int32_t result = 0;
        ReadSymbolFile(ConversionSettings.PlikSym.View(), Job.Symbols, result);
        if (result != 0) {
            exporttexts::Show(exporttexts::SymbolFileError(ConversionSettings.PlikSym.View()));
            return;
        }
    }
    {
        BatchKnw knw(Job.BatchLoaded);
        if (ConversionSettings.KNW) {
            ExportPerCode(Job);
        } else {
            ExportOneFile(Job);
        }
    }
    if (ConversionSettings.KorzystajZSym && Job.Symbols) Job.Symbols->ResetSymbolParams();
}
