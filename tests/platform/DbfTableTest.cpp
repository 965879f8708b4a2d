#include "platform/DbfTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <sstream>

#include "platform/Cp1250.h"
#include "tests/platform/ScratchFolder.h"

using namespace platform;

namespace {

struct FieldLayout {
    const char* name;
    char type;
    int length;
    int decimals;
};

// An empty dBase III table as the system's own header writer leaves it: header, descriptors,
// terminator 0x0D and end-of-file mark 0x1A, no rows.
void WriteEmptyTable(const std::string& name, const std::vector<FieldLayout>& fields) {
    int recordLength = 1;
    for (const auto& f : fields) recordLength += f.length;
    std::string bytes(32, '\0');
    bytes[0] = 3;
    bytes[1] = 104;  // 2004-07-15
    bytes[2] = 7;
    bytes[3] = 15;
    const int headerLength = 32 * static_cast<int>(fields.size()) + 33;
    bytes[8] = static_cast<char>(headerLength & 0xFF);
    bytes[9] = static_cast<char>(headerLength >> 8);
    bytes[10] = static_cast<char>(recordLength & 0xFF);
    bytes[11] = static_cast<char>(recordLength >> 8);
    for (const auto& f : fields) {
        std::string d(32, '\0');
        std::string n(f.name);
        d.replace(0, n.size(), n);
        d[11] = f.type;
        d[16] = static_cast<char>(f.length);
        d[17] = static_cast<char>(f.decimals);
        bytes += d;
    }
    bytes += "\x0D\x1A";
    WriteBytes(name, bytes);
}

const std::vector<FieldLayout> kExportFields = {
    {"KOD", 'C', 4, 0},  {"A1", 'C', 25, 0},  {"MP", 'N', 4, 0},    {"DT", 'D', 8, 0},
    {"VAL", 'N', 10, 2}, {"WSP", 'F', 12, 4}, {"TPID", 'N', 10, 0},
};

std::string Python() {
    return "/usr/bin/python3";
}

bool HasTool(const std::string& check) {
    int status = 0;
    RunCommand(check + " >/dev/null 2>&1", status);
    return status == 0;
}

// ogrinfo's view of a table: one map of field name to value text per row (raw bytes).
std::vector<std::map<std::string, std::string>> OgrRows(const std::string& dbf) {
    int status = 0;
    std::string out =
        RunCommand("ogrinfo --config SHAPE_ENCODING '' -ro -al -q '" + dbf + "' 2>&1", status);
    EXPECT_EQ(status, 0) << out;
    std::vector<std::map<std::string, std::string>> rows;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("OGRFeature", 0) == 0) rows.emplace_back();
        std::size_t open = line.find(" (");
        std::size_t eq = line.find(") = ");
        if (!rows.empty() && line.rfind("  ", 0) == 0 && open != std::string::npos &&
            eq != std::string::npos)
            rows.back()[line.substr(2, open - 2)] = line.substr(eq + 4);
    }
    return rows;
}

}  // namespace

