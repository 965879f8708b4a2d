#include "model/MapArena.h"

#include <algorithm>

namespace {

// Blocks start small, so that a small map holds little, and double up to a size that keeps
// their number low for a map of millions of points.
constexpr std::size_t kFirstChunk = 16 * 1024;
constexpr std::size_t kLargestChunk = 4 * 1024 * 1024;

}  // namespace

void MapArena::Grow(std::size_t atLeast) {
    const std::size_t next = chunks_.empty() ? kFirstChunk : std::min(capacity_ * 2, kLargestChunk);
    const std::size_t size = std::max(next, atLeast);
    chunks_.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    capacity_ = size;
    used_ = 0;
    reserved_ += size;
}
