#include "platform/Controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HeadlessFormsFixture.h"

using namespace platform;

using ControlsTest = HeadlessFormsTest;

TEST_F(ControlsTest, SettersAreSilentUserActionsFireAndNeedAReachableControl) {
    GroupBox group("Kody");
    CheckBox box("Warstwy jak kody");
    box.Parent = &group;
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };

    box.Checked = true;
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(box.Click());
    EXPECT_FALSE(box.Checked);
    EXPECT_EQ(clicks, 1);

    group.Enabled = false;  // a greyed group greys what sits on it
    EXPECT_FALSE(box.Click());
    group.Enabled = true;
    box.Visible = false;
    EXPECT_FALSE(box.Click());
    EXPECT_FALSE(box.Checked);
    EXPECT_EQ(clicks, 1);

    Edit name("abc");
    int changes = 0;
    name.OnChange = [&] { ++changes; };
    name.ReadOnly = true;
    EXPECT_FALSE(name.Type("x"));
    name.ReadOnly = false;
    EXPECT_TRUE(name.Type("x"));
    EXPECT_EQ(name.Text, "x");
    EXPECT_EQ(changes, 1);
}

TEST_F(ControlsTest, HiddenTabKeepsItsControlsOutOfReach) {
    PageControl pages;
    TabSheet points("Punkty"), lines("Linie");
    pages.AddPage(points);
    pages.AddPage(lines);
    EXPECT_EQ(pages.ActivePage(), &points);
    CheckBox onLines("x");
    onLines.Parent = &lines;
    int changes = 0;
    pages.OnChange = [&] { ++changes; };

    lines.SetTabVisible(false);
    EXPECT_FALSE(pages.SelectPage(lines));
    EXPECT_FALSE(onLines.Click());
    lines.SetTabVisible(true);
    EXPECT_TRUE(pages.SelectPage(lines));
    EXPECT_EQ(pages.ActivePageIndex(), 1);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(onLines.Click());

    TabSheet foreign("obca");
    pages.SetActivePage(&foreign);
    EXPECT_EQ(pages.ActivePage(), &lines);
}

TEST_F(ControlsTest, SelectionOutsideTheItemsIsNoneAndFollowsItsItem) {
    ComboBox sizes;
    sizes.SetItems({"8", "9", "10", "11"});
    EXPECT_EQ(sizes.ItemIndex(), -1);
    sizes.SetItemIndex(7);
    EXPECT_EQ(sizes.ItemIndex(), -1);
    EXPECT_EQ(sizes.SelectedText(), "");
    EXPECT_FALSE(sizes.Select(4));

    sizes.SetItemIndex(2);
    sizes.DeleteItem(0);
    EXPECT_EQ(sizes.SelectedText(), "10");
    sizes.MoveItem(1, 2);  // 9 11 10
    EXPECT_EQ(sizes.ItemIndex(), 2);
    sizes.MoveItem(2, 0);  // 10 9 11
    EXPECT_EQ(sizes.ItemIndex(), 0);
    sizes.ExchangeItems(0, 2);  // 11 9 10
    EXPECT_EQ(sizes.Items(), (std::vector<std::string>{"11", "9", "10"}));
    EXPECT_EQ(sizes.SelectedText(), "10");
    sizes.DeleteItem(2);
    EXPECT_EQ(sizes.ItemIndex(), -1);
    EXPECT_EQ(sizes.IndexOf("9"), 1);

    int changes = 0;
    sizes.OnChange = [&] { ++changes; };
    EXPECT_TRUE(sizes.Select(1));
    EXPECT_EQ(changes, 1);

    // A radio group puts an index past its items on its last one.
    RadioGroup single("4XXX", {"Arc"});
    single.SetItemIndex(1);
    EXPECT_EQ(single.ItemIndex(), 0);
    single.SetItemIndex(-5);
    EXPECT_EQ(single.ItemIndex(), -1);
    RadioGroup empty("x");
    empty.SetItemIndex(0);
    EXPECT_EQ(empty.ItemIndex(), -1);
}

