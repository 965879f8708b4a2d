#include "converter/AboutFormUMRA.h"

#include "converter/Form1.h"
#include "converter/PontraTexts.h"

TAboutFormUMRA::TAboutFormUMRA(const TForm1& mainWindow)
    : Form(pontratexts::AboutCaption()),
      progname(pontratexts::AboutProgramName()),
      wersja(pontratexts::AboutVersionDesign()),
      Button1(*this, pontratexts::AboutOk(), platform::mrOk),
      mainWindow_(mainWindow) {
    progname.Hint = pontratexts::AboutProgramHint();
    progname.Parent = &Panel1;
    wersja.Parent = &Panel1;
    Button1.Parent = &Panel1;
    Button1.Default = true;
}

void TAboutFormUMRA::FormCreate() {
    wersja.Caption = pontratexts::VersionPrefix() + mainWindow_.FVersionText();
}
