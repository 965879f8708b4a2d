#include "plugin/KonwersjaPliku.h"

#include <array>
#include <memory>
#include <string>

#include "model/TextHandles.h"
#include "platform/BinaryFile.h"
#include "platform/ShortString.h"
#include "plugin/ConversionSettings.h"
#include "plugin/KWZArcView.h"
#include "plugin/ServerTexts.h"
#include "transform/TransformLibrary.h"

namespace {

// The whole settings record as it was, put back when the conversion ends, however it ends.
class SavedConversionSettings {
  public:
    SavedConversionSettings() : saved_(ConversionSettings) {}
    ~SavedConversionSettings() { ConversionSettings = saved_; }
    SavedConversionSettings(const SavedConversionSettings&) = delete;
    SavedConversionSettings& operator=(const SavedConversionSettings&) = delete;

  private:
    TConversionSettings saved_;
};

// The conversion writes the named file and the .shp, .shx and .dbf beside it: none of them may be
// the MAP file it reads, which would be lost.
bool WritesOver(const std::string& shpName, const std::string& mapName) {
    for (const char* ext : {"", ".shp", ".shx", ".dbf"}) {
        const std::string written = *ext ? platform::ChangeFileExt(shpName, ext) : shpName;
        if (platform::SameFile(written, mapName)) return true;
    }
    return false;
}

}  // namespace

std::int32_t KonwersjaPlikuShpMap(KwzHandle MapName, KwzHandle ShpName, std::int32_t SourceSystem) {
    const std::string shpName = GlobalToStr(ShpName);
    if (!platform::NameFits(shpName)) return -1;
    SavedConversionSettings restore;
    ConversionSettings.ATB = true;
    ConversionSettings.KNW = false;
    ConversionSettings.DomykacPoligon = true;
    ConversionSettings.KorzystajZSym = false;

    if (shpName.empty() || WritesOver(shpName, GlobalToStr(MapName))) {
        servertexts::Show(servertexts::ShapeNameInvalid(shpName));
        return -1;
    }
    auto server = std::make_unique<TKWZArcView>();
    // A map that cannot be read has been reported by the reader; writing on would replace the
    // shapefile by one of whatever part was read.
    if (!server->LoadMap(MapName)) return -1;
    // Without the outside library the points would stay in the map's plane system and be written
    // as if they were degrees.
    if (server->Points->Count() > 0 && BindTransformLibrary() != 0) {
        servertexts::Show(servertexts::TransformLibraryMissing());
        return -1;
    }
    server->TransformMap(SourceSystem, SysCodeGeographic);
    server->FileName = platform::ChangeFileExt(shpName, ".map");
    // A map without exportable objects gives no shapefile: nothing to write again either.
    if (!server->ExportMap() || !server->Shape || server->Shape->FileName.empty()) return -1;
    return server->SaveFileAs(ShpName) == 0 ? 0 : -1;
}
