// Place 11 of the single-file server: the open shapefile converted into a MAP file; true when the
// MAP file was written (the converter's batch mode tells scripts so).
#include "model/TextHandles.h"
#include "plugin/FileSettings.h"
#include "plugin/KWZArcView.h"
#include "plugin/SaveAsMapConversion.h"
#include "plugin/ServerTexts.h"

namespace {

// Conversions that find the shapefile replaced since it was opened, and open it again, before
// they give up.
constexpr int kOpenings = 3;

// Lets go of the shape's files however the conversion ends.
struct HeldFiles {
    std::unique_ptr<TShape>& shape;
    ~HeldFiles() {
        if (shape) shape->ReleaseFiles();
    }
};

}  // namespace

bool TKWZArcView::SaveAsMap(KwzHandle FileName, std::int32_t Mode) try {
    if (!Shape || !Objects || !Points) return false;
    // The MAP file is made of one whole set of files: the records from the .shp and .shx the
    // shape holds, the attributes from the .dbf beside them. Another program that has put a new
    // set in place since the shapefile was opened has it opened again.
    const HeldFiles held{Shape};
    for (int opening = 0; !Shape->HoldFiles(); ++opening) {
        const std::string name = Shape->FileName;
        Shape->KeepStyleFile(true);
        if (opening == kOpenings || OpenShapeFile(name) != 0 || !Shape) {
            servertexts::Show(servertexts::ShapeChanged(name));
            return false;
        }
    }
    const TBatchConfig* batch = BatchLoaded ? Shape->BatchConfig.get() : nullptr;
    ShapeToMapTarget target{*Shape,         *Points, *Objects,
                            this->FileName, batch,   [this] { return WriteFileSettings(*this); }};
    // A conversion that fails writes nothing beside the shapefile either: its style file stays as
    // it is when the shape is freed, until a conversion succeeds.
    Shape->KeepStyleFile(true);
    if (!ConvertShapeToMap(target, GlobalToStr(FileName), Mode)) return false;
    Shape->KeepStyleFile(false);
    return true;
} catch (...) {
    servertexts::ShowConversionInterrupted();
    return false;
}
