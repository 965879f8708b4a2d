#include "plugin/UConfigConv.h"

#include <array>
#include <initializer_list>
#include <optional>
#include <string>

#include "platform/NumberText.h"
#include "platform/ShortString.h"
#include "plugin/ConversionSettings.h"
#include "plugin/SettingsTexts.h"

namespace {

// Items of RadioGroup5 and the code pages they stand for; code pages 1 and 4 have no item and
// show as Windows 1250.
constexpr std::array<std::int32_t, 4> kCodePageOfItem = {5, 2, 3, 6};
constexpr int kWindows1250Item = 2;

int CodePageItem(std::int32_t codePage) {
    for (std::size_t i = 0; i < kCodePageOfItem.size(); ++i)
        if (kCodePageOfItem[i] == codePage) return static_cast<int>(i);
    return kWindows1250Item;
}

void FillControls(TFConfConv& f, const TConversionSettings& s) {
    f.RadioGroup1.SetItemIndex(s._2XXX);
    f.RadioGroup2.SetItemIndex(s._3XXX);
    f.RadioGroup3.SetItemIndex(s._4XXX);
    f.RadioGroup4.SetItemIndex(s._5XXX);
    f.CheckBox1.Checked = s.ATB;
    f.MaskEdit1.SetText(std::to_string(s.Point));
    f.MaskEdit2.SetText(std::to_string(s.Arc));
    f.MaskEdit3.SetText(std::to_string(s.Polygon));
    f.MaskEdit4.SetText(std::to_string(s.Multipoint));
    f.CheckBox2.Checked = s.BTA;
    f.CheckBox3.Checked = s.KNW;
    f.CheckBox4.Checked = s.U45;
    f.CheckBox5.Checked = s.Z54;
    f.CheckBox6.Checked = s.INI;
    f.CheckBox8.Checked = s.DomykacPoligon;
    f.CheckBox9.Checked = s.RozbijajArc;
    f.CheckBox7.Checked = s.KorzystajZSym;
    f.CheckBox10.Checked = s.NazwaPlikuSHPMAP;
    f.SYMNAME.Text = s.PlikSym.Str();
    f.RadioGroup5.SetItemIndex(CodePageItem(s.PLKODY));
}

// Takes the controls back into the record. False when a code text is no number: that code and
// the ones after it keep their values.
bool TakeControls(const TFConfConv& f, TConversionSettings& s) {
    s.ATB = f.CheckBox1.Checked;
    s.BTA = f.CheckBox2.Checked;
    s.KNW = f.CheckBox3.Checked;
    s.U45 = f.CheckBox4.Checked;
    s.Z54 = f.CheckBox5.Checked;
    s.INI = f.CheckBox6.Checked;
    s._2XXX = f.RadioGroup1.ItemIndex();
    s._3XXX = f.RadioGroup2.ItemIndex();
    s._4XXX = f.RadioGroup3.ItemIndex();
    s._5XXX = f.RadioGroup4.ItemIndex();
    s.NazwaPlikuSHPMAP = f.CheckBox10.Checked;
    s.RozbijajArc = f.CheckBox9.Checked;
    s.KorzystajZSym = f.CheckBox7.Checked;
    s.DomykacPoligon = f.CheckBox8.Checked;
    s.PlikSym = platform::Cut(f.SYMNAME.Text);
    const int item = f.RadioGroup5.ItemIndex();
    if (item >= 0 && item < static_cast<int>(kCodePageOfItem.size()))
        s.PLKODY = kCodePageOfItem[static_cast<std::size_t>(item)];

    const auto point = platform::StrToIntStrict(f.MaskEdit1.Text);
    if (!point) return false;
    s.Point = *point;
    const auto arc = platform::StrToIntStrict(f.MaskEdit2.Text);
    if (!arc) return false;
    s.Arc = *arc;
    const auto polygon = platform::StrToIntStrict(f.MaskEdit3.Text);
    if (!polygon) return false;
    s.Polygon = *polygon;
    const auto multipoint = platform::StrToIntStrict(f.MaskEdit4.Text);
    if (!multipoint) return false;
    s.Multipoint = *multipoint;
    return true;
}

}  // namespace

