#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/UiService.h"
#include "tests/transform/TransformTestSupport.h"
#include "transform/GeoidTable.h"

namespace {

std::string Record(unsigned char length, const std::string& name, double a, double b, double c) {
    std::string r(kGeoidRecordSize, '\0');
    r[0] = static_cast<char>(length);
    std::memcpy(r.data() + 1, name.data(), std::min<std::size_t>(name.size(), 8));
    std::memcpy(r.data() + 9, &a, 8);  // the machine is little-endian, as the file
    std::memcpy(r.data() + 17, &b, 8);
    std::memcpy(r.data() + 25, &c, 8);
    return r;
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(GeoidTable, RecordsInFileOrderWithTrailingBytesIgnored) {
    ScratchDir dir;
    const std::string path = dir / "geoida.bin";
    Write(path, "");
    EXPECT_EQ(LoadGeoidFile(path), 0);
    EXPECT_TRUE(GeoidList.empty());
    Write(path, Record(4, "ABCD", 1, 2, 3) + Record(4, "ABCD", 4, 5, 6) + "tail");
    EXPECT_EQ(LoadGeoidFile(path), 0);
    ASSERT_EQ(GeoidList.size(), 2u);
    EXPECT_EQ(GeoidList[0].Name, "ABCD");
    EXPECT_EQ(GeoidList[1].Name, "ABCD");
    EXPECT_EQ(GeoidList[0].Point.Values[2], 3.0);
    EXPECT_EQ(GeoidList[1].Point.Values[0], 4.0);
    // An empty name, and a length byte above 8 that names all eight bytes.
    Write(path, Record(0, "XYZ", 7, 8, 9) + Record(200, "12345678", 1, 1, 1));
    EXPECT_EQ(LoadGeoidFile(path), 0);
    ASSERT_EQ(GeoidList.size(), 2u);
    EXPECT_EQ(GeoidList[0].Name, "");
    EXPECT_EQ(GeoidList[1].Name, "12345678");
}

TEST(GeoidTable, MissingFileIsReportedAndLeavesAnEmptyTable) {
    ScratchDir dir;
    EXPECT_EQ(LoadGeoidFile(dir / "none.bin"), -1);
    EXPECT_TRUE(GeoidList.empty());
    EXPECT_EQ(LoadGeoidFile(dir.Path()), -1);  // a folder is no table
    // Start-up reads the file beside the test program, which has none: one message, with the path.
    platform::HeadlessUi* ui = platform::UiService::Headless();
    ASSERT_NE(ui, nullptr);
    ui->SetEcho(false);
    ui->ClearMessages();
    InitGeoid();
    ASSERT_EQ(ui->Messages().size(), 1u);
    const std::string& text = ui->Messages()[0].text;
    EXPECT_EQ(text.rfind("B\xb3\xb9"
                         "d odczytu parametr\xf3w geoidy !\n\r",
                         0),
              0u);
    EXPECT_NE(text.find("geoida.bin"), std::string::npos);
    EXPECT_TRUE(GeoidList.empty());
}

TEST(GeoidTable, DamagedRecordsNeverCrash) {
    ScratchDir dir;
    const std::string path = dir / "geoida.bin";
    std::string bytes;
    for (int i = 0; i < 100; ++i) bytes += static_cast<char>(0xFF - i);
    Write(path, bytes);
    EXPECT_EQ(LoadGeoidFile(path), 0);
    EXPECT_EQ(GeoidList.size(), 3u);
    for (const TGeoidEntry& e : GeoidList) EXPECT_LE(e.Name.size(), 8u);
    DoneGeoid();
    EXPECT_TRUE(GeoidList.empty());

    // A file the device cannot deliver (the process's own memory at address 0): one message.
    platform::HeadlessUi* ui = platform::UiService::Headless();
    ASSERT_NE(ui, nullptr);
    ui->SetEcho(false);
    ui->ClearMessages();
    EXPECT_EQ(LoadGeoidFile("/proc/self/mem"), 0);
    ASSERT_EQ(ui->Messages().size(), 1u);
    EXPECT_EQ(ui->Messages()[0].text,
              "Brak pami\xea"
              "ci");
    EXPECT_TRUE(GeoidList.empty());
    // An empty table, as installed beside the program, says nothing.
    Write(path, "");
    ui->ClearMessages();
    EXPECT_EQ(LoadGeoidFile(path), 0);
    EXPECT_TRUE(ui->Messages().empty());
}
