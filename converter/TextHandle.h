#pragma once

#include <string>
#include <string_view>

#include "platform/GlobalMemory.h"

// The converter's side of the text-handle convention: texts cross to the plug-in library as
// global memory blocks (GMEM_DDESHARE) holding zero-terminated Windows-1250 bytes.

// A new block of Text's length + 4 bytes: the text followed by at least four zero bytes. 0 when
// the block cannot be allocated.
platform::GlobalHandle StrToGlobalHandle(std::string_view Text);

// The zero-terminated text the block holds (never read past the block's end); the block is freed,
// since the receiver owns what the library returns. A zero or unknown handle gives an empty text.
std::string GlobalHandleToStr(platform::GlobalHandle Handle);

// A text argument for one server operation. The caller owns what it passes, and the library only
// locks, reads and unlocks it, so the block is freed once the call has returned.
class ArgumentHandle {
  public:
    explicit ArgumentHandle(std::string_view text) : handle_(StrToGlobalHandle(text)) {}
    ~ArgumentHandle() { platform::GlobalFree(handle_); }
    ArgumentHandle(const ArgumentHandle&) = delete;
    ArgumentHandle& operator=(const ArgumentHandle&) = delete;

    platform::GlobalHandle get() const { return handle_; }

  private:
    platform::GlobalHandle handle_;
};
