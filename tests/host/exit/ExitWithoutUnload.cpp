// A host that ends without unloading Kestrel.so, as many hosts leave their plug-ins loaded: it
// loads the library, opens a shapefile in a server object, deletes the object and returns from
// main. The library's process-wide objects are then released on the way out of the process, after
// its static destructors have run; each must be released exactly once. Ends with 0 when every
// step worked (a double release aborts the process, or a sanitizer reports it).
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ModuleLoader.h"
#include "tests/host/PointShapefile.h"
#include "tests/host/TestHost.h"

int main() {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("kestrel-exit-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ::setenv("KESTREL_REGISTRY_FILE", (dir / "registry.reg").c_str(), 1);
    const std::string shapefile = (dir / "punkty.shp").string();
    WritePointShapefile(shapefile, {{10.0, 20.0}, {30.0, 40.0}});

    // Never freed: the library stays loaded until the process ends.
    const platform::ModuleHandle library = platform::LoadLibrary(testhost::LibraryPath());
    const auto newObject = reinterpret_cast<testhost::KestrelLibrary::NewObjectFn>(
        platform::GetProcAddress(library, "NewKWZObject"));
    int status = 1;
    if (newObject != nullptr) {
        testhost::ServerObject server(newObject(), testhost::kServerPlaces);
        const testhost::TextArg name(shapefile);
        if (server && server.OpenFile(name) == 0 && server.GetRecordCount() == 2) status = 0;
    }
    std::filesystem::remove_all(dir);
    if (status != 0) std::fputs("the host could not open its shapefile\n", stderr);
    return status;
}
