// The MAP writer's and reader's output, byte for byte, against files recorded in tests/data/map:
// a generated map of every object kind written in every version, the shipped example read and
// written back, and awkward input read and written again. Any change to how numbers, names,
// attributes or lines come out shows here.
//
// KESTREL_RECORD_EXPECTED=1 writes the files instead of comparing (after a deliberate change).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "model/MapFile.h"
#include "platform/DecimalSeparator.h"
#include "platform/UiService.h"
#include "tests/model/RecordedMapText.h"
#include "tests/model/TestMap.h"
#include "tests/platform/TempFolder.h"

namespace {

const std::string kData = KESTREL_SOURCE_DIR "/tests/data/map/";
const std::string kExample = KESTREL_SOURCE_DIR "/examples/zielonki.map";

using recordedmap::Recording;
using recordedmap::Stable;

// Objects of every class digit (and codes that are not numbers), every attribute, vectors,
// marks, every point flag, shared points, and the numbers whose text is easy to get wrong:
// halves at the last decimal, negative zero, the 14-digit limit, the general form beyond it.
void FillEveryKind(TestMap& map) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();

    TObiekt& point = map.Object("1001");
    point.Value = 12.5f;
    point.SetFlags(kObjectMarked);
    for (auto [id, v] : {std::pair{kAttrA1, "a1 \xB9\xE6\xEA"},
                         {kAttrA2, "a2"},
                         {kAttrA3, "a3"},
                         {kAttrA4, "a4"},
                         {kAttrA5, "a5"},
                         {kAttrA6, "a6"},
                         {kAttrKR, "P.1003.2023.114"},
                         {kAttrDT, "1454461888"},
                         {kAttrMP, "-7"},
                         {kAttrFA, "0"},
                         {kAttrID, "PL.1003.OS.101"}})
        point.SetAttribute(id, v);
    point.SetText("opis [punktu]");
    point.SetVector(1, 1.5f, -2.25f, 0.125f);
    point.SetVector(3, 100.0f, 200.0f, 0.5f);
    TPunkt& shared = map.Point(point, "101", 15, 5757035.0, 7470195.0, 141.27f);

    TObiekt& twoPoints = map.Object("2001");
    twoPoints.SetAttribute(kAttrA1, std::string(120, 'x'));
    twoPoints.SetAttribute(kAttrKR, std::string(100, 'k'));
    map.Point(twoPoints, "ABCDEFGHIJK", 7, 0.0005, 2.0005, 0.1f);
    map.Point(twoPoints, "a b", 6, -0.0004, -0.0005, -0.0f);

    TObiekt& multi = map.Object("3001");
    multi.SetVector(2, -0.0f, 0.0005f, 1e-9f);
    map.Point(multi, "", 4, 1.0005, 1e-7, 0.0f);
    map.Point(multi, "N", 5, 99999999999.9996, 123456789012.3456, 1e30f);

    TObiekt& line = map.Object("4101");
    line.Value = -1.0f;
    line.SetAttribute(kAttrDT, "20240101");
    line.SetAttribute(kAttrMP, "2147483647");
    line.SetAttribute(kAttrFA, "-2147483648");
    line.SetText("wiersz\r\ndrugi\rtrzeci\n");
    map.Point(line, "L1", 12, 5712345.678, 7654321.001, 0.0f);
    map.Point(line, "L2", 4, 5712346.25, 7654322.75, 0.0f);
    map.Point(line, "L\r\n3", 14, 5712347.125, 7654323.875, 0.0f);
    map.Point(line, "L4", 8, 5712348.0, 7654324.0, 2.5f);
    line.Vertices->Add(std::make_unique<TNumer>(&shared));

    TObiekt& area = map.Object("5101");
    area.Value = 3.4e38f;
    area.SetAttribute(kAttrA3, "dzia\xB3ka 12/3");
    map.Point(area, "", 13, 100.0, 200.0, 7.0f);
    map.Point(area, "", 12, 100.0, 300.0, 7.0f);
    map.Point(area, "", 12, 200.0, 300.0, 7.0f);
    map.Point(area, "", 4, 100.0, 200.0, 7.0f);

