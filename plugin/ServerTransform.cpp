// The transformation places of the single-file server object: the shapefile's points by a
// transformation code (16) or by the outside library's system numbers (21), the units dialog
// (17), and the map's points through the outside library (20).
#include <cmath>
#include <numbers>

#include "plugin/KWZArcView.h"
#include "plugin/RepeatedMessageFilter.h"
#include "transform/TransformDispatcher.h"
#include "transform/TransformLibrary.h"
#include "transform/TransformTexts.h"

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;

bool DirectFromSource(std::int32_t source) {
    switch (source) {
        case SysCodePivot:
        case SysCodeDirect15:
        case SysCodeDirect18:
        case SysCodeDirect21:
        case SysCodeDirect24:
            return true;
        default:
            return false;
    }
}

// One map point (northing, easting) through transMultiTrans: degrees of the geographic system
// become radians on the way in and degrees on the way out, one call from the pivot and the direct
// systems and two through the pivot from any other. The points carry no value for the third
// coordinate: 0 goes in for each. A point the library reports as not transformed, or that comes
// back non-finite, is refused: its coordinates would be the input half converted.
bool TransformMapPoint(TTransMultiTrans call, std::int32_t source, std::int32_t target, double& n,
                       double& e) {
    double x = n, y = e, z = 0.0;
    if (source == SysCodeGeographic) {
        x *= kDegToRad;
        y *= kDegToRad;
    }
    bool done = false;
    if (DirectFromSource(source)) {
        done = call(source, target, x, y, z, &x, &y, &z) == 0;
    } else {
        done = call(source, SysCodePivot, x, y, z, &x, &y, &z) == 0 &&
               call(SysCodePivot, target, x, y, z, &x, &y, &z) == 0;
    }
    if (target == SysCodeGeographic) {
        x *= kRadToDeg;
        y *= kRadToDeg;
    }
    if (!done || !std::isfinite(x) || !std::isfinite(y)) return false;
    n = x;
    e = y;
    return true;
}

}  // namespace

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
        if (TransformMapPoint(call, Source, Target, n, east)) {
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
