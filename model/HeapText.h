#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/TextLike.h"

// A text of any length kept in one heap block, zero-terminated; nothing is allocated for an
// empty text. Eight bytes where a std::string takes 32: the object texts that most objects lack.
class HeapText : public TextLike<HeapText> {
  public:
    HeapText() = default;
    explicit HeapText(std::string_view text) { assign(text); }
    HeapText(const HeapText& other) { assign(other.view()); }
    HeapText(HeapText&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    HeapText& operator=(const HeapText& other);
    HeapText& operator=(HeapText&& other) noexcept;
    HeapText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
    ~HeapText() { clear(); }

    void assign(std::string_view text);
    void clear();
    std::string_view view() const;
    const char* c_str() const { return block_ != nullptr ? block_ + kHeader : ""; }

  private:
    // The block: the size (4 bytes), the bytes, a zero.
    static constexpr std::size_t kHeader = sizeof(std::uint32_t);
    char* block_ = nullptr;
};
