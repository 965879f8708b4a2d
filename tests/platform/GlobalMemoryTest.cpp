#include "platform/GlobalMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

using namespace platform;

TEST(GlobalMemory, BlocksStartZeroedAndKeepTheirSize) {
    const GlobalHandle handle = GlobalAlloc(GMEM_DDESHARE, 5);
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(GlobalSize(handle), 5u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(handle));
    ASSERT_NE(bytes, nullptr);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bytes[i], 0) << i;
    bytes[4] = 'x';
    EXPECT_FALSE(GlobalUnlock(handle));
    EXPECT_EQ(static_cast<unsigned char*>(GlobalLock(handle))[4], 'x');
    GlobalUnlock(handle);
    EXPECT_EQ(GlobalFree(handle), 0u);

    const GlobalHandle empty = GlobalAlloc(GMEM_DDESHARE | GMEM_ZEROINIT, 0);
    ASSERT_NE(empty, 0u);
    EXPECT_EQ(GlobalSize(empty), 0u);
    EXPECT_NE(GlobalLock(empty), nullptr);
    GlobalUnlock(empty);
    EXPECT_EQ(GlobalFree(empty), 0u);
}

TEST(GlobalMemory, LocksAreCounted) {
    const GlobalHandle handle = GlobalAlloc(GMEM_DDESHARE, 8);
    void* first = GlobalLock(handle);
    EXPECT_EQ(GlobalLock(handle), first);
    EXPECT_EQ(GlobalLockCount(handle), 2u);
    EXPECT_TRUE(GlobalUnlock(handle));
    EXPECT_FALSE(GlobalUnlock(handle));
    EXPECT_FALSE(GlobalUnlock(handle));  // not locked any more: no underflow
    EXPECT_EQ(GlobalLockCount(handle), 0u);
    EXPECT_EQ(GlobalFree(handle), 0u);
}

TEST(GlobalMemory, ZeroUnknownStaleAndDoubleFreedHandlesFailSafely) {
    EXPECT_EQ(GlobalLock(0), nullptr);
    EXPECT_EQ(GlobalSize(0), 0u);
    EXPECT_FALSE(GlobalUnlock(0));
    EXPECT_EQ(GlobalFree(0), 0u);
    EXPECT_EQ(GlobalLock(0xDEADBEEF), nullptr);
    EXPECT_EQ(GlobalFree(0xDEADBEEF), 0xDEADBEEFu);

    const GlobalHandle stale = GlobalAlloc(GMEM_DDESHARE, 16);
    ASSERT_EQ(GlobalFree(stale), 0u);
    EXPECT_EQ(GlobalFree(stale), stale);  // second free reports failure
    EXPECT_EQ(GlobalLock(stale), nullptr);
    EXPECT_EQ(GlobalSize(stale), 0u);
    EXPECT_FALSE(GlobalUnlock(stale));

    // A freed handle is not handed out again soon, so the stale one keeps failing.
    std::vector<GlobalHandle> later;
    for (int i = 0; i < 1000; ++i) {
        later.push_back(GlobalAlloc(GMEM_DDESHARE, 1));
        EXPECT_NE(later.back(), stale);
    }
    EXPECT_EQ(GlobalLock(stale), nullptr);
    for (GlobalHandle h : later) EXPECT_EQ(GlobalFree(h), 0u);
}

TEST(GlobalMemory, AbsurdSizesFailInsteadOfAllocating) {
    EXPECT_EQ(GlobalAlloc(GMEM_DDESHARE, SIZE_MAX), 0u);
    EXPECT_EQ(GlobalAlloc(GMEM_DDESHARE, std::size_t{0xFFFFFFFF}), 0u);
    EXPECT_EQ(GlobalAlloc(GMEM_DDESHARE, kGlobalBlockMax + 1), 0u);
}

TEST(GlobalMemory, TheTableIsSharedSafelyBetweenThreads) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 500; ++i) {
                const GlobalHandle h = GlobalAlloc(GMEM_DDESHARE, 4);
                auto* p = static_cast<unsigned char*>(GlobalLock(h));
                if (!p) {
                    ++failures[t];
                    continue;
                }
                p[0] = static_cast<unsigned char>(t);
                GlobalUnlock(h);
                if (static_cast<unsigned char*>(GlobalLock(h))[0] != t) ++failures[t];
                GlobalUnlock(h);
                if (GlobalFree(h) != 0) ++failures[t];
            }
        });
    }
    for (auto& thread : threads) thread.join();
    for (int f : failures) EXPECT_EQ(f, 0);
}
