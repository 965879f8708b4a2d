// A map of kinds 1 to 5 written as a MAP file, loaded with place 14, exported per code with
// place 12, and every layer converted back with places 1 and 11: what comes back, and what the
// two conversions do not carry.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "HostFixture.h"
#include "model/ListaObi.h"
#include "model/ListaPKT.h"
#include "model/MapFile.h"
#include "model/Obiekt.h"
#include "platform/SystemInfo.h"
#include "plugin/UBTA.h"
#include "plugin/UConfigConv.h"

namespace {

using testhost::TextArg;
namespace fs = std::filesystem;

// ---------------------------------------------------------------------------------------------
// The map: what a surveyor's MAP file holds, built with the model and written by its writer.

struct PointSpec {
    PointSpec(double x, double y, bool goesOn = true, std::string name = {}, float height = 0.0f)
        : x(x), y(y), goesOn(goesOn), name(std::move(name)), height(height) {}
    double x, y;       // northing, easting
    bool goesOn;       // "P 1": the line goes on after this vertex
    std::string name;  // written when not empty
    float height;      // written when not 0
};

struct Attributes {
    Attributes(std::string a1 = {}, std::string a2 = {}, std::string a3 = {}, std::string a4 = {},
               std::string a5 = {}, std::string a6 = {}, std::string text = {}, std::string kr = {},
               std::string id = {}, std::int32_t dt = 0, std::int32_t mp = 0, std::int32_t fa = -1)
        : a1(std::move(a1)),
          a2(std::move(a2)),
          a3(std::move(a3)),
          a4(std::move(a4)),
          a5(std::move(a5)),
          a6(std::move(a6)),
          text(std::move(text)),
          kr(std::move(kr)),
          id(std::move(id)),
          dt(dt),
          mp(mp),
          fa(fa) {}
    std::string a1, a2, a3, a4, a5, a6, text, kr, id;
    std::int32_t dt, mp, fa;  // fa -1: never set
};

struct ObjectSpec {
    ObjectSpec(std::string code, std::vector<PointSpec> points, Attributes attributes = {},
               float value = 0.0f, bool marked = false, bool vector = false)
        : code(std::move(code)),
          points(std::move(points)),
          attributes(std::move(attributes)),
          value(value),
          marked(marked),
          vector(vector) {}
    std::string code;
    std::vector<PointSpec> points;
    Attributes attributes;
    float value;
    bool marked;
    bool vector;
};

// Packed file date and time: year-1980 in bits 25-31, month 21-24, day 16-20, time below.
constexpr std::int32_t Packed(int year, int month, int day, int hour = 0, int minute = 0) {
    return ((year - 1980) << 25) | (month << 21) | (day << 16) | (hour << 11) | (minute << 5);
}

// Polish letters as the conversions expect them in a map's texts (Mazovia): ąćęłńóśźż, then
// the capitals.
const std::string kMazovia =
    "\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7\x8F\x95\x90\x9C\xA5\xA3\x98\xA1\xA0";
const std::string kLong85(85, 'x');
const std::string kText210 = std::string(200, 't') + "0123456789";

std::vector<ObjectSpec> SurveyMap() {
    std::vector<ObjectSpec> map;
    // 0: a line of three pieces: the line breaks after the 2nd and the 4th vertex.
    map.push_back({"4001",
                   {{5800100.001, 7400100.002},
                    {5800110.500, 7400105.250, false},
                    {5800120.125, 7400111.000},
                    {5800130.000, 7400120.000, false},
                    {5800140.000, 7400125.000},
                    {5800150.999, 7400130.001}},
                   {"L-A1", "", "", "", "", "", "droga", "", ""}});
    // 1: a surveyed point with everything the MAP file can hold.
    map.push_back({"1001",
                   {{5800001.234, 7400002.345, true, "PKT1", 101.25f}},
                   {"S" + kMazovia, "A2", "A3", "A4", "A5", "A6", "opis punktu", "KERG 123/2004",
                    "ID-77", Packed(2004, 7, 15, 10, 30), 1234, 56},
                   12.5f,
                   true,
                   true});
    // 2: a text object: no shapefile kind.
    map.push_back({"7001", {{5800500.0, 7400500.0}}, {"", "", "", "", "", "", "napis"}});
    // 3: an area with a hole: outer ring, inner ring, then the link back to the outer ring. The
    // rings of the areas here run as the shapefile format wants them (outer rings clockwise,
    // holes counter-clockwise in easting/northing), so they come back as they went.
    map.push_back({"5001",
                   {{5800200.0, 7400200.0},
                    {5800300.0, 7400200.0},
                    {5800300.0, 7400300.0},
                    {5800200.0, 7400300.0},
                    {5800200.0, 7400200.0, false},
                    {5800225.5, 7400225.5},
                    {5800225.5, 7400250.5},
                    {5800250.5, 7400250.5},
                    {5800225.5, 7400225.5, false},
                    {5800200.0, 7400200.0, false}},
                   {"dzialka 12/3", "", "", "", "", "", "", "", "", Packed(1999, 12, 31), 2, 7}});
    // 4: a point without any attribute.
    map.push_back({"1002", {{5800010.0, 7400020.0}}});
    // 5, 6: kinds 2 and 3, several vertices each.
    map.push_back(
        {"2001", {{5800600.0, 7400600.0}, {5800610.0, 7400610.0}, {5800620.0, 7400605.0}}, {"k2"}});
    map.push_back({"3001", {{5800700.0, 7400700.0}, {5800705.5, 7400701.5}}, {"k3"}});
    // 7: a second point of code 1001, of two vertices, with attributes wider than their fields
    // and a letter in Windows-1250 (ą).
    map.push_back({"1001",
                   {{5800003.0, 7400004.0}, {5800009.0, 7400009.0}},
                   {kLong85, kLong85, kLong85, "\xB9", "", "", kText210, kLong85}});
    // 8: a line whose second piece starts on the point where the first one breaks, ending on a
    // vertex after which the line does not go on.
    map.push_back({"4001",
                   {{5800400.0, 7400400.0},
                    {5800410.0, 7400410.0, false},
                    {5800410.0, 7400410.0},
                    {5800420.0, 7400405.0, false}}});
    // 9: a closed triangle whose vertices all say that the line goes on.
    map.push_back({"5001",
                   {{5800800.0, 7400800.0},
                    {5800900.0, 7400850.0},
                    {5800800.0, 7400900.0},
                    {5800800.0, 7400800.0}}});
    // 10: a line of one vertex (dropped before the export).
    map.push_back({"4002", {{5801000.0, 7401000.0}}});
    // 11: an area that does not close (exported as a line of code 4003).
    map.push_back(
        {"5003", {{5801100.0, 7401100.0}, {5801100.0, 7401200.0}, {5801200.0, 7401150.0}}});
    // 12: an area with two holes.
    map.push_back({"5002",
                   {{5801300.0, 7401300.0},
                    {5801400.0, 7401400.0},
                    {5801300.0, 7401400.0},
                    {5801300.0, 7401300.0, false},
                    {5801310.0, 7401310.0},
                    {5801310.0, 7401320.0},
                    {5801320.0, 7401320.0},
                    {5801310.0, 7401310.0, false},
                    {5801300.0, 7401300.0, false},
                    {5801330.0, 7401340.0},
                    {5801330.0, 7401350.0},
                    {5801340.0, 7401350.0},
                    {5801330.0, 7401340.0, false},
                    {5801300.0, 7401300.0, false}}});
    // 13: a line whose first vertex breaks and with a piece of one vertex; an attribute with
    // leading blanks, an MP wider than its field and the widest FA.
    map.push_back({"4004",
                   {{5801500.0, 7401500.0, false},
                    {5801510.0, 7401510.0},
                    {5801520.0, 7401520.0, false},
                    {5801530.0, 7401530.0, false},
                    {5801540.0, 7401540.0}},
                   {"  lead", "", "", "", "", "", "", "", "", 0, 12345, 1234567890}});
    // 14: negative coordinates and numbers.
    map.push_back({"1003", {{-12.345, -0.001}}, {"", "", "", "", "", "", "", "", "", 0, -5, -7}});
    // 15: a code of kind 1 that is not a number.
    map.push_back({"1A01", {{5801600.0, 7401600.0}}});
    // 16: an area that passes through its first vertex again half-way round.
    map.push_back({"5004",
                   {{5801700.0, 7401700.0},
                    {5801800.0, 7401700.0},
                    {5801800.0, 7401800.0},
                    {5801700.0, 7401700.0},
                    {5801600.0, 7401600.0},
                    {5801700.0, 7401600.0},
                    {5801700.0, 7401700.0}}});
    return map;
}

void WriteSurveyMap(const std::string& path, const std::vector<ObjectSpec>& specs) {
    TListaPKT points;
    TListaObi objects;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const ObjectSpec& s = specs[i];
        const Attributes& a = s.attributes;
        auto object = std::make_unique<TObiekt>(s.code, a.a1, a.a2, a.a3, a.a4, a.a5, a.a6, a.text,
                                                static_cast<std::int32_t>(i));
        object->SetAttribute(kAttrKR, a.kr);
        if (!a.id.empty()) object->SetAttribute(kAttrID, a.id);
        object->DT = a.dt;
        object->MP = a.mp;
        object->FA = a.fa;
        object->Value = s.value;
        if (s.marked) object->SetFlags(kObjectMarked);
        if (s.vector) object->SetVector(1, 1.5f, 2.5f, 0.25f);
        object->Vertices = std::make_unique<TListaNr>();
        for (const PointSpec& p : s.points) {
            std::uint8_t flags = kPointFromFile;
            if (p.goesOn) flags |= kPointLineGoesOn;
            if (!p.name.empty()) flags |= kPointHasName;
            if (p.height != 0.0f) flags |= kPointHasHeight;
            auto point = std::make_unique<TPunkt>(p.name, flags, p.x, p.y, p.height);
            TPunkt* raw = point.get();
            points.AddPoint(std::move(point));
            object->Vertices->Add(std::make_unique<TNumer>(raw));
        }
        object->ComputeExtent();
        objects.AddObject(std::move(object));
    }
    std::int32_t result = -1;
    WriteMapFile("Test", "1.00", 7, path, false, &points, &objects, result);
    ASSERT_EQ(result, 0);
}

