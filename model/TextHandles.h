#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/GlobalMemory.h"

// The library's side of the text-handle convention: every text crossing the plug-in boundary is a
// global memory block (GMEM_DDESHARE) holding zero-terminated Windows-1250 bytes.

using HostTextHandle = platform::GlobalHandle;

// A new block of Text's length + 2 bytes: the text followed by two zero bytes. The receiver owns
// and frees it. 0 when the block cannot be allocated.
HostTextHandle StrToGlobal(std::string_view Text);

// The zero-terminated text the block holds (never read past the block's end); the block stays
// allocated and belongs to the caller. 0, an unknown or a freed handle reads as an empty text.
std::string GlobalToStr(HostTextHandle Handle);
