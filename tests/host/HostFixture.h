#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "PointShapefile.h"
#include "TestHost.h"
#include "platform/Cp1250.h"
#include "platform/FormBackend.h"
#include "platform/UiService.h"

// Each test gets a folder of its own holding a fresh registry file, quiet headless message
// boxes and forms with nothing queued, and then loads the library, so that its start-up reads
// that registry. The library is unloaded before the folder goes.
class HostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("KESTREL_REGISTRY_FILE")) savedRegistry_ = old;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("kestrel-host-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" +
                info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        ::setenv("KESTREL_REGISTRY_FILE", Path("registry.reg").c_str(), 1);

        forms = platform::FormService::Headless();
        ASSERT_NE(forms, nullptr);
        forms->Reset();
        forms->SetEcho(false);
        boxes = platform::UiService::Headless();
        ASSERT_NE(boxes, nullptr);
        boxes->ClearMessages();
        boxes->SetEcho(false);
        PrepareRegistry();
        library = std::make_unique<testhost::KestrelLibrary>();
        ASSERT_TRUE(library->Loaded());
        // No geoid table stands beside the test programs: loading says so once and goes on.
        const auto loadMessages = Messages();
        ASSERT_EQ(loadMessages.size(), 1u);
        EXPECT_EQ(loadMessages[0].rfind("Błąd odczytu parametrów geoidy !", 0), 0u)
            << loadMessages[0];
        boxes->ClearMessages();
    }
    void TearDown() override {
        library.reset();
        EXPECT_EQ(forms->PendingScripts(), 0u);
        forms->Reset();
        forms->SetEcho(true);
        boxes->ClearMessages();
        boxes->SetEcho(true);
        if (savedRegistry_) {
            ::setenv("KESTREL_REGISTRY_FILE", savedRegistry_->c_str(), 1);
        } else {
            ::unsetenv("KESTREL_REGISTRY_FILE");
        }
        std::filesystem::remove_all(dir_);
    }

    // Runs before the library loads: a test that needs stored settings writes them here.
    virtual void PrepareRegistry() {}

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    static void WriteFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The message boxes shown so far, in UTF-8.
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : boxes->Messages()) texts.push_back(platform::Cp1250ToUtf8(m.text));
        return texts;
    }

    static std::string Cp(std::string_view utf8) { return platform::Utf8ToCp1250(utf8); }

    std::unique_ptr<testhost::KestrelLibrary> library;
    platform::HeadlessForms* forms = nullptr;
    platform::HeadlessUi* boxes = nullptr;

  private:
    std::filesystem::path dir_;
    std::optional<std::string> savedRegistry_;
};
