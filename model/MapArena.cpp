#include "model/MapArena.h"

#include <algorithm>

#include "platform/MemoryPages.h"

namespace {

// Each block is an eighth of what the arena holds, between these bounds: a small map holds little
// beyond what it uses, and a map of millions of points takes a few dozen blocks.
constexpr std::size_t kSmallestChunk = 32 * 1024;
constexpr std::size_t kLargestChunk = 4 * 1024 * 1024;
constexpr std::size_t kPrepareStep = 256 * 1024;

}  // namespace

std::size_t MapArena::MakeRoom(std::size_t at, std::size_t size) {
    if (at + size > capacity_) {
        const std::size_t block =
            std::max(std::clamp(reserved_ / 8, kSmallestChunk, kLargestChunk), size);
        chunks_.push_back(std::make_unique_for_overwrite<std::byte[]>(block));
        capacity_ = block;
        reserved_ += block;
        prepared_ = 0;
        at = 0;
    }
    // The block is filled from start to end: its pages are had a step at a time, ahead of use,
    // rather than one fault per page (and not all at once, which would hold pages a small map
    // never uses).
    const std::size_t ready = std::min(capacity_, std::max(at + size, prepared_ + kPrepareStep));
    platform::PreparePagesForWriting(chunks_.back().get() + prepared_, ready - prepared_);
    prepared_ = ready;
    return at;
}
