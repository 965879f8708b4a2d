#include "model/FolderChooser.h"

#include "model/RegistryStrings.h"
#include "platform/FileSystem.h"

bool DirectoryExistsWrap(std::string_view Path) {
    return platform::DirectoryExists(Path);
}

int BrowseSelectCallback(platform::FolderDialog& Dialog, unsigned Message, std::string_view Data) {
    if (Message == platform::BFFM_INITIALIZED && !Data.empty()) Dialog.SetSelection(Data);
    return 0;
}

bool BrowseForFolder(std::string_view Caption, std::string_view Root, std::string& Folder) {
    if (!DirectoryExistsWrap(Folder)) Folder.clear();
    platform::BrowseFolderRequest request;
    request.owner = 0;  // the application window
    request.caption = std::string(Caption);
    request.root = std::string(Root);
    request.flags = platform::BIF_RETURNONLYFSDIRS;
    if (!Folder.empty()) {
        request.callback = &BrowseSelectCallback;
        request.callbackData = Folder;
    }
    auto chosen = platform::UiService::Backend().BrowseForFolder(request);
    // A choice without a file-system path counts as none.
    if (!chosen || chosen->empty()) return false;
    Folder = std::move(*chosen);
    return true;
}

bool ChooseFolder(platform::WindowHandle /*Owner*/, std::string_view Caption, std::string& Folder) {
    if (Folder.empty()) {
        const std::string current = platform::GetCurrentDirectory();
        RegReadString(kFolderRegistryKey, kFolderRegistryValue, current, Folder);
    }
    const bool chosen = BrowseForFolder(Caption, "", Folder);
    if (chosen) {
        RegWriteString(kFolderRegistryKey, kFolderRegistryValue, Folder);
    } else {
        Folder.clear();
    }
    return chosen;
}
