#include "transform/TransformTexts.h"

#include <array>

#include "platform/Cp1250.h"

namespace transform_texts {

const std::string& GeoidReadError() {
    static const std::string text = platform::Utf8ToCp1250("Błąd odczytu parametrów geoidy !\n\r");
    return text;
}

const std::string& GeoidNotRegular() {
    static const std::string text =
        platform::Utf8ToCp1250("Plik parametrów geoidy nie jest zwykłym plikiem !\n\r");
    return text;
}

const std::string& OutOfMemory() {
    static const std::string text = platform::Utf8ToCp1250("Brak pamięci");
    return text;
}

const std::string& CorrectionTooLarge() {
    static const std::string text = platform::Utf8ToCp1250(
        "Wartosc korekty jest zbyt duza\n\rPunkt wychodzi poza strefę ukladu 65");
    return text;
}

const std::string& ProjectionName(int row) {
    static const std::array<std::string, 7> names = {
        platform::Utf8ToCp1250("Układ 65 strefa 1"),
        platform::Utf8ToCp1250("Układ 65 strefa 2"),
        platform::Utf8ToCp1250("Układ 65 strefa 3"),
        platform::Utf8ToCp1250("Układ 65 strefa 4"),
        platform::Utf8ToCp1250("Układ 65 strefa 5"),
        std::string("GUGIK 80"),
        std::string("Odwzorowanie Albersa stosowane w PIG"),
    };
    static const std::string none;
    return row >= 0 && row < 7 ? names[row] : none;
}

}  // namespace transform_texts
