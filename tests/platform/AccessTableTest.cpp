#include "platform/AccessTable.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/AccessProtocol.h"
#include "platform/Cp1250.h"
#include "tests/platform/DamagedAccess.h"
#include "tests/platform/ScratchFolder.h"

using namespace platform;

namespace {

const std::string kAccess = KESTREL_SOURCE_DIR "/tests/data/access/";

// The connection string the batch configuration builds, with the password it carries.
std::string JetConnection(const std::string& path) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + path +
           ";Mode=Share Deny None;Extended Properties=\"\";Persist Security Info=False;"
           "Jet OLEDB:System database=\"\";Jet OLEDB:Database Password=abcde;"
           "Jet OLEDB:Engine Type=4";
}

// The processes this thread has started and not yet reaped, running or not.
std::string Children() {
    return ReadBytes("/proc/self/task/" + std::to_string(::gettid()) + "/children");
}

// Opens the database and reads the table whole.
void ReadWhole(AccessConnection& connection, const std::string& table) {
    connection.Open();
    AccessTable t(connection);
    t.SetTableName(table);
    t.Open();
    for (t.First(); !t.Eof(); t.Next()) {
        for (int i = 0; i < t.FieldCount(); ++i) t.FieldText(i);
    }
}

}  // namespace

TEST(AccessConnection, ConnectionStringValues) {
    const std::string s = JetConnection("/data/a b.mdb");
    EXPECT_EQ(ConnectionStringValue(s, "data source"), "/data/a b.mdb");
    EXPECT_EQ(ConnectionStringValue(s, "Extended Properties"), "");
    EXPECT_EQ(ConnectionStringValue(s, "Jet OLEDB:Engine Type"), "4");
    EXPECT_EQ(ConnectionStringValue(s, "Password"), "");
    EXPECT_EQ(ConnectionStringValue("A=\"x;\"\"y\"\"\";Data Source = p.mdb ", "Data Source"),
              "p.mdb");
    EXPECT_EQ(ConnectionStringValue("A=\"x;\"\"y\"\"\"", "A"), "x;\"y\"");
    EXPECT_EQ(ConnectionStringValue("junk;;=;Data Source", "Data Source"), "");
}

TEST(AccessTable, FiltersAJet3TableByItsKey) {
    AccessConnection connection;
    connection.SetConnectionString(JetConnection(kAccess + "nwind.mdb"));
    connection.Open();
    ASSERT_TRUE(connection.Connected());
    AccessTable table(connection);
    table.SetTableName("customers");
    table.Open();
    EXPECT_EQ(table.FieldCount(), 11);
    EXPECT_EQ(table.FieldName(0), "CustomerID");
    EXPECT_EQ(table.FieldIndex("companyname"), 1);
    EXPECT_EQ(table.RecordCount(), 91);
    EXPECT_EQ(table.FieldText("CustomerID"), "ALFKI");

    table.SetFilter("CustomerID", "ANATR");
    ASSERT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.FieldText("Address"), Utf8ToCp1250("Avda. de la Constitución 2222"));
    EXPECT_EQ(table.FieldText("City"), Utf8ToCp1250("México D.F."));
    EXPECT_EQ(table.FieldText("Region"), "");  // NULL

    table.SetFilter("customerid", "alfki");  // text compares as the engine does, without case
    ASSERT_EQ(table.RecordCount(), 1);
    std::string row;
    for (table.First(); !table.Eof(); table.Next()) {
        for (int i = 0; i < table.FieldCount(); ++i)
            row += " " + table.FieldName(i) + "=[" + table.FieldText(i) + "]";
    }
    EXPECT_EQ(row,
              " CustomerID=[ALFKI] CompanyName=[Alfreds Futterkiste] ContactName=[Maria Anders]"
              " ContactTitle=[Sales Representative] Address=[Obere Str. 57] City=[Berlin]"
              " Region=[] PostalCode=[12209] Country=[Germany] Phone=[030-0074321]"
              " Fax=[030-0076545]");

    table.SetFilter("CustomerID", "NONE");
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.FieldText(0), "");

    // A number column takes a number; the filter stays as it was after a refusal.
    table.Close();
    table.SetTableName("Orders");
    table.Open();
    table.SetFilter("OrderID", "10248");
    ASSERT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.FieldText("CustomerID"), "VINET");
    EXPECT_THROW(table.SetFilter("OrderID", "ALFKI"), AccessError);
    EXPECT_THROW(table.SetFilter("NoSuchColumn", "1"), AccessError);
    EXPECT_EQ(table.RecordCount(), 1);
    EXPECT_THROW(table.FieldText("NoSuchColumn"), AccessError);

    // The table with a non-ASCII name.
    table.Close();
    table.SetTableName(Utf8ToCp1250("Umsätze"));
    table.Open();
    EXPECT_GT(table.FieldCount(), 0);
}

