#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/AccessConnection.h"
#include "platform/UiService.h"
#include "shape/BatchConfig.h"
#include "tests/platform/ScratchFolder.h"

namespace {

const std::string kAccess = KESTREL_SOURCE_DIR "/tests/data/access/";

const std::string kAlfki =
    " CUSTOMERID=[ALFKI] COMPANYNAME=[Alfreds Futterkiste] CONTACTNAME=[Maria Anders]"
    " CONTACTTITLE=[Sales Representative] ADDRESS=[Obere Str. 57] CITY=[Berlin] REGION=[]"
    " POSTALCODE=[12209] COUNTRY=[Germany] PHONE=[030-0074321] FAX=[030-0076545]";

class BatchConfigExternal : public ::testing::Test {
  protected:
    void SetUp() override {
        ui_ = platform::UiService::Headless();
        ASSERT_NE(ui_, nullptr);
        ui_->SetEcho(false);
        ui_->ClearMessages();
    }
    void TearDown() override { ui_->ClearMessages(); }

    // A configuration whose section 1000 names the external table.
    std::unique_ptr<TBatchConfig> Config(const std::string& externalLine,
                                         const std::string& rules = "") {
        const std::string name = scratch_.Path("wsad.ini");
        WriteBytes(name, "[1000]\r\n" + rules + "!EXTERNALTABLE=" + externalLine + "\r\n");
        auto config = std::make_unique<TBatchConfig>(name);
        config->ReadFieldRules("1000");
        return config;
    }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& m : ui_->Messages()) texts.push_back(m.text);
        return texts;
    }

    ScratchFolder scratch_;
    platform::HeadlessUi* ui_ = nullptr;
};

TBatchAttributes WithA6(std::string a6) {
    return {"", "", "", "", "", std::move(a6)};
}

}  // namespace

TEST_F(BatchConfigExternal, LooksUpTheRowOfTheKey) {
    auto config =
        Config(kAccess + "nwind.mdb!Customers!CustomerID=$A6",
               "FIRMA=!C40:0$TXT.COMPANYNAME\r\nMIASTO=!C20:0$TXT.CITY#44$TXT.REGION\r\n");
    ASSERT_EQ(config->ConnectExternalTable(), 0);
    const std::string row = config->LookupExternal(WithA6("ALFKI"), "tekst obiektu");
    EXPECT_EQ(row, kAlfki);
    ASSERT_EQ(config->Rules().size(), 2u);
    EXPECT_EQ(config->Rules()[0].Expand(WithA6("ALFKI"), row), "Alfreds Futterkiste");
    EXPECT_EQ(config->Rules()[1].Expand(WithA6("ALFKI"), row), "Berlin,");
    EXPECT_EQ(config->LastId(), "ALFKI");
    EXPECT_EQ(config->LastResult(), kAlfki);

    // A leading character 4 is dropped from the id; the key compares exactly.
    EXPECT_EQ(config
                  ->QueryExternalRow("\x04"
                                     "ANATR")
                  .substr(0, 20),
              " CUSTOMERID=[ANATR] ");
    EXPECT_EQ(config->QueryExternalRow("alfki"), "");
    EXPECT_EQ(config->QueryExternalRow("NOONE"), "");
    EXPECT_EQ(config->LastId(), "NOONE");
    EXPECT_TRUE(ui_->Messages().empty());
}

TEST_F(BatchConfigExternal, KeyTemplateChoosesTheAttribute) {
    const TBatchAttributes a = {"A1?", "ALFKI", "A3?", "A4?", "A5?", "ANATR"};
    auto byA2 = Config(kAccess + "nwind.mdb!Customers!CustomerID=$A2");
    ASSERT_EQ(byA2->ConnectExternalTable(), 0);
    EXPECT_EQ(byA2->LookupExternal(a, ""), kAlfki);
    for (const char* other : {"$A6", "$a2", "xyz", ""}) {
        SCOPED_TRACE(other);
        auto config = Config(kAccess + "nwind.mdb!Customers!CustomerID=" + other);
        ASSERT_EQ(config->ConnectExternalTable(), 0);
        EXPECT_EQ(config->LookupExternal(a, "").substr(0, 20), " CUSTOMERID=[ANATR] ");
    }

    // A Jet 4 database with a number key.
    auto dates = Config(kAccess + "DateTestDatabase.mdb!DateTest!IDCol=$A1");
    ASSERT_EQ(dates->ConnectExternalTable(), 0);
    const std::string row = dates->LookupExternal({"1", "", "", "", "", ""}, "");
    EXPECT_NE(row.find(" IDCOL=[1] "), std::string::npos) << row;
    EXPECT_NE(row.find(" LONGTEXTCOL=[Hello] SHORTTEXTCOL=[Hello]"), std::string::npos) << row;
    EXPECT_TRUE(ui_->Messages().empty());
}

