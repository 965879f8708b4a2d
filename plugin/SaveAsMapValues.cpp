#include "plugin/SaveAsMapValues.h"

#include <ctime>
#include <vector>

#include "model/PolishLetters.h"
#include "platform/SystemInfo.h"

namespace {

bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool LeapYear(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysIn(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month - 1] + ((month == 2 && LeapYear(year)) ? 1 : 0);
}

}  // namespace

std::string AttributeValueText(std::string_view value, int fromPage) {
    std::string converted;
    ConvertPolishLetters(value, fromPage, kPageMazovia, converted);
    std::string out;
    out.reserve(converted.size());
    for (std::size_t i = 0; i < converted.size(); ++i) {
        const char c = converted[i];
        if (c == '\r') {
            if (i + 1 < converted.size() && converted[i + 1] == '\n') {
                out.push_back(' ');
                ++i;
            }
        } else if (c == '\n') {
            out.push_back(' ');
        } else {
            out.push_back(c);
        }
    }
    std::size_t b = 0, e = out.size();
    while (b < e && IsBlankOrControl(out[b])) ++b;
    while (e > b && IsBlankOrControl(out[e - 1])) --e;
    return out.substr(b, e - b);
}

std::optional<CalendarDate> ParseShortDate(std::string_view text, std::string_view picture,
                                           int currentYear) {
    // The order of the three numbers and the separator between them, from the picture.
    std::vector<char> order;
    char separator = 0;
    bool quoted = false;
    for (char c : picture) {
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted) continue;
        if (c == 'd' || c == 'M' || c == 'y') {
            if (order.empty() || order.back() != c) order.push_back(c);
        } else if (separator == 0) {
            separator = c;
        }
    }
    if (order.size() != 3 || separator == 0) return std::nullopt;

    std::size_t b = 0, e = text.size();
    while (b < e && IsBlankOrControl(text[b])) ++b;
    while (e > b && IsBlankOrControl(text[e - 1])) --e;
    text = text.substr(b, e - b);

    int values[3] = {0, 0, 0};
    std::size_t digits[3] = {0, 0, 0};
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != separator) return std::nullopt;
            ++pos;
        }
        while (pos < text.size() && IsDigit(text[pos])) {
            if (digits[i] == 4) return std::nullopt;
            values[i] = values[i] * 10 + (text[pos] - '0');
            ++digits[i];
            ++pos;
        }
        if (digits[i] == 0) return std::nullopt;
    }
    if (pos != text.size()) return std::nullopt;

    CalendarDate date;
    for (int i = 0; i < 3; ++i) {
        if (order[i] == 'd') date.day = values[i];
        if (order[i] == 'M') date.month = values[i];
        if (order[i] == 'y') {
            date.year = values[i];
            if (digits[i] <= 2) {
                const int windowStart = currentYear - 50;
                date.year += windowStart / 100 * 100;
                if (date.year < windowStart) date.year += 100;
            }
        }
    }
    if (date.year < 1 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > DaysIn(date.year, date.month))
        return std::nullopt;
    return date;
}

std::optional<std::int32_t> PackedFileDate(const CalendarDate& date) {
    if (date.year < 1980 || date.year > 2107) return std::nullopt;
    const std::uint32_t packed = (static_cast<std::uint32_t>(date.year - 1980) << 25) |
                                 (static_cast<std::uint32_t>(date.month) << 21) |
                                 (static_cast<std::uint32_t>(date.day) << 16);
    return static_cast<std::int32_t>(packed);
}

std::string DateAttributeText(std::string_view text, std::string_view picture, int currentYear) {
    if (const auto date = ParseShortDate(text, picture, currentYear)) {
        if (const auto packed = PackedFileDate(*date)) return std::to_string(*packed);
    }
    return std::string(text);
}

std::string DbfDateAsShortDate(std::string_view text, std::string_view picture) {
    if (text.size() != 8) return std::string(text);
    for (char c : text) {
        if (!IsDigit(c)) return std::string(text);
    }
    std::tm tm{};
    tm.tm_year = std::stoi(std::string(text.substr(0, 4))) - 1900;
    tm.tm_mon = std::stoi(std::string(text.substr(4, 2))) - 1;
    tm.tm_mday = std::stoi(std::string(text.substr(6, 2)));
    return platform::FormatDateTime(picture, tm);
}