// ---------------------------------------------------------------------------------------------
// What a MAP file read back with the model's reader holds.

struct Vertex {
    std::int64_t x, y;  // millimetres
    std::string name;
    float height;
    std::uint8_t flags;
    bool operator==(const Vertex&) const = default;
};

struct MapObject {
    std::string code;
    std::map<int, std::string> attributes;  // by attribute id
    float value;
    bool marked;
    bool hasVector;
    std::vector<Vertex> vertices;
};

std::int64_t Millimetres(double v) {
    return std::llround(v * 1000.0);
}

constexpr int kAttributeIds[] = {kAttrA1, kAttrA2, kAttrA3, kAttrA4, kAttrA5, kAttrA6,
                                 kAttrTX, kAttrKR, kAttrDT, kAttrMP, kAttrFA, kAttrID};

std::vector<MapObject> ReadMap(const std::string& path) {
    TListaPKT points;
    TListaObi objects;
    std::int32_t result = -1;
    ReadMapFile(path, false, points, objects, result);
    EXPECT_EQ(result, 0) << path;
    std::vector<MapObject> out;
    for (const TElement* e = objects.First(); e != nullptr; e = e->GetNext()) {
        const auto& o = *static_cast<const TObiekt*>(e);
        MapObject m{o.Code, {}, o.Value, (o.Flags & kObjectMarked) != 0, false, {}};
        for (int id : kAttributeIds) o.GetAttribute(id, m.attributes[id], 255);
        float a = 0, b = 0, c = 0;
        o.GetVector(1, a, b, c);
        m.hasVector = a != 0 || b != 0 || c != 0;
        if (o.Vertices) {
            for (const TElement* v = o.Vertices->First(); v != nullptr; v = v->GetNext()) {
                const TPunkt& p = *static_cast<const TNumer*>(v)->PointRef;
                m.vertices.push_back({Millimetres(p.X), Millimetres(p.Y), p.Name, p.H, p.Flags});
            }
        }
        out.push_back(std::move(m));
    }
    return out;
}

