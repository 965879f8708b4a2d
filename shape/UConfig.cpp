#include "shape/UConfig.h"

#include <array>

#include "platform/BinaryFile.h"
#include "platform/ColorDialog.h"
#include "platform/DbfTable.h"
#include "platform/FormBackend.h"
#include "platform/NumberText.h"
#include "platform/UiService.h"
#include "shape/DisplayTexts.h"

namespace {

namespace dt = displaytexts;

// Brush style of each ComboBox4 item.
constexpr std::array<int, 8> kFillItems = {0, 5, 4, 6, 7, 2, 3, 1};

platform::DcRect Shrunk(const platform::DcRect& r, int by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

// Fills the rectangle with the canvas's brush, outlined with its pen.
void RectanglePolygon(platform::TCanvas& canvas, const platform::DcRect& r) {
    const platform::DcPoint corners[4] = {
        {r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    canvas.Polygon(corners, 4);
}

// Fills the rectangle with the canvas's brush and no outline.
void FillRect(platform::TCanvas& canvas, const platform::DcRect& r) {
    const platform::TPen pen = canvas.Pen;
    canvas.Pen.Style = platform::PS_NULL;
    RectanglePolygon(canvas, r);
    canvas.Pen = pen;
}

}  // namespace

TDrawGrid::TDrawGrid() : platform::StringGrid(1, 1) {
    // A preview: its one cell cannot be selected.
    OnSelectCell = [](int, int, bool& canSelect) { canSelect = false; };
}

void TDrawGrid::Paint(platform::HDC dc, const platform::DcRect& cell) {
    if (!OnDrawCell) return;
    platform::TCanvas canvas(dc);
    OnDrawCell(canvas, cell);
}

void TOwnerDrawComboBox::PaintItem(platform::HDC dc, int index, const platform::DcRect& item) {
    if (!OnDrawItem || index < 0 || index >= Count()) return;
    platform::TCanvas canvas(dc);
    OnDrawItem(canvas, index, item);
}

TFConfig::TFConfig()
    : Form(dt::ConfigCaption()),
      Punkty(dt::TabPoints()),
      Label1(dt::LabelStyle()),
      Label2(dt::LabelWidth()),
      Label3(dt::LabelColor()),
      Label4(dt::LabelFill()),
      Label5(dt::LabelColor()),
      Etykiety(dt::TabLabels()),
      CheckBox1(dt::CheckMarks()),
      Checkbox2(dt::CheckLabels()),
      Button1(*this, dt::ButtonOk(), platform::mrOk),
      Button2(*this, dt::ButtonCancel(), platform::mrCancel) {
    Linie.Caption = dt::TabLines();
    Poligony.Caption = dt::TabAreas();
    ArcView.AddPage(Punkty);
    ArcView.AddPage(Linie);
    ArcView.AddPage(Poligony);
    ArcView.AddPage(Etykiety);

    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &StringGrid1, &ComboBox1, &ComboBox2, &Panel2, &Edit1})
        c->Parent = &Punkty;
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &Label1, &Label2, &Label3, &ComboBox3, &Edit2, &UpDown1, &Panel3, &Panel4})
        c->Parent = &Linie;
    DrawGrid1.Parent = &Panel4;
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&Label4, &Label5, &ComboBox4, &Panel5, &Panel6})
        c->Parent = &Poligony;
    DrawGrid2.Parent = &Panel6;
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&CheckBox1, &Checkbox2, &ComboBox5})
        c->Parent = &Etykiety;
    Button1.Parent = &Panel1;
    Button2.Parent = &Panel1;
    Button1.Default = true;
    Button2.Cancel = true;
    ClientWidth = kClientWidth;
    ClientHeight = kClientHeight;
    Panel4.Color = platform::clWhite;
    Panel6.Color = platform::clWhite;
    Panel4.BevelOuter = platform::Bevel::bvLowered;
    Panel1.BevelOuter = platform::Bevel::bvLowered;

    ComboBox2.SetItems(dt::FontSizes());
    ComboBox3.SetItems(std::vector<std::string>(kPenStyleCount));
    ComboBox4.SetItems(std::vector<std::string>(kFillItems.size()));
    UpDown1.Associate = &Edit2;
    UpDown1.Min = 0;
    UpDown1.Max = 100;

    StringGrid1.OnSelectCell = [this](int col, int row, bool& canSelect) {
        StringGrid1SelectCell(col, row, canSelect);
    };
    ComboBox1.OnChange = [this] { ComboBox1Change(); };
    ComboBox2.OnChange = [this] { ComboBox2Change(); };
    Panel2.OnClick = [this] { Panel2Click(); };
    ComboBox3.OnChange = [this] { ComboBox3Change(); };
    ComboBox3.OnDrawItem = [this](platform::TCanvas& canvas, int index,
                                  const platform::DcRect& item) {
        ComboBox3DrawItem(canvas, index, item);
    };
    Edit2.OnChange = [this] { Edit2Change(); };
    Panel3.OnClick = [this] { Panel3Click(); };
    DrawGrid1.OnDrawCell = [this](platform::TCanvas& canvas, const platform::DcRect& cell) {
        DrawGrid1DrawCell(canvas, cell);
    };
    ComboBox4.OnChange = [this] { ComboBox4Change(); };
    ComboBox4.OnDrawItem = [this](platform::TCanvas& canvas, int index,
                                  const platform::DcRect& item) {
        ComboBox4DrawItem(canvas, index, item);
    };
    Panel5.OnClick = [this] { Panel5Click(); };
    DrawGrid2.OnDrawCell = [this](platform::TCanvas& canvas, const platform::DcRect& cell) {
        DrawGrid2DrawCell(canvas, cell);
    };
    CheckBox1.OnClick = [this] { CheckBox1Click(); };
    Checkbox2.OnClick = [this] { Checkbox2Click(); };
    ComboBox5.OnChange = [this] { ComboBox5Change(); };
}