TEST_F(ControlsTest, CheckListMarksMoveWithTheirLines) {
    CheckListBox layers;
    layers.SetItems({"a.shp", "b.shp", "c.shp"});
    layers.SetChecked(0, true);
    layers.SetChecked(2, true);
    std::vector<std::string> events;
    layers.OnClickCheck = [&] { events.push_back("check"); };
    layers.OnClick = [&] { events.push_back("click"); };

    layers.MoveItem(2, 0);  // c a b
    EXPECT_TRUE(layers.Checked(0));
    EXPECT_TRUE(layers.Checked(1));
    EXPECT_FALSE(layers.Checked(2));
    layers.ExchangeItems(1, 2);  // c b a
    EXPECT_FALSE(layers.Checked(1));
    EXPECT_TRUE(layers.Checked(2));
    layers.DeleteItem(0);  // b a
    EXPECT_FALSE(layers.Checked(0));
    EXPECT_TRUE(layers.Checked(1));
    layers.AddItem("d.shp");
    EXPECT_FALSE(layers.Checked(2));
    EXPECT_FALSE(layers.Checked(5));

    EXPECT_TRUE(layers.ClickCheck(1));
    EXPECT_EQ(layers.ItemIndex(), 1);
    EXPECT_FALSE(layers.Checked(1));
    EXPECT_TRUE(layers.ClickItem(0));
    EXPECT_EQ(events, (std::vector<std::string>{"check", "click", "click"}));
}

TEST_F(ControlsTest, MaskEditKeepsItsLiteralsAndTellsACompleteText) {
    MaskEdit code("\\4000;1;_");
    EXPECT_EQ(code.Text, "4   ");
    EXPECT_FALSE(code.IsComplete());
    code.SetText("4100");
    EXPECT_EQ(code.Text, "4100");
    EXPECT_TRUE(code.IsComplete());
    code.SetText("123");  // the literal is not typed: the digits fill the digit places
    EXPECT_EQ(code.Text, "4123");
    EXPECT_TRUE(code.Type("41"));
    EXPECT_EQ(code.Text, "41  ");
    EXPECT_FALSE(code.IsComplete());
    code.SetText("4a12");
    EXPECT_EQ(code.Text, "4 12");

    MaskEdit optional("09-9");
    optional.SetText("5");
    EXPECT_EQ(optional.Text, "5 - ");
    EXPECT_TRUE(optional.IsComplete());
    optional.SetText("");
    EXPECT_FALSE(optional.IsComplete());
}

TEST_F(ControlsTest, UpDownClampsAndWritesItsEdit) {
    Edit width;
    int changes = 0;
    width.OnChange = [&] { ++changes; };
    UpDown arrows;
    arrows.Min = 1;
    arrows.Max = 3;
    arrows.Associate = &width;
    arrows.SetPosition(9);
    EXPECT_EQ(arrows.Position(), 3);
    EXPECT_EQ(width.Text, "3");
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(arrows.ClickUp());
    EXPECT_EQ(arrows.Position(), 3);
    EXPECT_TRUE(arrows.ClickDown());
    EXPECT_EQ(width.Text, "2");
    EXPECT_EQ(changes, 2);
}

TEST_F(ControlsTest, GridSelectionCanBeRefused) {
    StringGrid grid(16, 16);
    grid.SetCell(1, 4, "A");
    EXPECT_EQ(grid.Cell(1, 4), "A");
    EXPECT_EQ(grid.Cell(16, 0), "");
    grid.OnSelectCell = [](int col, int, bool& canSelect) { canSelect = col != 0; };
    EXPECT_FALSE(grid.SelectCell(0, 3));
    EXPECT_FALSE(grid.SelectCell(3, 16));
    EXPECT_TRUE(grid.SelectCell(1, 4));
    EXPECT_EQ(grid.Col(), 1);
    EXPECT_EQ(grid.Row(), 4);
}

TEST_F(ControlsTest, ToolButtonDropsItsMenuThenRunsItsClick) {
    PopupMenu menu;
    MenuItem about("O programie"), separator("-");
    menu.Add(about);
    menu.Add(separator);
    std::vector<std::string> events;
    about.OnClick = [&] { events.push_back("about"); };
    ToolBar bar;
    ToolButton info("Informacje", 3);
    bar.AddButton(info);
    info.DropdownMenu = &menu;
    info.OnClick = [&] { events.push_back("settings"); };

    ui->QueuePopupChoice(0);
    EXPECT_TRUE(info.Click());
    EXPECT_EQ(events, (std::vector<std::string>{"about", "settings"}));

    events.clear();
    ui->QueuePopupChoice(1);  // a separator cannot be chosen
    EXPECT_TRUE(info.Click());
    EXPECT_TRUE(info.Click());  // unscripted: the menu is dismissed
    EXPECT_EQ(events, (std::vector<std::string>{"settings", "settings"}));

    // The same menu as a list's context menu.
    ListBox list;
    EXPECT_FALSE(list.RightClick());
    list.ContextMenu = &menu;
    ui->QueuePopupChoice(0);
    EXPECT_TRUE(list.RightClick());
    EXPECT_EQ(events.back(), "about");

    bar.Enabled = false;
    EXPECT_FALSE(info.Click());
    about.Enabled = false;
    EXPECT_FALSE(about.Click());
}
