#include "platform/qt/QtText.h"

#include "platform/Cp1250.h"
#include "platform/IniNames.h"
#include "platform/RasterSurface.h"

namespace platform::qt {

QString ToScreen(std::string_view text) {
    return QString::fromStdString(Cp1250ToUtf8(text));
}

std::string FromScreen(const QString& text) {
    return Utf8ToCp1250(text.toStdString());
}

QString ToScreen(std::string_view text, const ControlFont& font) {
    if (!IniNamesEqual(font.Name, "Wingdings")) return ToScreen(text);
    QString shown;
    for (const char c : text) {
        const char32_t sign = WingdingsToUnicode(static_cast<unsigned char>(c));
        shown += QString::fromUcs4(&sign, 1);
    }
    return shown;
}

QColor ToQColor(ColorRef color) {
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

ColorRef FromQColor(const QColor& color) {
    return static_cast<ColorRef>(color.red()) | static_cast<ColorRef>(color.green()) << 8 |
           static_cast<ColorRef>(color.blue()) << 16;
}

QString PathToScreen(const std::string& path) {
    return ToScreen(path);
}

std::string PathFromScreen(const QString& path) {
    // A name with a character the code page lacks keeps "?" for it: it then names no file, and
    // the operation that opens it says so.
    return FromScreen(path);
}

}  // namespace platform::qt
