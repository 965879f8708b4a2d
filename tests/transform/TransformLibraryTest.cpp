#include <unistd.h>

#include <cmath>
#include <filesystem>

#include "tests/transform/TransformTestSupport.h"
#include "transform/TransformDispatcher.h"
#include "transform/TransformLibrary.h"

namespace {

// Runs a test with the current folder set to the given one: the loader looks there after the
// folder of the test program (which has no lib32).
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::string& path) : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
        InitTransformLibrary();
    }
    ~CurrentFolder() {
        std::filesystem::current_path(saved_);
        InitTransformLibrary();
    }

  private:
    std::filesystem::path saved_;
};

}  // namespace

TEST(TransformLibrary, MissingLibraryFailsEveryTimeAndIsRetried) {
    ScratchDir dir;
    CurrentFolder folder(dir.Path());
    EXPECT_EQ(BindTransformLibrary(), -1);
    EXPECT_EQ(TransformLibraryHandle, nullptr);
    EXPECT_EQ(BindTransformLibrary(), -1);
    double x = 1, y = 2, z = 3;
    EXPECT_FALSE(TransformWithLibrary(2180, 9999, x, y, z));
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
}

TEST(TransformLibrary, LibraryWithoutTheFunctionsIsFreedAndTriedAgain) {
    ScratchDir dir;
    std::filesystem::create_directory(dir / "lib32");
    // Any other library stands for a wrong one: the loader fixture of the platform tests.
    const std::string other = std::string(KESTREL_BIN_DIR) + "/../tests/lib32/LoaderFixture.so";
    if (!std::filesystem::exists(other)) GTEST_SKIP() << "no loader fixture built";
    std::filesystem::copy_file(other, dir / "lib32/Rumbo.so");
    CurrentFolder folder(dir.Path());
    EXPECT_EQ(BindTransformLibrary(), -2);
    EXPECT_EQ(TransformLibraryHandle, nullptr);
    EXPECT_EQ(BindTransformLibrary(), -2);
}

TEST(TransformLibrary, BindsOnceAndTransformsByTheCallersRules) {
    CurrentFolder folder(KESTREL_BIN_DIR);
    ASSERT_EQ(BindTransformLibrary(), 0);
    const platform::ModuleHandle handle = TransformLibraryHandle;
    EXPECT_EQ(BindTransformLibrary(), 0);
    EXPECT_EQ(TransformLibraryHandle, handle);
    for (void* entry : TransformLibraryEntries) EXPECT_NE(entry, nullptr);

    // Degrees in, through the pivot, into the 1992 system; the same point through our own
    // dispatcher agrees to the millimetre (different code, different ellipsoid row).
    double x = 52.23, y = 21.01, z = 100.0;
    ASSERT_TRUE(TransformWithLibrary(SysCodeGeographic, 2180, x, y, z));
    double ox = 0, oy = 0, oh = 0;
    ASSERT_EQ(TransformPoint(MakeTransformCode(csWgs84Blh, csPuwg1992), 0, 0, 5, 52.23 * kDeg,
                             21.01 * kDeg, 100.0, &ox, &oy, &oh),
              0);
    EXPECT_NEAR(x, ox, 0.002);
    EXPECT_NEAR(y, oy, 0.002);
    // A direct source goes in one call, back to degrees.
    double px = 0, py = 0, pz = 100.0;
    ASSERT_EQ(TransformPoint(MakeTransformCode(csWgs84Blh, csPuwg2000), 0, 0, 3, 52.23 * kDeg,
                             21.01 * kDeg, 100.0, &px, &py, &pz),
              0);
    double gx = px, gy = py, gz = 100.0;
    ASSERT_TRUE(TransformWithLibrary(SysCodeDirect21, SysCodeGeographic, gx, gy, gz));
    EXPECT_NEAR(gx, 52.23, 1e-8);
    EXPECT_NEAR(gy, 21.01, 1e-8);
    EXPECT_NEAR(gz, 100.0, 1e-3);
    // From 2180 to a direct system: two calls through the pivot.
    double tx = x, ty = y, tz = z;
    ASSERT_TRUE(TransformWithLibrary(2180, SysCodeDirect21, tx, ty, tz));
    EXPECT_NEAR(tx, px, 0.002);
    EXPECT_NEAR(ty, py, 0.002);
    // An unknown target leaves the point as it was.
    double ux = 5.0, uy = 6.0, uz = 7.0;
    ASSERT_TRUE(TransformWithLibrary(SysCodeDirect15, 1234, ux, uy, uz));
    EXPECT_EQ(ux, 5.0);
    EXPECT_EQ(uy, 6.0);
}
