// The display-parameters dialog driven as a user would: which dialog a shapefile gets, what the
// controls do, and what OK and Cancel leave in the shape.
#include <gtest/gtest.h>

#include "DisplayFixture.h"
#include "platform/Cp1250.h"
#include "platform/DeviceContext.h"
#include "shape/ShapeStyle.h"
#include "shape/UConfig.h"

using namespace displaytest;

namespace {

class ConfigDialogTest : public DisplayTest {
  protected:
    // A shape of the given type with one record and an attribute table of three fields.
    std::unique_ptr<TShape> ShapeOfType(std::int32_t type) {
        std::vector<std::unique_ptr<TSHPRecord>> records;
        records.push_back(type == 0 ? Null() : shapetest::MakeRecord(type, 1, 4, 1));
        auto shape = ShapeOf(std::move(records), Path("obiekty.shp"));
        WriteTable(Path("obiekty.shp"), {"NUMER", "NAZWA", "RODZAJ"}, {{"7", "dom", "B"}});
        return shape;
    }
    void Queue(std::function<void(TFConfig&)> script) {
        ui->QueueForm<TFConfig>(std::move(script));
    }
    static std::vector<std::string> VisibleTabs(const TFConfig& f) {
        std::vector<std::string> tabs;
        for (const platform::TabSheet* page : f.ArcView.Pages())
            if (page->TabVisible()) tabs.push_back(platform::Cp1250ToUtf8(page->Caption));
        return tabs;
    }
};

}  // namespace

TEST_F(ConfigDialogTest, EachShapeTypeGetsItsDialogAndNullGetsNoneButRereadsLabels) {
    struct Case {
        std::int32_t type;
        std::vector<std::string> tabs;
        std::string active;
    };
    const std::vector<Case> cases = {
        {1, {"Punkty", "Etykiety"}, "Punkty"},
        {18, {"Punkty", "Etykiety"}, "Punkty"},
        {28, {"Punkty", "Etykiety"}, "Punkty"},
        {13, {"Linie", "Etykiety"}, "Linie"},
        {25, {"Linie", "Poligony", "Etykiety"}, "Poligony"},
        {31, {"Linie", "Poligony", "Etykiety"}, "Poligony"},
    };
    for (const Case& c : cases) {
        auto shape = ShapeOfType(c.type);
        Queue([&](TFConfig& f) {
            EXPECT_EQ(VisibleTabs(f), c.tabs) << c.type;
            EXPECT_EQ(platform::Cp1250ToUtf8(f.ArcView.ActivePage()->Caption), c.active);
            EXPECT_EQ(f.ParentWindow, 0x4711u);
            f.PressEscape();
        });
        EXPECT_FALSE(shape->ConfigureDisplay(0x4711));
        EXPECT_EQ(platform::Cp1250ToUtf8(ui->Forms().back().caption), "Parametry wyświetlania");
    }

    auto null = ShapeOfType(0);
    null->Header[32] = 0;  // a file of null records
    null->Etykiety = true;
    null->NumerPola = 1;
    const std::size_t shown = ui->Forms().size();
    EXPECT_FALSE(TShape::EditDisplay(null.get(), 0));
    EXPECT_EQ(ui->Forms().size(), shown);
    EXPECT_EQ(Labels(*null), std::vector<std::string>{"dom"});
    EXPECT_FALSE(TShape::EditDisplay(nullptr, 0));
}

TEST_F(ConfigDialogTest, PointDialogEditsSymbolFontColourAndMarks) {
    auto shape = ShapeOfType(1);
    shape->Symbol.clear();
    ui->QueueColor(0x0000FF);
    Queue([](TFConfig& f) {
        // Loaded: the symbol font and an empty symbol as one blank.
        EXPECT_EQ(f.Edit1.Font.Name, "Wingdings");
        EXPECT_EQ(f.ComboBox1.SelectedText(), "Wingdings");
        EXPECT_EQ(f.ComboBox2.SelectedText(), "8");
        EXPECT_EQ(f.Edit1.Text, " ");
        EXPECT_EQ(f.StringGrid1.Col(), 0);
        EXPECT_EQ(f.StringGrid1.Row(), 2);
        EXPECT_EQ(f.StringGrid1.Cell(12, 6), "l");
        EXPECT_FALSE(f.ComboBox5.Enabled);

        EXPECT_TRUE(f.StringGrid1.SelectCell(12, 6));  // 'l', a filled circle
        EXPECT_EQ(f.Edit1.Text, "l");
        EXPECT_TRUE(f.ComboBox1.Select(f.ComboBox1.IndexOf("Arial")));
        EXPECT_EQ(f.StringGrid1.Font.Name, "Arial");
        EXPECT_TRUE(f.ComboBox2.Select(f.ComboBox2.IndexOf("14")));
        EXPECT_TRUE(f.Panel2.Click());
        EXPECT_EQ(f.Panel2.Color, 0x0000FFu);
        EXPECT_TRUE(f.CheckBox1.Click());
        EXPECT_TRUE(f.PressEnter());
    });
    shape->ConfigureDisplay(0);
    EXPECT_EQ(shape->Symbol, "l");
    EXPECT_EQ(shape->SymbolFont->Name, "Arial");
    EXPECT_EQ(shape->SymbolFont->Size, 14);
    EXPECT_EQ(shape->SymbolFont->Color, 0x0000FFu);
    EXPECT_TRUE(shape->Markowanie);
    EXPECT_FALSE(shape->Etykiety);
}

