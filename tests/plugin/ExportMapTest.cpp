// The per-code and one-file exports, read back by pyshp and ogrinfo.
#include "ExportTestSupport.h"
#include "model/PolishLetters.h"
#include "plugin/AttributeIds.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ExportMapTest : public ExportTest {
  protected:
    void SetUp() override {
        ExportTest::SetUp();
        tools = ToolAvailable("ogrinfo") && ToolAvailable("/usr/bin/python3");
    }
    static bool ToolAvailable(const std::string& program) {
        const bool found = Run("command -v " + program + " >/dev/null 2>&1 && echo yes") == "yes\n";
        if (!found) ADD_FAILURE() << program << " is missing: see scripts/packages.txt";
        return found;
    }
    bool tools = false;
};

TEST_F(ExportMapTest, SevenObjectsGiveOneLayerPerCode) {
    SevenObjects();
    Add("5999", {{0, 0}, {0, 1}, {1, 1}, {0, 0}});
    objects->GoFirst();
    objects->CurrentObject()->SetFlags(kObjectMarked | 1);  // marks of an earlier selection
    Export();

    EXPECT_THAT(Files(),
                ElementsAre("1000.dbf", "1000.shp", "1000.shx", "1000.tpi", "4100.dbf", "4100.shp",
                            "4100.shx", "4100.tpi", "5100.dbf", "5100.shp", "5100.shx", "5100.tpi",
                            "5999.dbf", "5999.shp", "5999.shx", "5999.tpi"));
    EXPECT_TRUE(Messages().empty());
    // Only the objects of the last code examined keep the mark; other flags stay.
    std::vector<std::uint16_t> flags;
    for (TElement* e = objects->First(); e; e = e->GetNext())
        flags.push_back(static_cast<TObiekt*>(e)->Flags);
    EXPECT_THAT(flags, ElementsAre(3, 3, 3, 3, 3, 3, 3, 3 | kObjectMarked));
    EXPECT_EQ(objects->CurrentItem(), objects->Last());
    // The shape holds the last layer written.
    EXPECT_EQ(shape->FileName, Out("5999.shp"));
    EXPECT_EQ(platform::ScreenCursor(), platform::crDefault);
    if (!tools) return;

    const std::string points = Pyshp(Out("1000.shp"));
    EXPECT_THAT(Lines(points, "type"), ElementsAre("type 1 count 3"));
    EXPECT_THAT(Lines(points, "shape"), ElementsAre("shape 1 parts  points 7000200 5000100",
                                                    "shape 1 parts  points 7000201 5000101",
                                                    "shape 1 parts  points 7000202 5000102"));
    // TPID is the position among all objects.
    const auto rows = Rows(points);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_THAT(rows[0], ::testing::EndsWith("|1"));
    EXPECT_THAT(rows[1], ::testing::EndsWith("|3"));
    EXPECT_THAT(rows[2], ::testing::EndsWith("|7"));
    EXPECT_THAT(
        Lines(points, "field"),
        ElementsAre("field KOD C 4 0", "field A1 C 25 0", "field A2 C 25 0", "field A3 C 30 0",
                    "field A4 C 30 0", "field A5 C 30 0", "field A6 C 30 0", "field TX C 200 0",
                    "field KEM C 100 0", "field MP N 4 0", "field FA N 10 0", "field DT D 8 0",
                    "field TPID N 10 0"));
    EXPECT_THAT(rows[0], ::testing::StartsWith("1000|||||||||0|-1|None|1"));

    const std::string lines = Pyshp(Out("4100.shp"));
    EXPECT_THAT(Lines(lines, "type"), ElementsAre("type 3 count 2"));
    EXPECT_THAT(Lines(lines, "shape"), ElementsAre("shape 3 parts 0 points 20 10;21 11;20 12",
                                                   "shape 3 parts 0 points 40 30;41 31"));
    const std::string area = Pyshp(Out("5100.shp"));
    EXPECT_THAT(Lines(area, "shape"), ElementsAre("shape 5 parts 0 points 0 0;10 10;10 0;0 0"));
    EXPECT_THAT(Rows(area), ElementsAre(::testing::EndsWith("|4")));

    const std::string ogr = OgrInfo(Out("4100.shp"));
    EXPECT_THAT(ogr, HasSubstr("Geometry: Line String"));
    EXPECT_THAT(ogr, HasSubstr("Feature Count: 2"));
    EXPECT_THAT(ogr, HasSubstr("KOD: String (4.0)"));
    EXPECT_THAT(ogr, HasSubstr("MP: Integer (4.0)"));
    EXPECT_THAT(ogr, HasSubstr("DT: Date (10.0)"));
    EXPECT_THAT(ogr, HasSubstr("TPID: Integer64 (10.0)"));
    EXPECT_THAT(OgrInfo(Out("1000.shp")), HasSubstr("Geometry: Point"));
    EXPECT_THAT(OgrInfo(Out("5100.shp")), HasSubstr("Geometry: Polygon"));
    EXPECT_THAT(OgrInfo(Out("5100.shp")),
                HasSubstr("Extent: (0.000000, 0.000000) - (10.000000, 10.000000)"));
}

