// The tests of the window back end run on Qt's offscreen platform with the back end installed as
// the process's UI service.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "QtFixture.h"
#include "platform/UiService.h"

namespace {

platform::qt::QtUi* installed = nullptr;

class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        auto ui = std::make_unique<platform::qt::QtUi>();
        installed = ui.get();
        platform::UiService::SetBackend(std::move(ui));
    }
    void TearDown() override {
        platform::UiService::SetBackend(nullptr);
        installed = nullptr;
    }
};

}  // namespace

platform::qt::QtUi& Ui() {
    return *installed;
}

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);  // owned by the test framework
    return RUN_ALL_TESTS();
}