TEST_F(ConfigDialogTest, WideLineForcesTheSolidItemAndNarrowEnablesTheListAgain) {
    auto shape = ShapeOfType(3);
    shape->LinePen->Style = platform::PS_DOT;
    ui->QueueColor(0x00FFFF);
    Queue([](TFConfig& f) {
        EXPECT_EQ(f.ComboBox3.ItemIndex(), platform::PS_DOT);
        EXPECT_EQ(f.Edit2.Text, "1");
        const int repaints = f.DrawGrid1.Repaints();
        EXPECT_TRUE(f.Edit2.Type("3"));
        EXPECT_EQ(f.ComboBox3.ItemIndex(), 0);
        EXPECT_FALSE(f.ComboBox3.Enabled);
        EXPECT_FALSE(f.ComboBox3.Select(2));
        EXPECT_GT(f.DrawGrid1.Repaints(), repaints);
        EXPECT_TRUE(f.UpDown1.ClickDown());  // 2: still wide
        EXPECT_FALSE(f.ComboBox3.Enabled);
        EXPECT_TRUE(f.Edit2.Type("1"));
        EXPECT_TRUE(f.ComboBox3.Enabled);
        EXPECT_TRUE(f.Edit2.Type("gruba"));  // not a number: back to the up-down's position
        EXPECT_EQ(f.Edit2.Text, "1");
        EXPECT_TRUE(f.Edit2.Type("-4"));  // outside the up-down's range, likewise
        EXPECT_EQ(f.Edit2.Text, "1");
        EXPECT_TRUE(f.ComboBox3.Select(platform::PS_DASHDOT));
        EXPECT_TRUE(f.Panel3.Click());
        EXPECT_EQ(f.Panel3.Color, 0x00FFFFu);
        EXPECT_FALSE(f.DrawGrid1.SelectCell(0, 0));
        f.Button1.Click();
    });
    shape->ConfigureDisplay(0);
    EXPECT_EQ(*shape->LinePen, (platform::TPen{0x00FFFF, 1, platform::PS_DASHDOT}));
}

TEST_F(ConfigDialogTest, AreaDialogEditsFillAndOutline) {
    auto shape = ShapeOfType(5);
    ui->QueueColor(0x00FF00);
    Queue([](TFConfig& f) {
        EXPECT_EQ(f.ComboBox4.ItemIndex(), 0);  // solid
        EXPECT_TRUE(f.ComboBox4.Select(1));     // backward diagonal
        EXPECT_TRUE(f.Panel5.Click());
        EXPECT_TRUE(f.ArcView.SelectPage(f.Linie));
        EXPECT_TRUE(f.Edit2.Type("4"));
        f.PressEnter();
    });
    shape->ConfigureDisplay(0);
    EXPECT_EQ(BrushStyleNumber(*shape->AreaBrush), 5);
    EXPECT_EQ(shape->AreaBrush->Color, 0x00FF00u);
    EXPECT_EQ(shape->LinePen->Width, 4);

    // The dialog shows the brush it was given.
    SetBrushStyleNumber(*shape->AreaBrush, 1);
    Queue([](TFConfig& f) {
        EXPECT_EQ(f.ComboBox4.ItemIndex(), 7);
        EXPECT_EQ(f.Panel5.Color, 0x00FF00u);
        f.PressEscape();
    });
    shape->ConfigureDisplay(0);
    for (int item = 0; item < 8; ++item)
        EXPECT_EQ(TFConfig::FillStyleItem(TFConfig::FillItemStyle(item)), item);
}

TEST_F(ConfigDialogTest, CancelLeavesEveryStyleValueUnchanged) {
    auto shape = ShapeOfType(15);
    const platform::TPen pen = *shape->LinePen;
    const platform::TBrush brush = *shape->AreaBrush;
    ui->QueueColor(0x010203);
    Queue([](TFConfig& f) {
        f.ComboBox4.Select(3);
        f.Panel5.Click();
        f.ArcView.SelectPage(f.Etykiety);
        f.CheckBox1.Click();
        f.Checkbox2.Click();
        f.ComboBox5.Select(2);
        f.Button2.Click();
    });
    shape->ConfigureDisplay(0);
    EXPECT_EQ(*shape->LinePen, pen);
    EXPECT_EQ(*shape->AreaBrush, brush);
    EXPECT_FALSE(shape->Markowanie);
    EXPECT_FALSE(shape->Etykiety);
    EXPECT_EQ(shape->NumerPola, -1);
}

