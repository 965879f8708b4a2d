// Places 0, 3, 7 and 8: the display dialog, drawing, snapping and identification through the
// loaded library, in the host's axes (northing first).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "HostFixture.h"
#include "platform/DeviceContext.h"
#include "shape/UConfig.h"
#include "shape/UObjPar.h"

namespace {

using testhost::TextArg;

// A dBase III table of one character field of ten, one row per value.
std::string DbfOfNames(const std::vector<std::string>& names) {
    constexpr int kLength = 10;
    std::string dbf(32, '\0');
    dbf[0] = 0x03;
    dbf[1] = 124, dbf[2] = 1, dbf[3] = 1;
    const auto put16 = [&](std::size_t at, int v) {
        dbf[at] = static_cast<char>(v & 0xFF), dbf[at + 1] = static_cast<char>(v >> 8);
    };
    dbf[4] = static_cast<char>(names.size());
    put16(8, 32 + 32 + 1);
    put16(10, 1 + kLength);
    std::string field(32, '\0');
    field.replace(0, 5, "NAZWA");
    field[11] = 'C';
    field[16] = kLength;
    dbf += field;
    dbf += '\x0D';
    for (const std::string& name : names) {
        std::string value = name;
        value.resize(kLength, ' ');
        dbf += ' ' + value;
    }
    dbf += '\x1A';
    return dbf;
}

// The recording device context the host would hand in, freed at the end.
class RecordingDc {
  public:
    RecordingDc() : dc_(platform::CreateRecordingDC()) {}
    ~RecordingDc() { platform::DeleteDC(dc_); }
    RecordingDc(const RecordingDc&) = delete;
    RecordingDc& operator=(const RecordingDc&) = delete;
    platform::HDC get() const { return dc_; }
    std::vector<platform::DcCall> Calls(platform::DcOp op) const {
        std::vector<platform::DcCall> calls;
        for (const auto& c : platform::RecordingOf(dc_)->Calls())
            if (c.op == op) calls.push_back(c);
        return calls;
    }
    void Clear() const { platform::RecordingOf(dc_)->Clear(); }

  private:
    platform::HDC dc_;
};

class ServerDisplayTest : public HostTest {
  protected:
    // Shapefile X is the easting, Y the northing.
    testhost::ServerObject OpenPoles() {
        WritePointShapefile(Path("slupy.shp"),
                            {{7500010, 5000020}, {7500003, 5000004}, {7500090, 5000050}});
        WriteFile(Path("slupy.dbf"), DbfOfNames({"pierwszy", "drugi", "trzeci"}));
        testhost::ServerObject object = library->NewKWZObject();
        TextArg name(Path("slupy.shp"));
        EXPECT_EQ(object.OpenFile(name), 0);
        return object;
    }
};

// The world window is lowest northing, lowest easting, highest northing, highest easting; the
// easting goes right and the northing up.
TEST_F(ServerDisplayTest, DrawMapsTheHostsWindowOntoTheScreen) {
    testhost::ServerObject object = OpenPoles();
    RecordingDc dc;
    EXPECT_EQ(object.Draw(dc.get(), 5000000, 7500000, 5000100, 7500100, 0, 0, 100, 100, 7, 99), 0);
    const auto texts = dc.Calls(platform::DcOp::TextOut);
    ASSERT_EQ(texts.size(), 3u);
    // Text is anchored at the middle of its bottom edge, half its height below the point.
    const int half = texts[0].points[0].y - 80;
    EXPECT_EQ(texts[0].points[0].x, 10);
    EXPECT_EQ(texts[1].points[0].x, 3);
    EXPECT_EQ(texts[1].points[0].y, 96 + half);
    EXPECT_EQ(texts[2].points[0].x, 90);
    EXPECT_EQ(texts[2].points[0].y, 50 + half);
    EXPECT_TRUE(Messages().empty());

    // A new object draws nothing and says it drew.
    testhost::ServerObject empty = library->NewKWZObject();
    dc.Clear();
    EXPECT_EQ(empty.Draw(dc.get(), 0, 0, 100, 100, 0, 0, 640, 480, 1, 0), 0);
    EXPECT_TRUE(dc.Calls(platform::DcOp::TextOut).empty());
}

TEST_F(ServerDisplayTest, FindNearestPointAnswersInTheHostsAxes) {
    testhost::ServerObject object = OpenPoles();
    double n = -1, e = -1;
    ASSERT_TRUE(object.FindNearestPoint(5000000, 7500000, 10, &n, &e));
    EXPECT_EQ(n, 5000004);
    EXPECT_EQ(e, 7500003);
    // Nothing within the tolerance: the outputs stay as they were.
    n = e = -1;
    EXPECT_FALSE(object.FindNearestPoint(7500000, 5000000, 10, &n, &e));
    EXPECT_FALSE(object.FindNearestPoint(5000000, 7500000, 1, &n, &e));
    EXPECT_EQ(n, -1);
    EXPECT_EQ(e, -1);
    // Repeated at one position the search moves on through the vertices in reach.
    std::vector<double> eastings;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(object.FindNearestPoint(5000010, 7500010, 20, &n, &e));
        eastings.push_back(e);
    }
    EXPECT_NE(eastings[0], eastings[1]);
    EXPECT_EQ(eastings[0], eastings[2]);
}

