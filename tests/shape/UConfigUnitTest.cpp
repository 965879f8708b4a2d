// The units dialog, driven as a user would.
#include "shape/UConfigUnit.h"

#include <gtest/gtest.h>

#include "ShapeTransformSupport.h"
#include "platform/Cp1250.h"
#include "platform/FormBackend.h"
#include "shape/ShapeTransform.h"
#include "transform/TransformDispatcher.h"

using namespace shapetransformtest;

namespace {

std::string Cp(std::string_view utf8) {
    return platform::Utf8ToCp1250(utf8);
}

class UnitsDialogTest : public ShapeTransformTest {
  protected:
    void SetUp() override {
        ShapeTransformTest::SetUp();
        ui = platform::FormService::Headless();
        ASSERT_NE(ui, nullptr);
        ui->Reset();
        ui->SetEcho(false);
    }
    void TearDown() override {
        EXPECT_EQ(ui->PendingScripts(), 0u);
        EXPECT_TRUE(ui->Mismatches().empty());
        ui->Reset();
    }
    void Queue(std::function<void(TFConfigUnit&)> script) {
        ui->QueueForm<TFConfigUnit>(std::move(script));
    }

    platform::HeadlessForms* ui = nullptr;
};

}  // namespace

TEST_F(UnitsDialogTest, FormOffersTheUnitsInTheirOrder) {
    auto form = platform::CreateForm<TFConfigUnit>();
    EXPECT_EQ(form->Caption, "Jednostki");
    EXPECT_EQ(form->RadioGroup1.Caption, Cp("Współrzędne płaskie"));
    EXPECT_EQ(form->RadioGroup1.Items(),
              (std::vector<std::string>{"metry", "kilometry", "stopa (0.3048)",
                                        Cp("mile lądowa (1609.344)"), "mile morska (1852)"}));
    EXPECT_EQ(form->RadioGroup2.Caption, Cp("Współrzędne krzywoliniowe"));
    EXPECT_EQ(form->RadioGroup2.Items(), std::vector<std::string>{"SSS.DDDD"});
    EXPECT_EQ(form->Button1.Caption, "&OK");
    EXPECT_TRUE(form->Button1.Default);
    EXPECT_EQ(form->Button1.ModalResult, platform::mrOk);
    EXPECT_EQ(form->Button2.Caption, "&Anuluj");
    EXPECT_TRUE(form->Button2.Cancel);
    EXPECT_EQ(form->Button2.ModalResult, platform::mrCancel);
    EXPECT_EQ(TFConfigUnit::kClientWidth, 331);
    EXPECT_EQ(TFConfigUnit::kClientHeight, 153);
}

TEST_F(UnitsDialogTest, ChosenUnitIsStoredOnOkAndUsedByTheTransformation) {
    const std::vector<TShpPoint> metres = Points1992();
    std::vector<TShpPoint> miles;
    for (const TShpPoint& p : metres) miles.push_back({p.X / 1852.0, p.Y / 1852.0});
    auto shape = ShapeOfAllFamilies(miles);
    shape->PlanarUnitIndex = 2;
    Queue([](TFConfigUnit& f) {
        EXPECT_EQ(f.RadioGroup1.ItemIndex(), 2);  // the shape's unit is shown
        EXPECT_EQ(f.RadioGroup2.ItemIndex(), 0);
        EXPECT_TRUE(f.RadioGroup1.Select(4));
        EXPECT_TRUE(f.PressEnter());
    });
    EXPECT_TRUE(shape->EditUnits());
    ASSERT_EQ(ui->Forms().size(), 1u);
    EXPECT_EQ(ui->Forms()[0].caption, "Jednostki");
    EXPECT_EQ(ui->Forms()[0].result, platform::mrOk);
    EXPECT_EQ(shape->PlanarUnitIndex, 4);
    EXPECT_EQ(shape->AngularFormatIndex, 0);

    // Nautical miles: 1992 into the 1965 system, in miles on both sides.
    const std::uint8_t code = MakeTransformCode(csPuwg1992, cs1965);
    EXPECT_EQ(shape->TransformShape(code, 2, 0, 0), 0);
    const std::vector<TShpPoint> after = Vertices(*shape);
    for (std::size_t i = 0; i < metres.size(); ++i) {
        double n = 0, e = 0, h = 0;
        ASSERT_EQ(TransformPoint(code, 2, 0, 0, metres[i].Y, metres[i].X, 0, &n, &e, &h), 0);
        EXPECT_NEAR(after[i].X * 1852.0, e, 1e-6);
        EXPECT_NEAR(after[i].Y * 1852.0, n, 1e-6);
    }
}

TEST_F(UnitsDialogTest, CancelAndTheCloseBoxChangeNothing) {
    TShape shape;
    shape.PlanarUnitIndex = 1;
    Queue([](TFConfigUnit& f) {
        f.RadioGroup1.Select(3);
        EXPECT_TRUE(f.PressEscape());
    });
    EXPECT_TRUE(shape.EditUnits());
    EXPECT_EQ(shape.PlanarUnitIndex, 1);
    Queue([](TFConfigUnit& f) {
        f.RadioGroup1.Select(0);
        EXPECT_TRUE(f.Button2.Click());
    });
    EXPECT_TRUE(shape.EditUnits());
    EXPECT_EQ(shape.PlanarUnitIndex, 1);
    // No user at all: the form is closed as with its close box.
    EXPECT_TRUE(shape.EditUnits());
    EXPECT_EQ(shape.PlanarUnitIndex, 1);
    EXPECT_EQ(shape.AngularFormatIndex, 0);
    ASSERT_EQ(ui->Forms().size(), 3u);
    for (const auto& shown : ui->Forms()) EXPECT_EQ(shown.result, platform::mrCancel);
}
