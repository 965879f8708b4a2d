#include "platform/ModuleLoader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/platform/ScratchFolder.h"

using namespace platform;

namespace {

using AnswerFunction = int (*)();

int CallAnswer(ModuleHandle module) {
    auto answer = reinterpret_cast<AnswerFunction>(GetProcAddress(module, "LoaderFixtureAnswer"));
    return answer == nullptr ? -1 : answer();
}

std::string ExeFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

}  // namespace

TEST(ModuleLoader, WindowsNamesStandForSharedObjects) {
    const std::string exe = ExeFolder();
    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(ModuleCandidates("lib32\\Kestrel.dll"),
              (std::vector<std::string>{exe + "/lib32/Kestrel.so", cwd + "/lib32/Kestrel.so"}));
    EXPECT_EQ(ModuleCandidates("lib32\\Rumbo.DLL")[0], exe + "/lib32/Rumbo.so");
    EXPECT_EQ(ModuleCandidates("Rumbo")[0], exe + "/Rumbo.so");
    EXPECT_EQ(ModuleCandidates("a.b\\plugin")[0], exe + "/a.b/plugin.so");
    EXPECT_EQ(ModuleCandidates("/opt/x/lib.so"), (std::vector<std::string>{"/opt/x/lib.so"}));
    EXPECT_TRUE(ModuleCandidates("").empty());
}

TEST(ModuleLoader, LoadsFromTheExecutablesFolderAndBindsByName) {
    ModuleHandle module = LoadLibrary("lib32\\LoaderFixture.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(CallAnswer(module), 42);
    EXPECT_EQ(GetProcAddress(module, "NoSuchExport"), nullptr);
    EXPECT_TRUE(FreeLibrary(module));

    ModuleHandle absolute = LoadLibrary(KESTREL_LOADER_FIXTURE);
    ASSERT_NE(absolute, nullptr);
    EXPECT_EQ(CallAnswer(absolute), 42);
    EXPECT_TRUE(FreeLibrary(absolute));

    EXPECT_EQ(LoadLibrary("lib32\\NoSuchLibrary.dll"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "LoaderFixtureAnswer"), nullptr);
    EXPECT_FALSE(FreeLibrary(nullptr));
}

TEST(ModuleLoader, FallsBackToTheCurrentFolder) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.Path("lib32"));
    std::filesystem::copy_file(KESTREL_LOADER_FIXTURE, folder.Path("lib32/OnlyHere.so"));
    WriteBytes(folder.Path("lib32/Broken.so"), "not a shared object");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    ModuleHandle module = LoadLibrary("lib32\\OnlyHere.dll");
    ModuleHandle broken = LoadLibrary("lib32\\Broken.dll");
    std::filesystem::current_path(before);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(CallAnswer(module), 42);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(broken, nullptr);
}
