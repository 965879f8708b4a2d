#include "plugin/AboutSHP.h"

#include "platform/NumberText.h"
#include "plugin/LibraryVersion.h"

TAboutSHP::TAboutSHP() : platform::Form(servertexts::AboutCaption()) {
    for (platform::Label* label : {&Label1, &Label4, &Label2, &Label5, &Label6})
        label->Parent = &Panel1;
    OKButton.Parent = &Panel1;
    ClientWidth = kClientWidth;
    ClientHeight = kClientHeight;
    Panel1.BevelOuter = platform::Bevel::bvLowered;
    Label4.Align = platform::Alignment::taCenter;
    Label2.Align = platform::Alignment::taCenter;
    // 16 pixels at the screen's 96 dots per inch.
    Label4.Font.Size = kTitleFontHeight * 72 / 96;
    Label6.Font.Color = platform::clBlue;
    Label6.Font.Underline = true;
    Label6.Cursor = platform::crHandPoint;
    Label6.OnClick = [this] { Label6Click(); };
    OKButton.Default = true;
}

platform::LayoutItem TAboutSHP::DescribeControls() {
    using namespace platform;
    return Column({Holding(Panel1, {Label4, Label2, Row({Stretch(), Label5, Label6, Stretch()}),
                                    Row({Stretch(), OKButton, Stretch()})})});
}

void TAboutSHP::FormCreate() {
    Label4.Caption = servertexts::Description();
    Label2.Caption = Label2.Caption + " " + platform::FormatFixed(LibraryVersion / 100, 2);
}
