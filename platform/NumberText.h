#pragma once

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>
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
// FormatFixed appended to `out`; the second form with the separator given instead of the
// process's (for a writer that has set it and writes many numbers).
void AppendFixed(std::string& out, double value, int decimals, int width = 0);
inline void AppendFixed(std::string& out, double value, int decimals, int width, char separator);
void AppendFixedGeneral(std::string& out, double value, int decimals, int width, char separator);

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

inline constexpr std::uint64_t kPowersOfTen[] = {1,      10,      100,      1000,     10000,
                                                 100000, 1000000, 10000000, 100000000};

// The digits that begin the eight bytes at `p` (at most 8), and their value.
[[gnu::always_inline]] inline int LeadingDigits(const char* p, std::uint64_t& value) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    // A byte is a digit when its high half is 3 and stays 3 with 6 added. A carry of that addition
    // can only spoil bytes after a byte that is no digit.
    const std::uint64_t high = word & 0xF0F0F0F0F0F0F0F0ull;
    const std::uint64_t plus6 = (word + 0x0606060606060606ull) & 0xF0F0F0F0F0F0F0F0ull;
    const std::uint64_t other = (high | (plus6 >> 4)) ^ 0x3333333333333333ull;
    const int count = other == 0 ? 8 : std::countr_zero(other) >> 3;
    if (count == 0) return 0;
    // The digits moved to the top, zeros before them, and combined pairwise.
    std::uint64_t v = word << (8 * (8 - count));
    v = ((v & 0x0F0F0F0F0F0F0F0Full) * 2561) >> 8;
    v = ((v & 0x00FF00FF00FF00FFull) * 6553601) >> 16;
    value = ((v & 0x0000FFFF0000FFFFull) * 42949672960001ull) >> 32;
    return count;
}

// Reads the digits at `p` into `digits` (which overflows past 19 of them); returns where they
// end. (Pointers are passed by value here and below: bytes read through a char pointer might
// alias a pointer kept in memory, which would then be stored at every step.)
[[gnu::always_inline]] inline const char* ReadDigits(const char* p, const char* end,
                                                     std::uint64_t& digits) {
    std::uint64_t value = digits;
    if constexpr (std::endian::native == std::endian::little) {
        while (end - p >= 8) {
            std::uint64_t chunk = 0;
            const int n = LeadingDigits(p, chunk);
            value = value * kPowersOfTen[n] + chunk;
            p += n;
            if (n < 8) {
                digits = value;
                return p;
            }
        }
    }
    for (; p < end && IsDigit(*p); ++p) value = value * 10 + static_cast<unsigned>(*p - '0');
    digits = value;
    return p;
}

// Reads a plain decimal number at `p` (an optional "-", digits with an optional "." and digits)
// whose digits make an integer of at most 2^53 with at most 22 of them after the point: the
// integer and the power of ten are then exact doubles, and one division rounds correctly, as
// the general conversion does. Returns where the number ends, or nullptr for anything else.
[[gnu::always_inline]] inline const char* ReadPlainDecimal(const char* p, const char* end,
                                                           double& value) {
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    std::uint64_t digits = 0;
    const char* const first = p;
    p = ReadDigits(p, end, digits);
    auto count = static_cast<std::size_t>(p - first);
    std::size_t fraction = 0;
    if (p < end && *p == '.') {
        const char* const point = ++p;
        p = ReadDigits(p, end, digits);
        fraction = static_cast<std::size_t>(p - point);
        count += fraction;
    }
    if (count == 0 || count > 19 || digits > (std::uint64_t{1} << 53) ||
        fraction >= std::size(kExactPowers))
        return nullptr;
    value = static_cast<double>(digits) / kExactPowers[fraction];
    if (negative) value = -value;
    return p;
}

// Reads a plain whole number at `p` (an optional sign and at most 10 digits) that an int32
// holds. Returns where it ends, or nullptr for anything else.
[[gnu::always_inline]] inline const char* ReadPlainInteger(const char* p, const char* end,
                                                           std::int32_t& value) {
    const bool negative = p < end && *p == '-';
    if (negative || (p < end && *p == '+')) ++p;
    std::int64_t digits = 0;
    const char* const first = p;
    while (p < end && IsDigit(*p) && p - first < 10) digits = digits * 10 + (*p++ - '0');
    if (p == first || (p < end && IsDigit(*p))) return nullptr;
    if (negative) digits = -digits;
    if (digits < INT32_MIN || digits > INT32_MAX) return nullptr;
    value = static_cast<std::int32_t>(digits);
    return p;
}

inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Fixed notation of a finite value below 2^52 with at most 8 decimals, by integer arithmetic:
// the value's exact binary fraction times 10^decimals, rounded half to even as printf rounds,
// with no sign when it rounds to zero. Returns the length written to `out` (room for 40), or 0
// for a value outside that range, whose scaled digits would not fit 64 bits.
inline std::size_t FixedDigits(double value, int decimals, char separator, char* out) {
    if (decimals < 0 || decimals > 8) return 0;
    const auto raw = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>((raw >> 52) & 0x7FF);
    std::uint64_t bits = raw & ((std::uint64_t{1} << 52) - 1);  // |value| = bits * 2^exponent
    int exponent = -1074;
    if (biased != 0) {
        bits |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    if (exponent >= 0) return 0;
    if (bits != 0) {
        const int zeros = std::min(std::countr_zero(bits), -exponent);
        bits >>= zeros;
        exponent += zeros;
    }
    const std::uint64_t scale = kPowersOfTen[decimals];
    if (bits > UINT64_MAX / scale) return 0;
    const std::uint64_t scaled = bits * scale;
    std::uint64_t whole = scaled;
    if (const int shift = -exponent; shift > 64) {
        whole = 0;
    } else if (shift == 64) {
        whole = scaled > (std::uint64_t{1} << 63) ? 1 : 0;
    } else if (shift > 0) {
        whole = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (whole & 1) != 0)) ++whole;
    }
    // Written from the last digit backwards, two digits at a time.
    char digits[32];
    char* q = digits + sizeof digits;
    std::uint64_t fraction = whole % scale;
    std::uint64_t integer = whole / scale;
    int left = decimals;
    for (; left >= 2; left -= 2, fraction /= 100) {
        q -= 2;
        std::memcpy(q, kDigitPairs + 2 * (fraction % 100), 2);
    }
    if (left == 1) *--q = static_cast<char>('0' + fraction);
    if (decimals > 0) *--q = separator;
    for (; integer >= 100; integer /= 100) {
        q -= 2;
        std::memcpy(q, kDigitPairs + 2 * (integer % 100), 2);
    }
    if (integer >= 10) {
        q -= 2;
        std::memcpy(q, kDigitPairs + 2 * integer, 2);
    } else {
        *--q = static_cast<char>('0' + integer);
    }
    if ((raw >> 63) != 0 && whole != 0) *--q = '-';
    const auto length = static_cast<std::size_t>(digits + sizeof digits - q);
    std::memcpy(out, q, length);
    return length;
}

}  // namespace number_text

inline void AppendFixed(std::string& out, double value, int decimals, int width, char separator) {
    char digits[40];
    const std::size_t n = number_text::FixedDigits(value, decimals, separator, digits);
    if (n == 0) return AppendFixedGeneral(out, value, decimals, width, separator);
    if (width > 0 && n < static_cast<std::size_t>(width))
        out.append(static_cast<std::size_t>(width) - n, ' ');
    out.append(digits, n);
}

// Strict real: leading blanks, an optional sign, digits with an optional "." and digits, an
// optional exponent ("E" or "e", optional sign, digits) and nothing after. Empty text fails.
std::optional<double> StrToFloatStrictGeneral(std::string_view text);
inline std::optional<double> StrToFloatStrict(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end && number_text::IsBlank(*p)) ++p;
    double value = 0.0;
    if (number_text::ReadPlainDecimal(p, end, value) == end && p != end) return value;
    return StrToFloatStrictGeneral(text);
}

// Reads blank-separated tokens from the middle of a line, left to right.
class LineScanner {
  public:
    explicit LineScanner(std::string_view line)
        : at_(line.data()), end_(line.data() + line.size()) {}

    // Skips blanks and takes the token up to the next blank; empty at the end of the line.
    std::string_view ReadToken() {
        const char* const start = SkipBlanks();
        const char* p = start;
        while (p < end_ && !number_text::IsBlank(*p)) ++p;
        at_ = p;
        return {start, static_cast<std::size_t>(p - start)};
    }
    // The next token as a strict integer or real; the token is consumed even when it fails.
    // Plain decimal tokens convert as they are read, the rest through the strict conversions.
    std::optional<std::int32_t> ReadInteger() {
        std::int32_t value = 0;
        if (ReadInteger(value)) return value;
        return std::nullopt;
    }
    std::optional<double> ReadReal() {
        double value = 0.0;
        if (ReadReal(value)) return value;
        return std::nullopt;
    }
    // The same, true with the number in `value`: for loops that read many numbers, since an
    // optional integer comes back through memory.
    [[gnu::always_inline]] bool ReadInteger(std::int32_t& value) {
        const char* p = number_text::ReadPlainInteger(SkipBlanks(), end_, value);
        if (p != nullptr && (p == end_ || number_text::IsBlank(*p))) {
            at_ = p;
            return true;
        }
        const auto general = StrToIntStrict(ReadToken());
        value = general.value_or(0);
        return general.has_value();
    }
    [[gnu::always_inline]] bool ReadReal(double& value) {
        const char* p = number_text::ReadPlainDecimal(SkipBlanks(), end_, value);
        if (p != nullptr && (p == end_ || number_text::IsBlank(*p))) {
            at_ = p;
            return true;
        }
        const auto general = StrToFloatStrictGeneral(ReadToken());
        value = general.value_or(0.0);
        return general.has_value();
    }

    // Takes the next `count` characters as they stand (fewer at the end of the line).
    std::string_view Take(std::size_t count) {
        const char* start = at_;
        at_ += std::min(count, static_cast<std::size_t>(end_ - at_));
        return {start, static_cast<std::size_t>(at_ - start)};
    }
    // What has not been read yet.
    std::string_view Rest() const { return {at_, static_cast<std::size_t>(end_ - at_)}; }
    bool AtEnd() const { return at_ >= end_; }

  private:
    // Steps over blanks; returns where the next token starts. (A local pointer: bytes read
    // through a char pointer might otherwise alias the member.)
    const char* SkipBlanks() {
        const char* p = at_;
        while (p < end_ && number_text::IsBlank(*p)) ++p;
        return at_ = p;
    }

    const char* at_;
    const char* end_;
};

}  // namespace platform
