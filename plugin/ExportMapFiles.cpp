#include "plugin/ExportMapFiles.h"

#include <algorithm>
#include <array>
#include <map>
#include <span>
#include <vector>

#include "model/FolderChooser.h"
#include "model/PlaneGeometry.h"
#include "platform/BinaryFile.h"
#include "platform/Cursor.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/IniNames.h"
#include "platform/ShortString.h"
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

std::string LayerFileName(const std::string& folder, const std::string& layer) {
    return folder.empty() ? layer + ".shp" : folder + "/" + layer + ".shp";
}

// A layer name that names a file in the output folder and nothing else.
bool UsableLayerName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\") == std::string_view::npos;
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

namespace {

// One code's objects as they go into a layer.
struct CodePart {
    std::size_t c;      // code - 1000
    std::string code;   // its four digits
    std::int32_t type;  // shape type of its records; 0 when every one is a null shape
    std::vector<TExportField> fields;      // batch: the code's table fields
    std::unique_ptr<TBatchConfig> config;  // batch: the code's configuration, rules read
};

// One shapefile set: its file name without extension and the codes whose objects it holds.
struct LayerPlan {
    std::string name;
    std::int32_t type = 0;
    std::vector<TExportField> fields;
    std::vector<std::size_t> parts;  // indices into the parts, in ascending code order
};

std::int32_t TypeOfObjects(std::span<TObiekt* const> objects) {
    for (const TObiekt* object : objects) {
        if (const std::int32_t type = RecordTypeOf(*object, GeometryOfObject(*object)); type != 0)
            return type;
    }
    return 0;
}

// How many areas among the rows the shape's records (one per row, in order) hold as null shapes:
// those whose outline has fewer than three distinct points.
std::int32_t AreasWithoutRing(const TShape& shape, std::span<const TExportRow> rows) {
    std::int32_t count = 0;
    const TSHPRecord* record = shape.Records->FirstRecord();
    for (const TExportRow& row : rows) {
        if (record == nullptr) break;
        if (record->IsNull() && GeometryOfObject(*row.Object) == ObjectGeometry::Polygon) ++count;
        record = static_cast<const TSHPRecord*>(record->GetNext());
    }
    return count;
}

// Once for a layer written: how many of its areas went in without geometry.
void ReportAreasWithoutRing(const TShape& shape, std::span<const TExportRow> rows) {
    if (const std::int32_t count = AreasWithoutRing(shape, rows); count > 0)
        exporttexts::Show(exporttexts::AreasWithoutRing(shape.FileName, count));
}

bool TypesAgree(std::int32_t a, std::int32_t b) {
    return a == 0 || b == 0 || a == b;
}

// Codes that give one layer name share its set when their records have one shape type and, in
// batch mode, their tables the same fields (names compared without regard to case, as the files
// are found); a code that does not fit goes to the layer named by the code, and when that one
// does not take it either, it is left out with a message. False when a code was left out.
// In batch mode every code gets a configuration of its own from the file, which `batch` holds
// once read.
bool PlanLayers(const TMapExport& Job, const CodeGroups& groups, std::vector<CodePart>& parts,
                std::vector<LayerPlan>& layers, std::unique_ptr<TBatchConfig>& batch) {
    std::map<std::string, std::size_t> byName;  // folded name -> layer
    auto join = [&](const std::string& name, std::size_t part) {
        const CodePart& p = parts[part];
        const auto [at, fresh] = byName.try_emplace(platform::IniFoldName(name), layers.size());
        if (fresh) {
            layers.push_back({name, p.type, p.fields, {part}});
            return true;
        }
        LayerPlan& layer = layers[at->second];
        if (!TypesAgree(layer.type, p.type) || !SameFields(layer.fields, p.fields)) return false;
        if (layer.type == 0) layer.type = p.type;
        layer.parts.push_back(part);
        return true;
    };
    bool all = true;
    for (std::size_t c = 0; c < kCodeCount; ++c) {
        const std::span<TObiekt* const> members = groups.Objects(c);
        if (members.empty()) continue;
        CodePart part{c,
                      std::to_string(kFirstCode + static_cast<std::int32_t>(c)),
                      TypeOfObjects(members),
                      {},
                      {}};
        std::string layer = part.code;
        if (Job.BatchLoaded) {
            if (!batch) batch = std::make_unique<TBatchConfig>(Job.BatchFile);
            part.config = batch->ForAnotherCode();
            layer = part.config->GetLayerName(part.code);
            part.fields = BatchFields(*part.config, part.code);
        } else if (ConversionSettings.KorzystajZSym && Job.Symbols) {
            Job.Symbols->SymbolFileName(part.code, layer);
        }
        if (!UsableLayerName(layer)) {
            exporttexts::Show(exporttexts::LayerNameRefused(part.code, layer));
            layer = part.code;
        }
        parts.push_back(std::move(part));
        const std::size_t index = parts.size() - 1;
        if (join(layer, index)) continue;
        exporttexts::Show(exporttexts::LayerNameTaken(parts[index].code, layer));
        if (join(parts[index].code, index)) continue;
        exporttexts::Show(exporttexts::LayerNotWritten(parts[index].code, parts[index].code));
        all = false;
    }
    return all;
}

// Says that a layer's files were not put in place, and whether its older files are all there.
void ShowLayerNotPlaced(const platform::FileSet& files, const std::string& shpName) {
    exporttexts::Show(files.Unrestored(platform::OsName(shpName))
                          ? exporttexts::LayerLeftChanged(shpName)
                          : exporttexts::LayerWriteError(shpName));
}

// Writes one layer: its .shp, .shx, style file and table in one file set, put in place only when
// all are complete. False, after a message, when the layer's older files were kept.
bool WriteLayer(const TMapExport& Job, const CodeGroups& groups, std::vector<CodePart>& parts,
                const LayerPlan& layer, std::int32_t examined) {
    // The .shx, .dbf and style file take the .shp's name: none of them is written under a cut one.
    const std::string shpName = LayerFileName(Job.OutputFolder, layer.name);
    if (!platform::NameFits(shpName)) return false;
    // The objects and rows of all the layer's codes, in map order; each row filled by the rules
    // of its own code.
    std::vector<std::pair<TObiekt*, TExportRow>> entries;
    std::vector<std::unique_ptr<TBatchConfig>> configs;
    Job.Shape.reset();
    Job.Shape = std::make_unique<TShape>();
    for (std::size_t index : layer.parts) {
        CodePart& part = parts[index];
        TBatchConfig* config = part.config.get();
        if (config != nullptr) {
            // The first code's configuration is the shape's, as for a layer of one code.
            if (!Job.Shape->BatchConfig) {
                Job.Shape->BatchConfig = std::move(part.config);
            } else {
                configs.push_back(std::move(part.config));
            }
            ConversionSettings.PLKODY = config->ReadOptionPL(ConversionSettings.PLKODY);
        }
        const std::span<TObiekt* const> objects = groups.Objects(part.c);
        const std::span<const TExportRow> codeRows = groups.Rows(part.c);
        for (std::size_t i = 0; i < objects.size(); ++i) {
            TExportRow row = codeRows[i];
            row.Batch = config;
            entries.emplace_back(objects[i], row);
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const auto& a, const auto& b) { return a.second.TPID < b.second.TPID; });
    std::vector<TObiekt*> members;
    std::vector<TExportRow> rows;
    for (const auto& [object, row] : entries) {
        members.push_back(object);
        rows.push_back(row);
    }
    SetMarks(members, true);
    AppendObjectRecords(*Job.Shape, members, true);

    const std::string dbfName = platform::ChangeFileExt(shpName, ".dbf");
    Job.Shape->FileName = shpName;
    platform::FileSet files;
    bool written = Job.Shape->SaveShapeFile(shpName) == 0;
    if (!Job.BatchLoaded && !ConversionSettings.ATB) EditAttributesToDbf();
    if (written) {
        const std::int32_t records = Job.Shape->Records->Count();
        const std::vector<TExportField> fields = Job.BatchLoaded ? layer.fields : PlainFields(true);
        // A set without a table has none: an older table of that name would pair its rows with
        // the new records.
        if (fields.empty()) files.Remove(dbfName);
        written = Job.BatchLoaded ? WriteBatchTable(dbfName, fields, rows, records, examined)
                                  : WritePlainTable(dbfName, rows, records, examined, true);
    }
    if (!written) files.Fail(platform::kErrorWriteFault);
    if (files.Commit() != 0 && written) {
        ShowLayerNotPlaced(files, shpName);
        written = false;
    }
    // A layer not saved gets no style file either when its shape is freed.
    if (written) {
        ReportAreasWithoutRing(*Job.Shape, rows);
    } else {
        Job.Shape->FileName.clear();
    }
    SetMarks(members, false);
    return written;
}

}  // namespace

