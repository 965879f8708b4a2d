#pragma once

// A test host: what the host GIS program does with Kestrel.so. It loads the library through the
// platform's module loader, binds the exports by name, creates server objects and calls their
// operations by place through the object's table of virtual operations (slot N of the table the
// object's first word points at), and passes texts as global memory handles. It knows nothing of
// the library's classes.

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/GlobalMemory.h"
#include "platform/ModuleLoader.h"

namespace testhost {

// The library as the build puts it: <bin>/lib32/Kestrel.so.
inline std::string LibraryPath() {
    return KESTREL_BIN_DIR "/lib32/Kestrel.so";
}

// The host's side of the text handles: a block of the text's length + 4 zero-filled bytes with
// the text at its start. The caller keeps and frees it.
inline platform::GlobalHandle StrToGlobalHandle(std::string_view text) {
    const platform::GlobalHandle handle =
        platform::GlobalAlloc(platform::GMEM_DDESHARE, text.size() + 4);
    if (handle == 0) return 0;
    auto* bytes = static_cast<char*>(platform::GlobalLock(handle));
    std::memset(bytes, 0, text.size() + 4);
    if (!text.empty()) std::memcpy(bytes, text.data(), text.size());
    platform::GlobalUnlock(handle);
    return handle;
}

// Reads a handle the library returned and frees it, as its receiver must. 0 reads as empty.
inline std::string GlobalHandleToStr(platform::GlobalHandle handle) {
    if (handle == 0) return {};
    const auto* bytes = static_cast<const char*>(platform::GlobalLock(handle));
    std::string text;
    if (bytes != nullptr) {
        const std::size_t size = platform::GlobalSize(handle);
        const void* end = std::memchr(bytes, 0, size);
        text.assign(bytes, end ? static_cast<const char*>(end) - bytes : size);
        platform::GlobalUnlock(handle);
    }
    platform::GlobalFree(handle);
    return text;
}

// A handle the test passes to the library: allocated on construction, freed on destruction.
class TextArg {
  public:
    explicit TextArg(std::string_view text) : handle_(StrToGlobalHandle(text)) {}
    ~TextArg() { platform::GlobalFree(handle_); }
    TextArg(const TextArg&) = delete;
    TextArg& operator=(const TextArg&) = delete;
    platform::GlobalHandle get() const { return handle_; }
    operator platform::GlobalHandle() const { return handle_; }

  private:
    platform::GlobalHandle handle_;
};

// Places of the single-file server object.
enum Place : int {
    kConfigureDisplay = 0,
    kOpenFile = 1,
    kSaveFileAs = 2,
    kDraw = 3,
    kGetFileName = 4,
    kGetShapeType = 5,
    kGetRecordCount = 6,
    kFindNearestPoint = 7,
    kIdentify = 8,
    kGetExtent = 9,
    kConfigureConversion = 10,
    kSaveAsMap = 11,
    kExportMap = 12,
    kSetOutputFolder = 13,
    kLoadMap = 14,
    kSaveMap = 15,
    kTransformFileByCode = 16,
    kConfigureUnits = 17,
    kClear = 18,
    kSetBatchConfig = 19,
    kTransformMap = 20,
    kTransformFile = 21,
};
inline constexpr int kServerPlaces = 22;
inline constexpr int kMultiLayerPlaces = 5;

// An object made by the library, reached only through its table. The destructor entry follows
// the last place: the complete-object destructor, then the deleting one, which the host calls
// so that the library frees what it allocated.
class ServerObject {
  public:
    ServerObject(void* object, int placeCount) : object_(object), placeCount_(placeCount) {}
    ~ServerObject() { Destroy(); }
    ServerObject(const ServerObject&) = delete;
    ServerObject& operator=(const ServerObject&) = delete;
    ServerObject(ServerObject&& other) noexcept
        : object_(other.object_), placeCount_(other.placeCount_) {
        other.object_ = nullptr;
    }

    explicit operator bool() const { return object_ != nullptr; }
    void* get() const { return object_; }

    // The entry at slot `place` of the object's table.
    void* Slot(int place) const { return (*static_cast<void* const* const*>(object_))[place]; }

    // Calls the operation at `place` with the object first and the arguments after it; R and
    // the argument types must be those of the place.
    template <class R, class... Args>
    R Call(int place, Args... args) const {
        using Fn = R (*)(void*, Args...);
        return reinterpret_cast<Fn>(Slot(place))(object_, args...);
    }

    void Destroy() {
        if (object_ == nullptr) return;
        using Deleting = void (*)(void*);
        reinterpret_cast<Deleting>(Slot(placeCount_ + 1))(object_);
        object_ = nullptr;
    }

