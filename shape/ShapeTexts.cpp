#include "shape/ShapeTexts.h"

#include "platform/Cp1250.h"
#include "platform/UiService.h"

namespace shapetexts {
namespace {

std::string Cp(std::string_view utf8) {
    return platform::Utf8ToCp1250(utf8);
}

}  // namespace

const std::string& EmptyGeometry(std::int32_t shapeType) {
    static const std::string arc = Cp("Obiekt ARC bez punktów");
    static const std::string lineM = Cp("Obiekt PolyLineM bez punktów");
    static const std::string lineZ = Cp("Obiekt PolyLineZ bez punktów");
    static const std::string polygon = Cp("Obiekt POLYGON bez punktów");
    static const std::string patch = Cp("Obiekt MultiPatch bez punktów");
    static const std::string multi = Cp("Obiekt MultiPoint bez punktów");
    static const std::string multiM = Cp("Obiekt MultiPointM bez punktów");
    static const std::string multiZ = Cp("Obiekt MultiPointZ bez punktów");
    static const std::string none;
    switch (shapeType) {
        case 3:
            return arc;
        case 23:
            return lineM;
        case 13:
            return lineZ;
        case 5:
        case 15:
        case 25:
            return polygon;
        case 31:
            return patch;
        case 8:
            return multi;
        case 28:
            return multiM;
        case 18:
            return multiZ;
        default:
            return none;
    }
}

std::string UnsupportedType(std::int32_t shapeType) {
    static const std::string text0 = Cp("Nieobslugiwany typ danych ");
    return text0 + std::to_string(shapeType) + " !";
}

std::string UnsupportedVersion(std::string_view name, std::int32_t version) {
    static const std::string text0 = Cp("Nieobsługiwana wersja ");
    static const std::string text1 = Cp(" pliku ");
    return text0 + std::to_string(version) + text1 + std::string(name) + " !";
}

std::string RecordReadError(std::int32_t recordNumber) {
    static const std::string text0 = Cp("Błąd odczytu rekordu numer ");
    static const std::string text1 = Cp("Proszę usunąć błąd w danych źródłowych !!!");
    static const std::string text2 = Cp("Dane wynikowe moga nie być poprawne !!!");
    // The line breaks are LF followed by CR.
    return text0 + std::to_string(recordNumber) + "\n\r" + text1 + "\n\r" + text2;
}

std::string RecordsReadError(std::int64_t count, std::int64_t firstNumber) {
    if (count == 1) return RecordReadError(static_cast<std::int32_t>(firstNumber));
    static const std::string text0 = Cp("Błąd odczytu ");
    static const std::string text1 = Cp(" rekordów, pierwszy numer ");
    static const std::string text2 = Cp("Proszę usunąć błąd w danych źródłowych !!!");
    static const std::string text3 = Cp("Dane wynikowe moga nie być poprawne !!!");
    return text0 + std::to_string(count) + text1 + std::to_string(firstNumber) + "\n\r" + text2 +
           "\n\r" + text3;
}

std::string WrongRecordTypes(std::int64_t count) {
    if (count == 1) return WrongRecordType();
    static const std::string text0 = Cp("Błędny typ ");
    static const std::string text1 = Cp(" rekordów !");
    return text0 + std::to_string(count) + text1;
}

std::string IndexMismatch(std::string_view indexName) {
    static const std::string text0 = Cp("Indeks ");
    static const std::string text1 = Cp(" nie zgadza się z plikiem shp !");
    static const std::string text2 = Cp("Dane wynikowe moga nie być poprawne !!!");
    return text0 + std::string(indexName) + text1 + "\n\r" + text2;
}

const std::string& WrongRecordType() {
    static const std::string text = Cp("Błędny typ rekordu !");
    return text;
}

const std::string& EmptyFileName() {
    static const std::string text = Cp("Pusta nazwa pliku");
    return text;
}

std::string MissingIndex(std::string_view name) {
    static const std::string text0 = Cp("Brak pliku indeksu ");
    return text0 + std::string(name) + " !";
}

std::string NotRegularFile(std::string_view name) {
    static const std::string text1 = Cp(" nie jest zwykłym plikiem: nie wczytano go");
    return "Plik " + std::string(name) + text1;
}

std::string StyleNotRegular(std::string_view name) {
    static const std::string text0 = Cp("Plik stylu ");
    static const std::string text1 =
        Cp(" nie jest zwykłym plikiem: styl warstwy nie jest z niego wczytywany ani w nim "
           "zapisywany");
    return text0 + std::string(name) + text1;
}

std::string BadHeader(std::string_view name) {
    static const std::string text0 = Cp("Niepoprawny nagłówek pliku ");
    return text0 + std::string(name) + " !";
}

std::string WriteError(std::string_view name) {
    static const std::string text0 = Cp("Błąd zapisu pliku ");
    return text0 + std::string(name) + " !";
}

const std::string& ProgressLoading() {
    static const std::string text = Cp("Odczyt pliku");
    return text;
}

const std::string& ProgressSaving() {
    static const std::string text = Cp("Zapis pliku shp");
    return text;
}

std::string DbfNotStandard(std::string_view reason) {
    static const std::string text0 = Cp("Plik DBF niezgodny ze standardem dBase III+");
    return text0 + "\n\r" + std::string(reason);
}

std::string DbfTooLong(char type, std::string_view name) {
    static const std::string text0 = Cp("Zbyt dlugie pole typu <");
    return text0 + type + "> w <" + std::string(name) + ">";
}

std::string DbfBadLength(char type, std::string_view name) {
    static const std::string text0 = Cp("Niepoprawna dlugosc pola typu <");
    return text0 + type + "> w <" + std::string(name) + ">";
}

std::string DbfUndefinedType(char type, std::string_view name) {
    static const std::string text0 = Cp("Niezdefiniowany typ pola <");
    return text0 + type + "> " + std::string(name);
}

std::string DbfBadHeaderLength(std::int32_t length) {
    return "Niepoprawna dlugosc naglowka <" + std::to_string(length) + ">";
}

std::string DbfBadRecordLength(std::int32_t length) {
    return "Niepoprawna dlugosc rekordu <" + std::to_string(length) + ">";
}

std::string DbfBadRecordCount(std::uint32_t count) {
    return "Niepoprawna liczba rekordow <" + std::to_string(count) + ">";
}

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace shapetexts
