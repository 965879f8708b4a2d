#pragma once

#include <gtest/gtest.h>

#include "platform/FormBackend.h"

// Every test starts with empty script queues and records, and ends having used every script
// it queued.
class HeadlessFormsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ui = platform::FormService::Headless();
        ASSERT_NE(ui, nullptr);
        ui->Reset();
        ui->SetEcho(false);
    }
    void TearDown() override {
        EXPECT_EQ(ui->PendingScripts(), 0u);
        EXPECT_TRUE(ui->Mismatches().empty());
        ui->Reset();
        ui->SetEcho(true);
    }

    platform::HeadlessForms* ui = nullptr;
};