void TFConfig::FormCreate() {
    for (int code = 0; code < 256; ++code)
        StringGrid1.SetCell(code % 16, code / 16, std::string(1, static_cast<char>(code)));
    ComboBox1.SetItems(platform::ScreenFonts());
    fillBrush_ = std::make_unique<platform::TBrush>();
}

platform::LayoutItem TFConfig::DescribeControls() {
    using namespace platform;
    return Column({
        Holding(
            ArcView,
            {Holding(Punkty,
                     Row({Sized(StringGrid1, 281, 281),
                          Column({Sized(ComboBox1, 145, 0), Sized(ComboBox2, 145, 0),
                                  Sized(Panel2, 145, 25), Sized(Edit1, 145, 121), Stretch()})})),
             Holding(Linie, Row({Column({Label1, Sized(ComboBox3, 137, 0), Label2,
                                         Row({Sized(Edit2, 121, 0), UpDown1, Stretch()}), Label3,
                                         Sized(Panel3, 132, 25), Stretch()}),
                                 Column({Sized(Holding(Panel4, DrawGrid1), 153, 129), Stretch()}),
                                 Stretch()})),
             Holding(Poligony, Row({Column({Label4, Sized(ComboBox4, 145, 0), Label5,
                                            Sized(Panel5, 145, 25), Stretch()}),
                                    Column({Sized(Holding(Panel6, DrawGrid2), 105, 81), Stretch()}),
                                    Stretch()})),
             Holding(Etykiety, {CheckBox1, Checkbox2, Sized(ComboBox5, 145, 0), Stretch()})}),
        Holding(Panel1, Row({Stretch(), Button1, Stretch(), Button2, Stretch()})),
    });
}

int TFConfig::FillItemStyle(int item) {
    return item >= 0 && item < static_cast<int>(kFillItems.size())
               ? kFillItems[static_cast<std::size_t>(item)]
               : -1;
}

int TFConfig::FillStyleItem(int style) {
    for (std::size_t i = 0; i < kFillItems.size(); ++i)
        if (kFillItems[i] == style) return static_cast<int>(i);
    return -1;
}

// ---- what the program puts in and takes out

