// A dBase file header and field descriptors as the attribute copy reads them: the header check
// first, then, for a header that passes, every descriptor copied into a new table.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "platform/UiService.h"
#include "shape/DBaseFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-dbf");
    platform::UiService::Headless()->SetEcho(false);
    platform::UiService::Headless()->ClearMessages();
    const std::string path = folder.Write("in.dbf", data, size);
    if (!TSimpleDBFile::CheckHeader(path)) return 0;
    std::int32_t fields = 0, records = 0, length = 0;
    auto dbf = TSimpleDBFile::OpenExisting(path, fields, records, length);
    auto copy = TSimpleDBFile::CreateNew(folder.Path("out.dbf"), 3, fields, 0, length);
    for (std::int32_t i = 0; i < fields; ++i) {
        TDBFFieldDescriptor d{};
        if (!dbf->ReadFieldDescriptor(d)) break;
        dbf->CheckFieldDescriptor(d);
        const char* raw = reinterpret_cast<const char*>(d.data());
        copy->AddField(std::string(raw, ::strnlen(raw, 11)), static_cast<char>(d[11]), d[16],
                       d[17]);
    }
    return 0;
}
