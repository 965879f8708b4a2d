// The transformation places of the single-file server object: the shapefile's points by a
// transformation code (16) or by the outside library's system numbers (21), the units dialog
// (17), and the map's points through the outside library (20).
#include "plugin/KWZArcView.h"
#include "plugin/RepeatedMessageFilter.h"
#include "transform/TransformDispatcher.h"
#include "transform/TransformLibrary.h"
#include "transform/TransformTexts.h"

// A code whose target is the 1965 system with the zone correction asks for the correction once
// per point, and a failing correction shows its box for each of them: one box per operation is
// enough to tell the user, the others are answered unseen.
std::int32_t TKWZArcView::TransformFileByCode(std::uint8_t Code, double Zone65, double Meridian,
                                              double ZoneCode) try {
    if (!Shape) return 0;
    RepeatedMessageFilter once(transform_texts::CorrectionTooLarge());
    return Shape->TransformShape(Code, Zone65, Meridian, ZoneCode);
} catch (...) {
    return kTransformCalcError;
}

bool TKWZArcView::ConfigureUnits() try { return Shape ? Shape->EditUnits() : false; } catch (...) {
    return false;
}

// Heights are neither handed over nor changed, and the extents of the objects and of the point
// list stay as they were.
std::int32_t TKWZArcView::TransformMap(std::int32_t Source, std::int32_t Target) try {
    if (!Points || Points->Count() == 0) return 0;
    // Without the library (or one of its functions) the map stays as it is, silently.
    if (BindTransformLibrary() != 0) return 0;
    const TTransMultiTrans call = TransMultiTrans();
    for (TElement* e = Points->First(); e != nullptr; e = e->GetNext()) {
        auto* point = static_cast<TPunkt*>(e);
        double n = point->X, east = point->Y;
        if (TransformPointWithLibrary(call, Source, Target, n, east)) {
            point->X = n;
            point->Y = east;
        }
    }
    return 0;
} catch (...) {
    return 0;
}

// No result of its own: 0, whatever the transformation reported.
std::int32_t TKWZArcView::TransformFile(std::int32_t Source, std::int32_t Target) try {
    if (Shape) Shape->TransformShapeMulti(Source, Target);
    return 0;
} catch (...) {
    return 0;
}
