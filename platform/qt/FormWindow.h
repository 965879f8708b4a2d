#pragma once

#include <QDialog>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Form.h"

class QEventLoop;

namespace platform::qt {

class QtForms;

// The window that shows one form while it is shown: its widgets are built from the form's
// description of its controls, a person's action on a widget runs the control's user action,
// and afterwards every widget shows its control's state again. The window lives for one showing.
class FormWindow : public QDialog {
  public:
    FormWindow(QtForms& backend, Form& form, bool modal, QWidget* parent);
    ~FormWindow() override;

    Form& TheForm() const { return form_; }
    QtForms& Backend() const { return backend_; }

    // Shows the window and returns once the form is no longer showing (or an action failed).
    void Run();
    // Ends Run once control comes back to it.
    void Finish();

    // Every widget from its control.
    void Refresh();
    // The widget that shows a control of the form, or nullptr.
    QWidget* WidgetOf(const Control& control) const;

    // For the control widgets: a person's action (through the back end, which refreshes every
    // window afterwards), a refresher run by Refresh, and the widget of a control.
    void Act(const std::function<void()>& action);
    void OnRefresh(std::function<void()> refresher);
    // Runs after every refresher, when the widgets' texts and items are in place.
    void AfterRefresh(std::function<void()> fitter);
    void Bind(const Control& control, QWidget* widget);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void reject() override {}  // Escape and the close box go to the form

  private:
    void Frame(bool modal);
    // Makes the Tab key follow the controls in the order the form described them; a radio
    // group's items stand in its place (its widgets say which of them is the stop).
    void ChainFocus();

    QtForms& backend_;
    Form& form_;
    std::vector<std::function<void()>> refreshers_;
    std::vector<std::function<void()>> fitters_;
    std::unordered_map<const Control*, QWidget*> widgets_;
    std::vector<std::pair<const Control*, QWidget*>> described_;  // in the description's order
    QEventLoop* loop_ = nullptr;
};

}  // namespace platform::qt
