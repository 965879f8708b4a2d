#include "platform/GlobalMemory.h"

#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

namespace platform {
namespace {

struct Block {
    std::unique_ptr<std::byte[]> data;
    std::size_t size = 0;
    unsigned flags = 0;
    unsigned locks = 0;
};

class HandleTable {
  public:
    GlobalHandle Allocate(unsigned flags, std::size_t bytes) {
        if (bytes > kGlobalBlockMax) return 0;
        // A zero-size block still gets one byte, so locking it yields a valid pointer.
        std::unique_ptr<std::byte[]> data(new (std::nothrow) std::byte[bytes == 0 ? 1 : bytes]());
        if (!data) return 0;
        std::lock_guard lock(mutex_);
        const GlobalHandle handle = NextFreeHandle();
        if (handle == 0) return 0;
        blocks_.emplace(handle, Block{std::move(data), bytes, flags, 0});
        return handle;
    }

    void* Lock(GlobalHandle handle) {
        std::lock_guard lock(mutex_);
        Block* block = Find(handle);
        if (!block) return nullptr;
        ++block->locks;
        return block->data.get();
    }

    bool Unlock(GlobalHandle handle) {
        std::lock_guard lock(mutex_);
        Block* block = Find(handle);
        if (!block || block->locks == 0) return false;
        return --block->locks > 0;
    }

    GlobalHandle Free(GlobalHandle handle) {
        std::unique_ptr<std::byte[]> released;  // freed outside the lock
        std::lock_guard lock(mutex_);
        auto it = blocks_.find(handle);
        if (it == blocks_.end()) return handle;
        released = std::move(it->second.data);
        blocks_.erase(it);
        return 0;
    }

    std::size_t Size(GlobalHandle handle) {
        std::lock_guard lock(mutex_);
        const Block* block = Find(handle);
        return block ? block->size : 0;
    }

    unsigned LockCount(GlobalHandle handle) {
        std::lock_guard lock(mutex_);
        const Block* block = Find(handle);
        return block ? block->locks : 0;
    }

  private:
    Block* Find(GlobalHandle handle) {
        auto it = blocks_.find(handle);
        return it == blocks_.end() ? nullptr : &it->second;
    }

    // Handles step by 4 (as Windows handles do) from a running counter; 0 and live handles are
    // skipped when the counter wraps. 0 only when every possible handle is live.
    GlobalHandle NextFreeHandle() {
        for (std::uint64_t tries = 0; tries < (std::uint64_t{1} << 30); ++tries) {
            next_ += 4;
            if (next_ != 0 && !blocks_.contains(next_)) return next_;
        }
        return 0;
    }

    std::mutex mutex_;
    std::unordered_map<GlobalHandle, Block> blocks_;
    GlobalHandle next_ = 0x10000;
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

}  // namespace

GlobalHandle GlobalAlloc(unsigned flags, std::size_t bytes) {
    return Table().Allocate(flags, bytes);
}
void* GlobalLock(GlobalHandle handle) {
    return Table().Lock(handle);
}
bool GlobalUnlock(GlobalHandle handle) {
    return Table().Unlock(handle);
}
GlobalHandle GlobalFree(GlobalHandle handle) {
    return Table().Free(handle);
}
std::size_t GlobalSize(GlobalHandle handle) {
    return Table().Size(handle);
}
unsigned GlobalLockCount(GlobalHandle handle) {
    return Table().LockCount(handle);
}

}  // namespace platform
