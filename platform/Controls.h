#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Cursor.h"
#include "platform/DeviceContext.h"

// The standard controls of the window toolkit, as state plus events: no drawing. Texts are
// Windows-1250. Two kinds of operation:
// - setters (fields and Set... methods) are what the program does: they change the state and fire
//   no event;
// - user actions (Click, Type, Select...) are what a person does: they act only on a control the
//   person can reach (visible and enabled, and so are its parents), fire the control's events as
//   the toolkit would, and return whether they acted.
namespace platform {

class Form;
class PopupMenu;

using Event = std::function<void()>;
using ColorRef = std::uint32_t;  // 0x00BBGGRR

enum : ColorRef {
    clBlack = 0x000000,
    clWhite = 0xFFFFFF,
    clRed = 0x0000FF,
    clBlue = 0xFF0000,
    clBtnFace = 0xF0F0F0,
};

struct ControlFont {
    std::string Name = "MS Sans Serif";
    int Size = 8;  // points
    ColorRef Color = clBlack;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    bool operator==(const ControlFont&) const = default;
};

class Control {
  public:
    virtual ~Control() = default;

    std::string Hint;
    bool Enabled = true;
    bool Visible = true;
    ControlFont Font;
    Control* Parent = nullptr;  // a group, panel or tab sheet it sits on; may stay null
    PopupMenu* ContextMenu = nullptr;

    // The person right-clicks it: its context menu, if any, drops down.
    bool RightClick();

    // Whether a person can act on it: it and every parent visible and enabled.
    bool Reachable() const;
};

enum class Alignment { taLeftJustify, taCenter, taRightJustify };
// A panel's frame: each of its two bevels is flat, sunk or raised.
enum class Bevel { bvNone, bvLowered, bvRaised };

class Label : public Control {
  public:
    explicit Label(std::string caption = {}) : Caption(std::move(caption)) {}
    std::string Caption;
    Alignment Align = Alignment::taLeftJustify;
    CursorShape Cursor = crDefault;
    Event OnClick;
    bool Click();
};

class GroupBox : public Control {
  public:
    explicit GroupBox(std::string caption = {}) : Caption(std::move(caption)) {}
    std::string Caption;
};

class Panel : public Control {
  public:
    explicit Panel(std::string caption = {}) : Caption(std::move(caption)) {}
    std::string Caption;
    ColorRef Color = clBtnFace;
    Bevel BevelOuter = Bevel::bvRaised;
    Bevel BevelInner = Bevel::bvNone;
    Event OnClick;
    bool Click();
};

class Edit : public Control {
  public:
    explicit Edit(std::string text = {}) : Text(std::move(text)) {}
    std::string Text;
    bool ReadOnly = false;
    Event OnChange;
    // The person replaces the whole text; refused on a read-only edit.
    virtual bool Type(const std::string& text);
};

// An edit whose text follows a mask: '0' a required digit, '9' an optional digit, '\' makes the
// next character a literal, any other character is a literal; a ';' ends the mask. The text
// always has one character per position: the literals, and the digits typed or a blank.
class MaskEdit : public Edit {
  public:
    explicit MaskEdit(std::string mask = {});

    void SetEditMask(const std::string& mask);
    const std::string& EditMask() const { return mask_; }
    // Fits the text to the mask: a literal position takes its literal (and uses up the input
    // character when it is that literal), a digit position takes the next input character when
    // it is a digit and a blank otherwise.
    void SetText(const std::string& text);
    bool Type(const std::string& text) override;
    // Every required digit is there.
    bool IsComplete() const;

