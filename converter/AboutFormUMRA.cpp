#include "converter/AboutFormUMRA.h"

#include "converter/Form1.h"
#include "converter/PontraTexts.h"

TAboutFormUMRA::TAboutFormUMRA(const TForm1& mainWindow)
    : Form(pontratexts::AboutCaption()),
      progname(pontratexts::AboutProgramName()),
      wersja(pontratexts::AboutVersionDesign()),
      Button1(*this, pontratexts::AboutOk(), platform::mrOk),
      mainWindow_(mainWindow) {
    ClientWidth = kClientWidth;
    ClientHeight = kClientHeight;
    BorderIcons = 0;
    Panel1.BevelInner = platform::Bevel::bvRaised;
    Panel1.BevelOuter = platform::Bevel::bvLowered;
    progname.Align = platform::Alignment::taCenter;
    wersja.Align = platform::Alignment::taCenter;
    progname.Hint = pontratexts::AboutProgramHint();
    progname.Parent = &Panel1;
    wersja.Parent = &Panel1;
    Button1.Parent = &Panel1;
    Button1.Default = true;
}

void TAboutFormUMRA::FormCreate() {
    wersja.Caption = pontratexts::VersionPrefix() + mainWindow_.FVersionText();
}

platform::LayoutItem TAboutFormUMRA::DescribeControls() {
    using namespace platform;
    return Column({Holding(Panel1, Column({Stretch(), progname, wersja, Stretch(),
                                           Row({Stretch(), Button1, Stretch()})}))});
}
