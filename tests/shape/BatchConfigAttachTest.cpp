#include <gtest/gtest.h>

#include "shape/Shape.h"
#include "tests/platform/ScratchFolder.h"

TEST(BatchConfigAttach, ShapeOwnsTheLastConfiguration) {
    ScratchFolder scratch;
    const std::string first = scratch.Path("pierwszy.ini");
    const std::string second = scratch.Path("drugi.ini");
    WriteBytes(first, "[WARSTWY]\r\n1000=Punkty\r\n");
    WriteBytes(second, "[WARSTWY]\r\n1000=Slupy\r\n");

    TShape shape;
    EXPECT_EQ(shape.BatchConfig, nullptr);
    EXPECT_TRUE(shape.AttachBatchConfig(first));
    ASSERT_NE(shape.BatchConfig, nullptr);
    EXPECT_EQ(shape.BatchConfig->GetLayerName("1000"), "Punkty");
    EXPECT_TRUE(shape.AttachBatchConfig(second));
    EXPECT_EQ(shape.BatchConfig->GetLayerName("1000"), "Slupy");

    // A missing file still attaches a configuration, one that answers with its input.
    EXPECT_TRUE(shape.AttachBatchConfig(scratch.Path("brak.ini")));
    ASSERT_NE(shape.BatchConfig, nullptr);
    EXPECT_TRUE(shape.BatchConfig->NoFile());
    EXPECT_EQ(shape.BatchConfig->GetLayerName("1000"), "1000");
}
