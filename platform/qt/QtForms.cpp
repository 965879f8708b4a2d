#include "platform/qt/QtForms.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMenu>
#include <QThread>
#include <algorithm>
#include <unordered_map>
#include <utility>

#include "platform/Cp1250.h"
#include "platform/ProgressWindow.h"
#include "platform/qt/DesktopOpener.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/ProgressWidget.h"
#include "platform/qt/QtText.h"

namespace platform::qt {
namespace {

// How often a long operation lets the screen repaint, at most.
constexpr qint64 kRepaintMilliseconds = 50;
// How long the help waits for the desktop's opener. It ends within a fraction of a second when it
// hands the page to a browser or finds none; it runs on only while it runs a browser itself,
// which then shows the page.
constexpr std::chrono::milliseconds kOpenerWait{3000};

bool OnGuiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// "description|pattern|description|pattern" as Qt's name filters "description (patterns)". A
// description that already ends with its patterns in brackets keeps them once.
QStringList NameFilters(const std::string& filter) {
    QStringList parts = ToScreen(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].split(';', Qt::SkipEmptyParts).join(' ');
        const QString bracketed = QStringLiteral("(") + parts[i + 1] + QStringLiteral(")");
        if (description.endsWith(bracketed)) description.chop(bracketed.size());
        filters << description.trimmed() + QStringLiteral(" (") + patterns + QStringLiteral(")");
    }
    return filters;
}

}  // namespace

QtForms::QtForms() = default;
QtForms::~QtForms() = default;

void QtForms::Unregister(FormWindow* window) {
    windows_.erase(std::remove(windows_.begin(), windows_.end(), window), windows_.end());
}

FormWindow* QtForms::WindowOf(const Form& form) const {
    for (FormWindow* window : windows_)
        if (&window->TheForm() == &form) return window;
    return nullptr;
}

QWidget* QtForms::ProgressWidgetOf(const ProgressWindow& window) const {
    const auto found = progress_.find(&window);
    return found == progress_.end() ? nullptr : found->second.get();
}

QWidget* QtForms::TopWindow() const {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if ((*it)->isVisible()) return *it;
    return QApplication::activeWindow();
}

void QtForms::Act(const std::function<void()>& action) {
    if (failure_) return;
    Guard(action);
    AfterAction();
}

void QtForms::Guard(const std::function<void()>& work) {
    if (failure_) return;
    try {
        work();
    } catch (...) {
        failure_ = std::current_exception();
        for (FormWindow* window : windows_) window->Finish();
    }
}

void QtForms::AfterAction() {
    for (FormWindow* window : windows_) {
        try {
            window->Refresh();
        } catch (...) {
            if (!failure_) failure_ = std::current_exception();
        }
    }
    for (FormWindow* window : windows_)
        if (failure_ || !window->TheForm().Showing()) window->Finish();
}

void QtForms::RethrowFailure() {
    if (!failure_) return;
    std::rethrow_exception(std::exchange(failure_, nullptr));
}

int QtForms::ShowModal(Form& form) {
    form.BeginModal();
    try {
        if (form.Showing()) {
            FormWindow window(*this, form, true, TopWindow());
            window.Run();
        }
    } catch (...) {
        form.AbortModal();
        form.EndModal();
        throw;
    }
    if (failure_) {
        if (form.Showing()) form.AbortModal();
        form.EndModal();
        RethrowFailure();
    }
    return form.EndModal();
}

void QtForms::RunMainForm(Form& form) {
    form.Show();
    try {
        if (form.Showing()) {
            FormWindow window(*this, form, false, nullptr);
            window.Run();
        }
    } catch (...) {
        form.Hide();
        throw;
    }
    if (failure_) {
        form.Hide();
        RethrowFailure();
    }
}

