// Place 12 on the recorded maps of tests/data/map: every shapefile the export writes, by its
// checksum, and every message it shows, against a list in tests/data/map: shapefiles.txt per code
// with the plain fields, shapefiles-batch.txt under batch configurations (field rules of every
// type, shared layer names), shapefiles-onefile.txt for the one-file export. The dBase header's
// date of the last update is left out of the sum.
//
// KESTREL_RECORD_EXPECTED=1 writes the lists instead of comparing (after a deliberate change).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "HostFixture.h"
#include "platform/Registry.h"
#include "tests/model/RecordedMapText.h"

namespace {

using testhost::TextArg;
namespace fs = std::filesystem;

const std::string kData = KESTREL_SOURCE_DIR "/tests/data/map/";

// Field rules of every type on the generated map: texts with joined attributes and character
// codes, numbers with decimals, a float, a date, values the table refuses; two codes sharing a
// layer; a code read from [ZAMIANA]; Polish letters converted to another code page.
constexpr const char* kGeneratedBatch =
    "[OPCJE]\r\nTPID=1\r\nPL=3\r\n[WARSTWY]\r\n1001=punkty\r\n2001=wspolna\r\n"
    "3001=wspolna\r\n5101=dzialki\r\n[ZAMIANA]\r\n4101=4102\r\n"
    "[1001]\r\nNAZWA=!C20:0$A1#32#45#32$A2\r\nOPIS=!C60:0$TXT\r\nKLUCZ=!C12:0$TXT.punktu\r\n"
    "LICZBA=!N8:2#49#50#46#53\r\nUJEMNA=!F12:4#45#48#46#49#50#51\r\n"
    "DATA=!D8:0#50#48#48#52#45#48#55#45#49#53\r\nZLA=!N4:0$A1\r\nZLADATA=!D8:0$A2\r\n"
    "[4102]\r\nTEKST=!C40:0$TXT\r\nA6=!C5:0$A6\r\n"
    "[5101]\r\nDZIALKA=!C30:0$A3\r\nPUSTE=!N10:0\r\n";

// The export of each map into its own folder, as "map/file sum" lines sorted by file name, then
// the messages shown.
class ExportBytesTest : public HostTest {
  protected:
    enum class Mode { PerCode, Batch, OneFile };

    std::string Export(const std::string& input, Mode mode, const std::string& config = "") {
        fs::copy_file(kData + input + ".map", Path(input + ".map"));
        testhost::ServerObject object = library->NewKWZObject();
        TextArg map(Path(input + ".map"));
        EXPECT_TRUE(object.LoadMap(map)) << input;
        fs::path folder = Path(input);
        if (mode == Mode::Batch) {
            fs::create_directories(folder);
            TextArg batch(config), out(folder.string());
            object.SetBatchConfig(batch, out, 0, 0);
        } else if (mode == Mode::PerCode) {
            EXPECT_EQ(object.SetOutputFolder(), 0);
        }
        boxes->ClearMessages();
        object.ExportMap();
        std::map<std::string, std::string> sums;  // sorted by file name
        if (mode == Mode::OneFile) {
            for (const char* ext : {".shp", ".shx", ".dbf", ".tpi"}) {
                const fs::path file = Path(input + ext);
                if (fs::exists(file))
                    sums[file.filename().string()] =
                        recordedmap::Checksum(ReadFile(file), std::string(ext) == ".dbf");
            }
        } else {
            for (const auto& entry : fs::directory_iterator(folder)) {
                const std::string ext = entry.path().extension().string();
                sums[entry.path().filename().string()] =
                    recordedmap::Checksum(ReadFile(entry.path()), ext == ".dbf");
            }
        }
        EXPECT_FALSE(sums.empty()) << input;
        std::string listing;
        for (const auto& [file, sum] : sums) listing += input + "/" + file + " " + sum + "\n";
        for (const std::string& message : Messages()) listing += input + ": " + message + "\n";
        return listing;
    }

    void Compare(const std::string& listing, const std::string& expected) {
        if (recordedmap::Recording()) {
            WriteFile(kData + expected, listing);
            return;
        }
        EXPECT_EQ(listing, ReadFile(kData + expected));
    }
};

class ExportOneFileBytesTest : public ExportBytesTest {
  protected:
    void PrepareRegistry() override {
        platform::RegistryKey key;
        ASSERT_TRUE(key.OpenKey("Software\\Lumatek\\tpserver\\arcview\\konwersja", true));
        ASSERT_TRUE(key.WriteDword("KNW", 0));
    }
};

}  // namespace

TEST_F(ExportBytesTest, ShapefilesOfTheRecordedMaps) {
    std::string listing;
    for (const std::string input :
         {"generated-v3", "generated-v5", "generated-v7", "zielonki-v7", "awkward-v7-read"})
        listing += Export(input, Mode::PerCode);
    Compare(listing, "shapefiles.txt");
}

TEST_F(ExportBytesTest, ShapefilesUnderBatchConfigurations) {
    WriteFile(Path("generated.ini"), kGeneratedBatch);
    std::string listing = Export("generated-v7", Mode::Batch, Path("generated.ini"));
    listing += Export("zielonki-v7", Mode::Batch, KESTREL_SOURCE_DIR "/examples/zielonki.ini");
    // Without a file every code gets the default rules.
    listing += Export("awkward-v7-read", Mode::Batch, Path("missing.ini"));
    Compare(listing, "shapefiles-batch.txt");
}

TEST_F(ExportOneFileBytesTest, OneShapefileOfEachRecordedMap) {
    std::string listing;
    for (const std::string input : {"generated-v7", "zielonki-v7", "awkward-v7-read"})
        listing += Export(input, Mode::OneFile);
    Compare(listing, "shapefiles-onefile.txt");
}
