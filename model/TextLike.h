#pragma once

#include <compare>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

// What the model's compact text fields share: they read, compare, concatenate and print like a
// std::string, so code written against std::string fields keeps working. `Text` supplies
// view() (its bytes) and may add mutating operations of its own.
template <class Text>
class TextLike {
  public:
    operator std::string_view() const { return Self().view(); }
    operator std::string() const { return std::string(Self().view()); }
    std::string str() const { return std::string(Self().view()); }

    std::size_t size() const { return Self().view().size(); }
    std::size_t length() const { return size(); }
    bool empty() const { return size() == 0; }
    const char* data() const { return Self().view().data(); }
    const char* begin() const { return data(); }
    const char* end() const { return data() + size(); }
    char operator[](std::size_t i) const { return data()[i]; }
    char front() const { return data()[0]; }
    char back() const { return data()[size() - 1]; }
    std::string substr(std::size_t pos = 0, std::size_t count = std::string::npos) const {
        return std::string(Self().view().substr(pos, count));
    }
    std::size_t find(std::string_view what, std::size_t pos = 0) const {
        return Self().view().find(what, pos);
    }
    std::size_t find(char what, std::size_t pos = 0) const { return Self().view().find(what, pos); }
    int compare(std::string_view other) const { return Self().view().compare(other); }
    bool starts_with(std::string_view prefix) const { return Self().view().starts_with(prefix); }
    bool starts_with(char c) const { return Self().view().starts_with(c); }
    bool ends_with(std::string_view suffix) const { return Self().view().ends_with(suffix); }
    bool ends_with(char c) const { return Self().view().ends_with(c); }

    friend bool operator==(const Text& a, const Text& b) { return a.view() == b.view(); }
    friend bool operator==(const Text& a, std::string_view b) { return a.view() == b; }
    friend std::strong_ordering operator<=>(const Text& a, const Text& b) {
        return a.view() <=> b.view();
    }
    friend std::strong_ordering operator<=>(const Text& a, std::string_view b) {
        return a.view() <=> b;
    }
    friend std::string operator+(const Text& a, std::string_view b) {
        return std::string(a.view()).append(b);
    }
    friend std::string operator+(std::string_view a, const Text& b) {
        return std::string(a).append(b.view());
    }
    friend std::string operator+(const Text& a, const Text& b) {
        return std::string(a.view()).append(b.view());
    }
    friend std::string operator+(const Text& a, char b) { return std::string(a.view()) + b; }
    friend std::string operator+(char a, const Text& b) { return a + std::string(b.view()); }
    friend std::ostream& operator<<(std::ostream& out, const Text& text) {
        return out << text.view();
    }

  private:
    const Text& Self() const { return static_cast<const Text&>(*this); }
};