// The vertices of a spec as the reader gives them back: the flags of the P form.
Vertex Expected(const PointSpec& p, bool goesOn) {
    return {Millimetres(p.x), Millimetres(p.y), "", 0.0f,
            static_cast<std::uint8_t>(goesOn ? 12 : 4)};
}
std::vector<Vertex> Expected(const std::vector<PointSpec>& points) {
    std::vector<Vertex> out;
    for (const PointSpec& p : points) out.push_back(Expected(p, p.goesOn));
    return out;
}

// ---------------------------------------------------------------------------------------------
// The round trip through the loaded library.

// The eleven attribute slots of the pairing dialog, paired with the exported table's fields.
const std::vector<std::string> kSlotFields = {"A1", "A2", "A3",  "A4", "A5", "A6",
                                              "TX", "DT", "KEM", "MP", "FA"};

// The tests look into the library's dialogs through their classes' layout; the sanitizer's
// dynamic type check would need type information that stays inside the library.
__attribute__((no_sanitize("vptr"))) void SetConversionCodes(
    platform::Form& form, const std::string& point, const std::string& arc,
    const std::string& polygon, bool transfer, int kind2, int kind3, int letters) {
    auto& f = static_cast<TFConfConv&>(form);
    f.MaskEdit1.SetText(point);
    f.MaskEdit2.SetText(arc);
    f.MaskEdit3.SetText(polygon);
    f.CheckBox2.Checked = transfer;  // dBase fields into attributes
    f.RadioGroup1.Select(kind2);
    f.RadioGroup2.Select(kind3);
    f.RadioGroup5.Select(letters);  // Mazovia, Latin 2, Windows 1250, ISO 8859-2
    EXPECT_TRUE(f.Button1.Click());
}

