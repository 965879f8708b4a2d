// The library's one entry point, found by name by the platform's loader.
#include <exception>
#include <memory>
#include <string>
#include <type_traits>

#include "platform/Cp1250.h"
#include "platform/WindowBackend.h"
#include "platform/qt/QtUi.h"

extern "C" __attribute__((visibility("default"))) platform::UiBackend* CreateWindowBackend(
    std::string* error) {
    try {
        std::string why;
        if (!platform::qt::DisplayAvailable(why)) {
            if (error) *error = why;
            return nullptr;
        }
        // The caller owns the back end from here.
        return std::make_unique<platform::qt::QtUi>().release();
    } catch (const std::exception& failure) {
        if (error) *error = platform::Utf8ToCp1250(failure.what());
        return nullptr;
    }
}

// The loader and the library agree on the entry's type.
static_assert(std::is_same_v<decltype(&CreateWindowBackend), platform::WindowBackendFactory>);
