#include "converter/TextHandle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "converter/BatchParameters.h"
#include "platform/Cp1250.h"

using platform::GlobalFree;
using platform::GlobalLock;
using platform::GlobalSize;
using platform::GlobalUnlock;

namespace {

std::string BlockBytes(platform::GlobalHandle handle) {
    const auto* bytes = static_cast<const char*>(GlobalLock(handle));
    std::string result(bytes, GlobalSize(handle));
    GlobalUnlock(handle);
    return result;
}

}  // namespace

TEST(TextHandleTest, ArgumentBlocksHoldTheTextAndFourZeroBytes) {
    const platform::GlobalHandle empty = StrToGlobalHandle("");
    ASSERT_NE(empty, 0u);
    EXPECT_EQ(BlockBytes(empty), std::string(4, '\0'));
    GlobalFree(empty);

    const std::string text = platform::Utf8ToCp1250("C:\\mapy\\Łódź.map");
    const platform::GlobalHandle handle = StrToGlobalHandle(text);
    EXPECT_EQ(BlockBytes(handle), text + std::string(4, '\0'));
    EXPECT_EQ(platform::GlobalLockCount(handle), 0u);
    GlobalFree(handle);
}

TEST(TextHandleTest, ReadingAResultFreesItsBlock) {
    const platform::GlobalHandle handle = StrToGlobalHandle("*.shp");
    EXPECT_EQ(GlobalHandleToStr(handle), "*.shp");
    EXPECT_EQ(GlobalSize(handle), 0u);
    EXPECT_EQ(GlobalHandleToStr(0), "");
    EXPECT_EQ(GlobalHandleToStr(handle), "");  // freed already: nothing to read
}

TEST(TextHandleTest, ABlockWithoutItsZeroIsReadOnlyToItsEnd) {
    const platform::GlobalHandle handle = platform::GlobalAlloc(platform::GMEM_DDESHARE, 3);
    std::memcpy(GlobalLock(handle), "abc", 3);
    GlobalUnlock(handle);
    EXPECT_EQ(GlobalHandleToStr(handle), "abc");
}

TEST(TextHandleTest, ArgumentHandleFreesItsBlockAfterTheCall) {
    platform::GlobalHandle seen = 0;
    {
        ArgumentHandle argument("a.map");
        seen = argument.get();
        EXPECT_EQ(GlobalSize(seen), 9u);
    }
    EXPECT_EQ(GlobalSize(seen), 0u);
}

TEST(TextHandleTest, UpCaseChangesOnlyTheAsciiLetters) {
    EXPECT_EQ(UpCaseShortString(platform::Utf8ToCp1250("action=żółć.map")),
              platform::Utf8ToCp1250("ACTION=żółć.MAP"));
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    const std::string upper = UpCaseShortString(all);
    for (int c = 0; c < 256; ++c) {
        const char expected = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : all[c];
        EXPECT_EQ(upper[c], expected) << c;
    }
}
