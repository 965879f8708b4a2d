// The window back end as a program loads it: from the folder the program sits in, whatever
// letters its name holds, and with the loader's own reason when it cannot.
#include <dlfcn.h>

#include <filesystem>

#include "QtFixture.h"
#include "platform/Cp1250.h"
#include "platform/WindowBackend.h"

namespace {

using LoadingTest = QtTest;

TEST_F(LoadingTest, TheBackEndLoadsFromAFolderWithPolishLetters) {
    const std::filesystem::path folder = Folder() / "Łódź";
    std::filesystem::create_directory(folder);
    const std::string library = (folder / platform::kWindowBackendLibrary).string();
    std::string error;
    EXPECT_EQ(platform::LoadWindowBackend(error, folder.string()), nullptr);
    EXPECT_EQ(platform::Cp1250ToUtf8(error), "brak pliku " + library);

    // A file that is no library: the loader's words about it, not an earlier failure's.
    WriteBytes(library, "no shared object");
    (void)::dlsym(RTLD_DEFAULT, "KestrelNoSuchSymbol");
    EXPECT_EQ(platform::LoadWindowBackend(error, folder.string()), nullptr);
    EXPECT_NE(platform::Cp1250ToUtf8(error).find(library), std::string::npos) << error;
    EXPECT_EQ(error.find("KestrelNoSuchSymbol"), std::string::npos) << error;

    std::filesystem::remove(library);
    std::filesystem::create_symlink(KESTREL_QT_LIBRARY, library);
    error.clear();
    EXPECT_NE(platform::LoadWindowBackend(error, folder.string()), nullptr) << error;
}

}  // namespace
