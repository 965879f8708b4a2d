#pragma once

#include <string>
#include <string_view>
#include <vector>

// Run-time libraries: the counterparts of LoadLibrary, GetProcAddress and FreeLibrary. A
// Windows-style name such as "lib32\Kestrel.dll" stands for lib32/Kestrel.so: backslashes become
// slashes and the extension ".dll" (any case; a name without extension gets one) becomes ".so".
// A relative name is looked for in the folder of the executable first, then in the current
// folder; an absolute name is used as it stands.
namespace platform {

using ModuleHandle = void*;  // nullptr: not loaded

// The folder of the running executable's real file (links followed), or empty when it cannot be
// found.
std::string ExecutableFolder();

// The files a name (Windows-1250, like every name of the system) stands for, in the order they
// are tried, as the operating system's names.
std::vector<std::string> ModuleCandidates(std::string_view name);

// Why a module did not load: the files looked for, as the system names them, and the loader's
// own words about the last of them that was there but would not load (empty when none was
// there).
struct ModuleLoadFailure {
    std::vector<std::string> lookedFor;
    std::string loaderError;
};

// Loads one file named as the operating system names it. nullptr when it does not load;
// `loaderError` then holds the loader's words about this very call (Windows-1250).
ModuleHandle LoadModuleFile(const std::string& osFile, std::string* loaderError = nullptr);

// Loads the first candidate that loads; nullptr when none does, and `failure` says why.
ModuleHandle LoadLibrary(std::string_view name, ModuleLoadFailure* failure = nullptr);
// The address of an exported symbol; nullptr for a missing symbol or a null handle.
void* GetProcAddress(ModuleHandle module, const char* symbol);
// Unloads a module loaded by LoadLibrary; false for a null handle or a failure.
bool FreeLibrary(ModuleHandle module);

}  // namespace platform
