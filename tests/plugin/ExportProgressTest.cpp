// The progress window of the attribute tables.
#include <gtest/gtest.h>

#include "plugin/ExportMapTables.h"
#include "shape/ProgressFormShared.h"

namespace {

// Skipping runs of steps ends where stepping one at a time does.
TEST(ExportProgressTest, AdvanceMatchesSingleSteps) {
    for (std::int32_t max : {1, 2, 3, 7, 100}) {
        for (std::int64_t steps : {0, 1, 2, 5, 6, 7, 99, 100, 101, 1000, 12345}) {
            ProgressOpen(1, max, 1, "a");
            for (std::int64_t i = 0; i < steps; ++i) ProgressStep();
            const std::int32_t expected = ProgressForm()->Window.State().position;
            ProgressOpen(1, max, 1, "b");
            ProgressAdvance(steps);
            EXPECT_EQ(ProgressForm()->Window.State().position, expected) << max << " " << steps;
            ProgressClose();
            ProgressClose();
        }
    }
}

}  // namespace
