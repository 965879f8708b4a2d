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
    return Cp("Nieobslugiwany typ danych ") + std::to_string(shapeType) + " !";
}

std::string RecordReadError(std::int32_t recordNumber) {
    // The line breaks are LF followed by CR.
    return Cp("Błąd odczytu rekordu numer ") + std::to_string(recordNumber) + "\n\r" +
           Cp("Proszę usunąć błąd w danych źródłowych !!!") + "\n\r" +
           Cp("Dane wynikowe moga nie być poprawne !!!");
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
    return Cp("Brak pliku indeksu ") + std::string(name) + " !";
}

std::string BadHeader(std::string_view name) {
    return Cp("Niepoprawny nagłówek pliku ") + std::string(name) + " !";
}

std::string WriteError(std::string_view name) {
    return Cp("Błąd zapisu pliku ") + std::string(name) + " !";
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
    return Cp("Plik DBF niezgodny ze standardem dBase III+") + "\n\r" + std::string(reason);
}

std::string DbfTooLong(char type, std::string_view name) {
    return Cp("Zbyt dlugie pole typu <") + type + "> w <" + std::string(name) + ">";
}

std::string DbfBadLength(char type, std::string_view name) {
    return Cp("Niepoprawna dlugosc pola typu <") + type + "> w <" + std::string(name) + ">";
}

std::string DbfUndefinedType(char type, std::string_view name) {
    return Cp("Niezdefiniowany typ pola <") + type + "> " + std::string(name);
}

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace shapetexts
