#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/Lista.h"
#include "platform/BinaryFile.h"
#include "platform/Canvas.h"

// The geometry of one shapefile record, one class per shape type. Points are stored as the file
// has them (X easting, Y northing); queries, tolerances and world windows come in host order
// (northing first). Counts and arrays always agree: Parts has NumParts + 1 entries, the last one
// NumPoints, and every part start read from a file lies in 0..NumPoints-1, ascending.

class ShpReader;

struct TShpPoint {
    double X = 0;
    double Y = 0;
};
static_assert(sizeof(TShpPoint) == 16);

// World window in host order: lowest northing, lowest easting, highest northing, highest easting.
using TWorldWindow = std::array<double, 4>;

// Value written for a measure a file did not carry ("no data" for every shapefile reader).
inline constexpr double kNoMeasure = -1e39;

// B when A >= B, else A; MaxOf: A when A > B, else B (a NaN comparison counts as false).
double MinOf(double A, double B);
double MaxOf(double A, double B);

// Maps (N, E) into the screen rectangle; larger northings go up. Results beyond the int32 range
// are held at its ends.
void WorldToScreen(const TWorldWindow& window, const platform::DcRect& screen, std::int32_t& SX,
                   std::int32_t& SY, double N, double E);

// Content length in bytes (shape type included) for a type and its counts, with the optional
// measures (M range and values) of the Z and M types included or left out; -1 for a type without
// a layout.
std::int64_t ShapeContentBytes(std::int32_t shapeType, std::int64_t numParts,
                               std::int64_t numPoints, bool withMeasures = true);

// Geometries of every shape type share this base so that a record can hold any of them. A
// geometry is made on the heap or in the storage of its shapefile's record list (MapArena.h):
// deleting one runs its destructor, and only a heap one is then freed.
class TSHPGeometry : public TElement {
  public:
    virtual ~TSHPGeometry() = default;
    static void* operator new(std::size_t size) { return ::operator new(size); }
    // Only for a constructor that throws: a made geometry is deleted by the operator below.
    static void operator delete(void* memory) noexcept { ::operator delete(memory); }
    static void operator delete(TSHPGeometry* geometry, std::destroying_delete_t) noexcept;
    // The shape type whose layout this class reads and writes.
    virtual std::int32_t NativeShapeType() const = 0;
    // Reads the content after the shape type; `contentBytes` is the record header's length, used
    // only to tell whether the optional measures are there. Throws ShapeReadError.
    virtual void ReadGeometry(ShpReader& in, std::int64_t contentBytes) = 0;
    // Writes the content after the shape type, field for field as read; no end sentinels.
    virtual void WriteGeometry(platform::BinaryFile& out) const = 0;
    // Bytes ReadGeometry/WriteGeometry cover, shape type included.
    virtual std::int64_t ContentBytes() const = 0;
    // Back to an empty geometry of its class (after a read that failed part-way).
    virtual void Clear() {}
};

class TSHPNullRecord : public TSHPGeometry {
  public:
    std::int32_t NativeShapeType() const override { return 0; }
    void ReadGeometry(ShpReader&, std::int64_t) override {}
    void WriteGeometry(platform::BinaryFile&) const override {}
    std::int64_t ContentBytes() const override { return 4; }
};

// The operations every family with vertices offers.
class TSHPShapeGeometry : public TSHPGeometry {
  public:
    std::int32_t CurrentVertex = 0;  // 1-based
    std::uint8_t FirstXIsNaN = 0;

    virtual bool First() = 0;
    virtual bool Next() = 0;
    virtual bool GetVertex(double& X, double& Y) const = 0;
    virtual bool SetVertex(double X, double Y) = 0;
    virtual bool SnapVertex(double& N, double& E, double queryN, double queryE,
                            double tolerance) = 0;
    virtual bool HitTest(double queryN, double queryE, double tolerance) = 0;
    virtual bool ComputeBox(bool first, double& Xmin, double& Ymin, double& Xmax, double& Ymax) = 0;
    virtual void DrawGeometry(platform::TCanvas& canvas, const TWorldWindow& window,
                              std::string_view symbol, const platform::DcRect& screen) = 0;
    // Number of vertices the geometry holds.
    virtual std::int32_t VertexCount() const = 0;
};

