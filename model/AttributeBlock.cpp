#include "model/AttributeBlock.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <new>

// The block: its capacity (2 bytes), the seven lengths (a byte each), then the texts.
namespace {

constexpr std::size_t kLengths = 2;
constexpr std::size_t kTexts = kLengths + AttributeBlock::kSlots;

std::size_t Capacity(const unsigned char* block) {
    std::uint16_t capacity;
    std::memcpy(&capacity, block, sizeof capacity);
    return capacity;
}

// A new empty block with room for `size` bytes in all, rounded up to what the heap hands out
// anyway (16n + 8 bytes).
unsigned char* NewBlock(std::size_t size) {
    const std::size_t capacity = ((size + 8 + 15) & ~std::size_t{15}) - 8;
    auto* block = static_cast<unsigned char*>(::operator new(capacity));
    const auto stored = static_cast<std::uint16_t>(capacity);
    std::memcpy(block, &stored, sizeof stored);
    std::memset(block + kLengths, 0, AttributeBlock::kSlots);
    return block;
}

}  // namespace

AttributeBlock::~AttributeBlock() {
    ::operator delete(block_);
}

void AttributeBlock::Allocate() {
    if (block_ == nullptr) block_ = NewBlock(kTexts);
}

std::string_view AttributeBlock::Get(int slot) const {
    if (block_ == nullptr) return {};
    std::size_t at = kTexts;
    for (int i = 0; i < slot; ++i) at += block_[kLengths + i];
    return {reinterpret_cast<const char*>(block_) + at, block_[kLengths + slot]};
}

void AttributeBlock::Set(int slot, std::string_view text) {
    text = text.substr(0, kTextMax);
    Allocate();
    // A text from this very block would move under the copy: it is copied out first.
    char copy[kTextMax];
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::less<const unsigned char*> before;
    if (!text.empty() && !before(bytes, block_) && before(bytes, block_ + Capacity(block_))) {
        std::memcpy(copy, text.data(), text.size());
        text = {copy, text.size()};
    }
    std::size_t at = kTexts;  // where the slot's text starts
    std::size_t used = kTexts;
    for (int i = 0; i < kSlots; ++i) {
        if (i < slot) at += block_[kLengths + i];
        used += block_[kLengths + i];
    }
    const std::size_t old = block_[kLengths + slot];
    const std::size_t after = used - at - old;  // bytes of the later slots
    const std::size_t size = used - old + text.size();
    if (size > Capacity(block_)) {
        // A larger block, half as large again, with everything but the slot's text moved over.
        unsigned char* grown = NewBlock(std::max(size, Capacity(block_) * 3 / 2));
        std::memcpy(grown + kLengths, block_ + kLengths, at - kLengths);
        std::memcpy(grown + at + text.size(), block_ + at + old, after);
        if (!text.empty()) std::memcpy(grown + at, text.data(), text.size());
        ::operator delete(block_);
        block_ = grown;
    } else {
        std::memmove(block_ + at + text.size(), block_ + at + old, after);
        if (!text.empty()) std::memmove(block_ + at, text.data(), text.size());
    }
    block_[kLengths + slot] = static_cast<unsigned char>(text.size());
}
