// Feeds arbitrary bytes to the symbol-file reader through a file, as the host would hand one over.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "model/Symbols.h"
#include "platform/UiService.h"

namespace {

// The one input file of the run, removed when the fuzzer exits.
struct InputFile {
    std::string path = "/tmp/fuzz_symfile_XXXXXX";
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

    std::unique_ptr<TListaSYM> symbols;
    std::int32_t result = -1;
    ReadSymbolFile(InputPath(), symbols, result);
    if (result != 0 && result != 13) __builtin_trap();
    std::string name;
    symbols->SymbolFileName("4101", name);
    symbols->ResetSymbolParams();
    ui->ClearMessages();
    return 0;
}