// Point family: types 1, 21, 11.
class TSHPPointRecord : public TSHPShapeGeometry {
  public:
    double X = 0;
    double Y = 0;

    std::int32_t NativeShapeType() const override { return 1; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    std::int64_t ContentBytes() const override { return 20; }

    bool First() override;
    bool Next() override { return false; }
    bool GetVertex(double& outX, double& outY) const override;
    bool SetVertex(double newX, double newY) override;
    bool SnapVertex(double& N, double& E, double queryN, double queryE, double tolerance) override;
    bool HitTest(double queryN, double queryE, double tolerance) override;
    bool ComputeBox(bool first, double& Xmin, double& Ymin, double& Xmax, double& Ymax) override;
    void DrawGeometry(platform::TCanvas& canvas, const TWorldWindow& window,
                      std::string_view symbol, const platform::DcRect& screen) override;
    std::int32_t VertexCount() const override { return 1; }
};

class TSHPPointMRecord : public TSHPPointRecord {
  public:
    double M = 0;

    std::int32_t NativeShapeType() const override { return 21; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    std::int64_t ContentBytes() const override { return 28; }
};

class TSHPPointZRecord : public TSHPPointRecord {
  public:
    double Z = 0;
    double M = 0;

    std::int32_t NativeShapeType() const override { return 11; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    std::int64_t ContentBytes() const override { return 36; }
};

// Shared by the multipoint, line and polygon families: a box and a run of points.
class TSHPPointSet : public TSHPShapeGeometry {
  public:
    std::array<double, 4> Box{};  // Xmin, Ymin, Xmax, Ymax
    std::int32_t NumPoints = 0;
    std::vector<TShpPoint> Points;

    bool First() override;
    bool Next() override;
    bool GetVertex(double& X, double& Y) const override;
    bool SetVertex(double X, double Y) override;
    bool SnapVertex(double& N, double& E, double queryN, double queryE, double tolerance) override;
    bool ComputeBox(bool first, double& Xmin, double& Ymin, double& Xmax, double& Ymax) override;
    std::int32_t VertexCount() const override { return PointCount(); }

    // NumPoints, held to the points actually there.
    std::int32_t PointCount() const;
    void Clear() override;
};

// The Z range and values and the M range and values of the Z types.
struct TSHPZValues {
    double ZMin = 0, ZMax = 0, MMin = 0, MMax = 0;
    std::vector<double> ZValues, MValues;
    void ReadValues(ShpReader& in, std::int32_t numPoints, bool withMeasures);
    void WriteValues(platform::BinaryFile& out, std::int32_t numPoints) const;
    void ClearValues();
};

// The M range and values of the M types.
struct TSHPMValues {
    double MMin = 0, MMax = 0;
    std::vector<double> MValues;
    void ReadValues(ShpReader& in, std::int32_t numPoints, bool withMeasures);
    void WriteValues(platform::BinaryFile& out, std::int32_t numPoints) const;
    void ClearValues();
};

// Multipoint family: types 8, 28, 18.
class TSHPMultiPointRecord : public TSHPPointSet {
  public:
    std::int32_t NativeShapeType() const override { return 8; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    std::int64_t ContentBytes() const override;
    bool HitTest(double queryN, double queryE, double tolerance) override;
    void DrawGeometry(platform::TCanvas& canvas, const TWorldWindow& window,
                      std::string_view symbol, const platform::DcRect& screen) override;
    // Sets NumPoints and sizes Points.
    void Resize(std::int32_t numPoints);

  protected:
    // Box, count and points, checked like ReadParted; returns whether the measures follow.
    bool ReadMulti(ShpReader& in, std::int64_t contentBytes);
    void WriteMulti(platform::BinaryFile& out) const;
};

class TSHPMultiPointMRecord : public TSHPMultiPointRecord, public TSHPMValues {
  public:
    std::int32_t NativeShapeType() const override { return 28; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    void Clear() override;
};

class TSHPMultiPointZRecord : public TSHPMultiPointRecord, public TSHPZValues {
  public:
    std::int32_t NativeShapeType() const override { return 18; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    void Clear() override;
};

// Points in parts: the line and polygon families.
class TSHPPartedRecord : public TSHPPointSet {
  public:
    std::int32_t NumParts = 0;
    std::vector<std::int32_t> Parts{0};  // NumParts + 1 entries, the last one NumPoints

