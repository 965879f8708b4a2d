#include "model/TextHandles.h"

#include <cstring>

HostTextHandle StrToGlobal(std::string_view Text) {
    const std::size_t size = Text.size() + 2;
    const HostTextHandle handle = platform::GlobalAlloc(platform::GMEM_DDESHARE, size);
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

std::string GlobalToStr(HostTextHandle Handle) {
    if (Handle == 0) return {};
    const std::size_t size = platform::GlobalSize(Handle);
    const auto* bytes = static_cast<const char*>(platform::GlobalLock(Handle));
    if (!bytes) return {};
    const void* end = std::memchr(bytes, 0, size);
    std::string text(bytes, end ? static_cast<const char*>(end) - bytes : size);
    platform::GlobalUnlock(Handle);
    return text;
}