TEST(AccessTable, ReadsAJet4TableWithDatesAndMemos) {
    AccessConnection connection;
    connection.SetConnectionString("Data Source=" + kAccess + "DateTestDatabase.mdb");
    connection.Open();
    AccessTable table(connection);
    table.SetTableName("DateTest");
    table.Open();
    ASSERT_EQ(table.FieldCount(), 6);
    table.SetFilter("IDCol", "1");
    ASSERT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.FieldText("ShortTextCol"), "Hello");
    EXPECT_EQ(table.FieldText("LongTextCol"), "Hello");
    EXPECT_EQ(table.FieldText("DateTimeCol").substr(0, 10), "2021-12-02");
    table.SetFilter("IDCol", "6");
    ASSERT_EQ(table.RecordCount(), 1);
    EXPECT_EQ(table.FieldText("LongTextCol"), "New line\r\nin field");
    // Every row reads, unusual dates included.
    table.ClearFilter();
    int rows = 0;
    for (table.First(); !table.Eof(); table.Next()) {
        for (int i = 0; i < table.FieldCount(); ++i) table.FieldText(i);
        ++rows;
    }
    EXPECT_EQ(rows, table.RecordCount());
    EXPECT_GE(rows, 6);
}

TEST(AccessTable, MissingDatabasesAndTablesFailCleanly) {
    ScratchFolder folder;
    AccessConnection connection;
    connection.SetConnectionString(JetConnection(folder.Path("brak.mdb")));
    try {
        connection.Open();
        ADD_FAILURE() << "a missing database opened";
    } catch (const AccessError& e) {
        EXPECT_NE(std::string(e.what()).find(folder.Path("brak.mdb")), std::string::npos);
    }
    EXPECT_FALSE(connection.Connected());
    connection.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0");
    EXPECT_THROW(connection.Open(), AccessError);
    WriteBytes(folder.Path("garbage.mdb"), std::string(8192, 'x'));
    connection.SetConnectionString("Data Source=" + folder.Path("garbage.mdb"));
    EXPECT_THROW(connection.Open(), AccessError);
    WriteBytes(folder.Path("empty.mdb"), "");
    connection.SetConnectionString("Data Source=" + folder.Path("empty.mdb"));
    EXPECT_THROW(connection.Open(), AccessError);
    connection.SetConnectionString("Data Source=" + folder.Path());
    EXPECT_THROW(connection.Open(), AccessError);
    // A pipe nobody writes to is refused before a worker could wait on it.
    const std::string pipe = folder.Path("potok.mdb");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    connection.SetConnectionString("Data Source=" + pipe);
    try {
        connection.Open();
        ADD_FAILURE() << "a pipe opened";
    } catch (const AccessError& e) {
        EXPECT_EQ(Cp1250ToUtf8(e.what()),
                  "Nie można otworzyć bazy danych " + pipe + ": nie jest zwykłym plikiem");
    }
    // Damaged databases that would crash the database library, or keep it looping or allocating
    // without end, are refused as databases that cannot be opened, not as a failed worker.
    for (AccessDamage damage :
         {AccessDamage::Crash, AccessDamage::EndlessMemory, AccessDamage::EndlessLoop}) {
        const std::string path = WriteDamagedDatabase(folder.Path("damaged.mdb"), damage);
        connection.SetConnectionString("Data Source=" + path);
        try {
            connection.Open();
            ADD_FAILURE() << "a damaged database opened";
        } catch (const AccessConnectionLost& e) {
            ADD_FAILURE() << "the worker failed: " << e.what();
        } catch (const AccessError& e) {
            EXPECT_EQ(Cp1250ToUtf8(e.what()), "Nie można otworzyć bazy danych " + path);
        }
    }

    AccessTable table(connection);
    table.SetTableName("Customers");
    EXPECT_THROW(table.Open(), AccessError);  // not connected
    connection.SetConnectionString("Data Source=" + kAccess + "nwind.mdb");
    connection.Open();
    table.SetTableName("NoSuchTable");
    EXPECT_THROW(table.Open(), AccessError);
    EXPECT_FALSE(table.Active());
    EXPECT_THROW(table.RecordCount(), AccessError);
}