__attribute__((no_sanitize("vptr"))) std::vector<std::string> ReadInfoAndClose(
    platform::Form& form) {
    auto& f = static_cast<TFObjPar&>(form);
    std::vector<std::string> lines;
    for (const auto& item : f.ListBox1.Items()) lines.push_back(platform::Cp1250ToUtf8(item));
    EXPECT_TRUE(f.Button1.Click());
    return lines;
}

TEST_F(ServerDisplayTest, IdentifyShowsTheObjectOnlyWhenAskedAndFound) {
    testhost::ServerObject object = OpenPoles();
    EXPECT_FALSE(object.Identify(5000200, 7500200, 1, 1));
    EXPECT_TRUE(object.Identify(5000050, 7500090, 1, 0));
    EXPECT_TRUE(forms->Forms().empty());

    std::vector<std::string> lines;
    forms->QueueForm([&](platform::Form& form) { lines = ReadInfoAndClose(form); });
    EXPECT_TRUE(object.Identify(5000004.5, 7500003.5, 1, 1));
    ASSERT_EQ(forms->Forms().size(), 1u);
    EXPECT_EQ(lines, (std::vector<std::string>{"Numer obiektu 2", "Typ: Punkt", "NAZWA = drugi"}));

    // Without its table the object is still found; the table's error is a message.
    std::filesystem::remove(Path("slupy.dbf"));
    EXPECT_TRUE(object.Identify(5000004.5, 7500003.5, 1, 1));
    EXPECT_EQ(forms->Forms().size(), 1u);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_FALSE(library->NewKWZObject().Identify(0, 0, 100, 1));
}

__attribute__((no_sanitize("vptr"))) void MarkVertices(platform::Form& form,
                                                       std::uint32_t& shownWith) {
    auto& f = static_cast<TFConfig&>(form);
    shownWith = f.ParentWindow;
    EXPECT_TRUE(f.CheckBox1.Click());
    EXPECT_TRUE(f.Button1.Click());
}

// The dialog's choices are what the next drawing uses: here the vertex marks.
TEST_F(ServerDisplayTest, ConfigureDisplayChangesTheNextDrawing) {
    testhost::ServerObject object = OpenPoles();
    std::uint32_t parent = 0;
    forms->QueueForm([&](platform::Form& form) { MarkVertices(form, parent); });
    EXPECT_EQ(object.ConfigureDisplay(4242), 0);
    ASSERT_EQ(forms->Forms().size(), 1u);
    EXPECT_EQ(forms->Forms()[0].result, platform::mrOk);
    EXPECT_EQ(parent, 4242u);

    RecordingDc dc;
    EXPECT_EQ(object.Draw(dc.get(), 5000000, 7500000, 5000100, 7500100, 0, 0, 100, 100, 0, 0), 0);
    const auto marks = dc.Calls(platform::DcOp::Ellipse);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].rect, (platform::DcRect{7, 77, 13, 83}));

    // Closed unchanged: nothing is asked of a new object's empty shape.
    EXPECT_EQ(library->NewKWZObject().ConfigureDisplay(0), 0);
    EXPECT_EQ(forms->Forms().size(), 1u);
}

}  // namespace
