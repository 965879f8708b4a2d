// Outside readers and writers as oracles: GDAL's ogrinfo and ogr2ogr, and pyshp.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "ShapeTestUtil.h"
#include "shape/DBaseFile.h"

using namespace shapetest;

namespace {

constexpr std::int32_t kSupported[] = {1, 21, 11, 8, 28, 18, 3, 23, 13, 5, 25, 15, 31};

struct OgrSummary {
    std::string geometry;
    long count = -1;
    double extent[4] = {NAN, NAN, NAN, NAN};
    std::string all;
};

// The rest of the line after `key`, or empty.
std::string After(const std::string& text, const std::string& key) {
    const std::size_t at = text.find(key);
    if (at == std::string::npos) return "";
    const std::size_t from = at + key.size();
    return text.substr(from, text.find('\n', from) - from);
}

OgrSummary OgrInfo(const std::string& path) {
    OgrSummary s;
    RunCommand("ogrinfo -ro -so -al " + Quote(path) + " 2>&1", &s.all);
    s.geometry = After(s.all, "Geometry: ");
    const std::string count = After(s.all, "Feature Count: ");
    if (!count.empty()) s.count = std::stol(count);
    const std::string extent = After(s.all, "Extent: ");
    std::sscanf(extent.c_str(), "(%lf, %lf) - (%lf, %lf)", &s.extent[0], &s.extent[1], &s.extent[2],
                &s.extent[3]);
    return s;
}

// The geometry name ogrinfo gives a layer of each type.
std::string OgrName(std::int32_t type) {
    switch (type) {
        case 1:
            return "Point";
        case 21:
            return "Measured Point";
        case 11:
            return "3D Measured Point";
        case 8:
            return "Multi Point";
        case 28:
            return "Measured Multi Point";
        case 18:
            return "3D Measured Multi Point";
        case 3:
            return "Line String";
        case 23:
            return "Measured Line String";
        case 13:
            return "3D Measured Line String";
        case 5:
            return "Polygon";
        case 25:
            return "Measured Polygon";
        case 15:
            return "3D Measured Polygon";
        case 31:
            return "Unknown (any)";
    }
    return "";
}

bool Tools() {
    return ToolAvailable("ogrinfo") && ToolAvailable("ogr2ogr") && ToolAvailable(kPython);
}

// Loads a file written by others and checks it against pyshp's reading of the same file.
void ExpectSameAsPyshp(const std::string& path, TShape& shape) {
    QuietUi();
    ASSERT_EQ(TShape::OpenShape(&shape, path), 0) << path;
    // Null records in a typed file are announced as records of another type, and only they.
    for (const std::string& text : MessageTexts()) EXPECT_EQ(text, "Błędny typ rekordu !") << path;
    std::string error;
    const std::string theirs = DescribeWithPyshp(path, &error);
    ASSERT_FALSE(theirs.empty()) << error;
    EXPECT_EQ(Describe(shape), theirs) << path;
}

// Makes a shapefile with ogr2ogr from a CSV with a WKT column.
void Ogr2Ogr(const TempDir& dir, const std::string& name, const std::string& csv,
             const std::string& options = "") {
    const std::string in = dir.Path(name + ".csv");
    {
        std::ofstream f(in);
        f << "id,WKT\n" << csv;
    }
    std::string out;
    const int rc = RunCommand("ogr2ogr -f 'ESRI Shapefile' " + options + " " +
                                  Quote(dir.Path(name + ".shp")) + " " + Quote(in) + " 2>&1",
                              &out);
    ASSERT_EQ(rc, 0) << out;
}

std::int32_t PartsOf(const TShape& shape, int record) {
    TSHPRecord* r = shape.Records->FirstRecord();
    for (int i = 0; i < record; ++i) r = static_cast<TSHPRecord*>(r->GetNext());
    auto* parted = dynamic_cast<TSHPPartedRecord*>(r->Geometry.get());
    return parted ? parted->NumParts : -1;
}

}  // namespace