TEST(AccessWorker, WhateverAWorkerDoesOnlyItEnds) {
    ScratchFolder folder;
    // Memory runs out well before the answer is due; a worker that never answers is given up on
    // after a second.
    AccessWorkerSettings bounded;
    bounded.memoryBytes = std::size_t{256} << 20;
    bounded.replyTimeout = std::chrono::milliseconds(30000);
    AccessWorkerSettings impatient = bounded;
    impatient.replyTimeout = std::chrono::milliseconds(1000);
    AccessWorkerSettings fake = bounded;
    fake.program = KESTREL_FAKE_ACCESS_WORKER;
    AccessWorkerSettings fakeImpatient = impatient;
    fakeImpatient.program = KESTREL_FAKE_ACCESS_WORKER;
    AccessWorkerSettings missing = bounded;
    missing.program = folder.Path("brak-programu");
    struct Case {
        std::string database;
        const AccessWorkerSettings& settings;
        const std::string& failure;
    };
    const std::string died = "Proces odczytu bazy danych przerwał pracę";
    const std::string silent = "Proces odczytu bazy danych nie odpowiada";
    const std::string garbage = "Niepoprawna odpowiedź procesu odczytu bazy danych";
    const std::string tooLong = "Za długa odpowiedź procesu odczytu bazy danych";
    const std::string notStarted = "Nie można uruchomić procesu odczytu bazy danych ";
    const Case cases[] = {
        // A worker that crashes, hangs, takes memory without end, answers garbage, is cut off in
        // its answer or announces an answer beyond the limit; and one that is not there.
        {"crash", fake, died},
        {"hang", fakeImpatient, silent},
        {"allocate", fake, died},
        {"garbage", fake, garbage},
        {"short", fake, died},
        {"huge", fake, tooLong},
        {kAccess + "nwind.mdb", missing, notStarted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.database);
        AccessConnection connection;
        connection.SetWorkerSettings(c.settings);
        connection.SetConnectionString("Data Source=" + c.database);
        try {
            ReadWhole(connection, "DateTest");
            ADD_FAILURE() << "read through";
        } catch (const AccessConnectionLost& e) {
            EXPECT_EQ(Cp1250ToUtf8(e.what()).substr(0, c.failure.size()), c.failure);
        }
        EXPECT_FALSE(connection.Connected());
        EXPECT_EQ(Children(), "");
    }
}

