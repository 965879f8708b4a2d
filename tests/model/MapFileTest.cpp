#include "model/MapFile.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "platform/Cp1250.h"
#include "platform/DecimalSeparator.h"
#include "platform/UiService.h"
#include "tests/model/TestMap.h"
#include "tests/platform/TempFolder.h"

namespace {

class MapFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui_ = platform::UiService::Headless();
        ui_->SetEcho(false);
        ui_->ClearMessages();
    }
    void TearDown() override { ui_->SetEcho(true); }

    std::vector<std::string> Boxes() const {
        std::vector<std::string> texts;
        for (const auto& m : ui_->Messages()) texts.push_back(platform::Cp1250ToUtf8(m.text));
        return texts;
    }

    std::int32_t Read(TestMap& map, const std::string& path, bool selectAll = false) {
        std::int32_t result = -1;
        ReadMapFile(path, selectAll, *map.points, *map.objects, result);
        return result;
    }
    std::int32_t ReadText(TestMap& map, const std::string& text) {
        const std::string path = dir_ / "in.map";
        TempFolder::WriteBytes(path, text);
        return Read(map, path);
    }
    std::int32_t Write(TestMap& map, int version, const std::string& path,
                       bool onlyMarked = false) {
        std::int32_t result = -1;
        WriteMapFile("Test", "1.30", version, path, onlyMarked, map.points.get(), map.objects.get(),
                     result);
        return result;
    }

    platform::HeadlessUi* ui_ = nullptr;
    TempFolder dir_;
};

// One object of each kind with every attribute, vector, mark and point flag a version can carry.
void FillSample(TestMap& map) {
    TObiekt& line = map.Object("4101");
    line.Value = 2.5f;
    line.SetFlags(kObjectMarked);
    for (auto [id, v] : {std::pair{kAttrA1, "a1"},
                         {kAttrA2, "a2"},
                         {kAttrA3, "a3"},
                         {kAttrA4, "a4"},
                         {kAttrA5, "a5"},
                         {kAttrA6, "a6"},
                         {kAttrKR, "kr"},
                         {kAttrDT, "20240101"},
                         {kAttrMP, "7"},
                         {kAttrFA, "3"},
                         {kAttrID, "K-17"}})
        line.SetAttribute(id, v);
    line.SetText("opis drogi");
    line.SetVector(1, 1.5f, -2.25f, 0.125f);
    line.SetVector(3, 100.0f, 200.0f, 0.5f);
    TPunkt& shared = map.Point(line, "A12", 15, 5712345.678, 7654321.001, 5.25f);
    map.Point(line, "B1", 7, -10.5, 20.25, 1.5f);
    map.Point(line, "", 12, 1.0, 2.0, 0.0f);
    map.Point(line, "C", 6, 3.0, 4.0, 0.0f);

    TObiekt& text = map.Object("6001");
    text.SetText("Nazwa ulicy");
    map.Point(text, "T1", 7, 100.0, 200.0, 3.0f);

    TObiekt& area = map.Object("5002");
    area.Value = -1.0f;
    area.Vertices->Add(std::make_unique<TNumer>(&shared));
    map.Point(area, "Z", 13, 9.0, 8.0, 7.0f);

    map.Object("1000");  // no vertex: never written
}

}  // namespace

