// Feeds arbitrary bytes to the symbol-file reader through a file, as the host would hand one over.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzInputFile.h"
#include "model/Symbols.h"
#include "platform/UiService.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::HeadlessUi* ui = platform::UiService::Headless();
    ui->SetEcho(false);
    static const FuzzInputFile input("fuzz_symfile");
    if (!input.Write(data, size)) return 0;

    std::unique_ptr<TListaSYM> symbols;
    std::int32_t result = -1;
    ReadSymbolFile(input.Path(), symbols, result);
    if (result != 0 && result != 13) __builtin_trap();
    std::string name;
    symbols->SymbolFileName("4101", name);
    symbols->ResetSymbolParams();
    ui->ClearMessages();
    return 0;
}