TEST_F(BatchConfigExternal, SameIdInARowAsksTheTableOnce) {
    const std::string copy = scratch_.Path("kopia.mdb");
    std::filesystem::copy_file(kAccess + "nwind.mdb", copy);
    auto config = Config(copy + "!Customers!CustomerID=$A6");
    ASSERT_EQ(config->ConnectExternalTable(), 0);
    ASSERT_EQ(config->LookupExternal(WithA6("ALFKI"), ""), kAlfki);

    // The database is spoilt under the open connection: only a cached answer still comes.
    const auto size = std::filesystem::file_size(copy);
    WriteBytes(copy, std::string(size, '\0'));
    EXPECT_EQ(config->LookupExternal(WithA6("ALFKI"), ""), kAlfki);
    EXPECT_EQ(config->LookupExternal(WithA6("\x04"
                                            "ALFKI"),
                                     ""),
              kAlfki);
    EXPECT_TRUE(ui_->Messages().empty());
    EXPECT_EQ(config->LookupExternal(WithA6("ANATR"), ""), "");
    EXPECT_EQ(ui_->Messages().size(), 1u);
}

namespace {

// The processes this one has started and not yet ended.
int ChildProcesses() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        const std::size_t close = text.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream fields(text.substr(close + 2));
        std::string state;
        long parent = 0;
        fields >> state >> parent;
        if (parent == ::getpid() && state != "Z") ++count;
    }
    return count;
}

}  // namespace

// The configurations an export gives its codes: each its own rules, external table and cache,
// all from the one image read (later changes of the file are not seen), all through one worker.
TEST_F(BatchConfigExternal, CodesOfOneFileShareItsImageAndOneWorker) {
    const std::string name = scratch_.Path("wsad.ini");
    WriteBytes(
        name,
        "[WARSTWY]\r\n1000=klienci\r\n[1000]\r\nFIRMA=!C40:0$TXT.COMPANYNAME\r\n!EXTERNALTABLE=" +
            kAccess +
            "nwind.mdb!Customers!CustomerID=$A6\r\n[2000]\r\nA=!C5:0$A1\r\n"
            "B=!C5:0$A2\r\n!EXTERNALTABLE=" +
            kAccess + "nwind.mdb!Customers!CustomerID=$A1\r\n");
    const TBatchConfig file(name);
    WriteBytes(name, "[WARSTWY]\r\n1000=inna\r\n");
    auto first = file.ForAnotherCode();
    auto second = file.ForAnotherCode();
    first->ReadFieldRules("1000");
    second->ReadFieldRules("2000");
    EXPECT_EQ(first->GetLayerName("1000"), "klienci");
    EXPECT_EQ(first->Rules().size(), 1u);
    EXPECT_EQ(second->Rules().size(), 2u);
    const int before = ChildProcesses();
    ASSERT_EQ(first->ConnectExternalTable(), 0);
    ASSERT_EQ(second->ConnectExternalTable(), 0);
    EXPECT_EQ(ChildProcesses(), before + 1);
    EXPECT_EQ(first->LookupExternal(WithA6("ALFKI"), ""), kAlfki);
    EXPECT_EQ(second->LookupExternal({"ANATR", "", "", "", "", "ALFKI"}, "").substr(0, 20),
              " CUSTOMERID=[ANATR] ");
    EXPECT_EQ(first->LastId(), "ALFKI");
    EXPECT_EQ(second->LastId(), "ANATR");
    EXPECT_TRUE(ui_->Messages().empty());
}

