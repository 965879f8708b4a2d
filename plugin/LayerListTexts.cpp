#include "plugin/LayerListTexts.h"

#include "platform/Cp1250.h"
#include "platform/UiService.h"

namespace layertexts {
namespace {

std::string Cp(std::string_view utf8) {
    return platform::Utf8ToCp1250(utf8);
}

}  // namespace

const std::string& AddLayersFilter() {
    static const std::string text = "ArcView SHP|*.shp|Lista warstw SHP|*.spr";
    return text;
}

const std::string& DialogCaption() {
    static const std::string text = "Warstwy SHP";
    return text;
}

const std::string& SaveButton() {
    static const std::string text = "Zapis";
    return text;
}

const std::string& SaveFilter() {
    static const std::string text = "Lista warstw|*.spr";
    return text;
}

const std::string& SaveDefaultExt() {
    static const std::string text = "spr";
    return text;
}

const std::string& MenuSetActive() {
    static const std::string text = Cp("Ustaw jako aktywną");
    return text;
}

const std::string& MenuConfigure() {
    static const std::string text = "Konfiguracja";
    return text;
}

const std::string& MenuToBottom() {
    static const std::string text = Cp("Na sam dół");
    return text;
}

const std::string& MenuDown() {
    static const std::string text = Cp("Niżej");
    return text;
}

const std::string& MenuUp() {
    static const std::string text = Cp("Do góry");
    return text;
}

const std::string& MenuToTop() {
    static const std::string text = "Na wierzch";
    return text;
}

const std::string& MenuDelete() {
    static const std::string text = Cp("Usuń");
    return text;
}

const std::string& NotFound() {
    static const std::string text = "Nie znaleziono obiektu !";
    return text;
}

// A line feed, then a carriage return, between the two lines.
const std::string& NoActiveLayer() {
    static const std::string text = Cp("Brak aktywnej warstwy !\n\rProszę ustawić w konfiguracji");
    return text;
}

std::string ListReadError(std::string_view fileName) {
    return Cp("Błąd odczytu pliku ") + std::string(fileName);
}

std::string ListWriteError(std::string_view fileName) {
    return Cp("Błąd zapisu pliku ") + std::string(fileName);
}

std::string ListNotRegular(std::string_view fileName) {
    return Cp("Lista warstw ") + std::string(fileName) +
           Cp(" nie jest zwykłym plikiem: nie wczytano jej");
}

std::string ListTooLong(std::string_view fileName, std::size_t kept) {
    return Cp("Lista warstw ") + std::string(fileName) + Cp(" jest zbyt długa: wczytano ") +
           std::to_string(kept) + Cp(" pierwszych warstw");
}

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace layertexts