// Record lengths as the header holds them (deletion flag included).
std::int32_t HeaderRecordLength(const std::string& dbf) {
    std::ifstream in(dbf, std::ios::binary);
    unsigned char header[12] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    return header[10] | (header[11] << 8);
}
std::int32_t HeaderFieldCount(const std::string& dbf) {
    std::ifstream in(dbf, std::ios::binary);
    unsigned char header[12] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    return ((header[8] | (header[9] << 8)) - 33) / 32;
}

TEST_F(ExportMapTest, FieldSetsOfTheModes) {
    Add("1000", {{1, 2}});
    Export();
    EXPECT_EQ(HeaderFieldCount(Out("1000.dbf")), 13);
    EXPECT_EQ(HeaderRecordLength(Out("1000.dbf")), 507);

    ConversionSettings.KNW = false;
    mapFile = Out("plan.map");
    Export();
    EXPECT_EQ(HeaderFieldCount(Out("plan.dbf")), 12);  // no FA
    EXPECT_EQ(HeaderRecordLength(Out("plan.dbf")), 497);

    // Attributes chosen in the dialog: shown once per layer, cancelled, the stored choice used.
    ConversionSettings.KNW = true;
    ConversionSettings.ATB = false;
    for (const auto& f : kDbfAttributeFields)
        PutDword(kAttributeRegistryKey, f.name, f.name == "A1");
    Add("4100", {{1, 2}, {3, 4}});
    Export();
    EXPECT_EQ(ui->Forms().size(), 2u);
    EXPECT_EQ(HeaderFieldCount(Out("4100.dbf")), 2);
    EXPECT_EQ(HeaderRecordLength(Out("4100.dbf")), 36);
    if (tools) {
        EXPECT_THAT(Lines(Pyshp(Out("4100.shp")), "field"),
                    ElementsAre("field A1 C 25 0", "field TPID N 10 0"));
    }
}

TEST_F(ExportMapTest, DatesAndNumbers) {
    const std::uint32_t july15 =
        ((2004u - 1980u) << 25 | 7u << 21 | 15u << 16) | (13u << 11 | 5u << 5 | 10u);
    Add("1000", {{1, 2}})
        ->SetAttribute(attr::DT, std::to_string(static_cast<std::int32_t>(july15)));
    Add("1000", {{1, 2}})->SetAttribute(attr::DT, "0");
    Add("1000", {{1, 2}})
        ->SetAttribute(attr::DT, std::to_string((2004u - 1980u) << 25 | 15u << 16));  // month 0
    Add("1000", {{1, 2}})
        ->SetAttribute(attr::DT, std::to_string((24u << 25 | 2u << 21 | 30u << 16)));  // 30 Feb
    Add("1000", {{1, 2}})
        ->SetAttribute(attr::DT,
                       std::to_string((24u << 25 | 2u << 21 | 29u << 16 | 24u << 11)));  // hour 24
    const std::uint32_t late = (2100u - 1980u) << 25 | 1u << 21 | 2u << 16;  // high bit set
    Add("1000", {{1, 2}})->SetAttribute(attr::DT, std::to_string(static_cast<std::int32_t>(late)));
    TObiekt* numbers = Add("1000", {{1, 2}});
    numbers->SetAttribute(attr::MP, "12");
    numbers->SetAttribute(attr::FA, "123456");
    TObiekt* wide = Add("1000", {{1, 2}});
    wide->SetAttribute(attr::MP, "123456");  // does not fit N 4
    Export();
    EXPECT_THAT(Messages(), ElementsAre("Błąd MP 123456"));
    if (!tools) return;
    const auto rows = Rows(Pyshp(Out("1000.shp")));
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_THAT(rows[0], HasSubstr("|2004-07-15|1"));
    for (int i = 1; i < 5; ++i) EXPECT_THAT(rows[static_cast<std::size_t>(i)], HasSubstr("|None|"));
    EXPECT_THAT(rows[5], HasSubstr("|2100-01-02|6"));
    EXPECT_THAT(rows[6], HasSubstr("|12|123456|None|7"));
    EXPECT_THAT(rows[7], HasSubstr("|None|-1|None|8"));  // the refused value leaves it empty
}