    // The single-file places with their argument and result types.
    std::int32_t ConfigureDisplay(std::uint32_t parent) const {
        return Call<std::int32_t>(kConfigureDisplay, parent);
    }
    std::int32_t OpenFile(std::uint32_t name) const { return Call<std::int32_t>(kOpenFile, name); }
    std::int32_t SaveFileAs(std::uint32_t name) const {
        return Call<std::int32_t>(kSaveFileAs, name);
    }
    std::int32_t Draw(std::uint32_t dc, double minX, double minY, double maxX, double maxY,
                      std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                      std::uint8_t flag, std::int32_t param) const {
        return Call<std::int32_t>(kDraw, dc, minX, minY, maxX, maxY, left, top, right, bottom, flag,
                                  param);
    }
    // The returned handle is read and freed.
    std::string GetFileName() const { return GlobalHandleToStr(Call<std::uint32_t>(kGetFileName)); }
    std::int32_t GetShapeType() const { return Call<std::int32_t>(kGetShapeType); }
    std::int32_t GetRecordCount() const { return Call<std::int32_t>(kGetRecordCount); }
    bool FindNearestPoint(double x, double y, double tolerance, double* foundX,
                          double* foundY) const {
        return Call<bool>(kFindNearestPoint, x, y, tolerance, foundX, foundY);
    }
    bool Identify(double x, double y, double tolerance, std::uint8_t show) const {
        return Call<bool>(kIdentify, x, y, tolerance, show);
    }
    bool GetExtent(double* minX, double* minY, double* maxX, double* maxY) const {
        return Call<bool>(kGetExtent, minX, minY, maxX, maxY);
    }
    std::int32_t ConfigureConversion() const { return Call<std::int32_t>(kConfigureConversion); }
    bool SaveAsMap(std::uint32_t name, std::int32_t mode) const {
        return Call<bool>(kSaveAsMap, name, mode);
    }
    bool ExportMap() const { return Call<bool>(kExportMap); }
    std::int32_t SetOutputFolder() const { return Call<std::int32_t>(kSetOutputFolder); }
    bool LoadMap(std::uint32_t name) const { return Call<bool>(kLoadMap, name); }
    bool SaveMap(std::uint32_t name) const { return Call<bool>(kSaveMap, name); }
    std::int32_t TransformFileByCode(std::uint8_t code, double zone65, double meridian,
                                     double zoneCode) const {
        return Call<std::int32_t>(kTransformFileByCode, code, zone65, meridian, zoneCode);
    }
    bool ConfigureUnits() const { return Call<bool>(kConfigureUnits); }
    bool Clear() const { return Call<bool>(kClear); }
    bool SetBatchConfig(std::uint32_t file, std::uint32_t folder, std::int32_t a,
                        std::int32_t b) const {
        return Call<bool>(kSetBatchConfig, file, folder, a, b);
    }
    std::int32_t TransformMap(std::int32_t source, std::int32_t target) const {
        return Call<std::int32_t>(kTransformMap, source, target);
    }
    std::int32_t TransformFile(std::int32_t source, std::int32_t target) const {
        return Call<std::int32_t>(kTransformFile, source, target);
    }

  private:
    void* object_;
    int placeCount_;
};

// The loaded library with its exports bound by name; unloaded on destruction.
class KestrelLibrary {
  public:
    using NewObjectFn = void* (*)();
    using HandleFn = std::uint32_t (*)();
    using IntFn = std::int32_t (*)();
    using ConvertFn = std::int32_t (*)(std::uint32_t, std::uint32_t, std::int32_t);

    explicit KestrelLibrary(const std::string& name = LibraryPath())
        : module_(platform::LoadLibrary(name)) {}
    ~KestrelLibrary() {
        if (module_ != nullptr) platform::FreeLibrary(module_);
    }
    KestrelLibrary(const KestrelLibrary&) = delete;
    KestrelLibrary& operator=(const KestrelLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    void* Export(const char* name) const { return platform::GetProcAddress(module_, name); }
    template <class Fn>
    Fn Bind(const char* name) const {
        return reinterpret_cast<Fn>(Export(name));
    }

    // The exports, called as the host calls them; a missing export fails the call's result.
    ServerObject NewKWZObject() const {
        auto fn = Bind<NewObjectFn>("NewKWZObject");
        return ServerObject(fn ? fn() : nullptr, kServerPlaces);
    }
    ServerObject NewKWZMLObject() const {
        auto fn = Bind<NewObjectFn>("NewKWZMLObject");
        return ServerObject(fn ? fn() : nullptr, kMultiLayerPlaces);
    }
    std::int32_t About() const { return CallInt("About"); }
    std::int32_t GetFunction() const { return CallInt("GetFunction"); }
    std::int32_t GetVersion() const { return CallInt("GetVersion"); }
    // The raw handles; the receiver frees them.
    std::uint32_t GetMask() const { return CallHandle("GetMask"); }
    std::uint32_t GetDescription() const { return CallHandle("GetDescription"); }
    std::int32_t Konwersja_Pliku_SHP_MAP(std::uint32_t map, std::uint32_t shp,
                                         std::int32_t source) const {
        auto fn = Bind<ConvertFn>("Konwersja_Pliku_SHP_MAP");
        return fn ? fn(map, shp, source) : -1;
    }

  private:
    std::int32_t CallInt(const char* name) const {
        auto fn = Bind<IntFn>(name);
        return fn ? fn() : -1;
    }
    std::uint32_t CallHandle(const char* name) const {
        auto fn = Bind<HandleFn>(name);
        return fn ? fn() : 0;
    }

    platform::ModuleHandle module_;
};

}  // namespace testhost