TEST(DbfTable, AppendsRowsToAnEmptyTableOfTheSystemsOwnHeader) {
    ScratchFolder folder;
    const std::string name = folder.Path("1000.dbf");
    WriteEmptyTable(name, kExportFields);
    const std::string before = ReadBytes(name);
    const std::string polish = Utf8ToCp1250("Łąka żółta");

    DbfTable table;
    table.Open(name, DbfTable::Mode::Append);
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_TRUE(table.Eof());
    table.Append();
    table.SetFieldText("KOD", "1000");
    table.SetFieldText("a1", polish);
    table.SetFieldInteger("MP", 12);
    table.SetFieldText("DT", "2004-07-15");
    table.SetFieldText("VAL", "-5.5");
    table.SetFieldText("WSP", "3.25");
    table.SetFieldInteger("TPID", 1);
    table.Post();
    table.Append();  // fields left blank
    table.SetFieldInteger(6, 2);
    table.Append();                  // posts the row before
    table.SetFieldText(0, "12345");  // cut to the field length
    table.SetFieldText(2, "123");
    table.SetFieldText(3, "19991231");
    table.SetFieldInteger(4, 7);
    table.SetFieldInteger(6, 3);
    table.Close();  // posts the last row

    // The header's layout stays as written; only the date and record count change.
    const std::string after = ReadBytes(name);
    const std::size_t headerLength = 32 * kExportFields.size() + 33;
    const std::size_t recordLength = 1 + 4 + 25 + 4 + 8 + 10 + 12 + 10;
    ASSERT_EQ(after.size(), headerLength + 3 * recordLength + 1);
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after.substr(4, 4), std::string("\x03\0\0\0", 4));
    EXPECT_EQ(after.substr(8, headerLength - 8), before.substr(8, headerLength - 8));
    EXPECT_EQ(after.back(), '\x1A');
    // dBase III field forms: C left-aligned, N right-aligned, D as YYYYMMDD.
    EXPECT_EQ(after.substr(headerLength, recordLength),
              " 1000" + polish + std::string(25 - polish.size(), ' ') + "  1220040715     -5.50" +
                  "      3.2500         1");
    EXPECT_EQ(after.substr(headerLength + 2 * recordLength + 1, 4 + 25 + 4 + 8),
              "1234" + std::string(25, ' ') + " 12319991231");

    // Read back through the component.
    table.Open(name, DbfTable::Mode::ReadShared);
    ASSERT_EQ(table.RecordCount(), 3);
    EXPECT_EQ(table.FieldText("A1"), polish);
    EXPECT_EQ(table.FieldText("DT"), "20040715");
    EXPECT_EQ(table.FieldText("VAL"), "-5.50");
    table.Next();
    EXPECT_EQ(table.FieldText("KOD"), "");
    EXPECT_EQ(table.FieldText("DT"), "");
    EXPECT_EQ(table.FieldText("TPID"), "2");
    table.Close();

    // Oracles: GDAL and pyshp read every field type as written.
    ASSERT_TRUE(HasTool("ogrinfo --version")) << "ogrinfo missing: install gdal-bin";
    auto rows = OgrRows(name);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]["KOD"], "1000");
    EXPECT_EQ(rows[0]["A1"], polish);
    EXPECT_EQ(rows[0]["MP"], "12");
    EXPECT_EQ(rows[0]["DT"], "2004/07/15");
    EXPECT_EQ(rows[0]["VAL"], "-5.50");
    EXPECT_EQ(rows[0]["WSP"], "3.2500");
    EXPECT_EQ(rows[0]["TPID"], "1");
    EXPECT_EQ(rows[1]["MP"], "(null)");
    EXPECT_TRUE(rows[1]["DT"].empty() || rows[1]["DT"] == "(null)") << rows[1]["DT"];
    EXPECT_EQ(rows[2]["KOD"], "1234");
    EXPECT_EQ(rows[2]["MP"], "123");
    EXPECT_EQ(rows[2]["DT"], "1999/12/31");
    EXPECT_EQ(rows[2]["VAL"], "7.00");

    ASSERT_TRUE(HasTool(Python() + " -c 'import shapefile'"))
        << "pyshp missing: install python3-pyshp";
    int status = 0;
    std::string out =
        RunCommand(Python() +
                       " -c \"import shapefile,sys; r=shapefile.Reader(dbf=open(sys.argv[1],'rb'),"
                       " encoding='cp1250'); print([tuple(x) for x in r.records()])\" '" +
                       name + "'",
                   status);
    ASSERT_EQ(status, 0) << out;
    EXPECT_EQ(out,
              "[('1000', '\xc5\x81\xc4\x85ka \xc5\xbc\xc3\xb3\xc5\x82ta', 12, "
              "datetime.date(2004, 7, 15), -5.5, 3.25, 1), "
              "('', '', None, None, None, None, 2), "
              "('1234', '', 123, datetime.date(1999, 12, 31), 7.0, None, 3)]\n");
}

// A table of another writer, opened whatever the case of its name.
TEST(DbfTable, ReadsTablesOfOtherWritersRowByRow) {
    ASSERT_TRUE(HasTool(Python() + " -c 'import shapefile'"))
        << "pyshp missing: install python3-pyshp";
    ScratchFolder folder;
    const std::string name = folder.Path("Drogi.Dbf");
    int status = 0;
    std::string out = RunCommand(
        Python() +
            " -c \"import shapefile,sys,datetime\n"
            "w=shapefile.Writer(dbf=open(sys.argv[1],'wb'),encoding='cp1250')\n"
            "w.field('NAZWA','C',20); w.field('ILE','N',10,0); w.field('KWOTA','N',10,2)\n"
            "w.field('WSP','F',12,4); w.field('DATA','D'); w.field('JEST','L')\n"
            "w.record('  Łódź', 12, -5.5, 3.25, datetime.date(2004,7,15), True)\n"
            "w.record(None, None, None, None, None, None)\n"
            "w.record('c', -1, 0, 0, datetime.date(2000,2,29), False)\n"
            "w.close()\" '" +
            name + "' 2>&1",
        status);
    ASSERT_EQ(status, 0) << out;

    DbfTable table;
    table.Open(folder.Path("drogi.dbf"), DbfTable::Mode::ReadShared);
    ASSERT_EQ(table.FieldCount(), 6);
    EXPECT_EQ(table.Field(0).name, "NAZWA");
    EXPECT_EQ(table.Field(0).type, 'C');
    EXPECT_EQ(table.Field(2).length, 10);
    EXPECT_EQ(table.Field(2).decimals, 2);
    EXPECT_EQ(table.Field(3).type, 'F');
    EXPECT_EQ(table.Field(4).type, 'D');
    EXPECT_EQ(table.Field(5).type, 'L');
    EXPECT_EQ(table.FieldIndex("kwota"), 2);
    EXPECT_EQ(table.FieldIndex("BRAK"), -1);
    EXPECT_EQ(table.RecordCount(), 3);

    std::vector<std::string> seen;
    for (table.First(); !table.Eof(); table.Next()) {
        std::string row;
        for (int i = 0; i < table.FieldCount(); ++i) row += table.FieldText(i) + "|";
        seen.push_back(row);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{Utf8ToCp1250("  Łódź|12|-5.50|3.2500|20040715|T|"),
                                              "||||||", "c|-1|0.00|0.0000|20000229|F|"}));
    // Next on the last row stays on it.
    EXPECT_EQ(table.RecNo(), 2);
    table.Next();
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.FieldText("NAZWA"), "c");
    EXPECT_THROW(table.FieldText("BRAK"), DbfError);
    EXPECT_THROW(table.Field(6), DbfError);
    EXPECT_THROW(table.Append(), DbfError);  // read-only
}