__attribute__((no_sanitize("vptr"))) void PairEveryField(platform::Form& form) {
    auto& f = static_cast<TFBTA&>(form);
    for (std::size_t slot = 0; slot < kSlotFields.size(); ++slot) {
        const int field = f.ListBox1.IndexOf(kSlotFields[slot]);
        ASSERT_GE(field, 0) << kSlotFields[slot];
        ASSERT_TRUE(f.ListBox1.ClickItem(field));
        ASSERT_TRUE(f.ListBox2.ClickItem(static_cast<int>(slot)));
        ASSERT_TRUE(f.Button3.Click());
    }
    EXPECT_TRUE(f.Button1.Click());
}

// The reverse direction's batch configuration: every slot from the field of the same name, the
// code of each layer from its section.
constexpr const char* kBatch =
    "[DEFAULT]\r\n1=A1\r\n2=A2\r\n3=A3\r\n11=A4\r\n12=A5\r\n13=A6\r\n4=TX\r\n6=DT\r\n5=KEM\r\n"
    "7=MP\r\n8=FA\r\n"
    "[1001.shp]\r\nKOD=1001\r\n[1002.shp]\r\nKOD=1002\r\n[2001.shp]\r\nKOD=2001\r\n"
    "[3001.shp]\r\nKOD=3001\r\n[4001.shp]\r\nKOD=4001\r\n[5001.shp]\r\nKOD=5001\r\n"
    "[1003.shp]\r\nKOD=1003\r\n[4003.shp]\r\nKOD=4003\r\n[4004.shp]\r\nKOD=4004\r\n"
    "[5002.shp]\r\nKOD=5002\r\n[5004.shp]\r\nKOD=5004\r\n";

class RoundTripTest : public HostTest {
  protected:
    // The codes the settings give a layer's records on the way back: the layer's own code where
    // the settings' ranges allow it.
    struct Codes {
        std::string point = "1000", arc = "4100", polygon = "5100";
    };
    static Codes CodesFor(const std::string& layer) {
        Codes c;
        if (layer[0] == '1') c.point = layer;
        if (layer[0] == '4') c.arc = layer;
        if (layer[0] == '5') c.polygon = layer;
        return c;
    }

    // The settings dialog confirmed with these codes and options, and with `letters` as the
    // standard of Polish letters in the tables.
    void Configure(const Codes& codes, bool transfer, int kind2 = 0, int kind3 = 0) {
        testhost::ServerObject object = library->NewKWZObject();
        forms->QueueForm([=, this](platform::Form& form) {
            SetConversionCodes(form, codes.point, codes.arc, codes.polygon, transfer, kind2, kind3,
                               letters);
        });
        EXPECT_EQ(object.ConfigureConversion(), 0);
    }

    // plan.map written and exported per code into the folder plan; the layer names written.
    std::set<std::string> Export(int kind2 = 0, int kind3 = 0) {
        Configure({}, false, kind2, kind3);
        fs::remove_all(Path("plan"));
        WriteSurveyMap(Path("plan.map"), SurveyMap());
        testhost::ServerObject object = library->NewKWZObject();
        TextArg map(Path("plan.map"));
        EXPECT_TRUE(object.LoadMap(map));
        EXPECT_EQ(object.SetOutputFolder(), 0);
        EXPECT_TRUE(object.ExportMap());
        std::set<std::string> layers;
        for (const auto& entry : fs::directory_iterator(Path("plan"))) {
            if (entry.path().extension() == ".shp") layers.insert(entry.path().stem().string());
        }
        for (const std::string& layer : layers) {
            for (const char* ext : {".shx", ".dbf"})
                EXPECT_TRUE(fs::exists(Path("plan/" + layer + ext))) << layer << ext;
        }
        return layers;
    }

