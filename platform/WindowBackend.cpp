#include "platform/WindowBackend.h"

#include <dlfcn.h>
#include <unistd.h>

#include <utility>

#include "platform/ModuleLoader.h"

namespace platform {

std::unique_ptr<UiBackend> LoadWindowBackend(std::string& error) {
    const std::string folder = ExecutableFolder();
    const std::string file = (folder.empty() ? "." : folder) + "/" + kWindowBackendLibrary;
    if (::access(file.c_str(), F_OK) != 0) {
        error = file + " is missing";
        return nullptr;
    }
    ModuleHandle module = LoadLibrary(file);
    if (!module) {
        const char* reason = ::dlerror();
        error = reason ? reason : "cannot load " + file;
        return nullptr;
    }
    auto factory =
        reinterpret_cast<WindowBackendFactory>(GetProcAddress(module, kWindowBackendFactory));
    if (!factory) {
        error = file + " has no " + kWindowBackendFactory;
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
