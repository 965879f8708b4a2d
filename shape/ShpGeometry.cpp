// Vertex walk, snapping, hit tests and boxes of the geometry families.
#include "shape/ShpGeometry.h"

#include <algorithm>
#include <cmath>

#include "model/PlaneGeometry.h"

namespace {

constexpr long double kPi = 3.1415926535897932385L;
constexpr long double kTwoPi = 6.283185307179586477L;

void WidenBox(bool first, double ownXmin, double ownYmin, double ownXmax, double ownYmax,
              double& Xmin, double& Ymin, double& Xmax, double& Ymax) {
    if (first) {
        Xmin = ownXmin;
        Ymin = ownYmin;
        Xmax = ownXmax;
        Ymax = ownYmax;
    } else {
        Xmin = MinOf(ownXmin, Xmin);
        Ymin = MinOf(ownYmin, Ymin);
        Xmax = MaxOf(ownXmax, Xmax);
        Ymax = MaxOf(ownYmax, Ymax);
    }
}

}  // namespace

void TSHPGeometry::operator delete(TSHPGeometry* geometry, std::destroying_delete_t) noexcept {
    const bool inArena = geometry->InArena();
    void* whole = dynamic_cast<void*>(geometry);
    geometry->~TSHPGeometry();
    if (!inArena) ::operator delete(whole);
}

double MinOf(double A, double B) {
    return A >= B ? B : A;
}

double MaxOf(double A, double B) {
    return A > B ? A : B;
}

// Point family.

bool TSHPPointRecord::First() {
    CurrentVertex = 1;
    return true;
}

bool TSHPPointRecord::GetVertex(double& outX, double& outY) const {
    outX = X;
    outY = Y;
    return true;
}

bool TSHPPointRecord::SetVertex(double newX, double newY) {
    X = newX;
    Y = newY;
    return true;
}

bool TSHPPointRecord::SnapVertex(double& N, double& E, double queryN, double queryE,
                                 double tolerance) {
    N = Y;
    E = X;
    return Hypot(Y - queryN, X - queryE) <= tolerance;
}

bool TSHPPointRecord::HitTest(double queryN, double queryE, double tolerance) {
    double n = 0, e = 0;
    return SnapVertex(n, e, queryN, queryE, tolerance);
}

bool TSHPPointRecord::ComputeBox(bool first, double& Xmin, double& Ymin, double& Xmax,
                                 double& Ymax) {
    WidenBox(first, X, Y, X, Y, Xmin, Ymin, Xmax, Ymax);
    return true;
}

// Families with a run of points.

std::int32_t TSHPPointSet::PointCount() const {
    return static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(std::max(NumPoints, 0)), Points.size()));
}

bool TSHPPointSet::First() {
    CurrentVertex = 1;
    return PointCount() > 0;
}

bool TSHPPointSet::Next() {
    // The cursor stops one past the last point, so endless calls cannot overflow it.
    if (CurrentVertex <= PointCount()) ++CurrentVertex;
    return CurrentVertex <= PointCount();
}

bool TSHPPointSet::GetVertex(double& X, double& Y) const {
    if (CurrentVertex < 1 || CurrentVertex > PointCount()) return false;
    const TShpPoint& p = Points[static_cast<std::size_t>(CurrentVertex - 1)];
    X = p.X;
    Y = p.Y;
    return true;
}

bool TSHPPointSet::SetVertex(double X, double Y) {
    if (CurrentVertex < 1 || CurrentVertex > PointCount()) return false;
    TShpPoint& p = Points[static_cast<std::size_t>(CurrentVertex - 1)];
    p.X = X;
    p.Y = Y;
    return true;
}

bool TSHPPointSet::SnapVertex(double& N, double& E, double queryN, double queryE,
                              double tolerance) {
    if (PointCount() <= 0) return false;
    First();
    do {
        double x = 0, y = 0;
        GetVertex(x, y);
        N = y;
        E = x;
        if (Hypot(y - queryN, x - queryE) <= tolerance) return true;
    } while (Next());
    return false;
}