bool QtForms::ExecuteFileDialog(FileDialog& dialog) {
    QFileDialog shown(TopWindow(), ToScreen(dialog.Title));
    const bool save = dialog.DialogKind() == FileDialog::Kind::Save;
    shown.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save) {
        shown.setFileMode(QFileDialog::AnyFile);
        shown.setOption(QFileDialog::DontConfirmOverwrite, !(dialog.Options & ofOverwritePrompt));
    } else {
        shown.setFileMode((dialog.Options & ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                                                                : QFileDialog::ExistingFile);
    }
    const QStringList filters = NameFilters(dialog.Filter);
    if (!filters.isEmpty()) {
        shown.setNameFilters(filters);
        if (dialog.FilterIndex >= 1 && dialog.FilterIndex <= filters.size())
            shown.selectNameFilter(filters[dialog.FilterIndex - 1]);
    }
    QString suffix = ToScreen(dialog.DefaultExt);
    while (suffix.startsWith('.')) suffix.remove(0, 1);
    shown.setDefaultSuffix(suffix);
    if (!dialog.InitialDir.empty()) shown.setDirectory(PathToScreen(dialog.InitialDir));
    if (!dialog.FileName.empty()) shown.selectFile(PathToScreen(dialog.FileName));
    if (shown.exec() != QDialog::Accepted) return false;

    std::vector<std::string> names;
    for (const QString& name : shown.selectedFiles()) names.push_back(PathFromScreen(name));
    const qsizetype filter = filters.indexOf(shown.selectedNameFilter());
    if (filter >= 0) dialog.FilterIndex = static_cast<int>(filter) + 1;
    dialog.Accept(std::move(names));
    return true;
}

bool QtForms::ExecuteColorDialog(ColorDialog& dialog) {
    const QColor chosen = QColorDialog::getColor(ToQColor(dialog.Color), TopWindow());
    if (!chosen.isValid()) return false;
    dialog.Color = FromQColor(chosen);
    return true;
}

MenuItem* QtForms::TrackPopupMenu(PopupMenu& menu) {
    QMenu shown(TopWindow());
    std::unordered_map<const QAction*, MenuItem*> items;
    for (MenuItem* item : menu.Items()) {
        if (!item->Visible) continue;
        if (item->IsSeparator()) {
            shown.addSeparator();
            continue;
        }
        QAction* action = shown.addAction(ToScreen(item->Caption));
        action->setEnabled(item->Enabled);
        items[action] = item;
    }
    const QPoint at = anchored_ ? menuAnchor_ : QCursor::pos();
    anchored_ = false;
    const QAction* chosen = shown.exec(at);
    const auto found = items.find(chosen);
    return found == items.end() ? nullptr : found->second;
}

void QtForms::CursorChanged(CursorShape cursor) {
    if (!OnGuiThread()) return;
    if (cursor == crHourGlass || cursor == crHandPoint) {
        const QCursor shape(cursor == crHourGlass ? Qt::WaitCursor : Qt::PointingHandCursor);
        if (cursorOverridden_) {
            QApplication::changeOverrideCursor(shape);
        } else {
            QApplication::setOverrideCursor(shape);
            cursorOverridden_ = true;
        }
    } else if (cursorOverridden_) {
        QApplication::restoreOverrideCursor();
        cursorOverridden_ = false;
    }
    Repaint(true);
}

std::vector<std::string> QtForms::FontNames() const {
    std::vector<std::string> names;
    for (const QString& family : QFontDatabase::families()) names.push_back(FromScreen(family));
    return names;
}

void QtForms::ProgressChanged(const ProgressWindow& window) {
    if (!OnGuiThread()) return;
    std::unique_ptr<ProgressWidget>& widget = progress_[&window];
    if (!widget)
        widget = std::make_unique<ProgressWidget>(window.State().width, window.State().height);
    Repaint(widget->Update(window.State()));
}

void QtForms::ProgressClosed(const ProgressWindow& window) {
    if (!OnGuiThread()) return;
    progress_.erase(&window);
}

void QtForms::Repaint(bool now) {
    if (!now && sinceRepaint_.isValid() && sinceRepaint_.elapsed() < kRepaintMilliseconds) return;
    sinceRepaint_.restart();
    ++busy_;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    --busy_;
}

bool QtForms::OpenHelp(const std::string& page, int context) {
    (void)context;  // the page is one topic
    // The page's name is the operating system's own (found beside the executable).
    const QString file = QFile::decodeName(QByteArray::fromStdString(page));
    const QUrl url = QUrl::fromLocalFile(file);
    if (openUrl_) return openUrl_(url);
    // The desktop's opener says whether a browser took the page; Qt's own way would only say
    // that the opener started.
    ++busy_;
    const OpenerResult opened = RunOpener(QStringLiteral("xdg-open"), {file}, kOpenerWait);
    --busy_;
    if (opened == OpenerResult::NotStarted) return QDesktopServices::openUrl(url);
    return opened == OpenerResult::Opened;
}

}  // namespace platform::qt