TEST_F(ExportMapTest, PolishLettersInEachCodePage) {
    // The map's letters are read as Mazovia (page 1): ą, Ł, ż.
    const std::string mazovia = "\x86\x9c\xa7";
    for (int page = 1; page <= 6; ++page) {
        objects = std::make_unique<TListaObi>();
        Add("1000", {{1, 2}})->SetAttribute(attr::A1, "x" + mazovia);
        ConversionSettings.PLKODY = page;
        Export();
        std::string expected;
        ConvertPolishLetters(mazovia, 1, page, expected);
        std::string escaped = "x";
        for (unsigned char c : expected) {
            char hex[8];
            std::snprintf(hex, sizeof hex, c >= 32 && c < 127 ? "%c" : "\\x%02x", c);
            escaped += hex;
        }
        if (tools) {
            EXPECT_THAT(Rows(Pyshp(Out("1000.shp"))),
                        ElementsAre(::testing::StartsWith("1000|" + escaped + "|")))
                << page;
        }
    }
    std::string windows, plain;
    ConvertPolishLetters(mazovia, 1, 3, windows);
    ConvertPolishLetters(mazovia, 1, 4, plain);
    EXPECT_EQ(windows, Cp("ąŁż"));
    EXPECT_EQ(plain, "aLz");
}

TEST_F(ExportMapTest, PreparationDropsAndDemotes) {
    Add("4100", {{0, 0}, {1, 1}});
    Add("4100", {{5, 5}});                              // one vertex
    Add("5100", {{0, 0}, {0, 1}, {1, 1}, {0.001, 0}});  // does not close
    Add("5100", {{0, 0}, {0, 1}, {1, 1}, {0, 0}});
    Add("5200", {});
    ConversionSettings.U45 = true;
    ConversionSettings.Z54 = true;
    Export();
    EXPECT_EQ(objects->Count(), 3);
    EXPECT_EQ(static_cast<TObiekt*>(objects->First()->GetNext())->Code, "4100");
    EXPECT_FALSE(Exists("5200.shp"));
    if (tools) {
        const std::string lines = Pyshp(Out("4100.shp"));
        EXPECT_THAT(Lines(lines, "type"), ElementsAre("type 3 count 2"));
        // TPIDs are counted in the map as it is after the preparation.
        EXPECT_THAT(Rows(lines), ElementsAre(::testing::EndsWith("|1"), ::testing::EndsWith("|2")));
        EXPECT_THAT(Lines(Pyshp(Out("5100.shp")), "type"), ElementsAre("type 5 count 1"));
    }

    objects = std::make_unique<TListaObi>();
    Add("4100", {{5, 5}});
    Add("1000", {});
    ConversionSettings.U45 = false;
    Export();
    if (tools) {
        EXPECT_THAT(Lines(Pyshp(Out("4100.shp")), "shape"),
                    ElementsAre("shape 3 parts 0 points 5 5"));
        // An object without a vertex: a null shape that keeps its row.
        const std::string empty = Pyshp(Out("1000.shp"));
        EXPECT_THAT(Lines(empty, "shape"), ElementsAre("shape 0 parts  points "));
        EXPECT_THAT(Rows(empty), ElementsAre(::testing::EndsWith("|2")));
        EXPECT_THAT(OgrInfo(Out("1000.shp")), HasSubstr("Feature Count: 1"));
    }
}

