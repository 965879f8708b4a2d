#pragma once

#include "platform/Controls.h"
#include "platform/Cp1250.h"
#include "platform/FileDialog.h"
#include "platform/Form.h"

// The conversion settings dialog: three tabs (MAP -> SHP, SHP -> MAP, general) over the fields of
// ConversionSettings, with OK and Anuluj below.
class TFConfConv : public platform::Form {
  public:
    static constexpr int kClientWidth = 383;
    static constexpr int kClientHeight = 297;

    TFConfConv();

    platform::PageControl PageControl1;
    platform::TabSheet TabSheet1{"MAP -> SHP"};
    platform::TabSheet TabSheet2{"SHP ->MAP"};
    platform::TabSheet TabSheet3{platform::Utf8ToCp1250("Ogólne")};

    // MAP -> SHP
    platform::GroupBox GroupBox1{"Kody"};
    platform::RadioGroup RadioGroup1{"2XXX", {"Point", "Arc"}};
    platform::RadioGroup RadioGroup2{"3XXX", {"Point", "Arc"}};
    platform::RadioGroup RadioGroup3{"4XXX", {"Arc"}};
    platform::RadioGroup RadioGroup4{"5XXX", {"Arc", "Polygon"}};
    platform::CheckBox CheckBox3{"Warstwy jak kody"};
    platform::CheckBox CheckBox4{
        platform::Utf8ToCp1250("Opuszczanie obiektów 4xxx i 5xxx z jednym punktem")};
    platform::CheckBox CheckBox5{platform::Utf8ToCp1250("Zamiana niezamkniętych 5xxx na 4xxx")};
    platform::CheckBox CheckBox1{"Wszystkie atrybuty do pliku DBF"};

    // SHP -> MAP: the codes are a literal first digit and three digits each.
    platform::GroupBox GroupBox2{"Kody"};
    platform::Label Label1{"Point"};
    platform::Label Label2{"Arc"};
    platform::Label Label3{"Polygon"};
    platform::Label Label4{"Multipoint"};
    platform::MaskEdit MaskEdit1{"\\1000;1;_"};
    platform::MaskEdit MaskEdit2{"\\4000;1;_"};
    platform::MaskEdit MaskEdit3{"\\5000;1;_"};
    platform::MaskEdit MaskEdit4{"\\4000;1;_"};
    platform::CheckBox CheckBox2{
        platform::Utf8ToCp1250("Przepisywanie zawartości pliku DBF do atrybutów")};
    platform::CheckBox CheckBox6{"Korzystaj z konfiguracji w plikach"};
    platform::CheckBox CheckBox8{platform::Utf8ToCp1250("Zamykanie poligonów")};
    platform::CheckBox CheckBox9{platform::Utf8ToCp1250("Rozbijanie złożonych \"Arc\"")};
    platform::CheckBox CheckBox10{platform::Utf8ToCp1250("Pytanie o nazwę pliku map do zapisu")};

    // General
    platform::RadioGroup RadioGroup5{"Standard polskich liter w DBF",
                                     {"Mazovia", "Latin 2", "Windows 1250", "ISO 88592"}};
    platform::GroupBox GroupBox3{"Nazwy warstw"};
    platform::CheckBox CheckBox7{"Korzystaj z pliku SYM"};
    platform::Edit SYMNAME;
    platform::Button SYMFind{*this, "..."};

    platform::Panel Panel1;
    platform::Button Button1{*this, "OK", platform::mrOk};
    platform::Button Button2{*this, "Anuluj", platform::mrCancel};

    platform::OpenDialog OpenSYM;

    // Browses for the symbol file, starting from the name shown.
    void SYMFindClick();

    platform::LayoutItem DescribeControls() override;

  protected:
    void FormCreate() override;
};

// Shows the settings dialog over the settings stored in the registry (in-memory changes are
// discarded) and, on OK, takes the controls into ConversionSettings and saves it; a code that is
// no number is reported and keeps, with the codes after it, the stored value. True when the
// dialog was confirmed and the settings were saved; a failed save is reported to the user.
bool EditConversionSettings();