bool TSHPPointSet::ComputeBox(bool first, double& Xmin, double& Ymin, double& Xmax, double& Ymax) {
    const std::int32_t n = PointCount();
    if (n <= 0) return false;
    Box = {Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
    for (std::int32_t i = 1; i < n; ++i) {
        const TShpPoint& p = Points[static_cast<std::size_t>(i)];
        Box[0] = MinOf(Box[0], p.X);
        Box[1] = MinOf(Box[1], p.Y);
        Box[2] = MaxOf(Box[2], p.X);
        Box[3] = MaxOf(Box[3], p.Y);
    }
    WidenBox(first, Box[0], Box[1], Box[2], Box[3], Xmin, Ymin, Xmax, Ymax);
    return true;
}

bool TSHPMultiPointRecord::HitTest(double queryN, double queryE, double tolerance) {
    double n = 0, e = 0;
    return SnapVertex(n, e, queryN, queryE, tolerance);
}

// Parts.

std::int32_t TSHPPartedRecord::PartCount() const {
    if (Parts.empty()) return 0;
    return static_cast<std::int32_t>(
        std::min<std::size_t>(static_cast<std::size_t>(std::max(NumParts, 0)), Parts.size() - 1));
}

void TSHPPartedRecord::PartRange(std::int32_t i, std::int32_t& start, std::int32_t& end) const {
    const std::int32_t n = PointCount();
    start = std::clamp(Parts[static_cast<std::size_t>(i)], 0, n);
    end = std::clamp(Parts[static_cast<std::size_t>(i) + 1], start, n);
    // The part ends where the next one starts; the last part ends at the last point.
    if (i + 1 == PartCount()) end = n;
    end = std::max(end, start);
}

bool TSHPArcRecord::HitTest(double queryN, double queryE, double tolerance) {
    double n = 0, e = 0;
    if (SnapVertex(n, e, queryN, queryE, tolerance)) return true;
    // One chain over all points, across part boundaries: the gap between parts counts too.
    const std::int32_t count = PointCount();
    for (std::int32_t i = 0; i + 1 < count; ++i) {
        const TShpPoint& a = Points[static_cast<std::size_t>(i)];
        const TShpPoint& b = Points[static_cast<std::size_t>(i) + 1];
        bool onSegment = false;
        const double d = DistanceToSegment(onSegment, a.Y, a.X, b.Y, b.X, queryN, queryE);
        if (d <= tolerance && onSegment) return true;
    }
    return false;
}

bool TSHPPolygonRecord::SetVertexIndex(std::int32_t index) {
    // Positions before the first vertex are refused as well: the cursor must name a point.
    if (index < 1 || index > PointCount()) return false;
    CurrentVertex = index;
    return true;
}

bool TSHPPolygonRecord::HitTest(double queryN, double queryE, double /*tolerance*/) {
    double xmin = 0, ymin = 0, xmax = 0, ymax = 0;
    if (!ComputeBox(true, xmin, ymin, xmax, ymax)) return false;
    if (!PointInRect(queryN, queryE, ymin, xmin, ymax, xmax)) return false;
    return ContainsPoint(queryN, queryE);
}

bool TSHPPolygonRecord::ContainsPoint(double queryN, double queryE) const {
    const std::int32_t parts = PartCount();
    for (std::int32_t i = 0; i < parts; ++i) {
        std::int32_t start = 0, end = 0;
        PartRange(i, start, end);
        if (end - start < 2) continue;
        const std::int32_t last = end - 1;
        long double sum = 0;
        TShpPoint prev = Points[static_cast<std::size_t>(start)];
        for (std::int32_t k = start + 1; k <= last; ++k) {
            // The ring closes on its first point whatever its last point holds.
            const TShpPoint cur = k == last ? Points[static_cast<std::size_t>(start)]
                                            : Points[static_cast<std::size_t>(k)];
            const double aE = prev.X - queryE, aN = prev.Y - queryN;
            const double bE = cur.X - queryE, bN = cur.Y - queryN;
            const double cross = aE * bN - bE * aN;
            const double dot = aE * bE + aN * bN;
            long double angle = Azimuth(cross, dot);
            if (angle > kPi) angle -= kTwoPi;
            sum += angle;
            prev = cur;
        }
        if (std::fabs(std::fabs(sum) - kTwoPi) * 200.0L / kPi < 1e-4L) return true;
    }
    return false;
}
