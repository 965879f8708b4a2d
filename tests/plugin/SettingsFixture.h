#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Cp1250.h"
#include "platform/FormBackend.h"
#include "platform/Registry.h"
#include "platform/UiService.h"
#include "plugin/SettingsUnits.h"

// Each test gets its own registry file in a temporary folder, empty settings records, and
// headless forms and message boxes with nothing queued; it must use every script it queues.
class SettingsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* old = std::getenv("KESTREL_REGISTRY_FILE")) savedRegistry_ = old;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("kestrel-plugin-" + std::to_string(::getpid()) + "-" + info->test_suite_name() +
                "-" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        ::setenv("KESTREL_REGISTRY_FILE", RegistryFile().c_str(), 1);

        ui = platform::FormService::Headless();
        ASSERT_NE(ui, nullptr);
        ui->Reset();
        ui->SetEcho(false);
        boxes = platform::UiService::Headless();
        ASSERT_NE(boxes, nullptr);
        boxes->ClearMessages();
        boxes->SetEcho(false);
        FinalizeSettingsUnits();
    }
    void TearDown() override {
        EXPECT_EQ(ui->PendingScripts(), 0u);
        EXPECT_TRUE(ui->Mismatches().empty());
        ui->Reset();
        ui->SetEcho(true);
        boxes->ClearMessages();
        boxes->SetEcho(true);
        FinalizeSettingsUnits();
        if (savedRegistry_) {
            ::setenv("KESTREL_REGISTRY_FILE", savedRegistry_->c_str(), 1);
        } else {
            ::unsetenv("KESTREL_REGISTRY_FILE");
        }
        std::filesystem::remove_all(dir_);
    }

    std::filesystem::path RegistryFile() const { return dir_ / "registry.reg"; }

    static void PutDword(std::string_view key, std::string_view name, std::uint32_t value) {
        platform::RegistryKey k;
        ASSERT_TRUE(k.OpenKey(key, true));
        ASSERT_TRUE(k.WriteDword(name, value));
    }
    static void PutString(std::string_view key, std::string_view name, std::string_view value) {
        platform::RegistryKey k;
        ASSERT_TRUE(k.OpenKey(key, true));
        ASSERT_TRUE(k.WriteString(name, value));
    }
    static std::optional<std::uint32_t> GetDword(std::string_view key, std::string_view name) {
        platform::RegistryKey k;
        if (!k.OpenKey(key, false)) return std::nullopt;
        return k.ReadDword(name);
    }
    static std::optional<std::string> GetString(std::string_view key, std::string_view name) {
        platform::RegistryKey k;
        if (!k.OpenKey(key, false)) return std::nullopt;
        return k.ReadString(name);
    }

    void WriteRegistryText(const std::string& text) const {
        std::ofstream(RegistryFile(), std::ios::binary) << text;
    }
    std::string RegistryText() const {
        std::ifstream in(RegistryFile(), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The message boxes shown so far, in UTF-8.
    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& m : boxes->Messages()) texts.push_back(platform::Cp1250ToUtf8(m.text));
        return texts;
    }

    static std::string Cp(std::string_view utf8) { return platform::Utf8ToCp1250(utf8); }

    platform::HeadlessForms* ui = nullptr;
    platform::HeadlessUi* boxes = nullptr;

  private:
    std::filesystem::path dir_;
    std::optional<std::string> savedRegistry_;
};
