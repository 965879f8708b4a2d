#include "converter/PontraTexts.h"

#include "platform/Cp1250.h"

namespace pontratexts {
namespace {

std::string T(const char* utf8) {
    return platform::Utf8ToCp1250(utf8);
}

}  // namespace

std::string ApplicationTitle() {
    return T("Konwerter Topolin ArcView");
}
std::string HelpFileName() {
    return T("Ravmo.hlp");
}
std::string MainCaption() {
    return T("Konwerter SHP<>Topolin");
}
std::string ServerCreateError() {
    return T("Błąd tworzenia obiektu KWZ !");
}
std::string VersionText() {
    return T("2.0 Free");
}
std::string VersionPrefix() {
    return T("wersja ");
}
std::string MapFilter() {
    return T("TOPOLIN (*.map)|*.map");
}

std::string HintShpToMap() {
    return T("SHP -> MAP");
}
std::string HintMapToShp() {
    return T("MAP ->SHP");
}
std::string HintSettings() {
    return T("Konfiguracja");
}
std::string HintInformation() {
    return T("Informacje");
}
std::string MenuAbout() {
    return T("O programie");
}

std::string AboutCaption() {
    return T("O programie");
}
std::string AboutProgramName() {
    return T("Konwerter ArcView-TOPOLIN");
}
std::string AboutProgramHint() {
    return T("dzieło");
}
std::string AboutVersionDesign() {
    return T("---");
}
std::string AboutOk() {
    return T("OK");
}

}  // namespace pontratexts
