#include "model/AttributeBlock.h"

#include <algorithm>
#include <cstring>
#include <new>

AttributeBlock::~AttributeBlock() {
    ::operator delete(block_);
}

void AttributeBlock::Allocate() {
    if (block_ != nullptr) return;
    block_ = static_cast<unsigned char*>(::operator new(kSlots));
    std::memset(block_, 0, kSlots);
}

std::string_view AttributeBlock::Get(int slot) const {
    if (block_ == nullptr) return {};
    std::size_t at = kSlots;
    for (int i = 0; i < slot; ++i) at += block_[i];
    return {reinterpret_cast<const char*>(block_) + at, block_[slot]};
}

void AttributeBlock::Set(int slot, std::string_view text) {
    text = text.substr(0, kTextMax);
    std::string_view texts[kSlots];
    std::size_t size = kSlots;
    for (int i = 0; i < kSlots; ++i) {
        texts[i] = i == slot ? text : Get(i);
        size += texts[i].size();
    }
    // The new block is filled before the old one goes: `text` may lie inside it.
    auto* block = static_cast<unsigned char*>(::operator new(size));
    std::size_t at = kSlots;
    for (int i = 0; i < kSlots; ++i) {
        block[i] = static_cast<unsigned char>(texts[i].size());
        if (!texts[i].empty()) std::memcpy(block + at, texts[i].data(), texts[i].size());
        at += texts[i].size();
    }
    ::operator delete(block_);
    block_ = block;
}
