#include "platform/DecimalSeparator.h"

#include <langinfo.h>
#include <locale.h>

namespace platform {
namespace {

char SeparatorOfUserLocale() {
    char result = '.';
    locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (loc != static_cast<locale_t>(nullptr)) {
        const char* radix = nl_langinfo_l(RADIXCHAR, loc);
        if (radix != nullptr && radix[0] != '\0' && radix[1] == '\0') result = radix[0];
        freelocale(loc);
    }
    return result;
}

char& Separator() {
    static char separator = SeparatorOfUserLocale();
    return separator;
}

}  // namespace

char GetDecimalSeparator() {
    return Separator();
}

void SetDecimalSeparator(char separator) {
    Separator() = separator;
}

}  // namespace platform
