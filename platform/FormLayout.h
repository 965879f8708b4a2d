#pragma once

#include <vector>

// How a form's controls are arranged on the screen: a tree that lists them in tab order with the
// containers they sit in (tab sheets, group boxes, panels) and the rows, columns and grids that
// place them. Positions are not given: a window back end lays the tree out. A form hands its tree
// to the back end through Form::DescribeControls().
namespace platform {

class Control;

struct LayoutItem {
    enum class Kind {
        Control,  // a control; a container control holds `items` in a column
        Column,
        Row,
        Grid,     // `items` fill the rows left to right, `columns` to a row
        Stretch,  // spare room
    };

    LayoutItem(Control& control) : kind(Kind::Control), control(&control) {}  // NOLINT
    explicit LayoutItem(Kind k) : kind(k) {}

    Kind kind;
    Control* control = nullptr;
    std::vector<LayoutItem> items;
    int columns = 0;
    int width = 0;  // pixels; 0: as laid out
    int height = 0;
};

LayoutItem Column(std::vector<LayoutItem> items);
LayoutItem Row(std::vector<LayoutItem> items);
LayoutItem Grid(int columns, std::vector<LayoutItem> items);
LayoutItem Stretch();
// A container control (group box, panel, tab sheet, page control) with its content, which is
// laid out as given (a row, a grid...) or, for a plain list, in a column. A page control's
// content is its tab sheets.
LayoutItem Holding(Control& container, std::vector<LayoutItem> content);
LayoutItem Holding(Control& container, LayoutItem arrangement);
// An item with a fixed size in pixels (0 leaves that side to the layout).
LayoutItem Sized(LayoutItem item, int width, int height);

}  // namespace platform
