#include "model/Symbols.h"

#include <gtest/gtest.h>

#include "platform/Cp1250.h"
#include "platform/UiService.h"
#include "tests/platform/TempFolder.h"

namespace {

class SymbolsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui_ = platform::UiService::Headless();
        ui_->SetEcho(false);
        ui_->ClearMessages();
    }
    void TearDown() override { ui_->SetEcho(true); }

    std::int32_t Read(const std::string& bytes, std::unique_ptr<TListaSYM>& symbols) {
        const std::string path = dir_ / "lib.sym";
        TempFolder::WriteBytes(path, bytes);
        std::int32_t result = -1;
        ReadSymbolFile(path, symbols, result);
        return result;
    }

    static TSymbol* Nth(TListaSYM& list, int n) {
        TElement* e = list.First();
        while (n-- > 0) e = e->GetNext();
        return static_cast<TSymbol*>(e);
    }
    static TElementSymbolu* Primitive(TSymbol* s, int n) {
        TElement* e = s->Elements->First();
        while (n-- > 0) e = e->GetNext();
        return static_cast<TElementSymbolu*>(e);
    }

    platform::HeadlessUi* ui_ = nullptr;
    TempFolder dir_;
};

}  // namespace

TEST_F(SymbolsTest, ReadsSymbolsAndPrimitivesInFileOrder) {
    std::unique_ptr<TListaSYM> symbols;
    const std::string file =
        " L 9 9 9 9 9 9\r\n"  // before the first symbol: skipped
        "*4101 Droga gminna\r\n"
        " L 1 2 3 4 5 6\r\n"
        " A 1.5 -2 3e1 0 0 0 reszta\r\n"
        ";komentarz\r\n"
        " G 1 2\r\n"
        "*2000\r\n"
        "x ignored\r\n";
    ASSERT_EQ(Read(file, symbols), 0);
    ASSERT_EQ(symbols->Count(), 2);
    EXPECT_EQ(symbols->CurrentItem(), symbols->First());
    TSymbol* road = Nth(*symbols, 0);
    EXPECT_EQ(road->Code, "4101");
    EXPECT_EQ(road->Name, " Droga gminna");
    ASSERT_EQ(road->Elements->Count(), 3);
    EXPECT_EQ(Primitive(road, 0)->Kind, 'L');
    EXPECT_EQ(Primitive(road, 0)->P[5], 6.0);
    EXPECT_EQ(Primitive(road, 1)->P[2], 30.0);
    EXPECT_EQ(Primitive(road, 2)->P[1], 2.0);
    EXPECT_EQ(Primitive(road, 2)->P[2], 0.0);
    EXPECT_EQ(Nth(*symbols, 1)->Elements->Count(), 0);
    EXPECT_EQ(Nth(*symbols, 1)->Name, "");
    EXPECT_TRUE(ui_->Messages().empty());

    // Reading again appends: every symbol twice, and the first copy is found.
    ASSERT_EQ(Read(file, symbols), 0);
    EXPECT_EQ(symbols->Count(), 4);
    EXPECT_TRUE(symbols->FindSymbol("4101"));
    EXPECT_EQ(symbols->CurrentItem(), symbols->First());
}

TEST_F(SymbolsTest, FindSymbolAcceptsOnlyCodesOfTheMap) {
    std::unique_ptr<TListaSYM> symbols;
    ASSERT_EQ(Read("*4101 a\n*0999 b\n*8000 c\n*A101 d\n*7999 e\n", symbols), 0);
    EXPECT_TRUE(symbols->FindSymbol("4101"));
    EXPECT_EQ(symbols->CurrentSymbol()->Name, " a");
    EXPECT_TRUE(symbols->FindSymbol("79999"));
    for (const char* code : {"0999", "8000", "A101", "4102", ""})
        EXPECT_FALSE(symbols->FindSymbol(code));
    EXPECT_EQ(symbols->CurrentItem(), symbols->Last());
    TListaSYM empty;
    EXPECT_FALSE(empty.FindSymbol("4101"));
}

TEST_F(SymbolsTest, SymbolFileNames) {
    std::unique_ptr<TListaSYM> symbols;
    ASSERT_EQ(Read("*4101 Droga gminna\n*5001 " + platform::Utf8ToCp1250("Łąka  podmokła ") +
                       "\n*3001 a/b:c\n",
                   symbols),
              0);
    std::string name;
    symbols->SymbolFileName("4101", name);
    EXPECT_EQ(name, "Droga_gminna");
    symbols->SymbolFileName("5001", name);
    EXPECT_EQ(name, "Laka_podmokla");
    symbols->SymbolFileName("3001", name);
    EXPECT_EQ(name, "a_b_c");
    symbols->SymbolFileName("4102", name);
    EXPECT_EQ(name, "4102_Brak_w_bibliotece_symboli");
}

TEST_F(SymbolsTest, ResetSymbolParamsByClassAndKind) {
    std::unique_ptr<TListaSYM> symbols;
    ASSERT_EQ(Read("*4101 a\n L 1 2 3 4 5 6\n G 1 2 3 4 5 6\n*2001 b\n L 1 2 3 4 5 6\n"
                   "*6001 c\n A 1 2 3 4 5 6\n*5001 d\n O 1 2 3 4 5 6\n*1001 e\n F 1 2 3 4 5 6\n",
                   symbols),
              0);
    symbols->ResetSymbolParams();
    using P = std::array<double, 6>;
    EXPECT_EQ(Primitive(Nth(*symbols, 0), 0)->P, (P{1, 2, 3, 4, 0, 0}));
    EXPECT_EQ(Primitive(Nth(*symbols, 0), 1)->P, (P{1, 2, 0, 0, 0, 0}));
    EXPECT_EQ(Primitive(Nth(*symbols, 1), 0)->P, (P{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Primitive(Nth(*symbols, 2), 0)->P, (P{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Primitive(Nth(*symbols, 3), 0)->P, (P{1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Primitive(Nth(*symbols, 4), 0)->P, (P{0, 0, 0, 0, 5, 6}));
}

TEST_F(SymbolsTest, FailuresKeepWhatWasRead) {
    std::unique_ptr<TListaSYM> symbols;
    std::int32_t result = -1;
    ReadSymbolFile("", symbols, result);
    EXPECT_EQ(result, 255);
    ASSERT_NE(symbols, nullptr);
    EXPECT_TRUE(ui_->Messages().empty());

    ReadSymbolFile(dir_ / "missing.sym", symbols, result);
    EXPECT_EQ(result, 2);
    ASSERT_EQ(ui_->Messages().size(), 1u);
    EXPECT_EQ(platform::Cp1250ToUtf8(ui_->Messages()[0].text),
              "Błąd dostępu do pliku " + (dir_ / "missing.sym"));

    EXPECT_EQ(Read("*4101 a\n L 1 2\n L 1 x 3\n*4102 b\n", symbols), 13);
    ASSERT_EQ(symbols->Count(), 1);
    EXPECT_EQ(Nth(*symbols, 0)->Elements->Count(), 1);
    EXPECT_EQ(ui_->Messages().size(), 2u);

    std::unique_ptr<TListaSYM> garbage;
    std::string bytes(std::string("*\0\0\0\0\0\n \0\n*", 12));
    bytes += std::string(100000, '\xff');
    EXPECT_EQ(Read(bytes, garbage), 0);
    EXPECT_EQ(garbage->Count(), 2);
    EXPECT_EQ(Nth(*garbage, 1)->Name.size(), 250u);
}
