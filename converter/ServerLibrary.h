#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/KWZPrototyp.h"
#include "platform/GlobalMemory.h"
#include "platform/ModuleLoader.h"

// The run-time binding of the plug-in library: loaded once before the main window exists, its
// eight exports looked up by name, freed once at the end. One binding object per program run
// holds the handle and the entries, in place of unit-level variables; the program's main owns it.
class ServerLibrary {
  public:
    // The name the program loads: lib32/Kestrel.so beside the executable, else in the current
    // folder.
    static constexpr std::string_view kLibraryName = "lib32\\Kestrel.dll";

    using GetVersionProc = std::int32_t (*)();
    using GetFunctionProc = std::int32_t (*)();
    using AboutProc = std::int32_t (*)();
    using GetDescriptionProc = std::uint32_t (*)();
    using GetMaskProc = std::uint32_t (*)();
    using NewKWZObjectProc = TKWZPrototyp* (*)();
    using NewKWZMLObjectProc = TKWZMLPrototyp* (*)();
    using KonwersjaProc = std::int32_t (*)(std::uint32_t, std::uint32_t, std::int32_t);

    // Every entry empty and the library not loaded (what a failed load leaves).
    struct Entries {
        GetVersionProc GetVersion = nullptr;
        GetFunctionProc GetFunction = nullptr;
        AboutProc About = nullptr;
        GetDescriptionProc GetDescription = nullptr;
        GetMaskProc GetMask = nullptr;
        NewKWZObjectProc NewKWZObject = nullptr;
        NewKWZMLObjectProc NewKWZMLObject = nullptr;
        KonwersjaProc Konwersja_Pliku_SHP_MAP = nullptr;
    };

    ServerLibrary() = default;
    // Frees the library when it is still loaded.
    ~ServerLibrary() { ReleaseServerLibrary(); }
    ServerLibrary(const ServerLibrary&) = delete;
    ServerLibrary& operator=(const ServerLibrary&) = delete;

    // Loads the library and looks up its exports; a missing export leaves its entry empty. False
    // (every entry empty, nothing shown) when the library cannot be loaded. Binding again first
    // frees the library bound before.
    bool BindServerLibrary(std::string_view name = kLibraryName);
    // Frees the library when it is loaded.
    void ReleaseServerLibrary();

    bool Loaded() const { return module_ != nullptr; }
    // Why the last binding found no library: the files looked for, or the loader's own words
    // (Windows-1250); empty while the library is loaded or before any binding.
    const std::string& LoadError() const { return loadError_; }
    const Entries& Bound() const { return entries_; }

    // The export's result, or 0 / nil when the export is not bound.
    platform::GlobalHandle CallGetMask() const;
    TKWZPrototyp* CallNewKWZObject() const;

  private:
    platform::ModuleHandle module_ = nullptr;
    Entries entries_;
    std::string loadError_;
};
