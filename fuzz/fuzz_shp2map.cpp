// A shapefile's dBase table as the shapefile to MAP conversion copies it into a link table and
// pairs its fields with the attributes of map objects.
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/ListaObi.h"
#include "platform/UiService.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/SaveAsMapTransfer.h"
#include "shape/BatchConfig.h"

namespace {

struct Folder {
    std::string dir;
    Folder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "fuzz-shp2map-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        std::ofstream(dir + "/batch.ini") << "[DEFAULT]\n1=NAZWA\n2=NR\n4=OPIS\n6=DATA\nTXTLink=1\n"
                                             "ATR=3\nTPIDID=3\n";
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Folder folder;
    static const TBatchConfig batch(folder.dir + "/batch.ini");
    platform::UiService::Headless()->SetEcho(false);
    platform::UiService::Headless()->ClearMessages();
    const std::string dbf = folder.dir + "/in.dbf";
    {
        std::ofstream out(dbf, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    InitAttributeSlots();
    ConversionSettings.PLKODY = 3;
    TListaObi objects;
    for (int record = 1; record <= 4; ++record)
        objects.AddObject(std::make_unique<TObiekt>("1000", "", "", "", "", "", "", "", record));
    const DbfTransferJob job{objects, dbf, folder.dir + "/in.shp", folder.dir + "/in.map",
                             &batch,  4};
    TransferDbf(job);
    std::filesystem::remove(folder.dir + "/map_in.dbf");
    return 0;
}
