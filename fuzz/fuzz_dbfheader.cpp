// A dBase file header and field descriptors as the attribute copy reads them.
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/UiService.h"
#include "shape/DBaseFile.h"

namespace {

struct Folder {
    std::string dir;
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-dbf-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Folder folder;
    platform::UiService::Headless()->SetEcho(false);
    platform::UiService::Headless()->ClearMessages();
    const std::string path = folder.dir + "/in.dbf";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    std::int32_t fields = 0, records = 0, length = 0;
    auto dbf = TSimpleDBFile::OpenExisting(path, fields, records, length);
    auto copy = TSimpleDBFile::CreateNew(folder.dir + "/out.dbf", 3, fields, 0, length);
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
