#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "model/TextLike.h"

// A short string of at most N single-byte characters kept inline (N + 1 bytes, no heap): a
// longer text is cut to its first N characters when it is stored, as the host's short strings
// are. Point names and object codes.
template <std::size_t N>
class ShortText : public TextLike<ShortText<N>> {
    static_assert(N < 256, "the length is kept in one byte");

  public:
    ShortText() = default;
    explicit ShortText(std::string_view text) { assign(text); }
    ShortText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }

    void assign(std::string_view text) {
        size_ = static_cast<std::uint8_t>(std::min(text.size(), N));
        if (size_ > 0) std::memmove(bytes_, text.data(), size_);
    }
    void clear() { size_ = 0; }
    std::string_view view() const { return {bytes_, size_}; }
    char& operator[](std::size_t i) { return bytes_[i]; }
    char operator[](std::size_t i) const { return bytes_[i]; }

  private:
    char bytes_[N];
    std::uint8_t size_ = 0;
};
