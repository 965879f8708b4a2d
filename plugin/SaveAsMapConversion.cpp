#include "plugin/SaveAsMapConversion.h"

#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "model/MapFile.h"
#include "platform/BinaryFile.h"
#include "platform/Cursor.h"
#include "platform/FileDialog.h"
#include "platform/FileSet.h"
#include "platform/FileSystem.h"
#include "platform/NumberText.h"
#include "platform/PinnedFiles.h"
#include "platform/ShortString.h"
#include "platform/TextFile.h"
#include "plugin/ConversionSettings.h"
#include "plugin/LibraryVersion.h"
#include "plugin/SaveAsMapLinkTable.h"
#include "plugin/SaveAsMapTexts.h"
#include "plugin/SaveAsMapTransfer.h"
#include "shape/Shape.h"

namespace {

constexpr std::int32_t kMapVersion = 7;
constexpr std::int32_t kModeBatch = 1;

// The hourglass while the conversion runs; the default cursor on every way out.
class HourGlass {
  public:
    HourGlass() { platform::SetScreenCursor(platform::crHourGlass); }
    ~HourGlass() { platform::SetScreenCursor(platform::crDefault); }
    HourGlass(const HourGlass&) = delete;
    HourGlass& operator=(const HourGlass&) = delete;
};

// Asks for the MAP file's name; false when the user cancels.
bool AskMapName(std::string& fileName) {
    platform::SaveDialog dialog;
    dialog.Title = saveasmaptexts::SaveDialogTitle();
    dialog.Filter = saveasmaptexts::SaveDialogFilter();
    dialog.DefaultExt = ".map";
    dialog.FileName = fileName;
    dialog.InitialDir = FolderOf(fileName);
    dialog.Options = platform::ofOverwritePrompt | platform::ofPathMustExist;
    if (!dialog.Execute()) return false;
    fileName = dialog.FileName;
    return true;
}

// The shapefile's dBase table: the one of the set the shape was loaded from when the shape holds
// it (none when that set had none), else the one beside it now (found whatever the case of its
// name); empty for none.
std::string DbfNameOf(const TShape& shape) {
    std::string name = platform::ChangeFileExt(shape.FileName, ".dbf");
    const platform::PinnedFiles* loaded = shape.LoadedTable();
    const bool present =
        loaded != nullptr ? loaded->Identity(name).Present() : platform::FileExists(name);
    return present ? name : std::string();
}

// The folder the MAP file goes into, as its name gives it; empty for the current folder.
std::string MapFolder(const std::string& mapName) {
    std::string folder = FolderOf(mapName);
    if (folder.size() > 1) folder.pop_back();
    return folder;
}

// Says why nothing can be written, before anything is: the MAP file's folder is not there, or a
// folder, a device or a pipe stands in the place of the shapefile's table, whose rows the MAP
// file would go without.
bool ShowUnwritable(const TShape& shape, const std::string& mapName) {
    const std::string folder = MapFolder(mapName);
    if (!folder.empty() && platform::NameMissing(folder)) {
        saveasmaptexts::Show(saveasmaptexts::FolderMissing(folder));
        return true;
    }
    const std::string table = platform::ChangeFileExt(shape.FileName, ".dbf");
    if (platform::NotRegularFile(table)) {
        saveasmaptexts::Show(saveasmaptexts::TableNotRegular(table, mapName));
        return true;
    }
    return false;
}

// How many of the shapefile's records could not be read, and whether the MAP file holds those
// that could.
std::string RecordsLostText(const TShape& shape, std::string_view mapName, bool written) {
    const ShapeLoadCount& count = shape.LoadCount;
    return saveasmaptexts::RecordsLost(shape.FileName, count.Held - count.Lost, count.Held, mapName,
                                       written);
}

// The shapefile gave no object with points, so no MAP file is written; records that could not be
// read are the reason when there are any.
void ShowNothingWritten(const TShape& shape, std::string_view mapName) {
    saveasmaptexts::Show(shape.LoadCount.Lost > 0
                             ? RecordsLostText(shape, mapName, false)
                             : saveasmaptexts::NothingToWrite(shape.FileName, mapName));
}

}  // namespace

