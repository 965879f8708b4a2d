// Shapefiles of every type written by GDAL's ogr2ogr, opened and converted by the server, and
// the MAP file read back against the geometry ogr2ogr was given (map X = northing = record Y).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "SaveAsMapFixture.h"
#include "model/MapFile.h"
#include "model/TextHandles.h"
#include "plugin/ConversionSettings.h"
#include "plugin/KWZArcView.h"

using namespace saveasmaptest;
namespace fs = std::filesystem;

namespace {

// Expected vertex: easting, northing as ogr2ogr was given them, whether the line goes on, height.
struct Want {
    double e, n;
    bool on = true;
    float h = 0;
};
using WantObject = std::vector<Want>;

struct OracleCase {
    const char* name;
    std::vector<const char*> wkt;  // one feature each; "" is a null geometry
    const char* options;
    std::int32_t shapeType;
    const char* code;
    std::vector<WantObject> objects;  // in feature order
};

const WantObject kNull = {{0, 0}};
const WantObject kHole = {{0, 0}, {0, 10}, {10, 10}, {10, 0},       {0, 0, false}, {2, 2},
                          {4, 2}, {4, 4},  {2, 4},   {2, 2, false}, {0, 0, false}};
const WantObject kJoined = {{0, 0}, {10, 0}, {20, 0}};
const WantObject kBroken = {{0, 0}, {10, 0, false}, {10.002, 0}, {20, 0}};

std::vector<OracleCase> Cases() {
    return {
        {"points",
         {"POINT (500000 300000)", "", "POINT (1.5 2.25)"},
         "-nlt POINT",
         1,
         "1000",
         {{{500000, 300000}}, kNull, {{1.5, 2.25}}}},
        {"pointz",
         {"POINT Z (1 2 12.5)", ""},
         "-lco SHPT=POINTZ",
         11,
         "1000",
         {{{1, 2, true, 12.5f}}, kNull}},
        {"pointm", {"POINT M (1 2 7)"}, "-lco SHPT=POINTM", 21, "1000", {{{1, 2}}}},
        {"multipoints",
         {"MULTIPOINT ((1 2),(3 4),(5 6))", ""},
         "-nlt MULTIPOINT",
         8,
         "4100",
         {{{1, 2}, {3, 4}, {5, 6}}, kNull}},
        {"multipointz",
         {"MULTIPOINT Z ((1 2 3),(3 4 5))"},
         "-lco SHPT=MULTIPOINTZ",
         18,
         "4100",
         {{{1, 2}, {3, 4}}}},
        {"lines",
         {"MULTILINESTRING ((0 0,10 0),(10.0005 0,20 0))", "",
          "MULTILINESTRING ((0 0,10 0),(10.002 0,20 0))"},
         "-nlt MULTILINESTRING",
         3,
         "4100",
         {kJoined, kNull, kBroken}},
        {"linesz",
         {"MULTILINESTRING Z ((0 0 1,10 0 2),(10.0005 0 3,20 0 4))"},
         "-lco SHPT=ARCZ",
         13,
         "4100",
         {kJoined}},
        {"linesm",
         {"MULTILINESTRING M ((0 0 1,10 0 2),(10.002 0 3,20 0 4))"},
         "-lco SHPT=ARCM",
         23,
         "4100",
         {kBroken}},
        {"polygons",
         {"POLYGON ((0 0,0 10,10 10,10 0,0 0),(2 2,4 2,4 4,2 4,2 2))", ""},
         "-nlt POLYGON",
         5,
         "5100",
         {kHole, kNull}},
        {"polygonsz",
         {"POLYGON Z ((0 0 1,0 10 1,10 10 1,10 0 1,0 0 1),(2 2 1,4 2 1,4 4 1,2 4 1,2 2 1))"},
         "-lco SHPT=POLYGONZ",
         15,
         "5100",
         {kHole}},
        {"polygonsm",
         {"POLYGON M ((0 0 1,0 10 1,10 10 1,10 0 1,0 0 1),(2 2 1,4 2 1,4 4 1,2 4 1,2 2 1))"},
         "-lco SHPT=POLYGONM",
         25,
         "5100",
         {kHole}},
        {"multipatch",
         {"POLYGON Z ((0 0 1,0 10 1,10 10 1,10 0 1,0 0 1),(2 2 1,4 2 1,4 4 1,2 4 1,2 2 1))"},
         "-lco SHPT=MULTIPATCH",
         31,
         "5100",
         {kHole}},
    };
}

int Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
}

