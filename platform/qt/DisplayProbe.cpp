#include <dlfcn.h>

#include <QDir>
#include <QLibraryInfo>
#include <string>

#include "platform/qt/QtText.h"
#include "platform/qt/QtTexts.h"
#include "platform/qt/QtUi.h"

namespace platform::qt {
namespace {

bool WaylandPluginInstalled() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                         QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty();
}

// Connects to the X server the way Qt's plug-in will, through the library it uses itself.
bool XServerAnswers() {
    void* xcb = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
    if (!xcb) return false;
    using Connect = void* (*)(const char*, int*);
    using HasError = int (*)(void*);
    using Disconnect = void (*)(void*);
    const auto connect = reinterpret_cast<Connect>(::dlsym(xcb, "xcb_connect"));
    const auto hasError = reinterpret_cast<HasError>(::dlsym(xcb, "xcb_connection_has_error"));
    const auto disconnect = reinterpret_cast<Disconnect>(::dlsym(xcb, "xcb_disconnect"));
    bool answers = false;
    if (connect && hasError && disconnect) {
        void* connection = connect(nullptr, nullptr);
        answers = connection && hasError(connection) == 0;
        if (connection) disconnect(connection);
    }
    ::dlclose(xcb);
    return answers;
}

}  // namespace

bool DisplayAvailable(std::string& why) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return true;  // chosen by the person
    if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && WaylandPluginInstalled()) return true;
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty()) {
        why = FromScreen(texts::NoDisplay());
        return false;
    }
    if (XServerAnswers()) return true;
    why = FromScreen(texts::DisplayUnreachable() + QString::fromUtf8(display));
    return false;
}

}  // namespace platform::qt
