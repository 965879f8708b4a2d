#include "converter/PontraTexts.h"

#include <cstdio>

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

std::string UsageText() {
    return T(
        "Użycie: pontra [KLUCZ=wartość ...]\n"
        "Tryb wsadowy konwertuje bez okna:\n"
        "  pontra MAP=plik.map CFG=wsad.ini SHPDIR=folder ACTION=MAP2SHP\n"
        "      plik MAP na pliki shp (warstwy w folderze SHPDIR)\n"
        "  pontra SHP=plik.shp CFG=wsad.ini MAP=plik.map ACTION=SHP2MAP\n"
        "      plik shp (z tabelą dbf) na plik MAP\n"
        "Klucze MAP=, SHP=, CFG=, SHPDIR=, ACTION= bez względu na wielkość liter.\n"
        "Brak pliku CFG= daje ostrzeżenie: konwersja idzie z ustawieniami domyślnymi.\n"
        "Kod wyjścia:\n"
        "  0  konwersja zakończona, pliki zapisane\n"
        "  1  konwersja nieudana, nic nie zapisano albo tylko część (brak lub błąd pliku\n"
        "     wejściowego, nieodczytane rekordy, za długa nazwa, folder lub plik wynikowy\n"
        "     nie do zapisu, nic do konwersji, zapis niepotwierdzony przez dysk)\n"
        "  2  polecenie nie opisuje pełnej konwersji, nieznana akcja albo parametr\n"
        "     ze znakiem spoza strony kodowej Windows-1250\n"
        "Bez pełnej konwersji, przy dostępnym ekranie, program otwiera okno.\n"
        "  -h, --help  ten opis");
}
std::string IncompleteCommand() {
    return T("Polecenie nie opisuje pełnej konwersji; brak: ");
}
std::string UnknownAction() {
    return T("Nieznana akcja (dozwolone MAP2SHP i SHP2MAP): ");
}
std::string MissingShapeFile() {
    return T("Brak pliku shp: ");
}
std::string MissingConfigFile() {
    return T("Brak pliku konfiguracji; konwersja z ustawieniami domyślnymi: ");
}
std::string NotCp1250Argument() {
    return T("Parametr ze znakiem spoza strony kodowej Windows-1250: ");
}

std::string LibraryNotFound() {
    return T("Nie znaleziono biblioteki; szukano: ");
}
std::string LibraryNotLoaded() {
    return T("Nie można załadować biblioteki: ");
}

std::string CannotShowWindows() {
    return T("Nie można pokazać okien: ");
}
std::string RunningWithoutWindows() {
    return T("; program działa bez okien");
}
std::string UnknownUiChoice() {
    return T("Nieznana wartość KESTREL_UI (dozwolone qt i headless), wybór jak bez niej: ");
}

void Complain(const std::string& message, const std::string& about) {
    std::fprintf(stderr, "pontra: %s%s\n", platform::Cp1250ToUtf8(message).c_str(), about.c_str());
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
