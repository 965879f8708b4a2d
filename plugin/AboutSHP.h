#pragma once

#include "platform/Controls.h"
#include "platform/FileDialog.h"
#include "platform/Form.h"
#include "plugin/ServerTexts.h"

// The library's about box: its description and version over a sunken panel, and OK.
class TAboutSHP : public platform::Form {
  public:
    // Fixed dialog border, centred on the screen, font "MS Sans Serif".
    static constexpr int kClientWidth = 341;
    static constexpr int kClientHeight = 111;
    static constexpr int kTitleFontHeight = 16;  // pixels, Label4

    TAboutSHP();

    platform::Panel Panel1;  // sunken
    platform::Label Label1;
    platform::Label Label4;  // the description, centred across the panel
    platform::Label Label2{servertexts::AboutVersion()};
    platform::Label Label5{servertexts::AboutModuleUsed()};
    platform::Label Label6{servertexts::AboutModuleName()};
    platform::Button OKButton{*this, servertexts::Ok(), platform::mrOk};
    platform::OpenDialog OpenDialog1;  // part of the form; nothing opens it

    void Label6Click() {}

    platform::LayoutItem DescribeControls() override;

  protected:
    // The description and the version, with the decimal separator in force.
    void FormCreate() override;
};
