#include "plugin/ExportMapTexts.h"

#include "platform/Cp1250.h"
#include "platform/UiService.h"

namespace exporttexts {
namespace {

std::string Cp(std::string_view utf8) {
    return platform::Utf8ToCp1250(utf8);
}

// "; obiekty kodu <code> zapisano w warstwie <code>".
std::string WrittenUnderCode(std::string_view code) {
    static const std::string before = Cp("; obiekty kodu ");
    static const std::string after = Cp(" zapisano w warstwie ");
    return before + std::string(code) + after + std::string(code);
}

}  // namespace

std::string SymbolFileError(std::string_view fileName) {
    static const std::string text = Cp("Błąd odczytu pliku symboli !!!") + "\n\r";
    return text + std::string(fileName);
}

const std::string& ChooseFolderCaption() {
    static const std::string text = Cp("Wybierz folder do zapisu plików SHP");
    return text;
}

const std::string& ProgressBuildingDbf() {
    static const std::string text = Cp("Budowanie pliku dbf");
    return text;
}

std::string FieldError(std::string_view field, std::string_view value) {
    static const std::string text = Cp("Błąd ");
    return text + std::string(field) + " " + std::string(value);
}

std::string FolderMissing(std::string_view folder) {
    static const std::string text = Cp("Brak folderu do zapisu plików SHP: ");
    return text + std::string(folder);
}

std::string FolderNotWritable(std::string_view folder) {
    static const std::string text = Cp("Nie można zapisać plików w folderze ");
    return text + std::string(folder);
}

std::string TableWriteError(std::string_view fileName) {
    static const std::string text = Cp("Błąd zapisu pliku ");
    return text + std::string(fileName);
}

std::string TableLayoutError(std::string_view fileName) {
    static const std::string text = Cp("Pola nie mieszczą się w nagłówku dBase III: ");
    return text + std::string(fileName);
}

std::string LayerNameRefused(std::string_view code, std::string_view name) {
    static const std::string before = Cp("Nazwa warstwy \"");
    static const std::string after = Cp("\" nie może być nazwą pliku w folderze wynikowym");
    return before + std::string(name) + after + WrittenUnderCode(code);
}

std::string LayerNameTaken(std::string_view code, std::string_view name) {
    static const std::string before = Cp("Warstwa \"");
    static const std::string after = Cp("\" ma już obiekty innego typu lub inne pola tabeli");
    return before + std::string(name) + after + WrittenUnderCode(code);
}

std::string LayerNotWritten(std::string_view code, std::string_view name) {
    static const std::string before = Cp("Obiektów kodu ");
    static const std::string after = Cp(" nie zapisano: warstwa \"");
    static const std::string last = Cp("\" ma już obiekty innego typu lub inne pola tabeli");
    return before + std::string(code) + after + std::string(name) + last;
}

std::string LayerWriteError(std::string_view fileName) {
    static const std::string text = Cp("Błąd zapisu warstwy ");
    static const std::string kept = Cp("; pozostawiono jej poprzednie pliki");
    return text + std::string(fileName) + kept;
}

std::string LayerLeftChanged(std::string_view fileName) {
    static const std::string text = Cp("Błąd zapisu warstwy ");
    static const std::string left =
        Cp("; inny program zmienił w tym czasie jej pliki, więc pozostawiono je takie, jakie są");
    return text + std::string(fileName) + left;
}

std::string AreasWithoutRing(std::string_view fileName, int count) {
    static const std::string before = Cp("Warstwa ");
    static const std::string after =
        Cp(": liczba obszarów o mniej niż trzech różnych punktach, zapisanych bez geometrii: ");
    return before + std::string(fileName) + after + std::to_string(count);
}

std::string NothingToExport(std::string_view mapName, int first, int last) {
    static const std::string before = Cp("Mapa ");
    static const std::string codes = Cp(" nie ma obiektów o kodach od ");
    static const std::string to = Cp(" do ");
    static const std::string after = Cp(": nie zapisano plików SHP");
    return before + std::string(mapName) + codes + std::to_string(first) + to +
           std::to_string(last) + after;
}

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace exporttexts