TEST(Oracle, EveryTypeWeWriteReadsTheSameInGdalAndPyshp) {
    if (!Tools()) return;
    TempDir dir;
    QuietUi();
    for (std::int32_t type : kSupported) {
        SCOPED_TRACE(type);
        const ShapeFamily family = FamilyOf(type);
        const bool parted = family == ShapeFamily::Line || family == ShapeFamily::Polygon;
        TShape shape;
        for (int i = 0; i < 3; ++i)
            shape.Records->AddRecord(MakeRecord(type, parted ? 1 + i % 2 : 1, parted ? 5 : 3, i));
        shape.RebuildHeader();
        const std::string path =
            dir.Path(std::string("t").append(std::to_string(type)).append(".shp"));
        shape.SaveShapeFile(path);
        const OgrSummary ogr = OgrInfo(path);
        EXPECT_EQ(ogr.geometry, OgrName(type)) << ogr.all;
        EXPECT_EQ(ogr.count, 3) << ogr.all;
        EXPECT_EQ(ogr.all.find("ERROR"), std::string::npos) << ogr.all;
        double box[4] = {0, 0, 0, 0};
        shape.Records->GetBox(box[0], box[1], box[2], box[3]);
        for (int i = 0; i < 4; ++i) EXPECT_NEAR(ogr.extent[i], box[i], 1e-6) << ogr.all;
        std::string error;
        EXPECT_EQ(DescribeWithPyshp(path, &error), Describe(shape)) << error;
    }
    EXPECT_TRUE(MessageTexts().empty());
}

TEST(Oracle, SampleFilesOfAnotherLibraryLoadAsPyshpReadsThem) {
    if (!Tools()) return;
    const std::filesystem::path samples =
        "/usr/share/gocode/src/github.com/jonas-p/go-shp/test_files";
    if (!std::filesystem::exists(samples)) {
        ADD_FAILURE() << samples << " is missing: install golang-github-jonas-p-go-shp-dev";
        return;
    }
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        if (entry.path().extension() != ".shp") continue;
        SCOPED_TRACE(entry.path().string());
        TShape shape;
        ExpectSameAsPyshp(entry.path().string(), shape);
        EXPECT_GT(shape.Records->Count(), 0);
        ++files;
    }
    EXPECT_GE(files, 13);
}

TEST(Oracle, FilesMadeByOgr2OgrLoadAsPyshpReadsThem) {
    if (!Tools()) return;
    TempDir dir;
    Ogr2Ogr(dir, "lines",
            "1,\"MULTILINESTRING ((0 0,1 1,2 0),(5 5,6 7),(9 9,10 10,11 12,13 13))\"\n"
            "2,\"LINESTRING (3 3,4 4)\"\n"
            "3,\n");
    Ogr2Ogr(
        dir, "holes",
        "1,\"POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,2 4,4 4,4 2,2 2),(6 6,6 8,8 8,8 6,6 6))\"\n"
        "2,\n"
        "3,\"MULTIPOLYGON (((20 20,30 20,30 30,20 20)),((40 40,50 40,50 50,40 40)))\"\n");
    Ogr2Ogr(dir, "linesz",
            "1,\"LINESTRING Z (0 0 1,1 1 2,2 0 3)\"\n2,\"MULTILINESTRING Z ((0 0 5,1 1 6),(3 3 7,4 "
            "4 8))\"\n");
    Ogr2Ogr(dir, "linesm", "1,\"LINESTRING M (0 0 1,1 1 2,2 0 3)\"\n");
    Ogr2Ogr(dir, "lineszm", "1,\"LINESTRING ZM (0 0 1 9,1 1 2 8,2 0 3 7)\"\n");
    Ogr2Ogr(dir, "pointsz", "1,\"POINT Z (1 2 3)\"\n2,\n3,\"POINT Z (4 5 6)\"\n");
    Ogr2Ogr(dir, "multipoints", "1,\"MULTIPOINT ((1 2),(3 4),(5 6))\"\n2,\"MULTIPOINT ((7 8))\"\n");
    Ogr2Ogr(dir, "multipointszm", "1,\"MULTIPOINT ZM ((1 2 3 4),(5 6 7 8))\"\n");
    Ogr2Ogr(dir, "polygonzm",
            "1,\"POLYGON ZM ((0 0 1 1,10 0 1 2,10 10 1 3,0 0 1 4),(2 2 1 5,4 4 1 6,4 2 1 7,2 2 1 "
            "8))\"\n");
    Ogr2Ogr(dir, "patch",
            "1,\"TIN Z (((0 0 0,1 0 0,0 1 0,0 0 0)),((1 0 0,1 1 1,0 1 0,1 0 0)))\"\n"
            "2,\"POLYGON Z ((0 0 5,10 0 5,10 10 6,0 0 5),(2 1 5,4 3 5,4 1 5,2 1 5))\"\n",
            "-lco SHPT=MULTIPATCH");
    const std::pair<const char*, std::int32_t> expected[] = {
        {"lines", 3},      {"holes", 5},    {"linesz", 13},     {"linesm", 23},
        {"lineszm", 13},   {"pointsz", 11}, {"multipoints", 8}, {"multipointszm", 18},
        {"polygonzm", 15}, {"patch", 31}};
    for (const auto& [name, type] : expected) {
        SCOPED_TRACE(name);
        TShape shape;
        ExpectSameAsPyshp(dir.Path(std::string(name) + ".shp"), shape);
        EXPECT_EQ(shape.HeaderShapeType(), type);
        if (std::string(name) == "lines") {
            EXPECT_EQ(PartsOf(shape, 0), 3);
            EXPECT_EQ(shape.Records->Count(), 3);
            EXPECT_EQ(static_cast<TSHPRecord*>(shape.Records->Last())->ShapeType, 0);
        }
        if (std::string(name) == "holes") {
            EXPECT_EQ(PartsOf(shape, 0), 3);
            EXPECT_EQ(PartsOf(shape, 2), 2);
            // Inside the outer ring: a hit, also in a hole.
            TSHPRecord* first = shape.Records->FirstRecord();
            EXPECT_TRUE(first->Shape()->HitTest(3, 3, 0));
            EXPECT_TRUE(first->Shape()->HitTest(5, 5, 0));
        }
    }
}

