#pragma once

#include <cstddef>
#include <cstdint>

// Global memory handles: blocks of one process-wide table that cross between modules as 32-bit
// numbers, never as pointers. Both the plug-in library and the converter see the same table,
// because it lives in libplatform.so. All operations are thread-safe.
namespace platform {

using GlobalHandle = std::uint32_t;  // 0: no block

enum : unsigned {
    GMEM_FIXED = 0x0000,
    GMEM_MOVEABLE = 0x0002,
    GMEM_ZEROINIT = 0x0040,
    GMEM_DDESHARE = 0x2000,
};

// Largest block the table hands out; a larger request fails instead of exhausting memory.
inline constexpr std::size_t kGlobalBlockMax = std::size_t{256} * 1024 * 1024;

// A new block of `bytes` bytes, or 0 when the size exceeds kGlobalBlockMax or memory runs out.
// Every block starts zero-filled, whether GMEM_ZEROINIT is given or not; the flags are kept.
// Handles are taken from a running counter, so a freed handle is not handed out again until the
// 32-bit counter wraps around.
GlobalHandle GlobalAlloc(unsigned flags, std::size_t bytes);

// The block's memory, or nullptr for 0, an unknown or a freed handle. Counts the lock.
void* GlobalLock(GlobalHandle handle);

// Undoes one lock. True while the block stays locked; false when the count reaches zero, when
// it was not locked, and for an unknown handle (as Windows reports it).
bool GlobalUnlock(GlobalHandle handle);

// Frees the block (locked or not). Returns 0 on success and the handle itself when it does not
// name a live block (unknown or already freed); freeing 0 does nothing and returns 0.
GlobalHandle GlobalFree(GlobalHandle handle);

// The size asked for at allocation, or 0 for an unknown or freed handle.
std::size_t GlobalSize(GlobalHandle handle);

// The lock count of a live block, 0 for an unknown handle.
unsigned GlobalLockCount(GlobalHandle handle);

}  // namespace platform
