#include "plugin/SaveAsMapTexts.h"

#include "platform/Cp1250.h"
#include "platform/UiService.h"

namespace saveasmaptexts {

const std::string& SaveDialogTitle() {
    static const std::string text = "Zapis pliku TOPOLIN";
    return text;
}

const std::string& SaveDialogFilter() {
    static const std::string text = "Pliki TOPOLIN|*.map";
    return text;
}

const std::string& Generator() {
    static const std::string text =
        platform::Utf8ToCp1250("Serwer plików shp (ArcView) dla TOPOLIN");
    return text;
}

std::string OpenError(std::string_view fileName) {
    static const std::string text = platform::Utf8ToCp1250("Błąd otwarcia pliku ");
    return text + std::string(fileName);
}

std::string FewerRows(std::string_view fileName, int rows, int records) {
    return platform::Utf8ToCp1250("Tabela ") + std::string(fileName) +
           platform::Utf8ToCp1250(" ma mniej wierszy (") + std::to_string(rows) +
           platform::Utf8ToCp1250(") niż plik shp rekordów (") + std::to_string(records) +
           platform::Utf8ToCp1250("); obiekty bez wiersza nie dostały atrybutów z tabeli");
}

std::string LinkTableNotWritten(std::string_view fileName, std::string_view reason) {
    return platform::Utf8ToCp1250("Nie zapisano pliku ") + std::string(fileName) + "\n" +
           std::string(reason);
}

std::string FolderMissing(std::string_view folder) {
    static const std::string text = platform::Utf8ToCp1250("Brak folderu do zapisu pliku MAP: ");
    return text + std::string(folder);
}

std::string TableNotRegular(std::string_view tableName, std::string_view mapName) {
    return platform::Utf8ToCp1250("Tabela ") + std::string(tableName) +
           platform::Utf8ToCp1250(" nie jest zwykłym plikiem: nie zapisano pliku ") +
           std::string(mapName);
}

std::string NothingToWrite(std::string_view shapeName, std::string_view mapName) {
    return platform::Utf8ToCp1250("Plik ") + std::string(shapeName) +
           platform::Utf8ToCp1250(" nie ma obiektów z punktami: nie zapisano pliku ") +
           std::string(mapName);
}

std::string RecordsLost(std::string_view shapeName, std::int64_t read, std::int64_t held,
                        std::string_view mapName, bool written) {
    const std::string counts = platform::Utf8ToCp1250("Odczytano tylko ") + std::to_string(read) +
                               " z " + std::to_string(held) +
                               platform::Utf8ToCp1250(" rekordów pliku ") + std::string(shapeName);
    if (!written) return counts + "; nie zapisano pliku " + std::string(mapName);
    return counts + "; plik " + std::string(mapName) + " zawiera tylko odczytane obiekty";
}

const std::string& NotPutInPlace() {
    static const std::string text =
        platform::Utf8ToCp1250("Nie można zastąpić poprzednich plików nowymi");
    return text;
}

std::string MapLeftChanged(std::string_view mapName) {
    return platform::Utf8ToCp1250("Błąd zapisu pliku ") + std::string(mapName) +
           platform::Utf8ToCp1250(
               "; inny program zmienił w tym czasie jego pliki, więc pozostawiono je takie, jakie "
               "są");
}

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace saveasmaptexts
