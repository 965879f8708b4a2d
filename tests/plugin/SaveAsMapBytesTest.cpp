// Shapefiles of every type written to disk, opened and converted by the server's place 11, with
// and without a batch configuration: the MAP files against tests/data/shp2map/<case>.map byte for
// byte, and the link tables (by checksum, without their date) and the messages shown against
// tests/data/shp2map/listing.txt. Any change to what the loader, the conversion, the dBase
// transfer or the writer produces shows here.
//
// KESTREL_RECORD_EXPECTED=1 writes the files instead of comparing (after a deliberate change).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>

#include "SaveAsMapFixture.h"
#include "model/TextHandles.h"
#include "plugin/ConversionSettings.h"
#include "plugin/KWZArcView.h"
#include "tests/model/RecordedMapText.h"

using namespace saveasmaptest;

namespace {

const std::string kData = KESTREL_SOURCE_DIR "/tests/data/shp2map/";
const double kNaN = std::numeric_limits<double>::quiet_NaN();

using Records = std::vector<std::unique_ptr<TSHPRecord>>;

template <class... R>
Records List(R... records) {
    Records v;
    (v.push_back(std::move(records)), ...);
    return v;
}

struct Case {
    const char* name;
    bool batch;  // with the batch configuration (codes from KOD, paired fields)
    bool split;  // lines split into one object per part
    std::function<Records()> records;
};

// Ring with a hole, an unclosed ring, and the numbers whose text is easy to get wrong: halves at
// the last decimal, negative zero, coordinates beyond the fixed form.
const std::vector<Ring> kHoled = {{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}},
                                  {{2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}}};
const std::vector<Ring> kUnclosed = {
    {{7500000.0005, 5700000.0015}, {7500100, 5700000}, {7500100, 5700100}}};
const std::vector<Ring> kTwoParts = {{{0, 0}, {10, 0}}, {{10.0005, 0}, {20, 0}}};
const std::vector<Ring> kThreeParts = {
    {{-0.0004, 0}, {10, 0}}, {{10.002, 0}, {20, 0}}, {{20, 0}, {20.0004, 5}}};

std::vector<Case> Cases() {
    return {
        {"points", true, false,
         [] {
             return List(PointRecord(1, 7500010.1235, 5000020.0005), NullRecord(),
                         PointRecord(1, -0.0004, 1e12), PointRecord(1, 123.4565, -98765.4325));
         }},
        {"pointsz", false, false,
         [] { return List(PointRecord(11, 1, 2, 12.5), PointRecord(11, 3, 4, -0.2505)); }},
        {"pointsm", false, false, [] { return List(PointRecord(21, 1, 2, 7)); }},
        {"multipoints", true, false,
         [] {
             return List(MultiPointRecord(8, {{1, 2}, {3, 4}, {5.5, 6.25}}),
                         MultiPointRecord(8, {}), NullRecord());
         }},
        {"multipointsz", false, false,
         [] {
             return List(MultiPointRecord(18, {{1, 2}, {3, 4}}));
         }},
        {"multipointsm", false, false,
         [] {
             return List(MultiPointRecord(28, {{5, 6}}));
         }},
        {"lines", true, false,
         [] {
             return List(PartedRecord(3, kTwoParts), PartedRecord(3, kThreeParts), NullRecord(),
                         PartedRecord(3, {}));
         }},
        {"lines-split", false, true,
         [] { return List(PartedRecord(3, kTwoParts), PartedRecord(3, kThreeParts)); }},
        {"linesz", false, false, [] { return List(PartedRecord(13, kThreeParts)); }},
        {"linesm", false, false, [] { return List(PartedRecord(23, kTwoParts)); }},
        {"polygons", true, false,
         [] {
             return List(PartedRecord(5, kHoled), PartedRecord(5, kUnclosed),
                         PartedRecord(5, {{{kNaN, 1}, {2, 3}, {4, 5}}}), PartedRecord(5, {}));
         }},
        {"polygonsz", false, false, [] { return List(PartedRecord(15, kHoled)); }},
        {"polygonsm", false, false, [] { return List(PartedRecord(25, kUnclosed)); }},
        {"multipatch", false, false, [] { return List(PartedRecord(31, kHoled)); }},
    };
}

class SaveAsMapBytesTest : public ConversionTest {
  protected:
    // The shapefile <name>.shp written to disk with a table of one row per record, opened by a
    // new server and converted with mode 1; returns what the listing records of it.
    std::string Convert(const Case& c) {
        const std::string name = c.name;
        auto shape = MakeShape(c.records(), Path(name + ".shp"));
        const std::size_t count = static_cast<std::size_t>(shape->Records->Count());
        shape->RebuildHeader();
        shape->SaveShapeFile(Path(name + ".shp"));
        shape.reset();
        std::vector<std::vector<std::string>> rows;
        for (std::size_t i = 1; i <= count; ++i) {
            rows.push_back({i == 1   ? "\xB3\xF3"
                                       "d\xBC \xA5"
                            : i == 2 ? "a\r\nb"
                                     : "droga " + std::to_string(i),
                            std::to_string(i), i % 2 ? "12.50" : "-3.25", i == 2 ? "" : "20040315",
                            i % 2 ? "T" : "F"});
        }
        WriteDbf(Path(name + ".dbf"),
                 {{"NAZWA", 'C', 12},
                  {"NR", 'N', 6},
                  {"KWOTA", 'N', 10, 2},
                  {"DATA", 'D', 8},
                  {"OK", 'L', 1}},
                 rows);

        TKWZArcView server;
        const HostTextHandle shp = StrToGlobal(Path(name + ".shp"));
        EXPECT_EQ(server.OpenFile(shp), 0) << name;
        platform::GlobalFree(shp);
        if (c.batch) {
            const HostTextHandle file = StrToGlobal(Path("batch.ini"));
            const HostTextHandle folder = StrToGlobal(Dir().string());
            server.SetBatchConfig(file, folder, 0, 0);
            platform::GlobalFree(file);
            platform::GlobalFree(folder);
        }
        ConversionSettings.RozbijajArc = c.split;
        const HostTextHandle map = StrToGlobal(Path(name + ".map"));
        server.SaveAsMap(map, 1);
        platform::GlobalFree(map);

        std::string listing = name + " link " +
                              recordedmap::Checksum(ReadText(Path("map_" + name + ".dbf")), true) +
                              "\n";
        for (const std::string& m : Messages()) listing += name + " message " + m + "\n";
        boxes->ClearMessages();
        return listing;
    }
};

}  // namespace

TEST_F(SaveAsMapBytesTest, EveryShapeTypeWithItsLinkTable) {
    WriteText(Path("batch.ini"),
              "[DEFAULT]\n1=NAZWA\n2=NR\n3=STALA\n6=DATA\n11=KWOTA\n12=OK\nTXTLink=1\nATR=13\n"
              "TPIDID=6\n[lines.shp]\nKOD=4444\n");
    std::string listing;
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        listing += Convert(c);
        const std::string written =
            recordedmap::Stable(ReadText(Path(std::string(c.name) + ".map")));
        ASSERT_FALSE(written.empty());
        const std::string expected = kData + c.name + ".map";
        if (recordedmap::Recording()) {
            WriteText(expected, written);
        } else {
            EXPECT_EQ(written, ReadText(expected));
        }
    }
    if (recordedmap::Recording()) {
        WriteText(kData + "listing.txt", listing);
        return;
    }
    EXPECT_EQ(listing, ReadText(kData + "listing.txt"));
}
