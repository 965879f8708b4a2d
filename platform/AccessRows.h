#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Rows of text values, all of them in one buffer: the values' bytes one after another, row after
// row and column after column, and where each value ends. A value costs its bytes and four more,
// a row nothing, so rows of many short values take about what the reply that carried them did.
namespace platform {

class AccessRows {
  public:
    AccessRows() = default;
    explicit AccessRows(std::size_t columns) : columns_(columns) {}

    // Room for `values` values of `textBytes` bytes in all, taken at once.
    void Reserve(std::size_t values, std::size_t textBytes);
    // Adds the next value; throws std::bad_alloc past 4 GiB of text.
    void Add(std::string_view value);

    std::size_t Columns() const { return columns_; }
    // The rows whose every value is there; none without columns.
    std::size_t Count() const { return columns_ == 0 ? 0 : ends_.size() / columns_; }
    std::string_view Value(std::size_t row, std::size_t column) const;
    // The bytes taken on the heap.
    std::size_t HeldBytes() const;

  private:
    std::size_t columns_ = 0;
    std::string text_;
    std::vector<std::uint32_t> ends_;  // where each value ends in text_
};

}  // namespace platform
