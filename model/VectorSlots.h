#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

// An object's three vectors (A, B, C triples of singles) behind one pointer: most objects have
// none, and then nothing is allocated. Slots are indexed 0 to 2 and read as a pointer to the
// triple, nullptr where the vector is absent.
class VectorSlots {
  public:
    using Triple = std::array<float, 3>;

    const Triple* operator[](std::size_t slot) const {
        if (!block_ || (block_->present & (1u << slot)) == 0) return nullptr;
        return &block_->triples[slot];
    }
    // Stores the triple in the slot.
    void Set(std::size_t slot, const Triple& triple);
    // Removes the slot's triple.
    void Clear(std::size_t slot);

  private:
    struct Block {
        std::array<Triple, 3> triples{};
        std::uint8_t present = 0;  // bit n: slot n holds a triple
    };
    std::unique_ptr<Block> block_;
};
