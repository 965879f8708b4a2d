#pragma once

#include <QColor>
#include <QString>
#include <string>
#include <string_view>

#include "platform/Controls.h"

// What crosses between the system and the screen: texts (Windows-1250 inside, Unicode on the
// screen), colours and file names.
namespace platform::qt {

QString ToScreen(std::string_view text);
std::string FromScreen(const QString& text);

// A control's text as its font shows it: the symbol font's characters become the signs they
// stand for.
QString ToScreen(std::string_view text, const ControlFont& font);

QColor ToQColor(ColorRef color);
ColorRef FromQColor(const QColor& color);

// File names between the system and the operating system's dialogs. Every name a dialog takes or
// gives goes through these two, the one place where the system's names meet the screen's.
QString PathToScreen(const std::string& path);
std::string PathFromScreen(const QString& path);

}  // namespace platform::qt
