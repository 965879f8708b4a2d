// Per-object lookups in an external Access table, as a batch export makes them: the row of one
// key, with every column read. Through the worker process (one per conversion, the table read
// once and looked up by key) against mdbtools read in this process (the table definition read
// and every row scanned for each lookup). Run:
//   build/bench/bench_access
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/AccessConnection.h"
#include "platform/AccessTable.h"
#include "platform/IniNames.h"
#include "platform/NumberText.h"
#include "platform/accessworker/AccessReader.h"

namespace {

struct Lookup {
    const char* database;
    const char* table;
    const char* key;
};

// Jet 3 by a text key (91 rows), Jet 3 by a number key (830 rows), Jet 4 by a number key.
const Lookup kLookups[] = {
    {"nwind.mdb", "Customers", "CustomerID"},
    {"nwind.mdb", "Orders", "OrderID"},
    {"DateTestDatabase.mdb", "DateTest", "IDCol"},
};

std::string DatabasePath(const Lookup& l) {
    return std::string(KESTREL_SOURCE_DIR "/tests/data/access/") + l.database;
}

// The position of the lookup's key among the table's columns.
std::size_t KeyColumn(const std::vector<platform::AccessColumnInfo>& columns, const Lookup& l) {
    std::size_t key = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (platform::IniNamesEqual(columns[i].name, l.key)) key = i;
    }
    return key;
}

// Every key of the table, in table order: each lookup asks for the next one.
std::vector<std::string> Keys(const Lookup& l) {
    platform::AccessReader reader(DatabasePath(l));
    std::vector<std::string> keys;
    const std::size_t key = KeyColumn(*reader.Columns(l.table), l);
    reader.Scan(l.table, [&](std::vector<std::string>&& row) { keys.push_back(row[key]); });
    return keys;
}

void BM_InProcessLookup(benchmark::State& state) {
    const Lookup& l = kLookups[state.range(0)];
    const std::vector<std::string> keys = Keys(l);
    platform::AccessReader reader(DatabasePath(l));
    std::size_t next = 0;
    std::size_t cells = 0;
    for (auto _ : state) {
        const std::string& id = keys[next++ % keys.size()];
        const auto columns = reader.Columns(l.table);
        const std::size_t key = KeyColumn(*columns, l);
        const bool numeric = (*columns)[key].numeric;
        const auto wanted = platform::StrToFloatStrict(id);
        reader.Scan(l.table, [&](std::vector<std::string>&& row) {
            const std::string& cell = row[key];
            const bool match = numeric ? platform::StrToFloatStrict(cell) == wanted
                                       : platform::IniNamesEqual(cell, id);
            if (match)
                for (const std::string& text : row) cells += text.size();
        });
    }
    benchmark::DoNotOptimize(cells);
    state.SetLabel(std::string(l.database) + " " + l.table);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_InProcessLookup)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

void BM_WorkerLookup(benchmark::State& state) {
    const Lookup& l = kLookups[state.range(0)];
    const std::vector<std::string> keys = Keys(l);
    platform::AccessConnection connection;
    connection.SetConnectionString("Data Source=" + DatabasePath(l));
    connection.Open();
    platform::AccessTable table(connection);
    table.SetTableName(l.table);
    std::size_t next = 0;
    std::size_t cells = 0;
    for (auto _ : state) {
        table.Open();
        table.SetFilter(l.key, keys[next++ % keys.size()]);
        for (table.First(); !table.Eof(); table.Next()) {
            for (int i = 0; i < table.FieldCount(); ++i) cells += table.FieldText(i).size();
        }
        table.Close();
    }
    benchmark::DoNotOptimize(cells);
    state.SetLabel(std::string(l.database) + " " + l.table);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_WorkerLookup)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// What a conversion pays once: the worker started and the database opened.
void BM_WorkerStart(benchmark::State& state) {
    const Lookup& l = kLookups[state.range(0)];
    for (auto _ : state) {
        platform::AccessConnection connection;
        connection.SetConnectionString("Data Source=" + DatabasePath(l));
        connection.Open();
    }
    state.SetLabel(l.database);
}
BENCHMARK(BM_WorkerStart)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