    std::int64_t ContentBytes() const override;
    // Sets NumParts and NumPoints and sizes Parts (last entry := NumPoints) and Points.
    void Resize(std::int32_t numParts, std::int32_t numPoints);
    void Clear() override;
    // NumParts, held to the part starts actually there.
    std::int32_t PartCount() const;
    // Points [start, end) of part i, held to the points there.
    void PartRange(std::int32_t i, std::int32_t& start, std::int32_t& end) const;

  protected:
    // Box, counts, part starts (and the multipatch's part types), then the points, after checking
    // that the file holds the whole content the counts announce. Returns whether the optional
    // measures follow.
    bool ReadParted(ShpReader& in, std::int64_t contentBytes, std::vector<std::int32_t>* partTypes);
    void WriteParted(platform::BinaryFile& out, const std::vector<std::int32_t>* partTypes) const;
};

// Line family: types 3, 23, 13.
class TSHPArcRecord : public TSHPPartedRecord {
  public:
    std::int32_t NativeShapeType() const override { return 3; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    bool HitTest(double queryN, double queryE, double tolerance) override;
    void DrawGeometry(platform::TCanvas& canvas, const TWorldWindow& window,
                      std::string_view symbol, const platform::DcRect& screen) override;
};

class TSHPPolyLineMRecord : public TSHPArcRecord, public TSHPMValues {
  public:
    std::int32_t NativeShapeType() const override { return 23; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    void Clear() override;
};

class TSHPPolyLineZRecord : public TSHPArcRecord, public TSHPZValues {
  public:
    std::int32_t NativeShapeType() const override { return 13; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    void Clear() override;
};

// Polygon family: types 5, 25, 15, 31.
class TSHPPolygonRecord : public TSHPPartedRecord {
  public:
    std::int32_t NativeShapeType() const override { return 5; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    bool SetVertexIndex(std::int32_t index);
    bool HitTest(double queryN, double queryE, double tolerance) override;
    // Winding-angle test over every ring; a hole counts as a ring of its own.
    bool ContainsPoint(double queryN, double queryE) const;
    void DrawGeometry(platform::TCanvas& canvas, const TWorldWindow& window,
                      std::string_view symbol, const platform::DcRect& screen) override;

  protected:
    void MarkNaN();
};

class TSHPPolygonMRecord : public TSHPPolygonRecord, public TSHPMValues {
  public:
    std::int32_t NativeShapeType() const override { return 25; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    void Clear() override;
};

class TSHPPolygonZRecord : public TSHPPolygonRecord, public TSHPZValues {
  public:
    std::int32_t NativeShapeType() const override { return 15; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    void Clear() override;
};

class TSHPMultiPatchRecord : public TSHPPolygonZRecord {
  public:
    std::vector<std::int32_t> PartTypes{0};  // NumParts + 1 entries, the last one NumPoints

    std::int32_t NativeShapeType() const override { return 31; }
    void ReadGeometry(ShpReader& in, std::int64_t contentBytes) override;
    void WriteGeometry(platform::BinaryFile& out) const override;
    void Clear() override;
};