  private:
    struct Position {
        char literal;  // 0: a digit position
        bool required;
    };
    std::string mask_;
    std::vector<Position> positions_;
};

class CheckBox : public Control {
  public:
    explicit CheckBox(std::string caption = {}) : Caption(std::move(caption)) {}
    std::string Caption;
    bool Checked = false;
    Event OnClick;
    // The person clicks: the mark toggles, then OnClick.
    bool Click();
};

// Items with one selected index (-1: none), the common part of list boxes, combo boxes and radio
// groups. Selecting an index outside the items selects none.
class ItemList : public Control {
  public:
    const std::vector<std::string>& Items() const { return items_; }
    int Count() const { return static_cast<int>(items_.size()); }
    void SetItems(std::vector<std::string> items);
    void AddItem(std::string item);
    // Removes one item; the selection follows its item or becomes none when that item goes.
    void DeleteItem(int index);
    void ClearItems() { SetItems({}); }
    // Moves the item at `from` to the place `to`, the selection following its item.
    void MoveItem(int from, int to);
    void ExchangeItems(int a, int b);
    int IndexOf(const std::string& item) const;

    int ItemIndex() const { return itemIndex_; }
    virtual void SetItemIndex(int index);
    // The selected item's text, empty when none is selected.
    std::string SelectedText() const;

  protected:
    // Lets a derived list keep per-item data in step with the items.
    virtual void ItemsMoved(int from, int to) { (void)from, (void)to; }
    virtual void ItemDeleted(int index) { (void)index; }
    virtual void ItemsReset() {}
    virtual void ItemAdded() {}

  private:
    std::vector<std::string> items_;
    int itemIndex_ = -1;
};

class RadioGroup : public ItemList {
  public:
    explicit RadioGroup(std::string caption = {}, std::vector<std::string> items = {});
    std::string Caption;
    Event OnClick;
    // A radio group keeps an index past its items on its last item (-1 stays none).
    void SetItemIndex(int index) override;
    bool Select(int index);
    // The person presses an arrow key inside the group, which is one stop of the Tab key: the
    // item `step` places on is selected, round past either end (from none, the first item
    // forwards and the last one backwards), then OnClick.
    bool PressArrow(int step);
};

class ListBox : public ItemList {
  public:
    Event OnClick;
    // The person clicks a line: it becomes the selection, then OnClick.
    bool ClickItem(int index);
};

class CheckListBox : public ListBox {
  public:
    bool Checked(int index) const;
    void SetChecked(int index, bool checked);
    Event OnClickCheck;
    // The person clicks a line's check mark: the line is selected, its mark toggles, then
    // OnClickCheck and OnClick.
    bool ClickCheck(int index);

  protected:
    void ItemsMoved(int from, int to) override;
    void ItemDeleted(int index) override;
    void ItemsReset() override;
    void ItemAdded() override;

  private:
    std::vector<bool> checked_;
};

class ComboBox : public ItemList {
  public:
    Event OnChange;
    // The person picks an item from the list, then OnChange.
    bool Select(int index);

    // A list that draws its items itself says so; a window back end then shows what PaintItem
    // draws on a context of the item's size instead of the item's text.
    virtual bool DrawsItems() const { return false; }
    virtual void PaintItem(HDC dc, int index, const DcRect& item) {
        (void)dc, (void)index, (void)item;
    }
};

class TabSheet : public Control {
  public:
    explicit TabSheet(std::string caption = {}) : Caption(std::move(caption)) {}
    std::string Caption;
    // Whether the tab is offered at all; a hidden tab's controls cannot be reached.
    bool TabVisible() const { return Visible; }
    void SetTabVisible(bool visible) { Visible = visible; }
};

class PageControl : public Control {
  public:
    void AddPage(TabSheet& page);
    const std::vector<TabSheet*>& Pages() const { return pages_; }
    TabSheet* ActivePage() const { return active_; }
    int ActivePageIndex() const;
    // Any of its own pages, visible or not, or nullptr.
    void SetActivePage(TabSheet* page);
    Event OnChange;
    // The person clicks a visible tab, then OnChange.
    bool SelectPage(TabSheet& page);