TEST(DbfTable, CopiesRowsFieldByFieldAsText) {
    // A table copied field by field as text into the same layout (the link table beside a MAP
    // file) keeps every value byte for byte.
    ASSERT_TRUE(HasTool(Python() + " -c 'import shapefile'"))
        << "pyshp missing: install python3-pyshp";
    ScratchFolder folder;
    const std::string source = folder.Path("src.dbf");
    int status = 0;
    std::string out = RunCommand(
        Python() +
            " -c \"import shapefile,sys,datetime\n"
            "w=shapefile.Writer(dbf=open(sys.argv[1],'wb'),encoding='cp1250')\n"
            "w.field('NAZWA','C',20); w.field('ILE','N',10,0); w.field('KWOTA','N',10,2)\n"
            "w.field('WSP','F',12,4); w.field('DATA','D'); w.field('JEST','L')\n"
            "w.record(' Łódź  x', -12, 1234567.5, -0.125, datetime.date(1999,1,2), False)\n"
            "w.record('', 0, 0.01, 3, datetime.date(2024,2,29), True)\n"
            "w.close()\" '" +
            source + "' 2>&1",
        status);
    ASSERT_EQ(status, 0) << out;
    const std::string target = folder.Path("map_src.dbf");
    WriteEmptyTable(target, {{"NAZWA", 'C', 20, 0},
                             {"ILE", 'N', 10, 0},
                             {"KWOTA", 'N', 10, 2},
                             {"WSP", 'F', 12, 4},
                             {"DATA", 'D', 8, 0},
                             {"JEST", 'L', 1, 0}});
    DbfTable from;
    DbfTable to;
    from.Open(source, DbfTable::Mode::ReadShared);
    to.Open(target, DbfTable::Mode::Append);
    for (from.First(); !from.Eof(); from.Next()) {
        to.Append();
        for (int i = 0; i < from.FieldCount(); ++i) to.SetFieldText(i, from.FieldText(i));
    }
    to.Close();
    const std::string a = ReadBytes(source);
    const std::string b = ReadBytes(target);
    const std::size_t rows = 2 * 62;
    ASSERT_GE(a.size(), 225u + rows);
    ASSERT_GE(b.size(), 225u + rows);
    EXPECT_EQ(b.substr(225, rows), a.substr(225, rows));
}

TEST(DbfTable, RefusesValuesAFieldCannotHold) {
    ScratchFolder folder;
    const std::string name = folder.Path("t.dbf");
    WriteEmptyTable(name, kExportFields);
    DbfTable table;
    table.Open(name, DbfTable::Mode::Append);
    EXPECT_THROW(table.SetFieldText("KOD", "1"), DbfError);  // no row appended
    table.Append();
    table.SetFieldText("MP", "12");
    EXPECT_THROW(table.SetFieldText("MP", "12a"), DbfError);
    EXPECT_THROW(table.SetFieldText("MP", "12345"), DbfError);   // longer than N4
    EXPECT_THROW(table.SetFieldInteger("MP", -1000), DbfError);  // "-1000" is 5 long
    EXPECT_EQ(table.FieldText("MP"), "12");                      // unchanged by the failures
    table.SetFieldText("VAL", "-0.001");
    EXPECT_EQ(table.FieldText("VAL"), "0.00");  // rounded, no negative zero
    table.SetFieldText("VAL", " 1e3 ");
    EXPECT_EQ(table.FieldText("VAL"), "1000.00");
    EXPECT_THROW(table.SetFieldText("VAL", "1e300"), DbfError);
    EXPECT_THROW(table.SetFieldText("DT", "2004-02-30"), DbfError);
    EXPECT_THROW(table.SetFieldText("DT", "15.07.2004"), DbfError);
    EXPECT_THROW(table.SetFieldInteger("DT", 20040715), DbfError);
    table.SetFieldText("DT", "20000229");
    table.SetFieldText("DT", "");
    EXPECT_EQ(table.FieldText("DT"), "");
    table.SetFieldInteger("KOD", 5100);
    EXPECT_EQ(table.FieldText("KOD"), "5100");
    EXPECT_THROW(table.SetFieldText("BRAK", "x"), DbfError);
    EXPECT_THROW(table.SetFieldText(99, "x"), DbfError);
    table.Post();
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.RecNo(), 0);
}

