#include "model/ModelTexts.h"

#include "platform/Cp1250.h"

namespace model_texts {

// The resource texts are formats with the file name as their one argument; each fits the
// 40-byte buffer that the file-result box loads them into.
const platform::StringTable& Resources() {
    static const platform::StringTable table{
        {kResFileError, "Błąd dostępu do pliku %s"},
        {kResReadError, "Błąd odczytu pliku %s"},
        {kResNotMapFile, "To nie jest plik MAP: %s"},
        {kResMapTooNew, "Nieobsługiwana wersja pliku MAP: %s"},
    };
    return table;
}

const std::string& ReadErrorInLine() {
    static const std::string text = platform::Utf8ToCp1250("Błąd odczytu w wierszu: ");
    return text;
}

const std::string& BadNumbersInLines() {
    static const std::string text = platform::Utf8ToCp1250(
        "Błędne liczby w wierszach pliku %s: %s, pierwszy błędny wiersz: %s");
    return text;
}

const std::string& LineNeverEnds() {
    static const std::string text = platform::Utf8ToCp1250(
        "Wiersz %s nie kończy się przez ponad 1 MB: to nie jest plik MAP, reszty pliku nie "
        "wczytano");
    return text;
}

const std::string& MoreThanAMapHolds() {
    static const std::string text = platform::Utf8ToCp1250(
        "Plik jest większy, niż może być mapa: wczytano %s wierszy, reszty pliku nie wczytano");
    return text;
}

const std::string& NotRegularFile() {
    static const std::string text = platform::Utf8ToCp1250("Plik %s nie jest zwykłym plikiem");
    return text;
}

const std::string& ServerGenerator() {
    static const std::string text =
        platform::Utf8ToCp1250("Serwer plików shp (ArcView) dla TOPOLIN");
    return text;
}

const std::string& MissingSymbolSuffix() {
    static const std::string text = platform::Utf8ToCp1250(" Brak w bibliotece symboli");
    return text;
}

}  // namespace model_texts
