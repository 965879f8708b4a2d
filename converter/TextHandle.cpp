#include "converter/TextHandle.h"

#include <cstring>

platform::GlobalHandle StrToGlobalHandle(std::string_view Text) {
    const std::size_t size = Text.size() + 4;
    const platform::GlobalHandle handle = platform::GlobalAlloc(platform::GMEM_DDESHARE, size);
    if (handle == 0) return 0;
    auto* bytes = static_cast<char*>(platform::GlobalLock(handle));
    if (!bytes) {
        platform::GlobalFree(handle);
        return 0;
    }
    std::memset(bytes, 0, size);
    if (!Text.empty()) std::memcpy(bytes, Text.data(), Text.size());
    platform::GlobalUnlock(handle);
    return handle;
}

std::string GlobalHandleToStr(platform::GlobalHandle Handle) {
    if (Handle == 0) return {};
    std::string text;
    const std::size_t size = platform::GlobalSize(Handle);
    if (const auto* bytes = static_cast<const char*>(platform::GlobalLock(Handle))) {
        const void* end = std::memchr(bytes, 0, size);
        text.assign(bytes, end ? static_cast<const char*>(end) - bytes : size);
        platform::GlobalUnlock(Handle);
    }
    platform::GlobalFree(Handle);
    return text;
}
