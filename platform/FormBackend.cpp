#include "platform/FormBackend.h"

#include <cstdio>
#include <utility>

#include "platform/Cp1250.h"

namespace platform {
namespace {

std::vector<std::string> DefaultFontNames() {
    return {"Arial", "Courier New", "MS Sans Serif", "Symbol", "Times New Roman", "Wingdings"};
}

template <class T>
T PopFront(std::deque<T>& queue) {
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

}  // namespace

HeadlessForms::HeadlessForms() : fontNames_(DefaultFontNames()) {}

int HeadlessForms::ShowModal(Form& form) {
    form.BeginModal();
    forms_.push_back({form.Caption, mrNone, false, false});
    const std::size_t index = forms_.size() - 1;
    try {
        Run(form, index);
    } catch (...) {
        form.AbortModal();
        form.EndModal();
        throw;
    }
    forms_[index].result = form.EndModal();
    return forms_[index].result;
}

void HeadlessForms::RunMainForm(Form& form) {
    form.Show();
    forms_.push_back({form.Caption, mrNone, false, false});
    const std::size_t index = forms_.size() - 1;
    try {
        Run(form, index);
    } catch (...) {
        form.Hide();
        throw;
    }
    forms_[index].result = form.ModalResult();
}

void HeadlessForms::Run(Form& form, std::size_t index) {
    // FormShow may have closed the form already: then nobody gets to act on it.
    if (form.Showing()) {
        if (formScripts_.empty()) {
            Echo("form closed without a user", form.Caption);
        } else {
            QueuedForm queued = PopFront(formScripts_);
            if (queued.accepts && !queued.accepts(form)) {
                mismatches_.push_back("a script for " + queued.expected + " met the form \"" +
                                      Cp1250ToUtf8(form.Caption) + "\"");
            } else {
                forms_[index].scripted = true;
                queued.script(form);
            }
        }
    }
    if (form.Showing()) form.Close();
    if (form.Showing()) {
        forms_[index].abandoned = true;
        if (form.Modal())
            form.AbortModal();
        else
            form.Hide();
    }
}

bool HeadlessForms::ExecuteFileDialog(FileDialog& dialog) {
    ShownFileDialog shown{dialog.DialogKind(), dialog.Title,    dialog.Filter,
                          dialog.InitialDir,   dialog.FileName, dialog.Options};
    if (fileScripts_.empty()) {
        Echo("dialog cancelled without a user", dialog.Title);
    } else {
        shown.confirmed = PopFront(fileScripts_)(dialog);
    }
    fileDialogs_.push_back(std::move(shown));
    return fileDialogs_.back().confirmed;
}

bool HeadlessForms::ExecuteColorDialog(ColorDialog& dialog) {
    if (colorScripts_.empty()) return false;
    return PopFront(colorScripts_)(dialog);
}

MenuItem* HeadlessForms::TrackPopupMenu(PopupMenu& menu) {
    if (popupChoices_.empty()) return nullptr;
    const int choice = PopFront(popupChoices_);
    const auto& items = menu.Items();
    if (choice < 0 || choice >= static_cast<int>(items.size())) return nullptr;
    MenuItem* item = items[static_cast<std::size_t>(choice)];
    // A person cannot choose a separator or a greyed or hidden item.
    if (item->IsSeparator() || !item->Enabled || !item->Visible) return nullptr;
    return item;
}

void HeadlessForms::QueueForm(FormScript script) {
    formScripts_.push_back({std::move(script), nullptr, {}});
}

void HeadlessForms::QueueFiles(std::vector<std::string> names) {
    fileScripts_.push_back([names = std::move(names)](FileDialog& dialog) {
        if (names.empty()) return false;
        dialog.Accept(names);
        return true;
    });
}

void HeadlessForms::QueueFileDialogCancel() {
    fileScripts_.push_back([](FileDialog&) { return false; });
}

void HeadlessForms::QueueFileDialog(FileDialogScript script) {
    fileScripts_.push_back(std::move(script));
}

void HeadlessForms::QueueColor(ColorRef color) {
    colorScripts_.push_back([color](ColorDialog& dialog) {
        dialog.Color = color;
        return true;
    });
}

void HeadlessForms::QueueColorDialog(ColorDialogScript script) {
    colorScripts_.push_back(std::move(script));
}

void HeadlessForms::QueuePopupChoice(int index) {
    popupChoices_.push_back(index);
}

std::size_t HeadlessForms::PendingScripts() const {
    return formScripts_.size() + fileScripts_.size() + colorScripts_.size() + popupChoices_.size();
}

void HeadlessForms::Reset() {
    formScripts_.clear();
    fileScripts_.clear();
    colorScripts_.clear();
    popupChoices_.clear();
    forms_.clear();
    fileDialogs_.clear();
    cursorChanges_.clear();
    mismatches_.clear();
    fontNames_ = DefaultFontNames();
}

void HeadlessForms::Echo(const std::string& what, const std::string& caption) const {
    if (!echo_) return;
    std::fprintf(stderr, "[%s] %s\n", Cp1250ToUtf8(caption).c_str(), what.c_str());
}

FormBackend& FormService::Backend() {
    static HeadlessForms headless;
    if (FormBackend* forms = UiService::Backend().Forms()) return *forms;
    return headless;
}

HeadlessForms* FormService::Headless() {
    return dynamic_cast<HeadlessForms*>(&Backend());
}

std::vector<std::string> ScreenFonts() {
    return FormService::Backend().FontNames();
}

}  // namespace platform