  private:
    std::vector<TabSheet*> pages_;
    TabSheet* active_ = nullptr;
};

class Button : public Control {
  public:
    Button(Form& owner, std::string caption, int modalResult = 0);
    std::string Caption;
    int ModalResult;
    bool Default = false;  // pressed by Enter
    bool Cancel = false;   // pressed by Escape
    Event OnClick;
    // The person presses it: OnClick, then a non-zero ModalResult becomes the form's.
    bool Click();

  private:
    Form& owner_;
};

// An edit's up-down buddy: its position is the number in the edit.
class UpDown : public Control {
  public:
    int Min = 0;
    int Max = 100;
    Edit* Associate = nullptr;
    int Position() const { return position_; }
    // Clamps to Min..Max and writes the number into the associated edit, without events.
    void SetPosition(int position);
    Event OnClick;
    // The person clicks an arrow: the position steps by one within the range, the edit shows it
    // and fires its OnChange, then OnClick.
    bool ClickUp() { return Step(1); }
    bool ClickDown() { return Step(-1); }

  private:
    bool Step(int delta);
    int position_ = 0;
};

// A grid of text cells with one selected cell.
class StringGrid : public Control {
  public:
    StringGrid(int colCount, int rowCount);
    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    const std::string& Cell(int col, int row) const;
    void SetCell(int col, int row, std::string text);
    int Col() const { return col_; }
    int Row() const { return row_; }
    // Selects a cell inside the grid, without events.
    void SetSelection(int col, int row);
    // Asked before the person's selection takes effect; may refuse it.
    std::function<void(int col, int row, bool& canSelect)> OnSelectCell;
    bool SelectCell(int col, int row);

    // A grid that paints itself (a preview) says so; a window back end then shows what Paint
    // draws on a context of the grid's size, painted again whenever Repaints() changes.
    virtual bool DrawsItself() const { return false; }
    virtual void Paint(HDC dc, const DcRect& cell) { (void)dc, (void)cell; }
    virtual int Repaints() const { return 0; }

  private:
    bool Inside(int col, int row) const;
    int colCount_;
    int rowCount_;
    std::vector<std::string> cells_;
    int col_ = 0;
    int row_ = 0;
};

// A menu entry; the caption "-" makes a separator, which cannot be clicked.
class MenuItem {
  public:
    explicit MenuItem(std::string caption = {}) : Caption(std::move(caption)) {}
    std::string Caption;
    bool Enabled = true;
    bool Visible = true;
    Event OnClick;
    bool IsSeparator() const { return Caption == "-"; }
    bool Click();
};

class PopupMenu {
  public:
    void Add(MenuItem& item) { items_.push_back(&item); }
    const std::vector<MenuItem*>& Items() const { return items_; }
    // Drops the menu down through the UI service; the chosen item (if any) is clicked.
    // Returns the item chosen, or nullptr when the menu was dismissed.
    MenuItem* Popup();

  private:
    std::vector<MenuItem*> items_;
};

class ToolButton : public Control {
  public:
    explicit ToolButton(std::string hint = {}, int imageIndex = -1);
    std::string Caption;
    int ImageIndex;
    PopupMenu* DropdownMenu = nullptr;
    Event OnClick;
    // The person presses it: a button with a drop-down menu drops the menu first (its chosen
    // item runs), and OnClick runs when the menu has closed.
    bool Click();
};

// Pictures of one size, taken by index, each named as the window back end names the pictures
// it carries (a name it lacks shows no picture): the pictures belong to the window.
struct ImageList {
    int Width = 16;
    int Height = 16;
    std::vector<std::string> Pictures;
};

class ToolBar : public Control {
  public:
    void AddButton(ToolButton& button);
    const std::vector<ToolButton*>& Buttons() const { return buttons_; }

    int ButtonWidth = 23;
    int ButtonHeight = 22;
    bool Flat = true;
    bool ShowHints = true;
    const ImageList* Images = nullptr;     // the buttons' pictures
    const ImageList* HotImages = nullptr;  // under the mouse; none: the normal ones

  private:
    std::vector<ToolButton*> buttons_;
};

}  // namespace platform