    // One layer converted back into back/<layer>.map with the settings' codes and every field
    // paired with its slot in the dialog.
    std::vector<MapObject> Back(const std::string& layer, const Codes& codes) {
        Configure(codes, true);
        fs::create_directories(Path("back"));
        testhost::ServerObject object = library->NewKWZObject();
        TextArg shp(Path("plan/" + layer + ".shp"));
        EXPECT_EQ(object.OpenFile(shp), 0);
        forms->QueueForm(PairEveryField);
        TextArg map(Path("back/" + layer + ".map"));
        EXPECT_TRUE(object.SaveAsMap(map, 0));
        return ReadMap(Path("back/" + layer + ".map"));
    }

    // One layer converted back under the batch configuration, as the converter's batch mode
    // does it: OpenFile, SetBatchConfig, SaveAsMap.
    std::vector<MapObject> BackInBatch(const std::string& layer, std::int32_t mode) {
        WriteFile(Path("wsad.ini"), kBatch);
        fs::create_directories(Path("batch"));
        testhost::ServerObject object = library->NewKWZObject();
        TextArg shp(Path("plan/" + layer + ".shp")), batch(Path("wsad.ini"));
        EXPECT_EQ(object.OpenFile(shp), 0);
        object.SetBatchConfig(batch, 0, 0, 0);
        TextArg map(Path("batch/" + layer + ".map"));
        EXPECT_TRUE(object.SaveAsMap(map, mode));
        return ReadMap(Path("batch/" + layer + ".map"));
    }

    // Every layer back with its own codes; the messages of the whole round trip.
    std::map<std::string, std::vector<MapObject>> RoundTrip(int kind2 = 0, int kind3 = 0) {
        std::map<std::string, std::vector<MapObject>> back;
        for (const std::string& layer : Export(kind2, kind3))
            back[layer] = Back(layer, CodesFor(layer));
        messages = Messages();
        return back;
    }

    std::vector<std::string> messages;
    int letters = 2;  // Windows 1250
};

// The one message of the export: MP 12345 does not fit its field of 4 digits.
const std::vector<std::string> kMpRefused = {"Błąd MP 12345"};

const std::set<std::string> kLayers = {"1001", "1002", "1003", "2001", "3001", "4001",
                                       "4003", "4004", "5001", "5002", "5004"};

std::map<int, std::string> Carried(const Attributes& a, std::int32_t dt) {
    return {{kAttrA1, a.a1},
            {kAttrA2, a.a2},
            {kAttrA3, a.a3},
            {kAttrA4, a.a4},
            {kAttrA5, a.a5},
            {kAttrA6, a.a6},
            {kAttrTX, a.text},
            {kAttrKR, a.kr},
            {kAttrDT, std::to_string(dt)},
            {kAttrMP, std::to_string(a.mp)},
            {kAttrFA, std::to_string(a.fa)},
            {kAttrID, ""}};
}

// ---------------------------------------------------------------------------------------------

// One layer per numeric code of kinds 1 to 5 that has objects after the preparation.
TEST_F(RoundTripTest, OneLayerPerExportedCode) {
    EXPECT_EQ(Export(), kLayers);
    EXPECT_EQ(Messages(), kMpRefused);
}

