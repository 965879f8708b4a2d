#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QUrl>
#include <exception>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/FormBackend.h"

class QWidget;

namespace platform::qt {

class FormWindow;
class ProgressWidget;

// The forms, common dialogs, menus, cursor and progress windows on Qt Widgets. Forms are shown
// by FormWindow; a person's action runs through Act, which catches what a handler throws, refreshes
// every window and ends the showings whose forms have closed. A handler's exception ends every
// showing and comes out of the ShowModal or RunMainForm that was running.
class QtForms : public FormBackend {
  public:
    QtForms();
    ~QtForms() override;

    int ShowModal(Form& form) override;
    void RunMainForm(Form& form) override;
    bool ExecuteFileDialog(FileDialog& dialog) override;
    bool ExecuteColorDialog(ColorDialog& dialog) override;
    MenuItem* TrackPopupMenu(PopupMenu& menu) override;
    void CursorChanged(CursorShape cursor) override;
    std::vector<std::string> FontNames() const override;
    void ProgressChanged(const ProgressWindow& window) override;
    void ProgressClosed(const ProgressWindow& window) override;
    bool OpenHelp(const std::string& page, int context) override;

    // What a person did, run as the system's code: then every window shows its controls again.
    void Act(const std::function<void()>& action);
    // Runs the system's code for the screen's sake (a picture painted again): what it throws
    // ends the showings like a failed action.
    void Guard(const std::function<void()>& work);
    bool Failed() const { return failure_ != nullptr; }
    // True while the system works and only lets the screen repaint (see ProgressChanged):
    // nothing a person does is taken then.
    bool Busy() const { return busy_ > 0; }
    // Where the next dropped-down menu appears, in screen coordinates.
    void SetMenuAnchor(QPoint at) {
        menuAnchor_ = at;
        anchored_ = true;
    }
    // The window new dialogs and boxes are shown over: the top one of the forms shown.
    QWidget* TopWindow() const;

    void Register(FormWindow* window) { windows_.push_back(window); }
    void Unregister(FormWindow* window);
    // The windows shown now, oldest first; the window of a form, the widget of a progress window.
    const std::vector<FormWindow*>& Windows() const { return windows_; }
    FormWindow* WindowOf(const Form& form) const;
    QWidget* ProgressWidgetOf(const ProgressWindow& window) const;

    // Opens the help page; replaceable so that tests see the page without a browser.
    void SetUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }

  private:
    void AfterAction();
    void RethrowFailure();
    // Lets the screen repaint without taking a person's input; `now` skips the time limit.
    void Repaint(bool now);

    std::vector<FormWindow*> windows_;
    std::unordered_map<const ProgressWindow*, std::unique_ptr<ProgressWidget>> progress_;
    std::exception_ptr failure_;
    int busy_ = 0;
    QPoint menuAnchor_;
    bool anchored_ = false;
    bool cursorOverridden_ = false;
    QElapsedTimer sinceRepaint_;
    std::function<bool(const QUrl&)> openUrl_;
};

}  // namespace platform::qt