TEST_F(ConfigDialogTest, TickingLabelsListsTheFieldsAndOkReadsTheChosenOnes) {
    auto shape = ShapeOfType(8);
    Queue([](TFConfig& f) {
        EXPECT_TRUE(f.Checkbox2.Click());
        EXPECT_TRUE(f.ComboBox5.Enabled);
        EXPECT_EQ(f.ComboBox5.Items(), (std::vector<std::string>{"NUMER", "NAZWA", "RODZAJ"}));
        EXPECT_EQ(f.ComboBox5.ItemIndex(), -1);
        EXPECT_TRUE(f.ComboBox5.Select(1));
        const std::int32_t field = f.GetLabelOptions().NumerPola;
        EXPECT_EQ(field, 1);
        f.PressEnter();
    });
    shape->ConfigureDisplay(0);
    EXPECT_TRUE(shape->Etykiety);
    EXPECT_EQ(shape->NumerPola, 1);
    EXPECT_EQ(Labels(*shape), std::vector<std::string>{"dom"});

    // Opened again, the list is there with the field chosen; unticking disables it.
    Queue([](TFConfig& f) {
        EXPECT_EQ(f.ComboBox5.SelectedText(), "NAZWA");
        EXPECT_TRUE(f.Checkbox2.Click());
        EXPECT_FALSE(f.ComboBox5.Enabled);
        f.PressEnter();
    });
    shape->ConfigureDisplay(0);
    EXPECT_FALSE(shape->Etykiety);
}

TEST_F(ConfigDialogTest, TickingLabelsWithoutATableShowsTheErrorAndKeepsTheDialogOpen) {
    auto shape = ShapeOfType(3);
    std::filesystem::remove(Path("obiekty.dbf"));
    Queue([](TFConfig& f) {
        EXPECT_TRUE(f.Checkbox2.Click());
        EXPECT_TRUE(f.Showing());
        EXPECT_TRUE(f.ComboBox5.Items().empty());
        EXPECT_EQ(shapetest::MessageTexts().size(), 1u);
        f.Checkbox2.Click();
        f.PressEnter();
    });
    shape->ConfigureDisplay(0);
    EXPECT_EQ(ui->Forms().back().result, platform::mrOk);
}

TEST_F(ConfigDialogTest, LabelsOnWithoutATableEndTheDialogBeforeItShowsWithAMessage) {
    auto shape = ShapeOfType(5);
    std::filesystem::remove(Path("obiekty.dbf"));
    shape->Etykiety = true;
    shape->NumerPola = 0;
    EXPECT_NO_THROW(EXPECT_FALSE(shape->ConfigureDisplay(0)));
    EXPECT_TRUE(ui->Forms().empty());
    const auto messages = shapetest::MessageTexts();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("obiekty.dbf"), std::string::npos);
}

TEST_F(ConfigDialogTest, PreviewsAndListItemsDrawWithTheEditedPenAndBrush) {
    auto form = platform::CreateForm<TFConfig>();
    form->SetLinePen(platform::TPen{0x0000FF, 1, platform::PS_DASH});
    platform::TBrush brush{0x00FF00};
    SetBrushStyleNumber(brush, 6);
    form->SetFillBrush(brush);

    const platform::HDC dc = platform::CreateRecordingDC();
    auto calls = [&] { return platform::RecordingOf(dc)->Calls(); };
    form->DrawGrid1.Paint(dc, {0, 0, 153, 129});
    std::vector<platform::DcCall> drawn;
    for (const auto& c : calls())
        if (c.op == platform::DcOp::Polygon || c.op == platform::DcOp::LineTo) drawn.push_back(c);
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0].state.brush.color, 0xFFFFFFu);  // white background
    EXPECT_EQ(drawn[0].state.pen.style, platform::PS_NULL);
    EXPECT_EQ(drawn[1].points, (std::vector<platform::DcPoint>{{2, 64}, {151, 64}}));
    EXPECT_EQ(drawn[1].state.pen, (platform::PenInfo{platform::PS_DASH, 1, 0x0000FF}));

    platform::RecordingOf(dc)->Clear();
    form->DrawGrid2.Paint(dc, {0, 0, 105, 81});
    for (const auto& c : calls())
        if (c.op == platform::DcOp::Polygon) {
            EXPECT_EQ(c.points.front(), (platform::DcPoint{2, 2}));
            EXPECT_EQ(c.state.brush.style, platform::BS_HATCHED);
            EXPECT_EQ(c.state.brush.hatch, platform::HS_CROSS);
        }

    platform::RecordingOf(dc)->Clear();
    form->ComboBox4.PaintItem(dc, 7, {0, 0, 145, 16});
    form->ComboBox3.PaintItem(dc, 4, {0, 16, 137, 32});
    std::vector<std::string> texts;
    int dashDotDot = 0;
    for (const auto& c : calls()) {
        if (c.op == platform::DcOp::TextOut) texts.push_back(platform::Cp1250ToUtf8(c.text));
        if (c.op == platform::DcOp::LineTo && c.state.pen.style == platform::PS_DASHDOTDOT)
            ++dashDotDot;
    }
    EXPECT_EQ(texts, std::vector<std::string>{"Brak"});
    EXPECT_EQ(dashDotDot, 1);
    platform::DeleteDC(dc);
}
