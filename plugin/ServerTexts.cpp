#include "plugin/ServerTexts.h"

#include "model/ModelTexts.h"
#include "platform/Cp1250.h"
#include "platform/UiService.h"

namespace servertexts {
namespace {

std::string Cp(std::string_view utf8) {
    return platform::Utf8ToCp1250(utf8);
}

}  // namespace

// The description is the very text the server writes as the generator of its MAP files.
const std::string& Description() {
    return model_texts::ServerGenerator();
}

const std::string& FileMask() {
    static const std::string text = "ArcView (shp)|*.shp";
    return text;
}

const std::string& AboutCaption() {
    static const std::string text = "O programie";
    return text;
}

const std::string& AboutVersion() {
    static const std::string text = "wersja";
    return text;
}

const std::string& AboutModuleUsed() {
    static const std::string text = Cp("wykorzystano moduł");
    return text;
}

const std::string& AboutModuleName() {
    static const std::string text = "Vecta 32";
    return text;
}

const std::string& Ok() {
    static const std::string text = "OK";
    return text;
}

std::string FileSettingsWriteError(std::string_view fileName) {
    return Cp("Błąd zapisu pliku ") + std::string(fileName);
}

std::string FileSettingsNotRegular(std::string_view fileName) {
    return Cp("Plik ustawień ") + std::string(fileName) +
           Cp(" nie jest zwykłym plikiem: ustawienia nie są z niego wczytywane ani w nim "
              "zapisywane");
}

std::string FolderCreateError(std::string_view folder) {
    return Cp("Nie można utworzyć katalogu ") + std::string(folder);
}

std::string ShapeNameInvalid(std::string_view fileName) {
    return Cp("Niepoprawna nazwa pliku shp: ") + std::string(fileName);
}

void ShowConversionInterrupted() noexcept try {
    Show(Cp("Konwersja przerwana przez nieoczekiwany błąd"));
} catch (...) {
    // Nothing more can be said.
}

const std::string& TransformLibraryMissing() {
    static const std::string text =
        Cp("Brak biblioteki transformacji współrzędnych Rumbo - plik nie został zapisany");
    return text;
}

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace servertexts