void TFConfig::SetSymbolFont(const platform::TFont& font) {
    Edit1.Font.Name = font.Name;
    Edit1.Font.Size = font.Size;
    Edit1.Font.Color = font.Color;
    symbolCharset_ = font.Charset;
    StringGrid1.Font.Name = font.Name;
    ComboBox1.SetItemIndex(ComboBox1.IndexOf(font.Name));
    ComboBox2.SetItemIndex(ComboBox2.IndexOf(std::to_string(font.Size)));
    Panel2.Color = font.Color;
}

platform::TFont TFConfig::GetSymbolFont() const {
    platform::TFont font;
    font.Name = Edit1.Font.Name;
    font.Size = Edit1.Font.Size;
    font.Color = Edit1.Font.Color;
    font.Charset = symbolCharset_;
    return font;
}

void TFConfig::SetSymbolChar(char character) {
    Edit1.Text = std::string(1, character);
    const int code = static_cast<unsigned char>(character);
    StringGrid1.SetSelection(code % 16, code / 16);
}

char TFConfig::GetSymbolChar() const {
    // An emptied edit gives a blank, not a character from nowhere.
    return Edit1.Text.empty() ? ' ' : Edit1.Text.front();
}

void TFConfig::SetLinePen(const platform::TPen& pen) {
    DrawGrid1.CanvasPen = pen;
    Panel3.Color = pen.Color;
    // Moving the up-down rewrites the edit, whose change handler takes the width and sets the
    // style list up for it.
    UpDown1.SetPosition(pen.Width);
    Edit2Change();
    ComboBox3.SetItemIndex(pen.Style >= 0 && pen.Style < kPenStyleCount ? pen.Style : -1);
}

void TFConfig::SetFillBrush(const platform::TBrush& brush) {
    *fillBrush_ = brush;
    Panel5.Color = brush.Color;
    ComboBox4.SetItemIndex(FillStyleItem(BrushStyleNumber(brush)));
}

void TFConfig::SetLabelOptions(const TLabelOptions& options) {
    options_ = options;
    CheckBox1.Checked = options.Markowanie != 0;
    Checkbox2.Checked = options.Etykiety != 0;
    Checkbox2Click();
    ComboBox5.SetItemIndex(options_.NumerPola);
}

// ---- the user's actions

void TFConfig::StringGrid1SelectCell(int col, int row, bool& /*canSelect*/) {
    Edit1.Text = std::string(1, static_cast<char>(col + 16 * row));
}

void TFConfig::ComboBox1Change() {
    const std::string name = ComboBox1.SelectedText();
    if (name.empty()) return;
    Edit1.Font.Name = name;
    StringGrid1.Font.Name = name;
}

void TFConfig::ComboBox2Change() {
    if (auto size = platform::StrToIntStrict(ComboBox2.SelectedText())) Edit1.Font.Size = *size;
}

bool TFConfig::ChooseColor(platform::ColorRef& color) {
    platform::ColorDialog ColorDialog1;
    ColorDialog1.Color = color;
    ColorDialog1.Owner = ParentWindow;
    if (!ColorDialog1.Execute()) return false;
    color = ColorDialog1.Color;
    return true;
}

void TFConfig::Panel2Click() {
    if (ChooseColor(Edit1.Font.Color)) Panel2.Color = Edit1.Font.Color;
}

void TFConfig::ComboBox3Change() {
    if (ComboBox3.ItemIndex() < 0) return;
    DrawGrid1.CanvasPen.Style = ComboBox3.ItemIndex();
    DrawGrid1.Invalidate();
}

void TFConfig::ComboBox3DrawItem(platform::TCanvas& canvas, int index,
                                 const platform::DcRect& item) {
    canvas.Pen = platform::TPen{platform::clBlack, 1, index};
    const int middle = (item.top + item.bottom) / 2;
    canvas.MoveTo(item.left + 2, middle);
    canvas.LineTo(item.right - 2, middle);
}