TEST(Oracle, PolygonZWithHolesOfAnotherHeightFromPyshp) {
    if (!Tools()) return;
    TempDir dir;
    const std::string script = dir.Path("make.py");
    {
        std::ofstream f(script);
        f << "import sys, shapefile\n"
             "w = shapefile.Writer(sys.argv[1], shapeType=shapefile.POLYGONZ)\n"
             "w.field('id', 'N')\n"
             "w.polyz([[[0,0,10,1],[0,10,11,2],[10,10,12,3],[10,0,13,4],[0,0,10,1]],\n"
             "         [[2,2,5,5],[4,2,6,6],[4,4,7,7],[2,4,8,8],[2,2,5,5]]])\n"
             "w.record(1)\n"
             "w.polyz([[[0,0,1,1],[0,5,1,2],[5,5,1,3],[0,0,1,1]]])\n"
             "w.record(2)\n"
             "w.close()\n";
    }
    std::string out;
    ASSERT_EQ(RunCommand(std::string(kPython) + " " + Quote(script) + " " + Quote(dir.Path("pz")) +
                             " 2>&1",
                         &out),
              0)
        << out;
    TShape shape;
    ExpectSameAsPyshp(dir.Path("pz.shp"), shape);
    EXPECT_EQ(PartsOf(shape, 0), 2);
    auto* z = dynamic_cast<TSHPPolygonZRecord*>(shape.Records->FirstRecord()->Geometry.get());
    ASSERT_NE(z, nullptr);
    EXPECT_EQ(z->ZValues[6], 6);
}

TEST(Oracle, DbaseHeadersWeCreateOpenInGdalAndPyshp) {
    if (!Tools()) return;
    TempDir dir;
    {
        auto dbf = TSimpleDBFile::CreateNew(dir.Path("attrs.shp"), 3, 4, 0, 20 + 10 + 8 + 1);
        EXPECT_TRUE(dbf->AddField("NAZWA", 'C', 20, 0));
        EXPECT_TRUE(dbf->AddField("WARTOSC", 'N', 10, 2));
        EXPECT_TRUE(dbf->AddField("DATA", 'D', 8, 0));
        EXPECT_TRUE(dbf->AddField("ZNACZNIK_A", 'L', 1, 0));
        EXPECT_FALSE(dbf->IsOpen());
    }
    std::string out;
    EXPECT_EQ(RunCommand("ogrinfo -ro -al " + Quote(dir.Path("attrs.dbf")) + " 2>&1", &out), 0)
        << out;
    EXPECT_EQ(out.find("ERROR"), std::string::npos) << out;
    EXPECT_EQ(out.find("Warning"), std::string::npos) << out;
    EXPECT_NE(out.find("Feature Count: 0"), std::string::npos) << out;
    EXPECT_NE(out.find("NAZWA: String (20.0)"), std::string::npos) << out;
    EXPECT_NE(out.find("WARTOSC: Real (10.2)"), std::string::npos) << out;
    EXPECT_NE(out.find("DATA: Date"), std::string::npos) << out;
    EXPECT_NE(out.find("ZNACZNIK_A"), std::string::npos) << out;
    const std::string py =
        std::string(kPython) +
        " -c \"import sys, shapefile; r = shapefile.Reader(dbf=open(sys.argv[1], 'rb')); "
        "print(len(r), [f[:4] for f in r.fields[1:]]); r.close()\" " +
        Quote(dir.Path("attrs.dbf")) + " 2>&1";
    EXPECT_EQ(RunCommand(py, &out), 0) << out;
    EXPECT_EQ(out,
              "0 [['NAZWA', 'C', 20, 0], ['WARTOSC', 'N', 10, 2], ['DATA', 'D', 8, 0], "
              "['ZNACZNIK_A', 'L', 1, 0]]\n");
}