TEST(AccessWorker, AReplyThatBreaksTheProtocolLosesTheConnection) {
    // The operation answered wrongly (1 open, 2 tables, 3 columns, 4 rows) and its reply.
    const std::pair<int, std::string> replies[] = {
        {1, ""},                                // no status
        {1, "0000"},                            // a byte after the status
        {1, "02"},                              // "no table" to an open
        {1, "07"},                              // no such status
        {2, "02"},                              // "no table" to a listing
        {2, "00ffffffff"},                      // names the reply cannot hold
        {2, "00020000000100000041"},            // one name of two
        {3, "000100000001000000410000"},        // a byte after the columns
        {3, "00010000000100000041"},            // a column without its number flag
        {3, "0001000000010000004102"},          // a number flag neither 0 nor 1
        {3, "0001000000ffffff7f41"},            // a name longer than the reply
        {3, "00ffffffff"},                      // 2^32-1 columns
        {4, "0000000000ffffffff"},              // rows of no columns
        {4, "0001000000ffffff7f"},              // rows the reply cannot hold
        {4, "00ffffffff01000000"},              // values the reply cannot hold
        {4, "00ffffffff00000000"},              // no rows of 2^32-1 columns
        {4, "0002000000010000000100000041"},    // a row short of a value
        {4, "000100000001000000010000004142"},  // a byte after the rows
        {4, "03"},                              // the worker failed
        // One past the most a database holds: tables (of empty names), columns, rows' columns.
        {2, "0001800000/32769/00000000"},
        {3, "0000010000/256/0000000000"},
        {4, "000001000001000000/256/00000000"},
    };
    // The same stand-in with sound replies: one row of one value, and the most a database holds.
    const std::pair<int, std::string> sound[] = {
        {4, "0001000000010000000100000041"},
        {2, "0000800000/32768/00000000"},
        {3, "00ff000000/255/0000000000"},
        {4, "00ff00000001000000/255/00000000"},
    };
    // Lists the tables (2) or reads table "A" whole (3, 4) through a stand-in that answers the
    // operation with the reply.
    const auto ask = [](AccessConnection& connection, int operation, const std::string& reply) {
        AccessWorkerSettings fake;
        fake.program = KESTREL_FAKE_ACCESS_WORKER;
        connection.SetWorkerSettings(fake);
        connection.SetConnectionString("Data Source=reply:" + std::to_string(operation) + ":" +
                                       reply);
        if (operation != 2) {
            ReadWhole(connection, "A");
            return std::size_t{0};
        }
        connection.Open();
        return connection.TableNames().size();
    };
    for (const auto& [operation, reply] : sound) {
        SCOPED_TRACE(std::to_string(operation) + ":" + reply);
        AccessConnection connection;
        EXPECT_EQ(ask(connection, operation, reply), operation == 2 ? 32768u : 0u);
        EXPECT_TRUE(connection.Connected());
    }

    const std::string garbage = "Niepoprawna odpowiedź procesu odczytu bazy danych";
    for (const auto& [operation, reply] : replies) {
        SCOPED_TRACE(std::to_string(operation) + ":" + reply);
        AccessConnection connection;
        try {
            ask(connection, operation, reply);
            ADD_FAILURE() << "read through";
        } catch (const AccessConnectionLost& e) {
            EXPECT_EQ(Cp1250ToUtf8(e.what()), garbage);
        }
        EXPECT_FALSE(connection.Connected());
        EXPECT_EQ(Children(), "");
    }
}

TEST(AccessWorker, RowsTakeAboutTheBytesOfTheirReply) {
    // Many short values, the most a reply can carry for its length.
    struct Shape {
        std::uint32_t columns;
        std::uint32_t rows;
        std::string value;
    };
    const Shape shapes[] = {
        {1, 1u << 20, ""}, {255, 4096, ""}, {7, 50000, "1"}, {3, 1000, std::string(40, 'x')}};
    for (const Shape& s : shapes) {
        SCOPED_TRACE(std::to_string(s.columns) + "x" + std::to_string(s.rows));
        access::MessageWriter reply;
        reply.Byte(0)
            .Int(static_cast<std::int32_t>(s.columns))
            .Int(static_cast<std::int32_t>(s.rows));
        for (std::size_t i = 0; i < std::size_t{s.columns} * s.rows; ++i) reply.Text(s.value);
        access::MessageReader in(reply.Bytes());
        ASSERT_EQ(access::ReadStatus(in), access::Status::Ok);
        const AccessRows rows = access::ReadRows(in);
        ASSERT_EQ(rows.Count(), s.rows);
        EXPECT_EQ(rows.Value(s.rows - 1, s.columns - 1), s.value);
        EXPECT_LE(rows.HeldBytes(), 2 * reply.Bytes().size());
    }
}

TEST(AccessWorker, ServesAWholeConversionAndLeavesNothingBehind) {
    // The worker holds its channel and the standard files, none of the program's files.
    const int unshared = ::open("/dev/null", O_RDONLY);
    AccessWorkerSettings fake;
    fake.program = KESTREL_FAKE_ACCESS_WORKER;
    AccessConnection probe;
    probe.SetWorkerSettings(fake);
    probe.SetConnectionString("Data Source=fds");
    probe.Open();
    EXPECT_EQ(probe.TableNames(), (std::vector<std::string>{"0", "1", "2", "3"}));
    ::close(unshared);

    AccessConnection connection;
    connection.SetConnectionString("Data Source=" + kAccess + "nwind.mdb");
    connection.Open();
    const auto tables = connection.TableNames();
    EXPECT_NE(std::find(tables.begin(), tables.end(), "Customers"), tables.end());
    AccessTable table(connection);
    table.SetTableName("Orders");
    table.Open();
    int found = 0;
    for (int id = 10248; id < 10448; ++id) {
        table.SetFilter("OrderID", std::to_string(id));
        found += table.RecordCount();
    }
    EXPECT_EQ(found, 200);
    EXPECT_TRUE(connection.Connected());
    connection.Close();
    probe.Close();
    EXPECT_EQ(Children(), "");
}
