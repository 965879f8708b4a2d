#include "platform/AccessRows.h"

#include <limits>
#include <new>

namespace platform {

void AccessRows::Reserve(std::size_t values, std::size_t textBytes) {
    ends_.reserve(values);
    text_.reserve(textBytes);
}

void AccessRows::Add(std::string_view value) {
    if (value.size() > std::numeric_limits<std::uint32_t>::max() - text_.size())
        throw std::bad_alloc();
    text_.append(value);
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

std::string_view AccessRows::Value(std::size_t row, std::size_t column) const {
    const std::size_t i = row * columns_ + column;
    const std::uint32_t start = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(text_).substr(start, ends_[i] - start);
}

std::size_t AccessRows::HeldBytes() const {
    return text_.capacity() + ends_.capacity() * sizeof(std::uint32_t);
}

}  // namespace platform
