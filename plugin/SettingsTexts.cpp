#include "plugin/SettingsTexts.h"

#include "platform/Cp1250.h"
#include "platform/UiService.h"

namespace settingstexts {

const std::string& DataError() {
    static const std::string text = platform::Utf8ToCp1250("Błąd danych !");
    return text;
}

const std::string& RegistryWriteError() {
    static const std::string text = platform::Utf8ToCp1250("Błąd zapisu ustawień w rejestrze !");
    return text;
}

const std::string& TpidOnlyInA1ToA6() {
    static const std::string text =
        platform::Utf8ToCp1250("Pole TPID może by umieszczone tylko w atrybutach A1 do A6");
    return text;
}

const std::string& TpidWithoutTextLink() {
    static const std::string text =
        platform::Utf8ToCp1250("Pole TPID nie może by przepisywane jesli nie wlaczono linku w TXT");
    return text;
}

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace settingstexts
