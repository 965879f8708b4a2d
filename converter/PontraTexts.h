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

// Batch mode: the usage text (keys, actions, exit statuses), and its messages.
std::string UsageText();
std::string IncompleteCommand();  // followed by the keys missing
std::string UnknownAction();      // followed by the action given
std::string MissingShapeFile();   // followed by the file name
std::string MissingConfigFile();  // followed by the file name; a warning
std::string NotCp1250Argument();  // followed by the argument, in UTF-8

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