TEST_F(ExportMapTest, OneFileHoldsEveryKindUnderTheFirstType) {
    ConversionSettings.KNW = false;
    mapFile = Out("plan.map");
    Add("4100", {{10, 20}, {11, 21}});
    Add("1000", {{1, 2}});
    Add("7000", {{1, 2}});
    Add("5100", {{0, 0}, {0, 5}, {5, 5}, {0, 0}});
    shape->Records->AddRecord(std::make_unique<TSHPRecord>());  // left from an opened file
    Export();
    EXPECT_THAT(Files(), ElementsAre("plan.dbf", "plan.shp", "plan.shx", "plan.tpi"));
    EXPECT_EQ(shape->Records->Count(), 3);
    if (!tools) return;
    const std::string all = Pyshp(Out("plan.shp"));
    EXPECT_THAT(Lines(all, "type"), ElementsAre("type 3 count 3"));
    EXPECT_THAT(Lines(all, "shape"),
                ElementsAre(HasSubstr("shape 3 "), HasSubstr("shape 1 "), HasSubstr("shape 5 ")));
    EXPECT_THAT(Rows(all), ElementsAre(::testing::EndsWith("|1"), ::testing::EndsWith("|2"),
                                       ::testing::EndsWith("|4")));
    EXPECT_THAT(Lines(all, "field"), ::testing::Not(::testing::Contains("field FA N 10 0")));
    EXPECT_THAT(OgrInfo(Out("plan.shp")), HasSubstr("Feature Count: 3"));
}

// Outer rings clockwise, holes counter-clockwise, whatever their sense and order in the map: GDAL
// reads every one of these as a square with a hole.
TEST_F(ExportMapTest, AreasRunAsTheFormatSaysWhateverTheirSenseAndOrderInTheMap) {
    const std::vector<V> outerCcw = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};  // northing first
    const std::vector<V> holeCcw = {{4, 4}, {4, 6}, {6, 6}, {6, 4}, {4, 4}};
    const std::vector<V> outerCw(outerCcw.rbegin(), outerCcw.rend());
    const std::vector<V> holeCw(holeCcw.rbegin(), holeCcw.rend());
    auto area = [&](const std::vector<V>& first, const std::vector<V>& second) {
        std::vector<V> vertices = first;
        vertices.insert(vertices.end(), second.begin(), second.end());
        vertices.push_back(first.front());
        Add("5100", vertices);
    };
    area(outerCcw, holeCcw);
    area(outerCw, holeCw);
    area(holeCcw, outerCcw);
    ASSERT_TRUE(Export());
    if (!tools) return;
    const std::string script = Out("../rings.py");
    std::ofstream(script) << "import sys\nfrom osgeo import ogr\n"
                             "source = ogr.Open(sys.argv[1])\n"
                             "for f in source.GetLayer(0):\n"
                             "    g = f.GetGeometryRef()\n"
                             "    print(g.GetGeometryName(), g.GetGeometryCount(), g.GetArea())\n";
    const std::string read =
        Run("/usr/bin/python3 '" + script + "' '" + Out("5100.shp") + "' 2>&1");
    EXPECT_EQ(read, "POLYGON 2 96.0\nPOLYGON 2 96.0\nPOLYGON 2 96.0\n");
}

