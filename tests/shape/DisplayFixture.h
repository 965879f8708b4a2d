#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DisplayTestUtil.h"
#include "ShapeTestUtil.h"
#include "tests/platform/HeadlessFormsFixture.h"

// Headless forms with empty queues, quiet message boxes and a scratch folder.
class DisplayTest : public HeadlessFormsTest {
  protected:
    void SetUp() override {
        HeadlessFormsTest::SetUp();
        shapetest::QuietUi();
    }
    void TearDown() override {
        shapetest::QuietUi();
        HeadlessFormsTest::TearDown();
    }
    std::string Path(const std::string& name) const { return dir.Path(name); }

    shapetest::TempDir dir;
};
