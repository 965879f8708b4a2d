#include "platform/UiService.h"

#include <cstdio>

#include "platform/Cp1250.h"

namespace platform {
namespace {

std::unique_ptr<UiBackend>& Installed() {
    static std::unique_ptr<UiBackend> backend = std::make_unique<HeadlessUi>();
    return backend;
}

}  // namespace

int DefaultButtonOf(unsigned style) {
    const unsigned buttons = style & 0x0F;
    const unsigned index = (style & MB_DEFBUTTON3) ? 2 : (style & MB_DEFBUTTON2) ? 1 : 0;
    static constexpr int kAnswers[][3] = {
        {IDOK, IDOK, IDOK},      {IDOK, IDCANCEL, IDCANCEL}, {IDABORT, IDRETRY, IDIGNORE},
        {IDYES, IDNO, IDCANCEL}, {IDYES, IDNO, IDNO},        {IDRETRY, IDCANCEL, IDCANCEL},
    };
    if (buttons >= std::size(kAnswers)) return IDOK;
    return kAnswers[buttons][index];
}

std::string MessageBoxText(const MessageBoxRequest& request) {
    std::string text;
    const std::string_view raw = request.text;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c != '\r' && c != '\n') {
            text += c;
            continue;
        }
        // A pair of different breaks is one line break.
        if (i + 1 < raw.size() && (raw[i + 1] == '\r' || raw[i + 1] == '\n') && raw[i + 1] != c)
            ++i;
        text += '\n';
    }
    const std::size_t begin = text.find_first_not_of('\n');
    text = begin == std::string::npos ? std::string() : text.substr(begin);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    const std::string shown = Cp1250ToUtf8(text);
    if (request.caption.empty()) return shown;
    std::string captioned = "[";
    captioned += Cp1250ToUtf8(request.caption);
    captioned += "] ";
    captioned += shown;
    return captioned;
}

int HeadlessUi::ShowMessageBox(const MessageBoxRequest& request) {
    messages_.push_back(request);
    if (echo_) std::fprintf(stderr, "%s\n", MessageBoxText(request).c_str());
    if (!answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return DefaultButtonOf(request.style);
}

std::optional<std::string> UiBackend::BrowseForFolder(const BrowseFolderRequest&) {
    return std::nullopt;
}

std::optional<std::string> HeadlessUi::BrowseForFolder(const BrowseFolderRequest& request) {
    struct Dialog : FolderDialog {
        void SetSelection(std::string_view path) override { selection = std::string(path); }
        std::string selection;
    } dialog;
    if (request.callback) request.callback(dialog, BFFM_INITIALIZED, request.callbackData);
    folderDialogs_.push_back(FolderDialogRecord{request, dialog.selection});
    if (folderAnswers_.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(folderAnswers_.front());
    folderAnswers_.pop_front();
    return answer;
}

UiBackend& UiService::Backend() {
    return *Installed();
}

std::unique_ptr<UiBackend> UiService::SetBackend(std::unique_ptr<UiBackend> backend) {
    if (!backend) backend = std::make_unique<HeadlessUi>();
    Installed().swap(backend);
    return backend;
}

HeadlessUi* UiService::Headless() {
    return dynamic_cast<HeadlessUi*>(Installed().get());
}

int MessageBox(WindowHandle owner, std::string_view text, std::string_view caption,
               unsigned style) {
    MessageBoxRequest request{owner, std::string(text), std::string(caption), style};
    return UiService::Backend().ShowMessageBox(request);
}

}  // namespace platform
