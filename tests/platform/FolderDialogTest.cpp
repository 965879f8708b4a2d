#include <gtest/gtest.h>

#include "platform/UiService.h"

using namespace platform;

namespace {

int SelectData(FolderDialog& dialog, unsigned message, std::string_view data) {
    if (message == BFFM_INITIALIZED) dialog.SetSelection(data);
    return 0;
}

class PlainBackend : public UiBackend {
  public:
    int ShowMessageBox(const MessageBoxRequest&) override { return IDOK; }
};

}  // namespace

TEST(FolderDialog, HeadlessChooserRunsTheCallbackAndAnswersAsScripted) {
    HeadlessUi* ui = UiService::Headless();
    ASSERT_NE(ui, nullptr);
    ui->ClearFolderDialogs();

    BrowseFolderRequest request;
    request.caption = "Wybierz";
    request.root = "/data";
    request.callback = &SelectData;
    request.callbackData = "/data/mapy";
    EXPECT_EQ(UiService::Backend().BrowseForFolder(request), std::nullopt);  // nothing queued

    ui->QueueFolderChoice("/data/out");
    ui->QueueFolderCancel();
    EXPECT_EQ(UiService::Backend().BrowseForFolder(request), "/data/out");
    request.callback = nullptr;
    EXPECT_EQ(UiService::Backend().BrowseForFolder(request), std::nullopt);

    const auto& shown = ui->FolderDialogs();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].request.caption, "Wybierz");
    EXPECT_EQ(shown[0].request.root, "/data");
    EXPECT_EQ(shown[0].request.flags, BIF_RETURNONLYFSDIRS);
    EXPECT_EQ(shown[1].initialSelection, "/data/mapy");
    EXPECT_EQ(shown[2].initialSelection, "");  // no callback, no selection
    ui->ClearFolderDialogs();
}

TEST(FolderDialog, BackEndsWithoutAChooserCancel) {
    auto previous = UiService::SetBackend(std::make_unique<PlainBackend>());
    EXPECT_EQ(UiService::Headless(), nullptr);
    EXPECT_EQ(UiService::Backend().BrowseForFolder(BrowseFolderRequest{}), std::nullopt);
    UiService::SetBackend(std::move(previous));
    EXPECT_NE(UiService::Headless(), nullptr);
}
