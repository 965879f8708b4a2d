#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

// Number to text and text to number, as the run-time library of the system does them.
// Every number-to-text form uses the process-wide decimal separator (DecimalSeparator.h);
// the text-to-number conversions always take "." as the separator.
namespace platform {

// Fixed notation with `decimals` digits after the separator, right-aligned in at least `width`.
std::string FormatFixed(double value, int decimals, int width = 0);

// The general form with at most 15 significant digits: trailing zeros and a trailing separator
// dropped; fixed notation unless the magnitude is below 0.00001 or has more than 15 integer
// digits, then mantissa, "E" and the exponent (signed only when negative), as in 1.5E-7 or 1E20.
std::string FormatGeneral(double value);

// Strict integer: leading blanks, an optional sign, decimal digits and nothing after them.
std::optional<std::int32_t> StrToIntStrict(std::string_view text);

namespace number_text {

inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Powers of ten that doubles hold exactly.
inline constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                          1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Reads a plain decimal number at `p` (an optional "-", digits with an optional "." and digits)
// whose digits make an integer of at most 2^53 with at most 22 of them after the point: the
// integer and the power of ten are then exact doubles, and one division rounds correctly, as
// the general conversion does. False, with `p` anywhere, for anything else.
inline bool ReadPlainDecimal(const char*& p, const char* end, double& value) {
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    const char* first = p;
    while (p < end && IsDigit(*p)) digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
    auto count = static_cast<std::size_t>(p - first);
    std::size_t fraction = 0;
    if (p < end && *p == '.') {
        const char* point = ++p;
        while (p < end && IsDigit(*p)) digits = digits * 10 + static_cast<unsigned>(*p++ - '0');
        fraction = static_cast<std::size_t>(p - point);
        count += fraction;
    }
    if (count == 0 || count > 19 || digits > (std::uint64_t{1} << 53) ||
        fraction >= std::size(kExactPowers))
        return false;
    value = static_cast<double>(digits) / kExactPowers[fraction];
    if (negative) value = -value;
    return true;
}

// Reads a plain whole number at `p` (an optional sign and at most 10 digits) that an int32
// holds. False, with `p` anywhere, for anything else.
inline bool ReadPlainInteger(const char*& p, const char* end, std::int32_t& value) {
    const bool negative = p < end && *p == '-';
    if (negative || (p < end && *p == '+')) ++p;
    std::int64_t digits = 0;
    const char* first = p;
    while (p < end && IsDigit(*p) && p - first < 10) digits = digits * 10 + (*p++ - '0');
    if (p == first || (p < end && IsDigit(*p))) return false;
    if (negative) digits = -digits;
    if (digits < INT32_MIN || digits > INT32_MAX) return false;
    value = static_cast<std::int32_t>(digits);
    return true;
}

}  // namespace number_text

// Strict real: leading blanks, an optional sign, digits with an optional "." and digits, an
// optional exponent ("E" or "e", optional sign, digits) and nothing after. Empty text fails.
std::optional<double> StrToFloatStrictGeneral(std::string_view text);
inline std::optional<double> StrToFloatStrict(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && number_text::IsBlank(*p)) ++p;
    double value;
    if (number_text::ReadPlainDecimal(p, end, value) && p == end) return value;
    return StrToFloatStrictGeneral(text);
}

// Reads blank-separated tokens from the middle of a line, left to right.
class LineScanner {
  public:
    explicit LineScanner(std::string_view line) : line_(line) {}

    // Skips blanks and takes the token up to the next blank; empty at the end of the line.
    std::string_view ReadToken() {
        SkipBlanks();
        const std::size_t start = pos_;
        while (pos_ < line_.size() && !number_text::IsBlank(line_[pos_])) ++pos_;
        return line_.substr(start, pos_ - start);
    }
    // The next token as a strict integer or real; the token is consumed even when it fails.
    // Plain decimal tokens convert as they are read, the rest through the strict conversions.
    std::optional<std::int32_t> ReadInteger() {
        SkipBlanks();
        const char* p = line_.data() + pos_;
        const char* const end = line_.data() + line_.size();
        std::int32_t value;
        if (number_text::ReadPlainInteger(p, end, value) &&
            (p == end || number_text::IsBlank(*p))) {
            pos_ = static_cast<std::size_t>(p - line_.data());
            return value;
        }
        return StrToIntStrict(ReadToken());
    }
    std::optional<double> ReadReal() {
        SkipBlanks();
        const char* p = line_.data() + pos_;
        const char* const end = line_.data() + line_.size();
        double value;
        if (number_text::ReadPlainDecimal(p, end, value) &&
            (p == end || number_text::IsBlank(*p))) {
            pos_ = static_cast<std::size_t>(p - line_.data());
            return value;
        }
        return StrToFloatStrictGeneral(ReadToken());
    }

    // Takes the next `count` characters as they stand (fewer at the end of the line).
    std::string_view Take(std::size_t count) {
        const std::string_view part = line_.substr(pos_, count);
        pos_ += part.size();
        return part;
    }
    // What has not been read yet.
    std::string_view Rest() const { return line_.substr(pos_); }
    bool AtEnd() const { return pos_ >= line_.size(); }

  private:
    void SkipBlanks() {
        while (pos_ < line_.size() && number_text::IsBlank(line_[pos_])) ++pos_;
    }

    std::string_view line_;
    std::size_t pos_ = 0;
};

}  // namespace platform
