// Feeds arbitrary bytes to the MAP reader through a file, as the host would hand one over.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "model/MapFile.h"
#include "platform/UiService.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::HeadlessUi* ui = platform::UiService::Headless();
    ui->SetEcho(false);
    static const FuzzFolder folder("fuzz-mapfile");
    const std::string path = folder.Write("input", data, size);
    if (path.empty()) return 0;

    std::unique_ptr<TListaPKT> points;
    std::unique_ptr<TListaObi> objects;
    NewMapLists(points, objects);
    std::int32_t result = -1;
    ReadMapFile(path, false, *points, *objects, result);
    if (result != 0 && result != 2 && result < 253) __builtin_trap();
    ui->ClearMessages();
    return 0;
}