void TFConfig::Edit2Change() {
    // A text that is no whole number, or one the up-down cannot show, goes back to its position.
    const std::optional<std::int32_t> width = platform::StrToIntStrict(Edit2.Text);
    if (width && *width >= UpDown1.Min && *width <= UpDown1.Max) {
        UpDown1.SetPosition(*width);
    } else {
        Edit2.Text = std::to_string(UpDown1.Position());
    }
    DrawGrid1.CanvasPen.Width = UpDown1.Position();
    // A wide pen always draws solid lines: the style list no longer applies.
    if (DrawGrid1.CanvasPen.Width >= 2) {
        ComboBox3.SetItemIndex(0);
        ComboBox3.Enabled = false;
    } else {
        ComboBox3.Enabled = true;
    }
    DrawGrid1.Invalidate();
}

void TFConfig::Panel3Click() {
    if (!ChooseColor(DrawGrid1.CanvasPen.Color)) return;
    Panel3.Color = DrawGrid1.CanvasPen.Color;
    DrawGrid1.Invalidate();
}

void TFConfig::DrawGrid1DrawCell(platform::TCanvas& canvas, const platform::DcRect& cell) {
    canvas.Brush = platform::TBrush{platform::clWhite, platform::BS_SOLID, 0};
    FillRect(canvas, cell);
    canvas.Pen = DrawGrid1.CanvasPen;
    const int middle = (cell.top + cell.bottom) / 2;
    canvas.MoveTo(cell.left + 2, middle);
    canvas.LineTo(cell.right - 2, middle);
}

void TFConfig::ComboBox4Change() {
    SetBrushStyleNumber(*fillBrush_, FillItemStyle(ComboBox4.ItemIndex()));
    DrawGrid2.Invalidate();
}

void TFConfig::ComboBox4DrawItem(platform::TCanvas& canvas, int index,
                                 const platform::DcRect& item) {
    const int style = FillItemStyle(index);
    const platform::DcRect r = Shrunk(item, 2);
    canvas.Pen = platform::TPen{platform::clBlack, 1, platform::PS_SOLID};
    canvas.Brush = platform::TBrush{style == 0 ? platform::clWhite : platform::clBlack};
    SetBrushStyleNumber(canvas.Brush, style);
    RectanglePolygon(canvas, r);
    const std::string* text = index == 0   ? &dt::FillSolid()
                              : index == 7 ? &dt::FillNone()
                                           : nullptr;
    if (text != nullptr) {
        canvas.Font.Color = platform::clBlack;
        canvas.SetTransparent(true);
        canvas.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
        canvas.TextOut(r.left, r.top, *text);
    }
}

void TFConfig::Panel5Click() {
    if (!ChooseColor(fillBrush_->Color)) return;
    Panel5.Color = fillBrush_->Color;
    DrawGrid2.Invalidate();
}

void TFConfig::DrawGrid2DrawCell(platform::TCanvas& canvas, const platform::DcRect& cell) {
    canvas.Brush = *fillBrush_;
    FillRect(canvas, Shrunk(cell, 2));
}

void TFConfig::CheckBox1Click() {
    options_.Markowanie = CheckBox1.Checked ? 1 : 0;
}

void TFConfig::FillFieldList() {
    platform::DbfTable table;
    table.Open(platform::ChangeFileExt(dbfFileName_, ".dbf"), platform::DbfTable::Mode::ReadShared);
    for (int i = 0; i < table.FieldCount(); ++i) ComboBox5.AddItem(table.Field(i).name);
    table.Close();
    ComboBox5.SetItemIndex(options_.NumerPola);
}

void TFConfig::Checkbox2Click() {
    options_.Etykiety = Checkbox2.Checked ? 1 : 0;
    if (!Checkbox2.Checked) {
        ComboBox5.Enabled = false;
        return;
    }
    ComboBox5.Enabled = true;
    ComboBox5.ClearItems();
    // Opening the dialog lets the table's error go to the caller; a click of the user shows it
    // and leaves the list empty.
    if (Showing()) {
        try {
            FillFieldList();
        } catch (const platform::DbfError& error) {
            platform::MessageBox(ParentWindow, error.what(), "",
                                 platform::MB_OK | platform::MB_ICONERROR);
        }
    } else {
        FillFieldList();
    }
}

void TFConfig::ComboBox5Change() {
    options_.NumerPola = ComboBox5.ItemIndex();
}
