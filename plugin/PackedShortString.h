#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A short string as it sits inside the library's fixed-layout records: one length byte followed
// by room for N characters (N + 1 bytes, no alignment). Assigning cuts the text to N characters;
// the bytes past the length are kept zero, so two equal texts are equal records.
template <std::size_t N>
struct [[gnu::packed]] PackedShortString {
    static_assert(N > 0 && N <= 255, "the length must fit one byte");

    std::uint8_t length = 0;
    char data[N] = {};

    PackedShortString& operator=(std::string_view text) {
        Assign(text);
        return *this;
    }
    void Assign(std::string_view text) {
        const std::size_t count = std::min(text.size(), N);
        std::fill(data, data + N, '\0');
        std::copy_n(text.data(), count, data);
        length = static_cast<std::uint8_t>(count);
    }
    void Clear() { Assign({}); }

    std::string_view View() const { return {data, length}; }
    std::string Str() const { return std::string(View()); }
    bool Empty() const { return length == 0; }
};
