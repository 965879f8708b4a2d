#pragma once

#include <string>
#include <vector>

#include "platform/UiService.h"

// The open and save dialogs of the window toolkit: the program sets title, filter, folder and
// options, Execute shows the dialog through the UI service, and on OK the chosen names are in
// FileName and Files. Texts are Windows-1250.
namespace platform {

enum : unsigned {
    ofOverwritePrompt = 0x0001,
    ofHideReadOnly = 0x0002,
    ofAllowMultiSelect = 0x0004,
    ofPathMustExist = 0x0008,
    ofFileMustExist = 0x0010,
    ofEnableSizing = 0x0020,
};

class FileDialog {
  public:
    enum class Kind { Open, Save };

    explicit FileDialog(Kind kind) : kind_(kind) {}
    virtual ~FileDialog() = default;

    Kind DialogKind() const { return kind_; }

    std::string Title;
    std::string Filter;  // "description|pattern|description|pattern..."
    int FilterIndex = 1;
    std::string DefaultExt;  // given to a chosen name that has no extension
    std::string InitialDir;
    std::string FileName;            // before: the name offered; after OK: the (first) name chosen
    std::vector<std::string> Files;  // after OK: every name chosen, in the dialog's order
    unsigned Options = ofHideReadOnly | ofEnableSizing;
    WindowHandle Owner = 0;

    // Shows the dialog; true when the user confirmed a choice.
    bool Execute();
    // What the dialog does with a confirmed choice: keeps one name unless several may be chosen,
    // gives names without an extension the default one, and fills FileName and Files.
    void Accept(std::vector<std::string> names);

  private:
    Kind kind_;
};

class OpenDialog : public FileDialog {
  public:
    OpenDialog() : FileDialog(Kind::Open) {}
};

class SaveDialog : public FileDialog {
  public:
    SaveDialog() : FileDialog(Kind::Save) {}
};

}  // namespace platform
