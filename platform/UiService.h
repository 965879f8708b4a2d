#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The one service through which the system talks to its user: message boxes now, forms and
// dialogs as they are needed. Back ends are swappable; the default one is headless.
namespace platform {

using WindowHandle = std::uint32_t;  // 0: no owner / the application window

// Message box styles and answers, with the values the system's code passes around.
enum : unsigned {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_ABORTRETRYIGNORE = 0x02,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_RETRYCANCEL = 0x05,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
};
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

class FormBackend;  // platform/FormBackend.h

// One message box as the system asked for it; texts are Windows-1250.
struct MessageBoxRequest {
    WindowHandle owner = 0;
    std::string text;
    std::string caption;
    unsigned style = MB_OK;
};

// The answer a user gets by pressing Enter: the box's default button.
int DefaultButtonOf(unsigned style);

// The folder chooser. BIF_RETURNONLYFSDIRS: only file-system folders can be chosen.
enum : unsigned { BIF_RETURNONLYFSDIRS = 0x0001 };
// Messages between the folder chooser and its callback.
enum : unsigned { BFFM_INITIALIZED = 1, BFFM_SETSELECTIONA = 1126 };

// The open folder chooser as its callback sees it.
class FolderDialog {
  public:
    virtual ~FolderDialog() = default;
    // Makes `path` the selected folder (what BFFM_SETSELECTIONA with a path does).
    virtual void SetSelection(std::string_view path) = 0;
};

// Called by the chooser with BFFM_INITIALIZED once it is shown, with the request's callbackData.
using BrowseCallbackProc = int (*)(FolderDialog& dialog, unsigned message, std::string_view data);

// One folder chooser as the system asked for it; texts are Windows-1250.
struct BrowseFolderRequest {
    WindowHandle owner = 0;
    std::string caption;
    std::string root;  // empty: the whole file system
    unsigned flags = BIF_RETURNONLYFSDIRS;
    BrowseCallbackProc callback = nullptr;
    std::string callbackData;
};

class UiBackend {
  public:
    virtual ~UiBackend() = default;
    virtual int ShowMessageBox(const MessageBoxRequest& request) = 0;
    // Forms, file and colour dialogs, popup menus and the cursor; nullptr: the headless ones.
    virtual FormBackend* Forms() { return nullptr; }
    // The chosen folder, or nullopt when the user cancelled. Back ends without a chooser cancel.
    virtual std::optional<std::string> BrowseForFolder(const BrowseFolderRequest& request);
};

// A folder chooser that the headless back end showed, with the folder selected when it started.
struct FolderDialogRecord {
    BrowseFolderRequest request;
    std::string initialSelection;
};

// How a box reads on a terminal, in UTF-8: "[caption] text", or the text alone when the caption is
// empty; every line break of the text (CR LF, LF CR, LF or CR alone) is one LF, and there are no
// line breaks at its ends.
std::string MessageBoxText(const MessageBoxRequest& request);

// No window system: every box goes to stderr as MessageBoxText gives it and is kept for tests to
// read; it answers with a scripted answer when one is queued, otherwise with the default button.
class HeadlessUi : public UiBackend {
  public:
    int ShowMessageBox(const MessageBoxRequest& request) override;

    const std::vector<MessageBoxRequest>& Messages() const { return messages_; }
    void ClearMessages() { messages_.clear(); }
    void QueueAnswer(int answer) { answers_.push_back(answer); }
    void SetEcho(bool echo) { echo_ = echo; }

    // Folder choosers: each runs its callback, is recorded, and answers with the next queued
    // folder or cancel; with nothing queued it cancels.
    std::optional<std::string> BrowseForFolder(const BrowseFolderRequest& request) override;
    void QueueFolderChoice(std::string folder) { folderAnswers_.emplace_back(std::move(folder)); }
    void QueueFolderCancel() { folderAnswers_.emplace_back(std::nullopt); }
    const std::vector<FolderDialogRecord>& FolderDialogs() const { return folderDialogs_; }
    void ClearFolderDialogs() { folderDialogs_.clear(); }

  private:
    std::vector<FolderDialogRecord> folderDialogs_;
    std::deque<std::optional<std::string>> folderAnswers_;
    std::vector<MessageBoxRequest> messages_;
    std::deque<int> answers_;
    bool echo_ = true;
};

// The process-wide service. Installs a HeadlessUi on first use.
class UiService {
  public:
    static UiBackend& Backend();
    // Replaces the back end and returns the previous one.
    static std::unique_ptr<UiBackend> SetBackend(std::unique_ptr<UiBackend> backend);
    // The installed back end when it is headless, otherwise nullptr.
    static HeadlessUi* Headless();
};

// MessageBoxA's counterpart: shows a box through the service and returns the button pressed.
int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption, unsigned style);

}  // namespace platform
