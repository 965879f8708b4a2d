#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/Canvas.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "shape/ShapeStyle.h"

// A grid of one cell that only shows a preview: its canvas pen is what the form edits, its cell
// cannot be selected, and Paint draws the preview on a device context.
class TDrawGrid : public platform::StringGrid {
  public:
    TDrawGrid();
    platform::TPen CanvasPen;
    // Paints the cell; set by the form.
    std::function<void(platform::TCanvas& canvas, const platform::DcRect& cell)> OnDrawCell;
    // Asks for a repaint; the number of requests is kept for those who watch the preview.
    void Invalidate() { ++repaints_; }
    int Repaints() const override { return repaints_; }
    bool DrawsItself() const override { return true; }
    // Draws the cell at the rectangle on the context.
    void Paint(platform::HDC dc, const platform::DcRect& cell) override;

  private:
    int repaints_ = 0;
};

// A fixed list whose items the form draws itself.
class TOwnerDrawComboBox : public platform::ComboBox {
  public:
    std::function<void(platform::TCanvas& canvas, int index, const platform::DcRect& item)>
        OnDrawItem;
    bool DrawsItems() const override { return true; }
    // Draws one item at the rectangle on the context.
    void PaintItem(platform::HDC dc, int index, const platform::DcRect& item) override;
};

// The display-parameters dialog: the point symbol, the line pen, the area brush and the view
// options of a shapefile, one tab each.
class TFConfig : public platform::Form {
  public:
    static constexpr int kClientWidth = 458;
    static constexpr int kClientHeight = 377;
    static constexpr int kItemHeight = 16;

    TFConfig();

    platform::PageControl ArcView;
    platform::TabSheet Punkty;
    platform::StringGrid StringGrid1{16, 16};
    platform::ComboBox ComboBox1;
    platform::ComboBox ComboBox2;
    platform::Panel Panel2;
    platform::Edit Edit1;
    platform::TabSheet Linie;
    platform::Label Label1, Label2, Label3;
    TOwnerDrawComboBox ComboBox3;
    platform::Edit Edit2;
    platform::UpDown UpDown1;
    platform::Panel Panel3;
    platform::Panel Panel4;
    TDrawGrid DrawGrid1;
    platform::TabSheet Poligony;
    platform::Label Label4, Label5;
    TOwnerDrawComboBox ComboBox4;
    platform::Panel Panel5;
    platform::Panel Panel6;
    TDrawGrid DrawGrid2;
    platform::TabSheet Etykiety;
    platform::CheckBox CheckBox1;
    platform::CheckBox Checkbox2;
    platform::ComboBox ComboBox5;
    platform::Panel Panel1;
    platform::Button Button1;
    platform::Button Button2;

    platform::LayoutItem DescribeControls() override;

    void SetSymbolFont(const platform::TFont& font);
    platform::TFont GetSymbolFont() const;
    void SetSymbolChar(char character);
    char GetSymbolChar() const;
    void SetLinePen(const platform::TPen& pen);
    platform::TPen GetLinePen() const { return DrawGrid1.CanvasPen; }
    void SetFillBrush(const platform::TBrush& brush);
    platform::TBrush GetFillBrush() const { return *fillBrush_; }
    void SetDbfFileName(const std::string& name) { dbfFileName_ = name; }
    // Stores the options and shows them; with labels on the field list is read from the table,
    // whose error (platform::DbfError) is thrown on.
    void SetLabelOptions(const TLabelOptions& options);
    TLabelOptions GetLabelOptions() const { return options_; }

    // The brush style that item i of ComboBox4 stands for, and back (-1 when none).
    static int FillItemStyle(int item);
    static int FillStyleItem(int style);

  protected:
    void FormCreate() override;

  private:
    void StringGrid1SelectCell(int col, int row, bool& canSelect);
    void ComboBox1Change();
    void ComboBox2Change();
    void Panel2Click();
    void ComboBox3Change();
    void ComboBox3DrawItem(platform::TCanvas& canvas, int index, const platform::DcRect& item);
    void Edit2Change();
    void Panel3Click();
    void DrawGrid1DrawCell(platform::TCanvas& canvas, const platform::DcRect& cell);
    void ComboBox4Change();
    void ComboBox4DrawItem(platform::TCanvas& canvas, int index, const platform::DcRect& item);
    void Panel5Click();
    void DrawGrid2DrawCell(platform::TCanvas& canvas, const platform::DcRect& cell);
    void CheckBox1Click();
    // Throws platform::DbfError when the table cannot be read.
    void FillFieldList();
    void Checkbox2Click();
    void ComboBox5Change();
    // The colour dialog opened with the colour; true when a colour was chosen.
    bool ChooseColor(platform::ColorRef& color);

    std::string dbfFileName_;
    TLabelOptions options_;
    std::unique_ptr<platform::TBrush> fillBrush_;
    int symbolCharset_ = platform::DEFAULT_CHARSET;
};
