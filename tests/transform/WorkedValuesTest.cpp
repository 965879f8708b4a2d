// Every datum shift and projection against values worked out independently, from each system's
// published parameters and formulas in 40-digit arithmetic (tests/data/geodesy/worked.py, whose
// output worked.txt is read here). One row per system and direction, with a point on the central
// meridian (or the centre) and one about 2 degrees away: a constant shared by both directions
// shows in each of them, which a round trip would not show.
#include <fstream>
#include <set>
#include <sstream>

#include "tests/transform/TransformTestSupport.h"
#include "transform/TransformDispatcher.h"

namespace {

struct WorkedRow {
    std::string name;
    int code = 0;
    double zone65 = 0.0, meridianDeg = 0.0, zoneCode = 0.0;
    Point3 in, out;
};

std::vector<WorkedRow> ReadWorkedRows() {
    std::vector<WorkedRow> rows;
    std::ifstream file(KESTREL_SOURCE_DIR "/tests/data/geodesy/worked.txt");
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        WorkedRow r;
        std::string code;
        fields >> r.name >> code >> r.zone65 >> r.meridianDeg >> r.zoneCode >> r.in.x >> r.in.y >>
            r.in.z >> r.out.x >> r.out.y >> r.out.z;
        EXPECT_TRUE(fields && fields.eof()) << line;
        r.code = std::stoi(code, nullptr, 16);
        rows.push_back(r);
    }
    return rows;
}

bool Geographic(int system) {
    return system == csWgs84Blh || system == cs1942Blh;
}

}  // namespace

// Within a millimetre on the ground: 1e-9 degrees of latitude or longitude, 1 mm of a plane or
// geocentric coordinate or of a height.
TEST(WorkedValues, EveryPairAgreesWithinAMillimetre) {
    const std::vector<WorkedRow> rows = ReadWorkedRows();
    std::set<int> pinned;
    for (const WorkedRow& r : rows) {
        SCOPED_TRACE(r.name);
        const int source = r.code >> 4, target = r.code & 15;
        Point3 in = r.in;
        if (Geographic(source)) {
            in.x *= kDeg;
            in.y *= kDeg;
        }
        Point3 out;
        ASSERT_EQ(TransformPoint(static_cast<std::uint8_t>(r.code), r.zone65, r.meridianDeg * kDeg,
                                 r.zoneCode, in.x, in.y, in.z, &out.x, &out.y, &out.z),
                  0);
        const double tolerance = Geographic(target) ? 1e-9 : 0.001;
        const double scale = Geographic(target) ? 1.0 / kDeg : 1.0;
        EXPECT_NEAR(out.x * scale, r.out.x, tolerance);
        EXPECT_NEAR(out.y * scale, r.out.y, tolerance);
        EXPECT_NEAR(out.z, r.out.z, 0.001);
        pinned.insert(r.code);
    }
    // Both directions of every system: geocentric, the 1942 shift alone and with both ellipsoids,
    // 1942 plane by the datum chain and by the plain series, 42/83, 1965, GUGiK-80 (alone and
    // through the 1942 shift), 1992, 2000, UTM, Albers and the two Warszawa polynomials.
    const std::set<int> expected = {0x01, 0x10, 0x21, 0x12, 0x20, 0x02, 0x03, 0x30,
                                    0x23, 0x32, 0x06, 0x60, 0x24, 0x42, 0x04, 0x40,
                                    0x25, 0x52, 0x05, 0x50, 0x09, 0x90, 0x0A, 0xA0,
                                    0x0B, 0xB0, 0x2C, 0xC5, 0x48, 0x84, 0x4E, 0xE4};
    EXPECT_EQ(pinned, expected);
}