TFConfConv::TFConfConv() : Form(platform::Utf8ToCp1250("Konfiguracja konwersji")) {
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &GroupBox1, &CheckBox3, &CheckBox4, &CheckBox5, &CheckBox1})
        c->Parent = &TabSheet1;
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &RadioGroup1, &RadioGroup2, &RadioGroup3, &RadioGroup4})
        c->Parent = &GroupBox1;
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &GroupBox2, &CheckBox2, &CheckBox6, &CheckBox8, &CheckBox9, &CheckBox10})
        c->Parent = &TabSheet2;
    for (platform::Control* c : std::initializer_list<platform::Control*>{
             &Label1, &Label2, &Label3, &Label4, &MaskEdit1, &MaskEdit2, &MaskEdit3, &MaskEdit4})
        c->Parent = &GroupBox2;
    RadioGroup5.Parent = &TabSheet3;
    GroupBox3.Parent = &TabSheet3;
    for (platform::Control* c :
         std::initializer_list<platform::Control*>{&CheckBox7, &SYMNAME, &SYMFind})
        c->Parent = &GroupBox3;
    Button1.Parent = &Panel1;
    Button2.Parent = &Panel1;
    PageControl1.AddPage(TabSheet1);
    PageControl1.AddPage(TabSheet2);
    PageControl1.AddPage(TabSheet3);

    ClientWidth = kClientWidth;
    ClientHeight = kClientHeight;
    CheckBox8.Enabled = false;  // polygons are always closed
    SYMNAME.ReadOnly = true;
    Button1.Default = true;
    Button2.Cancel = true;

    OpenSYM.Title = "Wybierz plik z symbolami TOPOLIN";
    OpenSYM.Filter = "Symbole TOPOLIN|*.sym";
    OpenSYM.DefaultExt = "sym";
    OpenSYM.FileName = std::string(kDefaultSymbolFile);

    SYMFind.OnClick = [this] { SYMFindClick(); };
}

void TFConfConv::FormCreate() {
    PageControl1.SetActivePage(&TabSheet1);
}

platform::LayoutItem TFConfConv::DescribeControls() {
    using namespace platform;
    return Column({
        Holding(PageControl1,
                {Holding(TabSheet1, {Holding(GroupBox1, Row({RadioGroup1, RadioGroup2, RadioGroup3,
                                                             RadioGroup4})),
                                     CheckBox3, CheckBox4, CheckBox5, CheckBox1, Stretch()}),
                 Holding(TabSheet2,
                         {Holding(GroupBox2, Grid(4, {Label1, Label2, Label3, Label4, MaskEdit1,
                                                      MaskEdit2, MaskEdit3, MaskEdit4})),
                          CheckBox2, CheckBox6, CheckBox8, CheckBox9, CheckBox10, Stretch()}),
                 Holding(TabSheet3,
                         {RadioGroup5,
                          Holding(GroupBox3, {CheckBox7, Row({SYMNAME, Sized(SYMFind, 28, 0)})}),
                          Stretch()})}),
        Holding(Panel1, Row({Stretch(), Button1, Button2})),
    });
}

void TFConfConv::SYMFindClick() {
    if (!SYMNAME.Text.empty()) OpenSYM.FileName = SYMNAME.Text;
    if (OpenSYM.Execute()) SYMNAME.Text = OpenSYM.FileName;
}

bool EditConversionSettings() {
    auto form = platform::CreateForm<TFConfConv>();
    LoadConversionSettings();
    FillControls(*form, ConversionSettings);
    if (form->ShowModal() != platform::mrOk) return false;
    if (!TakeControls(*form, ConversionSettings)) settingstexts::Show(settingstexts::DataError());
    if (!SaveConversionSettings()) {
        settingstexts::Show(settingstexts::RegistryWriteError());
        return false;
    }
    return true;
}
