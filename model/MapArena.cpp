#include "model/MapArena.h"

#include <algorithm>

#include "platform/MemoryPages.h"

namespace {

// Each block is an eighth of what the arena holds, between these bounds: a small map holds little
// beyond what it uses, and a map of millions of points takes a few dozen blocks.
constexpr std::size_t kSmallestChunk = 64 * 1024;
constexpr std::size_t kLargestChunk = 4 * 1024 * 1024;

}  // namespace

void MapArena::Grow(std::size_t atLeast) {
    const std::size_t size =
        std::max(std::clamp(reserved_ / 8, kSmallestChunk, kLargestChunk), atLeast);
    chunks_.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    // The block is filled from start to end: its pages are had at once.
    platform::PreparePagesForWriting(chunks_.back().get(), size);
    capacity_ = size;
    used_ = 0;
    reserved_ += size;
}
