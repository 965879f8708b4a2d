// An Access database read through the worker process, as a batch configuration's external table
// is: the tables, the columns and rows of the first few, and a lookup of each one's first key.
// Whatever the bytes do to the reader, every call ends with an answer or an AccessError within
// the worker's limits, and a key read from a row finds that row again.
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/FuzzFolder.h"
#include "platform/AccessConnection.h"
#include "platform/AccessTable.h"

namespace {

void ReadTable(platform::AccessTable& table) {
    table.Open();
    std::string key;
    bool haveKey = false;
    for (table.First(); !table.Eof(); table.Next()) {
        for (int i = 0; i < table.FieldCount(); ++i) {
            const std::string text = table.FieldText(i);
            if (i == 0 && !haveKey) {
                key = text;
                haveKey = true;
            }
        }
    }
    if (!haveKey || table.FieldCount() == 0) return;
    const std::string column = table.FieldName(0);
    try {
        table.SetFilter(column, key);
    } catch (const platform::AccessConnectionLost&) {
        throw;
    } catch (const platform::AccessError&) {
        return;  // a number column with a value that is no number
    }
    if (table.RecordCount() == 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-access");
    const std::string path = folder.Write("in.mdb", data, size);
    platform::AccessWorkerSettings settings;
    settings.memoryBytes = std::size_t{256} << 20;
    settings.cpuSeconds = 10;
    settings.replyTimeout = std::chrono::milliseconds(1000);
    settings.maxReplyBytes = 16u << 20;
    platform::AccessConnection connection;
    connection.SetWorkerSettings(settings);
    connection.SetConnectionString("Data Source=" + path);
    try {
        connection.Open();
        const auto names = connection.TableNames();
        platform::AccessTable table(connection);
        for (std::size_t i = 0; i < names.size() && i < 4; ++i) {
            table.SetTableName(names[i]);
            try {
                ReadTable(table);
            } catch (const platform::AccessConnectionLost&) {
                throw;
            } catch (const platform::AccessError&) {
            }
            table.Close();
        }
    } catch (const platform::AccessError&) {
    }
    return 0;
}
