// Message boxes, the common dialogs and the progress window on the screen.
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressBar>
#include <QTest>
#include <fstream>

#include "QtFixture.h"
#include "platform/Cp1250.h"
#include "platform/FileDialog.h"
#include "platform/UiService.h"
#include "shape/ProgressFormShared.h"

namespace {

struct BoxCase {
    unsigned style;
    QMessageBox::Icon icon;
    const char* press;  // the button's text, or "Esc" / "Enter"
    int answer;
    const char* caption = "Pytanie";
    const char* title = "Pytanie";  // on the screen
};

void PrintTo(const BoxCase& box, std::ostream* out) {
    *out << "style " << box.style << ", " << box.press;
}

class MessageBoxTest : public QtTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxTest, TheButtonThePersonChoosesComesBack) {
    const BoxCase& box = GetParam();
    int answer = 0;
    WhenFound<QMessageBox>(
        [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
        [&box](QMessageBox& shown) {
            EXPECT_EQ(shown.windowTitle(), QString::fromUtf8(box.title));
            EXPECT_EQ(shown.text(), "Zapisać zmiany?");
            EXPECT_EQ(shown.icon(), box.icon);
            const QString press = QString::fromUtf8(box.press);
            if (press == "Esc" || press == "Enter") {
                QTest::keyClick(&shown, press == "Esc" ? Qt::Key_Escape : Qt::Key_Return);
                return;
            }
            for (QAbstractButton* button : shown.buttons())
                if (button->text() == press) return button->click();
            ADD_FAILURE() << "no button " << box.press;
            shown.reject();
        },
        [&answer, &box] {
            answer = platform::MessageBox(0, platform::Utf8ToCp1250("Zapisać zmiany?"), box.caption,
                                          box.style);
        });
    EXPECT_EQ(answer, box.answer);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, MessageBoxTest,
    ::testing::Values(
        BoxCase{platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION, QMessageBox::Question, "Nie",
                platform::IDNO},
        BoxCase{platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION, QMessageBox::Question, "Esc",
                platform::IDCANCEL},
        BoxCase{platform::MB_OKCANCEL | platform::MB_DEFBUTTON2 | platform::MB_ICONWARNING,
                QMessageBox::Warning, "Enter", platform::IDCANCEL},
        BoxCase{platform::MB_OK | platform::MB_ICONERROR, QMessageBox::Critical, "Esc",
                platform::IDOK},
        BoxCase{platform::MB_ABORTRETRYIGNORE, QMessageBox::NoIcon, "Ponów próbę",
                platform::IDRETRY},
        // No caption of its own: the original platform's title, not the program's.
        BoxCase{platform::MB_OK, QMessageBox::NoIcon, "Enter", platform::IDOK, "", "Błąd"}));

using DialogTest = QtTest;

TEST_F(DialogTest, TheOpenDialogShowsTheFilterAndGivesBackEveryChosenFile) {
    for (const char* name : {"a.map", "b.map"}) std::ofstream(Folder() / name) << "x";
    platform::OpenDialog open;
    open.Title = "Mapy";
    open.Filter = "TOPOLIN (*.map)|*.map|Wszystkie|*.*";
    open.DefaultExt = "MAP";
    open.InitialDir = Folder().string();
    open.Options = platform::ofAllowMultiSelect | platform::ofFileMustExist;
    bool confirmed = false;
    WhenFound<QFileDialog>(
        [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
        [](QFileDialog& shown) {
            EXPECT_EQ(shown.windowTitle(), "Mapy");
            EXPECT_EQ(shown.nameFilters(), (QStringList{"TOPOLIN (*.map)", "Wszystkie (*.*)"}));
            EXPECT_EQ(shown.fileMode(), QFileDialog::ExistingFiles);
            auto* name = shown.findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText("\"a.map\" \"b.map\"");
            QMetaObject::invokeMethod(&shown, "accept");
        },
        [&] { confirmed = open.Execute(); });
    ASSERT_TRUE(confirmed);
    EXPECT_EQ(open.Files, (std::vector<std::string>{(Folder() / "a.map").string(),
                                                    (Folder() / "b.map").string()}));
}

int SelectFolder(platform::FolderDialog& dialog, unsigned message, std::string_view folder) {
    if (message == platform::BFFM_INITIALIZED) dialog.SetSelection(folder);
    return 0;
}

TEST_F(DialogTest, TheFolderChooserOpensOnTheGivenFolderAndGivesBackTheOneAccepted) {
    std::filesystem::create_directories(Folder() / "wynik");
    platform::BrowseFolderRequest request;
    request.caption = platform::Utf8ToCp1250("Wybierz folder do zapisu plików SHP");
    request.callback = SelectFolder;
    request.callbackData = (Folder() / "wynik").string();
    std::optional<std::string> chosen;
    WhenFound<QFileDialog>(
        [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
        [](QFileDialog& shown) {
            EXPECT_EQ(shown.windowTitle(), "Wybierz folder do zapisu plików SHP");
            QMetaObject::invokeMethod(&shown, "accept");
        },
        [&] { chosen = platform::UiService::Backend().BrowseForFolder(request); });
    EXPECT_EQ(chosen, (Folder() / "wynik").string());
}

TEST_F(DialogTest, TheProgressWindowNestsAndGoesWithTheLastClose) {
    ProgressOpen(0, 10, 1, "Odczyt pliku");
    ProgressShow();
    const platform::ProgressWindow& window = ProgressForm()->Window;
    QWidget* widget = Forms().ProgressWidgetOf(window);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_EQ(widget->size(), QSize(224, 39));
    ProgressStep();
    ProgressStep();
    auto* bar = widget->findChild<QProgressBar*>();
    EXPECT_EQ(bar->value(), 2);

    ProgressOpen(0, 5, 1, "Zapis pliku shp");
    EXPECT_EQ(Forms().ProgressWidgetOf(ProgressForm()->Window), widget);
    EXPECT_EQ(widget->findChild<QLabel*>()->text(), "Zapis pliku shp");
    EXPECT_EQ(bar->maximum(), 5);
    EXPECT_EQ(bar->value(), 0);
    SaveShot(*widget, "postep");

    ProgressClose();
    EXPECT_EQ(Forms().ProgressWidgetOf(window), widget);
    EXPECT_FALSE(widget->isVisible());
    ProgressClose();
    EXPECT_EQ(ProgressForm(), nullptr);
    EXPECT_EQ(Forms().ProgressWidgetOf(window), nullptr);
}

}  // namespace
