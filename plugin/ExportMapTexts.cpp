#include "plugin/ExportMapTexts.h"

#include "platform/Cp1250.h"
#include "platform/UiService.h"

namespace exporttexts {
namespace {

std::string Cp(std::string_view utf8) {
    return platform::Utf8ToCp1250(utf8);
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

void Show(std::string_view text) {
    platform::MessageBox(0, text, "", platform::MB_OK);
}

}  // namespace exporttexts
