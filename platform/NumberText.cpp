#include "platform/NumberText.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/DecimalSeparator.h"

namespace platform {
namespace {

using number_text::IsBlank;
using number_text::IsDigit;

std::optional<std::string> NonFinite(double value) {
    if (std::isnan(value)) return std::string("NAN");
    if (std::isinf(value)) return std::string(value < 0 ? "-INF" : "INF");
    return std::nullopt;
}

std::string_view SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return text.substr(i);
}

// number_text::FixedDigits for up to 18 decimals and values that need 128 bits on the way, with
// "." as the separator. False, with nothing written, when the rounded digits do not fit 64 bits.
bool FixedDigitsWide(double value, int decimals, char* out, std::size_t& length) {
    if (decimals > 18) return false;
    // |value| = bits * 2^exponent
    const auto raw = std::bit_cast<std::uint64_t>(value);
    const int biased = static_cast<int>((raw >> 52) & 0x7FF);
    std::uint64_t bits = raw & ((std::uint64_t{1} << 52) - 1);
    int exponent = -1074;
    if (biased != 0) {
        bits |= std::uint64_t{1} << 52;
        exponent = biased - 1075;
    }
    if (bits == 0) {
        exponent = 0;
    } else if (exponent < 0) {
        const int zeros = std::min(std::countr_zero(bits), -exponent);
        bits >>= zeros;
        exponent += zeros;
    }
    std::uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    __extension__ using u128 = unsigned __int128;
    const u128 scaled = static_cast<u128>(bits) * scale;  // below 2^113
    u128 rounded = 0;
    if (exponent >= 0) {
        if (exponent > 64 || (scaled >> (128 - 1 - exponent)) != 0) return false;
        rounded = scaled << exponent;
    } else if (exponent > -128) {
        const int shift = -exponent;
        rounded = scaled >> shift;
        const u128 rest = scaled & ((u128{1} << shift) - 1);
        const u128 half = u128{1} << (shift - 1);
        if (rest > half || (rest == half && (rounded & 1) != 0)) ++rounded;
    }
    if (rounded > UINT64_MAX) return false;
    const auto whole = static_cast<std::uint64_t>(rounded);
    std::size_t n = 0;
    if (std::signbit(value) && whole != 0) out[n++] = '-';
    n = static_cast<std::size_t>(std::to_chars(out + n, out + 40, whole / scale).ptr - out);
    if (decimals > 0) {
        out[n++] = '.';
        std::uint64_t fraction = whole % scale;
        for (int i = decimals - 1; i >= 0; --i, fraction /= 10)
            out[n + static_cast<std::size_t>(i)] = static_cast<char>('0' + fraction % 10);
        n += static_cast<std::size_t>(decimals);
    }
    length = n;
    return true;
}

}  // namespace

void AppendFixedGeneral(std::string& out, double value, int decimals, int width, char separator) {
    char buffer[400];
    std::size_t n = 0;
    if (auto special = NonFinite(value)) {
        n = special->size();
        special->copy(buffer, n);
    } else {
        decimals = std::clamp(decimals, 0, 30);
        if (!FixedDigitsWide(value, decimals, buffer, n)) {
            const int printed = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
            n = printed > 0 ? static_cast<std::size_t>(printed) : 0;
            // A value that rounds to zero is written without a sign.
            const std::string_view text(buffer, n);
            if (n > 1 && text[0] == '-' && text.find_first_of("123456789") == std::string::npos) {
                std::memmove(buffer, buffer + 1, --n);
            }
        }
        if (separator != '.' && decimals > 0) {
            for (std::size_t i = 0; i < n; ++i)
                if (buffer[i] == '.') buffer[i] = separator;
        }
    }
    if (width > 0 && n < static_cast<std::size_t>(width))
        out.append(static_cast<std::size_t>(width) - n, ' ');
    out.append(buffer, n);
}

void AppendFixed(std::string& out, double value, int decimals, int width) {
    AppendFixed(out, value, decimals, width, GetDecimalSeparator());
}

std::string FormatFixed(double value, int decimals, int width) {
    std::string text;
    AppendFixed(text, value, decimals, width);
    return text;
}

std::string FormatGeneral(double value) {
    if (auto special = NonFinite(value)) return *special;
    if (value == 0.0) return "0";

    // Fifteen significant digits as d.dddddddddddddde[+-]X.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    std::string_view text(buffer);
    const bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (IsDigit(c)) digits.push_back(c);
    const int exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string result = negative ? "-" : "";
    const char separator = GetDecimalSeparator();
    if (exponent < -5 || exponent >= 15) {
        result += digits[0];
        if (digits.size() > 1) {
            result += separator;
            result.append(digits, 1);
        }
        result += 'E';
        if (exponent < 0) result += '-';
        result += std::to_string(std::abs(exponent));
    } else if (exponent >= 0) {
        const std::size_t integer_digits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= integer_digits) {
            result += digits;
            result.append(integer_digits - digits.size(), '0');
        } else {
            result.append(digits, 0, integer_digits);
            result += separator;
            result.append(digits, integer_digits);
        }
    } else {
        result += '0';
        result += separator;
        result.append(static_cast<std::size_t>(-exponent - 1), '0');
        result += digits;
    }
    return result;
}

std::optional<std::int32_t> StrToIntStrict(std::string_view text) {
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<double> StrToFloatStrictGeneral(std::string_view text) {
    text = SkipBlanks(text);
    // Check the grammar first; from_chars alone would accept "inf", "nan" and hex forms. It takes
    // no leading "+", so a plus sign is stepped over.
    if (!text.empty() && text[0] == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text[0] == '-') return std::nullopt;
    }
    std::size_t i = (!text.empty() && text[0] == '-') ? 1 : 0;
    std::size_t mantissa_digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa_digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++mantissa_digits;
    }
    if (mantissa_digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        std::size_t exponent_digits = 0;
        while (i < text.size() && IsDigit(text[i])) ++i, ++exponent_digits;
        if (exponent_digits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace platform