TEST_F(MapFileTest, RoundTripOfEveryVersion) {
    for (int version = 3; version <= 8; ++version) {
        SCOPED_TRACE(version);
        TestMap out;
        FillSample(out);
        const std::string path = dir_ / "v.map";
        ASSERT_EQ(Write(out, version, path), 0);
        TestMap in;
        ASSERT_EQ(Read(in, path), 0);
        EXPECT_TRUE(ui_->Messages().empty());
        const auto objects = in.All();
        ASSERT_EQ(objects.size(), 3u);
        const TObiekt& line = *objects[0];
        EXPECT_EQ(line.Code, "4101");
        EXPECT_EQ(line.Value, 2.5f);
        EXPECT_TRUE(line.Flags & kObjectMarked);
        EXPECT_FALSE(objects[1]->Flags & kObjectMarked);
        EXPECT_EQ(line.LineNo, 6);
        std::string v;
        line.GetAttribute(kAttrA3, v, 85);
        EXPECT_EQ(v, "a3");
        line.GetAttribute(kAttrA6, v, 85);
        EXPECT_EQ(v, version >= 4 ? "a6" : "");
        EXPECT_EQ(line.Text, version >= 4 ? "opis drogi" : "");
        EXPECT_EQ(line.KR, version >= 4 ? "kr" : "");
        EXPECT_EQ(line.DT, version >= 4 ? 20240101 : 0);
        EXPECT_EQ(line.MP, version >= 4 ? 7 : 0);
        EXPECT_EQ(line.FA, version >= 4 ? 3 : -1);
        line.GetAttribute(kAttrID, v, 85);
        EXPECT_EQ(v, version >= 7 ? "K-17" : "");
        float a, b, c;
        line.GetVector(1, a, b, c);
        EXPECT_EQ(a, 1.5f);
        EXPECT_EQ(b, -2.25f);
        EXPECT_EQ(c, 0.125f);
        line.GetVector(3, a, b, c);
        EXPECT_EQ(a, 100.0f);
        EXPECT_EQ(line.Vectors[1], nullptr);
        EXPECT_EQ(objects[1]->Text, "Nazwa ulicy");  // version 3 text line or TX

        const auto pts = TestMap::PointsOf(line);
        ASSERT_EQ(pts.size(), 4u);
        EXPECT_NEAR(pts[0]->X, 5712345.678, 1e-6);
        EXPECT_NEAR(pts[0]->Y, 7654321.001, 1e-6);
        EXPECT_EQ(pts[1]->X, -10.5);
        if (version <= 4) {
            EXPECT_EQ(pts[0]->Name, "A12");
            EXPECT_EQ(pts[0]->Flags, 6);  // only flags 7 carry the height in the old form
            EXPECT_EQ(pts[1]->Flags, 7);
            EXPECT_EQ(pts[1]->H, 1.5f);
            EXPECT_EQ(pts[3]->Flags, 6);
        } else {
            EXPECT_EQ(pts[0]->Flags, 15);
            EXPECT_EQ(pts[0]->H, 5.25f);
            EXPECT_EQ(pts[0]->Name, "A12");
            EXPECT_EQ(pts[1]->Flags, 7);
            EXPECT_EQ(pts[2]->Flags, 12);
            EXPECT_EQ(pts[2]->Name, "");
            EXPECT_EQ(pts[3]->Flags, 6);
        }
        // A point shared by two objects comes back as two points.
        EXPECT_NE(TestMap::PointsOf(*objects[2])[0], pts[0]);
        EXPECT_EQ(in.points->Count(), 7);
        EXPECT_FLOAT_EQ(objects[2]->MaxX, 5712345.678f);  // extents computed after reading
        EXPECT_EQ(in.objects->Added, 0);
        EXPECT_EQ(in.objects->LastAdded, nullptr);
        EXPECT_EQ(in.objects->CurrentItem(), in.objects->First());
    }
}

TEST_F(MapFileTest, WrittenLayout) {
    TestMap map;
    FillSample(map);
    platform::DecimalSeparatorGuard comma(',');
    ASSERT_EQ(Write(map, 7, dir_ / "v7.map"), 0);
    EXPECT_EQ(platform::GetDecimalSeparator(), ',');  // restored after writing
    std::istringstream text(TempFolder::ReadBytes(dir_ / "v7.map"));
    std::vector<std::string> lines;
    for (std::string l; std::getline(text, l);) {
        ASSERT_FALSE(l.empty());
        ASSERT_EQ(l.back(), '\r');
        l.pop_back();
        lines.push_back(l);
    }
    ASSERT_GE(lines.size(), 10u);
    EXPECT_EQ(lines[0], ";# Plik danych systemu TOPOLIN ver=[ 7.00]");
    EXPECT_EQ(lines[1], ";GENERATOR: Test ver 1.30");
    EXPECT_EQ(lines[2], ";plik->" + (dir_ / "v7.map"));
    EXPECT_EQ(lines[4].rfind(";Operator:", 0), 0u);
    EXPECT_EQ(lines[5], ";" + std::string(41, '-'));
    EXPECT_EQ(lines[6], "*4101 1 7 2.50000000 #");
    EXPECT_EQ(lines[7], ":TX[opis drogi]");
    EXPECT_EQ(lines[14], ":KR[kr]");
    EXPECT_EQ(lines[15], ":DT[20240101]");
    EXPECT_EQ(lines[17], ":FA[3]");
    EXPECT_EQ(lines[18], ":ID[K-17]");
    EXPECT_EQ(lines[19], "!         1        1.500       -2.250   0.12500000");
    EXPECT_EQ(lines[21], "P  1 5712345.678 7654321.001 5.250 ,A12");
    EXPECT_EQ(lines[22], "P  0 -10.500 20.250 1.500 ,B1");
    EXPECT_EQ(lines[23], "P  1 1.000 2.000");
    EXPECT_EQ(lines.back(), ";KONIEC PLIKU");

    ASSERT_EQ(Write(map, 3, dir_ / "v3.map"), 0);
    const std::string v3 = TempFolder::ReadBytes(dir_ / "v3.map");
    EXPECT_NE(v3.find("*6001 1 7 0.00000000\r\nNazwa ulicy\r\n"), std::string::npos);
    EXPECT_NE(v3.find("\r\n         B1      -10.500       20.250       1.5000\r\n"),
              std::string::npos);
    EXPECT_NE(v3.find("\r\n        A12  5712345.678  7654321.001\r\n"), std::string::npos);
    EXPECT_EQ(v3.find(":TX["), std::string::npos);
    ASSERT_EQ(Write(map, 4, dir_ / "v4.map"), 0);
    EXPECT_NE(TempFolder::ReadBytes(dir_ / "v4.map").find(":TX[Nazwa ulicy]"), std::string::npos);
}

