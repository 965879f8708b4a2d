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

// The plug-in library could not be had: followed by the files looked for, or by the loader's
// own words. A line of its own below the object-creation error.
std::string LibraryNotFound();
std::string LibraryNotLoaded();

// Starting the window: followed by the reason; the reason followed by the second one when the
// program goes on headless; followed by the variable's value (UTF-8).
std::string CannotShowWindows();
std::string RunningWithoutWindows();
std::string UnknownUiChoice();

// Prints "pontra: ", one of these messages and what it is about (UTF-8) on standard error.
void Complain(const std::string& message, const std::string& about = {});

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