TEST(DbfTable, OpeningFailsCleanly) {
    ScratchFolder folder;
    DbfTable table;
    EXPECT_THROW(table.Open(folder.Path("missing.dbf"), DbfTable::Mode::ReadShared), DbfError);
    WriteEmptyTable(folder.Path("t.dbx"), kExportFields);
    EXPECT_THROW(table.Open(folder.Path("t.dbx"), DbfTable::Mode::ReadShared), DbfError);
    WriteBytes(folder.Path("short.dbf"), "\x03\x01");
    EXPECT_THROW(table.Open(folder.Path("short.dbf"), DbfTable::Mode::ReadShared), DbfError);
    // A header whose record length is shorter than its fields.
    WriteEmptyTable(folder.Path("bad.dbf"), kExportFields);
    std::string bytes = ReadBytes(folder.Path("bad.dbf"));
    bytes[10] = 5;
    bytes[11] = 0;
    WriteBytes(folder.Path("bad.dbf"), bytes);
    EXPECT_THROW(table.Open(folder.Path("bad.dbf"), DbfTable::Mode::ReadShared), DbfError);
    try {
        table.Open(folder.Path("missing.dbf"), DbfTable::Mode::Append);
    } catch (const DbfError& e) {
        EXPECT_NE(std::string(e.what()).find("missing.dbf"), std::string::npos);
    }
    EXPECT_FALSE(table.Active());
    EXPECT_THROW(table.First(), DbfError);
    // A table without fields opens empty or fails, but never crashes.
    WriteEmptyTable(folder.Path("nofields.dbf"), {});
    try {
        table.Open(folder.Path("nofields.dbf"), DbfTable::Mode::Append);
        EXPECT_EQ(table.FieldCount(), 0);
        EXPECT_TRUE(table.Eof());
        table.Close();
    } catch (const DbfError&) {
    }
}

// A table read row by row far past what one read of the file brings, and one whose header
// announces more rows than the file holds: the rows there read right, the missing one is an error.
TEST(DbfTable, ReadsLongTablesAndRefusesRowsTheFileLacks) {
    ScratchFolder folder;
    const std::string name = folder.Path("dlugi.dbf");
    WriteEmptyTable(name, {{"NR", 'N', 8, 0}, {"OPIS", 'C', 31, 0}});
    std::string bytes = ReadBytes(name);
    bytes.pop_back();  // the end-of-file mark goes after the rows
    constexpr int kRows = 20000;
    for (int r = 0; r < kRows; ++r) {
        const std::string nr = std::to_string(r);
        bytes.append(9 - nr.size(), ' ').append(nr).append("wiersz ").append(nr);
        bytes.append(24 - nr.size(), ' ');
    }
    bytes[4] = static_cast<char>(kRows & 0xFF);
    bytes[5] = static_cast<char>((kRows >> 8) & 0xFF);
    WriteBytes(name, bytes + "\x1A");

    DbfTable table;
    table.Open(name, DbfTable::Mode::ReadShared);
    int rows = 0;
    for (table.First(); !table.Eof(); table.Next()) {
        ASSERT_EQ(table.FieldText(0), std::to_string(rows));
        ASSERT_EQ(table.FieldText(1), "wiersz " + std::to_string(rows));
        ++rows;
    }
    EXPECT_EQ(rows, kRows);
    table.First();
    EXPECT_EQ(table.FieldText(1), "wiersz 0");
    table.Close();

    bytes[5] = static_cast<char>(((kRows + 1) >> 8) & 0xFF);  // one row more than there is
    bytes[4] = static_cast<char>((kRows + 1) & 0xFF);
    WriteBytes(name, bytes);
    table.Open(name, DbfTable::Mode::ReadShared);
    for (int r = 1; r < kRows; ++r) table.Next();
    EXPECT_EQ(table.FieldText(0), std::to_string(kRows - 1));
    EXPECT_THROW(table.Next(), DbfError);
}