// Coordinates exactly halfway between two written values (binary fractions, so the tie is real):
// halves go to the even last digit, in both point forms, downwards and upwards.
TEST_F(MapFileTest, CoordinatesOnARoundingTie) {
    TestMap map;
    TObiekt& line = map.Object("4101");
    map.Point(line, "T1", 7, 5712345.0625, -7654321.1875, 2.0625f);
    map.Point(line, "T2", 7, -0.0625, 0.1875, 0.03125f);
    ASSERT_EQ(Write(map, 7, dir_ / "v7.map"), 0);
    const std::string v7 = TempFolder::ReadBytes(dir_ / "v7.map");
    EXPECT_NE(
        v7.find("\r\nP  0 5712345.062 -7654321.188 2.062 ,T1\r\nP  0 -0.062 0.188 0.031 ,T2\r\n"),
        std::string::npos)
        << v7;
    ASSERT_EQ(Write(map, 3, dir_ / "v3.map"), 0);
    const std::string v3 = TempFolder::ReadBytes(dir_ / "v3.map");
    EXPECT_NE(v3.find("\r\n         T1  5712345.062 -7654321.188       2.0625\r\n"
                      "         T2       -0.062        0.188       0.0312\r\n"),
              std::string::npos)
        << v3;
}

TEST_F(MapFileTest, KeyedAttributesAndMarkedSelection) {
    TestMap map;
    TObiekt& plain = map.Object("4101");
    map.Point(plain, "A", 7, 1, 2, 0);
    TObiekt& marked = map.Object("4102");
    marked.SetFlags(kObjectMarked);
    map.Point(marked, "B", 7, 1, 2, 0);
    ASSERT_EQ(Write(map, 6, dir_ / "all.map"), 0);
    const std::string all = TempFolder::ReadBytes(dir_ / "all.map");
    EXPECT_EQ(all.find(":DT["), std::string::npos);
    EXPECT_EQ(all.find(":MP["), std::string::npos);
    EXPECT_NE(all.find("*4101 1 7 0.00000000\r\n:FA[-1]\r\n"), std::string::npos);
    ASSERT_EQ(Write(map, 6, dir_ / "marked.map", true), 0);
    const std::string only = TempFolder::ReadBytes(dir_ / "marked.map");
    EXPECT_EQ(only.find("*4101"), std::string::npos);
    EXPECT_NE(only.find("*4102 1 7 0.00000000 #"), std::string::npos);

    TestMap selected;
    std::int32_t result = -1;
    ReadMapFile(dir_ / "all.map", true, *selected.points, *selected.objects, result);
    ASSERT_EQ(result, 0);
    for (TObiekt* o : selected.All()) EXPECT_TRUE(o->Flags & kObjectMarked);
}

TEST_F(MapFileTest, WriteWithNothingToWriteOrNowhereToWrite) {
    TestMap empty;
    const std::string path = dir_ / "none.map";
    EXPECT_EQ(Write(empty, 7, path), 0);
    EXPECT_EQ(dir_.EntryCount(), 0u);
    std::int32_t result = -1;
    WriteMapFile("T", "1", 7, path, false, nullptr, nullptr, result);
    EXPECT_EQ(result, 0);

    TestMap map;
    FillSample(map);
    EXPECT_EQ(Write(map, 7, dir_ / "missing/x.map"), 3);
    EXPECT_TRUE(ui_->Messages().empty());  // a file that cannot be created shows nothing
    EXPECT_EQ(Write(map, 9, path), 87);
    EXPECT_EQ(dir_.EntryCount(), 0u);
}

