#pragma once

#include "platform/Controls.h"
#include "platform/Cp1250.h"
#include "platform/Form.h"

// The choice of map attributes written to an exported dBase file: twelve check boxes, all
// ticked in the form's own design.
class TFATB : public platform::Form {
  public:
    TFATB();

    platform::GroupBox GroupBox1{"Atrybuty TOPOLIN"};
    platform::CheckBox CheckBox10{"KOD"};
    platform::CheckBox CheckBox1{"Atrybut 1"};
    platform::CheckBox CheckBox2{"Atrybut 2"};
    platform::CheckBox CheckBox3{"Atrybut 3"};
    platform::CheckBox CheckBox4{"Atrybut 4"};
    platform::CheckBox CheckBox5{"Atrybut 5"};
    platform::CheckBox CheckBox6{"Atrybut 6"};
    platform::CheckBox CheckBox7{"Uwagi"};
    platform::CheckBox CheckBox8{"Data wprowadzenia"};
    platform::CheckBox CheckBox9{"KEM"};
    platform::CheckBox MP{"Metoda pozyskania"};
    platform::CheckBox FA{"Wypelnienie"};
    platform::Button Button1{*this, "OK", platform::mrOk};
    platform::Button Button2{*this, "Anuluj", platform::mrCancel};

    platform::LayoutItem DescribeControls() override;
};

// Shows the field choice over the choice stored in the registry and, on OK, takes and saves it.
// True when confirmed and saved; a failed save is reported to the user.
bool EditAttributesToDbf();
