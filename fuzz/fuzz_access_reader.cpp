// An Access database read in this process by the worker's own reader, as the worker reads an
// external table for the program: the tables, the columns and rows of the first few, and a lookup
// of each one's first key. A crash, a hang or memory without end here is a finding (the worker
// would only have died of it); a key read from a row must find that row again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "platform/IniNames.h"
#include "platform/NumberText.h"
#include "platform/accessworker/AccessTableCache.h"

namespace {

void ReadTable(platform::AccessTableCache& cache, const std::string& name) {
    const platform::AccessTableCache::Table* table = cache.Find(name);
    if (table == nullptr || table->rows.Count() == 0) return;
    const std::string key(table->rows.Value(0, 0));
    if (table->columns[0].numeric && !platform::StrToFloatStrict(platform::IniTrim(key))) return;
    if (cache.Select(name, 0, key).empty()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-access-reader");
    const std::string path = folder.Write("in.mdb", data, size);
    try {
        platform::AccessTableCache cache(path);
        const auto names = cache.Tables();
        for (std::size_t i = 0; i < names.size() && i < 4; ++i) ReadTable(cache, names[i]);
    } catch (const platform::AccessError&) {
    }
    return 0;
}
