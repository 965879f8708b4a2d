// Place 11 of the single-file server: the open shapefile converted into a MAP file; true when the
// MAP file was written (the converter's batch mode tells scripts so).
#include "model/TextHandles.h"
#include "plugin/FileSettings.h"
#include "plugin/KWZArcView.h"
#include "plugin/SaveAsMapConversion.h"
#include "plugin/ServerTexts.h"

bool TKWZArcView::SaveAsMap(KwzHandle FileName, std::int32_t Mode) try {
    if (!Shape || !Objects || !Points) return false;
    // The shapefile is converted as the server holds it (transformed or not), never read again:
    // the records in memory with the rows of the table of the set they were loaded from.
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
