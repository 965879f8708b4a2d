#include "model/FormatSettings.h"

#include "platform/DecimalSeparator.h"

char TFormatSettings::GetDecimalSeparator() const {
    return platform::GetDecimalSeparator();
}

void TFormatSettings::SetDecimalSeparator(char Separator) const {
    platform::SetDecimalSeparator(Separator);
}