    TObiekt& text6 = map.Object("6001");
    text6.SetText(std::string(300, 't'));
    map.Point(text6, "T1", 7, 1e14, -1e15, 5.0f);

    TObiekt& text7 = map.Object("7001");  // class 7 without text: version 3 writes an empty line
    map.Point(text7, "T2", 3, 1.5e20, 2.5e-8, -1e-3f);

    TObiekt& odd = map.Object("A1");
    odd.Value = 0.1f;
    odd.SetAttribute(kAttrID, "id\r\nnext");
    map.Point(odd, "X", 15, inf, -inf, std::numeric_limits<float>::quiet_NaN());
    map.Point(odd, "Y", 9, nan, 7.0, 1.0f);

    TObiekt& marked = map.Object("8001");
    marked.SetFlags(kObjectMarked);
    marked.SetText("m");
    map.Point(marked, "M", 11, 1234567.8905, 7654321.0015, 12.3456f);

    map.Object("9001");  // no vertex: never written
    TObiekt& coded = map.Object("0");
    coded.Value = -0.000000001f;
    map.Point(coded, "Z", 2, -12.345, -0.001, 0.0f);
    TObiekt& empty = map.Object("");
    map.Point(empty, "E", 0, 1.0, 2.0, 3.0f);
}

class MapFileBytesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui_ = platform::UiService::Headless();
        ui_->SetEcho(false);
    }
    void TearDown() override {
        ui_->ClearMessages();
        ui_->SetEcho(true);
    }

    // Writes the map in `version` (with "," as the process's separator, which the file must not
    // show) and compares the file with the recorded one.
    void Expect(TestMap& map, int version, const std::string& expected, bool onlyMarked = false) {
        SCOPED_TRACE(expected);
        const std::string path = dir_ / "out.map";
        std::int32_t result = -1;
        {
            platform::DecimalSeparatorGuard comma(',');
            WriteMapFile("Test", "1.30", version, path, onlyMarked, map.points.get(),
                         map.objects.get(), result);
        }
        ASSERT_EQ(result, 0);
        const std::string written = Stable(TempFolder::ReadBytes(path));
        if (Recording()) {
            TempFolder::WriteBytes(kData + expected, written);
            return;
        }
        const std::string recorded = TempFolder::ReadBytes(kData + expected);
        ASSERT_FALSE(recorded.empty());
        EXPECT_EQ(written, recorded);
    }

    static void Read(TestMap& map, const std::string& path) {
        std::int32_t result = -1;
        ReadMapFile(path, false, *map.points, *map.objects, result);
        ASSERT_EQ(result, 0);
    }

    platform::HeadlessUi* ui_ = nullptr;
    TempFolder dir_;
};

}  // namespace

TEST_F(MapFileBytesTest, EveryKindInEveryVersion) {
    for (int version = 3; version <= 8; ++version) {
        TestMap map;
        FillEveryKind(map);
        Expect(map, version, "generated-v" + std::to_string(version) + ".map");
    }
    TestMap map;
    FillEveryKind(map);
    Expect(map, 7, "generated-marked-v7.map", true);
}

// Each written version read back and written as version 8, which carries everything.
TEST_F(MapFileBytesTest, WrittenVersionsReadBack) {
    for (int version = 3; version <= 8; ++version) {
        const std::string name = "generated-v" + std::to_string(version);
        TestMap map;
        Read(map, kData + name + ".map");
        Expect(map, 8, name + "-read.map");
    }
}

TEST_F(MapFileBytesTest, ExampleWrittenBackInEveryVersion) {
    for (int version = 3; version <= 8; ++version) {
        TestMap map;
        Read(map, kExample);
        Expect(map, version, "zielonki-v" + std::to_string(version) + ".map");
    }
}

// Hand-written input with every line form the reader meets: odd blanks and signs, numbers that
// do not convert, keys of the wrong case or version, long lines and every kind of line end.
TEST_F(MapFileBytesTest, AwkwardInputReadAndWrittenAgain) {
    for (const char* name : {"awkward-v3", "awkward-v7"}) {
        TestMap map;
        Read(map, kData + std::string(name) + ".map");
        Expect(map, 8, std::string(name) + "-read.map");
    }
}
