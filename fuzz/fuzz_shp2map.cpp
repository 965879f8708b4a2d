// A shapefile's dBase table as the shapefile to MAP conversion copies it into a link table and
// pairs its fields with the attributes of map objects.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "model/ListaObi.h"
#include "platform/UiService.h"
#include "plugin/AttributeChoice.h"
#include "plugin/ConversionSettings.h"
#include "plugin/SaveAsMapTransfer.h"
#include "shape/BatchConfig.h"

namespace {

// The folder, with the batch configuration the conversion reads its pairs from.
const FuzzFolder& Folder() {
    static const FuzzFolder folder("fuzz-shp2map");
    static const bool written = [] {
        std::ofstream(folder.Path("batch.ini")) << "[DEFAULT]\n1=NAZWA\n2=NR\n4=OPIS\n6=DATA\n"
                                                   "TXTLink=1\nATR=3\nTPIDID=3\n";
        return true;
    }();
    (void)written;
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzFolder& folder = Folder();
    static const TBatchConfig batch(folder.Path("batch.ini"));
    platform::UiService::Headless()->SetEcho(false);
    platform::UiService::Headless()->ClearMessages();
    const std::string dbf = folder.Write("in.dbf", data, size);
    InitAttributeSlots();
    ConversionSettings.PLKODY = 3;
    TListaObi objects;
    for (int record = 1; record <= 4; ++record)
        objects.AddObject(std::make_unique<TObiekt>("1000", "", "", "", "", "", "", "", record));
    const DbfTransferJob job{objects, dbf, folder.Path("in.shp"), folder.Path("in.map"), &batch, 4};
    TransferDbf(job);
    std::filesystem::remove(folder.Path("map_in.dbf"));
    return 0;
}
