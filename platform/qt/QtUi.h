#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/UiService.h"
#include "platform/qt/QtForms.h"

class QApplication;
class QTranslator;

namespace platform::qt {

// The UI service on Qt Widgets: message boxes, the folder chooser, and the forms and dialogs of
// QtForms. It makes the process's application object unless one exists already, and frees what
// it made when it goes.
class QtUi : public UiBackend {
  public:
    QtUi();
    ~QtUi() override;
    QtUi(const QtUi&) = delete;
    QtUi& operator=(const QtUi&) = delete;

    int ShowMessageBox(const MessageBoxRequest& request) override;
    FormBackend* Forms() override { return &forms_; }
    std::optional<std::string> BrowseForFolder(const BrowseFolderRequest& request) override;

    QtForms& TheForms() { return forms_; }

  private:
    int argc_ = 1;
    char name_[8] = "kestrel";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
    std::unique_ptr<QTranslator> translator_;
    QtForms forms_;
};

// Whether Qt can reach a display: its platform plug-in ends the process when it cannot, so the
// back end asks first. When not, `why` says so (Windows-1250).
bool DisplayAvailable(std::string& why);

}  // namespace platform::qt
