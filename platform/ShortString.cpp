#include "platform/ShortString.h"

#include "platform/Cp1250.h"
#include "platform/UiService.h"

namespace platform {

bool NameFits(std::string_view name) {
    if (Fits(name)) return true;
    static const std::string text =
        Utf8ToCp1250("Za długa nazwa (ponad " + std::to_string(kShortStringMax) + " znaków): ");
    MessageBox(0, text + std::string(name), "", MB_OK);
    return false;
}

}  // namespace platform
