#pragma once

#include <cstddef>
#include <string_view>

// An object's seven attribute texts (A1 to A6 and ID) in one heap block: their lengths, then
// their bytes one after the other. Nothing is allocated before the first attribute is set; most
// objects carry two or three short texts, which then take one small block instead of seven
// strings.
class AttributeBlock {
  public:
    static constexpr int kSlots = 7;
    static constexpr std::size_t kTextMax = 255;

    AttributeBlock() = default;
    ~AttributeBlock();
    AttributeBlock(const AttributeBlock&) = delete;
    AttributeBlock& operator=(const AttributeBlock&) = delete;

    explicit operator bool() const { return block_ != nullptr; }
    friend bool operator==(const AttributeBlock& block, std::nullptr_t) {
        return block.block_ == nullptr;
    }

    // Makes the block with every slot empty, unless there is one already.
    void Allocate();
    // Slot 0 to 6; empty when there is no block.
    std::string_view Get(int slot) const;
    // Stores the text (at most kTextMax bytes of it) in the slot, making the block if needed.
    void Set(int slot, std::string_view text);

  private:
    unsigned char* block_ = nullptr;
};
