#pragma once

#include <string>

// The converter's own texts, in Windows-1250.
namespace pontratexts {

std::string ApplicationTitle();   // "Konwerter Topolin ArcView"
std::string HelpFileName();       // "Ravmo.hlp"
std::string MainCaption();        // "Konwerter SHP<>Topolin"
std::string ServerCreateError();  // "Błąd tworzenia obiektu KWZ !"
std::string VersionText();        // "2.0 Free"
std::string VersionPrefix();      // "wersja "
std::string MapFilter();          // "TOPOLIN (*.map)|*.map"

std::string HintShpToMap();
std::string HintMapToShp();
std::string HintSettings();
std::string HintInformation();
std::string MenuAbout();  // "O programie"

std::string AboutCaption();
std::string AboutProgramName();
std::string AboutProgramHint();
std::string AboutVersionDesign();
std::string AboutOk();

}  // namespace pontratexts