TEST_F(MapFileTest, HeaderChecks) {
    TestMap map;
    EXPECT_EQ(ReadText(map, ";# Plik danych systemu TOPOLIN ver=[ 2.00]\r\n"), 254);
    EXPECT_EQ(ReadText(map, ";# Plik danych systemu TOPOLIN ver=[ 9.00]\r\n"), 253);
    EXPECT_EQ(ReadText(map, "# Plik danych systemu TOPOLIN ver=[ 7.00]\r\n"), 254);
    EXPECT_EQ(ReadText(map, ";# PLIK VER=[ 5.00]\r\n;KONIEC PLIKU\r\n"), 0);
    // A version field that does not convert is refused like a header without a version.
    EXPECT_EQ(ReadText(map, ";# ver=[7.00]\r\n"), 254);
    EXPECT_EQ(ReadText(map, ";# ver=[ 7.x0]\r\n"), 254);
    EXPECT_EQ(ReadText(map, ";# ver\r\n"), 254);
    EXPECT_EQ(ReadText(map, ""), 254);
    const std::string name = dir_ / "in.map";
    const std::vector<std::string> expected = {
        "To nie jest plik MAP: " + name, "Nieobsługiwana wersja pliku MAP: " + name,
        "To nie jest plik MAP: " + name, "To nie jest plik MAP: " + name,
        "To nie jest plik MAP: " + name, "To nie jest plik MAP: " + name,
        "To nie jest plik MAP: " + name,
    };
    EXPECT_EQ(Boxes(), expected);
    EXPECT_EQ(ui_->Messages()[0].style, platform::MB_OK | platform::MB_ICONWARNING);
    EXPECT_EQ(ui_->Messages()[0].caption, "");
}

TEST_F(MapFileTest, MissingFileAndEmptyName) {
    TestMap map;
    EXPECT_EQ(Read(map, ""), 255);
    EXPECT_TRUE(ui_->Messages().empty());
    EXPECT_EQ(Read(map, dir_ / "missing.map"), 2);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Błąd dostępu do pliku " + (dir_ / "missing.map")});
}

TEST_F(MapFileTest, PointLineForms) {
    TestMap map;
    ASSERT_EQ(
        ReadText(map,
                 ";ver=[ 5.00]\n*4101 1 7 0.0\nP 0 1.5 2.5\nP 1 3 4 5.250 ,A12\n"
                 "    NAME X   10.0   20.0\n        P1 30 40 1.25\nP 2 5 6 ,name with blank\n"),
        0);
    const auto pts = TestMap::PointsOf(*map.All()[0]);
    ASSERT_EQ(pts.size(), 5u);
    EXPECT_EQ(pts[0]->Flags, 4);
    EXPECT_EQ(pts[0]->H, 0.0f);
    EXPECT_EQ(pts[1]->Flags, 15);
    EXPECT_EQ(pts[1]->H, 5.25f);
    EXPECT_EQ(pts[1]->Name, "A12");
    EXPECT_EQ(pts[2]->Flags, 6);
    EXPECT_EQ(pts[2]->Name, "NAMEX");
    EXPECT_EQ(pts[3]->Flags, 7);
    EXPECT_EQ(pts[4]->Flags, 6);
    EXPECT_EQ(pts[4]->Name, "namewith");  // the 10 characters after the comma
}

TEST_F(MapFileTest, AttributesByVersion) {
    TestMap v6;
    ASSERT_EQ(ReadText(v6, ";ver=[ 6.00]\r\n*4101 1 7 0\r\n:ID[K-1]\r\n:TX[t]\r\n:ZZ[q]\r\n"), 0);
    std::string id;
    v6.All()[0]->GetAttribute(kAttrID, id, 85);
    EXPECT_EQ(id, "");
    EXPECT_EQ(v6.All()[0]->Text, "t");
    TestMap v7;
    ASSERT_EQ(ReadText(v7, ";ver=[ 7.00]\r\n*4101 1 7 0\r\n:ID[K-1]\r\n:A1[]\r\n:A2\r\n"), 0);
    v7.All()[0]->GetAttribute(kAttrID, id, 85);
    EXPECT_EQ(id, "K-1");
    TestMap v3;
    ASSERT_EQ(ReadText(v3, ";ver=[ 3.00]\r\n*4101 1 7 0\r\n:TX[t]\r\n:A1[x]\r\n:A4[y]\r\n"), 0);
    EXPECT_EQ(v3.All()[0]->Text, "");
    v3.All()[0]->GetAttribute(kAttrA4, id, 85);
    EXPECT_EQ(id, "y");  // A1..A6 are accepted in every version
}

