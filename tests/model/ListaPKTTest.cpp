#include "model/ListaPKT.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

TPunkt* AddPoint(TListaPKT& list, double x, double y, float h) {
    auto p = std::make_unique<TPunkt>("P", 4, x, y, h);
    TPunkt* raw = p.get();
    list.AddPoint(std::move(p));
    return raw;
}

}  // namespace

TEST(Punkt, NameIsCutToTenCharacters) {
    EXPECT_EQ(TPunkt("ABCDEFGHIJKL", 0, 0, 0, 0).Name, "ABCDEFGHIJ");
    EXPECT_EQ(TPunkt("ABCDEFGHIJ", 0, 0, 0, 0).Name, "ABCDEFGHIJ");
    EXPECT_EQ(TPunkt("", 0, 0, 0, 0).Name, "");
}

TEST(Punkt, FlagsMoveSwapAndRotate) {
    TPunkt p("A", 7, 10, 20, 1.5f);
    p.SetFlags(8);
    EXPECT_EQ(p.Flags, 15);
    p.ClearFlags(8);
    EXPECT_EQ(p.Flags, 7);
    p.Move(1, -2);
    double x = 0, y = 0;
    p.GetXY(x, y);
    EXPECT_DOUBLE_EQ(x, 11);
    EXPECT_DOUBLE_EQ(y, 18);
    p.SwapXY();
    EXPECT_DOUBLE_EQ(p.X, 18);
    EXPECT_DOUBLE_EQ(p.Y, 11);
    p.SetXY(5, 6);
    EXPECT_FLOAT_EQ(p.H, 1.5f);

    TPunkt r("R", 0, 101, 50, 0);
    r.Rotate(100, 50, std::numbers::pi / 2);
    EXPECT_NEAR(r.X, 100, 1e-12);
    EXPECT_NEAR(r.Y, 51, 1e-12);
    TPunkt c("C", 0, 100, 50, 0);
    c.Rotate(100, 50, 1.0);
    EXPECT_DOUBLE_EQ(c.X, 100);
    EXPECT_DOUBLE_EQ(c.Y, 50);
}

TEST(ListaPKT, BoxesPadOnlyAroundTheFirstPoint) {
    TListaPKT list;
    EXPECT_EQ(list.MaxX, 0.0);
    EXPECT_EQ(list.PadMinH, 0.0);
    AddPoint(list, 100, 200, 5);
    EXPECT_EQ(list.MinX, 100);
    EXPECT_EQ(list.MaxX, 100);
    EXPECT_EQ(list.MinY, 200);
    EXPECT_EQ(list.MaxY, 200);
    EXPECT_EQ(list.PadMinX, 99);
    EXPECT_EQ(list.PadMaxX, 101);
    EXPECT_EQ(list.PadMinY, 199);
    EXPECT_EQ(list.PadMaxY, 201);
    EXPECT_EQ(list.PadMinH, 4);
    EXPECT_EQ(list.PadMaxH, 6);
    TPunkt* second = AddPoint(list, 103, 198, 5);
    EXPECT_EQ(list.CurrentItem(), second);
    EXPECT_EQ(list.MaxX, 103);
    EXPECT_EQ(list.MinY, 198);
    EXPECT_EQ(list.PadMinX, 99);
    EXPECT_EQ(list.PadMaxX, 103);
    EXPECT_EQ(list.PadMinY, 198);
    EXPECT_EQ(list.PadMaxY, 201);
    EXPECT_EQ(list.PadMinH, 4);
    EXPECT_EQ(list.PadMaxH, 6);
}

TEST(ListaPKT, AddPointAppendsAtTheTailAndDeleteKeepsTheBoxes) {
    TListaPKT list;
    EXPECT_FALSE(list.DeletePoint());
    TPunkt* a = AddPoint(list, 1, 2, 0);
    list.GoFirst();
    TPunkt* b = AddPoint(list, 3, 4, 0);
    EXPECT_EQ(list.Last(), b);
    EXPECT_EQ(a->GetNext(), b);
    list.GoFirst();
    EXPECT_TRUE(list.DeletePoint());
    EXPECT_TRUE(list.DeletePoint());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.MaxX, 3);
    // An emptied list restarts both boxes at the next point.
    AddPoint(list, -5, -6, 0);
    EXPECT_EQ(list.MaxX, -5);
    EXPECT_EQ(list.PadMaxX, -4);
}
