#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/FormLayout.h"
#include "platform/UiService.h"

// The window toolkit's form: a window with a caption, a modal result and the life-cycle hooks
// (create, show, close query, close) that the system's dialog classes override. A form holds
// state only; the UI back end shows it (platform/FormBackend.h).
//
// A dialog class derives from Form, holds its controls as public members (buttons take the form
// as owner), binds their events in its constructor and overrides the hooks it needs; it is made
// with CreateForm<T>(...) so that FormCreate runs, and shown with ShowModal().
namespace platform {

class Button;

// Modal results, with the values the system's code passes around.
enum : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10,
};

// What a close handler may decide; only caNone keeps the form open.
enum class CloseAction { caNone, caHide, caFree, caMinimize };

// The window's frame: resizable, a fixed dialog frame, a small tool-window frame, or none.
enum class BorderStyle { bsSizeable, bsDialog, bsToolWindow, bsNone };
// The buttons in the caption bar; the close box comes with the system menu.
enum BorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
// Where the window first appears.
enum class FormPosition { poDefault, poScreenCenter };

class Form {
  public:
    explicit Form(std::string caption = {}) : Caption(std::move(caption)) {}
    virtual ~Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    std::string Caption;            // Windows-1250
    WindowHandle ParentWindow = 0;  // the window the form is shown over; 0: none

    // How a window back end frames the form. A client size of 0 leaves that side to the layout.
    int ClientWidth = 0;
    int ClientHeight = 0;
    BorderStyle Border = BorderStyle::bsDialog;
    unsigned BorderIcons = biSystemMenu;
    FormPosition Position = FormPosition::poScreenCenter;
    int HelpContext = 0;  // F1 opens this topic of the application's help; 0: none

    // The controls in tab order with their containers, for a window back end to lay out. A form
    // without controls of its own keeps the empty column.
    virtual LayoutItem DescribeControls() { return Column({}); }

    // Shows the form modally through the UI service; returns the modal result.
    int ShowModal();
    // Shows the form without a modal loop (runs FormShow the first time it becomes visible).
    void Show();
    void Hide() { showing_ = false; }

    bool Showing() const { return showing_; }
    bool Modal() const { return modal_; }
    int ModalResult() const { return modalResult_; }

    // Ends a modal showing with the result: runs the close query and the close handler, and
    // keeps the form open (result back to mrNone) when either refuses. Outside a modal showing
    // the result is only stored. What a button with a modal result does when it is pressed.
    void SetModalResult(int result);
    // The close box: a modal form closes with mrCancel, a modeless one hides; both only when the
    // close query and the close handler agree. Returns whether the form closed.
    bool Close();

    // What a user does with the form itself.
    bool PressEnter();   // clicks the default button, when there is one that can be clicked
    bool PressEscape();  // clicks the cancel button, likewise
    void DblClick() { FormDblClick(); }

    // For the back ends: a modal showing starts (runs FormShow), is ended by the back end when no
    // user will act any more (no handler runs: the window simply goes), and hands back its result.
    void BeginModal();
    void AbortModal();
    int EndModal();

    // Buttons register themselves so that Enter and Escape find the default and cancel buttons.
    void RegisterButton(Button* button) { buttons_.push_back(button); }

  protected:
    // Hooks of the derived forms, in the order they run: FormCreate once after construction
    // (CreateForm), FormShow whenever the form becomes visible, FormCloseQuery and FormClose at
    // every attempt to close it.
    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormCloseQuery(bool& canClose) { (void)canClose; }
    virtual void FormClose(CloseAction& action) { (void)action; }
    virtual void FormDblClick() {}

  private:
    // Close query and close handler; true when the form may go.
    bool QueryClose();

    template <class F, class... Args>
    friend std::unique_ptr<F> CreateForm(Args&&... args);

    std::vector<Button*> buttons_;
    bool showing_ = false;
    bool modal_ = false;
    int modalResult_ = mrNone;
};

// Constructs a form and runs its FormCreate, as the toolkit does once the form's controls exist.
template <class F, class... Args>
std::unique_ptr<F> CreateForm(Args&&... args) {
    auto form = std::make_unique<F>(std::forward<Args>(args)...);
    static_cast<Form&>(*form).FormCreate();
    return form;
}

// Runs a program's main window until it closes (or, headless, until no user acts any more).
void RunMainForm(Form& form);

}  // namespace platform