bool ExportPerCode(const TMapExport& Job) {
    if (!Job.BatchLoaded && Job.OutputFolder.empty() &&
        !ChooseFolder(0, exporttexts::ChooseFolderCaption(), Job.OutputFolder))
        return false;
    if (!platform::FolderWritable(Job.OutputFolder)) {
        exporttexts::Show(platform::NameMissing(Job.OutputFolder)
                              ? exporttexts::FolderMissing(Job.OutputFolder)
                              : exporttexts::FolderNotWritable(Job.OutputFolder));
        return false;
    }
    if (Job.Objects == nullptr || Job.Points == nullptr) return false;
    TListaObi& objects = *Job.Objects;

    // Every code from 1000 to 5999 clears the marks of the whole map and marks its own
    // objects; the same marks come from clearing them once and marking each layer's objects
    // only while it is written. The marks of 5999 stay.
    const CodeGroups groups = GroupByCode(objects);
    objects.ClearFlagsAll(kObjectMarked);
    const std::int32_t examined = objects.Count();
    std::vector<CodePart> parts;
    std::vector<LayerPlan> layers;
    std::unique_ptr<TBatchConfig> batch;  // the file, read once for every code
    bool all = PlanLayers(Job, groups, parts, layers, batch);
    // Each layer is put in place whole or not at all; the layers share their journals.
    {
        platform::FileSet sets(platform::FileSet::Kind::Sets);
        std::vector<const LayerPlan*> written;
        for (const LayerPlan& layer : layers) {
            if (WriteLayer(Job, groups, parts, layer, examined)) {
                written.push_back(&layer);
            } else {
                all = false;
            }
        }
        if (sets.Commit() != 0) {
            all = false;
            for (const LayerPlan* layer : written) {
                const std::string shpName = LayerFileName(Job.OutputFolder, layer->name);
                if (sets.Unplaced(platform::OsName(shpName))) ShowLayerNotPlaced(sets, shpName);
            }
        }
    }
    SetMarks(groups.Objects(kCodeCount - 1), true);
    if (layers.empty() && all)
        exporttexts::Show(exporttexts::NothingToExport(Job.MapFileName, kFirstCode, kLastCode));
    return all && !layers.empty();
}

