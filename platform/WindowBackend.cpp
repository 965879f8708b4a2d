#include "platform/WindowBackend.h"

#include <unistd.h>

#include <utility>

#include "platform/Cp1250.h"

namespace platform {
namespace {

// The reasons the loader gives itself; the library's file is the operating system's name.
std::string MissingLibrary(const std::string& file) {
    return Utf8ToCp1250("brak pliku " + file);
}
std::string NoFactory(const std::string& file) {
    return Utf8ToCp1250("biblioteka " + file + " nie ma funkcji " + kWindowBackendFactory);
}

}  // namespace

std::unique_ptr<UiBackend> LoadWindowBackend(std::string& error, const std::string& folder) {
    // The folder is the operating system's name already: it goes to the loader as it stands.
    const std::string file = (folder.empty() ? "." : folder) + "/" + kWindowBackendLibrary;
    if (::access(file.c_str(), F_OK) != 0) {
        error = MissingLibrary(file);
        return nullptr;
    }
    ModuleHandle module = LoadModuleFile(file, &error);
    if (!module) return nullptr;
    auto factory =
        reinterpret_cast<WindowBackendFactory>(GetProcAddress(module, kWindowBackendFactory));
    if (!factory) {
        error = NoFactory(file);
        return nullptr;
    }
    std::unique_ptr<UiBackend> backend(factory(&error));
    return backend;
}

ScopedUiBackend::ScopedUiBackend(std::unique_ptr<UiBackend> backend) {
    if (!backend) return;
    previous_ = UiService::SetBackend(std::move(backend));
    installed_ = true;
}

ScopedUiBackend::~ScopedUiBackend() {
    if (installed_) UiService::SetBackend(std::move(previous_));
}

}  // namespace platform