class SaveAsMapOracleTest : public ConversionTest, public ::testing::WithParamInterface<bool> {
  protected:
    // Writes the features through ogr2ogr as <name>.shp with a NAZWA field (f1, f2, ...).
    void WriteWithOgr(const OracleCase& c) {
        std::string csv = "WKT,NAZWA\n";
        for (std::size_t i = 0; i < c.wkt.size(); ++i)
            csv += "\"" + std::string(c.wkt[i]) + "\",f" + std::to_string(i + 1) + "\n";
        WriteText(Path(std::string(c.name) + ".csv"), csv);
        ASSERT_EQ(Shell("ogr2ogr -f 'ESRI Shapefile' -oo KEEP_GEOM_COLUMNS=NO " +
                        std::string(c.options) + " '" + Path(std::string(c.name) + ".shp") + "' '" +
                        Path(std::string(c.name) + ".csv") + "'"),
                  0)
            << c.name;
    }

    static void ExpectObjects(const OracleCase& c, const std::vector<Object>& got) {
        ASSERT_EQ(got.size(), c.objects.size()) << c.name;
        for (std::size_t i = 0; i < got.size(); ++i) {
            const WantObject& want = c.objects[i];
            // A null record is a point whatever the file's type.
            const bool null = want.size() == 1 && want[0].e == 0 && want[0].n == 0;
            EXPECT_EQ(got[i].code, null ? "1000" : c.code) << c.name;
            ASSERT_EQ(got[i].vertices.size(), want.size()) << c.name << " object " << i;
            for (std::size_t k = 0; k < want.size(); ++k) {
                const Vertex& v = got[i].vertices[k];
                SCOPED_TRACE(std::string(c.name) + " object " + std::to_string(i) + " vertex " +
                             std::to_string(k));
                EXPECT_NEAR(v.x, want[k].n, 5e-4);
                EXPECT_NEAR(v.y, want[k].e, 5e-4);
                EXPECT_EQ((v.flags & kPointLineGoesOn) != 0, want[k].on);
                EXPECT_EQ(v.h, want[k].h);
                EXPECT_EQ((v.flags & kPointHasHeight) != 0, want[k].h != 0);
            }
        }
    }
};

TEST_P(SaveAsMapOracleTest, EveryShapeTypeWithAndWithoutTable) {
    ASSERT_EQ(Shell("command -v ogr2ogr"), 0) << "ogr2ogr is needed (gdal-bin)";
    const bool withTable = GetParam();
    ConversionSettings.INI = true;  // mode 1 transfers anyway; no ".cc" files to wait for
    for (const OracleCase& c : Cases()) {
        WriteWithOgr(c);
        const std::string shp = Path(std::string(c.name) + ".shp");
        const std::string dbf = Path(std::string(c.name) + ".dbf");
        const std::string map = Path(std::string(c.name) + ".map");
        const std::string link = Path("map_" + std::string(c.name) + ".dbf");
        if (!withTable) fs::remove(dbf);

        TKWZArcView server;
        const HostTextHandle shpName = StrToGlobal(shp);
        ASSERT_EQ(server.OpenFile(shpName), 0) << c.name;
        EXPECT_EQ(server.GetShapeType(), c.shapeType) << c.name;
        const HostTextHandle mapName = StrToGlobal(map);
        server.SaveAsMap(mapName, 1);
        platform::GlobalFree(shpName);
        platform::GlobalFree(mapName);

        TListaPKT points;
        TListaObi objects;
        std::int32_t result = -1;
        ReadMapFile(map, false, points, objects, result);
        ASSERT_EQ(result, 0) << c.name;
        ExpectObjects(c, Objects(objects));

        ASSERT_EQ(fs::exists(link), withTable) << c.name;
        if (withTable) {
            const auto rows = ReadDbfRows(link);
            ASSERT_EQ(rows.size(), c.objects.size()) << c.name;
            for (std::size_t i = 0; i < rows.size(); ++i) {
                EXPECT_EQ(rows[i], (std::vector<std::string>{"f" + std::to_string(i + 1),
                                                             std::to_string(i + 1)}))
                    << c.name;
            }
        }
    }
    // The loader warns about each null record in a file of another type; the conversion says
    // nothing.
    for (const std::string& m : Messages()) EXPECT_EQ(m, "Błędny typ rekordu !");
}

INSTANTIATE_TEST_SUITE_P(Table, SaveAsMapOracleTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "WithDbf" : "WithoutDbf"; });

}  // namespace
