#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ShapeTestUtil.h"
#include "shape/Shape.h"
#include "shape/ShpGeometry.h"
#include "transform/TransformUnits.h"

namespace shapetransformtest {

// The transformation module loaded for each suite, as the library's start-up does, with the UI
// quiet and its messages cleared before every test.
class ShapeTransformTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        shapetest::QuietUi();
        InitializeTransformUnits();
    }
    static void TearDownTestSuite() { FinalizeTransformUnits(); }
    void SetUp() override { shapetest::QuietUi(); }
};

// The shape types of every family, with a null record among them.
inline const std::vector<std::int32_t>& AllTypes() {
    static const std::vector<std::int32_t> types = {1, 11, 21, 8, 18, 28, 0,
                                                    3, 13, 23, 5, 15, 25, 31};
    return types;
}

// A shape with one record of each of the types (0: a null record; the others with two parts of
// three points, or three points), its vertices taken from `points` (X easting, Y northing) in walk
// order, cycling; Z and M as shapetest::MakeRecord makes them.
inline std::unique_ptr<TShape> ShapeOf(const std::vector<std::int32_t>& types,
                                       const std::vector<TShpPoint>& points) {
    auto shape = std::make_unique<TShape>();
    int seed = 0;
    for (std::int32_t type : types) {
        if (type == 0) {
            auto null = std::make_unique<TSHPRecord>();
            null->Geometry = NewGeometryFor(0);
            shape->Records->AddRecord(std::move(null));
        } else {
            shape->Records->AddRecord(shapetest::MakeRecord(type, 2, 3, ++seed));
        }
    }
    std::size_t i = 0;
    shape->GoFirstVertex();
    do {
        double x = 0, y = 0;
        if (!shape->GetCurrentVertex(x, y)) continue;
        const TShpPoint& p = points[i++ % points.size()];
        shape->SetCurrentVertex(p.X, p.Y);
    } while (shape->NextVertex());
    shape->RebuildHeader();
    return shape;
}

inline std::unique_ptr<TShape> ShapeOfAllFamilies(const std::vector<TShpPoint>& points) {
    return ShapeOf(AllTypes(), points);
}

// Every vertex of the shape in walk order.
inline std::vector<TShpPoint> Vertices(TShape& shape) {
    std::vector<TShpPoint> result;
    shape.GoFirstVertex();
    do {
        TShpPoint p;
        if (shape.GetCurrentVertex(p.X, p.Y)) result.push_back(p);
    } while (shape.NextVertex());
    return result;
}

// Points across the 1992 system, east of its meridian (X easting, Y northing, metres).
inline std::vector<TShpPoint> Points1992() {
    std::vector<TShpPoint> points;
    for (int i = 0; i < 12; ++i)
        points.push_back({560000.125 + 15731.25 * i, 250000.5 + 37123.75 * ((i * 5) % 12)});
    return points;
}

// PROJ's cs2cs, the outside oracle: the points given and returned in the CRS's own axis order
// (for the Polish EPSG systems and EPSG:4326: northing or latitude first). Fails the test when
// cs2cs is missing or answers badly; the run works in a folder of its own.
struct Pair {
    double first = 0, second = 0;
};
inline std::vector<Pair> Cs2cs(const std::string& from, const std::string& to,
                               const std::vector<Pair>& points) {
    std::vector<Pair> result;
    if (!shapetest::ToolAvailable("cs2cs")) return result;
    shapetest::TempDir dir;
    const std::string in = dir.Path("in.txt");
    {
        std::ofstream file(in);
        file.precision(17);
        for (const Pair& p : points) file << p.first << ' ' << p.second << " 0\n";
    }
    std::string output;
    const std::string command = "cs2cs -f %.10f " + shapetest::Quote(from) + " " +
                                shapetest::Quote(to) + " " + shapetest::Quote(in) + " 2>&1";
    if (shapetest::RunCommand(command, &output) != 0) {
        ADD_FAILURE() << "cs2cs failed: " << command << "\n" << output;
        return result;
    }
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        Pair p;
        if (fields >> p.first >> p.second) result.push_back(p);
    }
    if (result.size() != points.size()) {
        ADD_FAILURE() << "cs2cs gave " << result.size() << " points for " << points.size() << "\n"
                      << output;
        result.clear();
    }
    return result;
}

// The vertices as PROJ takes them for a CRS with the northing first.
inline std::vector<Pair> NorthingFirst(const std::vector<TShpPoint>& points) {
    std::vector<Pair> result;
    for (const TShpPoint& p : points) result.push_back({p.Y, p.X});
    return result;
}

// The Z and M values of every record (the geometry's own, NaN-free), for comparing before and
// after a transformation.
inline std::vector<double> ZAndM(TShape& shape) {
    std::vector<double> values;
    for (TSHPRecord* r = shape.Records->FirstRecord(); r != nullptr;
         r = static_cast<TSHPRecord*>(r->GetNext())) {
        TSHPGeometry* g = r->Geometry.get();
        if (auto* p = dynamic_cast<TSHPPointZRecord*>(g)) values.insert(values.end(), {p->Z, p->M});
        if (auto* p = dynamic_cast<TSHPPointMRecord*>(g)) values.push_back(p->M);
        if (auto* z = dynamic_cast<TSHPZValues*>(g)) {
            values.insert(values.end(), {z->ZMin, z->ZMax, z->MMin, z->MMax});
            values.insert(values.end(), z->ZValues.begin(), z->ZValues.end());
            values.insert(values.end(), z->MValues.begin(), z->MValues.end());
        }
        if (auto* m = dynamic_cast<TSHPMValues*>(g)) {
            values.insert(values.end(), {m->MMin, m->MMax});
            values.insert(values.end(), m->MValues.begin(), m->MValues.end());
        }
    }
    return values;
}

// The header's bounding box: Xmin, Ymin, Xmax, Ymax.
inline std::vector<double> HeaderBox(const TShape& shape) {
    std::vector<double> box(4);
    for (int i = 0; i < 4; ++i) {
        double v = 0;
        std::memcpy(&v, shape.Header.data() + 36 + 8 * i, sizeof v);
        box[static_cast<std::size_t>(i)] = v;
    }
    return box;
}

// The box of the vertices: Xmin, Ymin, Xmax, Ymax.
inline std::vector<double> BoxOf(const std::vector<TShpPoint>& points) {
    std::vector<double> box = {points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (const TShpPoint& p : points) {
        box[0] = std::min(box[0], p.X);
        box[1] = std::min(box[1], p.Y);
        box[2] = std::max(box[2], p.X);
        box[3] = std::max(box[3], p.Y);
    }
    return box;
}

}  // namespace shapetransformtest