// Points, lines of several pieces and areas with holes come back under their own codes, in
// their order within the code, with their coordinates and the attributes the tables hold.
TEST_F(RoundTripTest, ObjectsCodesCoordinatesAndAttributesComeBack) {
    const auto map = SurveyMap();
    const auto back = RoundTrip();
    EXPECT_EQ(messages, kMpRefused);

    // Points: the first vertex.
    ASSERT_EQ(back.at("1001").size(), 2u);
    for (int i : {0, 1}) {
        const ObjectSpec& spec = map[i == 0 ? 1 : 7];
        const MapObject& o = back.at("1001")[i];
        EXPECT_EQ(o.code, "1001");
        ASSERT_EQ(o.vertices.size(), 1u);
        EXPECT_EQ(o.vertices[0].x, Millimetres(spec.points[0].x));
        EXPECT_EQ(o.vertices[0].y, Millimetres(spec.points[0].y));
    }
    ASSERT_EQ(back.at("1002").size(), 1u);
    EXPECT_EQ(back.at("1002")[0].code, "1002");
    EXPECT_EQ(back.at("1002")[0].vertices, Expected(map[4].points));
    ASSERT_EQ(back.at("1003").size(), 1u);
    EXPECT_EQ(back.at("1003")[0].vertices, Expected(map[14].points));

    // The line of three pieces: every vertex, the breaks where they were.
    ASSERT_EQ(back.at("4001").size(), 2u);
    EXPECT_EQ(back.at("4001")[0].code, "4001");
    EXPECT_EQ(back.at("4001")[0].vertices, Expected(map[0].points));

    // Areas: outer ring, each hole followed by the link back to the outer ring.
    ASSERT_EQ(back.at("5001").size(), 2u);
    EXPECT_EQ(back.at("5001")[0].code, "5001");
    EXPECT_EQ(back.at("5001")[0].vertices, Expected(map[3].points));
    ASSERT_EQ(back.at("5002").size(), 1u);
    EXPECT_EQ(back.at("5002")[0].code, "5002");
    EXPECT_EQ(back.at("5002")[0].vertices, Expected(map[12].points));

    // Attributes through the tables: A1 to A6, text, KR, MP, FA and the date.
    const MapObject& surveyed = back.at("1001")[0];
    EXPECT_EQ(surveyed.attributes, Carried(map[1].attributes, Packed(2004, 7, 15)));
    EXPECT_EQ(back.at("5001")[0].attributes, Carried(map[3].attributes, map[3].attributes.dt));
    EXPECT_EQ(back.at("4001")[0].attributes.at(kAttrA1), "L-A1");
    EXPECT_EQ(back.at("4001")[0].attributes.at(kAttrTX), "droga");
    EXPECT_EQ(back.at("1003")[0].attributes.at(kAttrMP), "-5");
    EXPECT_EQ(back.at("1003")[0].attributes.at(kAttrFA), "-7");
    EXPECT_EQ(back.at("4004")[0].attributes.at(kAttrFA), "1234567890");
    // An attribute never set comes back never set.
    EXPECT_EQ(back.at("1002")[0].attributes, Carried({}, 0));
    // Mazovia letters of the map stand in the table in Windows-1250 and come back as they were.
    EXPECT_EQ(surveyed.attributes.at(kAttrA1), "S" + kMazovia);
    EXPECT_NE(
        ReadFile(Path("plan/1001.dbf"))
            .find("S\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"),
        std::string::npos);
}

