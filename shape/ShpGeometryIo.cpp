// Reading and writing the geometry of each shape type, byte for byte as the main file holds it.
#include <algorithm>
#include <cmath>

#include "shape/ShpGeometry.h"
#include "shape/ShpIo.h"

namespace {

constexpr std::int64_t kHeadBytesMulti = 4 + 32 + 4;       // type, box, N
constexpr std::int64_t kHeadBytesParted = 4 + 32 + 4 + 4;  // type, box, P, N

// Whether a record of this type and these counts carries its optional measures. Other writers
// leave them out of the Z types; the record header's length tells. A length that fits neither
// layout is read as the full layout.
bool MeasuresPresent(std::int32_t type, std::int64_t parts, std::int64_t points,
                     std::int64_t contentBytes) {
    const std::int64_t full = ShapeContentBytes(type, parts, points, true);
    const std::int64_t bare = ShapeContentBytes(type, parts, points, false);
    return !(contentBytes < full && contentBytes >= bare);
}

void ReadDoubles(ShpReader& in, std::vector<double>& values, std::int32_t count) {
    values.resize(static_cast<std::size_t>(count));
    if (count > 0) in.Bytes(values.data(), 8 * static_cast<std::size_t>(count));
}

void WriteInt32(platform::BinaryFile& out, std::int32_t v) {
    out.Write(&v, 4);
}
void WriteDouble(platform::BinaryFile& out, double v) {
    out.Write(&v, 8);
}

// Writes `count` values, padding with `fill` when the array holds fewer.
template <typename T>
void WriteArray(platform::BinaryFile& out, const std::vector<T>& values, std::int32_t count,
                T fill) {
    const std::size_t n = static_cast<std::size_t>(std::max(count, 0));
    const std::size_t have = std::min(n, values.size());
    if (have > 0) out.Write(values.data(), have * sizeof(T));
    for (std::size_t i = have; i < n; ++i) out.Write(&fill, sizeof(T));
}

void WritePoints(platform::BinaryFile& out, const std::vector<TShpPoint>& points,
                 std::int32_t count) {
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(count, 0)), points.size());
    if (n > 0) out.Write(points.data(), n * sizeof(TShpPoint));
}

}  // namespace

std::int64_t ShapeContentBytes(std::int32_t shapeType, std::int64_t numParts,
                               std::int64_t numPoints, bool withMeasures) {
    const std::int64_t P = numParts, N = numPoints;
    const std::int64_t m = withMeasures ? 16 + 8 * N : 0;
    switch (shapeType) {
        case 0:
            return 4;
        case 1:
            return 20;
        case 21:
            return withMeasures ? 28 : 20;
        case 11:
            return withMeasures ? 36 : 28;
        case 8:
            return 40 + 16 * N;
        case 28:
            return 40 + 16 * N + m;
        case 18:
            return 40 + 16 * N + 16 + 8 * N + m;
        case 3:
        case 5:
            return 44 + 4 * P + 16 * N;
        case 23:
        case 25:
            return 44 + 4 * P + 16 * N + m;
        case 13:
        case 15:
            return 44 + 4 * P + 16 * N + 16 + 8 * N + m;
        case 31:
            return 44 + 8 * P + 16 * N + 16 + 8 * N + m;
        default:
            return -1;
    }
}

// Z and M blocks.

void TSHPZValues::ReadValues(ShpReader& in, std::int32_t numPoints, bool withMeasures) {
    ZMin = in.Double();
    ZMax = in.Double();
    ReadDoubles(in, ZValues, numPoints);
    if (withMeasures) {
        MMin = in.Double();
        MMax = in.Double();
        ReadDoubles(in, MValues, numPoints);
    } else {
        MMin = MMax = kNoMeasure;
        MValues.assign(static_cast<std::size_t>(numPoints), kNoMeasure);
    }
}

void TSHPZValues::WriteValues(platform::BinaryFile& out, std::int32_t numPoints) const {
    WriteDouble(out, ZMin);
    WriteDouble(out, ZMax);
    WriteArray(out, ZValues, numPoints, 0.0);
    WriteDouble(out, MMin);
    WriteDouble(out, MMax);
    WriteArray(out, MValues, numPoints, kNoMeasure);
}

void TSHPZValues::ClearValues() {
    ZMin = ZMax = MMin = MMax = 0;
    ZValues.clear();
    MValues.clear();
}

void TSHPMValues::ReadValues(ShpReader& in, std::int32_t numPoints, bool withMeasures) {
    if (withMeasures) {
        MMin = in.Double();
        MMax = in.Double();
        ReadDoubles(in, MValues, numPoints);
    } else {
        MMin = MMax = kNoMeasure;
        MValues.assign(static_cast<std::size_t>(numPoints), kNoMeasure);
    }
}

void TSHPMValues::WriteValues(platform::BinaryFile& out, std::int32_t numPoints) const {
    WriteDouble(out, MMin);
    WriteDouble(out, MMax);
    WriteArray(out, MValues, numPoints, kNoMeasure);
}

