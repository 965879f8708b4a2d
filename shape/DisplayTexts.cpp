#include "shape/DisplayTexts.h"

#include "platform/Cp1250.h"

namespace displaytexts {
namespace {

std::string Cp(std::string_view utf8) {
    return platform::Utf8ToCp1250(utf8);
}

}  // namespace

#define DISPLAY_TEXT(name, literal)                  \
    const std::string& name() {                      \
        static const std::string text = Cp(literal); \
        return text;                                 \
    }

DISPLAY_TEXT(SectionPoint, "Punkt")
DISPLAY_TEXT(SectionLine, "Linia")
DISPLAY_TEXT(SectionArea, "Powierzchnia")
DISPLAY_TEXT(SectionView, "Widok")
DISPLAY_TEXT(KeyFontName, "Zestaw")
DISPLAY_TEXT(KeyFontSize, "Wielkość")
DISPLAY_TEXT(KeyColor, "Kolor")
DISPLAY_TEXT(KeySymbol, "Kod")
DISPLAY_TEXT(KeyWidth, "Szerokość")
DISPLAY_TEXT(KeyStyle, "Styl")
DISPLAY_TEXT(KeyMarks, "Markowanie")
DISPLAY_TEXT(KeyLabels, "Etykiety")
DISPLAY_TEXT(KeyField, "NumerPola")

DISPLAY_TEXT(ConfigCaption, "Parametry wyświetlania")
DISPLAY_TEXT(TabPoints, "Punkty")
DISPLAY_TEXT(TabLines, "Linie")
DISPLAY_TEXT(TabAreas, "Poligony")
DISPLAY_TEXT(TabLabels, "Etykiety")
DISPLAY_TEXT(LabelStyle, "Styl")
DISPLAY_TEXT(LabelWidth, "Grubość")
DISPLAY_TEXT(LabelColor, "Kolor")
DISPLAY_TEXT(LabelFill, "Wypełnienie")
DISPLAY_TEXT(FillSolid, "Pełny")
DISPLAY_TEXT(FillNone, "Brak")
DISPLAY_TEXT(CheckMarks, "Markowanie punktów")
DISPLAY_TEXT(CheckLabels, "Etykiety")
DISPLAY_TEXT(ButtonOk, "&OK")
DISPLAY_TEXT(ButtonCancel, "&Anuluj")

DISPLAY_TEXT(ObjectInfoCaption, "Parametry obiektu ArcView")
DISPLAY_TEXT(ButtonClose, "Zamknij")
DISPLAY_TEXT(LabelError, "error")

#undef DISPLAY_TEXT

const std::vector<std::string>& FontSizes() {
    static const std::vector<std::string> sizes = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                                   "20", "22", "24", "26", "28", "36", "48", "72"};
    return sizes;
}

std::string ObjectNumber(std::int32_t number) {
    return Cp("Numer obiektu ") + std::to_string(number);
}

std::vector<std::string> TypeLines(std::int32_t headerShapeType) {
    const char* type = nullptr;
    bool area = false;
    switch (headerShapeType) {
        case 1:
            type = "Typ: Punkt";
            break;
        case 11:
            type = "Typ: PunktZ";
            break;
        case 21:
            type = "Typ: PunktM";
            break;
        case 8:
            type = "Typ: MultiPunkt";
            break;
        case 18:
            type = "Typ: MultiPunktZ";
            break;
        case 28:
            type = "Typ: MultiPunktM";
            break;
        case 3:
            type = "Typ: Linia";
            break;
        case 13:
            type = "Typ: LiniaZ";
            break;
        case 23:
            type = "Typ: LiniaM";
            break;
        case 5:
            type = "Typ: Wielokat", area = true;
            break;
        case 15:
            type = "Typ: WielokatZ", area = true;
            break;
        case 25:
            type = "Typ: WielokatM", area = true;
            break;
        case 31:
            type = "Typ: Figury", area = true;
            break;
        default:
            return {};
    }
    std::vector<std::string> lines{Cp(type)};
    if (area) lines.push_back(Cp("Typ: Powierzchnie"));
    return lines;
}

std::string MultiPointCount(std::int32_t points) {
    return Cp("Liczba punktów ") + std::to_string(points);
}

std::string LinePointCount(std::int32_t points) {
    return Cp("Łączna liczba punktów   ") + std::to_string(points);
}

std::string LinePartCount(std::int32_t parts) {
    return Cp("Liczba linii składowych ") + std::to_string(parts);
}

std::string AreaPointCount(std::int32_t points) {
    return Cp("Łączna liczba punktów         ") + std::to_string(points);
}

std::string AreaPartCount(std::int32_t parts) {
    return Cp("Liczba powierzchni składowych ") + std::to_string(parts);
}

}  // namespace displaytexts
