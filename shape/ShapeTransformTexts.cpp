#include "shape/ShapeTransformTexts.h"

#include <string_view>

#include "platform/Cp1250.h"

namespace shapetransformtexts {
namespace {

std::string Cp(std::string_view utf8) {
    return platform::Utf8ToCp1250(utf8);
}

}  // namespace

const std::string& ProgressTransform() {
    static const std::string text = Cp("Transformacja");
    return text;
}

const std::string& UnitsCaption() {
    static const std::string text = Cp("Jednostki");
    return text;
}

const std::string& PlanarGroupCaption() {
    static const std::string text = Cp("Współrzędne płaskie");
    return text;
}

const std::string& AngularGroupCaption() {
    static const std::string text = Cp("Współrzędne krzywoliniowe");
    return text;
}

const std::vector<std::string>& PlanarUnitItems() {
    static const std::vector<std::string> items = {
        Cp("metry"),
        Cp("kilometry"),
        Cp("stopa (0.3048)"),
        Cp("mile lądowa (1609.344)"),
        Cp("mile morska (1852)"),
    };
    return items;
}

const std::vector<std::string>& AngularFormatItems() {
    static const std::vector<std::string> items = {Cp("SSS.DDDD")};
    return items;
}

const std::string& OkCaption() {
    static const std::string text = Cp("&OK");
    return text;
}

const std::string& CancelCaption() {
    static const std::string text = Cp("&Anuluj");
    return text;
}

}  // namespace shapetransformtexts
