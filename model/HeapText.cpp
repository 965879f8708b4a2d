#include "model/HeapText.h"

#include <cstring>
#include <new>

HeapText& HeapText::operator=(const HeapText& other) {
    if (this != &other) assign(other.view());
    return *this;
}

HeapText& HeapText::operator=(HeapText&& other) noexcept {
    if (this != &other) {
        clear();
        block_ = other.block_;
        other.block_ = nullptr;
    }
    return *this;
}

void HeapText::assign(std::string_view text) {
    if (text.empty()) {
        clear();
        return;
    }
    // The new block is filled before the old one goes: `text` may lie inside it.
    const auto size = static_cast<std::uint32_t>(text.size());
    char* block = static_cast<char*>(::operator new(kHeader + size + 1));
    std::memcpy(block, &size, kHeader);
    std::memcpy(block + kHeader, text.data(), size);
    block[kHeader + size] = '\0';
    clear();
    block_ = block;
}

void HeapText::clear() {
    ::operator delete(block_);
    block_ = nullptr;
}

std::string_view HeapText::view() const {
    if (block_ == nullptr) return {};
    std::uint32_t size;
    std::memcpy(&size, block_, kHeader);
    return {block_ + kHeader, size};
}
