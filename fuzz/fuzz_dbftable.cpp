// A dBase table as the table component reads it row by row, after the header check the
// attribute copy makes; then a row of the first row's values appended to a copy, whose text
// fields must read back as they were.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/FuzzFolder.h"
#include "platform/DbfTable.h"
#include "platform/UiService.h"
#include "shape/DBaseFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const FuzzFolder folder("fuzz-dbftable");
    platform::UiService::Headless()->SetEcho(false);
    platform::UiService::Headless()->ClearMessages();
    const std::string source = folder.Write("in.dbf", data, size);
    TSimpleDBFile::CheckHeader(source);

    std::vector<std::string> first;
    try {
        platform::DbfTable table;
        table.Open(source, platform::DbfTable::Mode::ReadShared);
        for (table.First(); !table.Eof(); table.Next()) {
            for (int i = 0; i < table.FieldCount(); ++i) {
                std::string text = table.FieldText(i);
                if (table.RecNo() == 0) first.push_back(std::move(text));
                if (table.FieldIndex(table.Field(i).name) < 0) std::abort();
            }
        }
    } catch (const platform::DbfError&) {
        return 0;
    }
    if (first.empty()) return 0;

    const std::string copy = folder.Path("copy.dbf");
    std::error_code ignored;
    std::filesystem::copy_file(source, copy, std::filesystem::copy_options::overwrite_existing,
                               ignored);
    try {
        platform::DbfTable table;
        table.Open(copy, platform::DbfTable::Mode::Append);
        table.Append();
        for (int i = 0; i < table.FieldCount(); ++i) {
            try {
                table.SetFieldText(i, first[static_cast<std::size_t>(i)]);
            } catch (const platform::DbfError&) {
            }
        }
        table.Post();
        const int row = table.RecNo();
        table.Close();
        table.Open(copy, platform::DbfTable::Mode::ReadShared);
        table.First();
        while (!table.Eof() && table.RecNo() < row) table.Next();
        if (table.RecNo() != row) return 0;
        for (int i = 0; i < table.FieldCount(); ++i) {
            if (table.Field(i).type == 'C' &&
                table.FieldText(i) != first[static_cast<std::size_t>(i)])
                std::abort();
        }
    } catch (const platform::DbfError&) {
    }
    return 0;
}