void TSHPMValues::ClearValues() {
    MMin = MMax = 0;
    MValues.clear();
}

// Point family.

void TSHPPointRecord::ReadGeometry(ShpReader& in, std::int64_t /*contentBytes*/) {
    FirstXIsNaN = 0;
    X = in.Double();
    Y = in.Double();
}

void TSHPPointRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteDouble(out, X);
    WriteDouble(out, Y);
}

void TSHPPointMRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    TSHPPointRecord::ReadGeometry(in, contentBytes);
    M = MeasuresPresent(21, 0, 0, contentBytes) ? in.Double() : kNoMeasure;
}

void TSHPPointMRecord::WriteGeometry(platform::BinaryFile& out) const {
    TSHPPointRecord::WriteGeometry(out);
    WriteDouble(out, M);
}

void TSHPPointZRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    TSHPPointRecord::ReadGeometry(in, contentBytes);
    Z = in.Double();
    M = MeasuresPresent(11, 0, 0, contentBytes) ? in.Double() : kNoMeasure;
}

void TSHPPointZRecord::WriteGeometry(platform::BinaryFile& out) const {
    TSHPPointRecord::WriteGeometry(out);
    WriteDouble(out, Z);
    WriteDouble(out, M);
}

// Multipoint family.

void TSHPPointSet::Clear() {
    Box = {};
    NumPoints = 0;
    Points.clear();
    CurrentVertex = 1;
}

void TSHPMultiPointRecord::Resize(std::int32_t numPoints) {
    NumPoints = std::max(numPoints, 0);
    Points.resize(static_cast<std::size_t>(NumPoints));
}

std::int64_t TSHPMultiPointRecord::ContentBytes() const {
    return ShapeContentBytes(NativeShapeType(), 0, PointCount());
}

bool TSHPMultiPointRecord::ReadMulti(ShpReader& in, std::int64_t contentBytes) {
    TSHPPointSet::Clear();
    FirstXIsNaN = 0;
    in.Bytes(Box.data(), 32);
    const std::int32_t n = in.Int32();
    if (n < 0) throw ShapeReadError("negative point count");
    const std::int32_t type = NativeShapeType();
    const bool withMeasures = MeasuresPresent(type, 0, n, contentBytes);
    in.Require(ShapeContentBytes(type, 0, n, withMeasures) - kHeadBytesMulti);
    Points.resize(static_cast<std::size_t>(n));
    if (n > 0) in.Bytes(Points.data(), 16 * static_cast<std::size_t>(n));
    NumPoints = n;
    return withMeasures;
}

void TSHPMultiPointRecord::WriteMulti(platform::BinaryFile& out) const {
    out.Write(Box.data(), 32);
    WriteInt32(out, PointCount());
    WritePoints(out, Points, PointCount());
}

void TSHPMultiPointRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    ReadMulti(in, contentBytes);
}

void TSHPMultiPointRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteMulti(out);
}

void TSHPMultiPointMRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    const bool withMeasures = ReadMulti(in, contentBytes);
    TSHPMValues::ReadValues(in, NumPoints, withMeasures);
}

void TSHPMultiPointMRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteMulti(out);
    TSHPMValues::WriteValues(out, PointCount());
}

void TSHPMultiPointMRecord::Clear() {
    TSHPMultiPointRecord::Clear();
    ClearValues();
}

void TSHPMultiPointZRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    const bool withMeasures = ReadMulti(in, contentBytes);
    TSHPZValues::ReadValues(in, NumPoints, withMeasures);
}

void TSHPMultiPointZRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteMulti(out);
    TSHPZValues::WriteValues(out, PointCount());
}

void TSHPMultiPointZRecord::Clear() {
    TSHPMultiPointRecord::Clear();
    ClearValues();
}

// Line and polygon families.

void TSHPPartedRecord::Clear() {
    TSHPPointSet::Clear();
    NumParts = 0;
    Parts.assign(1, 0);
}

void TSHPPartedRecord::Resize(std::int32_t numParts, std::int32_t numPoints) {
    NumParts = std::max(numParts, 0);
    NumPoints = std::max(numPoints, 0);
    Parts.resize(static_cast<std::size_t>(NumParts) + 1, 0);
    Parts[static_cast<std::size_t>(NumParts)] = NumPoints;
    Points.resize(static_cast<std::size_t>(NumPoints));
}

std::int64_t TSHPPartedRecord::ContentBytes() const {
    return ShapeContentBytes(NativeShapeType(), PartCount(), PointCount());
}

