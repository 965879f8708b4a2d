#include "model/TextHandles.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace platform;

TEST(TextHandles, BlockHoldsTheTextAndTwoZeroBytes) {
    const HostTextHandle handle = StrToGlobal("abc");
    ASSERT_NE(handle, 0u);
    ASSERT_EQ(GlobalSize(handle), 5u);
    const auto* bytes = static_cast<const unsigned char*>(GlobalLock(handle));
    ASSERT_NE(bytes, nullptr);
    const unsigned char expected[] = {'a', 'b', 'c', 0, 0};
    EXPECT_EQ(std::memcmp(bytes, expected, 5), 0);
    GlobalUnlock(handle);
    EXPECT_EQ(GlobalLockCount(handle), 0u);

    EXPECT_EQ(GlobalToStr(handle), "abc");
    EXPECT_EQ(GlobalSize(handle), 5u);  // reading leaves the block allocated and unlocked
    EXPECT_EQ(GlobalLockCount(handle), 0u);
    EXPECT_EQ(GlobalFree(handle), 0u);
}

TEST(TextHandles, EmptyAndPolishTextsRoundTrip) {
    const HostTextHandle empty = StrToGlobal("");
    EXPECT_EQ(GlobalSize(empty), 2u);
    EXPECT_EQ(GlobalToStr(empty), "");
    GlobalFree(empty);

    const std::string polish = "\xA3\xF3\x64\x9F plik.shp";  // Windows-1250 bytes
    const HostTextHandle handle = StrToGlobal(polish);
    EXPECT_EQ(GlobalToStr(handle), polish);
    GlobalFree(handle);
}

TEST(TextHandles, ZeroStaleAndUnterminatedHandlesReadSafely) {
    EXPECT_EQ(GlobalToStr(0), "");
    const HostTextHandle stale = StrToGlobal("gone");
    GlobalFree(stale);
    EXPECT_EQ(GlobalToStr(stale), "");

    // A caller's block without a terminator is read up to its end and no further.
    const GlobalHandle raw = GlobalAlloc(GMEM_DDESHARE, 3);
    std::memcpy(GlobalLock(raw), "xyz", 3);
    GlobalUnlock(raw);
    EXPECT_EQ(GlobalToStr(raw), "xyz");
    GlobalFree(raw);
}