bool ExportOneFile(const TMapExport& Job) {
    const std::string shpName = platform::ChangeFileExt(Job.MapFileName, ".shp");
    if (!platform::NameFits(shpName)) return false;
    // A fresh shape: records left from a shapefile opened before, or from an earlier export,
    // would go into the file without rows in its table.
    Job.Shape = std::make_unique<TShape>();
    if (BuildShapeFromObjects(Job.Shape, Job.Points, Job.Objects, false, true) != 0) return false;
    std::vector<TExportRow> rows;
    std::int32_t tpid = 0;
    for (const TElement* e = Job.Objects->First(); e != nullptr; e = e->GetNext()) {
        const auto* object = static_cast<const TObiekt*>(e);
        ++tpid;
        if (GeometryOfObject(*object) != ObjectGeometry::None) rows.push_back({object, tpid});
    }
    // Nothing to export: no shapefile and no table.
    if (rows.empty()) {
        exporttexts::Show(exporttexts::NothingToExport(Job.MapFileName, kFirstCode, kLastCode));
        return false;
    }
    Job.Shape->FileName = shpName;
    platform::FileSet files;
    bool written = Job.Shape->SaveShapeFile(Job.Shape->FileName) == 0;
    if (!ConversionSettings.ATB) EditAttributesToDbf();
    if (written) {
        written = WritePlainTable(platform::ChangeFileExt(Job.MapFileName, ".dbf"), rows,
                                  Job.Shape->Records->Count(), Job.Objects->Count(), false);
    }
    if (!written) files.Fail(platform::kErrorWriteFault);
    if (files.Commit() != 0 && written) {
        ShowLayerNotPlaced(files, Job.Shape->FileName);
        written = false;
    }
    if (written) {
        ReportAreasWithoutRing(*Job.Shape, rows);
    } else {
        Job.Shape->FileName.clear();
    }
    return written;
}

bool ExportMapFiles(const TMapExport& Job) {
    DefaultCursorAtEnd cursorAtEnd;
    platform::SetScreenCursor(platform::crHourGlass);
    if (ConversionSettings.U45 && Job.Objects) DropSinglePointObjects(*Job.Objects);
    if (ConversionSettings.Z54 && Job.Objects) DemoteUnclosedPolygons(*Job.Objects);
    if (ConversionSettings.KorzystajZSym) {
        std::int32_t result = 0;
        ReadSymbolFile(ConversionSettings.PlikSym.View(), Job.Symbols, result);
        if (result != 0) {
            exporttexts::Show(exporttexts::SymbolFileError(ConversionSettings.PlikSym.View()));
            return false;
        }
    }
    bool written = false;
    {
        BatchKnw knw(Job.BatchLoaded);
        written = ConversionSettings.KNW ? ExportPerCode(Job) : ExportOneFile(Job);
    }
    if (ConversionSettings.KorzystajZSym && Job.Symbols) Job.Symbols->ResetSymbolParams();
    return written;
}
