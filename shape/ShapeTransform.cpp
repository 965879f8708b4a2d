#include "shape/ShapeTransform.h"

#include <cmath>
#include <numbers>

#include "shape/ProgressFormShared.h"
#include "shape/Shape.h"
#include "shape/ShapeTransformTexts.h"
#include "transform/TransformDispatcher.h"
#include "transform/TransformLibrary.h"

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;

// The shared progress window for one run over the records, closed however the run ends.
class TransformProgress {
  public:
    explicit TransformProgress(std::int32_t records) {
        ProgressOpen(0, records, 1, shapetransformtexts::ProgressTransform());
        ProgressShow();
    }
    ~TransformProgress() { ProgressClose(); }
    TransformProgress(const TransformProgress&) = delete;
    TransformProgress& operator=(const TransformProgress&) = delete;

    // One step each time the walk reaches another record.
    void Enter(const TSHPRecord* record) {
        if (record == current_) return;
        current_ = record;
        ProgressStep();
    }

  private:
    const TSHPRecord* current_ = nullptr;
};

// Walks every point of every record (records without points yield none) and stores what
// `transform` makes of it, northing first; a point it refuses keeps its coordinates.
template <class PointTransform>
void TransformAllPoints(TSHPRecords& records, PointTransform transform) {
    TransformProgress progress(records.Count());
    records.GoFirstVertex();
    do {
        progress.Enter(records.CurrentRecord());
        double x = 0.0, y = 0.0;
        if (!records.GetCurrentVertex(x, y)) continue;
        double n = y, e = x;
        if (transform(n, e)) records.SetCurrentVertex(e, n);
    } while (records.NextVertex());
}

}  // namespace

double PlanarUnitFactor(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(kPlanarUnitFactors.size())) return 1.0;
    return kPlanarUnitFactors[static_cast<std::size_t>(index)];
}

bool HeldInPlanarUnit(int system) {
    switch (system) {
        case csWgs84Xyz:
        case cs1942Xy:
        case cs1965:
        case cs4283:
        case csBorowaGora:
        case csWarszawa75:
        case csPuwg1992:
        case csWarszawa25:
            return true;
        default:
            return false;
    }
}

bool HeldAsAngles(int system) {
    return system == csWgs84Blh || system == cs1942Blh;
}

std::int32_t TShape::TransformShape(std::uint8_t Code, double P1, double P2, double P3) {
    if (!Records || Records->Count() == 0) return 0;
    // Code 255 gives 15 on both sides: no conversion of units or angles applies.
    const int source = Code >> 4;
    const int target = Code & 15;
    const double factor = PlanarUnitFactor(PlanarUnitIndex);
    const bool degrees = AngularFormatIndex == kAngularDegrees;
    const double inScale = HeldInPlanarUnit(source)          ? factor
                           : HeldAsAngles(source) && degrees ? kDegToRad
                                                             : 1.0;
    const bool outPlanar = HeldInPlanarUnit(target);
    const double outScale = HeldAsAngles(target) && degrees ? kRadToDeg : 1.0;

    std::int32_t result = -1;
    bool failed = false;
    // The points carry no height for the dispatcher: 0 goes in, and the height result is dropped
    // (the Z values of the records stay as they are).
    TransformAllPoints(*Records, [&](double& n, double& e) {
        double outN = 0.0, outE = 0.0, outH = 0.0;
        const int r =
            TransformPoint(Code, P1, P2, P3, n * inScale, e * inScale, 0.0, &outN, &outE, &outH);
        // A point the dispatcher did not transform would come back in the wrong unit or half
        // converted: it keeps its coordinates, and the first such result is the one reported.
        if (r != kTransformDone) {
            if (!failed) result = r;
            failed = true;
            return false;
        }
        if (!failed) result = r;
        n = outPlanar ? outN / factor : outN * outScale;
        e = outPlanar ? outE / factor : outE * outScale;
        return true;
    });
    State = 3;
    RebuildHeader();
    return result;
}

std::int32_t TShape::TransformShapeMulti(std::int32_t Source, std::int32_t Target) {
    if (!Records || Records->Count() == 0) return kMultiTransformDone;
    if (BindTransformLibrary() != 0) return kMultiTransformNoLibrary;
    const TTransMultiTrans call = TransMultiTrans();
    bool failed = false;
    TransformAllPoints(*Records, [&](double& n, double& e) {
        if (TransformPointWithLibrary(call, Source, Target, n, e)) return true;
        failed = true;
        return false;
    });
    State = 3;
    RebuildHeader();
    return failed ? kMultiTransformPointsFailed : kMultiTransformDone;
}