// What the two conversions do not carry back, each stated on its own.
TEST_F(RoundTripTest, WhatDoesNotComeBack) {
    const auto map = SurveyMap();
    const auto back = RoundTrip();
    const MapObject& surveyed = back.at("1001")[0];

    // Point names: a shapefile point has none.
    const bool namesLost = surveyed.vertices[0].name.empty();
    EXPECT_TRUE(namesLost);
    // Heights: the export writes two-dimensional shape types only.
    const bool heightsLost = surveyed.vertices[0].height == 0.0f;
    EXPECT_TRUE(heightsLost);
    // The object's value, its vectors and its mark: no shapefile or table field holds them.
    const bool valueLost = surveyed.value == 0.0f;
    const bool vectorsLost = !surveyed.hasVector;
    const bool marksLost = !surveyed.marked;
    EXPECT_TRUE(valueLost);
    EXPECT_TRUE(vectorsLost);
    EXPECT_TRUE(marksLost);
    // The identifier ID: the table has no field for it.
    const bool idLost = surveyed.attributes.at(kAttrID).empty();
    EXPECT_TRUE(idLost);
    // DT keeps the day only: the table's date field has no time of day.
    const std::string dateWithoutTime = std::to_string(Packed(2004, 7, 15));
    EXPECT_EQ(surveyed.attributes.at(kAttrDT), dateWithoutTime);
    // TPID, the object's number in the map, is not paired with any attribute here.

    // Attributes wider than their fields come back cut: A1, A2 to 25, A3 to A6 to 30, the text
    // to 200; KR (KEM, 100) holds all 85.
    const MapObject& wide = back.at("1001")[1];
    EXPECT_EQ(wide.attributes.at(kAttrA1), kLong85.substr(0, 25));
    EXPECT_EQ(wide.attributes.at(kAttrA2), kLong85.substr(0, 25));
    EXPECT_EQ(wide.attributes.at(kAttrA3), kLong85.substr(0, 30));
    EXPECT_EQ(wide.attributes.at(kAttrTX), kText210.substr(0, 200));
    EXPECT_EQ(wide.attributes.at(kAttrKR), kLong85);
    // An MP wider than its 4 digits is refused with a message and comes back 0.
    EXPECT_EQ(messages, kMpRefused);
    const MapObject& pieces = back.at("4004")[0];
    EXPECT_EQ(pieces.attributes.at(kAttrMP), "0");
    // Leading blanks are trimmed away (trailing ones the table cannot tell from its filling).
    EXPECT_EQ(pieces.attributes.at(kAttrA1), "lead");
    // The map's texts are taken as Mazovia both ways, so a Windows-1250 ą comes back as the
    // Mazovia ą.
    const std::string windows1250LetterBecomesMazovia = "\x86";
    EXPECT_EQ(wide.attributes.at(kAttrA4), windows1250LetterBecomesMazovia);
    // A point object of several vertices: only its first vertex is exported.
    ASSERT_EQ(wide.vertices.size(), 1u);
    EXPECT_EQ(wide.vertices[0], Expected(map[7].points[0], true));

    // Kinds 2 and 3 as points (2XXX and 3XXX 0): their first vertex, under the point code,
    // which the settings keep within 1000 to 1999.
    for (const char* layer : {"2001", "3001"}) {
        ASSERT_EQ(back.at(layer).size(), 1u) << layer;
        EXPECT_EQ(back.at(layer)[0].code, "1000") << layer;
        EXPECT_EQ(back.at(layer)[0].vertices, Expected({map[layer[0] == '2' ? 5 : 6].points[0]}))
            << layer;
    }
    EXPECT_EQ(back.at("2001")[0].attributes.at(kAttrA1), "k2");

    // A line's last vertex always comes back as going on, and so does its first vertex: the
    // export does not look at the first vertex's break. A break whose next piece starts on the
    // break point comes back joined, that point once. A piece of one vertex keeps its breaks.
    const MapObject& joined = back.at("4001")[1];
    const auto& line = map[8].points;
    EXPECT_EQ(joined.vertices,
              (std::vector<Vertex>{Expected(line[0], true), Expected(line[1], true),
                                   Expected(line[3], true)}));
    const auto& parts = map[13].points;
    EXPECT_EQ(pieces.vertices,
              (std::vector<Vertex>{Expected(parts[0], true), Expected(parts[1], true),
                                   Expected(parts[2], false), Expected(parts[3], false),
                                   Expected(parts[4], true)}));

    // An area's vertex flags are rebuilt: a ring's closing vertex and the link back to the
    // outer ring break the line, every other vertex goes on.
    const MapObject& triangle = back.at("5001")[1];
    const auto& ring = map[9].points;
    EXPECT_EQ(triangle.vertices,
              (std::vector<Vertex>{Expected(ring[0], true), Expected(ring[1], true),
                                   Expected(ring[2], true), Expected(ring[3], false)}));

    // Lines and areas of one vertex are dropped before the export (4002); an area that does not
    // close is exported as a line under its code with 4 as the first digit (5003 as 4003).
    EXPECT_EQ(back.count("4002"), 0u);
    EXPECT_EQ(back.count("5003"), 0u);
    ASSERT_EQ(back.at("4003").size(), 1u);
    EXPECT_EQ(back.at("4003")[0].code, "4003");
    EXPECT_EQ(back.at("4003")[0].vertices, Expected(map[11].points));

    // An area that passes through its first vertex again is cut there into two rings: its second
    // half comes back closed on its own start and linked back to the first vertex.
    const auto& eight = map[16].points;
    ASSERT_EQ(back.at("5004").size(), 1u);
    EXPECT_EQ(back.at("5004")[0].vertices,
              (std::vector<Vertex>{
                  Expected(eight[0], true), Expected(eight[1], true), Expected(eight[2], true),
                  Expected(eight[3], false), Expected(eight[4], true), Expected(eight[5], true),
                  Expected(eight[6], true), Expected(eight[4], false), Expected(eight[0], false)}));

    // Object order across codes: every code comes back in a MAP of its own. Codes of no
    // shapefile kind (7001) and codes of kind 1 to 5 that are no number (1A01) in none.
    EXPECT_EQ(back.size(), kLayers.size());
    EXPECT_EQ(back.count("7001"), 0u);
    EXPECT_EQ(back.count("1A01"), 0u);
}

