#include "platform/ModuleLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <utility>

#include "platform/Cp1250.h"
#include "platform/FileSystem.h"
#include "platform/IniNames.h"

namespace platform {
namespace {

// "lib32\Kestrel.dll" -> "lib32/Kestrel.so".
std::string LinuxName(std::string_view name) {
    std::string result(name);
    for (char& c : result) {
        if (c == '\\') c = '/';
    }
    std::size_t slash = result.rfind('/');
    std::size_t dot = result.rfind('.');
    bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    if (hasExtension && IniNamesEqual(std::string_view(result).substr(dot), ".dll")) {
        result.replace(dot, std::string::npos, ".so");
    } else if (!hasExtension) {
        result += ".so";
    }
    return result;
}

}  // namespace

std::string ExecutableFolder() {
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return {};
    return exe.parent_path().string();
}

std::vector<std::string> ModuleCandidates(std::string_view name) {
    std::vector<std::string> result;
    if (name.empty()) return result;
    // The name is the system's (Windows-1250); the candidates are the operating system's names.
    const std::string systemFile = LinuxName(name);
    if (systemFile.front() == '/') {
        result.push_back(OsName(systemFile));
        return result;
    }
    const std::string file = Cp1250ToUtf8(systemFile);
    std::string exeFolder = ExecutableFolder();
    if (!exeFolder.empty()) result.push_back(exeFolder + "/" + file);
    std::error_code error;
    std::filesystem::path current = std::filesystem::current_path(error);
    if (!error) result.push_back((current / file).string());
    return result;
}

ModuleHandle LoadModuleFile(const std::string& osFile, std::string* loaderError) {
    ::dlerror();  // an earlier failure must not pass for this one
    if (void* handle = ::dlopen(osFile.c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
    if (loaderError) {
        const char* reason = ::dlerror();
        *loaderError = Utf8ToCp1250(reason ? reason : osFile);
    }
    return nullptr;
}

ModuleHandle LoadLibrary(std::string_view name, ModuleLoadFailure* failure) {
    ModuleLoadFailure why;
    for (const std::string& candidate : ModuleCandidates(name)) {
        why.lookedFor.push_back(Utf8ToCp1250(candidate));
        if (::access(candidate.c_str(), F_OK) != 0) continue;
        if (void* handle = LoadModuleFile(candidate, &why.loaderError)) return handle;
    }
    if (failure) *failure = std::move(why);
    return nullptr;
}

void* GetProcAddress(ModuleHandle module, const char* symbol) {
    if (module == nullptr || symbol == nullptr) return nullptr;
    return ::dlsym(module, symbol);
}

bool FreeLibrary(ModuleHandle module) {
    return module != nullptr && ::dlclose(module) == 0;
}

}  // namespace platform
