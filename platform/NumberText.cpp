#include "platform/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

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

void UseSeparator(std::string& text) {
    const char separator = GetDecimalSeparator();
    if (separator == '.') return;
    for (char& c : text)
        if (c == '.') c = separator;
}

std::string_view SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return text.substr(i);
}

}  // namespace

std::string FormatFixed(double value, int decimals, int width) {
    std::string text;
    if (auto special = NonFinite(value)) {
        text = *special;
    } else {
        if (decimals < 0) decimals = 0;
        if (decimals > 30) decimals = 30;
        char buffer[400];
        const int n = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        text.assign(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
        // A value that rounds to zero is written without a sign.
        if (text.size() > 1 && text[0] == '-' &&
            text.find_first_of("123456789") == std::string::npos)
            text.erase(0, 1);
        UseSeparator(text);
    }
    if (width > 0 && text.size() < static_cast<std::size_t>(width))
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
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