// Kinds 2 and 3 exported as lines (2XXX and 3XXX 1): all their vertices come back, under the
// line code, which the settings keep within 4000 to 4999.
TEST_F(RoundTripTest, KindsTwoAndThreeAsLines) {
    const auto map = SurveyMap();
    const auto back = RoundTrip(1, 1);
    for (int i : {5, 6}) {
        const std::string layer = map[i].code;
        ASSERT_EQ(back.at(layer).size(), 1u) << layer;
        EXPECT_EQ(back.at(layer)[0].code, "4100") << layer;
        EXPECT_EQ(back.at(layer)[0].vertices, Expected(map[i].points)) << layer;
        EXPECT_EQ(back.at(layer)[0].attributes.at(kAttrA1), map[i].attributes.a1);
    }
}

// Under a batch configuration that names each layer's code and pairs every slot, every code
// comes back, kinds 2 and 3 included, with the same attributes as through the dialog.
TEST_F(RoundTripTest, BatchConfigurationGivesEveryCodeBack) {
    const auto map = SurveyMap();
    const auto layers = Export();
    std::map<std::string, std::vector<MapObject>> back;
    for (const std::string& layer : layers) back[layer] = BackInBatch(layer, 1);
    EXPECT_EQ(Messages(), kMpRefused);
    // No pairing dialog in batch mode: the one form shown is the export's settings dialog.
    EXPECT_EQ(forms->Forms().size(), 1u);

    for (const std::string& layer : layers) {
        for (const MapObject& o : back.at(layer)) EXPECT_EQ(o.code, layer);
    }
    EXPECT_EQ(back.at("1001")[0].attributes, Carried(map[1].attributes, Packed(2004, 7, 15)));
    EXPECT_EQ(back.at("4001")[0].vertices, Expected(map[0].points));
    EXPECT_EQ(back.at("5001")[0].vertices, Expected(map[3].points));
    EXPECT_EQ(back.at("5002")[0].vertices, Expected(map[12].points));
    EXPECT_EQ(back.at("5001")[0].attributes, Carried(map[3].attributes, map[3].attributes.dt));
    EXPECT_EQ(back.at("2001")[0].attributes.at(kAttrA1), "k2");
}

// The batch configuration acts only where the table is transferred: in mode 0 with the setting
// that transfers dBase fields off, the converter's batch mode takes the codes from the settings
// and no attribute comes back.
TEST_F(RoundTripTest, BatchConfigurationNeedsTheTransfer) {
    Export();
    const auto back = BackInBatch("2001", 0);
    ASSERT_EQ(back.size(), 1u);
    const std::string codeFromTheSettings = "1000";
    EXPECT_EQ(back[0].code, codeFromTheSettings);
    EXPECT_TRUE(back[0].attributes.at(kAttrA1).empty());
}

// The letters travel under every standard of Polish letters in the tables.
TEST_F(RoundTripTest, PolishLettersTravelUnderEveryStandard) {
    for (int standard : {0, 1, 2, 3}) {
        letters = standard;
        Export();
        const auto back = Back("1001", CodesFor("1001"));
        ASSERT_FALSE(back.empty());
        EXPECT_EQ(back[0].attributes.at(kAttrA1), "S" + kMazovia) << "standard " << standard;
    }
}

// The date field comes back as DT whatever the user's short date format, through which the
// table's dates are read.
TEST_F(RoundTripTest, DatesTravelUnderTheShortDateFormat) {
    struct RestoreFormat {
        std::string format = platform::ShortDateFormat();
        ~RestoreFormat() { platform::SetShortDateFormat(format); }
    } restore;
    Export();
    for (const char* format : {"yyyy-MM-dd", "d.M.yy", "M/d/yyyy"}) {
        platform::SetShortDateFormat(format);
        const auto back = Back("1001", CodesFor("1001"));
        ASSERT_FALSE(back.empty());
        EXPECT_EQ(back[0].attributes.at(kAttrDT), std::to_string(Packed(2004, 7, 15))) << format;
    }
}

}  // namespace
