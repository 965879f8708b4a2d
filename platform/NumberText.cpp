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

}  // namespace

void AppendFixedGeneral(std::string& out, double value, int decimals, int width, char separator) {
    char buffer[400];
    std::size_t n = 0;
    if (auto special = NonFinite(value)) {
        n = special->size();
        special->copy(buffer, n);
    } else {
        // to_chars writes what printf writes in the C locale, whatever the process's locale.
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                           std::chars_format::fixed, std::clamp(decimals, 0, 30));
        n = static_cast<std::size_t>(written.ptr - buffer);
        // A value that rounds to zero is written without a sign.
        const std::string_view text(buffer, n);
        if (n > 1 && text[0] == '-' && text.find_first_of("123456789") == std::string::npos)
            std::memmove(buffer, buffer + 1, --n);
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
