#include "converter/ServerLibrary.h"

#include "converter/PontraTexts.h"

namespace {

template <class Proc>
Proc Lookup(platform::ModuleHandle module, const char* name) {
    return reinterpret_cast<Proc>(platform::GetProcAddress(module, name));
}

// A library that was there but would not load is told by the loader's words; otherwise every
// file looked for is named.
std::string Describe(const platform::ModuleLoadFailure& failure) {
    if (!failure.loaderError.empty()) return pontratexts::LibraryNotLoaded() + failure.loaderError;
    std::string files;
    for (const std::string& file : failure.lookedFor) files += (files.empty() ? "" : ", ") + file;
    return pontratexts::LibraryNotFound() + files;
}

}  // namespace

bool ServerLibrary::BindServerLibrary(std::string_view name) {
    ReleaseServerLibrary();
    platform::ModuleLoadFailure failure;
    module_ = platform::LoadLibrary(name, &failure);
    loadError_.clear();
    if (module_ == nullptr) {
        loadError_ = Describe(failure);
        return false;
    }
    entries_.GetVersion = Lookup<GetVersionProc>(module_, "GetVersion");
    entries_.GetFunction = Lookup<GetFunctionProc>(module_, "GetFunction");
    entries_.About = Lookup<AboutProc>(module_, "About");
    entries_.GetDescription = Lookup<GetDescriptionProc>(module_, "GetDescription");
    entries_.GetMask = Lookup<GetMaskProc>(module_, "GetMask");
    entries_.NewKWZObject = Lookup<NewKWZObjectProc>(module_, "NewKWZObject");
    entries_.NewKWZMLObject = Lookup<NewKWZMLObjectProc>(module_, "NewKWZMLObject");
    entries_.Konwersja_Pliku_SHP_MAP = Lookup<KonwersjaProc>(module_, "Konwersja_Pliku_SHP_MAP");
    return true;
}

void ServerLibrary::ReleaseServerLibrary() {
    if (module_ == nullptr) return;
    platform::FreeLibrary(module_);
    module_ = nullptr;
    // Nothing may call into the freed library: the entries go with it.
    entries_ = Entries{};
}

platform::GlobalHandle ServerLibrary::CallGetMask() const {
    return entries_.GetMask ? entries_.GetMask() : 0;
}

TKWZPrototyp* ServerLibrary::CallNewKWZObject() const {
    return entries_.NewKWZObject ? entries_.NewKWZObject() : nullptr;
}
