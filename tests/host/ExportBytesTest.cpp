// Place 12 on the recorded maps of tests/data/map: every shapefile the export writes, by its
// checksum, against tests/data/map/shapefiles.txt. The dBase header's date of the last update is
// left out of the sum.
//
// KESTREL_RECORD_EXPECTED=1 writes the list instead of comparing (after a deliberate change).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "HostFixture.h"

namespace {

using testhost::TextArg;
namespace fs = std::filesystem;

const std::string kData = KESTREL_SOURCE_DIR "/tests/data/map/";

std::string Checksum(std::string bytes, bool dbase) {
    if (dbase && bytes.size() > 3) bytes[1] = bytes[2] = bytes[3] = 0;
    std::uint64_t hash = 14695981039346656037ull;  // 64-bit FNV-1a
    for (unsigned char c : bytes) hash = (hash ^ c) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

class ExportBytesTest : public HostTest {};

}  // namespace

TEST_F(ExportBytesTest, ShapefilesOfTheRecordedMaps) {
    std::string listing;
    for (const std::string input :
         {"generated-v3", "generated-v5", "generated-v7", "zielonki-v7", "awkward-v7-read"}) {
        fs::copy_file(kData + input + ".map", Path(input + ".map"));
        testhost::ServerObject object = library->NewKWZObject();
        TextArg map(Path(input + ".map"));
        ASSERT_TRUE(object.LoadMap(map)) << input;
        ASSERT_EQ(object.SetOutputFolder(), 0);
        object.ExportMap();
        std::map<std::string, std::string> sums;  // sorted by file name
        for (const auto& entry : fs::directory_iterator(Path(input))) {
            const std::string ext = entry.path().extension().string();
            sums[entry.path().filename().string()] =
                Checksum(ReadFile(entry.path()), ext == ".dbf");
        }
        EXPECT_FALSE(sums.empty()) << input;
        for (const auto& [file, sum] : sums) listing += input + "/" + file + " " + sum + "\n";
    }
    const char* record = std::getenv("KESTREL_RECORD_EXPECTED");
    if (record != nullptr && std::string(record) == "1") {
        WriteFile(kData + "shapefiles.txt", listing);
        return;
    }
    EXPECT_EQ(listing, ReadFile(kData + "shapefiles.txt"));
}
