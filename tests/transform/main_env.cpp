#include "tests/transform/TransformTestSupport.h"

// Registered before main runs: every test of this program sees the module loaded.
static ::testing::Environment* const kTransformEnvironment =
    ::testing::AddGlobalTestEnvironment(new TransformUnitsEnvironment);