TEST_F(BatchConfigExternal, MissingDatabaseIsReportedOnceAndNeverEscapes) {
    const std::string path = scratch_.Path("brak.mdb");
    auto config = Config(path + "!Customers!CustomerID=$A6");
    EXPECT_EQ(config->ConnectExternalTable(), -1);
    EXPECT_EQ(Texts(), std::vector<std::string>{"Blad polaczenia " + path});
    EXPECT_EQ(config->LookupExternal(WithA6("ALFKI"), "tekst"), "");
    EXPECT_EQ(config->LookupExternal(WithA6("ANATR"), "tekst"), "");
    EXPECT_EQ(ui_->Messages().size(), 1u);

    // A file that is no database fails the same way.
    const std::string junk = scratch_.Path("smieci.mdb");
    WriteBytes(junk, std::string(4096, 'x'));
    auto junkConfig = Config(junk + "!Customers!CustomerID=$A6");
    EXPECT_EQ(junkConfig->ConnectExternalTable(), -1);
    EXPECT_EQ(Texts().back(), "Blad polaczenia " + junk);

    // A table named without a database, or a lookup without connecting first.
    auto noDatabase = Config("!Customers!CustomerID=$A6");
    EXPECT_EQ(noDatabase->ConnectExternalTable(), 0);
    ui_->ClearMessages();
    EXPECT_EQ(noDatabase->LookupExternal(WithA6("ALFKI"), "tekst"), "");
    EXPECT_EQ(noDatabase->LookupExternal(WithA6("ANATR"), "tekst"), "");
    EXPECT_EQ(Texts(), std::vector<std::string>{"Blad polaczenia "});
}

TEST_F(BatchConfigExternal, MissingTableIsReportedOnce) {
    auto config = Config(kAccess + "nwind.mdb!Klienci!CustomerID=$A6");
    EXPECT_EQ(config->ConnectExternalTable(), 0);
    EXPECT_EQ(config->LookupExternal(WithA6("ALFKI"), ""), "");
    EXPECT_EQ(config->LookupExternal(WithA6("ANATR"), ""), "");
    ASSERT_EQ(ui_->Messages().size(), 1u);
    EXPECT_NE(Texts()[0].find("Klienci"), std::string::npos) << Texts()[0];
    EXPECT_EQ(config->LastId(), "");
}

TEST_F(BatchConfigExternal, RefusedIdIsReportedPerObject) {
    auto config = Config(kAccess + "nwind.mdb!Orders!OrderID=$A6");
    ASSERT_EQ(config->ConnectExternalTable(), 0);
    EXPECT_NE(config->LookupExternal(WithA6("10248"), "").find(" CUSTOMERID=[VINET] "),
              std::string::npos);
    EXPECT_EQ(config->LookupExternal(WithA6("abc"), ""), "");
    EXPECT_EQ(config->LookupExternal(WithA6("abc"), ""), "");
    EXPECT_EQ(Texts(), (std::vector<std::string>{"ID rekordu abc nie jest poprawny",
                                                 "ID rekordu abc nie jest poprawny"}));
    EXPECT_EQ(config->LastId(), "10248");  // a refused id leaves the cache alone
    EXPECT_NE(config->LookupExternal(WithA6("10249"), "").find(" ORDERID=[10249] "),
              std::string::npos);

    // A key column the table lacks refuses every id.
    ui_->ClearMessages();
    auto noColumn = Config(kAccess + "nwind.mdb!Customers!Numer=$A6");
    ASSERT_EQ(noColumn->ConnectExternalTable(), 0);
    EXPECT_EQ(noColumn->LookupExternal(WithA6("ALFKI"), ""), "");
    EXPECT_EQ(Texts(), std::vector<std::string>{"ID rekordu ALFKI nie jest poprawny"});
}

TEST(BatchConnectionString, CarriesThePathAsDataSource) {
    const std::string s = BatchConnectionString("/dane/ewid.mdb");
    EXPECT_TRUE(s.starts_with(
        "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=/dane/ewid.mdb;Mode="));
    EXPECT_NE(s.find(";Extended Properties=\"\";Persist Security Info=False;"), std::string::npos);
    EXPECT_NE(s.find(";Jet OLEDB:Engine Type=4;"), std::string::npos);
    EXPECT_TRUE(s.ends_with(";Jet OLEDB:SFP=False"));
    EXPECT_EQ(platform::ConnectionStringValue(s, "Jet OLEDB:Database Password").size(), 5u);
    for (const char* path : {"/dane/a;b.mdb", "/dane/\"x\".mdb", " /dane/ewid.mdb ", "/x y.mdb"}) {
        EXPECT_EQ(platform::ConnectionStringValue(BatchConnectionString(path), "Data Source"),
                  path);
    }
}
