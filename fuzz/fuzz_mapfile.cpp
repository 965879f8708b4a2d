// Feeds arbitrary bytes to the MAP reader through a file, as the host would hand one over.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "model/MapFile.h"
#include "platform/UiService.h"

namespace {

const std::string& InputPath() {
    static const std::string path = [] {
        std::string pattern = "/tmp/fuzz_mapfile_XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd >= 0) ::close(fd);
        return pattern;
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::HeadlessUi* ui = platform::UiService::Headless();
    ui->SetEcho(false);
    std::FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (f == nullptr) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    std::unique_ptr<TListaPKT> points;
    std::unique_ptr<TListaObi> objects;
    NewMapLists(points, objects);
    std::int32_t result = -1;
    ReadMapFile(InputPath(), false, *points, *objects, result);
    if (result != 0 && result != 2 && result < 253) __builtin_trap();
    ui->ClearMessages();
    return 0;
}