std::string MapVersionText(double libraryVersion) {
    return platform::FormatFixed(libraryVersion / 100.0, 2);
}

bool ConvertShapeToMap(ShapeToMapTarget& target, std::string_view mapName, std::int32_t mode) {
    HourGlass cursor;
    if (target.Shape.ShapeToObjects(target.Points, target.Objects, false, true) != 0) {
        // A shapefile that did not load has been reported by its loader.
        if (target.Shape.State != 0) ShowNothingWritten(target.Shape, mapName);
        return false;
    }
    target.FileName = std::string(mapName);
    if (ConversionSettings.NazwaPlikuSHPMAP && mode != kModeBatch && !AskMapName(target.FileName))
        return false;

    if (target.FileName.empty()) {
        ShowFileResult(platform::kErrorPathNotFound, target.FileName);
        return false;
    }
    // Neither the MAP file nor the files named after it are written under a name cut short.
    if (!platform::NameFits(target.FileName)) return false;
    // Without objects there is no MAP file, and nothing for a link table or settings file to go
    // with: nothing is written.
    if (target.Points.Count() == 0 || target.Objects.Count() == 0) {
        ShowNothingWritten(target.Shape, target.FileName);
        return false;
    }
    if (ShowUnwritable(target.Shape, target.FileName)) return false;

    // The link table, the ".cc" file and the MAP file take their places together, after all of
    // them are written: a failure anywhere keeps every older one.
    platform::FileSet files;
    const std::string dbfName = DbfNameOf(target.Shape);
    const bool transfer = !dbfName.empty() && (mode == kModeBatch ||
                                               (ConversionSettings.BTA && !ConversionSettings.INI));
    if (transfer) {
        // The rows of the table the shape holds, whatever has taken its name since.
        const platform::PinnedFiles::Reading loaded(target.Shape.LoadedTable());
        const DbfTransferJob job{
            target.Objects,        dbfName,
            target.Shape.FileName, target.FileName,
            target.Batch,          target.Shape.Records ? target.Shape.Records->Count() : 0};
        if (!TransferDbf(job)) return false;
    }

    if (!ConversionSettings.INI && target.WriteFileSettings && !target.WriteFileSettings())
        return false;

    // The MAP writer creates its file without a word when that fails; the conversion tells the
    // user which file it could not make.
    {
        platform::TextFileWriter probe;
        const std::int32_t created = probe.Create(target.FileName);
        probe.Abandon();
        if (created != 0) {
            ShowFileResult(static_cast<std::int16_t>(created), target.FileName);
            return false;
        }
    }
    std::int32_t result = 0;
    WriteMapFile(saveasmaptexts::Generator(), MapVersionText(LibraryVersion), kMapVersion,
                 target.FileName, false, &target.Points, &target.Objects, result);
    if (result != 0) {
        files.Fail(result);
        return false;
    }
    const bool outermost = platform::FileSet::Current() == &files;
    const std::int32_t committed = files.Commit();
    if (committed != 0) {
        if (outermost && files.Unrestored(platform::OsName(target.FileName))) {
            saveasmaptexts::Show(saveasmaptexts::MapLeftChanged(target.FileName));
        } else if (outermost) {
            ShowFileResult(static_cast<std::int16_t>(committed), target.FileName);
        }
        return false;
    }
    // Records the shapefile holds but that could not be read are missing from the MAP file: what
    // was read is written, and the conversion says it is incomplete.
    if (target.Shape.LoadCount.Lost > 0) {
        saveasmaptexts::Show(RecordsLostText(target.Shape, target.FileName, true));
        return false;
    }
    return true;
}
