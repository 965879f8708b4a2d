#pragma once

#include <deque>
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/ColorDialog.h"
#include "platform/Controls.h"
#include "platform/Cursor.h"
#include "platform/FileDialog.h"
#include "platform/Form.h"

// The part of a UI back end that shows forms, the common dialogs and popup menus and follows
// the cursor. A back end offers it through UiBackend::Forms(); one that does not gets the
// headless forms below.
namespace platform {

class ProgressWindow;

class FormBackend {
  public:
    virtual ~FormBackend() = default;
    // Runs a modal showing of the form and returns its modal result.
    virtual int ShowModal(Form& form) = 0;
    // Runs a program's main window until it has closed.
    virtual void RunMainForm(Form& form) = 0;
    virtual bool ExecuteFileDialog(FileDialog& dialog) = 0;
    virtual bool ExecuteColorDialog(ColorDialog& dialog) = 0;
    // The item the user chose from the dropped-down menu, or nullptr when it was dismissed.
    virtual MenuItem* TrackPopupMenu(PopupMenu& menu) = 0;
    virtual void CursorChanged(CursorShape cursor) = 0;
    // The names of the fonts installed on the system.
    virtual std::vector<std::string> FontNames() const = 0;

    // A progress window changed (shown, hidden, advanced, retitled, repainted) or is going away.
    // Without a window system there is nothing to show.
    virtual void ProgressChanged(const ProgressWindow& window) { (void)window; }
    virtual void ProgressClosed(const ProgressWindow& window) { (void)window; }
    // Opens a topic of a help page (a file name as the system gives it); false when it cannot.
    virtual bool OpenHelp(const std::string& page, int context) {
        (void)page, (void)context;
        return false;
    }
};

// No window system and no user, unless a test plays one: a script queued for the next form,
// dialog or menu acts on it like a person (ticks a box, picks an item, presses OK); without a
// script a form is closed as with its close box and a dialog or menu is cancelled.
//
// A form's showing, scripted or not, ends the same way: when the script leaves the form open,
// the back end tries the close box; when the close query refuses that too, the modal showing is
// abandoned with mrCancel and no further handler (the way a modal loop ends when the program is
// terminated), and the record says so.
class HeadlessForms : public FormBackend {
  public:
    using FormScript = std::function<void(Form&)>;
    using FileDialogScript = std::function<bool(FileDialog&)>;
    using ColorDialogScript = std::function<bool(ColorDialog&)>;

    // What the back end showed, in order; texts are Windows-1250.
    struct ShownForm {
        std::string caption;
        int result = mrNone;
        bool scripted = false;
        bool abandoned = false;  // the close was refused to the end
    };
    struct ShownFileDialog {
        FileDialog::Kind kind = FileDialog::Kind::Open;
        std::string title;
        std::string filter;
        std::string initialDir;
        std::string fileName;  // as offered
        unsigned options = 0;
        bool confirmed = false;
    };

    HeadlessForms();

    int ShowModal(Form& form) override;
    void RunMainForm(Form& form) override;
    bool ExecuteFileDialog(FileDialog& dialog) override;
    bool ExecuteColorDialog(ColorDialog& dialog) override;
    MenuItem* TrackPopupMenu(PopupMenu& menu) override;
    void CursorChanged(CursorShape cursor) override { cursorChanges_.push_back(cursor); }
    std::vector<std::string> FontNames() const override { return fontNames_; }

    // Scripts for the forms shown next, first queued first used (a form shown from inside a
    // script takes the next one). The typed form checks that the form is of class F: another
    // form is not scripted, is closed as unscripted and the mismatch is recorded.
    void QueueForm(FormScript script);
    template <class F>
    void QueueForm(std::function<void(F&)> script);

    // Scripts for the next file dialogs: a chosen list of names, a cancel, or a callback that
    // fills the dialog (FileName, Files) itself and returns whether it was confirmed.
    void QueueFiles(std::vector<std::string> names);
    void QueueFileDialogCancel();
    void QueueFileDialog(FileDialogScript script);

    void QueueColor(ColorRef color);
    void QueueColorDialog(ColorDialogScript script);

    // The next dropped-down menu chooses the item with this index (-1: dismissed).
    void QueuePopupChoice(int index);

    void SetFontNames(std::vector<std::string> names) { fontNames_ = std::move(names); }
    void SetEcho(bool echo) { echo_ = echo; }

    const std::vector<ShownForm>& Forms() const { return forms_; }
    const std::vector<ShownFileDialog>& FileDialogs() const { return fileDialogs_; }
    const std::vector<CursorShape>& CursorChanges() const { return cursorChanges_; }
    // Scripts a form of another class than the script expected; empty when all went as planned.
    const std::vector<std::string>& Mismatches() const { return mismatches_; }
    // Scripts not used yet, of every kind.
    std::size_t PendingScripts() const;
    // Forgets the queues and the records (a test's clean start).
    void Reset();

  private:
    struct QueuedForm {
        FormScript script;
        std::function<bool(Form&)> accepts;  // null: any form
        std::string expected;                // the class the script expects, for the record
    };
    // Lets the script act, then closes the form if it is still there.
    void Run(Form& form, std::size_t index);
    void Echo(const std::string& what, const std::string& caption) const;

    std::deque<QueuedForm> formScripts_;
    std::deque<FileDialogScript> fileScripts_;
    std::deque<ColorDialogScript> colorScripts_;
    std::deque<int> popupChoices_;
    std::vector<ShownForm> forms_;
    std::vector<ShownFileDialog> fileDialogs_;
    std::vector<CursorShape> cursorChanges_;
    std::vector<std::string> mismatches_;
    std::vector<std::string> fontNames_;
    bool echo_ = true;
};

template <class F>
void HeadlessForms::QueueForm(std::function<void(F&)> script) {
    formScripts_.push_back(
        {[script = std::move(script)](Form& form) { script(dynamic_cast<F&>(form)); },
         [](Form& form) { return dynamic_cast<F*>(&form) != nullptr; }, typeid(F).name()});
}

// Where forms are shown: the installed UI back end's form part, or the headless one.
class FormService {
  public:
    static FormBackend& Backend();
    // The headless forms when they are in use, otherwise nullptr.
    static HeadlessForms* Headless();
};

// The names of the fonts installed on the system, from the UI back end.
std::vector<std::string> ScreenFonts();

}  // namespace platform
