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

// The one input file of the run, removed when the fuzzer exits.
struct InputFile {
    std::string path = "/tmp/fuzz_mapfile_XXXXXX";
    InputFile() {
        const int fd = ::mkstemp(path.data());
        if (fd >= 0) ::close(fd);
    }
    ~InputFile() { ::unlink(path.c_str()); }
};

const std::string& InputPath() {
    static const InputFile file;
    return file.path;
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
