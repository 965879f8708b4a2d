#include "shape/BatchConfigTexts.h"

#include "platform/UiService.h"

namespace batchtexts {

std::string ConnectionFailed(std::string_view databasePath) {
    return "Blad polaczenia " + std::string(databasePath);
}

std::string BadRecordId(std::string_view id) {
    return "ID rekordu " + std::string(id) + " nie jest poprawny";
}

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace batchtexts