// Every ring closed, under Z54 0 and 1, per code and in one file: GDAL reads every area back valid
// and warns of nothing, repeated vertices and holes left open before their link vertex included.
// An area without three distinct points keeps its row without geometry and is counted in one
// message for its layer, where other objects without geometry are not; a layer whose areas all
// lack geometry is still a polygon layer.
TEST_F(ExportMapTest, GdalReadsEveryAreaValidWhateverItsOutline) {
    const std::string script = Out("../areas.py");
    // Features, those without geometry, invalid ones; GDAL's warnings come before.
    std::ofstream(script)
        << "import sys, glob\nfrom osgeo import ogr\ncount = [0, 0, 0]\n"
           "for name in glob.glob(sys.argv[1] + '/*.shp'):\n"
           "    source = ogr.Open(name)\n"
           "    for g in (f.GetGeometryRef() for f in source.GetLayer(0)):\n"
           "        count[0 if g and g.IsValid() else 1 if g is None else 2] += 1\n"
           "print(*count)\n";
    const std::vector<V> square = {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
    auto with = [&](std::vector<V> tail) {
        tail.insert(tail.begin(), square.begin(), square.end());
        return tail;
    };
    using ::testing::AllOf;
    using ::testing::EndsWith;
    for (const bool z54 : {false, true}) {
        for (const bool perCode : {true, false}) {
            SCOPED_TRACE(std::to_string(z54) + std::to_string(perCode));
            for (const std::string& name : Files()) std::filesystem::remove(Out(name));
            objects = std::make_unique<TListaObi>();
            Add("5100", {{0, 0}, {0, 10}, {10, 10}});
            Add("5100", {{0, 0}, {0, 10}});
            Add("5100", {{0, 0}, {0, 10}, {0, 0}});
            Add("5200", with({{4, 4}, {4, 6}, {6, 6}}));  // an open hole
            // The last ring open, the object back at its first point.
            Add("5200", with({{-20, -20}, {-20, -30}, {-30, -25}, {0, 0}}));
            Add("5200", {{5, 5}, {5, 5}});
            Add("5200", square);
            Add("5200", {{0, 0}, {0, 0}, {0, 10}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
            Add("5200", with({{4, 4}, {4, 4}, {4, 6}, {6, 6}, {6, 6}, {4, 4}, {0, 0}}));
            Add("5200", with({{4, 4}, {4, 6}, {6, 6}, {0, 0}}));  // open before its link
            Add("5200", with({{4, 4}, {4, 6}, {6, 6}, {0, 0}, {1, 8}, {2, 8}, {2, 9}, {0, 0}}));
            Add("1000", {});  // a point without geometry is no area
            Add("7000", {{1, 1}});
            ConversionSettings.Z54 = z54;
            ConversionSettings.KNW = perCode;
            mapFile = Out("plan.map");
            boxes->ClearMessages();
            EXPECT_TRUE(Export());
            // Under Z54 the open outlines went to the lines.
            if (perCode) {
                EXPECT_THAT(
                    Messages(),
                    ElementsAre(AllOf(HasSubstr(Out("5100.shp")), EndsWith(z54 ? ": 1" : ": 2")),
                                AllOf(HasSubstr(Out("5200.shp")), EndsWith(": 1"))));
                // Under Z54 the one area left in 5100 lacks geometry.
                const std::string polygons = ReadFile(Out("5100.shp"));
                ASSERT_GE(polygons.size(), 100u);
                EXPECT_EQ(polygons[32], 5);  // the header's shape type
            } else {
                EXPECT_THAT(Messages(), ElementsAre(AllOf(HasSubstr(Out("plan.shp")),
                                                          EndsWith(z54 ? ": 2" : ": 3"))));
            }
            if (tools) {
                EXPECT_EQ(Run("/usr/bin/python3 '" + script + "' '" + Out("") + "' 2>&1"),
                          z54 ? "9 3 0\n" : "8 4 0\n");
            }
        }
    }
}

TEST_F(ExportMapTest, SymbolNamesNameTheLayers) {
    const std::string sym = Out("../lib.sym");
    std::ofstream(sym, std::ios::binary)
        << "*1000Punkt " << Cp("graniczny") << "\r\n*4100Linia\r\n";
    ConversionSettings.KorzystajZSym = true;
    ConversionSettings.PlikSym = sym;
    Add("1000", {{1, 2}});
    Add("4100", {{1, 2}, {2, 3}});
    Add("4200", {{1, 2}, {2, 3}});
    Export();
    EXPECT_THAT(
        Files(),
        ElementsAre("4200_Brak_w_bibliotece_symboli.dbf", "4200_Brak_w_bibliotece_symboli.shp",
                    "4200_Brak_w_bibliotece_symboli.shx", "4200_Brak_w_bibliotece_symboli.tpi",
                    "Linia.dbf", "Linia.shp", "Linia.shx", "Linia.tpi", "Punkt_graniczny.dbf",
                    "Punkt_graniczny.shp", "Punkt_graniczny.shx", "Punkt_graniczny.tpi"));
}

}  // namespace
