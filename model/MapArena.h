#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>
#include <vector>

// Storage that a map's list owns for the elements it makes: small blocks carved one after the
// other from a few large ones, all released at once when the arena goes. Reading a map of a
// million points makes a few dozen allocations instead of millions, and freeing it as many.
class MapArena {
  public:
    MapArena() = default;
    MapArena(const MapArena&) = delete;
    MapArena& operator=(const MapArena&) = delete;

    // `size` bytes aligned to `align` (a power of two no greater than the largest fundamental
    // alignment), valid as long as the arena.
    void* Allocate(std::size_t size, std::size_t align) {
        std::size_t at = (used_ + align - 1) & ~(align - 1);
        if (at + size > prepared_) at = MakeRoom(at, size);
        used_ = at + size;
        return chunks_.back().get() + at;
    }

  private:
    // Readies the block's next pages, or a new block, for `size` bytes wanted at `at`; returns
    // where they go.
    std::size_t MakeRoom(std::size_t at, std::size_t size);

    std::vector<std::unique_ptr<std::byte[]>> chunks_;
    std::size_t used_ = 0;      // of the last block
    std::size_t prepared_ = 0;  // of the last block: its pages had so far
    std::size_t capacity_ = 0;  // of the last block
    std::size_t reserved_ = 0;
};

// Makes a T in the arena. The element (or list) is marked as made there: deleting it runs its
// destructor and leaves the memory to the arena, so it may be handed on as a std::unique_ptr
// like any other element, but must not outlive the arena. An element whose destructor releases
// nothing is marked so, and lists then drop it without visiting it.
template <class T, class... Args>
std::unique_ptr<T> MakeInArena(MapArena& arena, Args&&... args) {
    void* memory = arena.Allocate(sizeof(T), alignof(T));
    T* made = ::new (memory) T(std::forward<Args>(args)...);
    made->MarkInArena(std::is_trivially_destructible_v<T>);
    return std::unique_ptr<T>(made);
}
