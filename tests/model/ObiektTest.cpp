#include "model/Obiekt.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "model/ListaObi.h"
#include "platform/DecimalSeparator.h"

namespace {

std::unique_ptr<TObiekt> MakeObject(std::string_view code) {
    return std::make_unique<TObiekt>(code, "", "", "", "", "", "", "", 0);
}

std::string Attr(const TObiekt& o, std::int32_t id, std::int32_t maxLen = 255) {
    std::string value = "stale";
    o.GetAttribute(id, value, maxLen);
    return value;
}

// Points owned by the test, referred to by the object's vertices.
struct Geometry {
    std::vector<std::unique_ptr<TPunkt>> points;
    void Add(TObiekt& o, double x, double y, std::uint8_t flags = 12) {
        points.push_back(std::make_unique<TPunkt>("", flags, x, y, 0.0f));
        o.Vertices->Add(std::make_unique<TNumer>(points.back().get()));
    }
};

}  // namespace

TEST(Obiekt, CreationDefaults) {
    TObiekt o("410123", "a1", "", "", "", "a5", "", "tekst", 17);
    EXPECT_EQ(o.Code, "4101");
    EXPECT_EQ(o.Flags, 3);
    EXPECT_EQ(o.FA, -1);
    EXPECT_EQ(o.LineNo, 17);
    EXPECT_EQ(Attr(o, kAttrA1), "a1");
    EXPECT_EQ(Attr(o, kAttrA5), "a5");
    EXPECT_EQ(Attr(o, kAttrTX), "tekst");
    EXPECT_EQ(Attr(o, kAttrFA), "-1");
    EXPECT_EQ(o.Vertices->Count(), 0);
}

TEST(Obiekt, KeyedAttributesConvertStrictlyAndKeepOldValues) {
    auto o = MakeObject("4101");
    o->SetAttribute(kAttrDT, "12");
    EXPECT_EQ(o->DT, 12);
    o->SetAttribute(kAttrDT, "1,5");
    o->SetAttribute(kAttrDT, "");
    EXPECT_EQ(o->DT, 12);
    o->SetAttribute(kAttrMP, " -7");
    EXPECT_EQ(Attr(*o, kAttrMP), "-7");
    o->SetAttribute(kAttrKR, std::string(100, 'k'));
    EXPECT_EQ(o->KR.size(), 85u);
    EXPECT_EQ(Attr(*o, kAttrKR, 3), "kkk");
}

TEST(Obiekt, TextAndSlotsAreSeparate) {
    TObiekt o("6000", "", "", "", "", "", "", "napis", 0);
    EXPECT_EQ(o.Attributes, nullptr);
    EXPECT_EQ(Attr(o, kAttrTX), "napis");
    EXPECT_EQ(Attr(o, kAttrA1), "");
    o.SetAttribute(kAttrID, "K-17");
    EXPECT_EQ(Attr(o, kAttrID), "K-17");
    o.SetAttribute(9, "x");
    o.SetAttribute(10, "x");
    EXPECT_EQ(Attr(o, 99), "");
    o.SetAttribute(kAttrA1, std::string(100, 'a'));
    EXPECT_EQ(Attr(o, kAttrA1), std::string(85, 'a'));
    o.SetText("");
    EXPECT_EQ(Attr(o, kAttrTX), "");
}

// The seven attribute slots share one block: setting, growing and shrinking one leaves the
// others as they were, and the code and texts read and compare like strings.
TEST(Obiekt, AttributeSlotsCodeAndTextsKeepTheirValues) {
    auto o = MakeObject("4101");
    const std::int32_t ids[] = {kAttrA1, kAttrA2, kAttrA3, kAttrA4, kAttrA5, kAttrA6, kAttrID};
    std::map<std::int32_t, std::string> expected;
    for (int round = 0; round < 3; ++round) {
        for (std::int32_t id : ids) {
            std::string value(static_cast<std::size_t>((id * 7 + round * 31) % 90), 'a' + round);
            if (id == kAttrA3 && round == 1) value = std::string("nul\0byte", 8);
            o->SetAttribute(id, value);
            expected[id] = value.substr(0, 85);
            for (std::int32_t other : ids) EXPECT_EQ(Attr(*o, other), expected[other]) << id;
        }
    }
    o->SetAttribute(kAttrA1, o->Attributes.Get(2));  // a text from the block itself
    EXPECT_EQ(Attr(*o, kAttrA1), expected[kAttrA3]);
    o->Code[0] = '5';
    EXPECT_EQ(o->Code, "5101");
    EXPECT_EQ("*" + o->Code + "#", "*5101#");
    o->Code = "123456";
    EXPECT_EQ(o->Code.size(), 4u);
    o->Text = std::string("a\0b", 3);
    EXPECT_EQ(o->Text.size(), 3u);
    EXPECT_EQ(o->Text.c_str()[3], '\0');
    o->KR = o->Text;
    EXPECT_EQ(std::string(o->KR), std::string("a\0b", 3));
    o->Text.clear();
    EXPECT_TRUE(o->Text.empty());
}

