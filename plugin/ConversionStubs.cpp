// Neutral stand-ins for the two conversions until their own files define them: the MAP to
// shapefiles conversion (ExportMap) and the shapefile to MAP conversion (SaveAsMap). Each
// changes nothing and reports failure. This file goes when the conversions arrive.
#include "plugin/KWZArcView.h"

bool TKWZArcView::SaveAsMap(KwzHandle FileName, std::int32_t Mode) {
    (void)FileName;
    (void)Mode;
    return false;
}
