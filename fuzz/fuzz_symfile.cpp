// Feeds arbitrary bytes to the symbol-file reader through a file, as the host would hand one over.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "model/Symbols.h"
#include "platform/UiService.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::HeadlessUi* ui = platform::UiService::Headless();
    ui->SetEcho(false);
    static const FuzzFolder folder("fuzz-symfile");
    const std::string path = folder.Write("input", data, size);
    if (path.empty()) return 0;

    std::unique_ptr<TListaSYM> symbols;
    std::int32_t result = -1;
    ReadSymbolFile(path, symbols, result);
    if (result != 0 && result != 13) __builtin_trap();
    std::string name;
    symbols->SymbolFileName("4101", name);
    symbols->ResetSymbolParams();
    ui->ClearMessages();
    return 0;
}
