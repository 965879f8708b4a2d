// A stand-in for the plug-in library that records every call, so the converter's tests can see
// what it asked for, by place. Each line of the file named by KESTREL_FAKE_LOG is one event:
//   load | unload | new|<object> | delete|<object> | <object>|<place>|<operation>|<argument>...
// where a text argument is written as h<handle>:<text>. With KESTREL_FAKE_NIL set the factory
// returns nil. Built twice: whole, and without NewKWZObject and GetMask (FAKE_KESTREL_PARTIAL).
//
// Its few file effects follow the real server's where the converter's tests look at files:
// SaveAsMap writes the MAP file named, SetOutputFolder makes the folder named after the map,
// ExportMap writes a marker file into the output folder.
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "model/KWZPrototyp.h"
#include "platform/GlobalMemory.h"

#define FAKE_EXPORT extern "C" [[gnu::visibility("default")]]

namespace {

void Log(const std::string& line) {
    const char* name = std::getenv("KESTREL_FAKE_LOG");
    if (name == nullptr || *name == '\0') return;
    std::ofstream(name, std::ios::app | std::ios::binary) << line << '\n';
}

std::string Text(KwzHandle handle) {
    std::string text;
    const std::size_t size = platform::GlobalSize(handle);
    if (const auto* bytes = static_cast<const char*>(platform::GlobalLock(handle))) {
        text.assign(bytes, strnlen(bytes, size));
        platform::GlobalUnlock(handle);
    }
    return text;
}

std::string Arg(KwzHandle handle) {
    return "|h" + std::to_string(handle) + ":" + Text(handle);
}

std::string WithoutExtension(const std::string& name) {
    const std::size_t slash = name.find_last_of('/');
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name;
    return name.substr(0, dot);
}

int serial = 0;

class FakeServer final : public TKWZPrototyp {
  public:
    FakeServer() : id_(++serial) { Log("new|" + std::to_string(id_)); }
    ~FakeServer() override { Log("delete|" + std::to_string(id_)); }

    std::int32_t ConfigureDisplay(std::uint32_t) override { return Call(0, "ConfigureDisplay"); }
    // Loaded, as the real server says it with 0; every other operation answers 1 (true).
    std::int32_t OpenFile(KwzHandle name) override { return Call(1, "OpenFile", Arg(name)) - 1; }
    std::int32_t SaveFileAs(KwzHandle name) override { return Call(2, "SaveFileAs", Arg(name)); }
    std::int32_t Draw(std::uint32_t, double, double, double, double, std::int32_t, std::int32_t,
                      std::int32_t, std::int32_t, std::uint8_t, std::int32_t) override {
        return Call(3, "Draw");
    }
    KwzHandle GetFileName() override { return static_cast<KwzHandle>(Call(4, "GetFileName")); }
    std::int32_t GetShapeType() override { return Call(5, "GetShapeType"); }
    std::int32_t GetRecordCount() override { return Call(6, "GetRecordCount"); }
    bool FindNearestPoint(double, double, double, double*, double*) override {
        return Call(7, "FindNearestPoint");
    }
    bool Identify(double, double, double, std::uint8_t) override { return Call(8, "Identify"); }
    bool GetExtent(double*, double*, double*, double*) override { return Call(9, "GetExtent"); }
    std::int32_t ConfigureConversion() override { return Call(10, "ConfigureConversion"); }
    bool SaveAsMap(KwzHandle name, std::int32_t mode) override {
        const std::string file = Text(name);
        std::ofstream(file, std::ios::binary) << "fake map\r\n";
        return Call(11, "SaveAsMap", Arg(name) + "|" + std::to_string(mode));
    }
    bool ExportMap() override {
        if (!folder_.empty()) std::ofstream(folder_ + "/export.txt", std::ios::binary) << map_;
        return Call(12, "ExportMap");
    }
    std::int32_t SetOutputFolder() override {
        folder_ = WithoutExtension(map_);
        ::mkdir(folder_.c_str(), 0777);
        return Call(13, "SetOutputFolder");
    }
    bool LoadMap(KwzHandle name) override {
        map_ = Text(name);
        return Call(14, "LoadMap", Arg(name));
    }
    bool SaveMap(KwzHandle name) override { return Call(15, "SaveMap", Arg(name)); }
    std::int32_t TransformFileByCode(std::uint8_t, double, double, double) override {
        return Call(16, "TransformFileByCode");
    }
    bool ConfigureUnits() override { return Call(17, "ConfigureUnits"); }
    bool Clear() override { return Call(18, "Clear"); }
    bool SetBatchConfig(KwzHandle config, KwzHandle folder, std::int32_t p1,
                        std::int32_t p2) override {
        if (folder != 0) folder_ = Text(folder);
        return Call(19, "SetBatchConfig",
                    Arg(config) + (folder == 0 ? std::string("|0") : Arg(folder)) + "|" +
                        std::to_string(p1) + "|" + std::to_string(p2));
    }
    std::int32_t TransformMap(std::int32_t, std::int32_t) override {
        return Call(20, "TransformMap");
    }
    std::int32_t TransformFile(std::int32_t, std::int32_t) override {
        return Call(21, "TransformFile");
    }

  private:
    std::int32_t Call(int place, const char* name, const std::string& args = {}) {
        Log(std::to_string(id_) + "|" + std::to_string(place) + "|" + name + args);
        return 1;
    }

    int id_;
    std::string map_;
    std::string folder_;
};

[[gnu::constructor]] void Loaded() {
    Log("load");
}
[[gnu::destructor]] void Unloaded() {
    Log("unload");
}

}  // namespace

FAKE_EXPORT std::int32_t Konwersja_Pliku_SHP_MAP(std::uint32_t, std::uint32_t, std::int32_t) {
    Log("Konwersja_Pliku_SHP_MAP");
    return 0;
}
FAKE_EXPORT TKWZMLPrototyp* NewKWZMLObject() {
    Log("NewKWZMLObject");
    return nullptr;
}
FAKE_EXPORT std::int32_t About() {
    Log("About");
    return 0;
}
FAKE_EXPORT std::uint32_t GetDescription() {
    Log("GetDescription");
    return 0;
}
FAKE_EXPORT std::int32_t GetFunction() {
    Log("GetFunction");
    return 7;
}
FAKE_EXPORT std::int32_t GetVersion() {
    Log("GetVersion");
    return 0;
}

#ifndef FAKE_KESTREL_PARTIAL
FAKE_EXPORT TKWZPrototyp* NewKWZObject() {
    if (std::getenv("KESTREL_FAKE_NIL")) {
        Log("NewKWZObject|nil");
        return nullptr;
    }
    return new FakeServer;
}

// The file mask as the library makes its results: text and two zero bytes.
FAKE_EXPORT std::uint32_t GetMask() {
    const std::string mask = "ArcView Shape (*.shp)|*.shp";
    const std::uint32_t handle = platform::GlobalAlloc(platform::GMEM_DDESHARE, mask.size() + 2);
    std::memcpy(platform::GlobalLock(handle), mask.data(), mask.size());
    platform::GlobalUnlock(handle);
    Log("GetMask|h" + std::to_string(handle));
    return handle;
}
#endif
