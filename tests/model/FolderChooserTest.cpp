#include "model/FolderChooser.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "model/RegistryStrings.h"
#include "platform/Registry.h"

namespace fs = std::filesystem;
using platform::HeadlessUi;
using platform::UiService;

namespace {

// A temporary folder holding the registry file and the folders to choose from.
class FolderChooserTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("KESTREL_REGISTRY_FILE")) saved_ = old;
        dir_ = fs::temp_directory_path() /
               ("kestrel-folder-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "a");
        fs::create_directories(dir_ / "b");
        ::setenv("KESTREL_REGISTRY_FILE", (dir_ / "registry.reg").c_str(), 1);
        ui_ = UiService::Headless();
        ASSERT_NE(ui_, nullptr);
        ui_->ClearFolderDialogs();
    }
    void TearDown() override {
        if (saved_) {
            ::setenv("KESTREL_REGISTRY_FILE", saved_->c_str(), 1);
        } else {
            ::unsetenv("KESTREL_REGISTRY_FILE");
        }
        ui_->ClearFolderDialogs();
        fs::remove_all(dir_);
    }
    std::string Path(const char* name) const { return (dir_ / name).string(); }
    std::string Remembered() const {
        std::string value;
        RegReadString(kFolderRegistryKey, kFolderRegistryValue, "<none>", value);
        return value;
    }
    std::string LastSelection() const { return ui_->FolderDialogs().back().initialSelection; }

    fs::path dir_;
    std::optional<std::string> saved_;
    HeadlessUi* ui_ = nullptr;
};

}  // namespace

TEST_F(FolderChooserTest, RemembersTheChosenFolderAndStartsThereNextTime) {
    EXPECT_EQ(Remembered(), "<none>");
    std::string folder;
    ui_->QueueFolderChoice(Path("a"));
    EXPECT_TRUE(ChooseFolder(0, "Wybierz folder", folder));
    EXPECT_EQ(folder, Path("a"));
    EXPECT_EQ(LastSelection(), fs::current_path().string());  // nothing remembered yet
    EXPECT_EQ(ui_->FolderDialogs().back().request.caption, "Wybierz folder");
    EXPECT_EQ(ui_->FolderDialogs().back().request.root, "");
    EXPECT_EQ(Remembered(), Path("a"));

    folder.clear();
    ui_->QueueFolderCancel();
    EXPECT_FALSE(ChooseFolder(0, "Wybierz folder", folder));
    EXPECT_EQ(LastSelection(), Path("a"));
    EXPECT_EQ(folder, "");
    EXPECT_EQ(Remembered(), Path("a"));  // cancelling keeps the remembered folder

    // A folder handed in is used as it is, whatever is remembered.
    folder = Path("b");
    ui_->QueueFolderChoice(Path("b"));
    EXPECT_TRUE(ChooseFolder(0, "Wybierz folder", folder));
    EXPECT_EQ(LastSelection(), Path("b"));
    EXPECT_EQ(Remembered(), Path("b"));
}

TEST_F(FolderChooserTest, AVanishedFolderOpensTheChooserWithoutSelection) {
    ASSERT_TRUE(RegWriteString(kFolderRegistryKey, kFolderRegistryValue, Path("gone")));
    std::string folder;
    ui_->QueueFolderCancel();
    EXPECT_FALSE(ChooseFolder(0, "c", folder));
    EXPECT_EQ(LastSelection(), "");
    EXPECT_EQ(folder, "");

    folder = Path("gone");
    EXPECT_FALSE(BrowseForFolder("c", "/", folder));  // nothing queued: cancelled
    EXPECT_EQ(folder, "");                            // cleared because it does not exist
    EXPECT_EQ(ui_->FolderDialogs().back().request.root, "/");

    folder = Path("a");
    EXPECT_FALSE(BrowseForFolder("c", "", folder));
    EXPECT_EQ(folder, Path("a"));  // an existing folder survives a cancel of BrowseForFolder

    ui_->QueueFolderChoice("");  // a choice without a path is no choice
    EXPECT_FALSE(BrowseForFolder("c", "", folder));
    EXPECT_EQ(folder, Path("a"));
}

TEST_F(FolderChooserTest, DirectoryExistsOnlyForFolders) {
    EXPECT_TRUE(DirectoryExistsWrap(Path("a")));
    EXPECT_FALSE(DirectoryExistsWrap(Path("registry.reg")));
    EXPECT_FALSE(DirectoryExistsWrap(Path("none")));
    EXPECT_FALSE(DirectoryExistsWrap(""));
    std::ofstream(dir_ / "file.txt") << "x";
    EXPECT_FALSE(DirectoryExistsWrap(Path("file.txt")));
}

TEST_F(FolderChooserTest, RegistryStringsFallBackToTheDefault) {
    const std::string key = "Software\\Lumatek\\Test";
    std::string value = "stale";
    RegReadString(key, "Missing", "dflt", value);
    EXPECT_EQ(value, "dflt");

    EXPECT_TRUE(RegWriteString(key, "Empty", ""));
    RegReadString(key, "Empty", "dflt", value);
    EXPECT_EQ(value, "dflt");

    platform::RegistryKey raw;
    ASSERT_TRUE(raw.OpenKey(key, true));
    ASSERT_TRUE(raw.WriteDword("Number", 5));
    RegReadString(key, "Number", "dflt", value);
    EXPECT_EQ(value, "dflt");

    EXPECT_TRUE(RegWriteString(key, "Name", "\xA3\xF3\x64\x9F"));
    RegReadString(key, "name", "dflt", value);
    EXPECT_EQ(value, "\xA3\xF3\x64\x9F");

    // A registry file that cannot be used: reads give the default, writes report failure.
    std::ofstream(dir_ / "registry.reg", std::ios::trunc) << "not a registry\n";
    RegReadString(key, "Name", "dflt", value);
    EXPECT_EQ(value, "dflt");
    EXPECT_FALSE(RegWriteString(key, "Name", "x"));
}