bool TSHPPartedRecord::ReadParted(ShpReader& in, std::int64_t contentBytes,
                                  std::vector<std::int32_t>* partTypes) {
    TSHPPartedRecord::Clear();
    FirstXIsNaN = 0;
    in.Bytes(Box.data(), 32);
    const std::int32_t p = in.Int32();
    const std::int32_t n = in.Int32();
    if (p < 0 || n < 0) throw ShapeReadError("negative count");
    const std::int32_t type = NativeShapeType();
    const bool withMeasures = MeasuresPresent(type, p, n, contentBytes);
    in.Require(ShapeContentBytes(type, p, n, withMeasures) - kHeadBytesParted);

    std::vector<std::int32_t> starts(static_cast<std::size_t>(p) + 1);
    if (p > 0) in.Bytes(starts.data(), 4 * static_cast<std::size_t>(p));
    // Part starts must lie on points and ascend; otherwise every later walk over the parts
    // could leave the arrays. An empty geometry may still announce one part at 0.
    std::int32_t previous = -1;
    for (std::int32_t i = 0; i < p; ++i) {
        const std::int32_t s = starts[static_cast<std::size_t>(i)];
        const bool onPoint = s >= 0 && (s < n || (n == 0 && s == 0));
        if (!onPoint || s <= previous) throw ShapeReadError("part starts out of order");
        previous = s;
    }
    starts[static_cast<std::size_t>(p)] = n;
    if (partTypes != nullptr) {
        partTypes->assign(static_cast<std::size_t>(p) + 1, 0);
        if (p > 0) in.Bytes(partTypes->data(), 4 * static_cast<std::size_t>(p));
        (*partTypes)[static_cast<std::size_t>(p)] = n;
    }
    Points.resize(static_cast<std::size_t>(n));
    if (n > 0) in.Bytes(Points.data(), 16 * static_cast<std::size_t>(n));
    Parts = std::move(starts);
    NumParts = p;
    NumPoints = n;
    return withMeasures;
}

void TSHPPartedRecord::WriteParted(platform::BinaryFile& out,
                                   const std::vector<std::int32_t>* partTypes) const {
    const std::int32_t p = PartCount();
    const std::int32_t n = PointCount();
    out.Write(Box.data(), 32);
    WriteInt32(out, p);
    WriteInt32(out, n);
    WriteArray(out, Parts, p, 0);
    if (partTypes != nullptr) WriteArray(out, *partTypes, p, 0);
    WritePoints(out, Points, n);
}

void TSHPArcRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    ReadParted(in, contentBytes, nullptr);
}

void TSHPArcRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteParted(out, nullptr);
}

void TSHPPolyLineMRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    const bool withMeasures = ReadParted(in, contentBytes, nullptr);
    TSHPMValues::ReadValues(in, NumPoints, withMeasures);
}

void TSHPPolyLineMRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteParted(out, nullptr);
    TSHPMValues::WriteValues(out, PointCount());
}

void TSHPPolyLineMRecord::Clear() {
    TSHPArcRecord::Clear();
    ClearValues();
}

void TSHPPolyLineZRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    const bool withMeasures = ReadParted(in, contentBytes, nullptr);
    TSHPZValues::ReadValues(in, NumPoints, withMeasures);
}

void TSHPPolyLineZRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteParted(out, nullptr);
    TSHPZValues::WriteValues(out, PointCount());
}

void TSHPPolyLineZRecord::Clear() {
    TSHPArcRecord::Clear();
    ClearValues();
}

void TSHPPolygonRecord::MarkNaN() {
    FirstXIsNaN = (NumPoints > 0 && std::isnan(Points[0].X)) ? 1 : 0;
}

void TSHPPolygonRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    ReadParted(in, contentBytes, nullptr);
    MarkNaN();
}

void TSHPPolygonRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteParted(out, nullptr);
}

void TSHPPolygonMRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    const bool withMeasures = ReadParted(in, contentBytes, nullptr);
    MarkNaN();
    TSHPMValues::ReadValues(in, NumPoints, withMeasures);
}

void TSHPPolygonMRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteParted(out, nullptr);
    TSHPMValues::WriteValues(out, PointCount());
}

void TSHPPolygonMRecord::Clear() {
    TSHPPolygonRecord::Clear();
    ClearValues();
}

void TSHPPolygonZRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    const bool withMeasures = ReadParted(in, contentBytes, nullptr);
    MarkNaN();
    TSHPZValues::ReadValues(in, NumPoints, withMeasures);
}

void TSHPPolygonZRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteParted(out, nullptr);
    TSHPZValues::WriteValues(out, PointCount());
}

void TSHPPolygonZRecord::Clear() {
    TSHPPolygonRecord::Clear();
    ClearValues();
}

void TSHPMultiPatchRecord::ReadGeometry(ShpReader& in, std::int64_t contentBytes) {
    const bool withMeasures = ReadParted(in, contentBytes, &PartTypes);
    MarkNaN();
    TSHPZValues::ReadValues(in, NumPoints, withMeasures);
}

void TSHPMultiPatchRecord::WriteGeometry(platform::BinaryFile& out) const {
    WriteParted(out, &PartTypes);
    TSHPZValues::WriteValues(out, PointCount());
}

void TSHPMultiPatchRecord::Clear() {
    TSHPPolygonZRecord::Clear();
    PartTypes.assign(1, 0);
}
