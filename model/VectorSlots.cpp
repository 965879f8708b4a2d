#include "model/VectorSlots.h"

void VectorSlots::Set(std::size_t slot, const Triple& triple) {
    if (!block_) block_ = std::make_unique<Block>();
    block_->triples[slot] = triple;
    block_->present = static_cast<std::uint8_t>(block_->present | (1u << slot));
}

void VectorSlots::Clear(std::size_t slot) {
    if (!block_) return;
    block_->present = static_cast<std::uint8_t>(block_->present & ~(1u << slot));
    if (block_->present == 0) block_.reset();
}
