#pragma once

#include <memory>
#include <string>

#include "platform/ModuleLoader.h"
#include "platform/UiService.h"

// The window back end lives in a library of its own beside the executable, loaded only by a
// program that shows windows: a batch run or a program without a display never needs the window
// toolkit.
namespace platform {

inline constexpr const char* kWindowBackendLibrary = "libplatform-qt.so";
// The library's one export: makes the back end, or returns nullptr and says why in `error`.
inline constexpr const char* kWindowBackendFactory = "CreateWindowBackend";
using WindowBackendFactory = UiBackend* (*)(std::string* error);

// Loads the library from `folder` (the operating system's name of it; by default the executable's
// folder) and makes its back end; nullptr, with the reason in `error` (Windows-1250), when the
// library is missing, will not load, or finds no display it can use. The library stays loaded
// for the rest of the process: the toolkit is not made to be unloaded.
std::unique_ptr<UiBackend> LoadWindowBackend(std::string& error,
                                             const std::string& folder = ExecutableFolder());

// Installs a back end for its lifetime and puts the one before it back afterwards, so the window
// back end goes while the program's windows and libraries are still there.
class ScopedUiBackend {
  public:
    explicit ScopedUiBackend(std::unique_ptr<UiBackend> backend);
    ~ScopedUiBackend();
    ScopedUiBackend(const ScopedUiBackend&) = delete;
    ScopedUiBackend& operator=(const ScopedUiBackend&) = delete;

  private:
    std::unique_ptr<UiBackend> previous_;
    bool installed_ = false;
};

}  // namespace platform