TEST_F(MapFileTest, LineBeforeAnyObjectEndsTheReading) {
    for (const char* first : {" P1 1 2", "P 0 1 2", ":A1[x]", "!1 1 2 3"}) {
        ui_->ClearMessages();
        TestMap map;
        EXPECT_EQ(
            ReadText(map, std::string(";ver=[ 7.00]\r\n;c\r\n") + first + "\r\n*4101 1 7 0\r\n"),
            255);
        EXPECT_EQ(Boxes(), (std::vector<std::string>{"Błąd odczytu w wierszu: 3",
                                                     "Błąd odczytu pliku " + (dir_ / "in.map")}));
        EXPECT_EQ(map.objects->Count(), 0);
        EXPECT_EQ(map.points->Count(), 0);
    }
}

TEST_F(MapFileTest, BadNumbersLeaveTheLineOutAndAreReportedOnce) {
    TestMap map;
    EXPECT_EQ(ReadText(map,
                       ";ver=[ 7.00]\n*4101 1 7 x\nP 0 1,5 2\nP 0 1 2\n 1 2\n!1 1 2 c\n!2 1 2 3\n"
                       "P 0 1e99 1e999\n!1 1e39 1 1\n"),
              0);
    const auto objects = map.All();
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->Value, 0.0f);
    EXPECT_EQ(objects[0]->Vertices->Count(), 1);
    EXPECT_EQ(objects[0]->Vectors[0], nullptr);
    EXPECT_NE(objects[0]->Vectors[1], nullptr);
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"Błędne liczby w wierszach pliku " + (dir_ / "in.map") +
                                       ": 6, pierwszy błędny wiersz: 2"});
}

TEST_F(MapFileTest, GarbageNeverCrashes) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
    const std::vector<std::string> inputs = {
        ";ver=[ 7.00]\n*" + std::string(100000, 'x') + "\nP 0 1 2\n",
        ";ver=[ 7.00]\n*4101 1 7 0\n" + garbage,
        ";ver=[ 7.00]\n*4101 1 7 0\nP 0 1.5 2.2",  // no line end at the end
        ";ver=[ 7.00]\n*4101 1 7 0\nP 0 1.5 2.",   // cut in the middle of a number
        std::string(";ver=[ 7.00]\n*4101 1 7 0\nP 0 1\0 2\n:A1[\0]\n", 41),
        ";ver=[ 3.00]\r*6000 1 7 0",  // text line missing at the end
        "\0\0\0",
    };
    for (const auto& input : inputs) {
        TestMap map;
        const std::int32_t result = ReadText(map, input);
        EXPECT_TRUE(result == 0 || result == 255 || result == 254) << result;
    }
    TestMap cut;
    ReadText(cut, inputs[2]);
    EXPECT_EQ(TestMap::PointsOf(*cut.All()[0]).size(), 1u);
    EXPECT_EQ(TestMap::PointsOf(*cut.All()[0])[0]->X, 1.5);
}

// A device in the file's place is not read at all; a line that never ends (NUL bytes after the
// objects) ends the reading quickly with a message, and what was read before stays in the lists.
TEST_F(MapFileTest, InputWithoutAnEndStopsTheReading) {
    TestMap zero;
    EXPECT_EQ(Read(zero, "/dev/zero"), 5);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Plik /dev/zero nie jest zwykłym plikiem"});

    ui_->ClearMessages();
    const std::string zeros = dir_ / "zeros.map";
    TempFolder::WriteBytes(
        zeros, ";ver=[ 7.00]\r\n*4101 1 7 0\r\nP 0 1 2\r\n" + std::string(1100 * 1024, '\0'));
    TestMap endless;
    EXPECT_EQ(Read(endless, zeros), 255);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{
                           "Wiersz 4 nie kończy się przez ponad 1 MB: to nie jest plik MAP, "
                           "reszty pliku nie wczytano",
                           "Błąd odczytu pliku " + zeros}));
    EXPECT_EQ(endless.objects->Count(), 1);
    EXPECT_EQ(endless.points->Count(), 1);
}

TEST(MapFileHelpers, RemoveSpacesAndNewLists) {
    EXPECT_EQ(RemoveSpaces(" a b  c "), "abc");
    std::unique_ptr<TListaPKT> points;
    std::unique_ptr<TListaObi> objects;
    NewMapLists(points, objects);
    ASSERT_NE(points, nullptr);
    objects->AddObject(std::make_unique<TObiekt>("4101", "", "", "", "", "", "", "", 0));
    NewMapLists(points, objects);
    EXPECT_EQ(objects->Count(), 0);
}
