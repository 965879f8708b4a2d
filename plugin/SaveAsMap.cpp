// Place 11 of the single-file server: the open shapefile converted into a MAP file; true when the
// MAP file was written (the converter's batch mode tells scripts so).
#include "model/TextHandles.h"
#include "platform/PinnedFiles.h"
#include "plugin/FileSettings.h"
#include "plugin/KWZArcView.h"
#include "plugin/SaveAsMapConversion.h"
#include "plugin/ServerTexts.h"

bool TKWZArcView::SaveAsMap(KwzHandle FileName, std::int32_t Mode) try {
    if (!Shape || !Objects || !Points) return false;
    // The MAP file is made of one whole set of files: the records from the .shp and .shx, the
    // attributes from the .dbf beside them. A new set another program has put in place since the
    // shapefile was opened is opened in its place.
    const platform::PinnedFiles files(TShape::SetFileNames(Shape->FileName));
    if (!Shape->LoadedFrom(files)) {
        const std::string name = Shape->FileName;
        Shape->KeepStyleFile(true);
        if (OpenShapeFile(name) != 0 || !Shape) return false;
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