TEST(Obiekt, Vectors) {
    auto o = MakeObject("1000");
    o->SetVector(2, 1.0f, 2.0f, 3.0f);
    float a, b, c;
    o->GetVector(2, a, b, c);
    EXPECT_EQ(c, 3.0f);
    o->SetVector(2, 0, 0, 0);
    EXPECT_EQ(o->Vectors[1], nullptr);
    o->SetVector(0, 1, 1, 1);
    o->SetVector(4, 1, 1, 1);
    o->GetVector(4, a, b, c);
    EXPECT_EQ(a + b + c, 0.0f);
}

TEST(Obiekt, ExtentAndVertexAccess) {
    auto o = MakeObject("4101");
    o->ComputeExtent();
    EXPECT_EQ(o->MaxX, 0.0f);
    Geometry g;
    g.Add(*o, 10, 20);
    g.Add(*o, 5, 30);
    g.points[1]->H = 2.5f;
    o->ComputeExtent();
    EXPECT_EQ(o->MinX, 5.0f);
    EXPECT_EQ(o->MaxX, 10.0f);
    EXPECT_EQ(o->MinY, 20.0f);
    EXPECT_EQ(o->MaxY, 30.0f);
    EXPECT_EQ(o->MaxH, 2.5f);
    std::string name;
    double x, y;
    float h;
    std::uint8_t flags;
    o->Vertices->GoFirst();
    EXPECT_TRUE(o->Vertices->GetCurrentVertex(name, x, y, h, flags));
    EXPECT_EQ(x, 10);
    EXPECT_TRUE(o->Vertices->DeleteVertex());
    EXPECT_EQ(o->Vertices->Count(), 1);
    EXPECT_EQ(g.points[0]->X, 10);  // the point outlives its vertex
}

TEST(Obiekt, LineCoordTextSplitsPartsAfterOpenVertices) {
    platform::DecimalSeparatorGuard comma(',');
    auto o = MakeObject("4101");
    Geometry g;
    const std::uint8_t flags[] = {12, 12, 4, 12, 4};
    for (int i = 0; i < 5; ++i) g.Add(*o, i + 0.5, -i, flags[i]);
    std::string starts, coords;
    std::int32_t count = 0;
    EXPECT_EQ(o->BuildLineCoordText(starts, coords, count), 2);
    EXPECT_EQ(starts, "0,3,");
    EXPECT_EQ(count, 5);
    EXPECT_EQ(coords, "0.5,0;1.5,-1;2.5,-2;3.5,-3;4.5,-4;");
    EXPECT_EQ(platform::GetDecimalSeparator(), '.');  // left at a full stop

    auto empty = MakeObject("4101");
    EXPECT_EQ(empty->BuildLineCoordText(starts, coords, count), 0);
    EXPECT_EQ(starts, "");
    EXPECT_EQ(count, 0);
}

TEST(Obiekt, AreaCoordTextSkipsTheLinkAfterInnerRings) {
    auto o = MakeObject("5000");
    Geometry g;
    auto ring = [&](double base) {
        g.Add(*o, base, 0);
        g.Add(*o, base + 1, 0);
        g.Add(*o, base + 1, 1);
        g.Add(*o, base, 0);
    };
    ring(0);
    ring(10);
    g.Add(*o, 0, 0);  // link back to the first ring
    ring(20);
    std::string starts, coords;
    std::int32_t count = 0;
    EXPECT_EQ(o->BuildAreaCoordText(starts, coords, count), 3);
    EXPECT_EQ(starts, "0,4,8,");
    EXPECT_EQ(count, 12);
    EXPECT_NE(coords.find("10,0;20,0;"), std::string::npos);

    auto open = MakeObject("5000");
    Geometry g2;
    g2.Add(*open, 0, 0);
    g2.Add(*open, 1, 0);
    g2.Add(*open, 1, 1 + 1e-8);
    EXPECT_EQ(open->BuildAreaCoordText(starts, coords, count), 1);
    EXPECT_EQ(starts, "0,");
    EXPECT_EQ(count, 3);
}

TEST(ListaObi, AddDeleteAndMarkByCode) {
    TListaObi list;
    EXPECT_EQ(list.MarkByCode("4101"), 0);
    EXPECT_FALSE(list.DeleteObject());
    for (auto code : {"4101", "410", "4102", "4101"}) list.AddObject(MakeObject(code));
    EXPECT_EQ(list.Added, 1);
    EXPECT_EQ(list.Modified, 1);
    EXPECT_EQ(list.LastAdded, list.Last());
    EXPECT_EQ(list.MarkByCode("41012"), 2);
    EXPECT_EQ(list.CurrentItem(), list.Last());
    list.GoFirst();
    int marked = 0;
    do marked += (list.CurrentObject()->Flags & kObjectMarked) ? 1 : 0;
    while (list.Next());
    EXPECT_EQ(marked, 2);
    list.ClearFlagsAll(kObjectMarked);
    EXPECT_EQ(list.CurrentObject()->Flags, 3);
    list.Modified = 0;
    EXPECT_TRUE(list.DeleteObject());
    EXPECT_EQ(list.Modified, 1);
    EXPECT_EQ(list.LastAdded, nullptr);  // the deleted object was the last added
    EXPECT_EQ(list.Count(), 3);
}
