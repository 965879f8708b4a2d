#include "shape/BatchConfigTexts.h"

#include "platform/Cp1250.h"
#include "platform/UiService.h"

namespace batchtexts {

std::string ConnectionFailed(std::string_view databasePath) {
    return "Blad polaczenia " + std::string(databasePath);
}

std::string BadRecordId(std::string_view id) {
    return "ID rekordu " + std::string(id) + " nie jest poprawny";
}

std::string NotText(std::string_view fileName) {
    static const std::string text0 = platform::Utf8ToCp1250("Plik konfiguracji ");
    static const std::string text1 =
        platform::Utf8ToCp1250(" nie jest plikiem tekstowym - przyjęto ustawienia domyślne");
    return text0 + std::string(fileName) + text1;
}

std::string TooLarge(std::string_view fileName) {
    static const std::string text0 = platform::Utf8ToCp1250("Plik konfiguracji ");
    static const std::string text1 =
        platform::Utf8ToCp1250(" jest za duży (ponad 1 MB) - przyjęto ustawienia domyślne");
    return text0 + std::string(fileName) + text1;
}

std::string NotRegular(std::string_view fileName) {
    static const std::string text0 = platform::Utf8ToCp1250("Plik konfiguracji ");
    static const std::string text1 =
        platform::Utf8ToCp1250(" nie jest zwykłym plikiem - przyjęto ustawienia domyślne");
    return text0 + std::string(fileName) + text1;
}

std::string DatabaseNotRegular(std::string_view databasePath) {
    static const std::string text0 = platform::Utf8ToCp1250("Plik bazy danych ");
    static const std::string text1 = platform::Utf8ToCp1250(" nie jest zwykłym plikiem");
    return text0 + std::string(databasePath) + text1;
}

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace batchtexts
