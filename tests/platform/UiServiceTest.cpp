#include "platform/UiService.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Help.h"
#include "platform/ModuleLoader.h"

using namespace platform;

TEST(UiService, HeadlessBoxesAreRecordedAndAnswerTheDefaultButton) {
    HeadlessUi* ui = UiService::Headless();
    ASSERT_NE(ui, nullptr);
    ui->ClearMessages();
    ui->SetEcho(false);
    EXPECT_EQ(MessageBox(0, "tekst", "tytul", MB_OK | MB_ICONWARNING), IDOK);
    EXPECT_EQ(MessageBox(0, "?", "", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBox(0, "?", "", MB_YESNOCANCEL), IDYES);
    ui->QueueAnswer(IDCANCEL);
    EXPECT_EQ(MessageBox(7, "q", "c", MB_OKCANCEL), IDCANCEL);
    ASSERT_EQ(ui->Messages().size(), 4u);
    EXPECT_EQ(ui->Messages()[0].text, "tekst");
    EXPECT_EQ(ui->Messages()[0].style, MB_OK | MB_ICONWARNING);
    EXPECT_EQ(ui->Messages()[3].owner, 7u);
    ui->SetEcho(true);
}

TEST(UiService, HeadlessBoxesPrintAsOneCleanParagraph) {
    const struct {
        const char* caption;
        const char* text;
        const char* shown;
    } cases[] = {
        {"",
         "B\xB3\xB9"
         "d zapisu pliku \xA3\xF3"
         "d\x9F.map",
         "Błąd zapisu pliku Łódź.map"},
        {"Tytu\xB3", "tekst", "[Tytuł] tekst"},
        {"", "pierwszy\n\rdrugi\r\ntrzeci\rczwarty\n", "pierwszy\ndrugi\ntrzeci\nczwarty"},
        {"", "\r\n\r\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageBoxText(MessageBoxRequest{0, c.text, c.caption, MB_OK}), c.shown)
            << c.text;
}

// Help that cannot be shown is a box naming the page: the page is missing, or nothing (here the
// headless back end) can open it.
TEST(UiService, HelpThatCannotBeShownIsABoxNamingThePage) {
    HeadlessUi* ui = UiService::Headless();
    ASSERT_NE(ui, nullptr);
    ui->ClearMessages();
    ui->SetEcho(false);
    const std::string page = ExecutableFolder() + "/KestrelBoxHelp.html";
    SetHelpFile("KestrelBoxHelp.hlp");
    EXPECT_FALSE(ShowHelp(1));
    std::ofstream(page) << "<html></html>";
    EXPECT_FALSE(ShowHelp(1));
    std::filesystem::remove(page);
    SetHelpFile("");
    ui->SetEcho(true);
    ASSERT_EQ(ui->Messages().size(), 2u);
    EXPECT_EQ(ui->Messages()[0].text, "Brak pliku pomocy " + page);
    EXPECT_EQ(ui->Messages()[1].text, "Nie mo\xBFna otworzy\xE6 pliku pomocy " + page +
                                          " w przegl\xB9"
                                          "darce");
}
