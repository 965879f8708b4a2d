#include "platform/qt/QtUi.h"

#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <utility>
#include <vector>

#include "platform/qt/QtText.h"
#include "platform/qt/QtTexts.h"

namespace platform::qt {
namespace {

struct BoxButton {
    int answer;
    QMessageBox::ButtonRole role;
    QString (*caption)();
};

// The buttons of each button set of the style, in their order on the box.
std::vector<BoxButton> ButtonsOf(unsigned style) {
    using R = QMessageBox::ButtonRole;
    switch (style & 0x0F) {
        case MB_OKCANCEL:
            return {{IDOK, R::AcceptRole, texts::ButtonOk},
                    {IDCANCEL, R::RejectRole, texts::ButtonCancel}};
        case MB_ABORTRETRYIGNORE:
            return {{IDABORT, R::RejectRole, texts::ButtonAbort},
                    {IDRETRY, R::AcceptRole, texts::ButtonRetry},
                    {IDIGNORE, R::AcceptRole, texts::ButtonIgnore}};
        case MB_YESNOCANCEL:
            return {{IDYES, R::YesRole, texts::ButtonYes},
                    {IDNO, R::NoRole, texts::ButtonNo},
                    {IDCANCEL, R::RejectRole, texts::ButtonCancel}};
        case MB_YESNO:
            return {{IDYES, R::YesRole, texts::ButtonYes}, {IDNO, R::NoRole, texts::ButtonNo}};
        case MB_RETRYCANCEL:
            return {{IDRETRY, R::AcceptRole, texts::ButtonRetry},
                    {IDCANCEL, R::RejectRole, texts::ButtonCancel}};
        default:
            return {{IDOK, R::AcceptRole, texts::ButtonOk}};
    }
}

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & 0xF0) {
        case MB_ICONERROR:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONWARNING:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

QtUi::QtUi() {
    if (!QApplication::instance()) {
        application_ = std::make_unique<QApplication>(argc_, argv_);
        // The system speaks Polish, and so do Qt's own dialogs when their translation is there.
        translator_ = std::make_unique<QTranslator>();
        if (translator_->load(QLocale(QLocale::Polish), QStringLiteral("qtbase"),
                              QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QApplication::installTranslator(translator_.get());
    }
    // The forms' design font, narrow and small, stands for a narrow font of this machine.
    QFont::insertSubstitutions(ToScreen(ControlFont().Name),
                               {QStringLiteral("DejaVu Sans Condensed"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
}

QtUi::~QtUi() = default;

int QtUi::ShowMessageBox(const MessageBoxRequest& request) {
    // A box without a caption is titled as the original platform titles it, never with the
    // application's internal name, which Qt would show for an empty title.
    const QString title =
        request.caption.empty() ? texts::UntitledBoxCaption() : ToScreen(request.caption);
    QMessageBox box(IconOf(request.style), title, ToScreen(request.text), QMessageBox::NoButton,
                    forms_.TopWindow());
    std::vector<std::pair<QAbstractButton*, int>> answers;
    QAbstractButton* escape = nullptr;
    int escapeAnswer = IDCANCEL;
    const int preferred = DefaultButtonOf(request.style);
    for (const BoxButton& button : ButtonsOf(request.style)) {
        QPushButton* added = box.addButton(button.caption(), button.role);
        answers.emplace_back(added, button.answer);
        if (button.answer == preferred) box.setDefaultButton(added);
        if (button.answer == IDCANCEL) escape = added;
    }
    // A box with only OK is closed by Escape too; boxes without Cancel otherwise are not.
    if (!escape && answers.size() == 1) {
        escape = answers.front().first;
        escapeAnswer = answers.front().second;
    }
    box.setEscapeButton(escape);
    box.exec();
    for (const auto& [button, answer] : answers)
        if (box.clickedButton() == button) return answer;
    // Closed without a button: what Escape would have answered, or the default button.
    return escape ? escapeAnswer : preferred;
}

std::optional<std::string> QtUi::BrowseForFolder(const BrowseFolderRequest& request) {
    QFileDialog dialog(forms_.TopWindow(), ToScreen(request.caption));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (!request.root.empty()) dialog.setDirectory(PathToScreen(request.root));
    struct Selection : FolderDialog {
        explicit Selection(QFileDialog& shown) : dialog(shown) {}
        void SetSelection(std::string_view path) override {
            dialog.setDirectory(PathToScreen(std::string(path)));
        }
        QFileDialog& dialog;
    } selection(dialog);
    if (request.callback) request.callback(selection, BFFM_INITIALIZED, request.callbackData);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return PathFromScreen(dialog.selectedFiles().front());
}

}  // namespace platform::qt
